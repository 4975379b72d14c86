// A first cut: the settings and the default manager. Applying skins to
// forms, the hooks and the editor preview follow.
#include "skin/core/skinmanager.h"

namespace kova::skin {

TsSkinManager* DefaultManager = nullptr;
bool SkinChanging = false;

TsSkinManager::TsSkinManager(TComponent* owner) : TComponent(owner) {
    if (!DefaultManager) DefaultManager = this;
}

TsSkinManager::~TsSkinManager() {
    if (DefaultManager == this) DefaultManager = nullptr;
}

void TsSkinManager::BeforeDestruction() { TComponent::BeforeDestruction(); }
void TsSkinManager::Loaded() { TComponent::Loaded(); }

void TsSkinManager::SetActive(bool value) { model_.SetActive(value); }
void TsSkinManager::SetSkinName(const std::string& value) { model_.SetSkinName(value); }
void TsSkinManager::SetSkinDirectory(const std::string& value) { model_.SkinDirectory = value; }
bool TsSkinManager::IsDefault() const { return DefaultManager == this; }
void TsSkinManager::SetIsDefault(bool value) {
    if (value) DefaultManager = this;
}
bool TsSkinManager::ExtendedBorders() const { return model_.ExtendedBorders; }
void TsSkinManager::SetExtendedBorders(bool value) { model_.ExtendedBorders = value; }
void TsSkinManager::SetSkinnedPopups(bool value) { skinnedPopups_ = value; }
void TsSkinManager::SetHueOffset(std::int32_t value) { model_.SetHueOffset(value); }
void TsSkinManager::SetSaturation(std::int32_t value) { model_.SetSaturation(value); }
void TsSkinManager::SetCommonSections(const std::vector<std::string>& lines) { model_.SetCommonSections(lines); }
bool TsSkinManager::Unloading() const { return IsDestroying(); }
void TsSkinManager::BeginUpdate() { updatePending_ = true; }
void TsSkinManager::EndUpdate(bool, bool) { updatePending_ = false; }
void TsSkinManager::SetHotControl(HWND wnd) { hotControl_ = wnd; }
void TsSkinManager::SetHotGraphicControl(TControl* control) { hotGraphic_ = control; }
void TsSkinManager::InstallThreadHook() {}
void TsSkinManager::RemoveThreadHook() {}
bool TsSkinManager::ThreadHookInstalled() const { return false; }
bool TsSkinManager::ApplicationWindowHook(TMessage&) { return false; }
void TsSkinManager::ApplyEditorCopyData(TMessage&) {}

void ApplySkinToAllForms(TsSkinManager*, bool) {}
void RemoveSkinFromAllForms(TsSkinManager*) {}
void RepaintAllForms(TsSkinManager*, bool) {}

}  // namespace kova::skin
