// The start-up and close-down of the skinning units: the shared texts,
// control-kind tables (skinconsts.h), shared defaults, the shared image
// list of edit-button glyphs, the shadows of extended borders, the system's
// version and the "/acver" switch. The program starts the units once at
// its start and finishes them at its end; tests that need them do the same.
//
// One start counter: the set-up runs on the first start only and is undone
// when the last start is finished; a finish without a start does nothing.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "skin/core/portable/skinconsts.h"
#include "skin/core/portable/skintypes.h"

namespace kova::skin {

class TPNGPicture;
class TsAlphaImageList;

// Starts with the program's own command-line parameters.
void StartSkinUnits();
// Starts with these parameters (switches such as "/acver").
void StartSkinUnits(const std::vector<std::string>& params);
void FinishSkinUnits();
int SkinUnitsStartCount();
bool SkinUnitsStarted();

// The shared text of a string-table id (TSkinTextId); empty before the
// start or when the program carries no such text.
const std::string& SkinText(int id);

// Defaults shared by the skinning units, set at start.
struct TSkinSharedDefaults {
    bool Flag = false;
    int UnsetA = -99;  // -99: no value chosen yet
    int UnsetB = -99;
    int Value = 0;
    TColor TransparentColour = clFuchsia;
    TColor KeyColour = clFuchsia;
    int ScrollArrowWidth = 21;  // SM_CXHSCROLL
};
const TSkinSharedDefaults& SkinSharedDefaults();

// True when the user's short date format shows four-digit years.
bool FourDigitYear();

// The shared list of 48 x 16 glyph strips "SF", "SR", "SD", "SE", "SC" (in
// that order: folder, reload, date, more, calculator; three states each).
// nullptr before the start; made on its first use after it.
TsAlphaImageList* SharedGlyphList();
enum TSharedGlyph { sgFolder = 0, sgReload = 1, sgDate = 2, sgMore = 3, sgCalculator = 4 };

// Texts 905 and 900 of the system library "User32" (empty when it could
// not be loaded).
const std::string& User32Text905();
const std::string& User32Text900();

// The built-in shadows of extended borders (active and inactive windows),
// PNG pictures with alpha; nullptr before the start or when missing.
TPNGPicture* ActiveShadow();
TPNGPicture* InactiveShadow();

// The system's version record (dwOSVersionInfoSize 148) and whether it is
// of the NT family (platform id 2).
const OSVERSIONINFOA& OsVersion();
bool IsNTFamily();

}  // namespace kova::skin
