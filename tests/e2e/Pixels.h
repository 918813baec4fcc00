#pragma once
// Pixels as the screen shows them, and the cover as it should look once drawn.

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// 0x00RRGGBB, as a 32-bit DIB holds it.
using Colour = DWORD;

Colour FromColorRef(COLORREF colour);
// The largest difference of the three channels.
int ChannelDistance(Colour a, Colour b);

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<Colour> data; // rows top to bottom

    Colour At(int x, int y) const {
        return data[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                    static_cast<std::size_t>(x)];
    }
    // The part at (left, top) in these pixels' own coordinates.
    Pixels Crop(int left, int top, int cropWidth, int cropHeight) const;
    friend bool operator==(const Pixels& a, const Pixels& b) {
        return a.width == b.width && a.height == b.height && a.data == b.data;
    }
};

// What the screen shows in that rectangle, windows and frames as drawn.
Pixels CaptureScreen(const RECT& screen);
// The icon drawn at that size over a plain background.
Pixels DrawIcon(HICON icon, int width, int height, Colour background);

// Captures until two captures a moment apart agree and `ready` holds for the capture, so
// that a window that was just shown or moved has finished painting. Returns the last
// capture either way.
template <class Ready> Pixels CaptureWhenPainted(const RECT& screen, Ready ready);

// A 24-bit BMP, as every image viewer and ImageMagick read it.
bool WriteBmp(const std::wstring& path, const Pixels& pixels);

// The JPEG decoded by the system's picture decoder and reduced to that size without
// smoothing (COLORONCOLOR), as a display with more than 256 colours draws it.
Pixels ReducedPicture(const std::wstring& jpegPath, int width, int height);

// ---- Implementation ----------------------------------------------------------------------

template <class Ready> Pixels CaptureWhenPainted(const RECT& screen, Ready ready) {
    Pixels last = CaptureScreen(screen);
    for (int attempt = 0; attempt < 100; ++attempt) {
        Sleep(100);
        Pixels next = CaptureScreen(screen);
        const bool settled = next == last && ready(next);
        last = std::move(next);
        if (settled)
            break;
    }
    return last;
}

} // namespace e2e
