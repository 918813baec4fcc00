#pragma once
// A tab control whose pages are TTabSheets.

#include "Controls.h"

class TTabSheet;

class TPageControl : public TWinControl {
public:
    explicit TPageControl(TComponent* owner);

    std::string ActivePageName; // as the design names it
    int TabIndex = 0;

    // The area that the tab control leaves for a page, in the control's client coordinates.
    struct Rect {
        int left, top, right, bottom;
    };
    Rect DisplayRect();

    bool SetProperty(const std::string& name, const ui::DesignValue& value) override;

protected:
    void CreateWnd() override;
};
