// The window-free half of the skin manager: which skin is chosen and where
// it comes from (a skin folder, a packed file, or a skin stored with the
// program), the loaded tables, and the lookups every skinned control asks
// (sections, image entries, textures, margins, colours). Loading builds new
// tables and swaps them in only when the load succeeded, so a failed load
// leaves the previous skin whole. Window-free.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "skin/core/model/effects.h"
#include "skin/core/model/skindata.h"
#include "skin/core/model/skinloader.h"
#include "skin/core/model/storedskins.h"

namespace kova::skin {

// What the model needs of the platform; the Win32 skin manager fills it.
struct TSkinEnvironment {
    // System colours (0x80000000 | index) to RGB. Unset: the classic
    // defaults of the system palette.
    std::function<TsColor(int index)> SysColor;
    std::int16_t FrameWidth = 4;          // the system's sizing-frame width
    bool ShowOldVersionNotice = false;    // design time or "/actest"
    std::function<void(const std::string&)> Warn;       // version notices
    std::function<void(const std::string&)> ShowError;  // a load that failed
    std::function<void(const std::string&)> Log;        // entries dropped
};

// Indexes of one section group that painters use often.
struct TsSectionConsts {
    std::int32_t Section = -1;
    std::int32_t Border = -1;   // "BORDERSMASK"
    std::int32_t Glyph = -1;    // "GLYPHMASK"
    std::int32_t Texture = -1;  // "PATTERN"
    std::int32_t HotTexture = -1;  // "HOTPATTERN"
};

struct TsConstIndexes {
    std::int32_t GlobalInfo = -1;
    TsSectionConsts ComboBtn;
    std::int32_t ComboBoxGlyph = -1;
    std::array<TsSectionConsts, 4> Tabs;        // top, bottom, left, right
    std::array<TsSectionConsts, 4> ScrollBtns;  // top, bottom, left, right
    TsSectionConsts ScrollSliderV, ScrollSliderH;
    TsSectionConsts ScrollBar1H, ScrollBar1V, ScrollBar2H, ScrollBar2V;
    std::int32_t WebButton = -1;
    std::int32_t CheckBoxChecked = -1, CheckBoxUnchecked = -1, CheckBoxGrayed = -1;
    std::int32_t RadioButtonChecked = -1, RadioButtonUnchecked = -1, RadioButtonGrayed = -1;
    std::int32_t SmallBoxChecked = -1, SmallBoxUnchecked = -1, SmallBoxGrayed = -1;
    std::int32_t ExBorder = -1, GripImage = -1, GripHorz = -1, GripVert = -1;
    // The small drop-down arrow ("SMALLARROW" of GLOBALINFO) of tool buttons.
    std::int32_t SmallArrowGlyph = -1;
    // The colour native dialogs are filled with: the normal colour of the
    // skin's "DIALOG" section; 0xFF00FF (none) without one.
    TsColor DialogColor = 0xFF00FF;
};

// The shadow around forms with extended borders: the skin's "EXBORDER"
// pictures (first state active, second inactive) or, without one, the
// program's own shadow (BuiltIn, see SetBuiltInExtBorderShadows), and how far the
// shadow reaches beyond the form on each side.
struct TsExtBorderShadow {
    bool BuiltIn = false;
    Bitmap32 Active, Inactive;
    std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// The program's own shadow pictures for the extended borders of skins
// without "EXBORDER" (straight alpha, as drawn; empty pictures: none). The
// skinning units' start-up sets them from the program's resources; every
// later load of a model with extended borders puts copies prepared for
// alpha painting (colours premultiplied by alpha) in its ExtBorderShadow().
void SetBuiltInExtBorderShadows(Bitmap32 active, Bitmap32 inactive);

enum TSkinListKind { slFolders = 0, slPackedFiles = 1, slAll = 2 };

class TsSkinModel {
public:
    TsSkinModel();
    // Image entries name the model that loaded them: it stays where it is.
    TsSkinModel(const TsSkinModel&) = delete;
    TsSkinModel& operator=(const TsSkinModel&) = delete;

    // ------------------------------------------------------------ settings
    std::string SkinDirectory = "c:\\Skins";
    std::string ExeFolder;  // the program's folder, for relative skin directories
    TsStoredSkins InternalSkins;
    TacSkinEffects Effects;
    TacAnimEffects AnimEffects;
    TSkinEnvironment Env;
    // While set, the setters below only store their values and load
    // nothing (a form description is being read: the owner loads once at
    // its end).
    bool DeferLoads = false;
    // A skin editor's preview: its text stands for the "Options.dat" of
    // the named skin folder (whose pictures are still read from the
    // folder). nullopt: no preview.
    std::optional<std::string> EditorText;
    // Set once an editor preview arrived: from then on a skin folder of the
    // name wins over a packed file of the same name.
    bool SkinEdited = false;

