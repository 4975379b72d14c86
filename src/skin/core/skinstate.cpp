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

namespace {
int paintingSuspended = 0;
int busy = 0;
}  // namespace

bool PaintingSuspended() { return paintingSuspended > 0; }
TPaintingSuspendedScope::TPaintingSuspendedScope() { ++paintingSuspended; }
TPaintingSuspendedScope::~TPaintingSuspendedScope() { --paintingSuspended; }

bool SkinShuttingDown = false;
int SkinBusyCount() { return busy; }
TSkinBusyScope::TSkinBusyScope() { ++busy; }
TSkinBusyScope::~TSkinBusyScope() { --busy; }

}  // namespace kova::skin
