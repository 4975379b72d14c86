// A skinned control's skin record: which skin section paints the control,
// that section's indexes in the loaded skin, the control's cached picture
// and the flags that say when it is stale. The owner (a control, a window
// adapter or a form provider) passes its window messages to
// HandleControlMessage (skin/core/skincommands.h), which keeps hover, focus,
// glow and cache state in step and answers the skin command message on the
// owner's behalf.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "framework/controls.h"
#include "framework/graphics.h"
#include "framework/stdctrls.h"
#include "skin/core/portable/skinrecord.h"
#include "skin/core/portable/skintypes.h"

namespace kova::skin {

class TsSkinManager;
struct TsGeneralData;

// FlagsWord bits.
inline constexpr std::uint16_t kPlainBackground = 0x0001;
inline constexpr std::uint16_t kHasLinkedObject = 0x0200;
inline constexpr std::uint16_t kInBeginUpdate = 0x0800;

class TsCommonData : public TPersistent {
    KOVA_CLASS_PROPS(TsCommonData, TPersistent)
public:
    TsCommonData(TObject* owner, bool createCacheBmp);
    ~TsCommonData() override;

    // ------------------------------------------------- stored properties
    const std::string& SkinSection() const { return skinSection_; }
    void SetSkinSection(const std::string& value);
    bool CustomFont() const { return customFont_; }
    void SetCustomFont(bool value);
    bool CustomColor() const { return customColor_; }
    void SetCustomColor(bool value);
    // The record's own manager (nullptr: the default manager).
    TsSkinManager* SkinManager() const { return skinManager_; }
    void SetSkinManager(TsSkinManager* value);
    // The manager that serves this record.
    TsSkinManager* GetSkinManager() const;

    // ---------------------------------------------------------- state
    std::int32_t UpdateCount = 0;
    std::int32_t HUEOffset = 0;
    std::int32_t Saturation = 0;
    std::int32_t GlowID = -1;
    bool Updating = false;
    std::int32_t BorderIndex = -1;
    std::int32_t SkinIndex = -1;
    std::int32_t TextureIndex = -1;
    std::int32_t HotTextureIndex = -1;
    bool ParentDependent = false;
    bool BGChanged = true;
    bool CacheIncomplete = true;
    TControl* OwnerControl = nullptr;
    TObject* OwnerObject = nullptr;
    std::unique_ptr<TBitmap> CacheBmp;
    std::int32_t ControlCode = 0;
    bool FocusSet = false;
    bool MouseAbove = false;
    std::uint16_t FlagsWord = 0;
    std::uint8_t OpaqueFlags = 0;
    TObject* LinkedObject = nullptr;
    // The control's own colours, saved once before the skin's are given
    // and kept while the control stays skinned: the adapter of a window
    // made anew (a font change can remake it) finds them here instead of
    // taking the skin's for the control's own, and the skin's removal
    // gives these back.
    struct TStdColours {
        TColor Color = 0, FontColor = 0, FocusColor = 0;
    };
    std::optional<TStdColours> SavedStdColours;

    bool PlainBackground() const { return FlagsWord & kPlainBackground; }
    // A form provider's record (the provider is the owner object) knows the
    // form, nullptr when the provider's owner is none.
    void SetProviderOwned(TCustomForm* form) {
        providerOwned_ = true;
        providerForm_ = form;
    }
    bool ProviderOwned() const { return providerOwned_; }
    TCustomForm* ProviderForm() const { return providerForm_; }

