// "startup.ini" (ini file of window, scanning, per-room and registration
// options) and "user.ini" (one binary TUserOptions record of 1212 bytes).
//
// This is the file layer: the main window copies its controls into a
// TStartupSettings before saving and back after loading, and shows the
// user options' bindings and registers its hotkeys itself.
//
// "user.ini" layout: 0 ShowHUD; 1-2 kept; 3 Sound; 4 Frame; 5-7 kept;
// 8-1207 20 bindings of 60 bytes (binding k at 8 + 60 k); 1208 UnderMouse;
// 1209 ActiveTable; 1210-1211 kept.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "framework/portable/inifiles.h"
#include "tables/files/datafiles.h"
#include "tables/model/variables.h"

namespace kova::tables {

inline constexpr char StartupIniFileName[] = "startup.ini";
inline constexpr char UserIniFileName[] = "user.ini";
inline constexpr char UserIniErrorMessage[] =
    "Error loading file \"user.ini\". Try to copy file \"user.ini\" to KOVA folder again!";

// Every key of "startup.ini". Keys are named as in the file; the Ongame
// and PokerStars hand-history folders are the two "HHDir" keys.
struct TStartupSettings {
    // [Common]
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t FrameThick = 6;
    int32_t ActivePage = 0;
    int32_t ScanningPeriod = 200;
    bool CommonTimeBank = false;
    bool CommonImBack = false;
    bool CommonInfoTab = false;
    bool CommonBetpot = false;
    bool JumpMouse = false;
    bool LBTNMouseActivated = false;
    double MouseDelay = 0;
    bool AutoRun = false;
    bool MinimizeOnRun = false;
    // [Ongame]
    std::string OngameHHDir = "C:\\";
    // [PokerStars]
    std::string PokerStarsHHDir = "C:\\";
    bool TimerEnabled = false;
    int32_t CurTournament = 8;
    int32_t TotalTournament = 16;
    int32_t MaxTournament = 1;
    bool AutoClosePopup = false;
    bool WithoutBuyinDialog = false;
    bool SendToBottom = false;
    bool AutoCloseTour = false;
    int32_t CloseTimeTour = 2;
    bool ClickSNGtab = false;
    bool PSTourTimeBank = false;
    bool PSTourImBack = false;
    bool PSTourInfoTab = false;
    bool PSCashTimeBank = false;
    bool PSCashImBack = false;
    bool PSCashInfoTab = false;
    bool YesWaitList = false;
    bool MaxWaitList = false;
    bool NoWaitList = false;
    int32_t MaxWaitListNum = 8;
    bool OnlyPlayed = false;
    bool AutoCloseCash = false;
    int32_t CloseTimeCash = 10;
    int32_t PS7 = 0;
    int32_t SNG_Spin = 0;

    bool operator==(const TStartupSettings&) const = default;
};

// Reads every key. A missing key gives its fixed default; booleans, Left
// and Top default to what `settings` holds on entry (the controls' current
// state).
void ReadStartupSettings(const TCustomIniFile& ini, TStartupSettings& settings);
// Writes every key into its section (ActivePage before FrameThick).
void WriteStartupSettings(TCustomIniFile& ini, const TStartupSettings& settings);

// A missing file gives the defaults; a damaged one (unreadable, oversized)
// too, after it was reported and copied.
TLoadStatus LoadStartupIni(const std::filesystem::path& file, TStartupSettings& settings);
// Updates the keys in the existing file (other keys, sections and comments
// stay) and replaces it safely.
bool SaveStartupIni(const std::filesystem::path& file, const TStartupSettings& settings);

// ---- user.ini ----------------------------------------------------------------

enum class TUserIniState {
    NotFound,  // no "user.ini": nothing loaded
    Loaded,    // read successfully: the program may save its files on close
    Failed,    // present but unreadable: the user was told; never overwrite it
};

void DecodeUserOptions(const uint8_t* p, TUserOptions& options);  // 1212 bytes at p
std::vector<uint8_t> EncodeUserOptions(const TUserOptions& options);

// Up to ten attempts at reading the one record; when all fail (missing
// file excepted) the user gets UserIniErrorMessage once. After a good read
// a Key 2 in bindings 10..19 becomes 11.
TUserIniState LoadUserIni(const std::filesystem::path& file, TUserOptions& options);
bool SaveUserIni(const std::filesystem::path& file, const TUserOptions& options);

// Whether closing the program may write its data files.
inline bool SaveOnClose(TUserIniState state) { return state == TUserIniState::Loaded; }

}  // namespace kova::tables
