#include "Form.h"

#include "Application.h"
#include "Button.h"
#include "Native.h"

#include <algorithm>

namespace {

// Every control of the form in tab order: depth first, each parent's children by TabOrder.
void CollectTabOrder(TWinControl& parent, std::vector<TWinControl*>& order) {
    for (TWinControl* child : parent.TabOrderedChildren()) {
        order.push_back(child);
        CollectTabOrder(*child, order);
    }
}

bool CanFocus(TWinControl* control) {
    HWND hwnd = static_cast<HWND>(control->Handle());
    return control->TabStop && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd);
}

// The next control with a tab stop after `from`, forwards or backwards, wrapping around.
TWinControl* NextTabStop(const std::vector<TWinControl*>& order, TWinControl* from, bool forward) {
    const auto n = static_cast<std::ptrdiff_t>(order.size());
    auto at = std::find(order.begin(), order.end(), from) - order.begin();
    if (at == n)
        at = forward ? -1 : 0;
    for (std::ptrdiff_t step = 1; step <= n; ++step) {
        const std::ptrdiff_t i = ((forward ? at + step : at - step) % n + n) % n;
        if (CanFocus(order[static_cast<std::size_t>(i)]))
            return order[static_cast<std::size_t>(i)];
    }
    return nullptr;
}

bool KeyDown(int key) {
    return GetKeyState(key) < 0;
}

} // namespace

TForm::~TForm() {
    // The controls' windows go with the form's; destroy them while the controls exist.
    DestroyComponents();
}

void TForm::CreateWnd() {
    DWORD style = WS_CAPTION | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (HasSystemMenu)
        style |= WS_SYSMENU;
    if (HasMinimize)
        style |= WS_MINIMIZEBOX;
    if (HasMaximize)
        style |= WS_MAXIMIZEBOX;
    if (!SingleBorder)
        style |= WS_THICKFRAME;
    const DWORD exStyle = WS_EX_CONTROLPARENT;

    RECT outer = {0, 0, ClientWidth, ClientHeight};
    AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    Width = outer.right - outer.left;
    Height = outer.bottom - outer.top;
    HWND owner = static_cast<HWND>(Application->Handle());
    NativeControl::CreateOwn(*this, ClassName.c_str(), style, exStyle, Left, Top, Width, Height, owner);

    NativeControl::Of(*this).handler = [](TWinControl& control, UINT message, WPARAM wParam,
                                          LPARAM, LRESULT& result) {
        auto& form = static_cast<TForm&>(control);
        switch (message) {
        case WM_CLOSE:
            form.Close();
            return true;
        case WM_SYSCOMMAND:
            switch (wParam & 0xFFF0) {
            case SC_MINIMIZE:
                if (Application->MainForm() != &form)
                    return false;
                Application->Minimize();
                return true;
            // A fixed frame without a maximise box: no sizing and no maximising, also not
            // by a double click on the caption.
            case SC_MAXIMIZE:
                return !form.HasMaximize;
            case SC_SIZE:
                return form.SingleBorder;
            }
            return false;
        case WM_NCLBUTTONDBLCLK:
            return wParam == HTCAPTION && !form.HasMaximize;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (TWinControl* focused = NativeControl::FromHandle(focus);
                    focused && focused != &form && IsChild(static_cast<HWND>(form.Handle()), focus))
                    form.focused_ = focused;
            } else if (!HIWORD(wParam)) { // not while minimised
                std::vector<TWinControl*> order;
                CollectTabOrder(form, order);
                TWinControl* target = form.focused_ ? form.focused_ : NextTabStop(order, nullptr, true);
                if (target)
                    target->SetFocus();
            }
            result = 0;
            return true;
        }
        return false;
    };
    NativeControl::ApplyFont(*this);
}

void TForm::Show() {
    int command = SW_SHOWNORMAL;
    if (WindowState == TWindowState::Maximized)
        command = SW_SHOWMAXIMIZED;
    ShowWindow(static_cast<HWND>(Handle()), command);
}

void TForm::Close() {
    if (Application->MainForm() == this)
        Application->Terminate();
    else
        ShowWindow(static_cast<HWND>(Handle()), SW_HIDE);
}

bool TForm::HandleDialogKey(void* message) {
    const MSG& msg = *static_cast<const MSG*>(message);
    HWND hwnd = static_cast<HWND>(Handle());
    if (msg.message != WM_KEYDOWN || (msg.hwnd != hwnd && !IsChild(hwnd, msg.hwnd)))
        return false;
    if (KeyDown(VK_MENU))
        return false;

    std::vector<TWinControl*> order;
    CollectTabOrder(*this, order);
    TWinControl* focused = NativeControl::FromHandle(GetFocus());
    auto* button = dynamic_cast<TButton*>(focused);

    switch (msg.wParam) {
    case VK_TAB:
        // Ctrl+Tab would turn the page; with a single page it does nothing.
        if (!KeyDown(VK_CONTROL))
            if (TWinControl* next = NextTabStop(order, focused, !KeyDown(VK_SHIFT)))
                next->SetFocus();
        return true;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN: {
        if (!button)
            return false; // the tab control has its own use for the arrows
        const bool forward = msg.wParam == VK_RIGHT || msg.wParam == VK_DOWN;
        if (TWinControl* next = NextTabStop(button->Parent()->TabOrderedChildren(), button, forward))
            next->SetFocus();
        return true;
    }
    case VK_RETURN:
        // The focused button is the default one; with the tab focused, Enter does nothing.
        if (button && !KeyDown(VK_SHIFT) && !KeyDown(VK_CONTROL))
            button->Click();
        return true;
    case VK_ESCAPE:
        return true;
    }
    return false;
}
