#include "skin/core/skinnedforms.h"

#include <algorithm>

#include "skin/core/provider.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"

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

// Freezing and animating come next; for now the forms are redrawn whole.
void FreezeFormsForSkinChange(TsSkinManager*) {}
void LockFormsRepaint(TsSkinManager*) {}
void UnlockFormsRepaint(TsSkinManager*, bool) {}

namespace {
void SendToFormTree(TCustomForm* form, TMessage& m) {
    if (form->HandleAllocated()) SendMessageA(form->Handle(), m.Msg, m.WParam, m.LParam);
    BroadcastToAllControls(form, m);
}
}  // namespace

void BroadcastToAllForms(TMessage& m) {
    TApplication* app = Application();
    for (int i = app->ComponentCount() - 1; i >= 0; --i) {
        // A handler may free forms: stop when the list has shrunk past us.
        if (i >= app->ComponentCount()) return;
        auto* form = dynamic_cast<TForm*>(app->Components(i));
        if (!form || form->FormStyle() == fsMDIChild || form->IsDestroying() || form->IsLoading()) continue;
        if (form->HandleAllocated() && SkinCommandAnswered(form->Handle(), scQuerySupport)) continue;
        SendToFormTree(form, m);
    }
    BroadcastToSkinnedForms(m);
}

void BroadcastToSkinnedForms(TMessage& m) {
    auto& list = SkinnedForms();
    for (std::size_t i = 0; i < list.size(); ++i) {
        TCustomForm* form = list[i];
        if (!form || form->IsDestroying()) continue;
        SendToFormTree(form, m);
    }
    for (TacDialogWnd* dialog : HookedDialogs())
        if (dialog->CtrlHandle && IsWindowVisible(dialog->CtrlHandle))
            SendMessageA(dialog->CtrlHandle, m.Msg, m.WParam, m.LParam);
}

}  // namespace kova::skin
