#pragma once
// The program's entry point on Windows: the GUI subsystem's WinMain. Its four arguments
// are not used, so their Windows types need not be known here.

struct HINSTANCE__;

#define PROGRAM_ENTRY_POINT extern "C" int __stdcall WinMain(HINSTANCE__*, HINSTANCE__*, char*, int)
