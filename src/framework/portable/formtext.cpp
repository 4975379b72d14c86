#include "framework/portable/formtext.h"

#include "framework/portable/colors.h"
#include "framework/portable/scope.h"

#include <cctype>
#include <cstdlib>
#include <map>
#include <set>

namespace kova {

namespace {

constexpr int kMaxDepth = 64;

class Parser {
public:
    explicit Parser(std::string_view t) : t_(t) {}

    TFormNode ParseRoot() {
        SkipBlanks();
        TFormNode n = ParseObject(0);
        SkipBlanks();
        if (pos_ < t_.size()) Fail("text after the final 'end'");
        return n;
    }

private:
    [[noreturn]] void Fail(const std::string& what) const {
        throw EFormReadError("Form description, line " + std::to_string(line_) + ": " + what);
    }

    void SkipBlanks() {
        while (pos_ < t_.size()) {
            char c = t_[pos_];
            if (c == '\n') {
                ++line_;
                ++pos_;
            } else if (std::isspace(static_cast<unsigned char>(c))) {
                ++pos_;
            } else if (c == '/' && pos_ + 1 < t_.size() && t_[pos_ + 1] == '/') {
                while (pos_ < t_.size() && t_[pos_] != '\n') ++pos_;
            } else {
                break;
            }
        }
    }

    static bool IdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

    std::string Ident(bool dotted = false) {
        SkipBlanks();
        size_t start = pos_;
        while (pos_ < t_.size() && (IdentChar(t_[pos_]) || (dotted && t_[pos_] == '.'))) ++pos_;
        if (start == pos_) Fail("name expected");
        return std::string(t_.substr(start, pos_ - start));
    }

    bool PeekWord(std::string_view w) {
        SkipBlanks();
        if (t_.substr(pos_, w.size()).size() != w.size()) return false;
        for (size_t i = 0; i < w.size(); ++i)
            if (std::tolower(static_cast<unsigned char>(t_[pos_ + i])) != w[i]) return false;
        return pos_ + w.size() >= t_.size() || !IdentChar(t_[pos_ + w.size()]);
    }

    void Expect(char c) {
        SkipBlanks();
        if (pos_ >= t_.size() || t_[pos_] != c) Fail(std::string("'") + c + "' expected");
        ++pos_;
    }

    TFormNode ParseObject(int depth) {
        if (depth > kMaxDepth) Fail("components nested too deep");
        if (!PeekWord("object")) Fail("'object' expected");
        pos_ += 6;
        TFormNode n;
        n.line = line_;
        n.name = Ident();
        SkipBlanks();
        if (pos_ < t_.size() && t_[pos_] == ':') {
            ++pos_;
            n.className = Ident();
        } else {
            n.className = n.name;
            n.name.clear();
        }
        for (;;) {
            SkipBlanks();
            if (pos_ >= t_.size()) Fail("'end' expected");
            if (PeekWord("end")) {
                pos_ += 3;
                return n;
            }
            if (PeekWord("object")) {
                n.children.push_back(ParseObject(depth + 1));
                continue;
            }
            TFormProp p;
            p.line = line_;
            p.name = Ident(true);
            Expect('=');
            p.value = ParseValue();
            n.props.push_back(std::move(p));
        }
    }

    std::string ParseStringPiece() {
        std::string out;
        for (;;) {
            SkipBlanks();
            if (pos_ >= t_.size()) Fail("string expected");
            char c = t_[pos_];
            if (c == '\'') {
                ++pos_;
                for (;;) {
                    if (pos_ >= t_.size() || t_[pos_] == '\n') Fail("unterminated string");
                    if (t_[pos_] == '\'') {
                        if (pos_ + 1 < t_.size() && t_[pos_ + 1] == '\'') {
                            out += '\'';
                            pos_ += 2;
                            continue;
                        }
                        ++pos_;
                        break;
                    }
                    out += t_[pos_++];
                }
            } else if (c == '#') {
                ++pos_;
                size_t start = pos_;
                while (pos_ < t_.size() && std::isdigit(static_cast<unsigned char>(t_[pos_]))) ++pos_;
                if (start == pos_ || pos_ - start > 5) Fail("character code expected");
                long code = std::strtol(std::string(t_.substr(start, pos_ - start)).c_str(), nullptr, 10);
                if (code > 255) Fail("character code out of range");
                out += static_cast<char>(code);
            } else {
                return out;
            }
            // Adjacent pieces ('a'#13'b') join directly; '+' continues on.
            if (pos_ < t_.size() && (t_[pos_] == '\'' || t_[pos_] == '#')) continue;
            SkipBlanks();
            if (pos_ < t_.size() && t_[pos_] == '+') {
                ++pos_;
                continue;
            }
            return out;
        }
    }