    // ------------------------------------------------------ operations
    bool IsSkinned(bool checkActive = false) const;
    void ReadSkinIndexes();
    void SetDefaultSection();
    void Loaded();
    void UpdateColors(bool repaint);
    void BeginUpdate();
    void EndUpdate(bool repaint);
    void SetUpdating(bool value) { Updating = value; }
    bool IsUpdating() const;
    bool RepaintsWithParent() const;
    bool IsActiveState() const;
    void Invalidate();
    bool DependsOnParentBg() const;
    void UpdateBgFlags(bool broadcast);
    bool HasComplexBackground() const;
    void UpdateOpaqueFlags();
    void EnsureCacheBmp();
    std::int32_t MaxBorderWidth() const;
    void UpdateGlow(bool reshow, HWND wnd);
    void FillBackgroundInfo(TsBackgroundInfo& info, std::int32_t state, HWND wnd);
    TColor BackgroundColorFor(std::int32_t state, HWND wnd) const;
    void ParentImageInfo(TsParentImageInfo& info);

    // The section record at SkinIndex in the serving manager's skin, or
    // nullptr when the record is not skinned by a live manager.
    const TsGeneralData* Section() const;
    // The owner's window when it has one (a windowed control's handle, a
    // provider's form handle), else nullptr.
    HWND OwnerHandle() const;

private:
    // What a form description may set of a control's record.
    static void DefineProps(TPropList& L);
    // Sub-code 2 from a manager being freed lets go of it without telling
    // the owner again.
    friend bool HandleSkinCommand(TMessage& m, TsCommonData* data);
    void SetIndexFor(TsSkinManager* manager);
    // Sub-code 3 (the section is in the manager's skin) or 2 (it is not) to
    // the owner control after a change of manager or section.
    void TellOwner(TsSkinManager* manager);

    std::string skinSection_;
    bool customFont_ = false;
    bool customColor_ = false;
    TsSkinManager* skinManager_ = nullptr;
    bool providerOwned_ = false;
    TCustomForm* providerForm_ = nullptr;
};

// The record of a skinned control whose hue and saturation the form
// description may set.
class TsCtrlSkinData : public TsCommonData {
    KOVA_CLASS(TsCtrlSkinData, TsCommonData)
public:
    using TsCommonData::TsCommonData;
    void SetHUEOffset(std::int32_t value);
    void SetSaturation(std::int32_t value);
};

// A window's background answered through its parent window, as painters
// take it; not Ready when the window has no parent.
void ParentImageInfoOfWnd(HWND wnd, TsParentImageInfo& info);
// The section whose font colours a control's text takes: that of the
// nearest parent whose section gives its own font, looking through parents
// that are more than half transparent; `defaultIndex` when none does.
std::int32_t ParentBgSectionIndex(TControl* control, std::int32_t defaultIndex, TsSkinManager* manager,
                                  std::int32_t state);
// The record's border painted into its cache over what the owner's parent
// shows under it (nothing without a border mask, a cache or a parent).
void PaintControlBorder(TsCommonData& data, int state);
// The colour a record's section is painted in: its owner's own colour (the
// provider form's for a form's record) when the record keeps it
// (CustomColor), else clFuchsia, the section's own layers.
TColor SectionFillColour(const TsCommonData& data);
// The background of the record's section in r of dest (the state clamped
// to the section's states, the record's textures); a record with
// CustomColor fills its owner's colour instead. Nothing for an unskinned
// record.
void PaintSkinDataItem(TsCommonData& data, const TsParentImageInfo& bg, int state, TRect r, TPoint offset,
                       PixelBuffer32& dest);
// The record's cached picture copied into dc (from src's top-left to
// dest), around the parent's windowless children, which sit at
// their bounds moved by (dx, dy). With paintBorder the record's border is
// painted into the cache first.
void CopyCacheExcludingControls(TWinControl* parent, TsCommonData* data, const RECT& src, int dy, int dx,
                                bool paintBorder, HDC dc, const RECT& dest);
// As CopyCacheExcludingControls, around the visible child windows of a
// window (of a group box only its frame strips).
void CopyCacheExcludingWindows(HWND parent, TsCommonData* data, const RECT& src, int dy, int dx, bool paintBorder,
                               HDC dc, const RECT& dest);

}  // namespace kova::skin
