// The information panel's layout files: ini files with the panel's size in
// section "Table" and one section per control (named after it) with its
// place, visibility and, for labels, colours, font and sizing. Colours are
// 0x00BBGGRR values, stored as three 0..255 keys.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/portable/inifiles.h"

namespace kova::tables {

struct TLayoutControl {
    std::string Name;
    bool IsLabel = false;
    bool Visible = true;
    int32_t Left = 0, Top = 0, Width = 0, Height = 0;
    // Labels only.
    bool Transparent = false;
    uint32_t BackColor = 0x000000;   // black
    std::string FontName = "MS Sans Serif";
    uint32_t FontColor = 0xFFFFFF;   // white
    int32_t FontSize = 12;           // points
    uint32_t FontStyle = 1;          // bold 1, italic 2, underline 4, strike-out 8
    bool AutoSize = true;
};

struct TPanelLayout {
    int32_t Width = 0, Height = 0;
    std::vector<TLayoutControl> Controls;
};

// Writes the layout's keys into the ini (the caller writes the file).
void WriteLayout(kova::TCustomIniFile& ini, const TPanelLayout& layout);

// Reads a layout over the current one: missing keys keep the current place
// and size, while a label's colours and font fall back to the defaults
// (not transparent, black on white... see TLayoutControl) and its AutoSize
// to the current value. Values outside their range are brought into it.
void ReadLayout(const kova::TCustomIniFile& ini, TPanelLayout& layout);

// Whole files. Saving creates the folder when it is missing; false with a
// reason in `error` when the file could not be written.
bool SaveLayoutFile(const std::string& fileName, const TPanelLayout& layout, std::string& error);
// A missing or unreadable file leaves controls in place and resets label
// looks as ReadLayout does with an empty ini.
void LoadLayoutFile(const std::string& fileName, TPanelLayout& layout);

}  // namespace kova::tables
