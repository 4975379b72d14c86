#include "tables/logic/hudlayout.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace kova::tables {

namespace {

// Places and sizes beyond any screen are not layouts but damage.
constexpr int32_t MaxCoordinate = 100000;

int32_t ReadClamped(const kova::TCustomIniFile& ini, const std::string& section, const char* key, int32_t current,
                    int32_t low, int32_t high) {
    return std::clamp(ini.ReadInteger(section, key, current), low, high);
}

void WriteColour(kova::TCustomIniFile& ini, const std::string& section, const std::string& prefix, uint32_t colour) {
    ini.WriteInteger(section, prefix + "Red", static_cast<int32_t>(colour & 0xFF));
    ini.WriteInteger(section, prefix + "Green", static_cast<int32_t>((colour >> 8) & 0xFF));
    ini.WriteInteger(section, prefix + "Blue", static_cast<int32_t>((colour >> 16) & 0xFF));
}

uint32_t ReadColour(const kova::TCustomIniFile& ini, const std::string& section, const std::string& prefix,
                    uint32_t fallback) {
    auto byte = [&](const char* name, int shift) {
        const int32_t d = static_cast<int32_t>((fallback >> shift) & 0xFF);
        return static_cast<uint32_t>(std::clamp(ini.ReadInteger(section, prefix + name, d), 0, 255));
    };
    return byte("Red", 0) + byte("Green", 8) * 256 + byte("Blue", 16) * 65536;
}

}  // namespace

void WriteLayout(kova::TCustomIniFile& ini, const TPanelLayout& layout) {
    ini.WriteInteger("Table", "Width", layout.Width);
    ini.WriteInteger("Table", "Height", layout.Height);
    for (const TLayoutControl& c : layout.Controls) {
        if (c.Name.empty()) continue;
        ini.WriteBool(c.Name, "Visible", c.Visible);
        ini.WriteInteger(c.Name, "Left", c.Left);
        ini.WriteInteger(c.Name, "Top", c.Top);
        ini.WriteInteger(c.Name, "Width", c.Width);
        ini.WriteInteger(c.Name, "Height", c.Height);
        if (!c.IsLabel) continue;
        ini.WriteBool(c.Name, "Transparent", c.Transparent);
        WriteColour(ini, c.Name, "BackColor", c.BackColor);
        ini.WriteString(c.Name, "FontName", c.FontName);
        WriteColour(ini, c.Name, "FontColor", c.FontColor);
        ini.WriteInteger(c.Name, "FontSize", c.FontSize);
        ini.WriteInteger(c.Name, "FontStyle", static_cast<int32_t>(c.FontStyle));
        ini.WriteBool(c.Name, "AutoSize", c.AutoSize);
    }
}

void ReadLayout(const kova::TCustomIniFile& ini, TPanelLayout& layout) {
    layout.Width = ReadClamped(ini, "Table", "Width", layout.Width, 0, MaxCoordinate);
    layout.Height = ReadClamped(ini, "Table", "Height", layout.Height, 0, MaxCoordinate);
    const TLayoutControl defaults;
    for (TLayoutControl& c : layout.Controls) {
        if (c.Name.empty()) continue;
        const std::string& s = c.Name;
        if (c.IsLabel) {
            c.Transparent = ini.ReadBool(s, "Transparent", false);
            c.BackColor = ReadColour(ini, s, "BackColor", defaults.BackColor);
            c.FontName = ini.ReadString(s, "FontName", defaults.FontName);
            if (c.FontName.empty()) c.FontName = defaults.FontName;
            c.FontColor = ReadColour(ini, s, "FontColor", defaults.FontColor);
            c.FontSize = ini.ReadInteger(s, "FontSize", defaults.FontSize);
            if (c.FontSize < 1 || c.FontSize > 200) c.FontSize = defaults.FontSize;
            c.FontStyle = static_cast<uint32_t>(ini.ReadInteger(s, "FontStyle", static_cast<int32_t>(defaults.FontStyle))) & 0xF;
            c.AutoSize = ini.ReadBool(s, "AutoSize", c.AutoSize);
        }
        c.Visible = ini.ReadBool(s, "Visible", c.Visible);
        c.Left = ReadClamped(ini, s, "Left", c.Left, -MaxCoordinate, MaxCoordinate);
        c.Top = ReadClamped(ini, s, "Top", c.Top, -MaxCoordinate, MaxCoordinate);
        c.Width = ReadClamped(ini, s, "Width", c.Width, 0, MaxCoordinate);
        c.Height = ReadClamped(ini, s, "Height", c.Height, 0, MaxCoordinate);
    }
}

bool SaveLayoutFile(const std::string& fileName, const TPanelLayout& layout, std::string& error) {
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::path(fileName).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder, ec);
    kova::TMemIniFile ini(fileName);
    if (ini.LoadStatus() == kova::TIniLoadStatus::Error || ini.LoadStatus() == kova::TIniLoadStatus::TooLarge) {
        // A file that cannot be read is not overwritten blindly: start afresh.
        ini.Clear();
    }
    WriteLayout(ini, layout);
    if (!ini.UpdateFile()) {
        error = ini.WriteError().empty() ? "cannot write " + fileName : ini.WriteError();
        return false;
    }
    return true;
}

void LoadLayoutFile(const std::string& fileName, TPanelLayout& layout) {
    kova::TMemIniFile ini(fileName);
    if (ini.LoadStatus() != kova::TIniLoadStatus::Loaded) ini.Clear();
    ReadLayout(ini, layout);
}

}  // namespace kova::tables
