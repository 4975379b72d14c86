#include "tables/files/placeconfig_file.h"

#include "framework/portable/safefile.h"
#include "tables/files/codepage.h"
#include "tables/files/recordcodec.h"

namespace kova::tables {

namespace fs = std::filesystem;

namespace {

// The smallest encodings, to check counts against the bytes that remain
// before anything is allocated for them.
constexpr std::size_t kMinConfigBytes = 4 + 4;  // empty name, no groups (older files: no TOI block)
constexpr std::size_t kMinGroupBytes = 4 + 41 + 4 + TTitleSpec::ByteSize + 4 + 10 + 2 * TWindowSize::ByteSize + 4;
// Far above any real setup; keeps a garbled count from building millions
// of empty configs out of a few megabytes.
constexpr int32_t kMaxConfigs = 100000;

bool HasCurrentMarker(const TConfigFileHeader& h) {
    return h.Marker.Bytes[0] == 9 && h.Marker.Str() == PlaceConfigMarker;
}

void GetHeader(const uint8_t* p, TConfigFileHeader& h) {
    GetShort(p, h.Marker);
    GetBytes(p + 10, h.Kept10);
    h.SelectedIndex = GetI32(p + 24);
    h.Byte28 = p[28];
    GetBytes(p + 29, h.Kept29);
}

void PutHeader(uint8_t* p, const TConfigFileHeader& h) {
    PutShort(p, h.Marker);
    PutBytes(p + 10, h.Kept10);
    PutI32(p + 24, h.SelectedIndex);
    p[28] = h.Byte28;
    PutBytes(p + 29, h.Kept29);
}

void GetTOI(const uint8_t* p, TTOIConfig& t) {
    t.StackSlot = GetI32(p);
    t.NewTablesTo = GetI32(p + 4);
    t.WhenAutoActivated = p[8];
    t.AfterEnteringPot = p[9];
    t.SendToBottomAfterFold = p[10];
    t.Padding = p[11];
    t.KeepInGridCount = GetI32(p + 12);
    t.GridMinBB = GetI32(p + 16);
}

void PutTOI(uint8_t* p, const TTOIConfig& t) {
    PutI32(p, t.StackSlot);
    PutI32(p + 4, t.NewTablesTo);
    p[8] = t.WhenAutoActivated;
    p[9] = t.AfterEnteringPot;
    p[10] = t.SendToBottomAfterFold;
    p[11] = t.Padding;
    PutI32(p + 12, t.KeepInGridCount);
    PutI32(p + 16, t.GridMinBB);
}

bool ReadGroup(TByteReader& in, TGroupRec& g, std::string& why) {
    const uint8_t* p;
    if (!in.ReadI32(g.RoomIndex) || !(p = in.Take(41))) return why = "group cut short", false;
    GetShort(p, g.RoomName);
    if (!ReadWideStr(in, g.Name)) return why = "bad group name", false;
    if (!(p = in.Take(TTitleSpec::ByteSize))) return why = "group cut short", false;
    GetTitleSpec(p, g.Title);
    if (!ReadWideStr(in, g.ClassPattern)) return why = "bad window class pattern", false;
    if (!(p = in.Take(10 + 2 * TWindowSize::ByteSize))) return why = "group cut short", false;
    g.AutoPlace = p[0];
    g.AutoSort = p[1];
    g.AutoShift = p[2];
    g.AutoSize = p[3];
    g.AutoActivate = p[4];
    g.AllowChange = p[5];
    g.ActivateSize = p[6];
    g.MouseActivate = p[7];
    g.SharedSlot = p[8];
    g.TOIStyle = p[9];
    GetWindowSize(p + 10, g.Size1);
    GetWindowSize(p + 10 + TWindowSize::ByteSize, g.Size2);
    int32_t slots = 0;
    if (!in.ReadI32(slots)) return why = "group cut short", false;
    if (slots < 0 || static_cast<std::size_t>(slots) > in.Remaining() / TSlotRec::ByteSize) {
        return why = "bad slot count " + std::to_string(slots), false;
    }
    g.Slots.resize(static_cast<std::size_t>(slots));
    for (TSlotRec& s : g.Slots) GetSlot(in.Take(TSlotRec::ByteSize), s);
    return true;
}

void WriteGroup(TByteWriter& out, const TGroupRec& g) {
    out.WriteI32(g.RoomIndex);
    PutShort(out.Append(41), g.RoomName);
    WriteWideStr(out, g.Name);
    PutTitleSpec(out.Append(TTitleSpec::ByteSize), g.Title);
    WriteWideStr(out, g.ClassPattern);
    uint8_t* p = out.Append(10 + 2 * TWindowSize::ByteSize);
    p[0] = g.AutoPlace;
    p[1] = g.AutoSort;
    p[2] = g.AutoShift;
    p[3] = g.AutoSize;
    p[4] = g.AutoActivate;
    p[5] = g.AllowChange;
    p[6] = g.ActivateSize;
    p[7] = g.MouseActivate;
    p[8] = g.SharedSlot;
    p[9] = g.TOIStyle;
    PutWindowSize(p + 10, g.Size1);
    PutWindowSize(p + 10 + TWindowSize::ByteSize, g.Size2);
    out.WriteI32(static_cast<int32_t>(g.Slots.size()));
    for (const TSlotRec& s : g.Slots) PutSlot(out.Append(TSlotRec::ByteSize), s);
}

}  // namespace

void WriteWideStr(TByteWriter& out, const std::string& text) {
    const std::u16string wide = AnsiToUtf16(text);
    out.WriteI32(static_cast<int32_t>(wide.size()));
    uint8_t* p = out.Append(wide.size() * 2);
    for (char16_t u : wide) {
        *p++ = static_cast<uint8_t>(u);
        *p++ = static_cast<uint8_t>(u >> 8);
    }
}

bool ReadWideStr(TByteReader& in, std::string& text) {
    int32_t count = 0;
    if (!in.ReadI32(count)) return false;
    if (count < 0 || static_cast<std::size_t>(count) > in.Remaining() / 2) return false;
    const uint8_t* p = in.Take(static_cast<std::size_t>(count) * 2);
    std::u16string wide(static_cast<std::size_t>(count), u'\0');
    for (int32_t i = 0; i < count; ++i) {
        wide[static_cast<std::size_t>(i)] = static_cast<char16_t>(p[2 * i] | (p[2 * i + 1] << 8));
    }
    text = Utf16ToAnsi(wide);
    return true;
}

bool DecodePlaceConfig(std::span<const uint8_t> bytes, TConfigFileHeader& headerOut,
                       std::vector<TPlaceConfig>& configsOut, std::string* error) {
    TByteReader in(bytes);
    TConfigFileHeader header;
    std::vector<TPlaceConfig> configs;
    std::string why;
    auto fail = [&](const std::string& reason) {
        if (error) *error = reason + " at byte " + std::to_string(in.Position());
        return false;
    };
    while (!in.AtEnd()) {
        const uint8_t* p = in.Take(TConfigFileHeader::ByteSize);
        if (!p) return fail("header cut short");
        GetHeader(p, header);
        const bool withTOI = HasCurrentMarker(header);
        int32_t count = 0;
        if (!in.ReadI32(count)) return fail("config count missing");
        const std::size_t minBytes = kMinConfigBytes + (withTOI ? TTOIConfig::ByteSize : 0);
        if (count < 0 || count > kMaxConfigs || static_cast<std::size_t>(count) > in.Remaining() / minBytes) {
            return fail("bad config count " + std::to_string(count));
        }
        // A further header block starts the list anew.
        configs.clear();
        for (int32_t c = 0; c < count; ++c) {
            TPlaceConfig config;
            if (!ReadWideStr(in, config.Name)) return fail("bad config name");
            if (withTOI) {
                if (!(p = in.Take(TTOIConfig::ByteSize))) return fail("config cut short");
                GetTOI(p, config.TOI);
            }
            int32_t groups = 0;
            if (!in.ReadI32(groups)) return fail("config cut short");
            if (groups < 0 || static_cast<std::size_t>(groups) > in.Remaining() / kMinGroupBytes) {
                return fail("bad group count " + std::to_string(groups));
            }
            config.Groups.resize(static_cast<std::size_t>(groups));
            for (TGroupRec& g : config.Groups) {
                if (!ReadGroup(in, g, why)) return fail(why);
            }
            configs.push_back(std::move(config));
        }
    }
    headerOut = header;
    configsOut = std::move(configs);
    return true;
}

std::vector<uint8_t> EncodePlaceConfig(const TConfigFileHeader& lastHeader, int32_t selectedIndex,
                                       const std::vector<TPlaceConfig>& configs) {
    TByteWriter out;
    TConfigFileHeader header = lastHeader;
    header.Marker.Assign(PlaceConfigMarker);
    header.SelectedIndex = selectedIndex;
    header.Byte28 = 0;
    PutHeader(out.Append(TConfigFileHeader::ByteSize), header);
    out.WriteI32(static_cast<int32_t>(configs.size()));
    for (const TPlaceConfig& config : configs) {
        WriteWideStr(out, config.Name);
        PutTOI(out.Append(TTOIConfig::ByteSize), config.TOI);
        out.WriteI32(static_cast<int32_t>(config.Groups.size()));
        for (const TGroupRec& g : config.Groups) WriteGroup(out, g);
    }
    return std::move(out.Bytes());
}

TLoadStatus LoadPlaceConfig(const fs::path& file, TConfigFileHeader& header, std::vector<TPlaceConfig>& configs) {
    header = TConfigFileHeader{};
    configs.clear();
    TFileReadResult r = SafeReadFile(file, MaxPlaceConfigFileSize);
    if (r.Status == TFileReadStatus::Missing) return TLoadStatus::Missing;
    std::string why = r.Error;
    if (r.Status == TFileReadStatus::Ok && DecodePlaceConfig(r.Bytes, header, configs, &why)) {
        return TLoadStatus::Loaded;
    }
    ReportDamagedFile(file, why);
    return TLoadStatus::Damaged;
}

bool WritePlaceConfig(const fs::path& file, const TConfigFileHeader& lastHeader, int32_t selectedIndex,
                      const std::vector<TPlaceConfig>& configs) {
    const std::vector<uint8_t> bytes = EncodePlaceConfig(lastHeader, selectedIndex, configs);
    return WriteDataFile(file, bytes);
}

int32_t ActiveConfigIndex(const TConfigFileHeader& header, std::size_t configCount) {
    if (configCount == 0) return -1;
    if (header.SelectedIndex < 0 || static_cast<std::size_t>(header.SelectedIndex) >= configCount) return 0;
    return header.SelectedIndex;
}

bool SavePlaceConfig(const fs::path& folder, const TConfigFileHeader& lastHeader, int32_t selectedIndex,
                     const std::vector<TPlaceConfig>& configs, const TUserOptions& userOptions,
                     TUserIniState userIniState, const TStartupSettings& startup) {
    bool ok = WritePlaceConfig(folder / PlaceConfigFileName, lastHeader, selectedIndex, configs);
    if (userIniState != TUserIniState::Failed) {
        ok = SaveUserIni(folder / UserIniFileName, userOptions) && ok;
    }
    ok = SaveStartupIni(folder / StartupIniFileName, startup) && ok;
    return ok;
}

}  // namespace kova::tables
