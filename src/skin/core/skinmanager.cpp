#include "skin/core/skinmanager.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "framework/forms.h"
#include "framework/portable/formtext.h"
#include "skin/core/dc/dcpaint.h"
#include "skin/core/msgbox.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinservices.h"
#include "skin/core/sysentries.h"
#include "skin/core/sysutils.h"

namespace kova::skin {

namespace {

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

}  // namespace

void TsSkinManager::MakeDefault(TsSkinManager* manager) {
    DefaultManager = manager;
    SetDefaultSkinModel(manager ? &manager->Model() : nullptr);
}

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

// ------------------------------------------------------------ menu options

TacMenuSupport::TacMenuSupport() {
    // The program's side-line font (the font's charset stays the default).
    extraLineFont_.SetColor(clWindowText);
    extraLineFont_.SetHeight(-11);
    extraLineFont_.SetName("MS Sans Serif");
}

void TacMenuSupport::DefineProps(TPropList& L) {
    L.For<TacMenuSupport>()
        .String("IcoLineSkin", [](TacMenuSupport* m) { return m->IcoLineSkin; },
                [](TacMenuSupport* m, const std::string& v) { m->IcoLineSkin = v; })
        .Bool("UseExtraLine", [](TacMenuSupport* m) { return m->UseExtraLine; },
              [](TacMenuSupport* m, bool v) { m->UseExtraLine = v; })
        .Int("ExtraLineWidth", [](TacMenuSupport* m) { return static_cast<std::int64_t>(m->ExtraLineWidth); },
             [](TacMenuSupport* m, std::int64_t v) { m->ExtraLineWidth = static_cast<std::int32_t>(v); })
        .Object("ExtraLineFont", [](TacMenuSupport* m) -> TObject* { return m->ExtraLineFont(); })
        .Int("AlphaBlend", [](TacMenuSupport* m) { return static_cast<std::int64_t>(m->AlphaBlend); },
             [](TacMenuSupport* m, std::int64_t v) { m->AlphaBlend = static_cast<std::uint8_t>(std::clamp<std::int64_t>(v, 0, 255)); });
}

// ------------------------------------------------------------ the component

void TsSkinManager::DefineProps(TPropList& L) {
    L.For<TsSkinManager>()
        .Object("Effects", [](TsSkinManager* m) -> TObject* { return &m->Model().Effects; })
        .Bool("ExtendedBorders", &TsSkinManager::ExtendedBorders, &TsSkinManager::SetExtendedBorders)
        .Bool("SkinnedPopups", &TsSkinManager::SkinnedPopups, &TsSkinManager::SetSkinnedPopups)
        .Object("AnimEffects", [](TsSkinManager* m) -> TObject* { return &m->Model().AnimEffects; })
        .Bool("IsDefault", &TsSkinManager::IsDefault, &TsSkinManager::SetIsDefault)
        .Bool("Active", &TsSkinManager::Active, &TsSkinManager::SetActive)
        .Strings("CommonSections", &TsSkinManager::CommonSections, &TsSkinManager::SetCommonSections)
        .Int("Saturation", &TsSkinManager::Saturation,
             [](TsSkinManager* m, std::int64_t v) { m->SetSaturation(static_cast<std::int32_t>(v)); })
        .Int("HueOffset", &TsSkinManager::HueOffset,
             [](TsSkinManager* m, std::int64_t v) { m->SetHueOffset(static_cast<std::int32_t>(v)); })
        // Filled item by item from a description; there is nothing to assign.
        .Collection("InternalSkins",
                    [](TsSkinManager* m, std::size_t count, const TPropInfo::TFillItem& fill) {
                        m->Model().InternalSkins.Read(count, fill);
                    })
        .String("SkinDirectory", &TsSkinManager::SkinDirectory, &TsSkinManager::SetSkinDirectory)
        .String("SkinName", &TsSkinManager::SkinName, &TsSkinManager::SetSkinName)
        // Read-only: writing them changes nothing.
        .String("SkinInfo", &TsSkinManager::SkinInfo, [](TsSkinManager*, const std::string&) {})
        .Set("SkinningRules", {"srStdForms", "srStdDialogs", "srThirdParty"},
             [](TsSkinManager* m) { return static_cast<std::int64_t>(m->SkinningRules); },
             [](TsSkinManager* m, std::int64_t v) { m->SkinningRules = static_cast<TacSkinningRules>(v) & 7u; })
        .Object("ThirdParty", [](TsSkinManager* m) -> TObject* { return &m->ThirdParty; })
        .Object("MenuSupport", [](TsSkinManager* m) -> TObject* { return &m->MenuSupport; })
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


void TsSkinManager::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == hotGraphic_) hotGraphic_ = nullptr;
}

bool TsSkinManager::Unloading() const { return unloading_ || IsDestroying(); }

bool TsSkinManager::IsDefault() const { return DefaultManager == this; }

bool TsSkinManager::ExtendedBorders() const { return model_.ExtendedBorders && LayeredWindowsAvailable(); }

bool TsSkinManager::AllowGlowing() const {
    return model_.Effects.GetAllowGlowing({.LayeredWindows = LayeredWindowsAvailable(), .WowWithoutDwm = WowWithoutDwm});
}

void TsSkinManager::SetSkinnedPopups(bool value) {
    const bool changed = value != skinnedPopups_;
    skinnedPopups_ = value;
    // The menus re-read their settings from the skin.
    if (value && IsDefault() && !IsLoading() && FormSkinning().MenusFromSkin) FormSkinning().MenusFromSkin(this);
    // Menus hooked before keep what they had unless they are hooked again.
    if (changed && IsDefault() && !IsLoading() && FormSkinning().PopupsSwitched) FormSkinning().PopupsSwitched(this);
}

void TsSkinManager::SetSkinDirectory(const std::string& value) {
    if (value == model_.SkinDirectory) return;
    model_.SkinDirectory = value;
    if (OnSkinListChanged) OnSkinListChanged(this);
}

void TsSkinManager::BeginUpdate() { updatePending_ = true; }

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

// ------------------------------------------------------------------ hooks

void TsSkinManager::InstallThreadHook() {
    if (!IsDefault() || SkinState.ThreadHook) return;
    SkinState.ThreadHook.Reset(SetWindowsHookExA(WH_CBT, FormSkinning().DialogHookProc, nullptr, GetCurrentThreadId()));
}

void TsSkinManager::RemoveThreadHook() {
    if (!IsDefault() || !SkinState.ThreadHook) return;
    if (FormSkinning().FreeMenuWndAdapters) FormSkinning().FreeMenuWndAdapters();
    SkinState.ThreadHook.Reset();
    if (FormSkinning().FreeDialogProviders) FormSkinning().FreeDialogProviders();
}

bool TsSkinManager::ThreadHookInstalled() const { return static_cast<bool>(SkinState.ThreadHook); }

}  // namespace kova::skin
