#include "tables/files/placeconfig_file.h"

#include "framework/portable/safefile.h"
#include "tables/files/recordcodec.h"

namespace kova::tables {

namespace fs = std::filesystem;

namespace {

using layout::LayoutOf;

// Far above any real setup; keeps a garbled count from building millions
// of empty configs out of a few megabytes.
constexpr int32_t kMaxConfigs = 100000;

bool HasCurrentMarker(const TConfigFileHeader& h) {
    return h.Marker.Bytes[0] == 9 && h.Marker.Str() == PlaceConfigMarker;
}

}  // namespace

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
        layout::GetRecord(p, header);
        const bool withTOI = HasCurrentMarker(header);
        int32_t count = 0;
        if (!in.ReadI32(count)) return fail("config count missing");
        const std::size_t minBytes = withTOI ? layout::StreamMinSize<LayoutOf<TPlaceConfig>>()
                                             : layout::StreamMinSize<layout::OlderPlaceConfigLayout>();
        if (count > kMaxConfigs || !layout::CountFits(count, in.Remaining(), minBytes)) {
            return fail("bad config count " + std::to_string(count));
        }
        // A further header block starts the list anew.
        configs.assign(static_cast<std::size_t>(count), TPlaceConfig{});
        for (TPlaceConfig& config : configs) {
            const bool read = withTOI ? layout::ReadFields<LayoutOf<TPlaceConfig>>(in, config, why)
                                      : layout::ReadFields<layout::OlderPlaceConfigLayout>(in, config, why);
            if (!read) return fail(why);
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
    layout::PutRecord(out.Append(TConfigFileHeader::ByteSize), header);
    out.WriteI32(static_cast<int32_t>(configs.size()));
    for (const TPlaceConfig& config : configs) layout::WriteFields<LayoutOf<TPlaceConfig>>(out, config);
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
