// Published properties, readable and writable by name. Each framework class
// that publishes properties lists them in `static void DefineProps(TPropList&)`;
// lookups walk up the class tree. Access by a name that the object does not
// publish is skipped silently: setters return false, getters the default.
#pragma once

#include "framework/portable/object.h"

#include <any>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace kova {

// Strings: a list of lines (Items, Lines); Binary: stored data such as an
// image; Collection: a list of items that each publish properties.
enum class TPropKind { Integer, Bool, Float, String, Color, Enum, Set, Object, Method, Strings, Binary, Collection };

struct TPropInfo {
    std::string name;
    TPropKind kind = TPropKind::Integer;
    // Element names of an enum (by ordinal) or of a set (by bit number).
    std::shared_ptr<const std::vector<std::string>> names;

    std::function<std::int64_t(TObject*)> getOrd;
    std::function<void(TObject*, std::int64_t)> setOrd;
    std::function<double(TObject*)> getFloat;
    std::function<void(TObject*, double)> setFloat;
    std::function<std::string(TObject*)> getStr;
    std::function<void(TObject*, const std::string&)> setStr;
    std::function<TObject*(TObject*)> getObj;
    std::function<void(TObject*, TObject*)> setObj;
    // Events: whether a handler is set, and binding a handler held in a
    // std::any (of the event's exact std::function type); false on a type
    // mismatch.
    std::function<std::vector<std::string>(TObject*)> getLines;
    std::function<void(TObject*, const std::vector<std::string>&)> setLines;
    std::function<void(TObject*, const std::vector<std::uint8_t>&)> setBinary;
    // Collections: replaces the items by `count` new ones, each handed to
    // `fill` in order before the collection takes them; when `fill` throws
    // the collection keeps what it had.
    using TFillItem = std::function<void(TObject* item, std::size_t index)>;
    std::function<void(TObject*, std::size_t count, const TFillItem& fill)> setItems;
    std::function<bool(TObject*)> hasMethod;
    std::function<bool(TObject*, const std::any&)> bindMethod;

    bool ReadOnly() const {
        return !setOrd && !setFloat && !setStr && !setObj && !bindMethod && !setLines && !setBinary && !setItems;
    }
};

template <class C>
class TPropsOf;

class TPropList {
public:
    explicit TPropList(std::vector<TPropInfo>& out) : out_(out) {}
    template <class C>
    TPropsOf<C> For() { return TPropsOf<C>(*this); }
    void Add(TPropInfo info) { out_.push_back(std::move(info)); }

private:
    std::vector<TPropInfo>& out_;
};

template <class C>
class TPropsOf {
public:
    explicit TPropsOf(TPropList& list) : list_(list) {}

