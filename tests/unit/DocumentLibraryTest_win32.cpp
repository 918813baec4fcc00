// Writing and opening documents under Wine, in a prefix of this suite's own, so that
// c:\Korvel is ours. Failures are injected at the system calls below OpenDocument.

#include "DocumentLibrary.h"
#include "DocumentLibrary_win32.h"
#include "Exception.h"
#include "Native.h"
#include "ResourceStream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr char kFolder[] = "c:\\Korvel";

// The window that owns the shell request.
class OwnerWindow : public TWinControl {
public:
    OwnerWindow() : TWinControl(nullptr) {}

protected:
    void CreateWnd() override {
        NativeControl::CreateOwn(*this, "TTestOwner", WS_POPUP, 0, 0, 0, 10, 10, nullptr);
    }
};

struct ShellRequest {
    HWND owner;
    bool defaultVerb;
    std::string path;
    bool noParameters;
    bool noDirectory;
    int show;
    // What the file was when the shell got it.
    std::string contentAtRequest;
    bool closedAtRequest;
};

std::vector<ShellRequest> g_requests;

std::string Content(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string content(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ReadFile(file, content.data(), static_cast<DWORD>(content.size()), &read, nullptr);
    CloseHandle(file);
    return content;
}

void WriteFileContent(const std::string& path, const std::string& content) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
}

HINSTANCE WINAPI RecordShellRequest(HWND owner, LPCSTR verb, LPCSTR path, LPCSTR parameters,
                                    LPCSTR directory, INT show) {
    HANDLE exclusive = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    const bool closed = exclusive != INVALID_HANDLE_VALUE;
    if (closed)
        CloseHandle(exclusive);
    g_requests.push_back({owner, verb == nullptr, path, parameters == nullptr, directory == nullptr,
                          show, Content(path), closed});
    return reinterpret_cast<HINSTANCE>(42);
}

std::string Embedded(const DocumentEntry& entry) {
    const TResourceStream stream(entry.ResourceName, ResourceType::File);
    return {static_cast<const char*>(stream.Memory()), stream.Size()};
}

