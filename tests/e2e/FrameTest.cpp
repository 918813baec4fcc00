// The main window's frame: fixed in size, never maximised, minimised as the application,
// and always opened at the design's place, however the screen is and wherever it was left.
//
// Input that should change nothing is first given to an ordinary sizeable window of this
// program, where it must change something: that shows that the drag, the double click or
// the command arrived as meant, so that Korvel's window staying as it was means something.

#include "Fixture.h"
#include "Layout.h"

#include <atomic>
#include <functional>
#include <thread>

namespace e2e {
namespace {

constexpr POINT kDesignedPlace = {227, 285};

// Whether the thread that owns the window is inside a modal move or size loop.
bool InMoveSizeLoop(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) &&
           (info.flags & GUI_INMOVESIZE) != 0;
}

// A window with a sizing frame and a maximise box, handled by a thread of its own since
// the driver's thread does not pump messages while it waits.
class OrdinaryWindow {
public:
    explicit OrdinaryWindow(const RECT& rect) {
        // Wine 8 puts a new thread on the "Default" desktop, not on its process's.
        HDESK desktop = GetThreadDesktop(GetCurrentThreadId());
        thread_ = std::thread([this, rect, desktop] {
            SetThreadDesktop(desktop);
            static const ATOM registered = [] {
                WNDCLASSW wc = {};
                wc.lpfnWndProc = DefWindowProcW;
                wc.hInstance = GetModuleHandleW(nullptr);
                wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
                wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
                wc.lpszClassName = L"KorvelE2EOrdinary";
                return RegisterClassW(&wc);
            }();
            (void)registered;
            HWND hwnd = CreateWindowExW(0, L"KorvelE2EOrdinary", L"Ordinary",
                                        WS_OVERLAPPEDWINDOW | WS_VISIBLE, rect.left, rect.top,
                                        rect.right - rect.left, rect.bottom - rect.top, nullptr,
                                        nullptr, GetModuleHandleW(nullptr), nullptr);
            window_ = hwnd;
            // Pumps until the window is gone rather than until a WM_QUIT: a modal sizing
            // loop that is still running when the window closes takes the WM_QUIT itself.
            while (hwnd && IsWindow(hwnd)) {
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
                MSG msg;
                while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                    TranslateMessage(&msg);
                    DispatchMessageW(&msg);
                }
            }
            done_ = true;
        });
        WaitUntil([&] { return window_.load() != nullptr || done_.load(); });
    }
    ~OrdinaryWindow() {
        if (HWND hwnd = window_.load()) {
            // A sizing loop that never got its keys holds the thread and lets no WM_CLOSE
            // through; Escape ends it.
            if (InMoveSizeLoop(hwnd))
                PostMessageW(hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
            PostMessageW(hwnd, WM_CLOSE, 0, 0);
        }
        thread_.join();
    }
    OrdinaryWindow(const OrdinaryWindow&) = delete;
    OrdinaryWindow& operator=(const OrdinaryWindow&) = delete;

    HWND Handle() const { return window_.load(); }

private:
    std::atomic<HWND> window_{nullptr};
    std::atomic<bool> done_{false};
    std::thread thread_;
};

// Halfway along the title bar: on the caption itself, clear of the icon and the boxes.
POINT CaptionPoint(HWND window) {
    const RECT outer = ScreenRect(window);
    POINT client = {0, 0};
    ClientToScreen(window, &client);
    return {(outer.left + outer.right) / 2, (outer.top + client.y) / 2};
}

// Where on the caption the window puts that hit-test code, e.g. its minimise box.
std::optional<POINT> CaptionPart(HWND window, LRESULT part) {
    const RECT outer = ScreenRect(window);
    const LONG y = CaptionPoint(window).y;
    std::optional<LONG> first, last;
    for (LONG x = outer.left; x < outer.right; ++x) {
        DWORD_PTR hit = HTNOWHERE;
        SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, 5000,
                            &hit);
        if (static_cast<LRESULT>(hit) == part) {
            if (!first)
                first = x;
            last = x;
        }
    }
    if (!first)
        return std::nullopt;
    return POINT{(*first + *last) / 2, y};
}

struct FrameInput {
    const char* name;
    // Gives the input to the window; false when it could not be given.
    std::function<bool(HWND window)> give;
    friend void PrintTo(const FrameInput& input, std::ostream* out) { *out << input.name; }
};

// Drags by (dx, dy) from a point on the frame: 2 pixels inside the right edge, the bottom
// edge or both, and halfway along the other.
FrameInput DragFrame(const char* name, bool right, bool bottom, int dx, int dy) {
    return {name, [=](HWND window) {
                const RECT outer = ScreenRect(window);
                const POINT from = {right ? outer.right - 2 : (outer.left + outer.right) / 2,
                                    bottom ? outer.bottom - 2 : (outer.top + outer.bottom) / 2};
                return DragFromTo(from, {from.x + dx, from.y + dy});
            }};
}

