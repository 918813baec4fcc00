#include "Button.h"

#include "Native.h"

void TButton::CreateWnd() {
    // BS_NOTIFY brings focus changes to the parent, so the focused button can be the default.
    NativeControl::CreateNative(*this, "BUTTON",
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY, 0,
                                Left, Top, Width, Height, static_cast<HWND>(Parent()->Handle()));
    NativeControl::ApplyFont(*this);
}

void TButton::Notify(int code) {
    HWND hwnd = static_cast<HWND>(Handle());
    switch (code) {
    case BN_CLICKED:
    case BN_DOUBLECLICKED: // with BS_NOTIFY the second press of a double click comes as this
        Click();
        break;
    case BN_SETFOCUS:
        SendMessageA(hwnd, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
        break;
    case BN_KILLFOCUS:
        SendMessageA(hwnd, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
        break;
    }
}
