#pragma once
// The base classes of our component layer: components owned by their form, controls
// placed in their parent, and windowed controls backed by a native window.

#include "Design.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TObject {
public:
    virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* sender)>;

class TComponent : public TObject {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    std::string Name;

    TComponent* Owner() const { return owner_; }
    TComponent* FindComponent(const std::string& name) const;

    // Applies one property read from a design; false when the class has no such property.
    // A value of the wrong kind raises Exception.
    virtual bool SetProperty(const std::string& name, const ui::DesignValue& value);
    // Binds an event of the design ("OnClick") to a handler; false when there is no such event.
    virtual bool SetEvent(const std::string& name, TNotifyEvent handler);

protected:
    // Destroys the owned components now, newest first, rather than after the destructor
    // of the derived class has run.
    void DestroyComponents();

private:
    TComponent* owner_;
    std::vector<std::unique_ptr<TComponent>> components_; // what this component owns
};

enum class TFontStyle { Regular, Bold };

struct TFont {
    std::string Name = "MS Sans Serif";
    int Height = -11; // negative: the character height in pixels without internal leading
    TFontStyle Style = TFontStyle::Regular;
    std::string Color = "clWindowText";
    std::string Charset = "DEFAULT_CHARSET";

    bool SetProperty(const std::string& name, const ui::DesignValue& value);
};

class TWinControl;

class TControl : public TComponent {
public:
    using TComponent::TComponent;

    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    int TabOrder = -1;
    std::string Caption; // UTF-8
    TFont Font;
    bool ParentFont = true;
    bool BoundsStored = false; // the design gives the control's place and size

    TWinControl* Parent() const { return parent_; }
    void SetParent(TWinControl* parent);
    // The font the control draws with: its own, or the nearest parent's.
    const TFont& EffectiveFont() const;

    bool SetProperty(const std::string& name, const ui::DesignValue& value) override;

private:
    TWinControl* parent_ = nullptr;
};

struct NativeControl; // the backend's window and what it owns

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    bool TabStop = false;

    const std::vector<TControl*>& Controls() const { return controls_; }
    // The native window, created on first use.
    void* Handle();
    bool HandleAllocated() const;
    void SetFocus();
    bool Focused() const;
    // Visible and enabled on screen.
    bool Showing();

    // Children that are windowed controls, in tab order.
    std::vector<TWinControl*> TabOrderedChildren() const;
    // Every control below this one, parents before their children.
    std::vector<TControl*> AllControls() const;

protected:
    friend class TControl;
    friend struct NativeControl;
    // Creates this control's native window inside its parent's; children follow.
    virtual void CreateWnd() = 0;
    // A command notification sent by this control's native window to its parent.
    virtual void Notify(int /*code*/) {}
    NativeControl& Native();
    void* NativeWindow() const; // the backend's window, or null before it is created

private:
    std::vector<TControl*> controls_; // children, not owned: the form owns them
    std::unique_ptr<NativeControl> native_;
};

// A value read from a design, or Exception naming the property.
namespace ui {
int IntegerValue(const std::string& property, const DesignValue& value);
bool BooleanValue(const std::string& property, const DesignValue& value);
const std::string& StringValue(const std::string& property, const DesignValue& value);
const std::string& IdentifierValue(const std::string& property, const DesignValue& value);
} // namespace ui