// The names in the folder, as Unicode: what a user sees on a Russian Windows.
std::vector<std::wstring> FolderContents() {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(L"c:\\Korvel\\*", &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (wcscmp(found.cFileName, L".") && wcscmp(found.cFileName, L".."))
            names.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

void RemoveFolder() {
    for (const std::wstring& name : FolderContents()) {
        const std::wstring path = L"c:\\Korvel\\" + name;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
    }
    RemoveDirectoryA(kFolder);
    SetFileAttributesA(kFolder, FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(kFolder);
}

class DocumentLibrary : public testing::Test {
protected:
    void SetUp() override {
        RemoveFolder();
        g_requests.clear();
        documents::win32::Calls() = {};
        documents::win32::Calls().shellExecute = RecordShellRequest;
    }
    void TearDown() override {
        documents::win32::Calls() = {};
        RemoveFolder();
    }

    // Opening `entry` fails with `message`; the copy on disk is `before` and the shell is
    // not asked; nothing else is left in the folder.
    void ExpectRefused(const DocumentEntry& entry, const std::string& message) {
        const std::string path = DocumentPath(entry);
        const std::string before = Content(path);
        const std::size_t filesBefore = FolderContents().size();
        try {
            OpenDocument(entry, &owner_);
            ADD_FAILURE() << "opened " << path;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), message);
        }
        EXPECT_EQ(Content(path), before);
        EXPECT_TRUE(g_requests.empty());
        EXPECT_EQ(FolderContents().size(), filesBefore) << "a temporary file was left";
    }

    OwnerWindow owner_;
};

TEST_F(DocumentLibrary, EachRowIsWrittenWholeUnderItsNameAndThenOpened) {
    const struct {
        const wchar_t* name;
        std::size_t pathBytes;
    } expected[] = {
        {L"\u041C\u0421\u0424\u041E 20.doc", 21},
        {L"\u041C\u0421\u0424\u041E 41.doc", 21},
        {L"\u0417\u0430\u043A\u043E\u043D \u0420\u041A \u043E\u0442 10 \u043C\u0430\u0440\u0442"
         L"\u0430 2004 \u0433\u043E\u0434\u0430 \u2116 533-II.doc",
         53},
        {L"\u041C\u0435\u0442\u043E\u0434\u0438\u0447\u0435\u0441\u043A\u0438\u0435 \u0440\u0435"
         L"\u043A\u043E\u043C\u0435\u043D\u0434\u0430\u0446\u0438\u0438 \u043F\u043E \u043F\u0440"
         L"\u0438\u043C\u0435\u043D\u0435\u043D\u0438\u044E \u041C\u0421\u0411\u0423 41.doc",
         61},
        {L"\u041D\u0430\u043B\u043E\u0433\u043E\u0432\u0430\u044F \u0443\u0447\u0435\u0442\u043D"
         L"\u0430\u044F \u043F\u043E\u043B\u0438\u0442\u0438\u043A\u0430.doc",
         40},
    };
    for (std::size_t i = 0; i < DocumentCatalogue.size(); ++i) {
        const DocumentEntry& row = DocumentCatalogue[i];
        const std::string path = DocumentPath(row);
        EXPECT_EQ(path, std::string("c:\\Korvel\\") + row.FileName);
        EXPECT_EQ(path.size(), expected[i].pathBytes);

        OpenDocument(row, &owner_);

        const std::string embedded = Embedded(row);
        EXPECT_EQ(Content(path), embedded) << path;
        const std::wstring wide = std::wstring(L"c:\\Korvel\\") + expected[i].name;
        EXPECT_NE(GetFileAttributesW(wide.c_str()), INVALID_FILE_ATTRIBUTES) << "row " << i + 1;

        ASSERT_EQ(g_requests.size(), i + 1);
        const ShellRequest& request = g_requests.back();
        EXPECT_EQ(request.path, path);
        EXPECT_EQ(request.owner, owner_.Handle());
        EXPECT_TRUE(request.defaultVerb && request.noParameters && request.noDirectory);
        EXPECT_EQ(request.show, SW_RESTORE);
        EXPECT_TRUE(request.closedAtRequest) << "the shell got a file that was still open";
        EXPECT_EQ(request.contentAtRequest, embedded);
    }
    // The five documents and nothing else: no file named after row 4's caption, no leftovers.
    EXPECT_EQ(FolderContents().size(), 5u);
    EXPECT_EQ(GetFileAttributesW(L"c:\\Korvel\\\u041C\u0421\u0411\u0423 41.doc"),
              INVALID_FILE_ATTRIBUTES);
}

TEST_F(DocumentLibrary, ARepeatedOpenReplacesAChangedCopy) {
    const DocumentEntry& row = DocumentCatalogue[1];
    OpenDocument(row, &owner_);
    WriteFileContent(DocumentPath(row), "changed by the user");
    OpenDocument(row, &owner_);
    EXPECT_EQ(Content(DocumentPath(row)), Embedded(row));
    EXPECT_EQ(g_requests.size(), 2u);
    EXPECT_EQ(FolderContents().size(), 1u);
}

TEST_F(DocumentLibrary, ACopyHeldOpenByAnotherIsLeftAsItIs) {
    const DocumentEntry& row = DocumentCatalogue[0];
    const std::string message = "Cannot create file " + DocumentPath(row);
    const DWORD shareModes[] = {0, FILE_SHARE_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE};
    CreateDirectoryA(kFolder, nullptr);
    WriteFileContent(DocumentPath(row), "the earlier copy");
    for (DWORD share : shareModes) {
        HANDLE held = CreateFileA(DocumentPath(row).c_str(), GENERIC_READ, share, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        ExpectRefused(row, message);
        CloseHandle(held);
    }
    // Once it is let go, the next press works.
    OpenDocument(row, &owner_);
    EXPECT_EQ(Content(DocumentPath(row)), Embedded(row));
}

TEST_F(DocumentLibrary, AReadOnlyCopyOrAFolderInItsPlaceIsNotReplaced) {
    const DocumentEntry& row = DocumentCatalogue[2];
    const std::string path = DocumentPath(row);
    CreateDirectoryA(kFolder, nullptr);
    WriteFileContent(path, "read-only copy");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    ExpectRefused(row, "Cannot create file " + path);
    EXPECT_TRUE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY);

    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
    CreateDirectoryA(path.c_str(), nullptr);
    ExpectRefused(row, "Cannot create file " + path);
    RemoveDirectoryA(path.c_str());
}

TEST_F(DocumentLibrary, APlainFileNamedLikeTheFolderStopsOnlyTheWrite) {
    WriteFileContent(kFolder, "not a folder");
    EnsureDocumentFolder(); // silent
    const DocumentEntry& row = DocumentCatalogue[4];
    try {
        OpenDocument(row, &owner_);
        ADD_FAILURE() << "opened";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message(), "Cannot create file " + DocumentPath(row));
    }
    EXPECT_EQ(Content(kFolder), "not a folder");
    EXPECT_TRUE(g_requests.empty());
}

