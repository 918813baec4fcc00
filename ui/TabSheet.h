#pragma once
// A page of a TPageControl; it fills the page control's display area, and its caption is
// the page's tab label.

#include "Controls.h"

class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent* owner);

protected:
    void CreateWnd() override;
};
