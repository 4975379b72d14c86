// The level clock's share of one scan tick: 24 PokerStars tournament tables
// over a hand-history folder of 5,000 files. Prints the time of the first
// tick (the folder is listed), of a tick while every table still looks for
// its file, and of a tick while they follow their files.
//
//   pokerstars_clockbench [FOLDER]   (default: a fresh folder in the temp folder)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tables/adapters/pokerstars/portable/levelclock.h"

namespace fs = std::filesystem;
namespace ps = kova::tables::pokerstars;

namespace {

constexpr int kFiles = 5000, kTables = 24, kTicks = 200;

std::string Hand(int n) {
    return "PokerStars Hand #" + std::to_string(n) +
           ": Tournament #1, $1+$0.10 USD Hold'em No Limit - Level I (10/20) - 2012/02/16 22:00:00 ET\n"
           "Table '1 1' 9-max Seat #1 is the button\n*** HOLE CARDS ***\n\n";
}

double Micros(std::chrono::steady_clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

}  // namespace

int main(int argc, char** argv) {
    const fs::path dir = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "kova-clockbench";
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (int i = 0; i < kFiles; ++i) {
        const bool ours = i % (kFiles / kTables) == 0 && i / (kFiles / kTables) < kTables;
        std::ofstream(dir / ("HH20120216 T" + std::to_string(100000 + i) + " No Limit Hold'em $1+$0.10.txt"))
            << Hand(1) << (ours ? Hand(2) : "");
    }
    fs::last_write_time(dir, fs::file_time_type::clock::now() - std::chrono::hours(1));

    ps::THistoryFolder folder;
    std::vector<ps::TLevelClock> clocks(kTables);
    std::vector<std::string> ids;
    for (int t = 0; t < kTables; ++t) ids.push_back(std::to_string(900000 + t));  // not there yet
    kova::tables::TAverageSamples samples;
    auto tick = [&](double now) {
        folder.Refresh(dir);
        for (int t = 0; t < kTables; ++t) ps::TrackLevelClock(clocks[t], folder, ids[t], now, samples, nullptr);
    };
    using clock = std::chrono::steady_clock;
    auto start = clock::now();
    tick(1);
    const double first = Micros(clock::now() - start);

    double worstLooking = 0, sumLooking = 0;
    for (int i = 0; i < kTicks; ++i) {
        start = clock::now();
        tick(1);
        const double us = Micros(clock::now() - start);
        worstLooking = std::max(worstLooking, us);
        sumLooking += us;
    }
    // The tournaments' files appear: one listing more, then every table follows its file.
    for (int t = 0; t < kTables; ++t) ids[t] = std::to_string(100000 + t * (kFiles / kTables));
    fs::last_write_time(dir, fs::file_time_type::clock::now() - std::chrono::minutes(30));
    start = clock::now();
    tick(2);
    const double found = Micros(clock::now() - start);
    double worstFollowing = 0, sumFollowing = 0;
    for (int i = 0; i < kTicks; ++i) {
        start = clock::now();
        tick(3 + i);
        const double us = Micros(clock::now() - start);
        worstFollowing = std::max(worstFollowing, us);
        sumFollowing += us;
    }
    int following = 0;
    for (const auto& c : clocks) following += c.State == 2;
    // A listing alone, the folder warm.
    double listing = 1e30;
    for (int i = 0; i < 5; ++i) {
        ps::THistoryFolder fresh;
        start = clock::now();
        fresh.Refresh(dir);
        listing = std::min(listing, Micros(clock::now() - start));
    }
    std::printf("%d files, %d tables (%d following their files), listings %llu\n", kFiles, kTables, following,
                static_cast<unsigned long long>(folder.Listings()));
    std::printf("first tick (folder listed):         %10.1f us\n", first);
    std::printf("tick, tables looking for files:     %10.1f us mean, %10.1f us worst\n", sumLooking / kTicks, worstLooking);
    std::printf("tick, the files appeared:           %10.1f us\n", found);
    std::printf("a listing of the folder alone:      %10.1f us (best of 5)\n", listing);
    std::printf("tick, tables following their files: %10.1f us mean, %10.1f us worst\n", sumFollowing / kTicks,
                worstFollowing);
    fs::remove_all(dir);
    return 0;
}