    template <class G, class S = std::nullptr_t>
    TPropsOf& Int(const char* name, G get, S set = nullptr) { return Ord(name, TPropKind::Integer, nullptr, get, set); }
    template <class G, class S = std::nullptr_t>
    TPropsOf& Bool(const char* name, G get, S set = nullptr) { return Ord(name, TPropKind::Bool, nullptr, get, set); }
    template <class G, class S = std::nullptr_t>
    TPropsOf& Color(const char* name, G get, S set = nullptr) { return Ord(name, TPropKind::Color, nullptr, get, set); }
    template <class G, class S = std::nullptr_t>
    TPropsOf& Enum(const char* name, std::vector<std::string> names, G get, S set = nullptr) {
        return Ord(name, TPropKind::Enum, std::make_shared<const std::vector<std::string>>(std::move(names)), get, set);
    }
    // A set is read and written as a bit mask; bit i is element names[i].
    template <class G, class S = std::nullptr_t>
    TPropsOf& Set(const char* name, std::vector<std::string> names, G get, S set = nullptr) {
        return Ord(name, TPropKind::Set, std::make_shared<const std::vector<std::string>>(std::move(names)), get, set);
    }
    template <class G, class S = std::nullptr_t>
    TPropsOf& Float(const char* name, G get, S set = nullptr) {
        TPropInfo p;
        p.name = name;
        p.kind = TPropKind::Float;
        p.getFloat = [get](TObject* o) { return static_cast<double>(std::invoke(get, static_cast<C*>(o))); };
        if constexpr (!std::is_same_v<S, std::nullptr_t>)
            p.setFloat = [set](TObject* o, double v) { std::invoke(set, static_cast<C*>(o), v); };
        list_.Add(std::move(p));
        return *this;
    }
    template <class G, class S = std::nullptr_t>
    TPropsOf& String(const char* name, G get, S set = nullptr) {
        TPropInfo p;
        p.name = name;
        p.kind = TPropKind::String;
        p.getStr = [get](TObject* o) { return std::string(std::invoke(get, static_cast<C*>(o))); };
        if constexpr (!std::is_same_v<S, std::nullptr_t>)
            p.setStr = [set](TObject* o, const std::string& v) { std::invoke(set, static_cast<C*>(o), v); };
        list_.Add(std::move(p));
        return *this;
    }
    // Object properties (Font, Lines, Picture ...). A setter, when given,
    // usually copies the value (Assign).
    template <class G, class S = std::nullptr_t>
    TPropsOf& Object(const char* name, G get, S set = nullptr) {
        TPropInfo p;
        p.name = name;
        p.kind = TPropKind::Object;
        p.getObj = [get](TObject* o) -> TObject* { return std::invoke(get, static_cast<C*>(o)); };
        if constexpr (!std::is_same_v<S, std::nullptr_t>)
            p.setObj = [set](TObject* o, TObject* v) { std::invoke(set, static_cast<C*>(o), v); };
        list_.Add(std::move(p));
        return *this;
    }
    template <class G, class S = std::nullptr_t>
    TPropsOf& Strings(const char* name, G get, S set = nullptr) {
        TPropInfo p;
        p.name = name;
        p.kind = TPropKind::Strings;
        p.getLines = [get](TObject* o) { return std::vector<std::string>(std::invoke(get, static_cast<C*>(o))); };
        if constexpr (!std::is_same_v<S, std::nullptr_t>)
            p.setLines = [set](TObject* o, const std::vector<std::string>& v) { std::invoke(set, static_cast<C*>(o), v); };
        list_.Add(std::move(p));
        return *this;
    }
    template <class S>
    TPropsOf& Binary(const char* name, S set) {
        TPropInfo p;
        p.name = name;
        p.kind = TPropKind::Binary;
        p.setBinary = [set](TObject* o, const std::vector<std::uint8_t>& v) { std::invoke(set, static_cast<C*>(o), v); };
        list_.Add(std::move(p));
        return *this;
    }
    // `set(C*, count, fill)`: see TPropInfo::setItems.
    template <class S>
    TPropsOf& Collection(const char* name, S set) {
        TPropInfo p;
        p.name = name;
        p.kind = TPropKind::Collection;
        p.setItems = [set](TObject* o, std::size_t count, const TPropInfo::TFillItem& fill) {
            std::invoke(set, static_cast<C*>(o), count, fill);
        };
        list_.Add(std::move(p));
        return *this;
    }
    // An event held in a public std::function member.
    template <class E>
    TPropsOf& Event(const char* name, E C::*field) {
        TPropInfo p;
        p.name = name;
        p.kind = TPropKind::Method;
        p.hasMethod = [field](TObject* o) { return static_cast<bool>(static_cast<C*>(o)->*field); };
        p.bindMethod = [field](TObject* o, const std::any& h) {
            if (!h.has_value()) {
                static_cast<C*>(o)->*field = nullptr;
                return true;
            }
            const E* e = std::any_cast<E>(&h);
            if (!e) return false;
            static_cast<C*>(o)->*field = *e;
            return true;
        };
        list_.Add(std::move(p));
        return *this;
    }

private:
    template <class G, class S>
    TPropsOf& Ord(const char* name, TPropKind kind, std::shared_ptr<const std::vector<std::string>> names, G get, S set) {
        TPropInfo p;
        p.name = name;
        p.kind = kind;
        p.names = std::move(names);
        p.getOrd = [get](TObject* o) { return static_cast<std::int64_t>(std::invoke(get, static_cast<C*>(o))); };
        if constexpr (!std::is_same_v<S, std::nullptr_t>) {
            p.setOrd = [set](TObject* o, std::int64_t v) {
                using Arg = std::remove_cvref_t<decltype(std::invoke(std::declval<G>(), std::declval<C*>()))>;
                std::invoke(set, static_cast<C*>(o), static_cast<Arg>(v));
            };
        }
        list_.Add(std::move(p));
        return *this;
    }

    TPropList& list_;
};

// --- access by name -------------------------------------------------------
// `name` may be a dotted path through object properties ("Font.Color").

// The object that holds the last element of the path and the property;
// {nullptr, nullptr} when any step is missing.
std::pair<TObject*, const TPropInfo*> ResolveProp(TObject* obj, std::string_view path);

bool IsPublishedProp(const TObject* obj, std::string_view path);
std::int64_t GetOrdProp(TObject* obj, std::string_view path, std::int64_t def = 0);
bool SetOrdProp(TObject* obj, std::string_view path, std::int64_t value);
std::string GetStrProp(TObject* obj, std::string_view path);
bool SetStrProp(TObject* obj, std::string_view path, const std::string& value);
double GetFloatProp(TObject* obj, std::string_view path, double def = 0.0);
bool SetFloatProp(TObject* obj, std::string_view path, double value);
TObject* GetObjectProp(TObject* obj, std::string_view path);
bool SetObjectProp(TObject* obj, std::string_view path, TObject* value);
// Enum by element name ("alClient"); empty / false when not an enum.
std::string GetEnumProp(TObject* obj, std::string_view path);
bool SetEnumProp(TObject* obj, std::string_view path, std::string_view element);
// Sets by element names: "[akLeft,akTop]" (brackets and blanks optional).
// Unknown element names make the whole write fail (nothing changes).
std::string GetSetProp(TObject* obj, std::string_view path, bool brackets = true);
bool SetSetProp(TObject* obj, std::string_view path, std::string_view elements);
std::vector<std::string> GetStringsProp(TObject* obj, std::string_view path);
bool SetStringsProp(TObject* obj, std::string_view path, const std::vector<std::string>& lines);
bool IsMethodAssigned(TObject* obj, std::string_view path);
bool SetMethodProp(TObject* obj, std::string_view path, const std::any& handler);

// Parses a set text into a mask against the element names; false on an
// unknown name.
bool ParseSetText(std::string_view text, const std::vector<std::string>& names, std::uint32_t& mask);
std::string SetToText(std::uint32_t mask, const std::vector<std::string>& names, bool brackets);

}  // namespace kova
