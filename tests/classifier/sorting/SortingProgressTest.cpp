#include "sorting/SortingProgress.h"

#include <gtest/gtest.h>

namespace {

// A clock the test moves by hand, in milliseconds.
struct ProgressOnAClock : ::testing::Test {
    void Moves(int count, std::int64_t apart) {
        for (int i = 0; i < count; ++i) {
            now += apart;
            progress.MovedOut();
        }
    }

    std::int64_t now = 5'000'000;
    SortingProgress progress{[this] { return now; }};
};

constexpr std::int64_t Second = 1000;
constexpr std::int64_t Minute = 60 * Second;

}  // namespace

TEST_F(ProgressOnAClock, SaysNothingUntilTenMovesThenTellsPaceAndTimeLeft) {
    Moves(9, 6 * Second);
    EXPECT_EQ(progress.Text(100), "");
    EXPECT_EQ(progress.PerHour(), 0);
    Moves(1, 6 * Second);
    // Ten moves in the 54 s since the first: 666.7 an hour; 100 left take 9 min.
    EXPECT_EQ(progress.Text(100),
              "10 sorted this session, 100 left, 667 per hour, about 9 min to go");
    EXPECT_EQ(progress.Text(0), "10 sorted this session, 0 left, 667 per hour");
    progress.MovedBack();
    EXPECT_EQ(progress.Text(101), "");
}

TEST_F(ProgressOnAClock, ThePaceIsThatOfTheLastTenMinutes) {
    Moves(60, 10 * Second);  // at 10 s, 20 s, ... 600 s
    // 60 moves in the 590 s since the first.
    EXPECT_DOUBLE_EQ(progress.PerHour(), 60 * 3600.0 / 590);
    Moves(10, 30 * Second);  // then slower, up to 900 s
    // The ten minutes back to 300 s hold 31 of the quick moves and the 10 slow ones.
    EXPECT_DOUBLE_EQ(progress.PerHour(), 41 * 6.0);
    now += 11 * Minute;  // a pause longer than the window
    EXPECT_EQ(progress.PerHour(), 0);
    EXPECT_EQ(progress.Text(40), "70 sorted this session, 40 left");
    Moves(1, Second);
    EXPECT_DOUBLE_EQ(progress.PerHour(), 6.0);
    progress.Restart();
    EXPECT_EQ(progress.Sorted(), 0);
    EXPECT_EQ(progress.Text(40), "");
}

TEST(SortingProgress, DurationsInMinutesAndHours) {
    EXPECT_EQ(SortingProgress::Duration(0.005), "under a minute");
    EXPECT_EQ(SortingProgress::Duration(0.5), "30 min");
    EXPECT_EQ(SortingProgress::Duration(2 + 5 / 60.0), "2 h 5 min");
}
