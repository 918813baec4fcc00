// The windows Korvel shows, how it starts, and what it is called.

#include "Fixture.h"

#include <commctrl.h>

namespace e2e {
namespace {

TEST_F(KorvelTest, ApplicationWindowOwnsAFixedMainWindowAtItsDesignedPlace) {
    Program korvel(KorvelExe());
    ASSERT_TRUE(korvel.Started());
    HWND app = korvel.Application();
    HWND main = korvel.MainWindow();
    ASSERT_TRUE(app && main);

    EXPECT_EQ(WindowText(app), L"Korvel");
    // It is the window with the taskbar button: shown, and no tool window.
    EXPECT_TRUE(IsWindowVisible(app));
    EXPECT_FALSE(GetWindowLongW(app, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    RECT rect;
    GetWindowRect(app, &rect);
    EXPECT_EQ(rect.right - rect.left, 0);
    EXPECT_EQ(rect.bottom - rect.top, 0);

    EXPECT_EQ(GetWindow(main, GW_OWNER), app);
    EXPECT_EQ(WindowText(main), L"Korvel");
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(main, GWL_STYLE)) & ~DWORD(WS_VISIBLE),
              DWORD(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
    // The system adds the window edge to every captioned window; nothing else may be there.
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(main, GWL_EXSTYLE)) & ~DWORD(WS_EX_WINDOWEDGE),
              DWORD(WS_EX_CONTROLPARENT));
    GetWindowRect(main, &rect);
    EXPECT_EQ(rect.left, 227);
    EXPECT_EQ(rect.top, 285);
    GetClientRect(main, &rect);
    EXPECT_EQ(rect.right, 477);
    EXPECT_EQ(rect.bottom, 289);
}

TEST_F(KorvelTest, MainWindowHoldsOnePageWithTheCoverAndTheFiveButtonsInOrder) {
    Program korvel(KorvelExe());
    HWND tabs = korvel.Tabs();
    ASSERT_TRUE(tabs);
    EXPECT_EQ(GetParent(tabs), korvel.MainWindow());
    EXPECT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 1);
    EXPECT_EQ(TabText(tabs, 0), L"- 1 -");

    HWND sheet = FindWindowExW(tabs, nullptr, L"TTabSheet", nullptr);
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(FindWindowExW(sheet, nullptr, L"TImage", nullptr));

    const std::vector<HWND> buttons = korvel.Buttons();
    ASSERT_EQ(buttons.size(), 5u);
    for (const Document& document : kDocuments)
        EXPECT_EQ(WindowText(buttons[static_cast<std::size_t>(document.number - 1)]),
                  document.caption)
            << "button " << document.number;
}

TEST_F(KorvelTest, CreatesTheEmptyDocumentFolderAtStartWithoutAWord) {
    Program korvel(KorvelExe());
    ASSERT_TRUE(korvel.MainWindow());
    EXPECT_TRUE(IsDirectory(kFolder));
    EXPECT_TRUE(NamesIn(kFolder).empty());
    EXPECT_FALSE(korvel.FindTopLevel(L"#32770"));
}

TEST_F(KorvelTest, StartedMaximisedItFillsTheScreenThoughItHasNoMaximiseBox) {
    Program korvel(KorvelExe(), SW_SHOWMAXIMIZED);
    HWND main = korvel.MainWindow();
    ASSERT_TRUE(main);
    EXPECT_TRUE(IsZoomed(main));
    EXPECT_FALSE(GetWindowLongW(main, GWL_STYLE) & WS_MAXIMIZEBOX);
    EXPECT_TRUE(PressAndExpectOpened(korvel, kDocuments[0]));
}

TEST_F(KorvelTest, StartedMinimisedItWaitsOnItsTaskbarButtonUntilRestored) {
    Program korvel(KorvelExe(), SW_SHOWMINNOACTIVE);
    HWND app = korvel.Application();
    ASSERT_TRUE(app);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(app) != FALSE; }))
        << "the application is not minimised";
    HWND main = korvel.WaitForTopLevel(L"TForm1");
    ASSERT_TRUE(main);
    EXPECT_FALSE(IsWindowVisible(main));

    PostMessageW(app, WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) && !IsIconic(app); }))
        << "the main window did not come back";
    EXPECT_FALSE(IsIconic(main));
    EXPECT_FALSE(IsZoomed(main));
    EXPECT_TRUE(PressAndExpectOpened(korvel, kDocuments[4]));
}

TEST_F(KorvelTest, TwoCopiesRunSideBySideAndBothOpenDocuments) {
    Program first(KorvelExe());
    Program second(KorvelExe());
    HWND firstMain = first.MainWindow();
    HWND secondMain = second.MainWindow();
    ASSERT_TRUE(firstMain && secondMain);
    EXPECT_NE(firstMain, secondMain);

    EXPECT_TRUE(PressAndExpectOpened(first, kDocuments[0]));
    EXPECT_TRUE(PressAndExpectOpened(second, kDocuments[1]));
    EXPECT_TRUE(PressAndExpectOpened(second, kDocuments[0]));

    PostMessageW(firstMain, WM_CLOSE, 0, 0);
    EXPECT_EQ(first.WaitForExit(), 0u);
    EXPECT_TRUE(second.Running());
    EXPECT_TRUE(PressAndExpectOpened(second, kDocuments[2]));
}

// The title is the executable's name without its folder and from its first dot on, with
// every letter but the first lowered; it names the application window and the error boxes.
struct TitleCase {
    const char* name;
    const wchar_t* fileName;
    const wchar_t* title;
    friend void PrintTo(const TitleCase& c, std::ostream* out) { *out << Narrow(c.fileName); }
};

class Title : public KorvelTest, public testing::WithParamInterface<TitleCase> {};

TEST_P(Title, ComesFromTheExecutablesName) {
    const std::wstring folder = L"c:\\e2e";
    const std::wstring copy = folder + L"\\" + GetParam().fileName;
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(CopyFileW(KorvelExe().c_str(), copy.c_str(), FALSE));
    // A file where the folder should be makes the first button fail, which shows the title.
    ASSERT_TRUE(WriteBytes(kFolder, Bytes{'x'}));

    Program korvel(copy);
    HWND main = korvel.MainWindow();
    ASSERT_TRUE(main);
    EXPECT_EQ(Narrow(WindowText(korvel.Application())), Narrow(GetParam().title));
    EXPECT_EQ(WindowText(main), L"Korvel") << "the main window's caption is its design's";

    PostClick(korvel.Buttons().at(0));
    const std::optional<ErrorBox> box = korvel.WaitForErrorBox();
    EXPECT_TRUE(IsErrorBox(box, korvel, GetParam().title, CannotCreate(kDocuments[0])));
    if (box) {
        EXPECT_TRUE(PressOk(*box));
    }
}

INSTANTIATE_TEST_SUITE_P(Copies, Title,
                         testing::Values(TitleCase{"UpperCase", L"READER.EXE", L"Reader"},
                                         TitleCase{"TwoDots", L"my.tool.exe", L"my"},
                                         TitleCase{"LowerCase", L"korvel.exe", L"korvel"},
                                         TitleCase{"UpperCaseKorvel", L"KORVEL.EXE", L"Korvel"},
                                         // A Russian user may well name a copy in Russian.
                                         TitleCase{"Cyrillic", L"ЧИТАЛКА.EXE", L"Читалка"}),
                         [](const testing::TestParamInfo<TitleCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace e2e
