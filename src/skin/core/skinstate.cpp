#include "skin/core/skinstate.h"

namespace kova::skin {

std::vector<TCustomForm*>& SkinnedForms() {
    static std::vector<TCustomForm*> forms;
    return forms;
}

void AddSkinnedForm(TCustomForm* form) { SkinnedForms().push_back(form); }

void RemoveSkinnedForm(TCustomForm* form) {
    auto& list = SkinnedForms();
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i] != form) continue;
        list[i] = list.back();
        list.back() = nullptr;
        list.pop_back();
    }
}

}  // namespace kova::skin
