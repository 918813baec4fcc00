#pragma once
// A standard push button. While it has the focus it is the default button.

#include "Controls.h"

class TButton : public TWinControl {
public:
    explicit TButton(TComponent* owner);

    TNotifyEvent OnClick;
    // Runs OnClick once, as a press of the button does.
    void Click();

    bool SetEvent(const std::string& name, TNotifyEvent handler) override;

protected:
    void CreateWnd() override;
    void Notify(int code) override;
};