const FrameInput kFrameInputs[] = {
    DragFrame("DragTheCorner", true, true, 90, 70),
    DragFrame("DragTheRightEdge", true, false, 90, 0),
    DragFrame("DragTheBottomEdge", false, true, 0, 70),
    DragFrame("DragTheRightEdgeInwards", true, false, -90, 0),
    {"DoubleClickTheCaption", [](HWND window) { return DoubleClickAt(CaptionPoint(window)); }},
    {"ClickTheMaximiseBox",
     [](HWND window) {
         const std::optional<POINT> box = CaptionPart(window, HTMAXBUTTON);
         return box && ClickAt(*box);
     }},
    // The system menu's commands, as the menu or the taskbar sends them.
    {"MaximiseCommand",
     [](HWND window) { return PostMessageW(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0) != FALSE; }},
    {"SizeCommandWithTheArrowKeys",
     [](HWND window) {
         if (!BringToFront(window) || !PostMessageW(window, WM_SYSCOMMAND, SC_SIZE, 0))
             return false;
         // Keys pressed before the sizing loop begins are lost to it, and it then waits for
         // them for ever. Korvel's window must never begin one: its keys follow the wait.
         WaitUntil([&] { return InMoveSizeLoop(window); }, std::chrono::seconds(2));
         // The first arrow picks the edge, the others move it; Enter ends the sizing.
         for (int i = 0; i < 6; ++i) {
             PressKeys({VK_RIGHT});
             Sleep(30);
         }
         for (int i = 0; i < 6; ++i) {
             PressKeys({VK_DOWN});
             Sleep(30);
         }
         PressKeys({VK_RETURN});
         return true;
     }},
};

struct Shape {
    RECT outer;
    RECT client;
    bool zoomed;
    bool visible;
    friend bool operator==(const Shape& a, const Shape& b) {
        return EqualRect(&a.outer, &b.outer) && EqualRect(&a.client, &b.client) &&
               a.zoomed == b.zoomed && a.visible == b.visible;
    }
};

Shape ShapeOf(HWND window) {
    Shape shape = {
        ScreenRect(window), {}, IsZoomed(window) != FALSE, IsWindowVisible(window) != FALSE};
    GetClientRect(window, &shape.client);
    return shape;
}

std::string DescribeShape(const Shape& shape) {
    return "window " + Describe(shape.outer) + ", client " + Describe(shape.client) +
           (shape.zoomed ? ", maximised" : "") + (shape.visible ? "" : ", hidden");
}

class FixedFrame : public KorvelTest, public testing::WithParamInterface<FrameInput> {};

TEST_P(FixedFrame, ChangesAnOrdinaryWindow) {
    // Where Korvel's window would be, with the same client area.
    RECT rect = {0, 0, 477, 289};
    AdjustWindowRectEx(&rect, WS_OVERLAPPEDWINDOW, FALSE, 0);
    OffsetRect(&rect, kDesignedPlace.x - rect.left, kDesignedPlace.y - rect.top);
    OrdinaryWindow ordinary(rect);
    HWND window = ordinary.Handle();
    ASSERT_TRUE(window);
    ASSERT_TRUE(BringToFront(window));
    const Shape before = ShapeOf(window);

    ASSERT_TRUE(GetParam().give(window)) << "the input could not be given";
    EXPECT_TRUE(WaitUntil([&] { return !(ShapeOf(window) == before); }))
        << "the input did not reach the window: still " << DescribeShape(before);
    EXPECT_TRUE(WaitUntil([&] { return !InMoveSizeLoop(window); }))
        << "the window is still being moved or sized";
}

TEST_P(FixedFrame, LeavesKorvelsWindowAsItIs) {
    Program korvel(KorvelExe());
    HWND main = korvel.MainWindow();
    ASSERT_TRUE(main);
    ASSERT_TRUE(BringToFront(main));
    const Shape before = ShapeOf(main);
    ASSERT_EQ(before.outer.left, kDesignedPlace.x);
    ASSERT_EQ(before.outer.top, kDesignedPlace.y);

    ASSERT_TRUE(GetParam().give(main)) << "the input could not be given";
    // What the ordinary window does at once is given time to happen here too.
    Sleep(500);
    const Shape after = ShapeOf(main);
    EXPECT_TRUE(after == before) << "now " << DescribeShape(after) << ", was "
                                 << DescribeShape(before);
    EXPECT_FALSE(InMoveSizeLoop(main)) << "the window is being moved or sized";
    EXPECT_TRUE(korvel.Running());
    EXPECT_TRUE(NamesIn(kFolder).empty()) << "the input opened a document";
}

