// "PlaceConfig.cnfg": the configs with their groups and slots.
//
// Layout (little-endian): a 32-byte header, int32 config count C, C configs.
// Header: byte 0 = 9, bytes 1-9 "KOVAv2.05", 10-23 kept as read, 24-27 the
// selected config index (-1 none), 28 = 0, 29-31 kept as read.
// Config: Name (WideStr); the 20-byte TOI block (only in files whose header
// carries "KOVAv2.05"); int32 group count G; G groups.
// Group: RoomIndex int32; RoomName String[40] (41 bytes); Name (WideStr);
// Title (246 bytes); ClassPattern (WideStr); the 10 option bytes; Size1 and
// Size2 (52 bytes each); int32 slot count S; S slots of 32 bytes.
// WideStr: int32 count N, then N UTF-16 code units (8-bit in memory).
// A further header block in the file replaces the list read before it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "tables/files/byteio.h"
#include "tables/files/datafiles.h"
#include "tables/files/userini.h"
#include "tables/model/variables.h"

namespace kova::tables {

inline constexpr char PlaceConfigFileName[] = "PlaceConfig.cnfg";
inline constexpr char PlaceConfigMarker[] = "KOVAv2.05";

void WriteWideStr(TByteWriter& out, const std::string& text);
bool ReadWideStr(TByteReader& in, std::string& text);

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
