#include "Harness.h"

#include "Pixels.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <map>

namespace e2e {

namespace {

std::wstring Widen(const std::string& utf8) {
    if (utf8.empty())
        return {};
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

// CMake hands over "Z:/…" paths; Korvel takes its title from the part after the last
// backslash, so it must see its own path in the Windows form.
std::wstring WindowsPath(const char* path) {
    std::wstring out = Widen(path);
    std::replace(out.begin(), out.end(), L'/', L'\\');
    return out;
}

} // namespace

std::wstring KorvelExe() {
    return WindowsPath(KORVEL_E2E_KORVEL);
}
std::wstring KorvelWithoutDoc3Exe() {
    return WindowsPath(KORVEL_E2E_WITHOUT_DOC3);
}
std::wstring KorvelWithoutDesignExe() {
    return WindowsPath(KORVEL_E2E_WITHOUT_DESIGN);
}
std::wstring RecorderExe() {
    return WindowsPath(KORVEL_E2E_RECORDER);
}
std::wstring DocumentsFolder() {
    return WindowsPath(KORVEL_E2E_DOCUMENTS);
}

const Document kDocuments[5] = {
    {1, L"МСФО 20", L"МСФО 20.doc", "\xCC\xD1\xD4\xCE 20.doc"},
    {2, L"МСФО 41", L"МСФО 41.doc", "\xCC\xD1\xD4\xCE 41.doc"},
    {3, L"Закон РК от 10 марта 2004 года № 533-II", L"Закон РК от 10 марта 2004 года № 533-II.doc",
     "\xC7\xE0\xEA\xEE\xED \xD0\xCA \xEE\xF2 10 \xEC\xE0\xF0\xF2\xE0 2004 \xE3\xEE\xE4\xE0 \xB9 "
     "533-II.doc"},
    // The caption is the short name; the file carries the document's full title.
    {4, L"МСБУ 41", L"Методические рекомендации по применению МСБУ 41.doc",
     "\xCC\xE5\xF2\xEE\xE4\xE8\xF7\xE5\xF1\xEA\xE8\xE5 \xF0\xE5\xEA\xEE\xEC\xE5\xED\xE4\xE0\xF6"
     "\xE8\xE8 \xEF\xEE \xEF\xF0\xE8\xEC\xE5\xED\xE5\xED\xE8\xFE \xCC\xD1\xC1\xD3 41.doc"},
    {5, L"Налоговая учетная политика", L"Налоговая учетная политика.doc",
     "\xCD\xE0\xEB\xEE\xE3\xEE\xE2\xE0\xFF \xF3\xF7\xE5\xF2\xED\xE0\xFF \xEF\xEE\xEB\xE8\xF2\xE8"
     "\xEA\xE0.doc"},
};

std::wstring PathOf(const Document& document) {
    return std::wstring(kFolder) + L"\\" + document.fileName;
}

const Bytes& Committed(int number) {
    static std::map<int, Bytes> cache;
    auto found = cache.find(number);
    if (found == cache.end()) {
        const std::wstring path = DocumentsFolder() + L"\\DOC" + std::to_wstring(number) + L".doc";
        found = cache.emplace(number, ReadBytes(path).value_or(Bytes{})).first;
    }
    return found->second;
}

// ---- Files -------------------------------------------------------------------------------

std::optional<Bytes> ReadBytes(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    Bytes bytes;
    unsigned char chunk[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, chunk, sizeof chunk, &got, nullptr)) && got > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    CloseHandle(file);
    if (!ok)
        return std::nullopt;
    return bytes;
}

bool WriteBytes(const std::wstring& path, const Bytes& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    return CloseHandle(file) && ok;
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsDirectory(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void RemoveAll(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        for (const std::wstring& name : NamesIn(path))
            RemoveAll(path + L"\\" + name);
        RemoveDirectoryW(path.c_str());
    } else {
        DeleteFileW(path.c_str());
    }
}

std::vector<std::wstring> NamesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (wcscmp(found.cFileName, L".") != 0 && wcscmp(found.cFileName, L"..") != 0)
            names.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> AnsiNamesIn(const std::wstring& folder) {
    std::vector<std::string> names;
    const std::string pattern = [&] {
        std::string ansi(folder.size() * 2 + 3, '\0');
        const int n = WideCharToMultiByte(CP_ACP, 0, folder.c_str(), -1, ansi.data(),
                                          static_cast<int>(ansi.size()), nullptr, nullptr);
        ansi.resize(n > 0 ? static_cast<std::size_t>(n - 1) : 0);
        return ansi + "\\*";
    }();
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (strcmp(found.cFileName, ".") != 0 && strcmp(found.cFileName, "..") != 0)
            names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

std::string Narrow(const std::wstring& text) {
    if (text.empty())
        return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

// ---- The shell's view of .doc files ------------------------------------------------------

namespace {

bool SetDefaultValue(HKEY root, const std::wstring& key, const std::wstring& value) {
    HKEY handle;
    if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const LSTATUS status =
        RegSetValueExW(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
    return status == ERROR_SUCCESS;
}

} // namespace

void RegisterRecorder() {
    const std::wstring progId = L"KorvelE2E.Document";
    const std::wstring command = L"\"" + RecorderExe() + L"\" \"%1\"";
    // Windows reads a user's own file types from HKCU first; Wine 8 builds
    // HKEY_CLASSES_ROOT from HKLM\Software\Classes alone, so the type goes into both.
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        SetDefaultValue(root, L"Software\\Classes\\.doc", progId);
        SetDefaultValue(root, L"Software\\Classes\\" + progId + L"\\shell\\open\\command", command);
    }
    // Korvel's environment is the recorder's: it learns from it what to compare with.
    SetEnvironmentVariableW(L"KORVEL_E2E_DOCUMENTS", DocumentsFolder().c_str());
    SetEnvironmentVariableW(L"KORVEL_E2E_RECORDER_LOG", kRecorderLog);
}

void RecorderLog::Clear() {
    DeleteFileW(kRecorderLog);
}

std::vector<ShellRequest> RecorderLog::Read() {
    std::vector<ShellRequest> requests;
    const std::optional<Bytes> bytes = ReadBytes(kRecorderLog);
    if (!bytes)
        return requests;
    const std::string text(bytes->begin(), bytes->end());
    std::size_t start = 0;
    // A line without its newline is still being written; it is read next time.
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = text.substr(start, end - start);
        std::vector<std::string> fields;
        std::size_t from = 0;
        for (int i = 0; i < 5; ++i) {
            const std::size_t tab = line.find('\t', from);
            if (tab == std::string::npos)
                break;
            fields.push_back(line.substr(from, tab - from));
            from = tab + 1;
        }
        ShellRequest request;
        if (fields.size() == 5) {
            request.ticks = std::stoll(fields[0]);
            request.argumentCount = std::stoi(fields[1]);
            request.size = std::stoll(fields[2]);
            request.exclusive = fields[3] == "1";
            request.match = fields[4];
            request.path = Widen(line.substr(from));
        } else {
            request.match = "unreadable log line: " + line;
        }
        requests.push_back(request);
    }
    return requests;
}

std::vector<ShellRequest> RecorderLog::WaitFor(std::size_t count, Duration timeout) {
    std::vector<ShellRequest> requests;
    WaitUntil([&] { return (requests = Read()).size() >= count; }, timeout);
    return requests;
}

// ---- Watching a folder -------------------------------------------------------------------

FolderWatch::FolderWatch(const std::wstring& folder) {
    folder_ = CreateFileW(
        folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
    event_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (folder_ != INVALID_HANDLE_VALUE && !Arm()) {
        CloseHandle(folder_);
        folder_ = INVALID_HANDLE_VALUE;
    }
}

FolderWatch::~FolderWatch() {
    if (folder_ != INVALID_HANDLE_VALUE) {
        CancelIo(folder_);
        DWORD ignored = 0;
        GetOverlappedResult(folder_, &overlapped_, &ignored, TRUE);
        CloseHandle(folder_);
    }
    CloseHandle(event_);
}

bool FolderWatch::Arm() {
    ResetEvent(event_);
    overlapped_ = {};
    overlapped_.hEvent = event_;
    return ReadDirectoryChangesW(folder_, buffer_.data(),
                                 static_cast<DWORD>(buffer_.size() * sizeof(DWORD)), FALSE,
                                 FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                                     FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE,
                                 nullptr, &overlapped_, nullptr) != FALSE;
}

std::vector<FolderChange> FolderWatch::Changes(Duration quiet) {
    while (Watching() &&
           WaitForSingleObject(event_, static_cast<DWORD>(quiet.count())) == WAIT_OBJECT_0) {
        DWORD size = 0;
        if (GetOverlappedResult(folder_, &overlapped_, &size, FALSE) && size > 0) {
            const auto* bytes = reinterpret_cast<const unsigned char*>(buffer_.data());
            for (DWORD offset = 0;;) {
                const auto* entry =
                    reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(bytes + offset);
                changes_.push_back(
                    {entry->Action,
                     std::wstring(entry->FileName, entry->FileNameLength / sizeof(wchar_t))});
                if (!entry->NextEntryOffset)
                    break;
                offset += entry->NextEntryOffset;
            }
        }
        if (!Arm())
            break;
    }
    return changes_;
}

// ---- Windows -----------------------------------------------------------------------------

std::wstring WindowText(HWND window) {
    // For another process's window this reads the stored text; it does not wait on it.
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(got, 0)));
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

namespace {

struct TopLevelSearch {
    DWORD processId;
    const wchar_t* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<TopLevelSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && ClassOf(window) == search->className)
        search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

// Icon handles cannot be read across processes under Wine, so the icon is compared as it
// is shown: the pixels on the screen against our own copy of the icon drawn on the same
// background.
bool ShowsIcon(HWND iconControl, HICON icon) {
    RECT rect;
    GetWindowRect(iconControl, &rect);
    const Pixels shown = CaptureScreen(rect);
    if (shown.data.empty() || !icon)
        return false;
    // An icon's corners are transparent.
    return shown == DrawIcon(icon, shown.width, shown.height, shown.At(0, 0));
}

ErrorBox Describe(HWND window) {
    ErrorBox box;
    box.window = window;
    box.owner = GetWindow(window, GW_OWNER);
    box.caption = WindowText(window);
    for (HWND child : Children(window)) {
        const std::wstring cls = ClassOf(child);
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        if (_wcsicmp(cls.c_str(), L"Static") == 0) {
            if ((style & SS_TYPEMASK) == SS_ICON) {
                // It may not be painted yet when the box has just appeared. The warning icon
                // must not match as well, or the comparison would tell nothing.
                HICON error = LoadIconW(nullptr, MAKEINTRESOURCEW(32513));   // IDI_ERROR
                HICON warning = LoadIconW(nullptr, MAKEINTRESOURCEW(32515)); // IDI_WARNING
                box.errorIcon =
                    WaitUntil([&] { return ShowsIcon(child, error); }, Duration(3000)) &&
                    !ShowsIcon(child, warning);
            } else if (!WindowText(child).empty()) {
                box.text = WindowText(child);
            }
        } else if (_wcsicmp(cls.c_str(), L"Button") == 0 && IsWindowVisible(child)) {
            box.buttons.push_back(GetDlgCtrlID(child));
            if (GetDlgCtrlID(child) == IDOK)
                box.okIsDefault = (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
        }
    }
    return box;
}

} // namespace

Program::Program(const std::wstring& exe, std::optional<WORD> show, const std::wstring& desktop)
    : desktop_(desktop) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    std::wstring desktopName = desktop;
    if (!desktop.empty())
        startup.lpDesktop = desktopName.data();
    if (show) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = *show;
    }
    PROCESS_INFORMATION info = {};
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        L"c:\\", &startup, &info))
        return;
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
    threadId_ = info.dwThreadId;
    WaitForInputIdle(process_, static_cast<DWORD>(kPatience.count()));
}

