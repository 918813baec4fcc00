#include "Controls.h"

#include "Exception.h"

#include <algorithm>

namespace ui {
namespace {
[[noreturn]] void InvalidValue(const std::string& property) {
    throw Exception("Invalid property value: " + property);
}
} // namespace

int IntegerValue(const std::string& property, const DesignValue& value) {
    if (value.kind != DesignValue::Kind::Integer)
        InvalidValue(property);
    return static_cast<int>(value.integer);
}

bool BooleanValue(const std::string& property, const DesignValue& value) {
    if (value.kind == DesignValue::Kind::Identifier && value.text == "True")
        return true;
    if (value.kind == DesignValue::Kind::Identifier && value.text == "False")
        return false;
    InvalidValue(property);
}

const std::string& StringValue(const std::string& property, const DesignValue& value) {
    if (value.kind != DesignValue::Kind::String)
        InvalidValue(property);
    return value.text;
}

const std::string& IdentifierValue(const std::string& property, const DesignValue& value) {
    if (value.kind != DesignValue::Kind::Identifier)
        InvalidValue(property);
    return value.text;
}
} // namespace ui

TComponent::TComponent(TComponent* owner) : owner_(owner) {
    if (owner_)
        owner_->components_.emplace_back(this);
}

TComponent::~TComponent() {
    DestroyComponents();
    if (owner_) {
        auto& siblings = owner_->components_;
        auto self = std::find_if(siblings.begin(), siblings.end(),
                                 [this](const auto& c) { return c.get() == this; });
        if (self != siblings.end()) {
            self->release(); // destroyed directly, not by the owner: it must not delete twice
            siblings.erase(self);
        }
    }
}

void TComponent::DestroyComponents() {
    // Each component is out of the list before it is destroyed, so that its own destructor
    // finds nothing to remove.
    while (!components_.empty()) {
        std::unique_ptr<TComponent> last = std::move(components_.back());
        components_.pop_back();
    }
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    for (const auto& c : components_)
        if (c->Name == name)
            return c.get();
    return nullptr;
}

bool TComponent::SetProperty(const std::string&, const ui::DesignValue&) {
    return false;
}

bool TComponent::SetEvent(const std::string&, TNotifyEvent) {
    return false;
}

bool TFont::SetProperty(const std::string& name, const ui::DesignValue& value) {
    if (name == "Name") {
        Name = ui::StringValue(name, value);
    } else if (name == "Height") {
        Height = ui::IntegerValue(name, value);
    } else if (name == "Color") {
        Color = ui::IdentifierValue(name, value);
    } else if (name == "Charset") {
        Charset = ui::IdentifierValue(name, value);
    } else if (name == "Style") {
        if (value.kind != ui::DesignValue::Kind::Set)
            throw Exception("Invalid property value: Font.Style");
        Style = TFontStyle::Regular;
        for (const std::string& member : value.set) {
            if (member != "fsBold")
                throw Exception("Invalid property value: Font.Style " + member);
            Style = TFontStyle::Bold;
        }
    } else {
        return false;
    }
    return true;
}

void TControl::SetParent(TWinControl* parent) {
    parent_ = parent;
    if (parent_)
        parent_->controls_.push_back(this);
}

const TFont& TControl::EffectiveFont() const {
    const TControl* control = this;
    while (control->ParentFont && control->parent_)
        control = control->parent_;
    return control->Font;
}

bool TControl::SetProperty(const std::string& name, const ui::DesignValue& value) {
    if (name == "Left" || name == "Top" || name == "Width" || name == "Height")
        BoundsStored = true;
    if (name == "Left")
        Left = ui::IntegerValue(name, value);
    else if (name == "Top")
        Top = ui::IntegerValue(name, value);
    else if (name == "Width")
        Width = ui::IntegerValue(name, value);
    else if (name == "Height")
        Height = ui::IntegerValue(name, value);
    else if (name == "TabOrder")
        TabOrder = ui::IntegerValue(name, value);
    else if (name == "Caption")
        Caption = ui::StringValue(name, value);
    else if (name == "ParentFont")
        ParentFont = ui::BooleanValue(name, value);
    else if (name.rfind("Font.", 0) == 0)
        return Font.SetProperty(name.substr(5), value);
    else
        return TComponent::SetProperty(name, value);
    return true;
}

bool TWinControl::HandleAllocated() const {
    return NativeWindow() != nullptr;
}

void* TWinControl::Handle() {
    if (!HandleAllocated()) {
        CreateWnd();
        for (TControl* child : controls_)
            if (auto* windowed = dynamic_cast<TWinControl*>(child))
                windowed->Handle();
    }
    return NativeWindow();
}

std::vector<TWinControl*> TWinControl::TabOrderedChildren() const {
    std::vector<TWinControl*> children;
    for (TControl* c : controls_)
        if (auto* w = dynamic_cast<TWinControl*>(c))
            children.push_back(w);
    std::stable_sort(
        children.begin(), children.end(),
        [](const TWinControl* a, const TWinControl* b) { return a->TabOrder < b->TabOrder; });
    return children;
}

std::vector<TControl*> TWinControl::AllControls() const {
    std::vector<TControl*> all;
    for (TControl* c : controls_) {
        all.push_back(c);
        if (auto* w = dynamic_cast<TWinControl*>(c)) {
            const std::vector<TControl*> below = w->AllControls();
            all.insert(all.end(), below.begin(), below.end());
        }
    }
    return all;
}
