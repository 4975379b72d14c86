#include "skin/core/managerforms.h"

#include <cstring>
#include <exception>
#include <optional>
#include <utility>

#include "framework/forms.h"
#include "framework/portable/scope.h"
#include "skin/core/animations.h"
#include "skin/core/commondata.h"
#include "skin/core/dc/dcroutines.h"
#include "skin/core/glow.h"
#include "skin/core/providerbase.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinnedforms.h"
#include "skin/core/skinservices.h"
#include "skin/core/skinstate.h"

namespace kova::skin {

namespace {

TMessage SkinCommandFor(int subCode, TsSkinManager* manager) {
    return TMessage{SkinCommandMessage, SkinCommand(subCode), reinterpret_cast<LPARAM>(manager), 0};
}

void SendToAllForms(int subCode, TsSkinManager* manager) {
    TMessage m = SkinCommandFor(subCode, manager);
    BroadcastToAllForms(m);
}

// The main form's provider when the main form is visible and skinned.
TsSkinProviderBase* VisibleSkinnedMainForm() {
    TCustomForm* main = Application()->MainForm();
    if (!main || !main->HandleAllocated() || !IsWindowVisible(main->Handle())) return nullptr;
    return ProviderOfForm(main);
}

// Runs f with the system's minimise and restore animation switched off.
template <class F>
void WithoutSystemAnimation(F f) {
    ANIMATIONINFO info{sizeof(ANIMATIONINFO), 0};
    const bool got = SystemParametersInfoA(SPI_GETANIMATION, sizeof info, &info, 0) != 0;
    const int was = info.iMinAnimate;
    if (got && was) {
        info.iMinAnimate = 0;
        SystemParametersInfoA(SPI_SETANIMATION, sizeof info, &info, 0);
    }
    TScopeExit restore([&] {
        if (got && was) {
            info.iMinAnimate = was;
            SystemParametersInfoA(SPI_SETANIMATION, sizeof info, &info, 0);
        }
    });
    f();
}

// A zero-terminated string of a fixed-width field; one without its
// terminator ends at the field's end.
std::string FieldString(const std::uint8_t* field, std::size_t width) {
    const void* nul = std::memchr(field, 0, width);
    const std::size_t n = nul ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - field) : width;
    return std::string(reinterpret_cast<const char*>(field), n);
}

}  // namespace

void TsSkinManager::Loaded() {
    TComponent::Loaded();
    if (model_.SkinDirectory.empty()) model_.SkinDirectory = "c:\\Skins";
    if (MenuSupport.IcoLineSkin.empty()) MenuSupport.IcoLineSkin = "ICOLINE";
    UpdateThirdPartyLists();
    model_.DeferLoads = false;
    // The stored values were only stored: the skin is loaded once, here.
    if (!Active() || SkinName().empty()) return;
    {
        TSkinChangeScope changing;
        model_.SetSkinName(SkinName());
    }
    if (Active()) ApplySkinToAllForms(this, false);
    else RemoveSkinFromAllForms(this);
}

void TsSkinManager::BeforeDestruction() {
    unloading_ = true;
    if (hotGraphic_) hotGraphic_->RemoveFreeNotification(this);
    hotGraphic_ = nullptr;
    try {
        SetActive(false);
    } catch (const std::exception&) {
        // Going away: nothing left to show the error on.
    }
    model_.ExtendedBorders = false;
    if (IsDefault()) {
        RemoveThreadHook();
        MakeDefault(nullptr);
    }
    if (hookedAppWindow_) {
        Application()->UnhookMainWindow(this);
        hookedAppWindow_ = false;
    }
    TComponent::BeforeDestruction();
}
void TsSkinManager::SetIsDefault(bool value) {
    if (!value || IsDefault()) return;
    MakeDefault(this);
    if (IsLoading()) return;
    if (Active()) ApplySkinToAllForms(this, true);
    else RemoveSkinFromAllForms(this);
}

// ------------------------------------------------------------- loading

