#include "TabSheet.h"

#include "Native.h"
#include "PageControl.h"

#include <commctrl.h>

void TTabSheet::CreateWnd() {
    auto* pages = dynamic_cast<TPageControl*>(Parent());
    if (!pages)
        throw Exception("TabSheet " + Name + " has no page control");
    HWND tabs = static_cast<HWND>(pages->Handle());

    std::string label = ui::win32::ToAnsi(Caption);
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = label.data();
    const int count = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
    SendMessageA(tabs, TCM_INSERTITEMA, count, reinterpret_cast<LPARAM>(&item));

    // The page fills the display area that the tab control leaves once its tab row exists.
    const TPageControl::Rect area = pages->DisplayRect();
    Left = area.left;
    Top = area.top;
    Width = area.right - area.left;
    Height = area.bottom - area.top;
    NativeControl::CreateOwn(*this, "TTabSheet",
                             WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                             WS_EX_CONTROLPARENT, Left, Top, Width, Height, tabs);
    NativeControl::ApplyFont(*this);
}
