// The loaded skin: one section record per section of the skin description,
// one image record per image entry or small texture, one texture record per
// large texture, and the skin-wide values of GLOBALINFO. Controls keep
// indexes into these tables; the indexes hold until the next load.
// Window-free.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "skin/core/portable/pixels.h"
#include "skin/core/portable/skintypes.h"

namespace kova::skin {

// Colours of the skin tables are 0x00BBGGRR values held signed: -1 is "none".
using TsColor = std::int32_t;
inline constexpr TsColor kNoColor = -1;

// Image entry kinds.
enum : std::uint8_t { ekMask = 0, ekTexture = 1, ekGlyph = 2 };

// Bounds of the sizes a skin file gives. The loader clamps every size to
// them as it reads it, so that no painter computes with, or allocates for,
// a value a hand-edited or damaged file made up: pixel sizes and offsets
// within +-kMaxSkinPixels, glow margins within +-kMaxGlowMargin, shares of
// a background within 0..100 percent.
inline constexpr std::int32_t kMaxSkinPixels = 1024;
inline constexpr std::int32_t kMaxGlowMargin = 255;
inline constexpr std::int32_t kMaxSkinStates = 64;

struct TsMaskData {
    // The entry's own picture; empty when it lies in the master bitmap.
    std::shared_ptr<Bitmap32> Image;
    std::string SectionName;
    std::string PropertyName;
    TRect SourceRect;
    std::int16_t ColumnCount = 0;   // state images side by side
    std::int16_t RowMode = 0;       // -1 no height, 0 key colour, 1 lower half is a grey mask, n: n + 1 rows
    std::int16_t CommonBorder = 0;
    std::int16_t DrawMode = 0;
    std::uint8_t EntryKind = ekMask;
    const void* Owner = nullptr;    // the skin model that loaded it
    std::int16_t MarginLeft = 0, MarginTop = 0, MarginRight = 0, MarginBottom = 0;
    std::int16_t CornerKind = 0;    // 0 none, 1 transparent corner pixels, 2 the huge button's border
};

// A texture too large for the image table (see kLargeTexturePixels).
struct TsPatternData {
    std::shared_ptr<Bitmap32> Image;
    std::string SectionName;
    std::string PropertyName;
};
inline constexpr std::int64_t kLargeTexturePixels = 900000;

struct TsGradPart {
    TsColor Color1 = 0, Color2 = 0;
    std::uint8_t Percent = 0;
    std::int32_t Mode = 0;
};
using TsGradArray = std::vector<TsGradPart>;
// Segments of five ";"-separated words (colour 1, colour 2, percent, mode,
// one unused word); a word that is no integer raises EConvertError.
TsGradArray ParseGradient(const std::string& text);

struct TsGenState {
    TsColor Color = 0;
    std::array<TsColor, 5> FontColors{};  // text, then contour left, top, right, bottom
    std::int32_t GradientPercent = 0;
    std::string GradientData;
    TsGradArray GradientArray;
    std::int32_t ImagePercent = 0;
    TsColor GlowColor = 0;
    std::uint8_t GlowSize = 0;
    std::int32_t Transparency = 0;
};
using TsProps = std::array<TsGenState, 2>;  // 0 normal, 1 hot

struct TsGeneralData {
    std::string ParentClass;
    std::string SectionName;  // as written
    std::int32_t States = 4;
    TsProps Props;
    bool GiveOwnFont = false;
    bool ReservedBoolean = false;
    bool ShowFocus = false;
    std::int32_t Glow = 0;
    std::int32_t GlowMargin = 0;
    std::int32_t BorderIndex = -1;
    std::int32_t ImgTopLeft = -1, ImgTopRight = -1, ImgBottomLeft = -1, ImgBottomRight = -1;
    std::int32_t TextureIndex = -1;  // "PATTERN" in the image table
    // "PATTERN" in the texture table, for a texture too large for the image
    // table; painters use it when TextureIndex is -1.
    std::int32_t PatternIndex = -1;

    TsColor Color = 0;
    std::int32_t Transparency = 0;
    std::int32_t GradientPercent = 0;
    std::string GradientData;
    TsGradArray GradientArray;
    std::int32_t ImagePercent = 0;
    std::array<TsColor, 5> FontColors{};

    TsColor HotColor = 0;
    std::int32_t HotTransparency = 0;
    std::int32_t HotGradientPercent = 0;
    std::string HotGradientData;
    TsGradArray HotGradientArray;
    std::int32_t HotImagePercent = 0;
    std::array<TsColor, 5> HotFontColors{};

    bool FadingEnabled = false;
    std::int32_t FadingIterations = 5;
    TsColor HotGlowColor = 0, GlowColor = 0;
    std::uint8_t HotGlowSize = 0, GlowSize = 0;
};

using TsMaskArray = std::vector<TsMaskData>;
using TsPatternArray = std::vector<TsPatternData>;
using TsGeneralDataArray = std::vector<TsGeneralData>;

// The skin-wide values of GLOBALINFO.
struct TsSkinData {
    bool Active = false;
    std::string SkinPath;
    double Version = 0;
    std::string Author, Description;
    std::int16_t BorderWidth = 4, TitleHeight = 30, MaxHeight = 0, FormOffset = 0, AlignOffset = 0,
                 CenterOffset = 0, BorderMode = 0;
    TsColor Shadow1Color = 0;
    std::int16_t Shadow1Offset = 0, Shadow1Blur = -1, Shadow1Transparency = 0;
    std::int16_t BISpacing = 0, BIVAlign = 0, BIRightMargin = 0, BILeftMargin = 0, BITopMargin = 0;
    TsColor BorderColor = 0;
    std::int16_t BIKeepHUE = 0;
    std::int16_t BICloseGlow = 0, BICloseGlowMargin = 0, BIMaxGlow = 0, BIMaxGlowMargin = 0, BIMinGlow = 0,
                 BIMinGlowMargin = 0;
    bool AeroBlur = false;
    // Whether the skin draws menus ("SKINMENUS", on unless 0): the skinned
    // menus read it after each load.
    bool SkinMenus = true;
    std::int32_t ExtShadow = 0;
    std::string MasterBitmapName;
};

// Size of one state image of an entry: ColumnCount (read unsigned) 0 gives
// width 0, 1 the whole width, n the width / n; RowMode -1 gives height 0,
// 0 the whole height, 1 half of it, n the height / (n + 1). Never divides
// by zero.
std::int32_t ImageWidthOfMask(const TsMaskData& mask);
std::int32_t ImageHeightOfMask(const TsMaskData& mask);

}  // namespace kova::skin
