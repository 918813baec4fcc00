#include "Image.h"

#include "Native.h"
#include "Rules.h"

#include <ole2.h>
#include <olectl.h>

namespace {

// COM objects are released on every path.
template <class T> class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() {
        if (p_)
            p_->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    T** Out() { return &p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

class GlobalMemory {
public:
    explicit GlobalMemory(std::size_t size) : handle_(GlobalAlloc(GMEM_MOVEABLE, size)) {}
    ~GlobalMemory() {
        if (handle_)
            GlobalFree(handle_);
    }
    GlobalMemory(const GlobalMemory&) = delete;
    GlobalMemory& operator=(const GlobalMemory&) = delete;
    HGLOBAL Get() const { return handle_; }

private:
    HGLOBAL handle_;
};

class MemoryDC {
public:
    MemoryDC() : dc_(CreateCompatibleDC(nullptr)) {}
    ~MemoryDC() {
        if (dc_)
            DeleteDC(dc_);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

struct BitmapDeleter {
    void operator()(void* bitmap) const { DeleteObject(static_cast<HBITMAP>(bitmap)); }
};

// Decodes a JPEG at full size into a 24-bit bitmap with the system's own picture decoder,
// which every Windows has and Wine provides. Null when the data is no picture.
std::shared_ptr<void> DecodeJpeg(const std::vector<std::uint8_t>& jpeg) {
    // The decoder is a COM object; the program's one thread may already have COM.
    static const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    (void)com;

    GlobalMemory memory(jpeg.size());
    if (!memory.Get())
        return nullptr;
    void* bytes = GlobalLock(memory.Get());
    std::copy(jpeg.begin(), jpeg.end(), static_cast<std::uint8_t*>(bytes));
    GlobalUnlock(memory.Get());

    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(memory.Get(), FALSE, stream.Out())))
        return nullptr;
    ComPtr<IPicture> picture;
    if (FAILED(OleLoadPicture(stream.operator->(), static_cast<LONG>(jpeg.size()), FALSE,
                              IID_IPicture, reinterpret_cast<void**>(picture.Out()))))
        return nullptr;

    OLE_XSIZE_HIMETRIC widthHimetric = 0;
    OLE_YSIZE_HIMETRIC heightHimetric = 0;
    picture->get_Width(&widthHimetric);
    picture->get_Height(&heightHimetric);
    HBITMAP source = nullptr;
    picture->get_Handle(reinterpret_cast<OLE_HANDLE*>(&source));
    BITMAP info = {};
    if (!source || !GetObjectA(source, sizeof info, &info))
        return nullptr;

    BITMAPINFO header = {};
    header.bmiHeader.biSize = sizeof header.bmiHeader;
    header.bmiHeader.biWidth = info.bmWidth;
    header.bmiHeader.biHeight = info.bmHeight;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 24;
    header.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &header, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (!bitmap)
        return nullptr;
    std::shared_ptr<void> owned(bitmap, BitmapDeleter());

    MemoryDC dc;
    HGDIOBJ old = SelectObject(dc.Get(), bitmap);
    picture->Render(dc.Get(), 0, 0, info.bmWidth, info.bmHeight, 0, heightHimetric, widthHimetric,
                    -heightHimetric, nullptr);
    SelectObject(dc.Get(), old);
    return owned;
}

void Paint(TImage& image, HWND hwnd, const std::shared_ptr<void>& decoded) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    if (decoded) {
        auto* bitmap = static_cast<HBITMAP>(decoded.get());
        BITMAP info = {};
        GetObjectA(bitmap, sizeof info, &info);
        const ui::Size drawn =
            ui::FitPicture({info.bmWidth, info.bmHeight}, {client.right, client.bottom},
                           image.Proportional, image.Stretch);
        MemoryDC source;
        HGDIOBJ old = SelectObject(source.Get(), bitmap);
        // Reduced without smoothing, as on any display with more than 256 colours.
        SetStretchBltMode(dc, GetDeviceCaps(dc, BITSPIXEL) <= 8 ? HALFTONE : COLORONCOLOR);
        StretchBlt(dc, 0, 0, drawn.width, drawn.height, source.Get(), 0, 0, info.bmWidth,
                   info.bmHeight, SRCCOPY);
        SelectObject(source.Get(), old);
    }
    EndPaint(hwnd, &paint);
}

} // namespace

namespace ui::win32 {
// For tests: the bitmap that the image shows, decoded as on its first paint.
std::shared_ptr<void> DecodePicture(const std::vector<std::uint8_t>& jpeg) {
    return DecodeJpeg(jpeg);
}
} // namespace ui::win32

void TImage::CreateWnd() {
    NativeControl::CreateOwn(*this, "TImage", WS_CHILD | WS_VISIBLE, 0, Left, Top, Width, Height,
                             static_cast<HWND>(Parent()->Handle()));
    NativeControl::Of(*this).handler = [](TWinControl& control, UINT message, WPARAM, LPARAM,
                                          LRESULT& result) {
        auto& image = static_cast<TImage&>(control);
        if (message == WM_ERASEBKGND) {
            result = 1; // painted whole in WM_PAINT, without flicker
            return true;
        }
        if (message != WM_PAINT)
            return false;
        // Decoded once, on the first paint; later paints only copy the bitmap.
        if (!image.decodeTried_ && image.PictureClass == "TJPEGImage") {
            image.decodeTried_ = true; // data that is no picture draws nothing, once
            image.decoded_ = DecodeJpeg(image.PictureData);
        }
        Paint(image, static_cast<HWND>(control.Handle()), image.decoded_);
        result = 0;
        return true;
    };
}
