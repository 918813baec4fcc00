// The application's exception display: what it shows, what it keeps silent, and that a
// failure inside a click comes to it without unwinding through the system's code.

#include "Application.h"
#include "Button.h"
#include "Native.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Box {
    HWND owner;
    std::string text;
    std::string caption;
    UINT flags;
    bool othersDisabled;
};

std::vector<Box> g_boxes;
std::vector<HWND> g_watched; // windows that must be disabled while a box is shown

int WINAPI RecordBox(HWND owner, LPCSTR text, LPCSTR caption, UINT flags) {
    bool disabled = true;
    for (HWND w : g_watched)
        disabled = disabled && !IsWindowEnabled(w);
    g_boxes.push_back({owner, text, caption, flags, disabled});
    return IDOK;
}

class Window : public TWinControl {
public:
    Window() : TWinControl(nullptr) {}

protected:
    void CreateWnd() override {
        NativeControl::CreateOwn(*this, "TTestWindow", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 10, 10,
                                 300, 200, nullptr);
    }
};

class ExceptionDisplay : public testing::Test {
protected:
    // One window for the suite: Wine takes a while to map a window with no window manager.
    static void SetUpTestSuite() { window_ = new Window; }
    static void TearDownTestSuite() { delete window_; }

    void SetUp() override {
        g_boxes.clear();
        ui::win32::MessageBoxCall() = RecordBox;
        ShowWindow(static_cast<HWND>(Application->Handle()), SW_SHOWNOACTIVATE);
        g_watched = {static_cast<HWND>(window_->Handle()),
                     static_cast<HWND>(Application->Handle())};
        SetActiveWindow(static_cast<HWND>(window_->Handle()));
    }
    void TearDown() override { ui::win32::MessageBoxCall() = &MessageBoxA; }

    void Handle(const std::exception_ptr& failure) {
        try {
            std::rethrow_exception(failure);
        } catch (...) {
            Application->HandleException();
        }
    }

    static Window* window_;
};

Window* ExceptionDisplay::window_ = nullptr;

TEST_F(ExceptionDisplay, TheTitleComesFromTheExecutableName) {
    EXPECT_EQ(Application->Title(), "application_test");
}

TEST_F(ExceptionDisplay, TheApplicationWindowCarriesTheProgramIcon) {
    HWND window = static_cast<HWND>(Application->Handle());
    auto* icon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICON));
    ASSERT_NE(icon, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour = {};
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, 32);
    EXPECT_EQ(colour.bmHeight, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    // Zero size: only its taskbar button is ever seen.
    RECT bounds;
    GetWindowRect(window, &bounds);
    EXPECT_EQ(bounds.right - bounds.left, 0);
    EXPECT_EQ(bounds.bottom - bounds.top, 0);
}

TEST_F(ExceptionDisplay, AnExceptionIsShownWithAFullStopAndTheTitle) {
    Handle(std::make_exception_ptr(EWriteError()));
    ASSERT_EQ(g_boxes.size(), 1u);
    const Box& box = g_boxes[0];
    EXPECT_EQ(box.text, "Stream write error.");
    EXPECT_EQ(box.caption, Application->Title());
    EXPECT_EQ(box.flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_EQ(box.owner, Application->Handle());
    EXPECT_TRUE(box.othersDisabled) << "another window took input while the box was shown";
    // Afterwards everything takes input again, and the window that was active is again.
    for (HWND w : g_watched)
        EXPECT_TRUE(IsWindowEnabled(w));
    EXPECT_EQ(GetActiveWindow(), window_->Handle());
}

TEST_F(ExceptionDisplay, TheTextKeepsItsOwnEnding) {
    const struct {
        const char* message;
        const char* shown;
    } cases[] = {{"Done.", "Done."}, {"Why?", "Why?."}, {"", ""}, {"Stop!", "Stop!"}};
    for (const auto& c : cases)
        Handle(std::make_exception_ptr(Exception(c.message)));
    ASSERT_EQ(g_boxes.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(g_boxes[i].text, cases[i].shown);
}

TEST_F(ExceptionDisplay, AnAbortIsSilent) {
    Handle(std::make_exception_ptr(EAbort("never shown")));
    EXPECT_TRUE(g_boxes.empty());
}

TEST_F(ExceptionDisplay, AnythingElseGetsTheGenericReport) {
    Handle(std::make_exception_ptr(std::runtime_error("out of luck")));
    Handle(std::make_exception_ptr(42));
    ASSERT_EQ(g_boxes.size(), 2u);
    for (const Box& box : g_boxes) {
        EXPECT_EQ(box.caption, "Application Error");
        EXPECT_EQ(box.flags, static_cast<UINT>(MB_OK | MB_ICONERROR | MB_TASKMODAL));
        EXPECT_EQ(box.owner, nullptr);
    }
    EXPECT_EQ(g_boxes[0].text, "out of luck");
}

TEST_F(ExceptionDisplay, AFailureInAClickReachesTheDisplayAndTheProgramGoesOn) {
    TButton button(nullptr);
    button.SetParent(window_);
    button.Width = 100;
    button.Height = 25;
    int presses = 0;
    button.OnClick = [&](TObject* sender) {
        EXPECT_EQ(sender, &button);
        ++presses;
        if (presses == 3)
            throw EAbort("quiet");
        throw EFCreateError("c:\\Korvel\\x.doc");
    };
    HWND hwnd = static_cast<HWND>(button.Handle());
    // Two failing presses in a row give two boxes; an abort gives none.
    for (int i = 0; i < 3; ++i)
        SendMessageA(hwnd, BM_CLICK, 0, 0);
    EXPECT_EQ(presses, 3);
    ASSERT_EQ(g_boxes.size(), 2u);
    EXPECT_EQ(g_boxes[0].text, "Cannot create file c:\\Korvel\\x.doc.");
    EXPECT_EQ(g_boxes[1].text, "Cannot create file c:\\Korvel\\x.doc.");
}

} // namespace