void TsSkinManager::SetSkinName(const std::string& value) {
    if (!Active() || IsLoading()) {
        TFlagScope defer(model_.DeferLoads, true);
        model_.SetSkinName(value);
        return;
    }
    if (OnBeforeChange) OnBeforeChange(this);
    // Whatever happens below (an exception included), forms frozen for the
    // change are given back their painting.
    const bool freeze = ExtendedBorders() && !updatePending_ && model_.AnimEffects.SkinChanging.Active;
    TScopeExit unfreeze([this, freeze] {
        if (freeze) UnfreezeForms();
    });
    if (freeze) FreezeFormsForSkinChange(this);
    {
        TSkinChangeScope changing;
        model_.SkinEdited = SkinEdited;
        // A failed load has shown its message and kept the previous skin
        // whole: the forms below are told of whichever skin is in force.
        model_.SetSkinName(value);
        if (!Active()) RemoveSkinFromAllForms(this);
        else if (!updatePending_) ApplySkinToAllForms(this, true);
    }
    if (OnAfterChange) OnAfterChange(this);
}

// The repaint after a load unlocks the forms it locked; forms left frozen
// (the load switched the skin off, an update is pending, something threw)
// are given back their painting here.
void TsSkinManager::UnfreezeForms() noexcept {
    if (IsDefault()) EndSkinChangeAnimating();
    for (TCustomForm* form : SkinnedForms()) {
        if (!form || form->IsDestroying()) continue;
        TsSkinProviderBase* provider = ProviderOfForm(form);
        if (!provider || !provider->SkinData || provider->SkinData->GetSkinManager() != this) continue;
        if (!provider->InAnimation && !(provider->FormState & (kSkinChangeImage | kRepaintLocked))) continue;
        const bool locked = provider->FormState & kRepaintLocked;
        provider->InAnimation = 0;
        provider->FormState &= ~(kSkinChangeImage | kRepaintLocked);
        provider->FormImage.reset();
        if (form->HandleAllocated()) {
            if (locked) SendMessageA(form->Handle(), WM_SETREDRAW, 1, 0);
            RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        }
    }
}

void TsSkinManager::SetActive(bool value) {
    if (value == Active()) return;
    if (!value) {
        model_.SetActive(false);
        if (!IsLoading()) RemoveSkinFromAllForms(this);
        return;
    }
    {
        TFlagScope defer(model_.DeferLoads, true);
        model_.SetActive(true);
    }
    SetSkinName(SkinName());
}

// A setting the model reloads the skin for: reloaded and repainted while
// active and not being read, else only stored.
void TsSkinManager::ChangeReloading(const std::function<void()>& change) {
    const bool reload = Active() && !IsLoading();
    TFlagScope defer(model_.DeferLoads, !reload);
    std::optional<TSkinChangeScope> changing;
    if (reload) changing.emplace();
    change();
    if (reload && !updatePending_) RepaintAllForms(this, true);
}

void TsSkinManager::SetHueOffset(std::int32_t value) {
    ChangeReloading([&] { model_.SetHueOffset(value); });
}

void TsSkinManager::SetSaturation(std::int32_t value) {
    ChangeReloading([&] { model_.SetSaturation(value); });
}

void TsSkinManager::SetExtendedBorders(bool value) {
    model_.ExtendedBorders = value;
    if (!Active() || IsLoading() || !model_.SkinData().Active) return;
    {
        TSkinChangeScope changing;
        model_.ReloadSkin();
    }
    if (!updatePending_) RepaintAllForms(this, true);
}

void TsSkinManager::SetCommonSections(const std::vector<std::string>& lines) {
    {
        TFlagScope defer(model_.DeferLoads, true);
        model_.SetCommonSections(lines);
    }
    if (!IsLoading()) SetSkinName(SkinName());
}

void TsSkinManager::EndUpdate(bool repaint, bool allowAnimation) {
    updatePending_ = false;
    if (!Active()) return;
    bool& animate = model_.AnimEffects.SkinChanging.Active;
    TFlagScope noAnimation(animate, allowAnimation ? animate : false);
    ApplySkinToAllForms(this, repaint);
}

