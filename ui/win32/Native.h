#pragma once
// What the Win32 backend keeps for each windowed control, and the helpers its files share.

#include "Guarded.h"
#include "Controls.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct NativeControl {
    // A control's own messages; true when handled, with the result in `result`.
    using Handler = bool (*)(TWinControl& control, UINT message, WPARAM wParam, LPARAM lParam,
                             LRESULT& result);

    HWND hwnd = nullptr;
    HFONT font = nullptr; // owned
    Handler handler = nullptr;

    NativeControl() = default;
    ~NativeControl();
    NativeControl(const NativeControl&) = delete;
    NativeControl& operator=(const NativeControl&) = delete;

    // Creates the control's window: of one of the system's classes (a button, a tab control)
    // with CreateNative, or of a class of our own, named after the component's class, with
    // CreateOwn.
    static HWND CreateNative(TWinControl& control, const char* className, DWORD style,
                             DWORD exStyle, int x, int y, int width, int height, HWND parent);
    static HWND CreateOwn(TWinControl& control, const char* className, DWORD style, DWORD exStyle,
                          int x, int y, int width, int height, HWND parent);
    static TWinControl* FromHandle(HWND hwnd);
    // Gives the control the font it draws with.
    static void ApplyFont(TWinControl& control);
    static void Notify(TWinControl& control, int code) { control.Notify(code); }
    static NativeControl& Of(TWinControl& control) { return control.Native(); }
};

namespace ui::win32 {

// The message box call of the exception display, which a test may replace to read what
// would be shown.
using MessageBoxFunction = decltype(&MessageBoxA);
MessageBoxFunction& MessageBoxCall();

// The bitmap a JPEG decodes to, as an image shows it; null when the data is no picture.
std::shared_ptr<void> DecodePicture(const std::vector<std::uint8_t>& jpeg);

// Design text is UTF-8; our windows are ANSI windows and show it in the ANSI code page.
std::string ToAnsi(const std::string& utf8);

} // namespace ui::win32
