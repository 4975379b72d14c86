// The root of the framework's class tree: every component and control knows
// its framework class name and its parent class, so that code can test
// "is-a" by name (the skinning engine matches controls by class name) and
// read or write published properties by name.
#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kova {

class TObject;
struct TPropInfo;
class TPropList;

// One node of the framework class tree. Instances are function-local
// statics created by the KOVA_CLASS macros below.
struct TClassInfo {
    const char* name;
    const TClassInfo* parent;
    void (*defineProps)(TPropList&);

    bool InheritsFrom(const TClassInfo& other) const;
    bool InheritsFrom(std::string_view className) const;
    // Properties declared by this class only (lazily built on first use).
    const std::vector<TPropInfo>& OwnProps() const;
    // Looks the property up here and in the ancestors; nullptr when missing.
    const TPropInfo* FindProp(std::string_view name) const;
    // The same, for a property of one kind (a name may be published both
    // as an object and as its stored data).
    const TPropInfo* FindProp(std::string_view name, int kind) const;
    // All properties, ancestors first.
    std::vector<const TPropInfo*> AllProps() const;
};

class TObject {
public:
    virtual ~TObject() = default;
    static const TClassInfo& StaticClass();
    virtual const TClassInfo& ClassInfo() const { return StaticClass(); }

    std::string ClassName() const { return ClassInfo().name; }
    bool ClassNameIs(std::string_view name) const { return ClassInfo().name == name; }
    // True when this object's class is `className` or descends from it.
    bool InheritsFrom(std::string_view className) const { return ClassInfo().InheritsFrom(className); }
    template <class T>
    bool Is() const { return ClassInfo().InheritsFrom(T::StaticClass()); }
};

}  // namespace kova

// Declares the framework class of Cls (a direct descendant of Base). The
// variant with _PROPS expects `static void DefineProps(TPropList&)` in Cls.
#define KOVA_CLASS_IMPL(Cls, Base, Props)                                                  \
public:                                                                                    \
    static const ::kova::TClassInfo& StaticClass() {                                      \
        static const ::kova::TClassInfo info{#Cls, &Base::StaticClass(), Props};           \
        return info;                                                                       \
    }                                                                                      \
    const ::kova::TClassInfo& ClassInfo() const override { return StaticClass(); }        \
                                                                                           \
private:

#define KOVA_CLASS(Cls, Base) KOVA_CLASS_IMPL(Cls, Base, nullptr)
#define KOVA_CLASS_PROPS(Cls, Base) KOVA_CLASS_IMPL(Cls, Base, &Cls::DefineProps)
