#include "Button.h"

#include "Native.h"

#include <QPushButton>

void TButton::CreateWnd() {
    auto* button =
        new QPushButton(QString::fromStdString(Caption), NativeControl::ParentWidget(*this));
    NativeControl::Adopt(*this, button);
    button->setGeometry(Left, Top, Width, Height);
    button->setFocusPolicy(Qt::StrongFocus);
    NativeControl::ApplyFont(*this);
    QObject::connect(button, &QPushButton::clicked, [this] { ui::Guarded([this] { Click(); }); });
}

// Qt tells a button's clicks through its signal; there are no notifications to pass on.
void TButton::Notify(int) {}