    // "< item Name = 'a' end item ... end >": the items of a collection.
    void ParseCollection(TFormValue& v) {
        // Items may hold collections: bounded like nested components.
        if (++collectionDepth_ > kMaxDepth) Fail("collections nested too deep");
        ++pos_;
        for (;;) {
            SkipBlanks();
            if (pos_ >= t_.size()) Fail("'>' expected");
            if (t_[pos_] == '>') {
                ++pos_;
                break;
            }
            if (!PeekWord("item")) Fail("'item' or '>' expected");
            pos_ += 4;
            TFormItem item;
            item.line = line_;
            for (;;) {
                SkipBlanks();
                if (pos_ >= t_.size()) Fail("'end' expected");
                if (PeekWord("end")) {
                    pos_ += 3;
                    break;
                }
                TFormProp p;
                p.line = line_;
                p.name = Ident(true);
                Expect('=');
                p.value = ParseValue();
                item.props.push_back(std::move(p));
            }
            v.collection.push_back(std::move(item));
        }
        --collectionDepth_;
    }

    TFormValue ParseValue() {
        SkipBlanks();
        if (pos_ >= t_.size()) Fail("value expected");
        TFormValue v;
        char c = t_[pos_];
        if (c == '<') {
            v.kind = TFormValue::Collection;
            ParseCollection(v);
        } else if (c == '\'' || c == '#') {
            v.kind = TFormValue::String;
            v.s = ParseStringPiece();
        } else if (c == '[') {
            v.kind = TFormValue::Set;
            ++pos_;
            SkipBlanks();
            if (pos_ < t_.size() && t_[pos_] == ']') {
                ++pos_;
                return v;
            }
            for (;;) {
                v.items.push_back(Ident());
                SkipBlanks();
                if (pos_ < t_.size() && t_[pos_] == ',') {
                    ++pos_;
                    continue;
                }
                Expect(']');
                break;
            }
        } else if (c == '(') {
            v.kind = TFormValue::List;
            ++pos_;
            for (;;) {
                SkipBlanks();
                if (pos_ < t_.size() && t_[pos_] == ')') {
                    ++pos_;
                    break;
                }
                v.items.push_back(ParseStringPiece());
            }
        } else if (c == '{') {
            v.kind = TFormValue::Binary;
            ++pos_;
            int nib = -1;
            for (;;) {
                if (pos_ >= t_.size()) Fail("'}' expected");
                char h = t_[pos_++];
                if (h == '}') break;
                if (h == '\n') ++line_;
                if (std::isspace(static_cast<unsigned char>(h))) continue;
                if (!std::isxdigit(static_cast<unsigned char>(h))) Fail("hex digit expected");
                int d = std::isdigit(static_cast<unsigned char>(h)) ? h - '0' : (std::tolower(h) - 'a' + 10);
                if (nib < 0) {
                    nib = d;
                } else {
                    v.bytes.push_back(static_cast<std::uint8_t>(nib * 16 + d));
                    nib = -1;
                }
            }
            if (nib >= 0) Fail("odd number of hex digits");
        } else if (c == '-' || c == '+' || c == '$' || std::isdigit(static_cast<unsigned char>(c))) {
            size_t start = pos_;
            if (c == '-' || c == '+') ++pos_;
            bool hex = pos_ < t_.size() && t_[pos_] == '$';
            if (hex) ++pos_;
            while (pos_ < t_.size() && (std::isxdigit(static_cast<unsigned char>(t_[pos_])) || t_[pos_] == '.' ||
                                        ((t_[pos_] == 'e' || t_[pos_] == 'E') && !hex)))
                ++pos_;
            while (pos_ < t_.size() && IdentChar(t_[pos_])) ++pos_;  // "12x" is one bad token
            std::string num(t_.substr(start, pos_ - start));
            if (!hex && num.find_first_of(".eE") != std::string::npos) {
                v.kind = TFormValue::Float;
                char* end = nullptr;
                v.f = std::strtod(num.c_str(), &end);
                if (*end) Fail("bad number '" + num + "'");
            } else {
                v.kind = TFormValue::Int;
                std::string digits = num;
                bool neg = false;
                if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) {
                    neg = digits[0] == '-';
                    digits.erase(0, 1);
                }
                if (hex) digits.erase(0, 1);
                char* end = nullptr;
                unsigned long long u = std::strtoull(digits.c_str(), &end, hex ? 16 : 10);
                if (digits.empty() || *end) Fail("bad number '" + num + "'");
                v.i = neg ? -static_cast<std::int64_t>(u) : static_cast<std::int64_t>(u);
            }
        } else {
            v.kind = TFormValue::Ident;
            v.s = Ident(true);
        }
        return v;
    }

