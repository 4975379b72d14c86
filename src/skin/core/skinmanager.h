// The skin manager: the component that owns the program's active skin. It
// holds the settings (skin folder and name, hue and saturation, effects and
// animations, the skins stored with the program), loads skins through its
// window-free model, tells every skinned window of a change through the
// skin command message, freezes and repaints the skinned forms together,
// and answers the lookups of skinned controls. The first manager made is
// the default one, which every control without a manager of its own uses.
//
// The manager is read by every unit of the core (settings, lookups, the hot
// control) and is defined in skinmanager.cpp, which includes only the units
// below it. What a change does to the program's windows (the setters that
// reload and repaint, telling and freezing the forms, the application
// window's hook) is the top unit of the core, managerforms.cpp.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/controls.h"
#include "framework/graphics.h"
#include "skin/core/model/skinmodel.h"
#include "skin/core/portable/skinconsts.h"
#include "skin/core/skinstate.h"

namespace kova::skin {

// Which windows the thread hook skins automatically.
enum TacSkinningRule : std::uint32_t { srStdForms = 1, srStdDialogs = 2, srThirdParty = 4 };
using TacSkinningRules = std::uint32_t;

// The class names each kind of window adapter skins, one newline-separated
// list per kind (index 0 edits, 1 buttons, ... 19 up-downs); published
// under the names of kThirdPartyNames.
inline constexpr int kThirdPartyKinds = kThirdKindCount;
inline constexpr const char* kThirdPartyNames[kThirdPartyKinds] = {
    "ThirdEdits",     "ThirdButtons",   "ThirdBitBtns",     "ThirdCheckBoxes",    "ThirdComboBoxes",
    "ThirdGrids",     "ThirdGroupBoxes", "ThirdListViews",  "ThirdPanels",        "ThirdTreeViews",
    "ThirdWWEdits",   "ThirdGridEh",    "ThirdVirtualTrees", "ThirdPageControl",  "ThirdTabControl",
    "ThirdToolBar",   "ThirdStatusBar", "ThirdSpeedButton", "ThirdScrollControl", "ThirdUpDown"};

class ThirdPartyList : public TPersistent {
    KOVA_CLASS_PROPS(ThirdPartyList, TPersistent)
public:
    std::array<std::string, kThirdPartyKinds> Lists;  // by kind index

private:
    static void DefineProps(TPropList& L);
};

// The menu options of the manager: the section under the glyph column of
// popup menus, the side line a popup menu may show along its left edge
// (its width and font) and the menus' opacity.
class TacMenuSupport : public TPersistent {
    KOVA_CLASS_PROPS(TacMenuSupport, TPersistent)
public:
    TacMenuSupport();
    std::string IcoLineSkin;
    bool UseExtraLine = false;
    std::int32_t ExtraLineWidth = 32;
    TFont* ExtraLineFont() { return &extraLineFont_; }
    void SetExtraLineFont(const TFont* font) { extraLineFont_.Assign(font); }
    std::uint8_t AlphaBlend = 255;

private:
    static void DefineProps(TPropList& L);
    TFont extraLineFont_;
};

// Asked once per showing of a popup menu (with its first item) for the
// side line: its section, caption, glyph (made by the handler, owned by the
// caller) and whether it shows.
using TacGetExtraLineData = std::function<void(TObject* firstItem, std::string& skinSection, std::string& caption,
                                               std::unique_ptr<TBitmap>& glyph, bool& lineVisible)>;

class TsSkinManager : public TComponent {
    KOVA_CLASS_PROPS(TsSkinManager, TComponent)
public:
    explicit TsSkinManager(TComponent* owner);
    ~TsSkinManager() override;

    // The window-free half: tables, lookups, the loader, the internal
    // skins, effects and animation settings.
    TsSkinModel& Model() { return model_; }
    const TsSkinModel& Model() const { return model_; }

