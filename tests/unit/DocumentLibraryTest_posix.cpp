// Writing and opening documents on Linux, each case in a home folder of its own. The desktop
// is never asked: its request is recorded, with what the file held at that moment. Write
// faults are injected at the call below OpenDocument; other faults are made for real.

#include "Cp1251.h"
#include "DocumentLibrary.h"
#include "DocumentLibrary_posix.h"
#include "Exception.h"
#include "ResourceStream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <iconv.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using documents::posix::Calls;

const std::string kMissing = "<missing>";

// Only regular files are read: opening a named pipe would wait for a writer.
std::string Content(const std::string& path) {
    if (!fs::is_regular_file(path))
        return kMissing;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return kMissing;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFileContent(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    ASSERT_TRUE(out) << path;
    out << content;
}

std::string Committed(const DocumentEntry& entry) {
    return Content(std::string(KORVEL_SOURCE_DIR) + "/resources/documents/" + entry.ResourceName +
                   ".doc");
}

std::string Embedded(const DocumentEntry& entry) {
    const TResourceStream stream(entry.ResourceName, ResourceType::File);
    return {static_cast<const char*>(stream.Memory()), stream.Size()};
}

// Every name in the folder, hidden ones included, sorted.
std::vector<std::string> FolderContents(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& item : fs::directory_iterator(folder, error))
        names.push_back(item.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool IsTemporaryName(const std::string& name) {
    return name.rfind(".Korvel-", 0) == 0;
}

// Whether this process still has a descriptor on the file, or on any temporary file.
bool HeldOpenHere(const std::string& path) {
    const std::string folder = fs::path(path).parent_path().string();
    for (const auto& item : fs::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        const fs::path target = fs::read_symlink(item.path(), error);
        if (error)
            continue;
        if (target == path ||
            (target.parent_path() == folder && IsTemporaryName(target.filename().string())))
            return true;
    }
    return false;
}

mode_t ModeOf(const std::string& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0)
        return 0;
    return status.st_mode;
}

struct DesktopRequest {
    TWinControl* owner;
    std::string path;
    // What the desktop would have found when it got the request.
    std::string contentAtRequest;
    std::vector<std::string> folderAtRequest;
    bool heldOpenAtRequest;
};

std::vector<DesktopRequest> g_requests;

void RecordRequest(TWinControl* owner, const std::string& path) {
    const std::string folder = fs::path(path).parent_path().string();
    g_requests.push_back({owner, path, Content(path), FolderContents(folder), HeldOpenHere(path)});
}

// The owner is only passed through to the desktop, never used here.
char g_ownerTag;
TWinControl* const kOwner = reinterpret_cast<TWinControl*>(&g_ownerTag);

class DocumentLibrary : public testing::Test {
protected:
    void SetUp() override {
        if (const char* home = std::getenv("HOME"))
            savedHome_ = home;
        std::string pattern = (fs::temp_directory_path() / "korvel-home-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        home_ = pattern;
        folder_ = home_ + "/Korvel";
        ::setenv("HOME", home_.c_str(), 1);
        g_requests.clear();
        Calls() = {};
        Calls().openWithDesktop = RecordRequest;
    }
    void TearDown() override {
        Calls() = {};
        if (savedHome_)
            ::setenv("HOME", savedHome_->c_str(), 1);
        else
            ::unsetenv("HOME");
        std::error_code error;
        fs::remove_all(home_, error);
    }

    // Opening `entry` fails with `message`; the folder holds exactly what it held before, the
    // copy is unchanged, and the desktop is not asked.
    void ExpectRefused(const DocumentEntry& entry, const std::string& message) {
        const std::string path = DocumentPath(entry);
        const std::string before = Content(path);
        const std::vector<std::string> namesBefore = FolderContents(folder_);
        try {
            OpenDocument(entry, kOwner);
            ADD_FAILURE() << "opened " << path;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), message);
        }
        EXPECT_EQ(Content(path), before);
        EXPECT_EQ(FolderContents(folder_), namesBefore) << "a temporary file was left";
        EXPECT_TRUE(g_requests.empty());
        EXPECT_FALSE(HeldOpenHere(path));
    }

    std::string CannotCreate(const DocumentEntry& entry) const {
        return "Cannot create file " + DocumentPath(entry);
    }

    std::optional<std::string> savedHome_;
    std::string home_;
    std::string folder_;
};

