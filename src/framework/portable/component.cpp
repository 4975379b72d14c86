#include "framework/portable/component.h"

#include <algorithm>
#include <cctype>

namespace kova {

bool SameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

TComponent::TComponent(TComponent* AOwner) {
    if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
    if (!beforeDestructionDone_) {
        beforeDestructionDone_ = true;
        Destroying();
    }
    // Tell everyone who asked; each side drops its link to the other.
    while (!freeNotifies_.empty()) {
        TComponent* c = freeNotifies_.back();
        freeNotifies_.pop_back();
        c->RemoveNotification(this);
        c->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

void TComponent::Free() {
    if (!beforeDestructionDone_) {
        beforeDestructionDone_ = true;
        BeforeDestruction();
    }
    delete this;
}

void TComponent::BeforeDestruction() { Destroying(); }

void TComponent::DestroyComponents() {
    // Last created goes first, as a form tears down its children.
    while (!components_.empty()) {
        TComponent* c = components_.back();
        RemoveComponent(c);
        c->Free();
    }
}

void TComponent::DefineProps(TPropList& L) {
    L.For<TComponent>()
        .String("Name", &TComponent::Name, &TComponent::SetName)
        .Int("Tag", &TComponent::Tag, &TComponent::SetTag);
}

void TComponent::SetName(const std::string& value) {
    if (value == name_) return;
    if (!value.empty()) {
        bool valid = std::isalpha(static_cast<unsigned char>(value[0])) || value[0] == '_';
        for (char ch : value)
            valid = valid && (std::isalnum(static_cast<unsigned char>(ch)) || ch == '_');
        if (!valid) throw EComponentError("\"" + value + "\" is not a valid component name");
        if (owner_) {
            TComponent* other = owner_->FindComponent(value);
            if (other && other != this)
                throw EComponentError("A component named " + value + " already exists");
        }
    }
    name_ = value;
}

int TComponent::ComponentIndex() const {
    if (!owner_) return -1;
    auto& v = owner_->components_;
    auto it = std::find(v.begin(), v.end(), this);
    return it == v.end() ? -1 : static_cast<int>(it - v.begin());
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : components_)
        if (SameText(c->name_, name)) return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* c) {
    if (!c || c->owner_ == this) return;
    if (c->owner_) c->owner_->RemoveComponent(c);
    if (!c->name_.empty() && FindComponent(c->name_))
        throw EComponentError("A component named " + c->name_ + " already exists");
    components_.push_back(c);
    c->owner_ = this;
    Notification(c, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* c) {
    auto it = std::find(components_.begin(), components_.end(), c);
    if (it == components_.end()) return;
    Notification(c, TOperation::opRemove);
    components_.erase(std::find(components_.begin(), components_.end(), c));
    c->owner_ = nullptr;
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
    // Owned components hear about their siblings coming and going.
    if (Operation == TOperation::opRemove && AComponent) RemoveFreeNotification(AComponent);
    std::vector<TComponent*> copy = components_;
    for (TComponent* c : copy)
        if (c != AComponent) c->Notification(AComponent, Operation);
}

void TComponent::FreeNotification(TComponent* c) {
    if (!c || c == this) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), c) == freeNotifies_.end()) freeNotifies_.push_back(c);
    if (std::find(c->freeNotifies_.begin(), c->freeNotifies_.end(), this) == c->freeNotifies_.end())
        c->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* c) {
    RemoveNotification(c);
    if (c) c->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* c) {
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), c), freeNotifies_.end());
}

void TComponent::Loaded() { SetLoadingState(false); }

const std::any* TComponent::FindMethod(const std::string& name) const {
    auto it = methods_.find(name);
    return it == methods_.end() ? nullptr : &it->second;
}

bool TComponent::SetField(const std::string& name, TComponent* c) {
    auto it = fields_.find(name);
    if (it == fields_.end()) return true;
    return it->second(c);
}

std::vector<std::string> TComponent::FieldNames() const {
    std::vector<std::string> out;
    for (const auto& f : fields_) out.push_back(f.first);
    return out;
}

std::vector<std::string> TComponent::MethodNames() const {
    std::vector<std::string> out;
    for (const auto& m : methods_) out.push_back(m.first);
    return out;
}

}  // namespace kova
