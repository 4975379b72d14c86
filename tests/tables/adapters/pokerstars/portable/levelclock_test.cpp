// The level clock of PokerStars tournament tables on a folder of files:
// finding the tournament's file, samples from its growth, the countdown,
// and the folder listed again only when it changed.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "tables/adapters/pokerstars/portable/history.h"
#include "tables/adapters/pokerstars/portable/levelclock.h"

namespace kova::tables::pokerstars {
namespace {

namespace fs = std::filesystem;

class LevelClockTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("kova-levelclock-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    void Append(const std::string& name, const std::string& text) {
        std::ofstream(dir_ / name, std::ios::binary | std::ios::app) << text;
    }
    static std::string Hand(int n, const std::string& time) {
        return "PokerStars Hand #" + std::to_string(n) + ": Tournament #777, $1+$0.10 USD Hold'em No Limit - Level I (10/20) - " +
               time + " ET\n*** HOLE CARDS ***\n\n";
    }
    fs::path dir_;
    std::vector<std::string> log_;
    TClockLog Log() {
        return [this](const std::string& line) { log_.push_back(line); };
    }
};

TEST_F(LevelClockTest, FindsTheFileAndSamplesItsGrowth) {
    // Named so that it comes first.
    Append("HH20120216 T777 - summary.txt", "PokerStars Tournament #777, No Limit Hold'em\n");
    Append("HH20120216 T777 No Limit Hold'em.txt", Hand(1, "2012/02/16 22:00:00"));
    Append("HH20120216 T778 No Limit Hold'em.txt", Hand(1, "2012/02/16 21:00:00"));
    Append("HH20120216 T7777 No Limit Hold'em.txt", Hand(1, "2012/02/16 21:00:00"));  // another tournament
    THistoryFolder folder{std::chrono::milliseconds(0)};
    TLevelClock clock;
    TAverageSamples samples;
    folder.Refresh(dir_);
    TrackLevelClock(clock, folder, "777", 0, samples, Log());
    ASSERT_EQ(clock.State, 2);
    EXPECT_EQ(clock.File.filename().string(), "HH20120216 T777 No Limit Hold'em.txt");
    EXPECT_EQ(FormatDayBasedTime(clock.TournamentStart), "2012-02-16 22:00:00");
    ASSERT_EQ(log_.size(), 1u);  // the summary was passed over, with a line
    EXPECT_NE(log_[0].find("HH20120216 T777 - summary.txt"), std::string::npos);

    // Growth: the first growth only marks the time, every later one gives
    // a sample (the growth before minus the new hand's start).
    const double t0 = DayBasedTime(2012, 2, 16, 22, 1, 5);
    Append("HH20120216 T777 No Limit Hold'em.txt", Hand(2, "2012/02/16 22:01:00"));
    TrackLevelClock(clock, folder, "777", t0, samples, Log());
    EXPECT_EQ(samples.Count, 0);
    TrackLevelClock(clock, folder, "777", t0 + 1, samples, Log());  // no growth: nothing
    EXPECT_EQ(samples.Count, 0);
    Append("HH20120216 T777 No Limit Hold'em.txt", Hand(3, "2012/02/16 22:01:00"));
    TrackLevelClock(clock, folder, "777", t0 + 2, samples, Log());
    ASSERT_EQ(samples.Count, 1);
    EXPECT_NEAR(samples.Average * 86400.0, 5.0, 1e-3);

    // A hand whose time does not convert is a skipped sample.
    Append("HH20120216 T777 No Limit Hold'em.txt", Hand(4, "2012/02/16 25:01:00"));
    TrackLevelClock(clock, folder, "777", t0 + 3, samples, Log());
    EXPECT_EQ(samples.Count, 1);
    EXPECT_EQ(clock.LastGrowth, t0 + 3);
}

TEST_F(LevelClockTest, TenSamplesAreTheMost) {
    Append("T777.txt", Hand(1, "2012/02/16 22:00:00"));
    THistoryFolder folder{std::chrono::milliseconds(0)};
    folder.Refresh(dir_);
    TLevelClock clock;
    TAverageSamples samples;
    TrackLevelClock(clock, folder, "777", 1, samples, Log());
    for (int i = 0; i < 14; ++i) {
        Append("T777.txt", Hand(i + 2, "2012/02/16 22:00:00"));
        TrackLevelClock(clock, folder, "777", 40955.0 + i, samples, Log());
    }
    EXPECT_EQ(samples.Count, 10);
    const uintmax_t size = clock.Size;
    Append("T777.txt", Hand(99, "2012/02/16 22:00:00"));
    TrackLevelClock(clock, folder, "777", 50000, samples, Log());
    EXPECT_EQ(clock.Size, size);  // not even read any more
}

TEST_F(LevelClockTest, TheFolderIsListedAgainOnlyWhenItChanged) {
    for (int i = 0; i < 50; ++i) Append("HH T" + std::to_string(1000 + i) + ".txt", Hand(1, "2012/02/16 22:00:00"));
    THistoryFolder folder{std::chrono::milliseconds(0)};
    folder.Refresh(dir_);
    EXPECT_EQ(folder.Listings(), 1u);
    EXPECT_EQ(folder.Files().size(), 50u);
    TLevelClock clock;
    TAverageSamples samples;
    for (int tick = 0; tick < 20; ++tick) {
        folder.Refresh(dir_);
        TrackLevelClock(clock, folder, "777", 1, samples, Log());
    }
    EXPECT_EQ(folder.Listings(), 1u);
    EXPECT_EQ(clock.State, 0);
    // The tournament's file appears (a second later: folder times may
    // count whole seconds): the folder changed, it is found.
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    Append("HH T777.txt", Hand(1, "2012/02/16 22:00:00"));
    folder.Refresh(dir_);
    EXPECT_EQ(folder.Listings(), 2u);
    TrackLevelClock(clock, folder, "777", 1, samples, Log());
    EXPECT_EQ(clock.State, 2);
    // A listing made right after a change may have missed another change
    // within the folder clock's resolution: it is repeated.
    THistoryFolder careful{std::chrono::milliseconds(1500)};
    Append("HH T778.txt", Hand(1, "2012/02/16 22:00:00"));
    careful.Refresh(dir_);
    careful.Refresh(dir_);
    EXPECT_EQ(careful.Listings(), 1u);  // not yet
    std::this_thread::sleep_for(std::chrono::milliseconds(1600));
    careful.Refresh(dir_);
    careful.Refresh(dir_);
    EXPECT_EQ(careful.Listings(), 2u);  // once, and only once
    // A folder that is gone: nothing listed, nothing found, no error.
    THistoryFolder missing{std::chrono::milliseconds(0)};
    missing.Refresh(dir_ / "nope");
    EXPECT_FALSE(missing.Exists());
    TLevelClock other;
    TrackLevelClock(other, missing, "777", 1, samples, Log());
    EXPECT_EQ(other.State, 0);
}

TEST_F(LevelClockTest, AnEmptyFileIsWaitedFor) {
    Append("HH T777.txt", "");
    THistoryFolder folder{std::chrono::milliseconds(0)};
    folder.Refresh(dir_);
    TLevelClock clock;
    TAverageSamples samples;
    TrackLevelClock(clock, folder, "777", 1, samples, Log());
    EXPECT_EQ(clock.State, 0);
    Append("HH T777.txt", Hand(1, "2012/02/16 22:00:00"));  // the folder's time stays
    TrackLevelClock(clock, folder, "777", 1, samples, Log());
    EXPECT_EQ(clock.State, 2);
    EXPECT_TRUE(log_.empty());
}

TEST(LevelRemaining, CountsDownTheLevel) {
    TAverageSamples samples;
    const double start = 41000.0, minute = 1 / 1440.0;
    EXPECT_FALSE(LevelRemaining(start, samples, 10, start).has_value());  // no sample yet
    samples.Count = 1;
    samples.Average = 2 * minute;  // the client's clock is two minutes behind
    EXPECT_NEAR(*LevelRemaining(start, samples, 10, start + minute) / minute, 1.0, 1e-6);
    EXPECT_NEAR(*LevelRemaining(start, samples, 10, start + 5 * minute) / minute, 7.0, 1e-6);
    EXPECT_NEAR(*LevelRemaining(start, samples, 10, start + 1000 * minute) / minute, 2.0, 1e-6);  // many levels on
    // A level of no known length (hyper-turbo Fifty50) counts nothing down.
    EXPECT_FALSE(LevelRemaining(start, samples, 0, start + 5 * minute).has_value());
    EXPECT_FALSE(LevelRemaining(0, samples, 10, start).has_value());
}

TEST(Registration, KeepsTheSetNumberOpen) {
    // Keep 8 open with 3 live, 16 in all with 10 seen: 5 more; 4 rows cap it.
    EXPECT_EQ(AllowedRegistrations(8, 3, 16, 10), 5);
    EXPECT_EQ(RegistrationLimit(4, AllowedRegistrations(8, 3, 16, 10)), 4);
    EXPECT_EQ(RegistrationLimit(6, AllowedRegistrations(8, 3, 16, 10)), 5);
    EXPECT_EQ(AllowedRegistrations(8, 3, 16, 16), 0);   // the total is reached
    EXPECT_EQ(AllowedRegistrations(8, 9, 16, 10), -1);  // more live than kept
}

}  // namespace
}  // namespace kova::tables::pokerstars
