#include "Form.h"

#include "Button.h"
#include "Exception.h"
#include "Image.h"
#include "PageControl.h"
#include "ResourceStream.h"
#include "Rules.h"
#include "Screen.h"
#include "TabSheet.h"

#include <algorithm>
#include <map>

namespace {

using Factory = TControl* (*)(TComponent* owner);

// The classes a design may name.
const std::map<std::string, Factory>& Classes() {
    static const std::map<std::string, Factory> classes = {
        {"TPageControl", [](TComponent* o) -> TControl* { return new TPageControl(o); }},
        {"TTabSheet", [](TComponent* o) -> TControl* { return new TTabSheet(o); }},
        {"TImage", [](TComponent* o) -> TControl* { return new TImage(o); }},
        {"TButton", [](TComponent* o) -> TControl* { return new TButton(o); }},
    };
    return classes;
}

const TNotifyEvent* FindHandler(const TPublished& published, const std::string& name) {
    for (const auto& [handlerName, handler] : published.handlers)
        if (handlerName == name)
            return &handler;
    return nullptr;
}

void ApplyProperties(TComponent& component, const ui::DesignObject& object,
                     const TPublished& published) {
    for (const ui::DesignProperty& p : object.properties) {
        const std::string where = "Error reading " + object.name + "." + p.name + ": ";
        bool known;
        try {
            if (p.name.rfind("On", 0) == 0 && p.value.kind == ui::DesignValue::Kind::Identifier) {
                const TNotifyEvent* handler = FindHandler(published, p.value.text);
                if (!handler)
                    throw Exception("Handler " + p.value.text + " not found");
                known = component.SetEvent(p.name, *handler);
            } else {
                known = component.SetProperty(p.name, p.value);
            }
        } catch (const Exception& e) {
            throw Exception(where + e.Message());
        }
        if (!known)
            throw Exception(where + "Property " + p.name + " does not exist");
    }
}

void CreateChildren(TWinControl& parent, const ui::DesignObject& object, TComponent& owner,
                    const TPublished& published) {
    for (const ui::DesignObject& child : object.children) {
        auto cls = Classes().find(child.className);
        if (cls == Classes().end())
            throw Exception("Class " + child.className + " not found");
        TControl* control = cls->second(&owner);
        control->Name = child.name;
        control->SetParent(&parent);
        ApplyProperties(*control, child, published);
        if (!child.children.empty()) {
            auto* container = dynamic_cast<TWinControl*>(control);
            if (!container)
                throw Exception("Error reading " + child.name + ": " + child.className +
                                " cannot hold controls");
            CreateChildren(*container, child, owner, published);
        }
    }
}

// Every control of the form in tab order: depth first, each parent's children by TabOrder.
void CollectTabOrder(const TWinControl& parent, std::vector<TWinControl*>& order) {
    for (TWinControl* child : parent.TabOrderedChildren()) {
        order.push_back(child);
        CollectTabOrder(*child, order);
    }
}

// The next control with a tab stop after `from`, forwards or backwards, wrapping around.
TWinControl* NextTabStop(const std::vector<TWinControl*>& order, TWinControl* from, bool forward) {
    const auto n = static_cast<std::ptrdiff_t>(order.size());
    auto at = std::find(order.begin(), order.end(), from) - order.begin();
    if (at == n)
        at = forward ? -1 : 0;
    for (std::ptrdiff_t step = 1; step <= n; ++step) {
        TWinControl* candidate =
            order[static_cast<std::size_t>(((forward ? at + step : at - step) % n + n) % n)];
        if (candidate->TabStop && candidate->Showing())
            return candidate;
    }
    return nullptr;
}

} // namespace

TForm::TForm(TComponent* owner) : TWinControl(owner) {}

TWinControl* TForm::FirstTabStop() {
    std::vector<TWinControl*> order;
    CollectTabOrder(*this, order);
    return NextTabStop(order, nullptr, true);
}

