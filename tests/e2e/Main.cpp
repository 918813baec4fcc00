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

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>

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

// A case that hangs would hold the run until CTest kills it, with no word of which case it
// was. Every wait in a case has its own limit, so a case this slow is stuck.
class Watchdog : public testing::EmptyTestEventListener {
public:
    Watchdog() : thread_([this] { Watch(); }) {}
    ~Watchdog() override {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }

private:
    static constexpr std::chrono::minutes kLimit{3};

    void OnTestStart(const testing::TestInfo& info) override {
        Set(std::string(info.test_suite_name()) + "." + info.name());
    }
    void OnTestEnd(const testing::TestInfo&) override { Set({}); }

    void Set(std::string name) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            running_ = std::move(name);
            ++started_;
        }
        changed_.notify_all();
    }

    void Watch() {
        std::unique_lock<std::mutex> lock(mutex_);
        while (!stopping_) {
            const unsigned long long started = started_;
            const bool moved =
                changed_.wait_for(lock, kLimit, [&] { return stopping_ || started_ != started; });
            if (!moved && !running_.empty()) {
                std::fprintf(stderr, "%s has run for %d minutes and is stuck; the run stops\n",
                             running_.c_str(), static_cast<int>(kLimit.count()));
                std::fflush(stderr);
                std::fflush(stdout);
                TerminateProcess(GetCurrentProcess(), 3);
            }
        }
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::string running_;
    unsigned long long started_ = 0;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], e2e::kMeasureFormText) == 0)
        return e2e::MeasureFormText();
    if (!OnTestDesktop())
        return RunAgainOnTestDesktop();
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new Watchdog);
    e2e::RegisterRecorder();
    return RUN_ALL_TESTS();
}
