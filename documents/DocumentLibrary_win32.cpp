#include "DocumentLibrary.h"

#include "DocumentLibrary_win32.h"
#include "Exception.h"
#include "ResourceStream.h"
#include "Controls.h"

namespace documents::win32 {
SystemCalls& Calls() {
    static SystemCalls calls;
    return calls;
}
} // namespace documents::win32

namespace {

constexpr char kDocumentFolder[] = "c:\\Korvel";

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    bool Close() {
        const bool closed = !Valid() || CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

// A new file beside the document, removed again unless it has replaced the document.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& documentPath) {
        char name[MAX_PATH];
        if (GetTempFileNameA(kDocumentFolder, "kvl", 0, name))
            path_ = name;
        else
            throw EFCreateError(documentPath);
    }
    ~TemporaryFile() {
        if (!path_.empty())
            DeleteFileA(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::string& Path() const { return path_; }
    void Release() { path_.clear(); }

private:
    std::string path_;
};

// The existing copy must be one we may replace: not read-only, and not held open by
// another program. The attribute is checked by hand because Wine, run as root, renames
// over a read-only file where Windows refuses.
void CheckReplaceable(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        if (GetLastError() == ERROR_FILE_NOT_FOUND)
            return;
        throw EFCreateError(path);
    }
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))
        throw EFCreateError(path);
    // Opening it as the old code did, without truncating, tells whether someone holds it.
    FileHandle existing(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!existing.Valid())
        throw EFCreateError(path);
}

// Writes the bytes beside the document and puts them in its place in one step, so that a
// failed or short write never costs the earlier copy.
void ReplaceDocument(const std::string& path, const void* bytes, std::size_t size) {
    CheckReplaceable(path);
    TemporaryFile temporary(path);
    FileHandle file(CreateFileA(temporary.Path().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        throw EFCreateError(path);

    DWORD written = 0;
    const BOOL ok = documents::win32::Calls().writeFile(file.Get(), bytes, static_cast<DWORD>(size),
                                                        &written, nullptr);
    if (!ok || written != size || !FlushFileBuffers(file.Get()) || !file.Close())
        throw EWriteError();

    if (!MoveFileExA(temporary.Path().c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        throw EFCreateError(path);
    temporary.Release();
}

} // namespace

std::string DocumentPath(const DocumentEntry& entry) {
    return std::string(kDocumentFolder) + "\\" + entry.FileName;
}

void EnsureDocumentFolder() {
    CreateDirectoryA(kDocumentFolder, nullptr);
}

void OpenDocument(const DocumentEntry& entry, TWinControl* owner) {
    EnsureDocumentFolder();
    const TResourceStream document(entry.ResourceName, ResourceType::File);
    const std::string path = DocumentPath(entry);
    ReplaceDocument(path, document.Memory(), document.Size());
    documents::win32::Calls().shellExecute(static_cast<HWND>(owner->Handle()), nullptr,
                                           path.c_str(), nullptr, nullptr, SW_RESTORE);
}
