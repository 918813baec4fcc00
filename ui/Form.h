#pragma once
// A top-level window built from its design.

#include "Controls.h"

#include <string>
#include <utility>
#include <vector>

class TApplication;

enum class TWindowState { Normal, Minimized, Maximized };

// What a form class publishes so that its design can be bound to it by name.
struct TPublished {
    // A component field: the binder takes the component created under that name and
    // returns false if it is of another class than the field's.
    using FieldBinder = std::function<bool(TComponent*)>;
    std::vector<std::pair<std::string, FieldBinder>> fields;
    std::vector<std::pair<std::string, TNotifyEvent>> handlers;
};

// A binder for a component field of type T.
template <class T> TPublished::FieldBinder PublishedField(T*& field) {
    return [&field](TComponent* component) {
        field = dynamic_cast<T*>(component);
        return field != nullptr;
    };
}

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    std::string ClassName; // the form's class, which names its design and its window class
    int ClientWidth = 0;
    int ClientHeight = 0;
    std::string Color = "clBtnFace";
    bool SingleBorder = false; // BorderStyle = bsSingle
    bool HasSystemMenu = true, HasMinimize = true, HasMaximize = true;
    int PixelsPerInch = 96;
    int TextHeight = 13;
    TWindowState WindowState = TWindowState::Normal;

    bool SetProperty(const std::string& name, const ui::DesignValue& value) override;

    void Show();
    void Close();

    // Keyboard navigation among the form's controls. `event` is the backend's key event
    // (a MSG, a QKeyEvent); true when the key was used.
    bool HandleDialogKey(void* event);
    enum class DialogKey { Tab, BackTab, CtrlTab, Previous, Next, Enter, Escape };
    // What a navigation key does with the focus on `focused`; true when it was used.
    bool DialogKeyPressed(DialogKey key, TWinControl* focused);
    // The first control in tab order that can take the focus.
    TWinControl* FirstTabStop();

protected:
    // Reads the design stored under `className` and builds the form and its components
    // from it, binding the published fields and handlers by name.
    void LoadDesign(const std::string& className, const TPublished& published);

    void CreateWnd() override;

private:
    friend struct NativeControl;
    // Rescales a design made at PixelsPerInch for this screen, by its text height.
    void ScaleToScreen();

    TWinControl* focused_ = nullptr; // the control that had the focus when the form was left
};
