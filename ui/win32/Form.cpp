#include "Form.h"

#include "Application.h"
#include "Native.h"

namespace {

bool KeyDown(int key) {
    return GetKeyState(key) < 0;
}

} // namespace

TForm::~TForm() {
    // The controls' windows go with the form's; destroy them while the controls exist.
    DestroyComponents();
}

void TForm::CreateWnd() {
    DWORD style = WS_CAPTION | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (HasSystemMenu)
        style |= WS_SYSMENU;
    if (HasMinimize)
        style |= WS_MINIMIZEBOX;
    if (HasMaximize)
        style |= WS_MAXIMIZEBOX;
    if (!SingleBorder)
        style |= WS_THICKFRAME;
    const DWORD exStyle = WS_EX_CONTROLPARENT;

    RECT outer = {0, 0, ClientWidth, ClientHeight};
    AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    Width = outer.right - outer.left;
    Height = outer.bottom - outer.top;
    HWND owner = static_cast<HWND>(Application->Handle());
    HWND hwnd = NativeControl::CreateOwn(*this, ClassName.c_str(), style, exStyle, Left, Top, Width,
                                         Height, owner);
    // The design gives the form no icon of its own: it shows the application's.
    HINSTANCE instance = GetModuleHandleA(nullptr);
    SendMessageA(hwnd, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadIconA(instance, "MAINICON")));
    SendMessageA(hwnd, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(LoadImageA(instance, "MAINICON", IMAGE_ICON,
                                                     GetSystemMetrics(SM_CXSMICON),
                                                     GetSystemMetrics(SM_CYSMICON), LR_SHARED)));

    NativeControl::Of(*this).handler = [](TWinControl& control, UINT message, WPARAM wParam, LPARAM,
                                          LRESULT& result) {
        auto& form = static_cast<TForm&>(control);
        switch (message) {
        case WM_CLOSE:
            form.Close();
            return true;
        case WM_SYSCOMMAND:
            switch (wParam & 0xFFF0) {
            case SC_MINIMIZE:
                if (Application->MainForm() != &form)
                    return false;
                Application->Minimize();
                return true;
            // A fixed frame without a maximise box: no sizing and no maximising, also not
            // by a double click on the caption.
            case SC_MAXIMIZE:
                return !form.HasMaximize;
            case SC_SIZE:
                return form.SingleBorder;
            }
            return false;
        case WM_NCLBUTTONDBLCLK:
            return wParam == HTCAPTION && !form.HasMaximize;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (TWinControl* focused = NativeControl::FromHandle(focus);
                    focused && focused != &form && IsChild(static_cast<HWND>(form.Handle()), focus))
                    form.focused_ = focused;
            } else if (!HIWORD(wParam)) { // not while minimised
                TWinControl* target = form.focused_ ? form.focused_ : form.FirstTabStop();
                if (target)
                    target->SetFocus();
            }
            result = 0;
            return true;
        }
        return false;
    };
    NativeControl::ApplyFont(*this);
}

void TForm::Show() {
    int command = SW_SHOWNORMAL;
    if (WindowState == TWindowState::Maximized)
        command = SW_SHOWMAXIMIZED;
    ShowWindow(static_cast<HWND>(Handle()), command);
}

void TForm::Close() {
    if (Application->MainForm() == this)
        Application->Terminate();
    else
        ShowWindow(static_cast<HWND>(Handle()), SW_HIDE);
}

bool TForm::HandleDialogKey(void* message) {
    const MSG& msg = *static_cast<const MSG*>(message);
    HWND hwnd = static_cast<HWND>(Handle());
    if (msg.message != WM_KEYDOWN || (msg.hwnd != hwnd && !IsChild(hwnd, msg.hwnd)))
        return false;
    if (KeyDown(VK_MENU))
        return false;
    const bool shift = KeyDown(VK_SHIFT);
    const bool control = KeyDown(VK_CONTROL);
    DialogKey key;
    switch (msg.wParam) {
    case VK_TAB:
        key = control ? DialogKey::CtrlTab : shift ? DialogKey::BackTab : DialogKey::Tab;
        break;
    case VK_LEFT:
    case VK_UP:
        key = DialogKey::Previous;
        break;
    case VK_RIGHT:
    case VK_DOWN:
        key = DialogKey::Next;
        break;
    case VK_RETURN:
        if (shift || control)
            return false;
        key = DialogKey::Enter;
        break;
    case VK_ESCAPE:
        key = DialogKey::Escape;
        break;
    default:
        return false;
    }
    return DialogKeyPressed(key, NativeControl::FromHandle(GetFocus()));
}
