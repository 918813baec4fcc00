#include "Button.h"

TButton::TButton(TComponent* owner) : TWinControl(owner) {
    TabStop = true;
}

void TButton::Click() {
    if (OnClick)
        OnClick(this);
}

bool TButton::SetEvent(const std::string& name, TNotifyEvent handler) {
    if (name != "OnClick")
        return TWinControl::SetEvent(name, std::move(handler));
    OnClick = std::move(handler);
    return true;
}
