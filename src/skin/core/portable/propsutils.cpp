#include "skin/core/portable/propsutils.h"

#include "framework/portable/props.h"

namespace kova::skin {

namespace {
const TPropInfo* Find(const TObject* obj, const std::string& name) {
    return obj ? obj->ClassInfo().FindProp(name) : nullptr;
}
int SetBit(const TPropInfo* p, const std::string& element) {
    if (!p || p->kind != TPropKind::Set || !p->names) return -1;
    const auto& names = *p->names;
    for (std::size_t i = 0; i < names.size() && i < 32; ++i)
        if (names[i] == element) return static_cast<int>(i);
    return -1;
}
}  // namespace

bool PublishedPropExists(const TObject* obj, const std::string& name) { return Find(obj, name) != nullptr; }

TObject* ObjectPropByName(TObject* obj, const std::string& name) {
    const TPropInfo* p = Find(obj, name);
    return p && p->kind == TPropKind::Object && p->getObj ? p->getObj(obj) : nullptr;
}

std::int64_t OrdPropByName(TObject* obj, const std::string& name) {
    const TPropInfo* p = Find(obj, name);
    return p && p->getOrd ? p->getOrd(obj) : -1;
}

void SetOrdPropByName(TObject* obj, const std::string& name, std::int64_t value) {
    const TPropInfo* p = Find(obj, name);
    if (p && p->setOrd) p->setOrd(obj, value);
}

bool SetPropHasElement(TObject* obj, const std::string& propName, const std::string& elementName) {
    const TPropInfo* p = Find(obj, propName);
    const int bit = SetBit(p, elementName);
    return bit >= 0 && p->getOrd && ((p->getOrd(obj) >> bit) & 1) != 0;
}

bool SetPropToggleElement(TObject* obj, const std::string& propName, const std::string& elementName, bool add) {
    const TPropInfo* p = Find(obj, propName);
    const int bit = SetBit(p, elementName);
    if (bit < 0 || !p->getOrd || !p->setOrd) return false;
    const std::int64_t mask = p->getOrd(obj);
    const std::int64_t changed = add ? (mask | (std::int64_t{1} << bit)) : (mask & ~(std::int64_t{1} << bit));
    if (changed != mask) p->setOrd(obj, changed);
    return false;
}

}  // namespace kova::skin
