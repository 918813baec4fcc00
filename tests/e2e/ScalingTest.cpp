// Korvel on a screen of more pixels per inch than the design's 96: the controls and the
// client area grow with the height that text in the form's font has there, and the window
// keeps its place.
//
// Wine 8 gives a process its resolution from the registry as the process starts: the
// DWORD "LogPixels" under HKCU\Control Panel\Desktop, or else the one under
// HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts, or else 96. A
// running process keeps what it started with, the driver included; so the value is set,
// the programs that are to see it are started, and it is put back.
//
// The text height is measured in a process started at that resolution too: Wine picks the
// bitmaps of "MS Sans Serif" for the resolution a process started at, and at 120 even the
// design's -11 comes out 16 pixels high. For the same reason the fonts' own heights are not
// checked here: at 120 every height Korvel could choose for them (-11, -14, -15) draws
// alike, so nothing outside the process tells them apart.

#include "Fixture.h"
#include "Layout.h"

namespace e2e {
namespace {

// Sets the user's screen resolution for the processes started while it lives.
class ScreenResolution {
public:
    explicit ScreenResolution(DWORD pixelsPerInch) {
        if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                            KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_,
                            nullptr) != ERROR_SUCCESS) {
            key_ = nullptr;
            return;
        }
        DWORD type = 0;
        DWORD size = sizeof previous_;
        hadValue_ = RegQueryValueExW(key_, kValue, nullptr, &type,
                                     reinterpret_cast<BYTE*>(&previous_), &size) == ERROR_SUCCESS &&
                    type == REG_DWORD;
        set_ = RegSetValueExW(key_, kValue, 0, REG_DWORD,
                              reinterpret_cast<const BYTE*>(&pixelsPerInch),
                              sizeof pixelsPerInch) == ERROR_SUCCESS;
    }
    ~ScreenResolution() {
        if (!key_)
            return;
        if (hadValue_)
            RegSetValueExW(key_, kValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&previous_),
                           sizeof previous_);
        else
            RegDeleteValueW(key_, kValue);
        RegCloseKey(key_);
    }
    ScreenResolution(const ScreenResolution&) = delete;
    ScreenResolution& operator=(const ScreenResolution&) = delete;

    bool Set() const { return set_; }

private:
    static constexpr wchar_t kValue[] = L"LogPixels";
    HKEY key_ = nullptr;
    DWORD previous_ = 0;
    bool hadValue_ = false;
    bool set_ = false;
};

struct FormText {
    int pixelsPerInch = 0;
    int height = 0;
};

// Measured by this program started again, as a new process sees the screen.
FormText MeasureInNewProcess() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" ";
    for (const char* c = kMeasureFormText; *c; ++c)
        commandLine += static_cast<wchar_t>(*c);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(self, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return {};
    CloseHandle(info.hThread);
    DWORD code = 0;
    if (WaitForSingleObject(info.hProcess, static_cast<DWORD>(kPatience.count())) == WAIT_OBJECT_0)
        GetExitCodeProcess(info.hProcess, &code);
    else
        TerminateProcess(info.hProcess, 0);
    CloseHandle(info.hProcess);
    return {static_cast<int>(code >> 16), static_cast<int>(code & 0xFFFF)};
}

class Resolution : public KorvelTest, public testing::WithParamInterface<int> {};

TEST_P(Resolution, ScalesTheDesignByItsTextHeightAndKeepsThePlace) {
    const int pixelsPerInch = GetParam();
    ScreenResolution resolution(static_cast<DWORD>(pixelsPerInch));
    ASSERT_TRUE(resolution.Set());
    const FormText text = MeasureInNewProcess();
    ASSERT_EQ(text.pixelsPerInch, pixelsPerInch) << "a new process does not see the resolution";
    // With the design's text height nothing would be scaled, and this case would show nothing.
    ASSERT_NE(text.height, 13);

    Program korvel(KorvelExe());
    const MainWindowParts parts = PartsOf(korvel);
    ASSERT_TRUE(parts.main);
    const Layout expected = ScaledLayout(text.height);
    EXPECT_TRUE(HasLayout(parts, expected)) << "text height " << text.height;
    const RECT outer = ScreenRect(parts.main);
    EXPECT_EQ(outer.left, 227);
    EXPECT_EQ(outer.top, 285);

    // The cover is fitted into the grown image by the same rule as into the designed one.
    const ui::Size fitted =
        ui::FitPicture(kCoverSize, {expected.image.width, expected.image.height},
                       /*proportional=*/true, /*stretch=*/false);
    const Pixels window = CaptureMainWindow(parts);
    EXPECT_TRUE(ShowsFittedCover(ImageIn(window, parts), fitted,
                                 ReducedPicture(CoverJpeg(), fitted.width, fitted.height)))
        << "image " << expected.image.width << "x" << expected.image.height;
}

INSTANTIATE_TEST_SUITE_P(PixelsPerInch, Resolution, testing::Values(120, 144),
                         [](const testing::TestParamInfo<int>& info) {
                             return "At" + std::to_string(info.param);
                         });

} // namespace
} // namespace e2e
