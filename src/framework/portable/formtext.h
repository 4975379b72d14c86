// Declarative form descriptions: a text that lists a component tree
// (class, name, properties, event bindings, nested components) and the
// reader that creates it at run time under a root component (a form).
//
//   object KOVAForm1: TKOVAForm1
//     Caption = 'KOVA'#39's'          strings: '...' with '' and #nn, joined by +
//     Left = 10                       integers (also $FF), floats, identifiers
//     Font.Style = [fsBold]           sets
//     OnCreate = FormCreate           events: a handler registered on the root
//     object ListBox1: TListBox
//       Items.Strings = ('a' 'b')     string lists
//     end
//     object Image1: TImage
//       Picture.Data = {424D...}      binary data (hex)
//     end
//     object Manager1: TManager
//       Skins = <                     collections: items of properties
//         item
//           Name = 'One'
//         end>
//     end
//   end
//
// Window-free: the reader works on components and published properties;
// controls take their parent through SetParentComponent.
#pragma once

#include "framework/portable/component.h"

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kova {

class EFormReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TFormItem;

struct TFormValue {
    enum Kind { Int, Float, String, Ident, Set, List, Binary, Collection } kind = Int;
    std::int64_t i = 0;
    double f = 0;
    std::string s;                    // String and Ident
    std::vector<std::string> items;   // Set elements and List strings
    std::vector<std::uint8_t> bytes;  // Binary
    std::vector<TFormItem> collection;  // Collection, in order
};

struct TFormProp {
    std::string name;
    TFormValue value;
    int line = 0;
};

// One item of a collection: its properties.
struct TFormItem {
    std::vector<TFormProp> props;
    int line = 0;
};

struct TFormNode {
    std::string name;
    std::string className;
    std::vector<TFormProp> props;
    std::vector<TFormNode> children;
    int line = 0;
};

// Throws EFormReadError (with the line number) on malformed text.
TFormNode ParseFormText(std::string_view text);

// Class registry used by the reader to create components by class name.
using TComponentFactory = std::function<TComponent*(TComponent* owner)>;
void RegisterComponentClass(const std::string& className, TComponentFactory factory);
template <class T>
void RegisterComponentClass() {
    RegisterComponentClass(T::StaticClass().name, [](TComponent* owner) -> TComponent* { return new T(owner); });
}
bool IsComponentClassRegistered(const std::string& className);

// Integer constants usable by name in descriptions (cursor names ...).
void RegisterIntConstant(const std::string& name, std::int64_t value);

// What reading does with a description that names something the code
// does not have: a property the component does not publish or cannot
// write, a root of another class, a handler the root registered that no
// event names. Strict reading throws; lenient reading skips it and reports
// it. Tests read strictly, so that such a slip fails a test instead of
// costing a user a form.
enum class TFormReadMode { Lenient, Strict };
// The mode of readings that name none (forms reading their description at
// creation); lenient until changed.
void SetDefaultFormReadMode(TFormReadMode mode);
TFormReadMode DefaultFormReadMode();

// Reads the description into `root`: the root's own properties, then every
// nested component (created with root as owner, bound to the root's field
// of the same name, parented to the enclosing component). Component
// references are resolved after all exist; then Loaded runs on the root and
// on every created component in creation order. Returns what lenient
// reading skipped, one message each (nothing in strict mode).
//
// Whatever the mode, these throw: an unknown class, a value that does not
// fit its property, an event naming a handler the root did not register,
// and a field of the root that no component fills (the code that bound the
// field uses it without asking).
std::vector<std::string> ReadComponentTree(TComponent* root, const TFormNode& node,
                                           TFormReadMode mode = DefaultFormReadMode());
std::vector<std::string> ReadComponentText(TComponent* root, std::string_view text,
                                           TFormReadMode mode = DefaultFormReadMode());

}  // namespace kova
