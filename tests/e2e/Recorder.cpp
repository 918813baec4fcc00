// Stands in for the word processor: the test prefix makes it the program that opens .doc
// files, so whatever Korvel asks the shell to open arrives here exactly as a user's
// word processor would receive it. It writes one line per start to the log named by
// KORVEL_E2E_RECORDER_LOG:
//   ticks <TAB> argument count <TAB> size <TAB> exclusive <TAB> match <TAB> argument
// ticks: QueryPerformanceCounter as it started; exclusive: 1 when it could open the file
// with no sharing at all, so nobody still held it; match: DOCn when the bytes equal that
// committed document in the folder named by KORVEL_E2E_DOCUMENTS, else "none".

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

bool ReadAll(HANDLE file, Bytes& bytes) {
    unsigned char chunk[65536];
    DWORD got = 0;
    bool ok;
    while ((ok = ReadFile(file, chunk, sizeof chunk, &got, nullptr)) && got > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    return ok;
}

bool ReadPath(const std::wstring& path, DWORD share, Bytes& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool ok = ReadAll(file, bytes);
    CloseHandle(file);
    return ok;
}

std::wstring Environment(const wchar_t* name) {
    wchar_t value[MAX_PATH * 2] = {};
    const DWORD n = GetEnvironmentVariableW(name, value, MAX_PATH * 2);
    return n > 0 && n < MAX_PATH * 2 ? value : L"";
}

std::string Utf8(const std::wstring& text) {
    if (text.empty())
        return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

// Appends the line in one write, so that two recorders started together do not mix lines.
void Append(const std::wstring& log, const std::string& line) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        HANDLE file = CreateFileW(log.c_str(), FILE_APPEND_DATA,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
            CloseHandle(file);
            return;
        }
        Sleep(20);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    LARGE_INTEGER started;
    QueryPerformanceCounter(&started);

    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const std::wstring path = argv && argc >= 2 ? argv[1] : L"";

    // Whoever wrote the file must have closed it before asking for it to be opened.
    Bytes bytes;
    const bool exclusive = ReadPath(path, 0, bytes);
    if (!exclusive) {
        bytes.clear();
        ReadPath(path, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, bytes);
    }
    const bool readable =
        exclusive || !bytes.empty() || GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;

    std::string match = "none";
    const std::wstring documents = Environment(L"KORVEL_E2E_DOCUMENTS");
    for (int n = 1; n <= 5 && readable && !documents.empty(); ++n) {
        Bytes committed;
        if (ReadPath(documents + L"\\DOC" + std::to_wstring(n) + L".doc", FILE_SHARE_READ,
                     committed) &&
            committed == bytes) {
            match = "DOC" + std::to_string(n);
            break;
        }
    }

    const std::string line =
        std::to_string(started.QuadPart) + "\t" + std::to_string(argc - 1) + "\t" +
        std::to_string(readable ? static_cast<long long>(bytes.size()) : -1LL) + "\t" +
        (exclusive ? "1" : "0") + "\t" + match + "\t" + Utf8(path) + "\n";
    std::wstring log = Environment(L"KORVEL_E2E_RECORDER_LOG");
    if (log.empty())
        log = L"c:\\recorder.log";
    Append(log, line);
    return 0;
}
