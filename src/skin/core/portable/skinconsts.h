// Constants shared by the skinning units: the ids of their texts in the
// program's string table, the kinds of controls whose classes a skin manager
// skins through its lists of class names (with the classes such a list holds
// by default), the texts of the skin dialogs, and the small rules the unit
// set-up applies to the system's settings.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kova::skin {

// Ids of the shared texts in the program's string table.
enum TSkinTextId : int {
    s_Create = 58910,
    s_SelectDir = 58911,
    s_HintPreview = 58924,
    s_Gradient = 58925,
    s_Background = 58926,
    s_Shadow = 58927,
    s_BottomBorder = 58928,
    s_TopBorder = 58929,
    s_Color = 58930,
    s_SaveToFileAs = 58931,
    s_LoadFromFile = 58932,
    s_Texture = 58933,
    s_Font = 58934,
    s_NoPicture = 58935,
    s_Transparency = 58936,
    s_Offset = 58937,
    s_Percent = 58938,
    s_PauseHide = 58939,
    s_MaxWidth = 58940,
    s_CornersRadius = 58941,
    s_VertMargin = 58942,
    s_HorizMargin = 58943,
    s_ArrowLength = 58944,
    s_Blur = 58945,
    s_BevelWidth = 58946,
    s_Style = 58947,
    s_PreservedSettings = 58948,
    s_HintDesignerForm = 58949,
    s_FrameAdapterError = 58950,
    s_Hex = 58951,
    s_Decimal = 58952,
    s_Blue = 58953,
    s_Green = 58954,
    s_Red = 58955,
    s_ColorDlgColor = 58956,
    s_AdditionalColors = 58957,
    s_MainPalette = 58958,
    s_DefineColors = 58959,
    s_AddToCustomColors = 58960,
    s_VirtualListCount = 58961,
    s_ErrorSettingCount = 58962,
    s_Internal = 58963,
    s_AvailSkins = 58964,
    s_FileOpen = 58970,
    s_Calculator = 58975,
    s_Close = 58976,
    s_Maximize = 58977,
    s_Minimize = 58978,
    s_Size = 58979,
    s_Move = 58980,
    s_Restore = 58981,
    s_Help = 58990,
    s_Cancel = 58991,
    s_OK = 58992,
};

// Every id above with the text the program's string table holds for it.
struct TSkinTextEntry {
    int Id;
    const char* Text;
};
extern const TSkinTextEntry kSkinTexts[];
extern const std::size_t kSkinTextCount;

// Further texts of the skin dialogs.
inline constexpr char s_Root[] = "Root :";
inline constexpr char s_DirWithSkins[] = "Directory with skins :";
inline constexpr char s_SelectSkinTitle[] = "Select skin";
inline constexpr char s_SkinPreview[] = "Skin preview";
inline constexpr char s_InvalidDate[] = "Invalid date";
inline constexpr char s_False[] = "FALSE";
inline constexpr char s_True[] = "TRUE";

// The kinds of controls a skin manager skins by class name, indexed
// 0..kThirdKindCount - 1, and the class names each kind's list holds by
// default (a list of names separated by line breaks, empty for none).
inline constexpr int kThirdKindCount = 20;
extern const char* const acThirdNames[kThirdKindCount];
extern const char* const acThirdDefaults[kThirdKindCount];
// The default class names of one kind as a list (empty outside the table).
std::vector<std::string> ThirdDefaultClasses(int kind);
// The index of a kind by its name (case-insensitive), -1 when unknown.
int ThirdKindIndex(std::string_view name);

// The message the "/acver" switch shows.
inline constexpr char kSkinEngineVersionText[] = "Skin engine v7.63";

// True when the short date format shows four-digit years ("yyyy" in any
// case).
bool ShortDateHasFourDigitYear(std::string_view shortDateFormat);
// True when one of the parameters, lower-cased, is the switch (given in
// lower case, "/acver").
bool HasSwitch(const std::vector<std::string>& params, std::string_view lowerSwitch);

}  // namespace kova::skin
