#include "skin/core/portable/skinconsts.h"

#include <algorithm>
#include <cctype>

namespace kova::skin {

const TSkinTextEntry kSkinTexts[] = {
    {s_Create, "Create"},
    {s_SelectDir, "Select directory"},
    {s_HintPreview, "Preview of the future hint window"},
    {s_Gradient, "Gradient"},
    {s_Background, "Background"},
    {s_Shadow, "Shadow"},
    {s_BottomBorder, "Bottom border"},
    {s_TopBorder, "Top border"},
    {s_Color, "Color"},
    {s_SaveToFileAs, "Save to file as..."},
    {s_LoadFromFile, "Load from file"},
    {s_Texture, "Texture"},
    {s_Font, "Font"},
    {s_NoPicture, "No picture available"},
    {s_Transparency, "Transparency"},
    {s_Offset, "Offset"},
    {s_Percent, "Percent"},
    {s_PauseHide, "Pause hide (ms)"},
    {s_MaxWidth, "Max width"},
    {s_CornersRadius, "Corners radius"},
    {s_VertMargin, "Vert. margin"},
    {s_HorizMargin, "Horiz. margin"},
    {s_ArrowLength, "Arrow length"},
    {s_Blur, "Blur"},
    {s_BevelWidth, "Bevel width"},
    {s_Style, "Style :"},
    {s_PreservedSettings, "Preserved settings :"},
    {s_HintDesignerForm, "Hint Designer Form"},
    {s_FrameAdapterError, "TsFrameAdapter adapter must be placed on the handled frame"},
    {s_Hex, "Hex - "},
    {s_Decimal, "Decimal - "},
    {s_Blue, "Blue :"},
    {s_Green, "Green :"},
    {s_Red, "Red :"},
    {s_ColorDlgColor, "Color"},
    {s_AdditionalColors, "Additional colors :"},
    {s_MainPalette, "Main palette :"},
    {s_DefineColors, "Define colors"},
    {s_AddToCustomColors, "Add to custom colors set"},
    {s_VirtualListCount, "Listbox (%s) style must be virtual in order to set Count"},
    {s_ErrorSettingCount, "Error setting %s.Count"},
    {s_Internal, "(internal)"},
    {s_AvailSkins, "Available skins"},
    {s_FileOpen, "File open"},
    {s_Calculator, "Calculator"},
    {s_Close, "Close"},
    {s_Maximize, "Maximize"},
    {s_Minimize, "Minimize"},
    {s_Size, "Size"},
    {s_Move, "Move"},
    {s_Restore, "Restore"},
    {s_Help, "&Help"},
    {s_Cancel, "Cancel"},
    {s_OK, "OK"},
};
const std::size_t kSkinTextCount = sizeof kSkinTexts / sizeof kSkinTexts[0];

const char* const acThirdNames[kThirdKindCount] = {
    "Edit",     "Button",  "BitBtn",      "CheckBox",    "ComboBox",   "Grid",     "GroupBox",
    "ListView", "Panel",   "TreeView",    "wwEdit",      "GridEh",     "VirtualTree", "PageControl",
    "TabControl", "ToolBar", "StatusBar", "SpeedButton", "ScrollControl", "UpDownBtn",
};

const char* const acThirdDefaults[kThirdKindCount] = {
    "", "TButton", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
};

std::vector<std::string> ThirdDefaultClasses(int kind) {
    std::vector<std::string> out;
    if (kind < 0 || kind >= kThirdKindCount) return out;
    std::string_view rest = acThirdDefaults[kind];
    while (!rest.empty()) {
        const std::size_t end = rest.find_first_of("\r\n");
        const std::string_view name = rest.substr(0, end);
        if (!name.empty()) out.emplace_back(name);
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 1);
    }
    return out;
}

namespace {
bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}
}  // namespace

int ThirdKindIndex(std::string_view name) {
    for (int i = 0; i < kThirdKindCount; ++i)
        if (SameText(name, acThirdNames[i])) return i;
    return -1;
}

bool ShortDateHasFourDigitYear(std::string_view format) {
    std::string upper(format);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper.find("YYYY") != std::string::npos;
}

bool HasSwitch(const std::vector<std::string>& params, std::string_view lowerSwitch) {
    for (const std::string& p : params) {
        std::string lower(p);
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (lower == lowerSwitch) return true;
    }
    return false;
}

}  // namespace kova::skin
