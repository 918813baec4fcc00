// Each button writes its document into c:\Korvel and has the desktop open it.

#include "Fixture.h"

#include <algorithm>

namespace e2e {
namespace {

class EachButton : public KorvelTest, public testing::WithParamInterface<Press> {};

TEST_P(EachButton, WritesItsDocumentUnderItsOwnNameAndHasTheShellOpenIt) {
    Program korvel(KorvelExe());
    ASSERT_TRUE(korvel.MainWindow());
    for (const Document& document : kDocuments)
        EXPECT_TRUE(PressAndExpectOpened(korvel, document, GetParam()))
            << "button " << document.number;

    // The names are checked as the ANSI calls see them too: row 3's "№" must be byte 0xB9
    // of code page 1251, and row 4 carries the document's long title, not its caption.
    std::vector<std::wstring> names;
    std::vector<std::string> ansiNames;
    for (const Document& document : kDocuments) {
        names.push_back(document.fileName);
        ansiNames.push_back(document.ansiFileName);
    }
    std::sort(names.begin(), names.end());
    std::sort(ansiNames.begin(), ansiNames.end());
    EXPECT_EQ(NamesIn(kFolder), names);
    EXPECT_EQ(AnsiNamesIn(kFolder), ansiNames);
    EXPECT_FALSE(korvel.FindTopLevel(L"#32770"));
}

INSTANTIATE_TEST_SUITE_P(Presses, EachButton, testing::Values(Press::Message, Press::Mouse),
                         [](const testing::TestParamInfo<Press>& info) {
                             return std::string(info.param == Press::Message ? "ByMessage"
                                                                             : "ByMouse");
                         });

// A copy changed after it was written is replaced whole by the next click: no stale tail,
// no mixture of old and new bytes.
struct Change {
    const char* name;
    Bytes (*apply)(const Bytes& original);
    friend void PrintTo(const Change& c, std::ostream* out) { *out << c.name; }
};

class ChangedCopy : public KorvelTest, public testing::WithParamInterface<Change> {};

TEST_P(ChangedCopy, IsReplacedByTheDocumentOnTheNextClick) {
    const Document& document = kDocuments[1];
    Program korvel(KorvelExe());
    ASSERT_TRUE(PressAndExpectOpened(korvel, document));

    const Bytes changed = GetParam().apply(Committed(document.number));
    ASSERT_TRUE(WriteBytes(PathOf(document), changed));
    ASSERT_EQ(ReadBytes(PathOf(document)), changed);

    EXPECT_TRUE(PressAndExpectOpened(korvel, document));
}

INSTANTIATE_TEST_SUITE_P(
    Changes, ChangedCopy,
    testing::Values(Change{"Emptied", [](const Bytes&) { return Bytes{}; }},
                    Change{"Shortened",
                           [](const Bytes& b) { return Bytes(b.begin(), b.begin() + 100); }},
                    Change{"Lengthened",
                           [](const Bytes& b) {
                               Bytes longer = b;
                               longer.insert(longer.end(), 70000, 0x5A);
                               return longer;
                           }},
                    Change{"EditedInPlace",
                           [](const Bytes& b) {
                               Bytes edited = b;
                               for (std::size_t i = 512; i < edited.size(); i += 4096)
                                   edited[i] ^= 0xFF;
                               return edited;
                           }}),
    [](const testing::TestParamInfo<Change>& info) { return std::string(info.param.name); });

const char* ActionName(DWORD action) {
    switch (action) {
    case FILE_ACTION_ADDED:
        return "added";
    case FILE_ACTION_REMOVED:
        return "removed";
    case FILE_ACTION_MODIFIED:
        return "modified";
    case FILE_ACTION_RENAMED_OLD_NAME:
        return "renamed from";
    case FILE_ACTION_RENAMED_NEW_NAME:
        return "renamed to";
    }
    return "?";
}

// The earlier copy is never opened for writing, truncated or removed: the new bytes are
// written to a file of their own beside it, which then takes its place in one rename.
TEST_F(KorvelTest, ReplacesAnEarlierCopyInOneStepFromAFileBesideIt) {
    const Document& document = kDocuments[4];
    Program korvel(KorvelExe());
    ASSERT_TRUE(korvel.MainWindow());
    ASSERT_TRUE(IsDirectory(kFolder));
    ASSERT_TRUE(WriteBytes(PathOf(document), Bytes(1000, 'e')));

    FolderWatch watch(kFolder);
    ASSERT_TRUE(watch.Watching());
    ASSERT_TRUE(PressAndExpectOpened(korvel, document));
    const std::vector<FolderChange> changes = watch.Changes(Duration(500));

    std::string seen;
    for (const FolderChange& change : changes)
        seen += std::string("\n  ") + ActionName(change.action) + " " + Narrow(change.name);
    std::wstring temporary;
    int renamesIntoPlace = 0;
    for (std::size_t i = 0; i < changes.size(); ++i) {
        const FolderChange& change = changes[i];
        if (change.name == document.fileName) {
            EXPECT_EQ(change.action, DWORD(FILE_ACTION_RENAMED_NEW_NAME))
                << "the copy itself was " << ActionName(change.action) << seen;
            if (change.action == FILE_ACTION_RENAMED_NEW_NAME && i > 0 &&
                changes[i - 1].action == FILE_ACTION_RENAMED_OLD_NAME) {
                temporary = changes[i - 1].name;
                ++renamesIntoPlace;
            }
        }
    }
    EXPECT_EQ(renamesIntoPlace, 1) << seen;
    EXPECT_FALSE(temporary.empty());
    EXPECT_EQ(temporary.find(L'\\'), std::wstring::npos)
        << "not beside the copy: " << Narrow(temporary);
    EXPECT_FALSE(Exists(std::wstring(kFolder) + L"\\" + temporary));
}

TEST_F(KorvelTest, FolderRemovedWhileRunningIsCreatedAgainByTheNextClick) {
    Program korvel(KorvelExe());
    ASSERT_TRUE(korvel.MainWindow());
    ASSERT_TRUE(PressAndExpectOpened(korvel, kDocuments[0]));

    RemoveAll(kFolder);
    ASSERT_FALSE(Exists(kFolder));

    EXPECT_TRUE(PressAndExpectOpened(korvel, kDocuments[3]));
    EXPECT_TRUE(IsDirectory(kFolder));
}

} // namespace
} // namespace e2e
