#pragma once
// The program's entry point on Linux: main(), which keeps its arguments for Qt and runs the
// body that follows the macro.

#include "Application.h"

namespace ui::qt {
void KeepArguments(int argc, char** argv);
}

#define PROGRAM_ENTRY_POINT                                                                        \
    static int ProgramMain();                                                                      \
    int main(int argc, char** argv) {                                                              \
        ui::qt::KeepArguments(argc, argv);                                                         \
        const int status = ProgramMain();                                                          \
        Application->Shutdown();                                                                   \
        return status;                                                                             \
    }                                                                                              \
    static int ProgramMain()
