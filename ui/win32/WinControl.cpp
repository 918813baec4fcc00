#include "Native.h"

#include "Application.h"

namespace {

constexpr char kControlProperty[] = "Korvel.Control";

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* control =
            static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetPropA(hwnd, kControlProperty, control);
        NativeControl::Of(*control).hwnd = hwnd;
    }
    TWinControl* control = NativeControl::FromHandle(hwnd);
    if (!control)
        return DefWindowProcA(hwnd, message, wParam, lParam);

    bool handled = false;
    LRESULT result = 0;
    ui::Guarded([&] {
        // Notifications of native controls come to their parent; pass them on.
        if (message == WM_COMMAND && lParam) {
            if (TWinControl* child = NativeControl::FromHandle(reinterpret_cast<HWND>(lParam)))
                NativeControl::Notify(*child, HIWORD(wParam));
            handled = true;
            return;
        }
        if (NativeControl::Handler handler = NativeControl::Of(*control).handler)
            handled = handler(*control, message, wParam, lParam, result);
    });
    if (message == WM_NCDESTROY) {
        RemovePropA(hwnd, kControlProperty);
        NativeControl::Of(*control).hwnd = nullptr;
    }
    return handled ? result : DefWindowProcA(hwnd, message, wParam, lParam);
}

void RegisterWindowClass(const char* className) {
    WNDCLASSA existing;
    if (GetClassInfoA(GetModuleHandleA(nullptr), className, &existing))
        return;
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = className;
    if (!RegisterClassA(&wc))
        throw Exception(std::string("Cannot register the window class ") + className);
}

} // namespace

NativeControl::~NativeControl() {
    if (hwnd)
        DestroyWindow(hwnd);
    if (font)
        DeleteObject(font);
}

namespace {
HWND CreateWindowFor(TWinControl& control, const char* className, DWORD style, DWORD exStyle, int x,
                     int y, int width, int height, HWND parent) {
    const std::string caption = ui::win32::ToAnsi(control.Caption);
    HWND hwnd = CreateWindowExA(exStyle, className, caption.c_str(), style, x, y, width, height,
                                parent, nullptr, GetModuleHandleA(nullptr), &control);
    if (!hwnd)
        throw Exception("Cannot create the window " + control.Name);
    return hwnd;
}
} // namespace

HWND NativeControl::CreateOwn(TWinControl& control, const char* className, DWORD style,
                              DWORD exStyle, int x, int y, int width, int height, HWND parent) {
    RegisterWindowClass(className);
    return CreateWindowFor(control, className, style, exStyle, x, y, width, height, parent);
}

HWND NativeControl::CreateNative(TWinControl& control, const char* className, DWORD style,
                                 DWORD exStyle, int x, int y, int width, int height, HWND parent) {
    HWND hwnd = CreateWindowFor(control, className, style, exStyle, x, y, width, height, parent);
    // The system's controls never pass our WM_NCCREATE; they are found by the same property.
    SetPropA(hwnd, kControlProperty, &control);
    Of(control).hwnd = hwnd;
    return hwnd;
}

TWinControl* NativeControl::FromHandle(HWND hwnd) {
    return static_cast<TWinControl*>(GetPropA(hwnd, kControlProperty));
}

void NativeControl::ApplyFont(TWinControl& control) {
    const TFont& font = control.EffectiveFont();
    NativeControl& native = Of(control);
    HFONT created =
        CreateFontA(font.Height, 0, 0, 0, font.Style == TFontStyle::Bold ? FW_BOLD : FW_NORMAL,
                    FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                    DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, font.Name.c_str());
    SendMessageA(native.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(created), FALSE);
    if (native.font)
        DeleteObject(native.font);
    native.font = created;
}

namespace ui::win32 {

std::string ToAnsi(const std::string& utf8) {
    if (utf8.empty())
        return {};
    const int wide =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), wide);
    const int narrow =
        WideCharToMultiByte(CP_ACP, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(narrow), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), wide, out.data(), narrow, nullptr, nullptr);
    return out;
}

} // namespace ui::win32

TWinControl::TWinControl(TComponent* owner)
    : TControl(owner), native_(std::make_unique<NativeControl>()) {}

TWinControl::~TWinControl() = default;

NativeControl& TWinControl::Native() {
    return *native_;
}

void* TWinControl::NativeWindow() const {
    return native_->hwnd;
}

void TWinControl::SetFocus() {
    ::SetFocus(static_cast<HWND>(Handle()));
}

bool TWinControl::Showing() {
    HWND hwnd = static_cast<HWND>(Handle());
    return IsWindowVisible(hwnd) && IsWindowEnabled(hwnd);
}

bool TWinControl::Focused() const {
    return native_->hwnd && GetFocus() == native_->hwnd;
}