TEST_F(DocumentLibrary, EachRowIsWrittenWholeUnderItsNameAndThenOpened) {
    const char* const expectedNames[] = {
        "МСФО 20.doc",
        "МСФО 41.doc",
        "Закон РК от 10 марта 2004 года № 533-II.doc",
        "Методические рекомендации по применению МСБУ 41.doc",
        "Налоговая учетная политика.doc",
    };
    ASSERT_EQ(std::size(expectedNames), DocumentCatalogue.size());
    for (std::size_t i = 0; i < DocumentCatalogue.size(); ++i) {
        SCOPED_TRACE("row " + std::to_string(i + 1));
        const DocumentEntry& row = DocumentCatalogue[i];
        const std::string path = DocumentPath(row);
        EXPECT_EQ(path, folder_ + "/" + expectedNames[i]);

        OpenDocument(row, kOwner);

        const std::string committed = Committed(row);
        ASSERT_NE(committed, kMissing);
        EXPECT_EQ(Embedded(row), committed);
        EXPECT_EQ(Content(path), committed);
        EXPECT_TRUE(S_ISREG(ModeOf(path)));

        ASSERT_EQ(g_requests.size(), i + 1);
        const DesktopRequest& request = g_requests.back();
        EXPECT_EQ(request.path, path);
        EXPECT_EQ(request.owner, kOwner);
        EXPECT_EQ(request.contentAtRequest, committed);
        EXPECT_FALSE(request.heldOpenAtRequest) << "the desktop got a file that was still open";
        EXPECT_TRUE(std::none_of(request.folderAtRequest.begin(), request.folderAtRequest.end(),
                                 IsTemporaryName));
    }
    // The five documents and nothing else: no file named after row 4's caption, no leftovers.
    std::vector<std::string> expected(std::begin(expectedNames), std::end(expectedNames));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FolderContents(folder_), expected);
    EXPECT_FALSE(fs::exists(folder_ + "/МСБУ 41.doc"));
}

TEST_F(DocumentLibrary, NewFilesGetThePermissionsTheUmaskAllows) {
    // The umask belongs to the whole process: it is put back however the case ends.
    struct UmaskGuard {
        mode_t saved = ::umask(022);
        ~UmaskGuard() { ::umask(saved); }
    } guard;
    const DocumentEntry& row = DocumentCatalogue[0];
    for (const mode_t mask : {0022, 0002, 0077, 0027}) {
        SCOPED_TRACE("umask " + std::to_string(mask));
        std::error_code error;
        fs::remove_all(folder_, error);
        ::umask(mask);
        OpenDocument(row, kOwner);
        EXPECT_EQ(ModeOf(folder_) & 07777, 0777 & ~mask);
        EXPECT_EQ(ModeOf(DocumentPath(row)) & 07777, 0666 & ~mask);
    }
}

TEST_F(DocumentLibrary, ARepeatedOpenReplacesAChangedCopy) {
    const DocumentEntry& row = DocumentCatalogue[1];
    const std::string embedded = Embedded(row);
    // Shorter and longer than the document: a longer one shows any tail left untruncated.
    const std::string changes[] = {"changed by the user", embedded + "and a long tail"};
    OpenDocument(row, kOwner);
    for (const std::string& changed : changes) {
        WriteFileContent(DocumentPath(row), changed);
        OpenDocument(row, kOwner);
        EXPECT_EQ(Content(DocumentPath(row)), embedded);
    }
    EXPECT_EQ(g_requests.size(), 3u);
    EXPECT_EQ(FolderContents(folder_).size(), 1u);
}