    // --------------------------------------------------------- settings
    // Setting SkinName, Active, HueOffset, Saturation, ExtendedBorders or
    // CommonSections reloads the skin and repaints the skinned forms; while
    // a form description is read they are only stored and Loaded loads once.
    bool Active() const { return model_.Active(); }
    void SetActive(bool value);
    const std::string& SkinName() const { return model_.SkinName(); }
    // A failed load shows its message and keeps the previous skin (name
    // and tables); the forms are then told of the skin in force again.
    void SetSkinName(const std::string& value);
    const std::string& SkinDirectory() const { return model_.SkinDirectory; }
    void SetSkinDirectory(const std::string& value);
    bool IsDefault() const;
    void SetIsDefault(bool value);
    // The stored value, where the system can show layered windows.
    bool ExtendedBorders() const;
    // Effects.AllowGlowing where glow windows can be shown: layered windows
    // available, and not a 32-bit program on 64-bit Windows without
    // desktop composition. Glow halos are asked for only when this is true.
    bool AllowGlowing() const;
    void SetExtendedBorders(bool value);
    bool SkinnedPopups() const { return skinnedPopups_; }
    void SetSkinnedPopups(bool value);
    std::int32_t HueOffset() const { return model_.HueOffset(); }
    void SetHueOffset(std::int32_t value);
    std::int32_t Saturation() const { return model_.Saturation(); }
    void SetSaturation(std::int32_t value);
    const std::vector<std::string>& CommonSections() const { return model_.CommonSections(); }
    void SetCommonSections(const std::vector<std::string>& lines);
    TacSkinningRules SkinningRules = srStdForms | srStdDialogs | srThirdParty;
    TacMenuSupport MenuSupport;
    TacGetExtraLineData OnGetMenuExtraLineData;
    // The menu painter of form skinning (made there on first use; freed
    // with the manager).
    std::unique_ptr<TObject> MenuPainter;
    ThirdPartyList ThirdParty;
    // The class names of one kind, from ThirdParty (defaults for an empty
    // list), refreshed after construction and after loading.
    const std::vector<std::string>& ThirdPartyClasses(int kind) const;
    void UpdateThirdPartyLists();
    std::string SkinInfo() const { return model_.SkinInfo(); }
    static std::string Version() { return "7.63"; }

    TNotifyEvent OnAfterChange;
    TNotifyEvent OnBeforeChange;
    TNotifyEvent OnSkinListChanged;

    // Internal skins first, then the skins of the skin directory (kind 0
    // folders, 1 packed files, 2 both); first: the first of them.
    void GetSkinNames(std::vector<std::string>& list, TSkinListKind kind, std::string& first) const {
        model_.GetSkinNames(list, kind, first);
    }

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
    // Only one control looks hot: the one left gets sub-code 30 before the
    // one entered gets 29.
    HWND HotControl() const { return hotControl_; }
    void SetHotControl(HWND wnd);
    TControl* HotGraphicControl() const { return hotGraphic_; }
    void SetHotGraphicControl(TControl* control);

    // ---------------------------------------------------------- hooks
    // The default manager's WH_CBT hook of the GUI thread (once).
    void InstallThreadHook();
    void RemoveThreadHook();
    bool ThreadHookInstalled() const;
    // Messages of the application window; true when handled.
    bool ApplicationWindowHook(TMessage& m);
    // A skin text from an external skin editor (WM_COPYDATA): used only
    // when the record is exactly the editor's; result 1 when applied.
    void ApplyEditorCopyData(TMessage& m);
    // The last system command the application window saw: 0 other,
    // 1 restore, 2 minimise.
    int LastSysCommand() const { return lastSysCommand_; }

protected:
    void Loaded() override;
    void BeforeDestruction() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    static void MakeDefault(TsSkinManager* manager);
    void ChangeReloading(const std::function<void()>& change);
    static void DefineProps(TPropList& L);
    void FillEnvironment();
    void UnfreezeForms() noexcept;
    void WaitForHideAnimation();

    TsSkinModel model_;
    bool skinnedPopups_ = true;
    bool updatePending_ = false;
    bool unloading_ = false;
    bool hookedAppWindow_ = false;
    bool hiddenByHidePath_ = false;
    int lastSysCommand_ = 0;
    HWND hotControl_ = nullptr;
    TControl* hotGraphic_ = nullptr;
    std::array<std::vector<std::string>, kThirdPartyKinds> thirdPartyClasses_;

    friend void RepaintAllForms(TsSkinManager* manager, bool allowAnimation);
    friend void RemoveSkinFromAllForms(TsSkinManager* manager);
};

// The skin editor's record (WM_COPYDATA, WParam 7): fixed-width fields of
// 8-bit characters.
inline constexpr std::uint32_t kEditorRecordId = 0xA400;
inline constexpr std::size_t kEditorRecordSize = 30646;
inline constexpr std::size_t kEditorNameOffset = 4, kEditorNameSize = 128;
inline constexpr std::size_t kEditorDirOffset = 132, kEditorDirSize = 513;
inline constexpr std::size_t kEditorTextOffset = 645, kEditorTextSize = 30001;

// How long the hide path waits beyond the hide animation's own time.
inline constexpr DWORD kHideWaitMargin = 500;

// Makes the manager class and its stored properties known to form
// descriptions.
void RegisterSkinManagerClass();

}  // namespace kova::skin
