// Every way a user closes Korvel ends it cleanly, and the documents it wrote stay.

#include "Fixture.h"

namespace e2e {
namespace {

// The middle of the main window's close box, found by asking the window itself.
std::optional<POINT> CloseBox(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    RECT box = {LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    for (LONG y = rect.top; y < rect.top + 60 && y < rect.bottom; ++y)
        for (LONG x = rect.right - 1; x > rect.right - 80 && x >= rect.left; --x) {
            DWORD_PTR hit = HTNOWHERE;
            SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, 1000,
                                &hit);
            if (hit == HTCLOSE) {
                box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x),
                       std::max(box.bottom, y)};
            }
        }
    if (box.left > box.right)
        return std::nullopt;
    return POINT{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
}

enum class Way { CloseBoxClicked, SystemMenuClose, AltF4, TaskbarButtonClose };

std::string NameOf(Way way) {
    switch (way) {
    case Way::CloseBoxClicked:
        return "CloseBoxClicked";
    case Way::SystemMenuClose:
        return "SystemMenuClose";
    case Way::AltF4:
        return "AltF4";
    case Way::TaskbarButtonClose:
        return "TaskbarButtonClose";
    }
    return "Unknown";
}
void PrintTo(Way way, std::ostream* out) {
    *out << NameOf(way);
}

class Closing : public KorvelTest, public testing::WithParamInterface<Way> {};

TEST_P(Closing, EndsWithExitCodeZeroAndLeavesTheDocumentsInPlace) {
    Program korvel(KorvelExe());
    HWND main = korvel.MainWindow();
    ASSERT_TRUE(main);
    ASSERT_TRUE(PressAndExpectOpened(korvel, kDocuments[2]));

    switch (GetParam()) {
    case Way::CloseBoxClicked: {
        ASSERT_TRUE(BringToFront(main));
        const std::optional<POINT> close = CloseBox(main);
        ASSERT_TRUE(close) << "the main window has no close box";
        ASSERT_TRUE(ClickAt(*close));
        break;
    }
    case Way::SystemMenuClose:
        PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    case Way::AltF4:
        ASSERT_TRUE(BringToFront(main));
        PressKeys({VK_MENU, VK_F4});
        break;
    case Way::TaskbarButtonClose:
        PostMessageW(korvel.Application(), WM_CLOSE, 0, 0);
        break;
    }

    const std::optional<DWORD> code = korvel.WaitForExit();
    ASSERT_TRUE(code) << "still running";
    EXPECT_EQ(*code, 0u);
    EXPECT_TRUE(CopyIsIntact(kDocuments[2]));
}

INSTANTIATE_TEST_SUITE_P(Ways, Closing,
                         testing::Values(Way::CloseBoxClicked, Way::SystemMenuClose, Way::AltF4,
                                         Way::TaskbarButtonClose),
                         [](const testing::TestParamInfo<Way>& info) {
                             return NameOf(info.param);
                         });

} // namespace
} // namespace e2e
