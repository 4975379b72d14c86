// A skinned control's skin record: which skin section paints the control,
// that section's indexes in the loaded skin, the control's cached picture
// and the flags that say when it is stale. The owner (a control, a window
// adapter or a form provider) passes its window messages to
// HandleControlMessage, which keeps hover, focus, glow and cache state in
// step and answers the skin command message on the owner's behalf.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "framework/controls.h"
#include "framework/graphics.h"
#include "skin/core/portable/skintypes.h"

namespace kova::skin {

class TsSkinManager;
class TsSkinProvider;

// FlagsWord bits.
inline constexpr std::uint16_t kPlainBackground = 0x0001;
inline constexpr std::uint16_t kHasLinkedObject = 0x0200;
inline constexpr std::uint16_t kInBeginUpdate = 0x0800;

class TsCommonData : public TPersistent {
    KOVA_CLASS(TsCommonData, TPersistent)
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

    bool PlainBackground() const { return FlagsWord & kPlainBackground; }
    // The provider when the record belongs to one, else nullptr.
    TsSkinProvider* OwnerProvider() const;

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

private:
    std::string skinSection_;
    bool customFont_ = false;
    bool customColor_ = false;
    TsSkinManager* skinManager_ = nullptr;
};

// The record's answers to the skin command message (true: handled, the
// owner must not pass the message on).
bool HandleSkinCommand(TMessage& m, TsCommonData* data);
// Every message of a skinned owner, before its own handling.
bool HandleControlMessage(TMessage& m, TsCommonData* data);

}  // namespace kova::skin
