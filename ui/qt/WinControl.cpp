#include "Native.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QVariant>

namespace {
constexpr char kControlProperty[] = "korvelControl";
} // namespace

void NativeControl::Adopt(TWinControl& control, QWidget* widget) {
    widget->setProperty(kControlProperty, QVariant::fromValue(static_cast<void*>(&control)));
    widget->setObjectName(QString::fromStdString(control.Name));
    Of(control).widget = widget;
}

TWinControl* NativeControl::FromWidget(QWidget* widget) {
    for (; widget; widget = widget->parentWidget())
        if (QVariant v = widget->property(kControlProperty); v.isValid())
            return static_cast<TWinControl*>(v.value<void*>());
    return nullptr;
}

QWidget* NativeControl::ParentWidget(TWinControl& control) {
    return static_cast<QWidget*>(control.Parent()->Handle());
}

void NativeControl::ApplyFont(TWinControl& control) {
    WidgetOf(control)->setFont(ui::qt::ToQFont(control.EffectiveFont()));
}

namespace ui::qt {

QFont ToQFont(const TFont& font) {
    // Looked for once: the design's face, else the first installed face with its metrics.
    static const QString stand_in = [] {
        for (const char* face : {"MS Sans Serif", "Liberation Sans", "DejaVu Sans", "Noto Sans",
                                 "FreeSans", "Arimo"}) {
            if (!QFontDatabase::hasFamily(face))
                continue;
            QFont candidate(face);
            candidate.setPixelSize(11);
            if (QFontMetrics(candidate).height() == 13)
                return QString(face);
        }
        return QString();
    }();
    QFont q(QString::fromStdString(font.Name));
    if (!QFontDatabase::hasFamily(q.family()) && !stand_in.isEmpty())
        q.setFamily(stand_in);
    // A negative height is the em height in pixels, which is Qt's pixel size.
    q.setPixelSize(font.Height < 0 ? -font.Height : font.Height);
    q.setBold(font.Style == TFontStyle::Bold);
    return q;
}

} // namespace ui::qt

TWinControl::TWinControl(TComponent* owner)
    : TControl(owner), native_(std::make_unique<NativeControl>()) {}

TWinControl::~TWinControl() = default;

NativeControl& TWinControl::Native() {
    return *native_;
}

void* TWinControl::NativeWindow() const {
    return native_->widget.data();
}

void TWinControl::SetFocus() {
    static_cast<QWidget*>(Handle())->setFocus(Qt::OtherFocusReason);
}

bool TWinControl::Showing() {
    QWidget* widget = static_cast<QWidget*>(Handle());
    return widget->isVisible() && widget->isEnabled();
}

bool TWinControl::Focused() const {
    QWidget* focus = QApplication::focusWidget();
    return native_->widget && focus &&
           (focus == native_->widget || focus == native_->widget->focusProxy());
}
