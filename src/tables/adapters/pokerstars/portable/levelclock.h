// The blind-level clock of PokerStars tournament tables, window-free: the
// hand-history folder as an index that is read again only when the folder
// changed (a folder of thousands of files is not listed on every tick),
// the per-table following of the tournament's file, and the countdown.
//
// Times are day-based and on the client's clock side by side with the
// local clock: the client writes its hand times in the user's local time
// (or its own zone), never in UTC, so the clock compares them with the
// local time, and the clock-offset samples absorb what difference remains.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "tables/model/variables.h"

namespace kova::tables::pokerstars {

struct THistoryFile {
    std::string Name;  // in the folder
};

// The "*.txt" files of the hand-history folder, by name.
class THistoryFolder {
public:
    // `recheckMargin`: a listing made this soon after the folder's last
    // change is made once more when the margin has passed (folder times
    // may count whole seconds only).
    explicit THistoryFolder(std::chrono::milliseconds recheckMargin = std::chrono::seconds(2))
        : recheckMargin_(recheckMargin) {}
    // Looks at the folder: lists it again when it is another folder, when
    // its modification time changed, or once more after a listing that may
    // have missed a change (made within the margin of the folder's last
    // change). Otherwise one look at the folder's time.
    void Refresh(const std::filesystem::path& folder);
    // Counts the listings: a table looks through the files again only when
    // this changed since its last look.
    uint64_t Generation() const { return generation_; }
    bool Exists() const { return exists_; }
    const std::vector<THistoryFile>& Files() const { return files_; }
    // The files whose name contains `id`, in name order. A number (as
    // tournament ids are) is looked up among the whole numbers of the names,
    // so tournament 123 never takes the file of tournament 1234.
    std::vector<const THistoryFile*> FilesNamedWith(const std::string& id) const;
    const std::filesystem::path& Folder() const { return folder_; }
    // Listings made so far (for the benchmark and tests).
    uint64_t Listings() const { return listings_; }

private:
    void List();
    void ListFiles();
    std::chrono::milliseconds recheckMargin_;
    std::filesystem::path folder_;
    std::filesystem::file_time_type time_{};
    bool exists_ = false;
    bool recheck_ = false;
    std::filesystem::file_time_type recheckAt_{};
    uint64_t generation_ = 0;
    uint64_t listings_ = 0;
    std::vector<THistoryFile> files_;
    std::unordered_map<std::string, std::vector<std::size_t>> numbers_;  // whole numbers of the names
};

// The level clock of one tournament table.
struct TLevelClock {
    uint8_t State = 0;             // 0 looking for the file, 2 following it
    std::filesystem::path File;    // the tournament's hand-history file
    uintmax_t Size = 0;            // its size when last read
    double TournamentStart = 0;    // start of the first hand (client's clock)
    double LastGrowth = 0;         // local time of the last growth seen; 0 = none yet
    uint64_t SeenGeneration = 0;   // the folder listing looked through last (0 = none)
    std::set<std::string> PassedOver;  // files named like the tournament that are no PokerStars history
};

using TClockLog = std::function<void(const std::string& line)>;

// One tick of the clock of tournament `id`: finds its file (state 0), then
// takes a clock-offset sample whenever the file grew (state 2) while the
// shared samples are fewer than ten. `now` is the local time. A hand whose
// time does not convert is a skipped sample; a file that cannot be read
// is tried again later.
void TrackLevelClock(TLevelClock& clock, THistoryFolder& folder, const std::string& id, double now,
                     TAverageSamples& samples, const TClockLog& log);

// The time left of the current level (day-based), or none: no start, no
// sample yet, or no known level length (0 minutes).
std::optional<double> LevelRemaining(double tournamentStart, const TAverageSamples& samples, int32_t levelMinutes,
                                     double now);

// The keep-registered arithmetic of the lobby: how many tournaments may be
// open at once (keep open - live tables, total - tables seen), and that
// capped by the rows the user lets the lobby use.
int32_t AllowedRegistrations(int32_t keepOpen, int32_t liveTables, int32_t totalTournaments, int32_t tablesSeen);
int32_t RegistrationLimit(int32_t lobbyRows, int32_t allowed);

}  // namespace kova::tables::pokerstars
