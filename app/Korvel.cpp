// The program: start the application, build the main window, run until it is closed.

#include "Application.h"
#include "ProgramEntry.h"
#include "Unit1.h"

PROGRAM_ENTRY_POINT {
    try {
        Application->Initialize();
        Application->CreateForm(Form1);
        Application->Run();
    } catch (const Exception& e) {
        Application->ShowException(e);
    } catch (...) {
        Application->ShowException(Exception(""));
    }
    return 0;
}
