// "PlaceConfig.cnfg": the configs with their groups and slots.
//
// The file: a 32-byte header, int32 config count C, C configs. The header
// carries "KOVAv2.05" as a short string, the selected config index (-1
// none) and byte 28 = 0; its other bytes are written back as last read.
// A config is its name, the 20-byte TOI block (only in files whose header
// carries "KOVAv2.05") and its counted groups; a group mixes fixed blocks
// (title, option bytes, window sizes) with counted strings and its counted
// slots. The exact layouts are the field tables of TConfigFileHeader,
// TPlaceConfig, TTOIConfig and TGroupRec (recordcodec.h).
// A further header block in the file replaces the list read before it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "tables/files/datafiles.h"
#include "tables/files/userini.h"
#include "tables/model/variables.h"

namespace kova::tables {

inline constexpr char PlaceConfigFileName[] = "PlaceConfig.cnfg";
inline constexpr char PlaceConfigMarker[] = "KOVAv2.05";

// Decodes a whole file. On failure returns false, leaves both outputs
// untouched and says why in *error.
bool DecodePlaceConfig(std::span<const uint8_t> bytes, TConfigFileHeader& header,
                       std::vector<TPlaceConfig>& configs, std::string* error = nullptr);

// The file's bytes: the kept bytes of lastHeader, the marker, the selected
// index, byte 28 = 0, then every config with its TOI block.
std::vector<uint8_t> EncodePlaceConfig(const TConfigFileHeader& lastHeader, int32_t selectedIndex,
                                       const std::vector<TPlaceConfig>& configs);

// Missing file: empty list, a new header, no message. Damaged file: empty
// list, a new header, the file copied beside itself and the user told.
TLoadStatus LoadPlaceConfig(const std::filesystem::path& file, TConfigFileHeader& header,
                            std::vector<TPlaceConfig>& configs);

// Writes only "PlaceConfig.cnfg".
bool WritePlaceConfig(const std::filesystem::path& file, const TConfigFileHeader& lastHeader,
                      int32_t selectedIndex, const std::vector<TPlaceConfig>& configs);

// The config to select at start: the header's index, or 0 when it is past
// the last config (or negative); -1 with no config at all.
int32_t ActiveConfigIndex(const TConfigFileHeader& header, std::size_t configCount);

// The save of the config editors: writes "PlaceConfig.cnfg", then
// "user.ini" (unless it failed to load this session: the options in memory
// are then defaults, not the user's) and "startup.ini", all in folder.
// Registered hotkeys are not touched. Returns false when any write failed.
bool SavePlaceConfig(const std::filesystem::path& folder, const TConfigFileHeader& lastHeader,
                     int32_t selectedIndex, const std::vector<TPlaceConfig>& configs,
                     const TUserOptions& userOptions, TUserIniState userIniState,
                     const TStartupSettings& startup);

}  // namespace kova::tables
