#include "skin/core/skinmanager.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <exception>
#include <utility>

#include "framework/portable/formtext.h"
#include "skin/core/animations.h"
#include "skin/core/commondata.h"
#include "skin/core/dcpaint.h"
#include "skin/core/formsseam.h"
#include "skin/core/glow.h"
#include "skin/core/msgbox.h"
#include "skin/core/provider.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinnedforms.h"
#include "skin/core/sysutils.h"

namespace kova::skin {

TsSkinManager* DefaultManager = nullptr;
bool SkinChanging = false;
bool SkinEdited = false;

namespace {

// The WH_CBT hook of the GUI thread; one for the program.
HHOOK g_threadHook = nullptr;

// Runs a function when the scope ends, however it ends.
template <class F>
class TScopeExit {
public:
    explicit TScopeExit(F f) : f_(std::move(f)) {}
    ~TScopeExit() { f_(); }
    TScopeExit(const TScopeExit&) = delete;
    TScopeExit& operator=(const TScopeExit&) = delete;

private:
    F f_;
};

// Sets a flag for the scope and gives it back its value afterwards.
class TFlagScope {
public:
    TFlagScope(bool& flag, bool value) : flag_(flag), saved_(flag) { flag_ = value; }
    ~TFlagScope() { flag_ = saved_; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& flag_;
    bool saved_;
};

void MakeDefault(TsSkinManager* manager) {
    DefaultManager = manager;
    SetDefaultSkinModel(manager ? &manager->Model() : nullptr);
}

bool LayeredWindowsAvailable() {
    static const bool available =
        GetProcAddress(GetModuleHandleA("user32.dll"), "UpdateLayeredWindow") != nullptr;
    return available;
}

bool CommandLineHas(const char* sw) {
    TApplication* app = Application();
    for (int i = 1; i <= app->ParamCount(); ++i) {
        std::string p = app->ParamStr(i);
        std::transform(p.begin(), p.end(), p.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (p == sw) return true;
    }
    return false;
}

std::string FolderOf(const std::string& path) {
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

TMessage SkinCommandFor(int subCode, TsSkinManager* manager) {
    return TMessage{SkinCommandMessage, SkinCommand(subCode), reinterpret_cast<LPARAM>(manager), 0};
}

void SendToAllForms(int subCode, TsSkinManager* manager) {
    TMessage m = SkinCommandFor(subCode, manager);
    BroadcastToAllForms(m);
}

// The skin's own lines (a list text in a form description may end its lines
// with CR LF or LF alone).
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

// The main form's provider when the main form is visible and skinned.
TsSkinProvider* VisibleSkinnedMainForm() {
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

// ------------------------------------------------------------ third party

void ThirdPartyList::DefineProps(TPropList& L) {
    auto p = L.For<ThirdPartyList>();
    // Published in this order; each name reaches its kind's list.
    for (int kind : {0, 1, 2, 3, 6, 7, 8, 5, 9, 4, 10, 12, 11, 13, 14, 15, 16, 17, 18, 19}) {
        const auto k = static_cast<std::size_t>(kind);
        p.String(
            kThirdPartyNames[k], [k](ThirdPartyList* t) { return t->Lists[k]; },
            [k](ThirdPartyList* t, const std::string& v) { t->Lists[k] = v; });
    }
}

const std::vector<std::string>& TsSkinManager::ThirdPartyClasses(int kind) const {
    return thirdPartyClasses_.at(static_cast<std::size_t>(kind));
}

void TsSkinManager::UpdateThirdPartyLists() {
    for (std::size_t k = 0; k < thirdPartyClasses_.size(); ++k) {
        std::string& text = ThirdParty.Lists[k];
        if (text.empty()) text = acThirdDefaults[k];  // the kind's default class names
        auto& names = thirdPartyClasses_[k];
        names.clear();
        for (std::string line : SplitLines(text)) {
            const auto b = line.find_first_not_of(" \t");
            if (b == std::string::npos) continue;
            line = line.substr(b, line.find_last_not_of(" \t") - b + 1);
            names.push_back(std::move(line));
        }
    }
}

// ------------------------------------------------------------ the component

void TsSkinManager::DefineProps(TPropList& L) {
    L.For<TsSkinManager>()
        .Bool("ExtendedBorders", &TsSkinManager::ExtendedBorders, &TsSkinManager::SetExtendedBorders)
        .Bool("SkinnedPopups", &TsSkinManager::SkinnedPopups, &TsSkinManager::SetSkinnedPopups)
        .Bool("IsDefault", &TsSkinManager::IsDefault, &TsSkinManager::SetIsDefault)
        .Bool("Active", &TsSkinManager::Active, &TsSkinManager::SetActive)
        .Strings("CommonSections", &TsSkinManager::CommonSections, &TsSkinManager::SetCommonSections)
        .Int("Saturation", &TsSkinManager::Saturation,
             [](TsSkinManager* m, std::int64_t v) { m->SetSaturation(static_cast<std::int32_t>(v)); })
        .Int("HueOffset", &TsSkinManager::HueOffset,
             [](TsSkinManager* m, std::int64_t v) { m->SetHueOffset(static_cast<std::int32_t>(v)); })
        .String("SkinDirectory", &TsSkinManager::SkinDirectory, &TsSkinManager::SetSkinDirectory)
        .String("SkinName", &TsSkinManager::SkinName, &TsSkinManager::SetSkinName)
        // Read-only: writing them changes nothing.
        .String("SkinInfo", &TsSkinManager::SkinInfo, [](TsSkinManager*, const std::string&) {})
        .Set("SkinningRules", {"srStdForms", "srStdDialogs", "srThirdParty"},
             [](TsSkinManager* m) { return static_cast<std::int64_t>(m->SkinningRules); },
             [](TsSkinManager* m, std::int64_t v) { m->SkinningRules = static_cast<TacSkinningRules>(v) & 7u; })
        .Object("ThirdParty", [](TsSkinManager* m) -> TObject* { return &m->ThirdParty; })
        .String("Version", [](TsSkinManager*) { return Version(); }, [](TsSkinManager*, const std::string&) {})
        .Event("OnAfterChange", &TsSkinManager::OnAfterChange)
        .Event("OnBeforeChange", &TsSkinManager::OnBeforeChange)
        .Event("OnSkinListChanged", &TsSkinManager::OnSkinListChanged);
}

void RegisterSkinManagerClass() {
    if (!IsComponentClassRegistered(TsSkinManager::StaticClass().name)) RegisterComponentClass<TsSkinManager>();
}

TsSkinManager::TsSkinManager(TComponent* owner) : TComponent(owner) {
    FillEnvironment();
    // Internal skins added or removed change the list of skins to choose.
    model_.InternalSkins.OnChange = [this] {
        if (OnSkinListChanged) OnSkinListChanged(this);
    };
    if (!DefaultManager) {
        MakeDefault(this);
        Application()->HookMainWindow(this, [this](TMessage& m) { return ApplicationWindowHook(m); });
        hookedAppWindow_ = true;
    }
    UpdateThirdPartyLists();
}

TsSkinManager::~TsSkinManager() {
    // Free() runs BeforeDestruction; a manager deleted otherwise still lets go.
    if (hookedAppWindow_) Application()->UnhookMainWindow(this);
    if (DefaultManager == this) MakeDefault(nullptr);
}

void TsSkinManager::FillEnvironment() {
    TSkinEnvironment& env = model_.Env;
    env.SysColor = [](int index) { return static_cast<TsColor>(GetSysColor(index)); };
    env.FrameWidth = static_cast<std::int16_t>(GetSystemMetrics(SM_CXFRAME));
    env.ShowOldVersionNotice = CommandLineHas("/actest");
    env.Warn = [](const std::string& text) { ShowMsgBox(text, mtWarning, mbOK, 0); };
    env.ShowError = [](const std::string& text) { ShowMsgBox(text, mtError, mbOK, 0); };
    model_.ExeFolder = FolderOf(Application()->ExeName());
}

void TsSkinManager::Loaded() {
    TComponent::Loaded();
    if (model_.SkinDirectory.empty()) model_.SkinDirectory = "c:\\Skins";
    UpdateThirdPartyLists();
    model_.DeferLoads = false;
    // The stored values were only stored: the skin is loaded once, here.
    if (!Active() || SkinName().empty()) return;
    {
        TFlagScope changing(SkinChanging, true);
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

void TsSkinManager::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == hotGraphic_) hotGraphic_ = nullptr;
}

bool TsSkinManager::Unloading() const { return unloading_ || IsDestroying(); }

bool TsSkinManager::IsDefault() const { return DefaultManager == this; }

void TsSkinManager::SetIsDefault(bool value) {
    if (!value || IsDefault()) return;
    MakeDefault(this);
    if (IsLoading()) return;
    if (Active()) ApplySkinToAllForms(this, true);
    else RemoveSkinFromAllForms(this);
}

bool TsSkinManager::ExtendedBorders() const { return model_.ExtendedBorders && LayeredWindowsAvailable(); }

bool TsSkinManager::AllowGlowing() const {
    return model_.Effects.GetAllowGlowing({.LayeredWindows = LayeredWindowsAvailable(), .WowWithoutDwm = WowWithoutDwm});
}

void TsSkinManager::SetSkinnedPopups(bool value) {
    // Menus are not skinned yet: nothing re-reads the setting.
    skinnedPopups_ = value;
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
        TFlagScope changing(SkinChanging, true);
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
    if (IsDefault()) FormAnimating = false;
    for (TCustomForm* form : SkinnedForms()) {
        if (!form || form->IsDestroying()) continue;
        TsSkinProvider* provider = ProviderOfForm(form);
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
    TFlagScope changing(SkinChanging, reload ? true : SkinChanging);
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
        TFlagScope changing(SkinChanging, true);
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

void TsSkinManager::SetSkinDirectory(const std::string& value) {
    if (value == model_.SkinDirectory) return;
    model_.SkinDirectory = value;
    if (OnSkinListChanged) OnSkinListChanged(this);
}

void TsSkinManager::BeginUpdate() { updatePending_ = true; }

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
    TFlagScope changing(SkinChanging, true);
    SendToAllForms(scBeforeRepaintAll, manager);
    if (manager->IsLoading()) {
        SendToAllForms(scRefresh, manager);
    } else {
        if (allowAnimation) LockFormsRepaint(manager);
        SendToAllForms(scRefresh, manager);
        UnlockFormsRepaint(manager, true);
    }
    for (TacDialogWnd* dialog : HookedDialogs())
        if (dialog && dialog->CtrlHandle && IsWindowVisible(dialog->CtrlHandle))
            RedrawWindow(dialog->CtrlHandle, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// ------------------------------------------------------------- hot control

void TsSkinManager::SetHotControl(HWND wnd) {
    if (wnd == hotControl_) return;
    if (hotControl_ && hotGraphic_) {
        SetHotGraphicControl(nullptr);
        if (hotGraphic_) return;
    }
    if (hotControl_) SendSkinCommand(hotControl_, scHotLeave, reinterpret_cast<LPARAM>(this));
    hotControl_ = wnd;
    if (wnd) SendSkinCommand(wnd, scHotEnter, reinterpret_cast<LPARAM>(this));
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

// ------------------------------------------------------------------ hooks

void TsSkinManager::InstallThreadHook() {
    if (!IsDefault() || g_threadHook) return;
    g_threadHook = SetWindowsHookExA(WH_CBT, FormSkinning().DialogHookProc, nullptr, GetCurrentThreadId());
}

void TsSkinManager::RemoveThreadHook() {
    if (!IsDefault() || !g_threadHook) return;
    if (FormSkinning().FreeMenuWndAdapters) FormSkinning().FreeMenuWndAdapters();
    UnhookWindowsHookEx(g_threadHook);
    g_threadHook = nullptr;
}

bool TsSkinManager::ThreadHookInstalled() const { return g_threadHook != nullptr; }

void TsSkinManager::WaitForHideAnimation() {
    // The animation's timer ends it on this thread; a timer that stopped
    // must not hang the program, so the wait ends after the animation's
    // own time and a margin.
    const DWORD limit = model_.AnimEffects.FormHide.Time + kHideWaitMargin;
    const DWORD start = GetTickCount();
    while (HideAnimationRunning() && GetTickCount() - start < limit) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (HideAnimationRunning()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

bool TsSkinManager::ApplicationWindowHook(TMessage& m) {
    const bool skinActive = Active() && model_.SkinData().Active;
    switch (m.Msg) {
        case 0xB000: {
            TScreen* screen = Screen();
            for (int i = screen->FormCount() - 1; i >= 0; --i) {
                if (i >= screen->FormCount()) continue;
                TCustomForm* form = screen->Forms(i);
                if (form->HandleAllocated()) SendSkinCommand(form->Handle(), scScreenFormNotify, 0);
            }
            return false;
        }
        case 0xBCB3:
        case 0xBCB4:
            // Popup menus get their skinned shape here once menus are
            // skinned; until then only the answer stays.
            return skinnedPopups_;
        case WM_WINDOWPOSCHANGED: {
            const auto* pos = reinterpret_cast<const WINDOWPOS*>(m.LParam);
            const auto& hide = model_.AnimEffects.FormHide;
            if (!pos || !(pos->flags & SWP_HIDEWINDOW) || !LayeredWindowsAvailable() || !hide.Active ||
                hide.Time == 0 || IsIconic(Application()->Handle()) || lastSysCommand_ == 2)
                return false;
            TsSkinProvider* provider = VisibleSkinnedMainForm();
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
                TsSkinProvider* provider = VisibleSkinnedMainForm();
                if (!provider) return false;
                if (model_.AnimEffects.Minimizing.Active) provider->StartMinimizing();
                const bool dwm = FormSkinning().IsDwmCompositionEnabled && FormSkinning().IsDwmCompositionEnabled();
                if (dwm) Application()->Minimize();
                else WithoutSystemAnimation([] { Application()->Minimize(); });
                return true;
            }
            if (command == SC_RESTORE) {
                lastSysCommand_ = 1;
                TCustomForm* main = Application()->MainForm();
                TsSkinProvider* provider = main ? ProviderOfForm(main) : nullptr;
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
        default:
            // The taskbar previews (WM_DWMSENDICONIC...) stay with the system:
            // this program never switches them on.
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