Program::~Program() {
    Kill();
    if (process_)
        CloseHandle(process_);
}

bool Program::Running() const {
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

void Program::Kill() {
    if (Running()) {
        TerminateProcess(process_, 0xDEAD);
        WaitForSingleObject(process_, 5000);
    }
}

std::vector<HWND> Program::TopLevels(const wchar_t* className) const {
    TopLevelSearch search{processId_, className, {}};
    if (desktop_.empty()) {
        EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    } else if (HDESK desktop = OpenDesktopW(desktop_.c_str(), 0, FALSE,
                                            DESKTOP_ENUMERATE | DESKTOP_READOBJECTS)) {
        EnumDesktopWindows(desktop, CollectTopLevel, reinterpret_cast<LPARAM>(&search));
        CloseDesktop(desktop);
    }
    return search.found;
}

HWND Program::FindTopLevel(const wchar_t* className) const {
    const std::vector<HWND> found = TopLevels(className);
    return found.empty() ? nullptr : found.front();
}

HWND Program::WaitForTopLevel(const wchar_t* className, Duration timeout) const {
    HWND window = nullptr;
    WaitUntil([&] { return (window = FindTopLevel(className)) != nullptr; }, timeout);
    return window;
}

HWND Program::MainWindow() const {
    HWND window = nullptr;
    WaitUntil([&] {
        window = FindTopLevel(L"TForm1");
        return window && IsWindowVisible(window);
    });
    return window;
}

HWND Program::Tabs() const {
    HWND main = MainWindow();
    return main ? FindWindowExW(main, nullptr, L"SysTabControl32", nullptr) : nullptr;
}

std::vector<HWND> Program::Buttons() const {
    std::vector<HWND> buttons;
    HWND sheet = FindWindowExW(Tabs(), nullptr, L"TTabSheet", nullptr);
    if (!sheet)
        return buttons;
    for (HWND child : Children(sheet))
        if (ClassOf(child) == L"Button")
            buttons.push_back(child);
    std::sort(buttons.begin(), buttons.end(), [](HWND a, HWND b) {
        RECT ra, rb;
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.top < rb.top;
    });
    return buttons;
}

std::optional<ErrorBox> Program::WaitForErrorBox(Duration timeout) const {
    HWND window = nullptr;
    WaitUntil(
        [&] {
            window = FindTopLevel(L"#32770");
            // Its text is filled in before it is shown.
            return window && IsWindowVisible(window);
        },
        timeout);
    if (!window)
        return std::nullopt;
    return Describe(window);
}

std::optional<DWORD> Program::WaitForExit(Duration timeout) const {
    if (!process_ ||
        WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
}

HWND Program::Active() const {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(threadId_, &info) ? info.hwndActive : nullptr;
}

HWND Program::Focus() const {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(threadId_, &info) ? info.hwndFocus : nullptr;
}

void PostClick(HWND button) {
    PostMessageW(button, BM_CLICK, 0, 0);
}

bool PressOk(const ErrorBox& box) {
    PostMessageW(box.window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return WaitUntil([&] { return !IsWindow(box.window); });
}

// ---- Real input --------------------------------------------------------------------------

bool BringToFront(HWND window) {
    SetForegroundWindow(window);
    return WaitUntil([&] { return GetForegroundWindow() == window; });
}

void PressKeys(const std::vector<WORD>& keys) {
    auto key = [](WORD vk, bool up) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
        switch (vk) {
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
            break;
        }
        if (up)
            input.ki.dwFlags |= KEYEVENTF_KEYUP;
        return input;
    };
    std::vector<INPUT> inputs;
    for (WORD vk : keys)
        inputs.push_back(key(vk, false));
    for (auto it = std::rbegin(keys); it != std::rend(keys); ++it)
        inputs.push_back(key(*it, true));
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

namespace {

// Every event carries the position: under Wine the pointer moves asynchronously, and a
// press without one lands wherever the pointer happens to be at that moment.
void MouseEvent(POINT screen, DWORD flags) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((screen.x * 65535LL + width / 2) / (width - 1));
    input.mi.dy = static_cast<LONG>((screen.y * 65535LL + height / 2) / (height - 1));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
    SendInput(1, &input, sizeof input);
}

bool PointerArrivedAt(POINT screen) {
    return WaitUntil([&] {
        POINT at;
        return GetCursorPos(&at) && at.x == screen.x && at.y == screen.y;
    });
}

} // namespace

bool ClickAt(POINT screen) {
    MouseEvent(screen, 0);
    if (!PointerArrivedAt(screen))
        return false;
    Sleep(50);
    MouseEvent(screen, MOUSEEVENTF_LEFTDOWN);
    Sleep(50);
    MouseEvent(screen, MOUSEEVENTF_LEFTUP);
    return PointerArrivedAt(screen);
}

bool DoubleClickAt(POINT screen) {
    MouseEvent(screen, 0);
    if (!PointerArrivedAt(screen))
        return false;
    Sleep(50);
    // Well within the double-click time, and without a move between the presses.
    for (int i = 0; i < 2; ++i) {
        MouseEvent(screen, MOUSEEVENTF_LEFTDOWN);
        Sleep(30);
        MouseEvent(screen, MOUSEEVENTF_LEFTUP);
        Sleep(30);
    }
    return PointerArrivedAt(screen);
}

bool DragFromTo(POINT from, POINT to) {
    MouseEvent(from, 0);
    if (!PointerArrivedAt(from))
        return false;
    Sleep(50);
    MouseEvent(from, MOUSEEVENTF_LEFTDOWN);
    Sleep(100);
    // A move loop follows the pointer as it goes; a jump straight to the end may be taken
    // for a press and release in one place.
    constexpr int kSteps = 8;
    for (int i = 1; i <= kSteps; ++i) {
        const POINT at = {from.x + (to.x - from.x) * i / kSteps,
                          from.y + (to.y - from.y) * i / kSteps};
        MouseEvent(at, 0);
        Sleep(30);
    }
    const bool arrived = PointerArrivedAt(to);
    Sleep(100);
    MouseEvent(to, MOUSEEVENTF_LEFTUP);
    Sleep(100);
    return arrived;
}

POINT CentreOf(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

std::wstring TabText(HWND tabs, int index) {
    // The item and its text buffer must live in the tab control's process.
    DWORD processId = 0;
    GetWindowThreadProcessId(tabs, &processId);
    HANDLE process =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (!process)
        return L"<no access>";
    constexpr int kChars = 256;
    auto* remote = static_cast<unsigned char*>(VirtualAllocEx(
        process, nullptr, sizeof(TCITEMW) + kChars * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE));
    std::wstring text = L"<unreadable>";
    if (remote) {
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof item);
        item.cchTextMax = kChars;
        DWORD_PTR ok = 0;
        if (WriteProcessMemory(process, remote, &item, sizeof item, nullptr) &&
            SendMessageTimeoutW(tabs, TCM_GETITEMW, static_cast<WPARAM>(index),
                                reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 5000, &ok) &&
            ok) {
            wchar_t buffer[kChars] = {};
            if (ReadProcessMemory(process, remote + sizeof item, buffer, sizeof buffer, nullptr)) {
                buffer[kChars - 1] = L'\0';
                text = buffer;
            }
        }
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return text;
}

bool SendWithBuffer(HWND window, UINT message, WPARAM wParam, void* data, std::size_t size,
                    LRESULT* result) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (!process)
        return false;
    bool ok = false;
    if (void* remote = VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {
        DWORD_PTR answer = 0;
        ok = WriteProcessMemory(process, remote, data, size, nullptr) &&
             SendMessageTimeoutW(window, message, wParam, reinterpret_cast<LPARAM>(remote),
                                 SMTO_ABORTIFHUNG, 5000, &answer) &&
             ReadProcessMemory(process, remote, data, size, nullptr);
        if (result)
            *result = static_cast<LRESULT>(answer);
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return ok;
}

} // namespace e2e