    const std::string& SkinName() const { return skinName_; }
    // Stores the name and, while active, loads it: a trailing ".asz" is
    // dropped; a packed file of the name in the skin directory wins over a
    // folder; a name that is neither falls to the internal skin of that name
    // or else the first internal skin (the name follows). Without any source
    // the model switches itself off. A load that fails keeps the previous
    // name and tables, reports the message through Env.ShowError and
    // returns false.
    bool SetSkinName(const std::string& name);
    bool Active() const { return active_; }
    // Switching on loads the current name; switching off empties the tables.
    void SetActive(bool active);
    std::int32_t HueOffset() const { return hueOffset_; }
    std::int32_t Saturation() const { return saturation_; }
    // These reload an active skin; a failure propagates to the caller.
    void SetHueOffset(std::int32_t value);
    void SetSaturation(std::int32_t value);
    // Loads the current name again when active (throws on failure, the
    // current tables stay then).
    void ReloadSkin();
    // Ini lines merged into every skin; blanks are removed from every line
    // that is not empty and not a comment. Reloads like SetSkinName.
    void SetCommonSections(const std::vector<std::string>& lines);
    const std::vector<std::string>& CommonSections() const { return commonSections_; }

    // The skin directory made absolute, with a trailing backslash.
    std::string ResolveSkinDirectory() const;
    // Internal skins first (in their order), then the sorted names of skin
    // folders (kind 0), packed files (kind 1) or both (kind 2) in the skin
    // directory. `first` is the first internal skin, else the first found.
    void GetSkinNames(std::vector<std::string>& list, TSkinListKind kind, std::string& first) const;

    // Direct loads, for tools and tests: they throw on failure and leave
    // the current tables alone then.
    void LoadFolder(const std::string& folder);
    void LoadPackedFile(const std::string& fileName);
    void LoadStoredData(const std::vector<std::uint8_t>& packed);

    // ------------------------------------------------------------- tables
    const TsSkinTables& Tables() const { return tables_; }
    const TsMaskArray& Masks() const { return tables_.Masks; }
    const TsPatternArray& Patterns() const { return tables_.Patterns; }
    const TsGeneralDataArray& Sections() const { return tables_.Sections; }
    const TsSkinData& SkinData() const { return tables_.SkinData; }
    const Bitmap32* MasterBitmap() const { return tables_.MasterBitmap.get(); }
    const TsConstIndexes& ConstData() const { return consts_; }
    // Extended borders (the platform must be able to show layered windows);
    // takes effect at the next load.
    bool ExtendedBorders = false;
    const TsExtBorderShadow& ExtBorderShadow() const { return shadow_; }
    bool IsPacked() const { return isPacked_; }
    // Counts the loads and unloads of tables: a painter's cache made under
    // another value is out of date.
    std::uint64_t Generation() const { return generation_; }
    // "VERSION" with "." as separator, or "N/A" without an active skin.
    std::string SkinInfo() const;

    // ------------------------------------------------------------ lookups
    std::int32_t IndexOfSection(const std::string& name) const;
    bool SectionIndexValid(std::int32_t index) const;
    bool MaskIndexValid(std::int32_t index) const;
    // Up the PARENTCLASS chain (bounded: a loop ends as not found).
    std::int32_t IndexOfMask(std::int32_t sectionIndex, const std::string& sectionName, const std::string& key) const;
    std::int32_t IndexOfMaskExact(const std::string& sectionName, const std::string& key) const;
    std::int32_t IndexOfTexture(std::int32_t sectionIndex, const std::string& sectionName, const std::string& key) const;
    std::int32_t IndexOfPattern(std::int32_t sectionIndex, const std::string& sectionName, const std::string& key) const;
    // Fixed border widths of a nine-slice entry (its own, else the common
    // border, else the state size). MaskMarginLeft gives an entry of no
    // columns one column, as painters expect.
    std::int32_t MaskMarginLeft(std::int32_t index);
    std::int32_t MaskMarginTop(std::int32_t index) const;
    std::int32_t MaskMarginRight(std::int32_t index) const;
    std::int32_t MaskMarginBottom(std::int32_t index) const;
    TsColor GlobalInfoColor() const;
    TsColor GlobalInfoHotColor() const;
    TsColor GlobalInfoFontColor() const;
    TsColor EditSectionFontColor() const;
    TsColor SelectionColor(bool focused) const;
    TsColor SelectionFontColor(bool focused) const;

    // System colours resolved, other values unchanged.
    TsColor ColorToRGB(TsColor c) const;

private:
    enum class Source { None, Folder, Packed, Internal };
    void Reload();  // the current name, with every rule above; throws
    void Install(TsSkinTables tables, bool packed);
    void Clear();
    void UpdateConstIndexes();
    void UpdateShadow();
    TSkinLoadContext Context() const;
    std::int32_t WalkUp(std::int32_t sectionIndex, const std::string& sectionName,
                        const std::function<std::int32_t(const std::string&)>& find) const;

    bool active_ = true;
    std::string skinName_;
    std::string nameAsSet_;  // before a trailing ".asz" was dropped
    std::int32_t hueOffset_ = 0;
    std::int32_t saturation_ = 0;
    std::vector<std::string> commonSections_;
    TsSkinTables tables_;
    TsConstIndexes consts_;
    TsExtBorderShadow shadow_;
    bool isPacked_ = false;
    std::uint64_t generation_ = 0;
};

}  // namespace kova::skin