    std::string_view t_;
    size_t pos_ = 0;
    int line_ = 1;
    int collectionDepth_ = 0;
};

std::map<std::string, TComponentFactory>& Registry() {
    static std::map<std::string, TComponentFactory> r;
    return r;
}

std::map<std::string, std::int64_t>& IntConstants() {
    static std::map<std::string, std::int64_t> r;
    return r;
}

struct Fixup {
    TObject* target;
    std::string prop;
    std::string componentName;
    int line;
};

TFormReadMode g_defaultMode = TFormReadMode::Lenient;

class Reader {
public:
    Reader(TComponent* root, TFormReadMode mode) : root_(root), mode_(mode) {}

    std::vector<std::string> Run(const TFormNode& node) {
        root_->BeginLoading();
        try {
            if (node.className != root_->ClassName())
                Problem(node.line, "the description of " + node.className + " is read into a " + root_->ClassName());
            if (root_->Name().empty() && !node.name.empty()) root_->SetName(node.name);
            ApplyProps(root_, node);
            for (const TFormNode& child : node.children) ReadChild(root_, child);
            for (const Fixup& f : fixups_) {
                TComponent* c = f.componentName == root_->Name() ? root_ : root_->FindComponent(f.componentName);
                if (!c) Fail(f.line, "component " + f.componentName + " not found");
                SetObjectProp(f.target, f.prop, c);
            }
            for (const std::string& field : root_->FieldNames())
                if (!names_.count(field)) Fail(node.line, "no component " + field + " for the field of that name");
            for (const std::string& method : root_->MethodNames())
                if (!usedMethods_.count(method)) Problem(node.line, "no event names the handler " + method);
        } catch (...) {
            // Leave nothing half-loaded behind the exception.
            for (TComponent* c : created_) c->Loaded();
            root_->Loaded();
            throw;
        }
        root_->Loaded();
        for (TComponent* c : created_) c->Loaded();
        return std::move(problems_);
    }

private:
    [[noreturn]] void Fail(int line, const std::string& what) const { throw EFormReadError(Message(line, what)); }
    std::string Message(int line, const std::string& what) const {
        return "Form description of " + root_->ClassName() + ", line " + std::to_string(line) + ": " + what;
    }
    // Something the code does not have: fatal when strict, else noted and
    // skipped.
    void Problem(int line, const std::string& what) {
        if (mode_ == TFormReadMode::Strict) Fail(line, what);
        problems_.push_back(Message(line, what));
    }

    void ReadChild(TComponent* parent, const TFormNode& node) {
        auto it = Registry().find(node.className);
        if (it == Registry().end()) Fail(node.line, "class " + node.className + " not found");
        TComponent* c = it->second(root_);
        c->BeginLoading();
        created_.push_back(c);
        c->SetName(node.name);
        names_.insert(node.name);
        if (!root_->SetField(node.name, c)) Fail(node.line, "field " + node.name + " has another type");
        if (c->HasParent()) c->SetParentComponent(parent);
        ApplyProps(c, node);
        for (const TFormNode& child : node.children) ReadChild(c, child);
    }

    void ApplyProps(TComponent* c, const TFormNode& node) {
        for (const TFormProp& p : node.props) ApplyProp(c, p);
    }