INSTANTIATE_TEST_SUITE_P(Inputs, FixedFrame, testing::ValuesIn(kFrameInputs),
                         [](const testing::TestParamInfo<FrameInput>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(KorvelTest, MinimiseBoxMinimisesTheApplicationAndRestoringShowsTheWindowAsItWas) {
    Program korvel(KorvelExe());
    HWND app = korvel.Application();
    HWND main = korvel.MainWindow();
    ASSERT_TRUE(app && main);
    ASSERT_TRUE(BringToFront(main));
    const Shape before = ShapeOf(main);

    const std::optional<POINT> box = CaptionPart(main, HTMINBUTTON);
    ASSERT_TRUE(box) << "no minimise box on the caption";
    ASSERT_TRUE(ClickAt(*box));
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(app) && !IsWindowVisible(main); }))
        << "application window " << (IsIconic(app) ? "minimised" : "not minimised")
        << ", main window " << (IsWindowVisible(main) ? "shown" : "hidden");

    // As the taskbar button asks.
    PostMessageW(app, WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) && !IsIconic(app); }))
        << "the main window did not come back";
    EXPECT_FALSE(IsIconic(main));
    const Shape after = ShapeOf(main);
    EXPECT_TRUE(after == before) << "now " << DescribeShape(after) << ", was "
                                 << DescribeShape(before);
    EXPECT_TRUE(PressAndExpectOpened(korvel, kDocuments[1], Press::Mouse));
}

TEST_F(KorvelTest, MovedAwayItStillStartsAtItsDesignedPlace) {
    {
        Program korvel(KorvelExe());
        HWND main = korvel.MainWindow();
        ASSERT_TRUE(main);
        ASSERT_TRUE(BringToFront(main));
        const POINT caption = CaptionPoint(main);
        ASSERT_TRUE(DragFromTo(caption, {caption.x + 150, caption.y - 120}));
        ASSERT_TRUE(WaitUntil([&] {
            const RECT outer = ScreenRect(main);
            return outer.left == kDesignedPlace.x + 150 && outer.top == kDesignedPlace.y - 120;
        })) << "dragging the caption did not move the window: "
            << Describe(ScreenRect(main));
        PostMessageW(main, WM_CLOSE, 0, 0);
        ASSERT_EQ(korvel.WaitForExit(), 0u);
    }
    Program again(KorvelExe());
    HWND main = again.MainWindow();
    ASSERT_TRUE(main);
    const Shape shape = ShapeOf(main);
    EXPECT_EQ(shape.outer.left, kDesignedPlace.x);
    EXPECT_EQ(shape.outer.top, kDesignedPlace.y);
    EXPECT_EQ(shape.client.right, 477);
    EXPECT_EQ(shape.client.bottom, 289);
}

// A Wine desktop of its own, as small as an old screen: a desktop's size is fixed when it
// is made, and the test desktop is larger than the window.
constexpr wchar_t kSmallDesktop[] = L"KorvelE2ESmall";
constexpr wchar_t kSmallDesktopSize[] = L"640x480";

class SmallScreen : public KorvelTest {
protected:
    void SetUp() override {
        KorvelTest::SetUp();
        HKEY desktops;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Explorer\\Desktops", 0,
                                  nullptr, 0, KEY_SET_VALUE, nullptr, &desktops, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(desktops, kSmallDesktop, 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(kSmallDesktopSize), sizeof kSmallDesktopSize);
        RegCloseKey(desktops);
    }
    void TearDown() override {
        // Wine closes a desktop shortly after its last program has gone. Until then its
        // window covers part of the test desktop, where later cases look at the screen.
        EXPECT_TRUE(WaitUntil([] {
            HDESK desktop = OpenDesktopW(kSmallDesktop, 0, FALSE, DESKTOP_READOBJECTS);
            if (desktop)
                CloseDesktop(desktop);
            return desktop == nullptr;
        })) << "the small desktop stayed open";
        KorvelTest::TearDown();
    }
};

TEST_F(SmallScreen, TheWindowOpensAtItsPlaceThoughItDoesNotFit) {
    Program korvel(KorvelExe(), std::nullopt, kSmallDesktop);
    HWND main = korvel.WaitForTopLevel(L"TForm1");
    ASSERT_TRUE(main);
    // Wine's IsWindowVisible says no for every window of another desktop; the style says
    // whether it was shown.
    ASSERT_TRUE(WaitUntil([&] { return (GetWindowLongW(main, GWL_STYLE) & WS_VISIBLE) != 0; }))
        << "the main window was not shown";
    const RECT screen = ScreenRect(GetAncestor(main, GA_PARENT));
    ASSERT_EQ(Describe(screen), "(0,0) 640x480") << "not on the small desktop";

    const Shape shape = ShapeOf(main);
    EXPECT_EQ(shape.outer.left, kDesignedPlace.x);
    EXPECT_EQ(shape.outer.top, kDesignedPlace.y);
    EXPECT_EQ(shape.client.right, 477);
    EXPECT_EQ(shape.client.bottom, 289);
    EXPECT_FALSE(shape.zoomed);
    EXPECT_GT(shape.outer.right, screen.right);
    EXPECT_GT(shape.outer.bottom, screen.bottom);
}

} // namespace
} // namespace e2e
