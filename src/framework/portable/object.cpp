#include "framework/portable/object.h"

#include "framework/portable/props.h"

#include <map>

namespace kova {

const TClassInfo& TObject::StaticClass() {
    static const TClassInfo info{"TObject", nullptr, nullptr};
    return info;
}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
    for (const TClassInfo* c = this; c; c = c->parent)
        if (c == &other) return true;
    return false;
}

bool TClassInfo::InheritsFrom(std::string_view className) const {
    for (const TClassInfo* c = this; c; c = c->parent)
        if (className == c->name) return true;
    return false;
}

const std::vector<TPropInfo>& TClassInfo::OwnProps() const {
    // Built once per class on first use; the GUI thread is the only user.
    static std::map<const TClassInfo*, std::vector<TPropInfo>> cache;
    auto it = cache.find(this);
    if (it != cache.end()) return it->second;
    std::vector<TPropInfo> props;
    if (defineProps) {
        TPropList list(props);
        defineProps(list);
    }
    return cache.emplace(this, std::move(props)).first->second;
}

const TPropInfo* TClassInfo::FindProp(std::string_view name) const {
    for (const TClassInfo* c = this; c; c = c->parent)
        for (const TPropInfo& p : c->OwnProps())
            if (p.name == name) return &p;
    return nullptr;
}

const TPropInfo* TClassInfo::FindProp(std::string_view name, int kind) const {
    for (const TClassInfo* c = this; c; c = c->parent)
        for (const TPropInfo& p : c->OwnProps())
            if (p.name == name && static_cast<int>(p.kind) == kind) return &p;
    return nullptr;
}

std::vector<const TPropInfo*> TClassInfo::AllProps() const {
    std::vector<const TClassInfo*> chain;
    for (const TClassInfo* c = this; c; c = c->parent) chain.insert(chain.begin(), c);
    std::vector<const TPropInfo*> out;
    for (const TClassInfo* c : chain)
        for (const TPropInfo& p : c->OwnProps()) {
            bool overridden = false;
            for (auto& q : out)
                if (q->name == p.name) { q = &p; overridden = true; }
            if (!overridden) out.push_back(&p);
        }
    return out;
}

}  // namespace kova
