// How long a click on one of Korvel's buttons takes to reach the desktop, set against
// the bare file work it stands on, and how big the executable is against what it carries.
//
// Run it (it is not a test, and ctest leaves it out) from the repository's root:
//     tests/e2e/run-benchmark.sh [RUNS]
// which builds both Windows presets and runs this program under wine64 on Xvfb, in a Wine
// prefix of its own. By hand, inside Wine:
//     korvel_e2e_benchmark.exe [RUNS] [LABEL=PATH-TO-AN-EXECUTABLE ...]
//
// Per document, RUNS times (20 unless given):
//   click → shell request: from sending BM_CLICK to the start of the program the shell ran
//       for the document (the recorder notes QueryPerformanceCounter first thing);
//   click handled: from sending BM_CLICK until the button's handler has returned, i.e.
//       the document is written and the shell has started its program;
//   bare write + move: CreateFile, WriteFile, CloseHandle and MoveFileEx of the same bytes
//       into the same folder, in this process;
//   … + flush: the same with FlushFileBuffers and MOVEFILE_WRITE_THROUGH, as Korvel does it;
//   … + shell → request: that, then ShellExecute of the document from this process, until
//       the start of the program the shell ran: what is left of the first column when
//       Korvel and its window are taken away.
// Times are medians in milliseconds, with the fastest and slowest run.

#include "Harness.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace e2e;

namespace {

double Frequency() {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
}

long long Now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

struct Spread {
    double median = 0, fastest = 0, slowest = 0;
};

Spread Summarise(std::vector<double> ms) {
    if (ms.empty())
        return {};
    std::sort(ms.begin(), ms.end());
    const std::size_t n = ms.size();
    const double median = n % 2 ? ms[n / 2] : (ms[n / 2 - 1] + ms[n / 2]) / 2;
    return {median, ms.front(), ms.back()};
}

std::string Cell(const Spread& s) {
    char text[64];
    snprintf(text, sizeof text, "%7.1f (%5.1f-%6.1f)", s.median, s.fastest, s.slowest);
    return text;
}

bool WriteAndMove(const std::wstring& target, const Bytes& bytes, bool flush) {
    const std::wstring temporary = std::wstring(kFolder) + L"\\bench.tmp";
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size();
    if (flush)
        ok = FlushFileBuffers(file) && ok;
    ok = CloseHandle(file) && ok;
    const DWORD how = MOVEFILE_REPLACE_EXISTING | (flush ? MOVEFILE_WRITE_THROUGH : 0);
    return MoveFileExW(temporary.c_str(), target.c_str(), how) && ok;
}

long long FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::wstring Widen(const char* text) {
    std::wstring out;
    const int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    out.resize(static_cast<std::size_t>(n > 0 ? n - 1 : 0));
    MultiByteToWideChar(CP_UTF8, 0, text, -1, out.data(), n);
    std::replace(out.begin(), out.end(), L'/', L'\\');
    return out;
}

} // namespace