// Another process that holds a lock on a file until it is let go.
class LockHolder {
public:
    enum Kind {
        RecordWrite,
        RecordRead,
        RecordWriteOnOneByte,
        OpenFileWrite,
        WholeExclusive,
        WholeShared
    };

    LockHolder(const std::string& path, Kind kind) {
        int ready[2];
        int release[2];
        if (::pipe(ready) != 0 || ::pipe(release) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            ::close(release[1]);
            const char result = TakeLock(path.c_str(), kind) ? '1' : '0';
            if (::write(ready[1], &result, 1) != 1)
                ::_exit(1);
            char ignored;
            while (::read(release[0], &ignored, 1) > 0) {
            }
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(release[0]);
        release_ = release[1];
        char result = '0';
        locked_ = pid_ > 0 && ::read(ready[0], &result, 1) == 1 && result == '1';
        ::close(ready[0]);
    }
    ~LockHolder() {
        if (release_ >= 0)
            ::close(release_);
        if (pid_ > 0)
            ::waitpid(pid_, nullptr, 0);
    }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    bool Locked() const { return locked_; }

private:
    // Runs in the child, so only async-signal-safe calls.
    static bool TakeLock(const char* path, Kind kind) {
        const int fd = ::open(path, kind == RecordRead ? O_RDONLY : O_RDWR);
        if (fd < 0)
            return false;
        struct flock lock {};
        lock.l_whence = SEEK_SET;
        lock.l_type = kind == RecordRead ? F_RDLCK : F_WRLCK;
        switch (kind) {
        case RecordWrite:
        case RecordRead:
            return ::fcntl(fd, F_SETLK, &lock) == 0;
        case RecordWriteOnOneByte:
            lock.l_start = 100;
            lock.l_len = 1;
            return ::fcntl(fd, F_SETLK, &lock) == 0;
        case OpenFileWrite:
            return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
        case WholeExclusive:
            return ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        case WholeShared:
            return ::flock(fd, LOCK_SH | LOCK_NB) == 0;
        }
        return false;
    }

    pid_t pid_ = -1;
    int release_ = -1;
    bool locked_ = false;
};

TEST_F(DocumentLibrary, ACopyLockedByAnotherProcessIsLeftAsItIs) {
    const DocumentEntry& row = DocumentCatalogue[0];
    const struct {
        const char* name;
        LockHolder::Kind kind;
    } locks[] = {
        {"fcntl write lock", LockHolder::RecordWrite},
        {"fcntl read lock", LockHolder::RecordRead},
        {"fcntl write lock on one byte", LockHolder::RecordWriteOnOneByte},
        {"open file description write lock", LockHolder::OpenFileWrite},
        {"flock exclusive", LockHolder::WholeExclusive},
        {"flock shared", LockHolder::WholeShared},
    };
    EnsureDocumentFolder();
    WriteFileContent(DocumentPath(row), "the earlier copy, edited and still open elsewhere");
    for (const auto& lock : locks) {
        SCOPED_TRACE(lock.name);
        const LockHolder holder(DocumentPath(row), lock.kind);
        ASSERT_TRUE(holder.Locked());
        ExpectRefused(row, CannotCreate(row));
    }
    // Once it is let go, the next press works.
    OpenDocument(row, kOwner);
    EXPECT_EQ(Content(DocumentPath(row)), Embedded(row));
    EXPECT_EQ(g_requests.size(), 1u);
}

TEST_F(DocumentLibrary, AReadOnlyCopyIsNotReplacedEvenByRoot) {
    const DocumentEntry& row = DocumentCatalogue[2];
    const std::string path = DocumentPath(row);
    EnsureDocumentFolder();
    for (const mode_t mode : {0444, 0400, 0555, 0000}) {
        SCOPED_TRACE("mode " + std::to_string(mode));
        ::chmod(path.c_str(), 0644);
        WriteFileContent(path, "read-only copy");
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        ExpectRefused(row, CannotCreate(row));
        EXPECT_EQ(ModeOf(path) & 07777, mode);
    }
}

TEST_F(DocumentLibrary, SomethingOtherThanAFileInItsPlaceIsLeftAlone) {
    const DocumentEntry& row = DocumentCatalogue[2];
    const std::string path = DocumentPath(row);
    const std::string outside = home_ + "/elsewhere.doc";
    const struct {
        const char* name;
        void (*make)(const std::string& path, const std::string& outside);
        mode_t type;
    } cases[] = {
        {"a folder",
         [](const std::string& p, const std::string&) {
             fs::create_directory(p);
             WriteFileContent(p + "/inside.txt", "kept");
         },
         S_IFDIR},
        {"a link to a file elsewhere",
         [](const std::string& p, const std::string& o) { fs::create_symlink(o, p); }, S_IFLNK},
        {"a link to nothing",
         [](const std::string& p, const std::string&) { fs::create_symlink("/nonexistent", p); },
         S_IFLNK},
        // Opening a pipe to look at it would wait for a writer for ever.
        {"a named pipe",
         [](const std::string& p, const std::string&) { ::mkfifo(p.c_str(), 0666); }, S_IFIFO},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::error_code error;
        fs::remove_all(folder_, error);
        EnsureDocumentFolder();
        WriteFileContent(outside, "a file of the user's elsewhere");
        c.make(path, outside);
        ExpectRefused(row, CannotCreate(row));
        EXPECT_EQ(ModeOf(path) & S_IFMT, c.type);
        EXPECT_EQ(Content(outside), "a file of the user's elsewhere");
        if (c.type == S_IFDIR) {
            EXPECT_EQ(Content(path + "/inside.txt"), "kept");
        }
    }
}

TEST_F(DocumentLibrary, TheFolderIsMadeAgainWhenItHasBeenRemoved) {
    EnsureDocumentFolder();
    EnsureDocumentFolder(); // already there: no error, no change
    EXPECT_TRUE(fs::is_directory(folder_));
    const DocumentEntry& row = DocumentCatalogue[3];
    OpenDocument(row, kOwner);
    fs::remove_all(folder_);
    ASSERT_FALSE(fs::exists(folder_));
    OpenDocument(row, kOwner);
    EXPECT_EQ(Content(DocumentPath(row)), Embedded(row));
    EXPECT_EQ(g_requests.size(), 2u);
}

TEST_F(DocumentLibrary, WhenTheFolderCannotBeMadeOnlyTheWriteFails) {
    const DocumentEntry& row = DocumentCatalogue[4];
    const struct {
        const char* name;
        bool plainFile; // a file named Korvel in the home; otherwise the home itself is gone
    } cases[] = {{"a plain file named Korvel", true}, {"no home folder", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string home = c.plainFile ? home_ : home_ + "/gone";
        ::setenv("HOME", home.c_str(), 1);
        if (c.plainFile)
            WriteFileContent(home + "/Korvel", "not a folder");
        EnsureDocumentFolder();
        EXPECT_EQ(DocumentPath(row), home + "/Korvel/Налоговая учетная политика.doc");
        try {
            OpenDocument(row, kOwner);
            ADD_FAILURE() << "opened";
        } catch (const EFCreateError& e) {
            EXPECT_EQ(e.Message(), CannotCreate(row));
        }
        EXPECT_TRUE(g_requests.empty());
        if (c.plainFile) {
            EXPECT_EQ(Content(home + "/Korvel"), "not a folder");
            EXPECT_EQ(FolderContents(home), std::vector<std::string>{"Korvel"});
        } else {
            EXPECT_FALSE(fs::exists(home));
        }
    }
}

TEST_F(DocumentLibrary, TheFolderIsKorvelDirectlyInTheHome) {
    const passwd* user = ::getpwuid(::getuid());
    ASSERT_NE(user, nullptr);
    const std::string usersHome = user->pw_dir;
    const struct {
        const char* name;
        std::optional<std::string> home; // HOME as set; nothing: unset
        std::string folder;
    } cases[] = {
        {"HOME as given", home_, home_ + "/Korvel"},
        {"HOME with a trailing slash", home_ + "//", home_ + "/Korvel"},
        {"HOME empty: the user's entry", std::string(), usersHome + "/Korvel"},
        {"HOME unset: the user's entry", std::nullopt, usersHome + "/Korvel"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.home)
            ::setenv("HOME", c.home->c_str(), 1);
        else
            ::unsetenv("HOME");
        EXPECT_EQ(DocumentPath(DocumentCatalogue[0]), c.folder + "/МСФО 20.doc");
    }
}

TEST_F(DocumentLibrary, AMissingResourceWritesNothing) {
    const DocumentEntry missing = {"Button9", "x", "DOC9", "x.doc"};
    try {
        OpenDocument(missing, kOwner);
        ADD_FAILURE() << "opened";
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message(), "Resource DOC9 not found");
    }
    EXPECT_TRUE(FolderContents(folder_).empty());
    EXPECT_TRUE(g_requests.empty());
}

TEST_F(DocumentLibrary, ANameThatWouldLeaveTheFolderIsNotWritten) {
    for (const char* name : {"../escape.doc", "sub/x.doc", "/tmp/x.doc", "", ".", ".."}) {
        SCOPED_TRACE(std::string("file name \"") + name + "\"");
        const DocumentEntry entry = {"Button1", "x", "DOC1", name};
        EnsureDocumentFolder();
        ExpectRefused(entry, CannotCreate(entry));
        EXPECT_EQ(FolderContents(home_), std::vector<std::string>{"Korvel"});
        EXPECT_TRUE(FolderContents(folder_).empty());
    }
}

// Write faults: none may cost the earlier copy or leave a partial file behind.
ssize_t FailingWrite(int, const void*, size_t) {
    errno = ENOSPC;
    return -1;
}

ssize_t ShortWrite(int fd, const void* bytes, size_t size) {
    return ::write(fd, bytes, size / 2);
}

ssize_t FullDiskAfterSomeBytes(int fd, const void* bytes, size_t size) {
    if (::write(fd, bytes, std::min<size_t>(size, 4096)) < 0)
        return -1;
    errno = ENOSPC;
    return -1;
}

ssize_t NothingWritten(int, const void*, size_t) {
    return 0;
}

TEST_F(DocumentLibrary, AFailedWriteKeepsTheEarlierCopyAndLeavesNothingBehind) {
    const DocumentEntry& row = DocumentCatalogue[0];
    const struct {
        const char* name;
        ssize_t (*write)(int, const void*, size_t);
    } faults[] = {
        {"an error", FailingWrite},
        {"a short write", ShortWrite},
        {"a full disk after some bytes", FullDiskAfterSomeBytes},
        {"nothing written", NothingWritten},
    };
    for (const auto& fault : faults) {
        for (const bool earlier : {true, false}) {
            SCOPED_TRACE(std::string(fault.name) + (earlier ? ", with an earlier copy" : ""));
            std::error_code error;
            fs::remove_all(folder_, error);
            EnsureDocumentFolder();
            if (earlier)
                WriteFileContent(DocumentPath(row), "the earlier copy");
            Calls().write = fault.write;
            ExpectRefused(row, "Stream write error");
            EXPECT_EQ(FolderContents(folder_).size(), earlier ? 1u : 0u);
        }
    }
    // A later press with a working disk writes it in full.
    Calls().write = ::write;
    OpenDocument(row, kOwner);
    EXPECT_EQ(Content(DocumentPath(row)), Embedded(row));
}

// A real short write, from the kernel rather than a stand-in: the file size limit cuts the
// write off where a full disk would.
TEST_F(DocumentLibrary, AFileSizeLimitStopsTheWriteWithoutLoss) {
    const DocumentEntry& row = DocumentCatalogue[4];
    EnsureDocumentFolder();
    WriteFileContent(DocumentPath(row), "the earlier copy");

    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit limited = saved;
    limited.rlim_cur = 1000;
    const auto savedSignal = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    ExpectRefused(row, "Stream write error");
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedSignal);