    void ApplyProp(TObject* obj, const TFormProp& p) {
        std::string name = p.name;
        const TFormValue& v = p.value;
        // "Items.Strings = (...)" and "Picture.Data = {...}" address the
        // list or data property itself.
        auto stripSuffix = [&](const char* suffix) {
            std::string s = std::string(".") + suffix;
            if (name.size() > s.size() && name.compare(name.size() - s.size(), s.size(), s) == 0)
                name.erase(name.size() - s.size());
        };
        if (v.kind == TFormValue::List) stripSuffix("Strings");
        if (v.kind == TFormValue::Binary) stripSuffix("Data");
        auto [target, info] = ResolveProp(obj, name);
        if (!info) return Problem(p.line, obj->ClassName() + " has no property " + p.name);
        std::string last = name.substr(name.rfind('.') == std::string::npos ? 0 : name.rfind('.') + 1);
        if (v.kind == TFormValue::Binary && info->kind != TPropKind::Binary) {
            if (const TPropInfo* b = target->ClassInfo().FindProp(last, static_cast<int>(TPropKind::Binary))) info = b;
        }
        if (info->ReadOnly()) return Problem(p.line, "property " + p.name + " of " + obj->ClassName() + " is read-only");
        auto bad = [&]() { Fail(p.line, "invalid value for property " + p.name); };
        switch (info->kind) {
            case TPropKind::Integer: {
                std::int64_t n = 0;
                if (v.kind == TFormValue::Int) {
                    n = v.i;
                } else if (v.kind == TFormValue::Ident && IntConstants().count(v.s)) {
                    n = IntConstants()[v.s];
                } else {
                    bad();
                }
                SetOrdProp(target, last, n);
                break;
            }
            case TPropKind::Bool:
                if (v.kind != TFormValue::Ident) bad();
                if (SameText(v.s, "True"))
                    SetOrdProp(target, last, 1);
                else if (SameText(v.s, "False"))
                    SetOrdProp(target, last, 0);
                else
                    bad();
                break;
            case TPropKind::Color: {
                std::optional<TColor> col;
                if (v.kind == TFormValue::Int) col = static_cast<TColor>(v.i);
                if (v.kind == TFormValue::Ident) col = IdentToColor(v.s);
                if (!col) bad();
                SetOrdProp(target, last, *col);
                break;
            }
            case TPropKind::Enum:
                if (v.kind != TFormValue::Ident || !SetEnumProp(target, last, v.s)) bad();
                break;
            case TPropKind::Set: {
                if (v.kind != TFormValue::Set) bad();
                std::string text;
                for (const auto& e : v.items) text += (text.empty() ? "" : ",") + e;
                if (!SetSetProp(target, last, text)) bad();
                break;
            }
            case TPropKind::Float:
                if (v.kind == TFormValue::Float)
                    SetFloatProp(target, last, v.f);
                else if (v.kind == TFormValue::Int)
                    SetFloatProp(target, last, static_cast<double>(v.i));
                else
                    bad();
                break;
            case TPropKind::String:
                if (v.kind != TFormValue::String) bad();
                SetStrProp(target, last, v.s);
                break;
            case TPropKind::Strings:
                if (v.kind != TFormValue::List) bad();
                SetStringsProp(target, last, v.items);
                break;
            case TPropKind::Binary:
                if (v.kind != TFormValue::Binary || !info->setBinary) bad();
                info->setBinary(target, v.bytes);
                break;
            case TPropKind::Collection:
                if (v.kind != TFormValue::Collection || !info->setItems) bad();
                info->setItems(target, v.collection.size(), [&](TObject* item, std::size_t i) {
                    TFlagScope<bool> inItem(inItem_, true);
                    for (const TFormProp& ip : v.collection[i].props) ApplyProp(item, ip);
                });
                break;
            case TPropKind::Object:
                if (v.kind != TFormValue::Ident) bad();
                // Items move into their collection after reading: a
                // reference resolved later would point at the moved-from item.
                if (inItem_) Fail(p.line, "an item of a collection cannot refer to a component");
                fixups_.push_back({target, last, v.s, p.line});
                break;
            case TPropKind::Method: {
                if (v.kind != TFormValue::Ident) bad();
                const std::any* h = root_->FindMethod(v.s);
                if (!h) Fail(p.line, "method " + v.s + " not found");
                usedMethods_.insert(v.s);
                if (!SetMethodProp(target, last, *h)) Fail(p.line, "method " + v.s + " does not fit " + p.name);
                break;
            }
        }
    }

    TComponent* root_;
    TFormReadMode mode_;
    std::vector<TComponent*> created_;
    std::vector<Fixup> fixups_;
    std::set<std::string> names_;        // of the components created
    std::set<std::string> usedMethods_;  // handlers that some event names
    std::vector<std::string> problems_;  // skipped in lenient mode
    bool inItem_ = false;                // reading the items of a collection
};

}  // namespace

TFormNode ParseFormText(std::string_view text) { return Parser(text).ParseRoot(); }

void RegisterComponentClass(const std::string& className, TComponentFactory factory) {
    Registry()[className] = std::move(factory);
}

bool IsComponentClassRegistered(const std::string& className) { return Registry().count(className) != 0; }

void RegisterIntConstant(const std::string& name, std::int64_t value) { IntConstants()[name] = value; }

void SetDefaultFormReadMode(TFormReadMode mode) { g_defaultMode = mode; }

TFormReadMode DefaultFormReadMode() { return g_defaultMode; }

std::vector<std::string> ReadComponentTree(TComponent* root, const TFormNode& node, TFormReadMode mode) {
    return Reader(root, mode).Run(node);
}

std::vector<std::string> ReadComponentText(TComponent* root, std::string_view text, TFormReadMode mode) {
    return ReadComponentTree(root, ParseFormText(text), mode);
}

}  // namespace kova
