#include "Pixels.h"

#include "Harness.h"

#include <ole2.h>
#include <olectl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace e2e {

namespace {

// A 32-bit top-down DIB section selected into a memory DC for as long as it lives.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return dc_; }
    Pixels Read() const {
        Pixels pixels;
        if (!bits_)
            return pixels;
        GdiFlush();
        pixels.width = width_;
        pixels.height = height_;
        const auto* first = static_cast<const Colour*>(bits_);
        pixels.data.assign(first, first + static_cast<std::size_t>(width_) * height_);
        for (Colour& pixel : pixels.data)
            pixel &= 0x00FFFFFF;
        return pixels;
    }

private:
    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    void* bits_ = nullptr;
};

template <class T> void ReleaseCom(T*& object) {
    if (object)
        object->Release();
    object = nullptr;
}

} // namespace

Colour FromColorRef(COLORREF colour) {
    return (static_cast<Colour>(GetRValue(colour)) << 16) |
           (static_cast<Colour>(GetGValue(colour)) << 8) | GetBValue(colour);
}

int ChannelDistance(Colour a, Colour b) {
    int largest = 0;
    for (int shift : {0, 8, 16})
        largest = std::max(largest, std::abs(static_cast<int>((a >> shift) & 0xFF) -
                                             static_cast<int>((b >> shift) & 0xFF)));
    return largest;
}

Pixels Pixels::Crop(int left, int top, int cropWidth, int cropHeight) const {
    Pixels part;
    if (left < 0 || top < 0 || cropWidth < 0 || cropHeight < 0 || left + cropWidth > width ||
        top + cropHeight > height)
        return part;
    part.width = cropWidth;
    part.height = cropHeight;
    for (int y = top; y < top + cropHeight; ++y) {
        const auto row = data.begin() + static_cast<std::ptrdiff_t>(y) * width + left;
        part.data.insert(part.data.end(), row, row + cropWidth);
    }
    return part;
}

Pixels CaptureScreen(const RECT& screen) {
    const int width = screen.right - screen.left;
    const int height = screen.bottom - screen.top;
    if (width <= 0 || height <= 0)
        return {};
    Canvas canvas(width, height);
    HDC desktop = GetDC(nullptr);
    BitBlt(canvas.Dc(), 0, 0, width, height, desktop, screen.left, screen.top, SRCCOPY);
    ReleaseDC(nullptr, desktop);
    return canvas.Read();
}

Pixels DrawIcon(HICON icon, int width, int height, Colour background) {
    if (width <= 0 || height <= 0 || !icon)
        return {};
    Canvas canvas(width, height);
    HBRUSH brush = CreateSolidBrush(
        RGB((background >> 16) & 0xFF, (background >> 8) & 0xFF, background & 0xFF));
    const RECT all = {0, 0, width, height};
    FillRect(canvas.Dc(), &all, brush);
    DeleteObject(brush);
    DrawIconEx(canvas.Dc(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
    return canvas.Read();
}

bool WriteBmp(const std::wstring& path, const Pixels& pixels) {
    if (pixels.width <= 0 || pixels.height <= 0)
        return false;
    const std::size_t stride = (static_cast<std::size_t>(pixels.width) * 3 + 3) & ~std::size_t(3);
    const std::size_t imageSize = stride * static_cast<std::size_t>(pixels.height);
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + imageSize);
    info.biSize = sizeof info;
    info.biWidth = pixels.width;
    info.biHeight = pixels.height; // bottom-up, which every reader takes
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(imageSize);
    info.biXPelsPerMeter = info.biYPelsPerMeter = 3780; // 96 pixels per inch

    Bytes bytes(file.bfSize, 0);
    std::memcpy(bytes.data(), &file, sizeof file);
    std::memcpy(bytes.data() + sizeof file, &info, sizeof info);
    for (int y = 0; y < pixels.height; ++y) {
        unsigned char* row = bytes.data() + file.bfOffBits +
                             stride * static_cast<std::size_t>(pixels.height - 1 - y);
        for (int x = 0; x < pixels.width; ++x) {
            const Colour pixel = pixels.At(x, y);
            row[x * 3 + 0] = static_cast<unsigned char>(pixel & 0xFF);
            row[x * 3 + 1] = static_cast<unsigned char>((pixel >> 8) & 0xFF);
            row[x * 3 + 2] = static_cast<unsigned char>((pixel >> 16) & 0xFF);
        }
    }
    return WriteBytes(path, bytes);
}

Pixels ReducedPicture(const std::wstring& jpegPath, int width, int height) {
    const std::optional<Bytes> jpeg = ReadBytes(jpegPath);
    if (!jpeg || jpeg->empty() || width <= 0 || height <= 0)
        return {};
    // The decoder is a COM object; this thread may already have COM, in any apartment.
    static const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    (void)com;

    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, jpeg->size());
    if (!memory)
        return {};
    std::memcpy(GlobalLock(memory), jpeg->data(), jpeg->size());
    GlobalUnlock(memory);
    IStream* stream = nullptr;
    IPicture* picture = nullptr;
    Pixels reduced;
    if (SUCCEEDED(CreateStreamOnHGlobal(memory, TRUE, &stream)) &&
        SUCCEEDED(OleLoadPicture(stream, static_cast<LONG>(jpeg->size()), FALSE, IID_IPicture,
                                 reinterpret_cast<void**>(&picture)))) {
        OLE_XSIZE_HIMETRIC widthHimetric = 0;
        OLE_YSIZE_HIMETRIC heightHimetric = 0;
        picture->get_Width(&widthHimetric);
        picture->get_Height(&heightHimetric);
        HBITMAP decoded = nullptr;
        picture->get_Handle(reinterpret_cast<OLE_HANDLE*>(&decoded));
        BITMAP size = {};
        if (decoded && GetObjectW(decoded, sizeof size, &size)) {
            // The full picture first, then the reduction: one step each, like the program.
            Canvas full(size.bmWidth, size.bmHeight);
            picture->Render(full.Dc(), 0, 0, size.bmWidth, size.bmHeight, 0, heightHimetric,
                            widthHimetric, -heightHimetric, nullptr);
            Canvas small(width, height);
            SetStretchBltMode(small.Dc(), COLORONCOLOR);
            StretchBlt(small.Dc(), 0, 0, width, height, full.Dc(), 0, 0, size.bmWidth,
                       size.bmHeight, SRCCOPY);
            reduced = small.Read();
        }
    }
    ReleaseCom(picture);
    if (stream)
        ReleaseCom(stream); // frees the memory too
    else
        GlobalFree(memory);
    return reduced;
}

} // namespace e2e
