// Korvel used from the keyboard alone, with real key presses.
//
// A key that should do nothing is followed by a Tab: input is handled in order, so once the
// Tab has moved the focus, the key before it has been handled too, and whatever it did
// (a click writes its document before returning) is there to see.

#include "Fixture.h"

#include <vector>

namespace e2e {
namespace {

// The controls that take the focus: 0 is the tab control, 1…5 the buttons.
constexpr int kTabs = 0;

HWND Control(const Program& korvel, int index) {
    return index == kTabs ? korvel.Tabs()
                          : korvel.Buttons().at(static_cast<std::size_t>(index - 1));
}

// The focus is on that control, and a button is the default exactly while it has the focus.
testing::AssertionResult FocusIs(const Program& korvel, int index) {
    HWND expected = Control(korvel, index);
    const std::vector<HWND> buttons = korvel.Buttons();
    auto defaults = [&] {
        std::vector<bool> out;
        for (HWND button : buttons)
            out.push_back((GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
        return out;
    };
    std::vector<bool> expectedDefaults(5, false);
    if (index != kTabs)
        expectedDefaults[static_cast<std::size_t>(index - 1)] = true;
    if (WaitUntil([&] { return korvel.Focus() == expected && defaults() == expectedDefaults; }))
        return testing::AssertionSuccess();

    HWND focus = korvel.Focus();
    auto failure = testing::AssertionFailure()
                   << "expected the focus on control " << index << ", it is on ";
    if (focus == korvel.Tabs())
        failure << "the tab control";
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (focus == buttons[i])
            failure << "button " << i + 1;
    if (!focus)
        failure << "nothing";
    failure << "; default buttons:";
    const std::vector<bool> actual = defaults();
    for (std::size_t i = 0; i < actual.size(); ++i)
        if (actual[i])
            failure << " " << i + 1;
    return failure;
}

class Keyboard : public KorvelTest {
protected:
    void SetUp() override {
        KorvelTest::SetUp();
        korvel_ = std::make_unique<Program>(KorvelExe());
        HWND main = korvel_->MainWindow();
        ASSERT_TRUE(main);
        ASSERT_TRUE(BringToFront(main));
        ASSERT_TRUE(FocusIs(*korvel_, kTabs)) << "at start";
    }
    void TearDown() override {
        korvel_.reset();
        KorvelTest::TearDown();
    }
    // Moves the focus from the tab control to that control with Tab.
    void TabTo(int index) {
        for (int i = 1; i <= index; ++i) {
            PressKeys({VK_TAB});
            ASSERT_TRUE(FocusIs(*korvel_, i));
        }
    }
    std::unique_ptr<Program> korvel_;
};

TEST_F(Keyboard, StartsWithTheFocusOnTheTabControl) {
    EXPECT_EQ(ClassOf(korvel_->Focus()), L"SysTabControl32");
}

struct Walk {
    const char* name;
    std::vector<WORD> keys;
    int from;
    std::vector<int> through; // the focus after each press
    friend void PrintTo(const Walk& w, std::ostream* out) { *out << w.name; }
};

class KeyboardWalk : public Keyboard, public testing::WithParamInterface<Walk> {};

TEST_P(KeyboardWalk, MovesTheFocusInOrderAndWrapsAround) {
    const Walk& walk = GetParam();
    ASSERT_NO_FATAL_FAILURE(TabTo(walk.from));
    for (std::size_t step = 0; step < walk.through.size(); ++step) {
        PressKeys(walk.keys);
        ASSERT_TRUE(FocusIs(*korvel_, walk.through[step])) << "after press " << step + 1;
    }
    EXPECT_TRUE(NamesIn(kFolder).empty()) << "moving the focus opened a document";
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyboardWalk,
    testing::Values(Walk{"Tab", {VK_TAB}, kTabs, {1, 2, 3, 4, 5, kTabs, 1}},
                    Walk{"ShiftTab", {VK_SHIFT, VK_TAB}, kTabs, {5, 4, 3, 2, 1, kTabs, 5}},
                    Walk{"Down", {VK_DOWN}, 1, {2, 3, 4, 5, 1}},
                    Walk{"Right", {VK_RIGHT}, 1, {2, 3, 4, 5, 1}},
                    Walk{"Up", {VK_UP}, 1, {5, 4, 3, 2, 1}},
                    Walk{"Left", {VK_LEFT}, 3, {2, 1, 5, 4, 3}}),
    [](const testing::TestParamInfo<Walk>& info) { return std::string(info.param.name); });

struct KeyPress {
    const char* name;
    WORD key;
    int button;
    friend void PrintTo(const KeyPress& k, std::ostream* out) { *out << k.name; }
};

class KeyboardClick : public Keyboard, public testing::WithParamInterface<KeyPress> {};

TEST_P(KeyboardClick, ClicksTheFocusedButtonOnce) {
    const KeyPress& press = GetParam();
    const Document& document = kDocuments[press.button - 1];
    ASSERT_NO_FATAL_FAILURE(TabTo(press.button));

    PressKeys({press.key});
    const std::vector<ShellRequest> log = RecorderLog::WaitFor(1);
    ASSERT_EQ(log.size(), 1u) << "no click";
    EXPECT_TRUE(OpenedByShell(log[0], document));
    EXPECT_TRUE(CopyIsIntact(document));

    PressKeys({VK_TAB});
    EXPECT_TRUE(FocusIs(*korvel_, (press.button + 1) % 6));
    EXPECT_TRUE(NoShellRequestAfter(1)) << "one key press clicked more than once";
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyboardClick,
                         testing::Values(KeyPress{"Enter", VK_RETURN, 2},
                                         KeyPress{"Space", VK_SPACE, 4},
                                         KeyPress{"EnterOnTheLast", VK_RETURN, 5}),
                         [](const testing::TestParamInfo<KeyPress>& info) {
                             return std::string(info.param.name);
                         });

struct Inert {
    const char* name;
    std::vector<WORD> keys;
    int at;
    friend void PrintTo(const Inert& i, std::ostream* out) { *out << i.name; }
};

class KeyboardInert : public Keyboard, public testing::WithParamInterface<Inert> {};

TEST_P(KeyboardInert, KeyDoesNothing) {
    const Inert& inert = GetParam();
    ASSERT_NO_FATAL_FAILURE(TabTo(inert.at));

    PressKeys(inert.keys);
    PressKeys({VK_TAB});
    EXPECT_TRUE(FocusIs(*korvel_, (inert.at + 1) % 6)) << "the key moved the focus";
    EXPECT_TRUE(korvel_->Running());
    EXPECT_TRUE(IsWindowVisible(korvel_->FindTopLevel(L"TForm1")));
    EXPECT_TRUE(NamesIn(kFolder).empty()) << "the key clicked a button";
    EXPECT_TRUE(NoShellRequestAfter(0));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyboardInert,
    testing::Values(Inert{"EnterOnTheTabControl", {VK_RETURN}, kTabs},
                    Inert{"EscapeOnTheTabControl", {VK_ESCAPE}, kTabs},
                    Inert{"EscapeOnAButton", {VK_ESCAPE}, 3},
                    Inert{"CtrlTabOnTheTabControl", {VK_CONTROL, VK_TAB}, kTabs},
                    Inert{"CtrlTabOnAButton", {VK_CONTROL, VK_TAB}, 2}),
    [](const testing::TestParamInfo<Inert>& info) { return std::string(info.param.name); });

} // namespace
} // namespace e2e
