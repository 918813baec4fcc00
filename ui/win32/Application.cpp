#include "Application.h"

#include "Form.h"
#include "Native.h"
#include "Rules.h"

#include <vector>

namespace {

constexpr char kApplicationClass[] = "TApplication";

std::string LowerAnsi(std::string text) {
    CharLowerA(text.data());
    return text;
}

// The module's path is already in the ANSI code page: converting it as if it were OEM text,
// as the older rule did, garbles every Cyrillic letter of the name.
std::string TitleFromModule() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2); // cut short: a longer path than the buffer
    }
    return ui::ApplicationTitle(path, LowerAnsi);
}

LRESULT CALLBACK ApplicationWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    bool handled = false;
    ui::Guarded([&] {
        TForm* main = Application ? Application->MainForm() : nullptr;
        switch (message) {
        case WM_CLOSE: // Close on the taskbar button
            if (main)
                main->Close();
            handled = true;
            break;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_RESTORE && IsIconic(hwnd)) {
                Application->Restore();
                handled = true;
            } else if ((wParam & 0xFFF0) == SC_MINIMIZE) {
                Application->Minimize();
                handled = true;
            }
            break;
        case WM_ACTIVATE:
            // Activating the taskbar button's window activates the main window.
            if (LOWORD(wParam) != WA_INACTIVE && main && !IsIconic(hwnd) &&
                IsWindowVisible(static_cast<HWND>(main->Handle())) &&
                IsWindowEnabled(static_cast<HWND>(main->Handle()))) {
                SetActiveWindow(static_cast<HWND>(main->Handle()));
                handled = true;
            }
            break;
        }
    });
    return handled ? 0 : DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND CreateApplicationWindow(const std::string& title) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ApplicationWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, "MAINICON");
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kApplicationClass;
    RegisterClassA(&wc);
    // Zero size, centred: it is never seen itself, only as the taskbar button.
    return CreateWindowExA(0, kApplicationClass, title.c_str(),
                           WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                           GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0,
                           0, nullptr, nullptr, instance, nullptr);
}

// While an error box is shown, the program's other windows take no input; afterwards they
// are enabled again and the window that was active is activated again.
class TaskWindowsDisabled {
public:
    TaskWindowsDisabled() : active_(GetActiveWindow()) {
        EnumThreadWindows(GetCurrentThreadId(), &Collect, reinterpret_cast<LPARAM>(&windows_));
        for (HWND w : windows_)
            EnableWindow(w, FALSE);
    }
    ~TaskWindowsDisabled() {
        for (HWND w : windows_)
            if (IsWindow(w))
                EnableWindow(w, TRUE);
        if (active_ && IsWindow(active_))
            SetActiveWindow(active_);
    }
    TaskWindowsDisabled(const TaskWindowsDisabled&) = delete;
    TaskWindowsDisabled& operator=(const TaskWindowsDisabled&) = delete;

private:
    static BOOL CALLBACK Collect(HWND hwnd, LPARAM list) {
        if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd))
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
        return TRUE;
    }
    HWND active_;
    std::vector<HWND> windows_;
};

HWND g_window = nullptr;

} // namespace

namespace ui::win32 {
MessageBoxFunction& MessageBoxCall() {
    static MessageBoxFunction call = &MessageBoxA;
    return call;
}
} // namespace ui::win32

// Created before the program's entry point runs, with its window and title.
static TApplication g_application;
TApplication* Application = &g_application;

TApplication::TApplication() : TComponent(nullptr) {
    g_window = CreateApplicationWindow(TitleFromModule());
}

TApplication::~TApplication() {
    Shutdown();
    if (g_window)
        DestroyWindow(g_window);
    g_window = nullptr;
}

void TApplication::Shutdown() {
    DestroyComponents();
    mainForm_ = nullptr;
}

void* TApplication::Handle() const {
    return g_window;
}

void TApplication::Initialize() {}

void TApplication::Run() {
    if (!mainForm_)
        return;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    const int show =
        (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
    if (show == SW_SHOWMAXIMIZED)
        mainForm_->WindowState = TWindowState::Maximized;
    else if (show == SW_SHOWMINNOACTIVE)
        mainForm_->WindowState = TWindowState::Minimized;

    if (mainForm_->WindowState == TWindowState::Minimized) {
        Minimize();
    } else {
        ShowWindow(g_window, SW_SHOWNOACTIVATE);
        mainForm_->Show();
    }

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ui::Guarded([&] {
            if (!mainForm_->HandleDialogKey(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        });
    }
}

void TApplication::Terminate() {
    PostQuitMessage(0);
}

void TApplication::Minimize() {
    ShowOwnedPopups(g_window, FALSE);
    if (!IsWindowVisible(g_window))
        ShowWindow(g_window, SW_SHOWMINNOACTIVE);
    else
        ShowWindow(g_window, SW_MINIMIZE);
}

void TApplication::Restore() {
    ShowWindow(g_window, SW_RESTORE);
    ShowOwnedPopups(g_window, TRUE);
    if (mainForm_) {
        HWND main = static_cast<HWND>(mainForm_->Handle());
        if (mainForm_->WindowState == TWindowState::Minimized)
            mainForm_->WindowState = TWindowState::Normal;
        if (!IsWindowVisible(main))
            mainForm_->Show();
        SetActiveWindow(main);
    }
}

std::string TApplication::Title() const {
    char title[256] = {};
    GetWindowTextA(g_window, title, sizeof title);
    return title;
}

void TApplication::CancelMouseCapture() {
    if (HWND capture = GetCapture())
        SendMessageA(capture, WM_CANCELMODE, 0, 0);
}

// The report for what is not an Exception: a box of its own, owned by no window.
void TApplication::ShowGenericReport(const std::string& text) {
    ui::win32::MessageBoxCall()(nullptr, text.c_str(), "Application Error",
                                MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

void TApplication::ShowException(const Exception& e) {
    const std::string text = ui::WithFullStop(e.Message());
    const std::string title = Title();
    TaskWindowsDisabled disabled;
    ui::win32::MessageBoxCall()(g_window, text.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
}
