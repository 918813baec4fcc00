#include "Image.h"

#include "Native.h"

void TImage::CreateWnd() {
    NativeControl::CreateOwn(*this, "TImage", WS_CHILD | WS_VISIBLE, 0, Left, Top, Width, Height,
                          static_cast<HWND>(Parent()->Handle()));
}
