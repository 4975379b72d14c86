#include "framework/portable/props.h"

#include <cctype>

namespace kova {

namespace {

bool IsOrdinal(TPropKind k) {
    return k == TPropKind::Integer || k == TPropKind::Bool || k == TPropKind::Color || k == TPropKind::Enum ||
           k == TPropKind::Set;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

}  // namespace

std::pair<TObject*, const TPropInfo*> ResolveProp(TObject* obj, std::string_view path) {
    while (obj) {
        size_t dot = path.find('.');
        std::string_view head = path.substr(0, dot);
        const TPropInfo* p = obj->ClassInfo().FindProp(head);
        if (!p) return {nullptr, nullptr};
        if (dot == std::string_view::npos) return {obj, p};
        if (p->kind != TPropKind::Object || !p->getObj) return {nullptr, nullptr};
        obj = p->getObj(obj);
        path.remove_prefix(dot + 1);
    }
    return {nullptr, nullptr};
}

bool IsPublishedProp(const TObject* obj, std::string_view path) {
    return ResolveProp(const_cast<TObject*>(obj), path).second != nullptr;
}

std::int64_t GetOrdProp(TObject* obj, std::string_view path, std::int64_t def) {
    auto [o, p] = ResolveProp(obj, path);
    if (!p || !IsOrdinal(p->kind) || !p->getOrd) return def;
    return p->getOrd(o);
}

bool SetOrdProp(TObject* obj, std::string_view path, std::int64_t value) {
    auto [o, p] = ResolveProp(obj, path);
    if (!p || !IsOrdinal(p->kind) || !p->setOrd) return false;
    if (p->kind == TPropKind::Enum && p->names && (value < 0 || value >= static_cast<std::int64_t>(p->names->size())))
        return false;
    p->setOrd(o, value);
    return true;
}

std::string GetStrProp(TObject* obj, std::string_view path) {
    auto [o, p] = ResolveProp(obj, path);
    if (!p || p->kind != TPropKind::String || !p->getStr) return {};
    return p->getStr(o);
}

bool SetStrProp(TObject* obj, std::string_view path, const std::string& value) {
    auto [o, p] = ResolveProp(obj, path);
    if (!p || p->kind != TPropKind::String || !p->setStr) return false;
    p->setStr(o, value);
    return true;
}

double GetFloatProp(TObject* obj, std::string_view path, double def) {
    auto [o, p] = ResolveProp(obj, path);
    if (!p || p->kind != TPropKind::Float || !p->getFloat) return def;
    return p->getFloat(o);
}

bool SetFloatProp(TObject* obj, std::string_view path, double value) {
    auto [o, p] = ResolveProp(obj, path);
    if (!p || p->kind != TPropKind::Float || !p->setFloat) return false;
    p->setFloat(o, value);
    return true;
}

TObject* GetObjectProp(TObject* obj, std::string_view path) {
    auto [o, p] = ResolveProp(obj, path);
    if (!p || p->kind != TPropKind::Object || !p->getObj) return nullptr;
    return p->getObj(o);
}

bool SetObjectProp(TObject* obj, std::string_view path, TObject* value) {
    auto [o, p] = ResolveProp(obj, path);
    if (!p || p->kind != TPropKind::Object || !p->setObj) return false;
    p->setObj(o, value);
    return true;
}

std::string GetEnumProp(TObject* obj, std::string_view path) {
    auto [o, p] = ResolveProp(obj, path);
    if (!p || p->kind != TPropKind::Enum || !p->getOrd || !p->names) return {};
    std::int64_t v = p->getOrd(o);
    if (v < 0 || v >= static_cast<std::int64_t>(p->names->size())) return {};
    return (*p->names)[static_cast<size_t>(v)];
}

bool SetEnumProp(TObject* obj, std::string_view path, std::string_view element) {
    auto [o, p] = ResolveProp(obj, path);
    if (!p || p->kind != TPropKind::Enum || !p->setOrd || !p->names) return false;
    element = Trim(element);
    for (size_t i = 0; i < p->names->size(); ++i)
        if ((*p->names)[i] == element) {
            p->setOrd(o, static_cast<std::int64_t>(i));
            return true;
        }
    return false;
}

bool ParseSetText(std::string_view text, const std::vector<std::string>& names, std::uint32_t& mask) {
    text = Trim(text);
    if (!text.empty() && text.front() == '[') text.remove_prefix(1);
    if (!text.empty() && text.back() == ']') text.remove_suffix(1);
    std::uint32_t m = 0;
    while (!Trim(text).empty()) {
        size_t comma = text.find(',');
        std::string_view item = Trim(text.substr(0, comma));
        bool found = false;
        for (size_t i = 0; i < names.size() && i < 32; ++i)
            if (names[i] == item) {
                m |= 1u << i;
                found = true;
            }
        if (!found) return false;
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    mask = m;
    return true;
}

std::string SetToText(std::uint32_t mask, const std::vector<std::string>& names, bool brackets) {
    std::string out;
    for (size_t i = 0; i < names.size() && i < 32; ++i)
        if (mask & (1u << i)) {
            if (!out.empty()) out += ',';
            out += names[i];
        }
    return brackets ? "[" + out + "]" : out;
}

std::string GetSetProp(TObject* obj, std::string_view path, bool brackets) {
    auto [o, p] = ResolveProp(obj, path);
    if (!p || p->kind != TPropKind::Set || !p->getOrd || !p->names) return {};
    return SetToText(static_cast<std::uint32_t>(p->getOrd(o)), *p->names, brackets);
}

bool SetSetProp(TObject* obj, std::string_view path, std::string_view elements) {
    auto [o, p] = ResolveProp(obj, path);
    if (!p || p->kind != TPropKind::Set || !p->setOrd || !p->names) return false;
    std::uint32_t mask = 0;
    if (!ParseSetText(elements, *p->names, mask)) return false;
    p->setOrd(o, mask);
    return true;
}

std::vector<std::string> GetStringsProp(TObject* obj, std::string_view path) {
    auto [o, p] = ResolveProp(obj, path);
    if (!p || p->kind != TPropKind::Strings || !p->getLines) return {};
    return p->getLines(o);
}

bool SetStringsProp(TObject* obj, std::string_view path, const std::vector<std::string>& lines) {
    auto [o, p] = ResolveProp(obj, path);
    if (!p || p->kind != TPropKind::Strings || !p->setLines) return false;
    p->setLines(o, lines);
    return true;
}

bool IsMethodAssigned(TObject* obj, std::string_view path) {
    auto [o, p] = ResolveProp(obj, path);
    if (!p || p->kind != TPropKind::Method || !p->hasMethod) return false;
    return p->hasMethod(o);
}

bool SetMethodProp(TObject* obj, std::string_view path, const std::any& handler) {
    auto [o, p] = ResolveProp(obj, path);
    if (!p || p->kind != TPropKind::Method || !p->bindMethod) return false;
    return p->bindMethod(o, handler);
}

}  // namespace kova
