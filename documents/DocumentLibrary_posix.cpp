#include "DocumentLibrary.h"

#include "Cp1251.h"
#include "DocumentLibrary_posix.h"
#include "Exception.h"
#include "ResourceStream.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>

namespace documents::posix {
SystemCalls& Calls() {
    static SystemCalls calls;
    return calls;
}
} // namespace documents::posix

namespace {

constexpr char kFolderName[] = "Korvel";

// Without its trailing slashes, so that the paths shown in error messages read cleanly.
std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// Read afresh on every call: the user's home can be set differently for each run, and the
// tests give every case a home of its own.
std::optional<std::string> HomeDirectory() {
    if (const char* home = std::getenv("HOME"); home && *home)
        return WithoutTrailingSlashes(home);
    const long bufferSize = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(bufferSize > 0 ? static_cast<std::size_t>(bufferSize) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    while (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == ERANGE &&
           buffer.size() < (1u << 20))
        buffer.resize(buffer.size() * 2);
    if (found && found->pw_dir && *found->pw_dir)
        return WithoutTrailingSlashes(found->pw_dir);
    return std::nullopt;
}

// With no home at all there is no folder to write to: the path is then only something to
// show in the error, and "~" keeps any call from landing in the working directory or "/".
struct DocumentFolder {
    std::string path;
    bool known;
};

DocumentFolder Folder() {
    if (const auto home = HomeDirectory())
        return {(*home == "/" ? "" : *home) + "/" + kFolderName, true};
    return {std::string("~/") + kFolderName, false};
}

// A name that would leave the folder, or name the folder itself, is never written.
bool IsPlainFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    ~FileDescriptor() { Close(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    bool Valid() const { return fd_ >= 0; }
    int Get() const { return fd_; }
    void Reset(int fd) {
        Close();
        fd_ = fd;
    }
    // After a failed close the descriptor is gone all the same; retrying could close a
    // descriptor that another thread has been given since.
    bool Close() {
        if (!Valid())
            return true;
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

std::uint64_t RandomBits() {
    std::uint64_t bits = 0;
    if (getrandom(&bits, sizeof bits, GRND_NONBLOCK) == static_cast<ssize_t>(sizeof bits))
        return bits;
    // Without the kernel's generator, names only need to differ between tries and processes.
    static std::uint64_t counter = 0;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    bits = (static_cast<std::uint64_t>(getpid()) << 40) ^ (++counter << 20) ^
           static_cast<std::uint64_t>(now.tv_nsec) ^ static_cast<std::uint64_t>(now.tv_sec);
    return bits * 0x9E3779B97F4A7C15ull;
}

// A new hidden file beside the document, removed again unless it has replaced the document.
// mkstemp is not used because it makes the file 0600: the document is to get the same
// permissions as any file the user creates, which only open's mode and the umask give.
class TemporaryFile {
public:
    TemporaryFile(const std::string& folder, const std::string& documentPath) {
        constexpr char kLetters[] =
            "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
        constexpr int kTries = 100;
        for (int attempt = 0; attempt < kTries; ++attempt) {
            std::uint64_t bits = RandomBits();
            std::string name = folder + "/." + kFolderName + "-";
            for (int i = 0; i < 6; ++i, bits /= sizeof kLetters - 1)
                name += kLetters[bits % (sizeof kLetters - 1)];
            const int fd =
                ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
            if (fd >= 0) {
                file_.Reset(fd);
                path_ = std::move(name);
                return;
            }
            if (errno != EEXIST)
                break;
        }
        throw EFCreateError(documentPath);
    }
    ~TemporaryFile() {
        file_.Close();
        if (!path_.empty())
            ::unlink(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::string& Path() const { return path_; }
    FileDescriptor& File() { return file_; }
    void Release() { path_.clear(); }

private:
    FileDescriptor file_;
    std::string path_;
};

// Whether anyone else holds an advisory lock on the file, of either kind Linux keeps apart:
// record locks (fcntl, as office suites take them) and whole-file locks (flock).
bool HeldByAnother(int fd) {
    struct flock query {};
    query.l_type = F_WRLCK;
    query.l_whence = SEEK_SET;
    query.l_start = 0;
    query.l_len = 0;
    // An open-file-description query also sees locks that this process's other descriptors
    // hold; the older F_GETLK is the fallback for kernels without it.
    if (fcntl(fd, F_OFD_GETLK, &query) != 0) {
        query = {};
        query.l_type = F_WRLCK;
        query.l_whence = SEEK_SET;
        if (fcntl(fd, F_GETLK, &query) != 0)
            return true;
    }
    if (query.l_type != F_UNLCK)
        return true;
    // Taking the lock for a moment is the only way to ask; closing the descriptor frees it.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0)
        return errno == EWOULDBLOCK;
    flock(fd, LOCK_UN);
    return false;
}

// The existing copy must be one we may replace: a regular file (a symbolic link is left to
// whoever made it), writable, and not locked by another program. The write bits are read
// by hand because for root access() calls every file writable.
void CheckReplaceable(const std::string& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) {
        if (errno == ENOENT)
            return;
        throw EFCreateError(path);
    }
    if (!S_ISREG(status.st_mode) || !(status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) ||
        ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
        throw EFCreateError(path);
    // Opened without truncating, only to ask about locks; write-only for a file we may
    // write but not read.
    constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    FileDescriptor existing(::open(path.c_str(), O_RDONLY | kFlags));
    if (!existing.Valid())
        existing.Reset(::open(path.c_str(), O_WRONLY | kFlags));
    if (!existing.Valid() || HeldByAnother(existing.Get()))
        throw EFCreateError(path);
}

// The rename is made durable by syncing the folder. It is done once the document is in
// place, so a failure here cannot be undone or usefully reported, and some file systems
// refuse fsync on a folder at all.
void SyncFolder(const std::string& folder) {
    FileDescriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.Valid())
        ::fsync(directory.Get());
}

// Writes the bytes beside the document and puts them in its place in one step, so that a
// failed or short write never costs the earlier copy and the desktop never sees half a file.
void ReplaceDocument(const std::string& folder, const std::string& path, const void* bytes,
                     std::size_t size) {
    CheckReplaceable(path);
    TemporaryFile temporary(folder, path);

    const ssize_t written = documents::posix::Calls().write(temporary.File().Get(), bytes, size);
    if (written < 0 || static_cast<std::size_t>(written) != size ||
        ::fsync(temporary.File().Get()) != 0 || !temporary.File().Close())
        throw EWriteError();

    if (::rename(temporary.Path().c_str(), path.c_str()) != 0)
        throw EFCreateError(path);
    temporary.Release();
    SyncFolder(folder);
}

} // namespace

std::string DocumentPath(const DocumentEntry& entry) {
    return Folder().path + "/" + documents::Cp1251ToUtf8(entry.FileName);
}

void EnsureDocumentFolder() {
    if (const DocumentFolder folder = Folder(); folder.known)
        ::mkdir(folder.path.c_str(), 0777);
}

void OpenDocument(const DocumentEntry& entry, TWinControl* owner) {
    EnsureDocumentFolder();
    const TResourceStream document(entry.ResourceName, ResourceType::File);
    const DocumentFolder folder = Folder();
    const std::string path = DocumentPath(entry);
    if (!folder.known || !IsPlainFileName(entry.FileName))
        throw EFCreateError(path);
    ReplaceDocument(folder.path, path, document.Memory(), document.Size());
    documents::posix::Calls().openWithDesktop(owner, path);
}
