// Reads a skin description ("Options.dat") and its pictures into the skin
// tables: image entries of every format, textures, section records with
// PARENTCLASS inheritance and the defaults, the skin-wide GLOBALINFO values,
// the CommonSections text merged on top, then hue and saturation.
// Window-free.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "skin/core/model/skindata.h"
#include "skin/core/model/skinsource.h"

namespace kova::skin {

struct TsSkinTables {
    TsMaskArray Masks;
    TsPatternArray Patterns;
    TsGeneralDataArray Sections;
    std::shared_ptr<Bitmap32> MasterBitmap;
    TsSkinData SkinData;
};

// What a load needs besides its source.
struct TSkinLoadContext {
    std::string SkinName;                      // for the version notice
    std::vector<std::string> CommonSections;   // ini lines merged on top
    std::int32_t HueOffset = 0;
    std::int32_t Saturation = 0;
    const void* Owner = nullptr;               // stored in every image entry
    // System colours (0x80000000 | index) to RGB; other values unchanged.
    std::function<TsColor(TsColor)> ColorToRGB;
    std::int16_t FrameWidth = 4;               // default of "FORMOFFSET"
    bool ShowOldVersionNotice = false;         // design time or "/actest"
    std::function<void(const std::string&)> Warn;  // version notices
    std::function<void(const std::string&)> Log;   // entries dropped and why
};

// Builds new tables; a conversion error (EConvertError) ends the load and
// leaves nothing half-made. A null source (or one without a description)
// reads only the CommonSections text.
TsSkinTables LoadSkinTables(const TSkinSource* source, const TSkinLoadContext& context);

inline constexpr const char* kNewerVersionMessage =
    "This version of the skin have not complete support by the skin components of this release.\r\n"
    "Components must be updated up to latest version for using this skin.";
std::string OldVersionMessage(const std::string& skinName);

// The per-section keys of the vocabulary, in order, with the value of one
// section record as text (integers and colours decimal, booleans 0 or 1).
std::vector<std::string> SectionKeys();
std::string SectionValueText(const TsGeneralData& section, const std::string& key);

// A value is true when, upper-cased, it is "1" or "TRUE".
bool SkinBool(const std::string& value);

}  // namespace kova::skin
