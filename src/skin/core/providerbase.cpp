#include "skin/core/providerbase.h"

#include "skin/core/skinmessage.h"
#include "skin/core/skinstate.h"

namespace kova::skin {

TsSkinProviderBase::TsSkinProviderBase(TComponent* owner) : TComponent(owner) {
    Form = dynamic_cast<TCustomForm*>(owner);
    SkinData = std::make_unique<TsCommonData>(this, true);
    SkinData->SetProviderOwned(Form);
}

TsSkinProviderBase::~TsSkinProviderBase() {
    UnregisterForm();
    if (SnapshotForm) SnapshotForm->Free();
}

void TsSkinProviderBase::RegisterForm() {
    if (!Form || formRegistered_) return;
    AddSkinnedForm(Form);
    formRegistered_ = true;
}

void TsSkinProviderBase::UnregisterForm() {
    if (!formRegistered_) return;
    formRegistered_ = false;
    RemoveSkinnedForm(Form);
}

TsSkinProviderBase* ProviderOfForm(TCustomForm* form) {
    if (!form) return nullptr;
    return reinterpret_cast<TsSkinProviderBase*>(
        form->Perform(SkinCommandMessage, SkinCommand(scGetProvider), 0));
}

}  // namespace kova::skin
