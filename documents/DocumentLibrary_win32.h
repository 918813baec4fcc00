#pragma once
// The system calls below OpenDocument that a test may replace, to inject a failed write
// or to watch the shell request without starting a program.

#include <windows.h>
#include <shellapi.h>

namespace documents::win32 {

struct SystemCalls {
    decltype(&::WriteFile) writeFile = &::WriteFile;
    decltype(&::ShellExecuteA) shellExecute = &::ShellExecuteA;
};

SystemCalls& Calls();

} // namespace documents::win32
