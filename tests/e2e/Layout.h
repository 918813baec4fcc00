#pragma once
// Where the main window's controls should be and what the cover should look like in them,
// checked from outside: the windows' rectangles and the pixels on the screen.

#include "Harness.h"
#include "Pixels.h"
#include "Rules.h"

#include <gtest/gtest.h>

#include <array>

namespace e2e {

struct Layout {
    ui::Size client;                   // of the main window
    ui::Bounds tabs;                   // in the main window's client area
    ui::Bounds image;                  // on the page
    std::array<ui::Bounds, 5> buttons; // on the page, top to bottom
};

// As the window was designed, at 96 pixels per inch with "0" 13 pixels high.
Layout DesignedLayout();
// The design on a screen where "0" in the form's font is `textHeight` pixels high.
Layout ScaledLayout(int textHeight);

// The cover as stored: 270 × 378.
constexpr ui::Size kCoverSize = {270, 378};
std::wstring CoverJpeg();

// The windows of a running Korvel that the layout places.
struct MainWindowParts {
    HWND main = nullptr;
    HWND tabs = nullptr;
    HWND page = nullptr;
    HWND image = nullptr;
    std::vector<HWND> buttons;
};
MainWindowParts PartsOf(const Program& korvel);

// A window's rectangle on the screen, and in its parent's client area.
RECT ScreenRect(HWND window);
RECT RectInParent(HWND window);
RECT ToRect(const ui::Bounds& bounds);
RECT Offset(RECT rect, POINT by);
std::string Describe(const RECT& rect);

// Where the page of a tab control with that client area goes: the display area the tab
// control reports for it, 2 pixels lower at the top. Asked of the tab control itself.
std::optional<RECT> PageArea(HWND tabs);

// Every control is where the layout puts it, in its parent's client coordinates and on
// the screen, the latter derived from the main window's client area alone.
testing::AssertionResult HasLayout(const MainWindowParts& parts, const Layout& layout);

// The image shows the cover reduced to `fitted` at its top left, made exactly like
// `expected`, and the page colour everywhere else in it.
testing::AssertionResult ShowsFittedCover(const Pixels& image, ui::Size fitted,
                                          const Pixels& expected);

// A process started with this one argument reports, as its exit code, the resolution it
// started at and the height of "0" in the form's font scaled to it: resolution << 16 | height.
constexpr char kMeasureFormText[] = "--measure-form-text";
int MeasureFormText();

// Captures the main window with its frame once it is painted, the cover included.
Pixels CaptureMainWindow(const MainWindowParts& parts);
// The image's part of a capture of the main window.
Pixels ImageIn(const Pixels& window, const MainWindowParts& parts);

} // namespace e2e
