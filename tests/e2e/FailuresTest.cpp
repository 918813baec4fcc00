// What the user sees when a document cannot be written or is missing from the program,
// and that the program goes on afterwards.

#include "Fixture.h"

namespace e2e {
namespace {

// An earlier copy of the first document that Korvel must not be able to replace. It
// differs from DOC1 so that any write over it shows.
const Bytes& EarlierCopy() {
    static const Bytes bytes(3000, 'k');
    return bytes;
}
std::wstring FirstCopy() {
    return PathOf(kDocuments[0]);
}

bool PlaceEarlierCopy() {
    return CreateDirectoryW(kFolder, nullptr) && WriteBytes(FirstCopy(), EarlierCopy());
}

// A copy held without sharing can be read by no one but through the handle that holds it.
std::optional<Bytes> HeldBytes(HANDLE held) {
    Bytes bytes(EarlierCopy().size() + 1);
    DWORD got = 0;
    if (SetFilePointer(held, 0, nullptr, FILE_BEGIN) != 0 ||
        !ReadFile(held, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr))
        return std::nullopt;
    bytes.resize(got);
    return bytes;
}

// Something in the way of the first document. `place` puts it there before Korvel starts,
// `untouched` tells whether it survived the failed click as it was, `lift` takes it away.
struct Obstacle {
    const char* name;
    bool (*place)(HANDLE& held);
    bool (*untouched)(HANDLE held);
    void (*lift)(HANDLE& held);
    friend void PrintTo(const Obstacle& o, std::ostream* out) { *out << o.name; }
};

const Obstacle kObstacles[] = {
    {"CopyHeldOpenWithoutSharing",
     [](HANDLE& held) {
         if (!PlaceEarlierCopy())
             return false;
         held = CreateFileW(FirstCopy().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
         return held != INVALID_HANDLE_VALUE;
     },
     [](HANDLE held) { return HeldBytes(held) == EarlierCopy(); },
     [](HANDLE& held) {
         CloseHandle(held);
         held = INVALID_HANDLE_VALUE;
     }},
    {"ReadOnlyCopy",
     [](HANDLE&) {
         return PlaceEarlierCopy() &&
                SetFileAttributesW(FirstCopy().c_str(), FILE_ATTRIBUTE_READONLY) != FALSE;
     },
     [](HANDLE) {
         return ReadBytes(FirstCopy()) == EarlierCopy() &&
                (GetFileAttributesW(FirstCopy().c_str()) & FILE_ATTRIBUTE_READONLY);
     },
     [](HANDLE&) { SetFileAttributesW(FirstCopy().c_str(), FILE_ATTRIBUTE_NORMAL); }},
    {"FolderWhereTheCopyBelongs",
     [](HANDLE&) {
         return CreateDirectoryW(kFolder, nullptr) &&
                CreateDirectoryW(FirstCopy().c_str(), nullptr);
     },
     [](HANDLE) { return IsDirectory(FirstCopy()) && NamesIn(FirstCopy()).empty(); },
     [](HANDLE&) { RemoveDirectoryW(FirstCopy().c_str()); }},
    {"PlainFileWhereTheFolderBelongs", [](HANDLE&) { return WriteBytes(kFolder, EarlierCopy()); },
     [](HANDLE) { return ReadBytes(kFolder) == EarlierCopy(); },
     [](HANDLE&) { DeleteFileW(kFolder); }},
};

class Blocked : public KorvelTest, public testing::WithParamInterface<Obstacle> {
protected:
    void TearDown() override {
        if (held_ != INVALID_HANDLE_VALUE)
            CloseHandle(held_);
        KorvelTest::TearDown();
    }
    HANDLE held_ = INVALID_HANDLE_VALUE;
};

TEST_P(Blocked, ShowsCannotCreateFileKeepsTheEarlierBytesAndAsksNoShell) {
    const Obstacle& obstacle = GetParam();
    ASSERT_TRUE(obstacle.place(held_));

    Program korvel(KorvelExe());
    ASSERT_TRUE(korvel.MainWindow());
    // Not being able to make the folder at start is no reason to say anything.
    EXPECT_FALSE(korvel.FindTopLevel(L"#32770"));

    PostClick(korvel.Buttons().at(0));
    const std::optional<ErrorBox> box = korvel.WaitForErrorBox();
    ASSERT_TRUE(IsErrorBox(box, korvel, L"Korvel", CannotCreate(kDocuments[0])));
    EXPECT_TRUE(ModalWhileShownThenDismissed(*box, korvel));

    EXPECT_TRUE(obstacle.untouched(held_)) << "the failed click changed what was in the way";
    EXPECT_TRUE(NoShellRequestAfter(0));

    obstacle.lift(held_);
    for (const Document& document : kDocuments)
        EXPECT_TRUE(PressAndExpectOpened(korvel, document)) << "button " << document.number;
}

INSTANTIATE_TEST_SUITE_P(Obstacles, Blocked, testing::ValuesIn(kObstacles),
                         [](const testing::TestParamInfo<Obstacle>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(KorvelTest, TwoFailingPressesShowTwoBoxesOneAfterTheOther) {
    ASSERT_TRUE(WriteBytes(kFolder, EarlierCopy()));
    Program korvel(KorvelExe());
    ASSERT_TRUE(korvel.MainWindow());
    const std::vector<HWND> buttons = korvel.Buttons();
    ASSERT_EQ(buttons.size(), 5u);

    PostClick(buttons[0]);
    const std::optional<ErrorBox> first = korvel.WaitForErrorBox();
    ASSERT_TRUE(IsErrorBox(first, korvel, L"Korvel", CannotCreate(kDocuments[0])));
    // The window under the box takes no clicks: this one must change nothing.
    ClickAt(CentreOf(buttons[1]));
    Sleep(static_cast<DWORD>(kSettle.count()));
    EXPECT_EQ(korvel.TopLevels(L"#32770").size(), 1u);
    EXPECT_TRUE(ModalWhileShownThenDismissed(*first, korvel));

    ASSERT_TRUE(BringToFront(korvel.MainWindow()));
    ASSERT_TRUE(ClickAt(CentreOf(buttons[1])));
    const std::optional<ErrorBox> second = korvel.WaitForErrorBox();
    ASSERT_TRUE(IsErrorBox(second, korvel, L"Korvel", CannotCreate(kDocuments[1])));
    EXPECT_NE(second->window, first->window);
    EXPECT_EQ(korvel.TopLevels(L"#32770").size(), 1u);
    EXPECT_TRUE(ModalWhileShownThenDismissed(*second, korvel));

    EXPECT_EQ(ReadBytes(kFolder), EarlierCopy());
    EXPECT_TRUE(NoShellRequestAfter(0));
}

TEST_F(KorvelTest, WithoutDoc3ItsButtonReportsTheMissingResourceAndTheOthersWork) {
    Program korvel(KorvelWithoutDoc3Exe());
    ASSERT_TRUE(korvel.MainWindow());
    const Document& third = kDocuments[2];

    for (int attempt = 1; attempt <= 2; ++attempt) {
        PostClick(korvel.Buttons().at(2));
        const std::optional<ErrorBox> box = korvel.WaitForErrorBox();
        ASSERT_TRUE(IsErrorBox(box, korvel, L"Korvel", L"Resource DOC3 not found."))
            << "attempt " << attempt;
        EXPECT_TRUE(ModalWhileShownThenDismissed(*box, korvel));
        EXPECT_FALSE(Exists(PathOf(third)));
        EXPECT_TRUE(NoShellRequestAfter(0));
    }
    for (const Document& document : kDocuments) {
        if (document.number != third.number) {
            EXPECT_TRUE(PressAndExpectOpened(korvel, document)) << "button " << document.number;
        }
    }
}

TEST_F(KorvelTest, WithoutTheDesignOneBoxNoMainWindowAndACleanExit) {
    Program korvel(KorvelWithoutDesignExe());
    const std::optional<ErrorBox> box = korvel.WaitForErrorBox();
    ASSERT_TRUE(IsErrorBox(box, korvel, L"Korvel", L"Resource TForm1 not found."));
    EXPECT_FALSE(korvel.FindTopLevel(L"TForm1"));
    ASSERT_TRUE(PressOk(*box));

    // No second box on the way out, and no main window after all.
    std::optional<DWORD> code;
    bool secondBox = false, mainWindow = false;
    const bool ended = WaitUntil([&] {
        secondBox = secondBox || korvel.FindTopLevel(L"#32770");
        mainWindow = mainWindow || korvel.FindTopLevel(L"TForm1");
        return (code = korvel.WaitForExit(Duration(0))).has_value();
    });
    EXPECT_FALSE(secondBox);
    EXPECT_FALSE(mainWindow);
    ASSERT_TRUE(ended) << "the program did not end after its box";
    EXPECT_EQ(*code, 0u);
    EXPECT_TRUE(NoShellRequestAfter(0));
}

} // namespace
} // namespace e2e
