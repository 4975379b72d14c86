// The component model: an owner frees what it owns, components find each
// other by name, and a component knows when it is being loaded from a
// description or destroyed.
#pragma once

#include "framework/portable/object.h"
#include "framework/portable/props.h"

#include <any>
#include <cstdint>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace kova {

class TComponent;

// The generic event: Sender is the object that raised it.
using TNotifyEvent = std::function<void(TObject* Sender)>;

class EComponentError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Objects that can copy their state from another of their kind.
class TPersistent : public TObject {
    KOVA_CLASS(TPersistent, TObject)
public:
    // Copies Source's state; false when the kinds do not fit.
    virtual bool Assign(const TPersistent* Source) { return Source == this; }
};

enum class TOperation { opInsert, opRemove };

enum TComponentStateFlag : std::uint32_t {
    csLoading = 1u << 0,     // properties are being read from a description
    csReading = 1u << 1,
    csDestroying = 1u << 3,  // BeforeDestruction has run
    csUpdating = 1u << 5,
};

class TComponent : public TPersistent {
    KOVA_CLASS_PROPS(TComponent, TPersistent)
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    // Destroys the object: the one way to free a component (owners use it
    // for what they own). Runs BeforeDestruction while the object is whole.
    void Free();
    static void FreeAndNil(TComponent*& c) {
        TComponent* t = c;
        c = nullptr;
        if (t) t->Free();
    }

    TComponent* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    // Names are unique (case-insensitively) among one owner's components.
    virtual void SetName(const std::string& value);
    std::intptr_t Tag() const { return tag_; }
    void SetTag(std::intptr_t v) { tag_ = v; }

    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int i) const { return components_.at(static_cast<size_t>(i)); }
    int ComponentIndex() const;
    // Case-insensitive; nullptr when no owned component has that name.
    TComponent* FindComponent(const std::string& name) const;

    std::uint32_t ComponentState() const { return state_; }
    bool IsLoading() const { return state_ & csLoading; }
    bool IsDestroying() const { return state_ & csDestroying; }

    void InsertComponent(TComponent* c);
    void RemoveComponent(TComponent* c);
    // Ask to be told (Notification opRemove) when c is destroyed.
    void FreeNotification(TComponent* c);
    void RemoveFreeNotification(TComponent* c);

    // Loading from a description: set before properties are read, cleared
    // by Loaded once every component of the description exists.
    void BeginLoading() { state_ |= csLoading | csReading; }
    virtual void Loaded();

    // Parent handling for description loading: controls take their parent
    // from the component they are nested in.
    virtual bool HasParent() const { return false; }
    virtual void SetParentComponent(TComponent*) {}
    virtual TComponent* GetParentComponent() const { return nullptr; }

    // Event handlers by name (for binding events from a description): a
    // form registers its handler methods as std::function values of the
    // event's exact type.
    template <class E>
    void RegisterMethod(const std::string& name, E handler) { methods_[name] = std::any(std::move(handler)); }
    // A notify handler that calls a method of `object` taking no arguments.
    template <class C>
    void RegisterNotify(const std::string& name, C* object, void (C::*method)()) {
        RegisterMethod(name, TNotifyEvent([object, method](TObject*) { (object->*method)(); }));
    }
    const std::any* FindMethod(const std::string& name) const;
    // Fields filled by name when a description creates the component.
    template <class T>
    void BindField(const std::string& name, T*& field) {
        fields_[name] = [&field](TComponent* c) {
            field = dynamic_cast<T*>(c);
            return field != nullptr || c == nullptr;
        };
    }
    // Sets the field named `name` (if any) to c; false on a type mismatch.
    bool SetField(const std::string& name, TComponent* c);
    // What a description must fill and may name: the bound fields and the
    // registered handlers.
    std::vector<std::string> FieldNames() const;
    std::vector<std::string> MethodNames() const;

protected:
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    // Called once when destruction starts (Free), before any part is gone.
    virtual void BeforeDestruction();
    virtual void Destroying() { state_ |= csDestroying; }
    void DestroyComponents();
    void SetLoadingState(bool on) { on ? state_ |= csLoading : state_ &= ~(csLoading | csReading); }

private:
    static void DefineProps(TPropList& L);
    void RemoveNotification(TComponent* c);

    TComponent* owner_ = nullptr;
    std::string name_;
    std::intptr_t tag_ = 0;
    std::uint32_t state_ = 0;
    bool beforeDestructionDone_ = false;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    std::map<std::string, std::any> methods_;
    std::map<std::string, std::function<bool(TComponent*)>> fields_;
};

bool SameText(const std::string& a, const std::string& b);

}  // namespace kova
