#include "tables/adapters/pokerstars/portable/levelclock.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <system_error>

#include "tables/adapters/pokerstars/portable/history.h"
#include "tables/logic/engine_routines.h"

namespace kova::tables::pokerstars {

namespace fs = std::filesystem;

namespace {

bool IsTxt(const fs::path& p) {
    std::string ext = p.extension().string();
    for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return ext == ".txt";
}

// The whole file; none when it cannot be read.
std::optional<std::string> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

}  // namespace

void THistoryFolder::Refresh(const fs::path& folder) {
    std::error_code ec;
    const fs::file_time_type time = fs::last_write_time(folder, ec);
    const bool exists = !ec && fs::is_directory(folder, ec) && !ec;
    if (!exists) {
        if (exists_ || folder != folder_) {
            folder_ = folder;
            exists_ = false;
            files_.clear();
            ++generation_;
        }
        return;
    }
    if (exists_ && folder == folder_ && time == time_) {
        // Unchanged; but a listing made within the folder clock's resolution
        // of its last change is made once more, when that time has passed.
        if (!recheck_ || fs::file_time_type::clock::now() < recheckAt_) return;
    }
    folder_ = folder;
    time_ = time;
    exists_ = true;
    List();
}

void THistoryFolder::List() {
    const auto now = fs::file_time_type::clock::now();
    recheck_ = now - time_ < recheckMargin_;
    recheckAt_ = time_ + recheckMargin_;
    ListFiles();
}

void THistoryFolder::ListFiles() {
    ++listings_;
    ++generation_;
    files_.clear();
    std::error_code ec;
    for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::directory_entry& e = *it;
        std::error_code fe;
        if (!e.is_regular_file(fe) || !IsTxt(e.path())) continue;
        THistoryFile f;
        f.Path = e.path();
        f.Name = e.path().filename().string();
        f.Size = e.file_size(fe);
        if (fe) f.Size = 0;
        files_.push_back(std::move(f));
    }
    std::sort(files_.begin(), files_.end(), [](const THistoryFile& a, const THistoryFile& b) { return a.Name < b.Name; });
}

void TrackLevelClock(TLevelClock& clock, THistoryFolder& folder, const std::string& id, double now,
                     TAverageSamples& samples, const TClockLog& log) {
    if (clock.State == 0) {
        if (id.empty()) return;
        if (!folder.Exists() || folder.Generation() == clock.SeenGeneration) return;
        bool waitForFile = false;
        for (const THistoryFile& f : folder.Files()) {
            if (f.Name.find(id) == std::string::npos || clock.PassedOver.count(f.Name)) continue;
            std::error_code ec;
            const uintmax_t size = fs::file_size(f.Path, ec);
            if (ec || size == 0) {  // not written yet: look again next tick
                waitForFile = true;
                continue;
            }
            const std::optional<std::string> bytes = ReadFile(f.Path);
            if (!bytes) {
                waitForFile = true;
                continue;
            }
            const std::vector<std::string> lines = HistoryLines(*bytes);
            const std::vector<std::string> first = ReadHand(lines, 1);
            if (first.empty()) {
                clock.PassedOver.insert(f.Name);
                if (log) log("Not a PokerStars hand history, passed over: " + f.Name);
                continue;
            }
            clock.File = f.Path;
            clock.Size = bytes->size();
            clock.State = 2;
            if (const std::optional<double> start = HandStartTime(first)) {
                clock.TournamentStart = *start;
            } else if (log) {
                log("Hand start time not readable in " + f.Name);
            }
            return;
        }
        if (!waitForFile) clock.SeenGeneration = folder.Generation();
        return;
    }
    if (clock.State != 2 || samples.Count >= 10) return;
    std::error_code ec;
    const uintmax_t size = fs::file_size(clock.File, ec);
    if (ec || size <= clock.Size) return;
    const std::optional<std::string> bytes = ReadFile(clock.File);
    if (!bytes) return;
    clock.Size = bytes->size();
    const std::vector<std::string> lines = HistoryLines(*bytes);
    const std::vector<std::string> newest = ReadHand(lines, 0);
    if (newest.empty()) return;
    if (clock.TournamentStart == 0) {
        if (const std::optional<double> start = HandStartTime(ReadHand(lines, 1))) clock.TournamentStart = *start;
    }
    if (clock.LastGrowth != 0) {
        if (const std::optional<double> start = HandStartTime(newest)) AddAverageSample(samples, clock.LastGrowth - *start);
    }
    clock.LastGrowth = now;
}

std::optional<double> LevelRemaining(double tournamentStart, const TAverageSamples& samples, int32_t levelMinutes,
                                     double now) {
    if (tournamentStart == 0 || samples.Count < 1 || levelMinutes <= 0) return std::nullopt;
    const double level = levelMinutes / 1440.0;
    double remaining = tournamentStart + samples.Average - now;
    if (!std::isfinite(remaining)) return std::nullopt;
    if (remaining < 0) remaining += std::ceil(-remaining / level) * level;
    if (remaining < 0) remaining += level;  // rounding of a whole number of levels
    return remaining;
}

int32_t AllowedRegistrations(int32_t keepOpen, int32_t liveTables, int32_t totalTournaments, int32_t tablesSeen) {
    return std::min(keepOpen - liveTables, totalTournaments - tablesSeen);
}

int32_t RegistrationLimit(int32_t lobbyRows, int32_t allowed) { return std::min(lobbyRows, allowed); }

}  // namespace kova::tables::pokerstars
