#pragma once
// What the Qt backend keeps for each windowed control, and the helpers its files share.

#include "Guarded.h"
#include "Controls.h"

#include <QFont>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <string>

struct NativeControl {
    QPointer<QWidget> widget; // owned; QPointer because a parent's deletion takes it along

    NativeControl() = default;
    ~NativeControl() { delete widget.data(); }
    NativeControl(const NativeControl&) = delete;
    NativeControl& operator=(const NativeControl&) = delete;

    // Registers `widget` as the control's native window and places it.
    static void Adopt(TWinControl& control, QWidget* widget);
    // The control that a widget, or its nearest registered ancestor, belongs to.
    static TWinControl* FromWidget(QWidget* widget);
    static QWidget* WidgetOf(TWinControl& control) { return Of(control).widget.data(); }
    static QWidget* ParentWidget(TWinControl& control);
    // Gives the control the font it draws with.
    static void ApplyFont(TWinControl& control);
    static NativeControl& Of(TWinControl& control) { return control.Native(); }
};

namespace ui::qt {

// A design font as Qt draws it. Where the design's face is not installed, a face whose
// 8-point text is 13 pixels high at 96 per inch takes its place, so the design needs no
// scaling.
QFont ToQFont(const TFont& font);

// The exception display's message box, which a test may replace to read what would be
// shown. `kind` is the box's icon; the box has one OK button.
using MessageBoxFunction = void (*)(QWidget* parent, const QString& caption, const QString& text);
MessageBoxFunction& MessageBoxCall();

// The arguments main() received, for the QApplication that Initialize creates.
void KeepArguments(int argc, char** argv);

} // namespace ui::qt
