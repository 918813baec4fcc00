#include "PageControl.h"

#include "Native.h"

#include <commctrl.h>

void TPageControl::CreateWnd() {
    static const bool initialised = [] {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TAB_CLASSES};
        return InitCommonControlsEx(&controls) != FALSE;
    }();
    (void)initialised;
    NativeControl::CreateNative(
        *this, WC_TABCONTROLA,
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT,
        Left, Top, Width, Height, static_cast<HWND>(Parent()->Handle()));
    NativeControl::ApplyFont(*this);
}

TPageControl::Rect TPageControl::DisplayRect() {
    HWND hwnd = static_cast<HWND>(Handle());
    RECT area;
    GetClientRect(hwnd, &area);
    SendMessageA(hwnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    // The page sits a further 2 pixels below the tabs.
    return {area.left, area.top + 2, area.right, area.bottom};
}