bool TForm::DialogKeyPressed(DialogKey key, TWinControl* focused) {
    auto* button = dynamic_cast<TButton*>(focused);
    switch (key) {
    case DialogKey::Tab:
    case DialogKey::BackTab: {
        std::vector<TWinControl*> order;
        CollectTabOrder(*this, order);
        if (TWinControl* next = NextTabStop(order, focused, key == DialogKey::Tab))
            next->SetFocus();
        return true;
    }
    case DialogKey::Previous:
    case DialogKey::Next:
        // Among the buttons only; the tab control has its own use for the arrows.
        if (!button)
            return false;
        if (TWinControl* next =
                NextTabStop(button->Parent()->TabOrderedChildren(), button, key == DialogKey::Next))
            next->SetFocus();
        return true;
    case DialogKey::Enter:
        // The focused button is the default one; with the tab focused, Enter does nothing.
        if (button)
            button->Click();
        return true;
    case DialogKey::CtrlTab: // would turn the page; there is a single page
    case DialogKey::Escape:  // no button cancels
        return true;
    }
    return false;
}

bool TForm::SetProperty(const std::string& name, const ui::DesignValue& value) {
    if (name == "ClientWidth") {
        ClientWidth = ui::IntegerValue(name, value);
    } else if (name == "ClientHeight") {
        ClientHeight = ui::IntegerValue(name, value);
    } else if (name == "Color") {
        Color = ui::IdentifierValue(name, value);
    } else if (name == "PixelsPerInch") {
        PixelsPerInch = ui::IntegerValue(name, value);
    } else if (name == "TextHeight") {
        TextHeight = ui::IntegerValue(name, value);
    } else if (name == "BorderStyle") {
        const std::string& style = ui::IdentifierValue(name, value);
        if (style != "bsSingle" && style != "bsSizeable")
            throw Exception("Invalid property value: " + style);
        SingleBorder = style == "bsSingle";
    } else if (name == "BorderIcons") {
        if (value.kind != ui::DesignValue::Kind::Set)
            throw Exception("Invalid property value: BorderIcons");
        HasSystemMenu = HasMinimize = HasMaximize = false;
        for (const std::string& icon : value.set) {
            if (icon == "biSystemMenu")
                HasSystemMenu = true;
            else if (icon == "biMinimize")
                HasMinimize = true;
            else if (icon == "biMaximize")
                HasMaximize = true;
            else
                throw Exception("Invalid property value: " + icon);
        }
    } else {
        return TWinControl::SetProperty(name, value);
    }
    return true;
}

void TForm::LoadDesign(const std::string& className, const TPublished& published) {
    const TResourceStream stream(className, ResourceType::RCData);
    const ui::DesignObject root =
        ui::ParseDesign({static_cast<const char*>(stream.Memory()), stream.Size()});
    if (root.className != className)
        throw Exception("Error reading " + className + ": the design is of class " +
                        root.className);
    ClassName = className;
    Name = root.name;
    ApplyProperties(*this, root, published);
    CreateChildren(*this, root, *this, published);
    for (const auto& [fieldName, bind] : published.fields) {
        TComponent* component = FindComponent(fieldName);
        if (!component || !bind(component))
            throw Exception("Error reading " + className + ": no component " + fieldName +
                            " of the field's class");
    }
    ScaleToScreen();
}

void TForm::ScaleToScreen() {
    const int screen = ui::ScreenPixelsPerInch();
    if (screen != PixelsPerInch)
        Font.Height = ui::MulDivRound(Font.Height, screen, PixelsPerInch);
    const int textHeight = ui::TextHeight(Font);
    if (textHeight == TextHeight || textHeight <= 0)
        return;
    for (TControl* control : AllControls()) {
        if (control->BoundsStored) {
            const ui::Bounds b =
                ui::ScaleBounds({control->Left, control->Top, control->Width, control->Height},
                                textHeight, TextHeight);
            control->Left = b.left;
            control->Top = b.top;
            control->Width = b.width;
            control->Height = b.height;
        }
        if (!control->ParentFont)
            control->Font.Height =
                ui::ScaleFontHeight(control->Font.Height, screen, textHeight, TextHeight);
    }
    ClientWidth = ui::MulDivRound(ClientWidth, textHeight, TextHeight);
    ClientHeight = ui::MulDivRound(ClientHeight, textHeight, TextHeight);
}
