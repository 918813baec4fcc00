#pragma once
// Driving Korvel.exe from outside, as a user and the desktop would: starting it, finding
// its windows, pressing its buttons, reading its error boxes, and watching what the shell
// was asked to open. Nothing here waits without a time limit.

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

using Bytes = std::vector<unsigned char>;
using Duration = std::chrono::milliseconds;

// A window of the program normally appears or changes well within this under Wine.
constexpr Duration kPatience{10000};
// How long a shell request that should not have happened is given to show up anyway.
constexpr Duration kSettle{1500};

// Where the build put the programs under test, as paths inside Wine.
std::wstring KorvelExe();
std::wstring KorvelWithoutDoc3Exe();
std::wstring KorvelWithoutDesignExe();
std::wstring RecorderExe();
std::wstring DocumentsFolder(); // the committed DOCn.doc files

constexpr wchar_t kFolder[] = L"c:\\Korvel";
constexpr wchar_t kRecorderLog[] = L"c:\\recorder.log";

struct Document {
    int number;             // 1…5: the button and the resource DOCn
    const wchar_t* caption; // the button's caption
    const wchar_t* fileName;
    const char* ansiFileName; // the same name as code page 1251 bytes
};
extern const Document kDocuments[5];
std::wstring PathOf(const Document& document);
const Bytes& Committed(int number); // resources/documents/DOCn.doc

// Files.
std::optional<Bytes> ReadBytes(const std::wstring& path);
bool WriteBytes(const std::wstring& path, const Bytes& bytes);
bool Exists(const std::wstring& path);
bool IsDirectory(const std::wstring& path);
// Removes a file or a folder with everything in it, read-only or not.
void RemoveAll(const std::wstring& path);
// The names in a folder, without "." and "..": as Unicode, and as the ANSI calls see them.
std::vector<std::wstring> NamesIn(const std::wstring& folder);
std::vector<std::string> AnsiNamesIn(const std::wstring& folder);
std::string Narrow(const std::wstring& text); // UTF-8, for messages

// Polls `condition` until it holds or `timeout` has passed; true when it held.
template <class Condition> bool WaitUntil(Condition condition, Duration timeout = kPatience) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() >= end)
            return false;
        Sleep(20);
    }
}

// The recorder becomes the program that opens .doc files, and learns where the committed
// documents are. Call before starting Korvel.
void RegisterRecorder();

// One start of the recorder: what the shell asked it to open and what it found there.
struct ShellRequest {
    long long ticks = 0;    // QueryPerformanceCounter as the recorder started
    int argumentCount = 0;  // arguments after the program name
    long long size = -1;    // of the file, -1 when it could not be read
    bool exclusive = false; // it could open the file with no sharing: nobody held it
    std::string match;      // "DOCn" when the bytes equal that committed document, else "none"
    std::wstring path;      // the argument
};

class RecorderLog {
public:
    static void Clear();
    static std::vector<ShellRequest> Read();
    // Waits until the log holds at least `count` requests; returns what it holds.
    static std::vector<ShellRequest> WaitFor(std::size_t count, Duration timeout = kPatience);
};

// What happened to a folder's entries while it was watched, in order, as the system
// reports it (FILE_ACTION_ADDED, _REMOVED, _MODIFIED, _RENAMED_OLD_NAME, _RENAMED_NEW_NAME).
struct FolderChange {
    DWORD action;
    std::wstring name;
};

class FolderWatch {
public:
    explicit FolderWatch(const std::wstring& folder);
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    bool Watching() const { return folder_ != INVALID_HANDLE_VALUE; }
    // Everything reported so far, and whatever comes within `quiet` of the last report.
    std::vector<FolderChange> Changes(Duration quiet);

private:
    bool Arm();
    HANDLE folder_ = INVALID_HANDLE_VALUE;
    HANDLE event_ = nullptr;
    OVERLAPPED overlapped_ = {};
    std::vector<DWORD> buffer_ = std::vector<DWORD>(16384);
    std::vector<FolderChange> changes_;
};

struct ErrorBox {
    HWND window = nullptr;
    HWND owner = nullptr;
    std::wstring caption;
    std::wstring text;
    std::vector<int> buttons; // the push buttons' identifiers (their captions are localised)
    bool okIsDefault = false;
    bool errorIcon = false; // its icon is the system's error icon
};

// One started Korvel process; it is killed if it is still running when this goes.
class Program {
public:
    // `show` is the start show command, as a shortcut or another program would pass it.
    // `desktop` names another desktop of the window station to start it on; its windows
    // are then looked for there, since EnumWindows sees the caller's desktop only. Wine's
    // IsWindowVisible is false for every window of another desktop, so MainWindow() and
    // what uses it wait in vain there.
    explicit Program(const std::wstring& exe, std::optional<WORD> show = std::nullopt,
                     const std::wstring& desktop = {});
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool Started() const { return process_ != nullptr; }
    DWORD Id() const { return processId_; }
    DWORD ThreadId() const { return threadId_; }
    bool Running() const;

    // The top-level window of this process with that class, or null; with a wait.
    HWND FindTopLevel(const wchar_t* className) const;
    HWND WaitForTopLevel(const wchar_t* className, Duration timeout = kPatience) const;
    std::vector<HWND> TopLevels(const wchar_t* className) const;

    HWND Application() const { return WaitForTopLevel(L"TApplication"); }
    // Waits for the main window to be shown.
    HWND MainWindow() const;
    HWND Tabs() const;
    // The five buttons, top to bottom.
    std::vector<HWND> Buttons() const;

    std::optional<ErrorBox> WaitForErrorBox(Duration timeout = kPatience) const;
    std::optional<DWORD> WaitForExit(Duration timeout = kPatience) const;
    void Kill();

    // The active and the focused window of the program's user-interface thread.
    HWND Active() const;
    HWND Focus() const;

private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    DWORD threadId_ = 0;
    std::wstring desktop_;
};

// Presses a button by message, as an accessibility tool would; returns at once.
void PostClick(HWND button);
// Presses OK on a message box and waits for it to go.
bool PressOk(const ErrorBox& box);

// Real input, as from the keyboard and the mouse.
bool BringToFront(HWND window);
// Presses the keys in order and releases them in reverse: {VK_MENU, VK_F4} is Alt+F4.
void PressKeys(const std::vector<WORD>& keys);
bool ClickAt(POINT screen);
bool DoubleClickAt(POINT screen);
// Presses the left button at `from`, moves to `to` in steps, and releases it there.
bool DragFromTo(POINT from, POINT to);
POINT CentreOf(HWND window);

std::wstring WindowText(HWND window);
std::wstring ClassOf(HWND window);
// The text of a tab of a tab control in another process.
std::wstring TabText(HWND tabs, int index);

// Sends a message whose lParam points to `size` bytes at `data`: a copy of them is made in
// the window's process, which is where a pointer of a control's own message must point,
// and is read back into `data` afterwards. False when the message could not be delivered.
bool SendWithBuffer(HWND window, UINT message, WPARAM wParam, void* data, std::size_t size,
                    LRESULT* result = nullptr);

} // namespace e2e