int main(int argc, char** argv) {
    int runs = 20;
    std::vector<std::pair<std::string, std::wstring>> executables;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (const auto eq = arg.find('='); eq != std::string::npos)
            executables.emplace_back(arg.substr(0, eq), Widen(argv[i] + eq + 1));
        else
            runs = std::max(1, std::atoi(argv[i]));
    }
    const double msPerTick = 1000.0 / Frequency();

    RemoveAll(kFolder);
    RecorderLog::Clear();
    RegisterRecorder();

    Program korvel(KorvelExe());
    const std::vector<HWND> buttons = korvel.MainWindow() ? korvel.Buttons() : std::vector<HWND>{};
    if (buttons.size() != 5) {
        fprintf(stderr, "Korvel did not show its five buttons\n");
        return 1;
    }

    printf("Korvel under Wine, %d runs per document; milliseconds, median (fastest-slowest)\n\n",
           runs);
    printf("%-4s %8s  %-23s %-23s %-23s %-23s %-23s\n", "doc", "bytes", "click -> shell request",
           "click handled", "bare write + move", "... + flush", "... + shell -> request");
    for (const Document& document : kDocuments) {
        std::vector<double> toShell, handled, bare, flushed, bareToShell;
        HWND button = buttons[static_cast<std::size_t>(document.number - 1)];
        for (int run = 0; run < runs; ++run) {
            const std::size_t seen = RecorderLog::Read().size();
            const long long sent = Now();
            DWORD_PTR result = 0;
            if (!SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_NORMAL, 20000, &result)) {
                fprintf(stderr, "button %d did not answer\n", document.number);
                return 1;
            }
            const long long returned = Now();
            const std::vector<ShellRequest> log = RecorderLog::WaitFor(seen + 1);
            if (log.size() <= seen || log[seen].match != "DOC" + std::to_string(document.number)) {
                fprintf(stderr, "button %d: no complete document reached the shell\n",
                        document.number);
                return 1;
            }
            toShell.push_back(static_cast<double>(log[seen].ticks - sent) * msPerTick);
            handled.push_back(static_cast<double>(returned - sent) * msPerTick);
        }
        const Bytes& bytes = Committed(document.number);
        for (int run = 0; run < runs; ++run) {
            for (bool flush : {false, true}) {
                const long long start = Now();
                if (!WriteAndMove(PathOf(document), bytes, flush)) {
                    fprintf(stderr, "cannot write %d in process\n", document.number);
                    return 1;
                }
                (flush ? flushed : bare).push_back(static_cast<double>(Now() - start) * msPerTick);
            }
            const std::size_t seen = RecorderLog::Read().size();
            const long long start = Now();
            WriteAndMove(PathOf(document), bytes, true);
            const auto shell = reinterpret_cast<INT_PTR>(ShellExecuteW(
                nullptr, nullptr, PathOf(document).c_str(), nullptr, nullptr, SW_RESTORE));
            const std::vector<ShellRequest> log = RecorderLog::WaitFor(seen + 1);
            if (log.size() <= seen) {
                fprintf(stderr,
                        "the shell did not start the recorder for DOC%d (ShellExecute gave %lld)\n",
                        document.number, static_cast<long long>(shell));
                return 1;
            }
            bareToShell.push_back(static_cast<double>(log[seen].ticks - start) * msPerTick);
        }
        printf("DOC%d %8zu  %-23s %-23s %-23s %-23s %-23s\n", document.number, bytes.size(),
               Cell(Summarise(toShell)).c_str(), Cell(Summarise(handled)).c_str(),
               Cell(Summarise(bare)).c_str(), Cell(Summarise(flushed)).c_str(),
               Cell(Summarise(bareToShell)).c_str());
    }
    PostMessageW(korvel.MainWindow(), WM_CLOSE, 0, 0);
    korvel.WaitForExit();

    // What the executable carries, against its size.
    long long carried = 0;
    printf("\nCarried data:\n");
    for (int n = 1; n <= 5; ++n) {
        const long long size = static_cast<long long>(Committed(n).size());
        printf("  DOC%d.doc            %9lld\n", n, size);
        carried += size;
    }
    for (const auto& [label, path] :
         {std::pair<const char*, std::wstring>{"design + cover", Widen(KORVEL_E2E_DESIGN)},
          {"mainicon.ico", DocumentsFolder() + L"\\..\\mainicon.ico"}}) {
        const long long size = FileSize(path);
        printf("  %-19s %9lld\n", label, size);
        carried += std::max(size, 0LL);
    }
    printf("  %-19s %9lld\n\n", "total", carried);
    if (executables.empty())
        executables.emplace_back("x86_64", KorvelExe());
    for (const auto& [label, path] : executables) {
        const long long size = FileSize(path);
        if (size < 0)
            printf("%-12s not built (%s)\n", label.c_str(), Narrow(path).c_str());
        else
            printf("%-8s Korvel.exe %9lld bytes = carried data %lld (%.1f%%) + code and headers "
                   "%lld (%.1f%%)\n",
                   label.c_str(), size, carried,
                   100.0 * static_cast<double>(carried) / static_cast<double>(size), size - carried,
                   100.0 * static_cast<double>(size - carried) / static_cast<double>(size));
    }
    return 0;
}
