#include "Form.h"

#include "Application.h"
#include "Native.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>

namespace {

// The form's window: closing it ends the program through the application, and the keys
// that move the focus are the form's, for every widget inside it.
class FormWindow : public QWidget {
public:
    explicit FormWindow(TForm& form) : form_(form) { qApp->installEventFilter(this); }

protected:
    void closeEvent(QCloseEvent* event) override {
        event->ignore(); // the application decides; closing the main form ends the loop
        ui::Guarded([this] { form_.Close(); });
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || (widget != this && !isAncestorOf(widget)))
            return false;
        bool used = false;
        ui::Guarded([&] { used = form_.HandleDialogKey(event); });
        return used;
    }

private:
    TForm& form_;
};

} // namespace

TForm::~TForm() {
    // The controls' widgets go with the form's; destroy them while the controls exist.
    DestroyComponents();
}

void TForm::CreateWnd() {
    auto* window = new FormWindow(*this);
    NativeControl::Adopt(*this, window);
    Qt::WindowFlags flags =
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    if (HasSystemMenu)
        flags |= Qt::WindowSystemMenuHint;
    if (HasMinimize)
        flags |= Qt::WindowMinimizeButtonHint;
    if (HasMaximize)
        flags |= Qt::WindowMaximizeButtonHint;
    window->setWindowFlags(flags);
    window->setWindowTitle(QString::fromStdString(Caption));
    if (SingleBorder)
        window->setFixedSize(ClientWidth, ClientHeight);
    else
        window->resize(ClientWidth, ClientHeight);
    // The outer top-left corner, where the window system lets us choose it.
    window->move(Left, Top);
    NativeControl::ApplyFont(*this);
}

void TForm::Show() {
    auto* window = static_cast<QWidget*>(Handle());
    if (WindowState == TWindowState::Maximized)
        window->showMaximized();
    else if (WindowState == TWindowState::Minimized)
        window->showMinimized();
    else
        window->show();
    if (!QApplication::focusWidget() || !window->isAncestorOf(QApplication::focusWidget()))
        if (TWinControl* first = FirstTabStop())
            first->SetFocus();
}

void TForm::Close() {
    if (Application->MainForm() == this)
        Application->Terminate();
    else
        static_cast<QWidget*>(Handle())->hide();
}

bool TForm::HandleDialogKey(void* event) {
    const auto& key = *static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    if (modifiers & Qt::AltModifier)
        return false;
    DialogKey dialogKey;
    switch (key.key()) {
    case Qt::Key_Tab:
        dialogKey = (modifiers & Qt::ControlModifier) ? DialogKey::CtrlTab
                    : (modifiers & Qt::ShiftModifier) ? DialogKey::BackTab
                                                      : DialogKey::Tab;
        break;
    case Qt::Key_Backtab:
        dialogKey = (modifiers & Qt::ControlModifier) ? DialogKey::CtrlTab : DialogKey::BackTab;
        break;
    case Qt::Key_Left:
    case Qt::Key_Up:
        dialogKey = DialogKey::Previous;
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        dialogKey = DialogKey::Next;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (modifiers & (Qt::ShiftModifier | Qt::ControlModifier))
            return false;
        dialogKey = DialogKey::Enter;
        break;
    case Qt::Key_Escape:
        dialogKey = DialogKey::Escape;
        break;
    default:
        return false;
    }
    return DialogKeyPressed(dialogKey, NativeControl::FromWidget(QApplication::focusWidget()));
}
