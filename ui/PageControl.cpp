#include "PageControl.h"

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner) {
    TabStop = true;
}

bool TPageControl::SetProperty(const std::string& name, const ui::DesignValue& value) {
    if (name == "ActivePage")
        ActivePageName = ui::IdentifierValue(name, value);
    else if (name == "TabIndex")
        TabIndex = ui::IntegerValue(name, value);
    else
        return TWinControl::SetProperty(name, value);
    return true;
}
