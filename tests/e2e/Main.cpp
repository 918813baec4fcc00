// The end-to-end tests run inside a Wine virtual desktop of their own.
//
// Under Xvfb there is no window manager, and Wine leaves a top-level window's caption and
// frame to the window manager: nothing draws them, and a click where the close box should
// be reaches no window. On a Wine virtual desktop Wine draws the frames itself, so the close
// box is there to click, as on Windows. A desktop becomes virtual when it is created under
// a name that has a size in HKCU\Software\Wine\Explorer\Desktops; the desktop a process
// started on is fixed at its start, so this program writes that value and starts itself
// again on the named desktop. Korvel, started from there, inherits the desktop.

#include "Harness.h"
#include "Layout.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr wchar_t kDesktop[] = L"KorvelE2E";
constexpr wchar_t kDesktopSize[] = L"1280x1024";

bool OnTestDesktop() {
    wchar_t name[256] = {};
    DWORD needed = 0;
    GetUserObjectInformationW(GetThreadDesktop(GetCurrentThreadId()), UOI_NAME, name, sizeof name,
                              &needed);
    return std::wstring(name) == kDesktop;
}

int RunAgainOnTestDesktop() {
    HKEY desktops;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Explorer\\Desktops", 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &desktops, nullptr) != ERROR_SUCCESS)
        return 2;
    RegSetValueExW(desktops, kDesktop, 0, REG_SZ, reinterpret_cast<const BYTE*>(kDesktopSize),
                   sizeof kDesktopSize);
    RegCloseKey(desktops);

    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring desktop = kDesktop;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.lpDesktop = desktop.data();
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::wstring commandLine = GetCommandLineW();
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(self, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &info)) {
        fwprintf(stderr, L"cannot start the tests on the desktop %ls (error %lu)\n", kDesktop,
                 GetLastError());
        return 2;
    }
    CloseHandle(info.hThread);
    // Every wait inside has its own limit; this one only guards against the unforeseen.
    if (WaitForSingleObject(info.hProcess, 15 * 60 * 1000) != WAIT_OBJECT_0) {
        fwprintf(stderr, L"the tests did not finish in 15 minutes\n");
        TerminateProcess(info.hProcess, 3);
        return 3;
    }
    DWORD code = 1;
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hProcess);
    return static_cast<int>(code);
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], e2e::kMeasureFormText) == 0)
        return e2e::MeasureFormText();
    if (!OnTestDesktop())
        return RunAgainOnTestDesktop();
    testing::InitGoogleTest(&argc, argv);
    e2e::RegisterRecorder();
    return RUN_ALL_TESTS();
}
