// The skin manager: the component that owns the program's active skin. It
// holds the settings (skin folder and name, hue and saturation, effects and
// animations, the skins stored with the program), loads skins through its
// window-free model, tells every skinned window of a change through the
// skin command message, freezes and repaints the skinned forms together,
// and answers the lookups of skinned controls. The first manager made is
// the default one, which every control without a manager of its own uses.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <string>

#include "framework/controls.h"
#include "skin/core/model/skinmodel.h"

namespace kova::skin {

// Which windows the thread hook skins automatically.
enum TacSkinningRule : std::uint32_t { srStdForms = 1, srStdDialogs = 2, srThirdParty = 4 };
using TacSkinningRules = std::uint32_t;

// The class names each kind of window adapter skins, one list per kind.
inline constexpr int kThirdPartyKinds = 20;
struct ThirdPartyList {
    std::array<std::string, kThirdPartyKinds> Lists;  // newline-separated class names, by kind index
};

class TsSkinManager : public TComponent {
    KOVA_CLASS(TsSkinManager, TComponent)
public:
    explicit TsSkinManager(TComponent* owner);
    ~TsSkinManager() override;

    // The window-free half: tables, lookups, the loader.
    TsSkinModel& Model() { return model_; }
    const TsSkinModel& Model() const { return model_; }

    // --------------------------------------------------------- settings
    bool Active() const { return model_.Active(); }
    void SetActive(bool value);
    const std::string& SkinName() const { return model_.SkinName(); }
    void SetSkinName(const std::string& value);
    const std::string& SkinDirectory() const { return model_.SkinDirectory; }
    void SetSkinDirectory(const std::string& value);
    bool IsDefault() const;
    void SetIsDefault(bool value);
    bool ExtendedBorders() const;
    void SetExtendedBorders(bool value);
    bool SkinnedPopups() const { return skinnedPopups_; }
    void SetSkinnedPopups(bool value);
    std::int32_t HueOffset() const { return model_.HueOffset(); }
    void SetHueOffset(std::int32_t value);
    std::int32_t Saturation() const { return model_.Saturation(); }
    void SetSaturation(std::int32_t value);
    void SetCommonSections(const std::vector<std::string>& lines);
    TacSkinningRules SkinningRules = srStdForms | srStdDialogs | srThirdParty;
    ThirdPartyList ThirdParty;
    std::string SkinInfo() const { return model_.SkinInfo(); }
    static std::string Version() { return "7.63"; }

    TNotifyEvent OnAfterChange;
    TNotifyEvent OnBeforeChange;
    TNotifyEvent OnSkinListChanged;

    // ---------------------------------------------------------- lookups
    bool SectionIndexValid(std::int32_t index) const { return model_.SectionIndexValid(index); }
    std::int32_t IndexOfSection(const std::string& name) const { return model_.IndexOfSection(name); }
    // True while the manager is being freed or removes its skin.
    bool Unloading() const;

    // ------------------------------------------------ updates and repaints
    void BeginUpdate();
    void EndUpdate(bool repaint, bool allowAnimation);
    bool UpdatePending() const { return updatePending_; }

    // ------------------------------------------------------ hot control
    HWND HotControl() const { return hotControl_; }
    void SetHotControl(HWND wnd);
    TControl* HotGraphicControl() const { return hotGraphic_; }
    void SetHotGraphicControl(TControl* control);

    // ---------------------------------------------------------- hooks
    void InstallThreadHook();
    void RemoveThreadHook();
    bool ThreadHookInstalled() const;
    // Messages of the application window; true when handled.
    bool ApplicationWindowHook(TMessage& m);
    // A skin text from an external skin editor (WM_COPYDATA).
    void ApplyEditorCopyData(TMessage& m);

protected:
    void Loaded() override;
    void BeforeDestruction() override;

private:
    TsSkinModel model_;
    bool skinnedPopups_ = true;
    bool updatePending_ = false;
    HWND hotControl_ = nullptr;
    TControl* hotGraphic_ = nullptr;
};

// The manager that serves every record naming none; nullptr before the
// first manager is made and after the default one is freed.
extern TsSkinManager* DefaultManager;

// True for the whole of a load and of a repaint of all forms.
extern bool SkinChanging;

// Telling the forms (see the skin manager).
void ApplySkinToAllForms(TsSkinManager* manager, bool allowAnimation);
void RemoveSkinFromAllForms(TsSkinManager* manager);
void RepaintAllForms(TsSkinManager* manager, bool allowAnimation);

}  // namespace kova::skin
