#include "tables/files/userini.h"

#include <chrono>
#include <thread>

#include "framework/portable/safefile.h"
#include "tables/files/recordcodec.h"

namespace kova::tables {

namespace fs = std::filesystem;

namespace {

constexpr char kCommon[] = "Common";
constexpr char kOngame[] = "Ongame";
constexpr char kPokerStars[] = "PokerStars";

// One table drives both directions so that reader and writer cannot drift
// apart; the order is the file's order.
template <typename Settings, typename IntFn, typename BoolFn, typename FloatFn, typename StrFn>
void ForEachKey(Settings& s, IntFn i, BoolFn b, FloatFn f, StrFn str) {
    i(kCommon, "Left", s.Left, s.Left);
    i(kCommon, "Top", s.Top, s.Top);
    i(kCommon, "ActivePage", s.ActivePage, 0);
    i(kCommon, "FrameThick", s.FrameThick, 6);
    i(kCommon, "ScanningPeriod", s.ScanningPeriod, 200);
    b(kCommon, "CommonTimeBank", s.CommonTimeBank);
    b(kCommon, "CommonImBack", s.CommonImBack);
    b(kCommon, "CommonInfoTab", s.CommonInfoTab);
    b(kCommon, "CommonBetpot", s.CommonBetpot);
    b(kCommon, "JumpMouse", s.JumpMouse);
    b(kCommon, "LBTNMouseActivated", s.LBTNMouseActivated);
    f(kCommon, "MouseDelay", s.MouseDelay, 0.0);
    b(kCommon, "AutoRun", s.AutoRun);
    b(kCommon, "MinimizeOnRun", s.MinimizeOnRun);
    str(kOngame, "HHDir", s.OngameHHDir, "C:\\");
    str(kPokerStars, "HHDir", s.PokerStarsHHDir, "C:\\");
    b(kPokerStars, "TimerEnabled", s.TimerEnabled);
    i(kPokerStars, "CurTournament", s.CurTournament, 8);
    i(kPokerStars, "TotalTournament", s.TotalTournament, 16);
    i(kPokerStars, "MaxTournament", s.MaxTournament, 1);
    b(kPokerStars, "AutoClosePopup", s.AutoClosePopup);
    b(kPokerStars, "WithoutBuyinDialog", s.WithoutBuyinDialog);
    b(kPokerStars, "SendToBottom", s.SendToBottom);
    b(kPokerStars, "AutoCloseTour", s.AutoCloseTour);
    i(kPokerStars, "CloseTimeTour", s.CloseTimeTour, 2);
    b(kPokerStars, "ClickSNGtab", s.ClickSNGtab);
    b(kPokerStars, "PSTourTimeBank", s.PSTourTimeBank);
    b(kPokerStars, "PSTourImBack", s.PSTourImBack);
    b(kPokerStars, "PSTourInfoTab", s.PSTourInfoTab);
    b(kPokerStars, "PSCashTimeBank", s.PSCashTimeBank);
    b(kPokerStars, "PSCashImBack", s.PSCashImBack);
    b(kPokerStars, "PSCashInfoTab", s.PSCashInfoTab);
    b(kPokerStars, "YesWaitList", s.YesWaitList);
    b(kPokerStars, "MaxWaitList", s.MaxWaitList);
    b(kPokerStars, "NoWaitList", s.NoWaitList);
    i(kPokerStars, "MaxWaitListNum", s.MaxWaitListNum, 8);
    b(kPokerStars, "OnlyPlayed", s.OnlyPlayed);
    b(kPokerStars, "AutoCloseCash", s.AutoCloseCash);
    i(kPokerStars, "CloseTimeCash", s.CloseTimeCash, 10);
    i(kPokerStars, "PS7", s.PS7, 0);
    i(kPokerStars, "SNG_Spin", s.SNG_Spin, 0);
}

}  // namespace

void ReadStartupSettings(const TCustomIniFile& ini, TStartupSettings& s) {
    ForEachKey(
        s,
        [&](const char* sec, const char* key, int32_t& v, int32_t def) { v = ini.ReadInteger(sec, key, def); },
        [&](const char* sec, const char* key, bool& v) { v = ini.ReadBool(sec, key, v); },
        [&](const char* sec, const char* key, double& v, double def) { v = ini.ReadFloat(sec, key, def); },
        [&](const char* sec, const char* key, std::string& v, const char* def) { v = ini.ReadString(sec, key, def); });
}

void WriteStartupSettings(TCustomIniFile& ini, const TStartupSettings& settings) {
    TStartupSettings s = settings;
    ForEachKey(
        s,
        [&](const char* sec, const char* key, int32_t& v, int32_t) { ini.WriteInteger(sec, key, v); },
        [&](const char* sec, const char* key, bool& v) { ini.WriteBool(sec, key, v); },
        [&](const char* sec, const char* key, double& v, double) { ini.WriteFloat(sec, key, v); },
        [&](const char* sec, const char* key, std::string& v, const char*) { ini.WriteString(sec, key, v); });
}

TLoadStatus LoadStartupIni(const fs::path& file, TStartupSettings& settings) {
    TMemIniFile ini(file.string());
    switch (ini.LoadStatus()) {
    case TIniLoadStatus::Loaded:
        ReadStartupSettings(ini, settings);
        return TLoadStatus::Loaded;
    case TIniLoadStatus::NoFile:
        ReadStartupSettings(ini, settings);
        return TLoadStatus::Missing;
    case TIniLoadStatus::TooLarge:
    case TIniLoadStatus::Error:
        break;
    }
    ReportDamagedFile(file, ini.LoadError());
    ReadStartupSettings(TMemIniFile(), settings);
    return TLoadStatus::Damaged;
}

bool SaveStartupIni(const fs::path& file, const TStartupSettings& settings) {
    TMemIniFile ini(file.string());
    if (ini.LoadStatus() == TIniLoadStatus::TooLarge || ini.LoadStatus() == TIniLoadStatus::Error) {
        // Unreadable now although it may have loaded at start: keep it.
        ReportDamagedFile(file, ini.LoadError());
        ini.Clear();
    }
    WriteStartupSettings(ini, settings);
    const std::string text = ini.GetText();
    return WriteDataFile(file, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

// ---- user.ini ----------------------------------------------------------------

void DecodeUserOptions(const uint8_t* p, TUserOptions& options) { layout::GetRecord(p, options); }

std::vector<uint8_t> EncodeUserOptions(const TUserOptions& options) {
    std::vector<uint8_t> bytes(TUserOptions::ByteSize);
    layout::PutRecord(bytes.data(), options);
    return bytes;
}

TUserIniState LoadUserIni(const fs::path& file, TUserOptions& options) {
    std::error_code ec;
    if (!fs::exists(file, ec)) return TUserIniState::NotFound;
    // The file may be held open by another program for a moment: retry.
    for (int attempt = 0; attempt < 10; ++attempt) {
        TFileReadResult r = SafeReadFilePrefix(file, TUserOptions::ByteSize);
        if (r.Status == TFileReadStatus::Missing) return TUserIniState::NotFound;
        if (r.Status == TFileReadStatus::Error) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            continue;
        }
        if (r.Bytes.size() < TUserOptions::ByteSize) continue;
        DecodeUserOptions(r.Bytes.data(), options);
        // Key 2 in a shared binding is shown and kept as 11.
        for (std::size_t k = 10; k < 20; ++k) {
            if (options.Bindings[k].Key == 2) options.Bindings[k].Key = 11;
        }
        return TUserIniState::Loaded;
    }
    ShowUserMessage(UserIniErrorMessage);
    return TUserIniState::Failed;
}

bool SaveUserIni(const fs::path& file, const TUserOptions& options) {
    const std::vector<uint8_t> bytes = EncodeUserOptions(options);
    return WriteDataFile(file, bytes);
}

}  // namespace kova::tables
