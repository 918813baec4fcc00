// Where the main window's controls are and what the cover looks like, at 96 pixels per
// inch, seen from outside: window rectangles and the pixels on the screen.

#include "Fixture.h"
#include "Layout.h"

namespace e2e {
namespace {

std::wstring ScreenshotPath() {
    std::wstring path;
    for (const char* c = KORVEL_E2E_SCREENSHOT; *c; ++c)
        path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    return path;
}

TEST_F(KorvelTest, EveryControlIsAtItsDesignedPlaceInItsParentAndOnTheScreen) {
    Program korvel(KorvelExe());
    const MainWindowParts parts = PartsOf(korvel);
    ASSERT_TRUE(parts.main);

    // The client area's place follows from the window's place and its frame: where the
    // system puts a client area of that style.
    RECT frame = {0, 0, 0, 0};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(parts.main, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(parts.main, GWL_EXSTYLE)));
    POINT origin = {0, 0};
    ClientToScreen(parts.main, &origin);
    EXPECT_EQ(origin.x, 227 - frame.left);
    EXPECT_EQ(origin.y, 285 - frame.top);
    const RECT outer = ScreenRect(parts.main);
    EXPECT_EQ(outer.right - outer.left, 477 + frame.right - frame.left);
    EXPECT_EQ(outer.bottom - outer.top, 289 + frame.bottom - frame.top);

    EXPECT_TRUE(HasLayout(parts, DesignedLayout()));
}

TEST_F(KorvelTest, CoverFillsTheImageWidthAtItsTopLeftWithItsShapeKept) {
    Program korvel(KorvelExe());
    const MainWindowParts parts = PartsOf(korvel);
    ASSERT_TRUE(parts.main && parts.image);
    const Pixels window = CaptureMainWindow(parts);
    // The build keeps the picture of the window, whatever this case finds in it.
    DeleteFileW(ScreenshotPath().c_str());
    EXPECT_TRUE(WriteBmp(ScreenshotPath(), window)) << Narrow(ScreenshotPath());

    const Pixels image = ImageIn(window, parts);
    ASSERT_EQ(image.width, 153);
    ASSERT_EQ(image.height, 217);
    // 270 × 378 reduced to the image's width; the three rows left below it, page y 230…232,
    // show the page.
    const ui::Size fitted = {153, 214};
    EXPECT_TRUE(ShowsFittedCover(image, fitted, ReducedPicture(CoverJpeg(), 153, 214)));
}

} // namespace
} // namespace e2e