// ------------------------------------------------------- telling the forms

void ApplySkinToAllForms(TsSkinManager* manager, bool allowAnimation) {
    if (!manager || manager->IsLoading()) return;
    ClearGlows();
    if (allowAnimation) LockFormsRepaint(manager);
    if (FormSkinning().MenusFromSkin) FormSkinning().MenusFromSkin(manager);
    SendToAllForms(scSkinApplied, manager);
    if (manager->IsDefault() && !manager->ThreadHookInstalled()) manager->InstallThreadHook();
    if (allowAnimation) RepaintAllForms(manager, true);
}

void RemoveSkinFromAllForms(TsSkinManager* manager) {
    if (!manager) return;
    TFlagScope unloading(manager->unloading_, true);
    ClearGlows();
    manager->RemoveThreadHook();
    SendToAllForms(scSkinRemoved, manager);
}

void RepaintAllForms(TsSkinManager* manager, bool allowAnimation) {
    if (!manager) return;
    TSkinChangeScope changing;
    SendToAllForms(scBeforeRepaintAll, manager);
    if (manager->IsLoading()) {
        SendToAllForms(scRefresh, manager);
    } else {
        if (allowAnimation) LockFormsRepaint(manager);
        SendToAllForms(scRefresh, manager);
        UnlockFormsRepaint(manager, true);
    }
    for (TacProviderBase* provider : DialogProviders())
        if (TacDialogWndBase* dialog = DialogOf(provider); dialog && dialog->CtrlHandle && IsWindowVisible(dialog->CtrlHandle))
            RedrawWindow(dialog->CtrlHandle, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TsSkinManager::SetHotGraphicControl(TControl* control) {
    if (control == hotGraphic_) return;
    if (!control && hotGraphic_) {
        auto* data = reinterpret_cast<TsCommonData*>(SendSkinCommandToControl(hotGraphic_, scGetSkinData, 0));
        if (data && data->MouseAbove) return;  // the mouse is still above it
    }
    TControl* replaced = hotGraphic_;
    if (replaced) replaced->RemoveFreeNotification(this);
    hotGraphic_ = nullptr;
    if (control && hotControl_) SetHotControl(nullptr);
    hotGraphic_ = control;
    if (control) control->FreeNotification(this);
    if (replaced) SendSkinCommandToControl(replaced, scHotLeave, reinterpret_cast<LPARAM>(this));
}

void TsSkinManager::WaitForHideAnimation() {
    // The animation's timer ends it on this thread; a timer that stopped
    // must not hang the program, so the wait ends after the animation's
    // own time and a margin.
    const DWORD limit = model_.AnimEffects.FormHide.Time + kHideWaitMargin;
    if (HideAnimationRunning()) WaitWithMessages(limit, [] { return !HideAnimationRunning(); });
}

bool TsSkinManager::ApplicationWindowHook(TMessage& m) {
    const bool skinActive = Active() && model_.SkinData().Active;
    switch (m.Msg) {
        case CM_ACTIVATE: {
            TScreen* screen = Screen();
            for (int i = screen->FormCount() - 1; i >= 0; --i) {
                if (i >= screen->FormCount()) continue;
                TCustomForm* form = screen->Forms(i);
                if (form->HandleAllocated()) SendSkinCommand(form->Handle(), scScreenFormNotify, 0);
            }
            return false;
        }
        case PopupMenuItemShownMessage:
        case PopupMenuWindowShownMessage:
            // The menu item or window travels in LParam, where the menus
            // put it.
            if (skinnedPopups_ && FormSkinning().PopupMenuShown) FormSkinning().PopupMenuShown(m.Msg, m.LParam);
            return skinnedPopups_;
        case WM_WINDOWPOSCHANGED: {
            const auto* pos = reinterpret_cast<const WINDOWPOS*>(m.LParam);
            const auto& hide = model_.AnimEffects.FormHide;
            if (!pos || !(pos->flags & SWP_HIDEWINDOW) || !LayeredWindowsAvailable() || !hide.Active ||
                hide.Time == 0 || IsIconic(Application()->Handle()) || lastSysCommand_ == 2)
                return false;
            TsSkinProviderBase* provider = VisibleSkinnedMainForm();
            if (!provider || !skinActive) return false;
            hiddenByHidePath_ = true;
            AnimateFormHide(provider);
            WaitForHideAnimation();
            return false;
        }
        case WM_SYSCOMMAND: {
            if (!skinActive) return false;
            const WPARAM command = m.WParam & 0xFFF0;
            if (command == SC_MINIMIZE) {
                lastSysCommand_ = 2;
                TsSkinProviderBase* provider = VisibleSkinnedMainForm();
                if (!provider) return false;
                if (model_.AnimEffects.Minimizing.Active) provider->StartMinimizing();
                const bool dwm = DwmCompositionEnabled();
                if (dwm) Application()->Minimize();
                else WithoutSystemAnimation([] { Application()->Minimize(); });
                return true;
            }
            if (command == SC_RESTORE) {
                lastSysCommand_ = 1;
                TCustomForm* main = Application()->MainForm();
                TsSkinProviderBase* provider = main ? ProviderOfForm(main) : nullptr;
                if (!provider) return false;
                if (hiddenByHidePath_ && main->HandleAllocated()) {
                    hiddenByHidePath_ = false;
                    ShowWindow(main->Handle(), SW_SHOWNA);
                }
                bool restoring = false;
                if (model_.AnimEffects.Minimizing.Active) restoring = provider->StartRestoring();
                WithoutSystemAnimation([] { Application()->Restore(); });
                if (!restoring && main->HandleAllocated())
                    RedrawWindow(main->Handle(), nullptr, nullptr,
                                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
                return true;
            }
            lastSysCommand_ = 0;
            return false;
        }
        case WM_THEMECHANGED:
            return true;
        case WM_DWMSENDICONICTHUMBNAIL:
        case WM_DWMSENDICONICLIVEPREVIEWBITMAP: {
            // The application window's button shows the main form's look
            // when the previews are on; off, the system's own picture.
            TCustomForm* main = Application()->MainForm();
            TsSkinProviderBase* provider = TaskbarPreviews && main ? ProviderOfForm(main) : nullptr;
            if (!provider) return false;
            const HWND wnd = Application()->Handle();
            const bool taken = m.Msg == WM_DWMSENDICONICTHUMBNAIL
                                   ? provider->SetIconicThumbnail(wnd, HIWORD(m.LParam), LOWORD(m.LParam))
                                   : provider->SetIconicLivePreview(wnd);
            m.Result = taken ? 1 : 0;
            return true;
        }
        default:
            return false;
    }
}

void TsSkinManager::ApplyEditorCopyData(TMessage& m) {
    if (m.Msg != WM_COPYDATA || m.WParam != 7) return;
    const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(m.LParam);
    if (!cds || !cds->lpData || cds->cbData != kEditorRecordSize) return;
    const auto* record = static_cast<const std::uint8_t*>(cds->lpData);
    std::uint32_t id;
    std::memcpy(&id, record, sizeof id);
    if (id != kEditorRecordId) return;
    const std::string name = FieldString(record + kEditorNameOffset, kEditorNameSize);
    const std::string directory = FieldString(record + kEditorDirOffset, kEditorDirSize);
    std::string text = FieldString(record + kEditorTextOffset, kEditorTextSize);

    SkinEdited = true;
    BeginUpdate();
    model_.EditorText = std::move(text);
    TScopeExit done([this] {
        model_.EditorText.reset();
        if (updatePending_) updatePending_ = false;
    });
    SetSkinDirectory(directory);
    SetSkinName(name);
    EndUpdate(false, false);
    m.Result = 1;
}

}  // namespace kova::skin
