#include "Screen.h"

#include <windows.h>

namespace {

class ScreenDC {
public:
    ScreenDC() : dc_(GetDC(nullptr)) {}
    ~ScreenDC() { ReleaseDC(nullptr, dc_); }
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

} // namespace

namespace ui {

int ScreenPixelsPerInch() {
    return GetDeviceCaps(ScreenDC().Get(), LOGPIXELSY);
}

int TextHeight(const TFont& font) {
    ScreenDC screen;
    HFONT handle =
        CreateFontA(font.Height, 0, 0, 0, font.Style == TFontStyle::Bold ? FW_BOLD : FW_NORMAL,
                    FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                    DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, font.Name.c_str());
    HGDIOBJ old = SelectObject(screen.Get(), handle);
    SIZE size = {};
    GetTextExtentPoint32A(screen.Get(), "0", 1, &size);
    SelectObject(screen.Get(), old);
    DeleteObject(handle);
    return size.cy;
}

} // namespace ui