    OpenDocument(row, kOwner);
    EXPECT_EQ(Content(DocumentPath(row)), Embedded(row));
}

TEST_F(DocumentLibrary, TwoRowsWriteTwoFilesThatLeaveEachOtherAlone) {
    OpenDocument(DocumentCatalogue[0], kOwner);
    WriteFileContent(DocumentPath(DocumentCatalogue[0]), "edited");
    OpenDocument(DocumentCatalogue[1], kOwner);
    EXPECT_EQ(Content(DocumentPath(DocumentCatalogue[0])), "edited");
    EXPECT_EQ(Content(DocumentPath(DocumentCatalogue[1])), Embedded(DocumentCatalogue[1]));
    EXPECT_EQ(FolderContents(folder_).size(), 2u);
}

// The code page against glibc's own table, which the program itself does not use.
class Iconv {
public:
    Iconv(const char* to, const char* from) : handle_(::iconv_open(to, from)) {}
    ~Iconv() {
        if (Valid())
            ::iconv_close(handle_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    bool Valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    // Nothing when the input has no conversion.
    std::optional<std::string> Convert(const std::string& input) {
        ::iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        std::string in = input;
        std::string out(input.size() * 4 + 4, '\0');
        char* inPointer = in.data();
        char* outPointer = out.data();
        std::size_t inLeft = in.size();
        std::size_t outLeft = out.size();
        if (::iconv(handle_, &inPointer, &inLeft, &outPointer, &outLeft) == static_cast<size_t>(-1))
            return std::nullopt;
        out.resize(out.size() - outLeft);
        return out;
    }

private:
    iconv_t handle_;
};

TEST(Cp1251ToUtf8, EveryUpperHalfByteMatchesTheSystemsCodePage) {
    Iconv toUtf8("UTF-8", "CP1251");
    Iconv toCp1251("CP1251", "UTF-8");
    ASSERT_TRUE(toUtf8.Valid() && toCp1251.Valid()) << "glibc has no CP1251 converter";
    for (unsigned byte = 0x80; byte <= 0xFF; ++byte) {
        SCOPED_TRACE("byte " + std::to_string(byte));
        const std::string input(1, static_cast<char>(byte));
        const std::string ours = documents::Cp1251ToUtf8(input);
        if (byte == 0x98) {
            EXPECT_FALSE(toUtf8.Convert(input)) << "0x98 has a character after all";
            EXPECT_EQ(ours, "\xEF\xBF\xBD");
            continue;
        }
        EXPECT_EQ(std::optional<std::string>(ours), toUtf8.Convert(input));
        EXPECT_EQ(toCp1251.Convert(ours), std::optional<std::string>(input));
    }
}

TEST(Cp1251ToUtf8, TextConvertsCharacterByCharacter) {
    const struct {
        std::string cp1251;
        std::string utf8;
    } cases[] = {
        {"", ""},
        {"plain ASCII 0-9 /.~", "plain ASCII 0-9 /.~"},
        {std::string("\x00\x7F", 2), std::string("\x00\x7F", 2)},
        {"\xC0\xE0\xDF\xFF", "АаЯя"},
        {"\xA8\xB8", "Ёё"},
        {"\xB9 533", "№ 533"},
        {"\x80\x88\x98\xA0", "Ђ€\uFFFD\u00A0"},
        {"\xCC\xD1\xD4\xCE 20.doc", "МСФО 20.doc"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(documents::Cp1251ToUtf8(c.cp1251), c.utf8) << c.utf8;
}

} // namespace