TEST_F(DocumentLibrary, TheFolderIsMadeAgainWhenItHasBeenRemoved) {
    EnsureDocumentFolder();
    EnsureDocumentFolder(); // already there: no error, no change
    const DocumentEntry& row = DocumentCatalogue[3];
    OpenDocument(row, &owner_);
    RemoveFolder();
    ASSERT_EQ(GetFileAttributesA(kFolder), INVALID_FILE_ATTRIBUTES);
    OpenDocument(row, &owner_);
    EXPECT_EQ(Content(DocumentPath(row)), Embedded(row));
}

TEST_F(DocumentLibrary, AMissingResourceWritesNothing) {
    const DocumentEntry missing = {"Button9", "x", "DOC9", "x.doc"};
    try {
        OpenDocument(missing, &owner_);
        ADD_FAILURE() << "opened";
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message(), "Resource DOC9 not found");
    }
    EXPECT_TRUE(FolderContents().empty());
    EXPECT_TRUE(g_requests.empty());
}

// Write faults: none may cost the earlier copy or leave a partial file behind.
BOOL WINAPI FailingWrite(HANDLE, LPCVOID, DWORD, LPDWORD written, LPOVERLAPPED) {
    *written = 0;
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

BOOL WINAPI ShortWrite(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD written, LPOVERLAPPED) {
    return WriteFile(file, bytes, size / 2, written, nullptr);
}

BOOL WINAPI FullDiskAfterSomeBytes(HANDLE file, LPCVOID bytes, DWORD, LPDWORD written,
                                   LPOVERLAPPED) {
    WriteFile(file, bytes, 4096, written, nullptr);
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

TEST_F(DocumentLibrary, AFailedWriteKeepsTheEarlierCopyAndLeavesNothingBehind) {
    const DocumentEntry& row = DocumentCatalogue[0];
    const decltype(&::WriteFile) faults[] = {FailingWrite, ShortWrite, FullDiskAfterSomeBytes};
    for (auto fault : faults) {
        // With an earlier copy, and with none.
        for (bool earlier : {true, false}) {
            RemoveFolder();
            if (earlier) {
                CreateDirectoryA(kFolder, nullptr);
                WriteFileContent(DocumentPath(row), "the earlier copy");
            }
            documents::win32::Calls().writeFile = fault;
            ExpectRefused(row, "Stream write error");
            EXPECT_EQ(FolderContents().size(), earlier ? 1u : 0u);
        }
    }
    // A later press with a working disk writes it in full.
    documents::win32::Calls().writeFile = &::WriteFile;
    OpenDocument(row, &owner_);
    EXPECT_EQ(Content(DocumentPath(row)), Embedded(row));
}

TEST_F(DocumentLibrary, TwoRowsWriteTwoFilesThatLeaveEachOtherAlone) {
    OpenDocument(DocumentCatalogue[0], &owner_);
    WriteFileContent(DocumentPath(DocumentCatalogue[0]), "edited");
    OpenDocument(DocumentCatalogue[1], &owner_);
    EXPECT_EQ(Content(DocumentPath(DocumentCatalogue[0])), "edited");
    EXPECT_EQ(Content(DocumentPath(DocumentCatalogue[1])), Embedded(DocumentCatalogue[1]));
}

} // namespace
