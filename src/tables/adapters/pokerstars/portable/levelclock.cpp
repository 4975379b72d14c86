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

bool IsTxtName(const std::string& name) {
    if (name.size() < 4) return false;
    const char* e = name.c_str() + name.size() - 4;
    return e[0] == '.' && (e[1] | 0x20) == 't' && (e[2] | 0x20) == 'x' && (e[3] | 0x20) == 't';
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
        // Names only: a look at every file of a large folder would cost more
        // than the rest of the scan; the tables look at their own files.
        std::string name = it->path().filename().string();
        if (!IsTxtName(name)) continue;
        std::error_code fe;
        if (it->is_directory(fe)) continue;
        files_.push_back(THistoryFile{std::move(name)});
    }
    std::sort(files_.begin(), files_.end(), [](const THistoryFile& a, const THistoryFile& b) { return a.Name < b.Name; });
    numbers_.clear();
    numbers_.reserve(files_.size() * 2);
    for (std::size_t i = 0; i < files_.size(); ++i) {
        const std::string& n = files_[i].Name;
        for (std::size_t at = 0; at < n.size();) {
            if (n[at] < '0' || n[at] > '9') {
                ++at;
                continue;
            }
            std::size_t end = at;
            while (end < n.size() && n[end] >= '0' && n[end] <= '9') ++end;
            std::vector<std::size_t>& list = numbers_[n.substr(at, end - at)];
            if (list.empty() || list.back() != i) list.push_back(i);
            at = end;
        }
    }
}

std::vector<const THistoryFile*> THistoryFolder::FilesNamedWith(const std::string& id) const {
    std::vector<const THistoryFile*> found;
    if (id.empty()) return found;
    if (std::all_of(id.begin(), id.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        if (auto it = numbers_.find(id); it != numbers_.end())
            for (std::size_t i : it->second) found.push_back(&files_[i]);
        return found;
    }
    for (const THistoryFile& f : files_)
        if (f.Name.find(id) != std::string::npos) found.push_back(&f);
    return found;
}

void TrackLevelClock(TLevelClock& clock, THistoryFolder& folder, const std::string& id, double now,
                     TAverageSamples& samples, const TClockLog& log) {
    if (clock.State == 0) {
        if (id.empty()) return;
        if (!folder.Exists() || folder.Generation() == clock.SeenGeneration) return;
        bool waitForFile = false;
        for (const THistoryFile* file : folder.FilesNamedWith(id)) {
            const THistoryFile& f = *file;
            if (clock.PassedOver.count(f.Name)) continue;
            const fs::path path = folder.Folder() / f.Name;
            std::error_code ec;
            const uintmax_t size = fs::file_size(path, ec);
            if (ec || size == 0) {  // not written yet: look again next tick
                waitForFile = true;
                continue;
            }
            const std::optional<std::string> bytes = ReadFile(path);
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
            clock.File = path;
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
