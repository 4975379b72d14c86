// Tile positions, the monitor under a point and activate rectangles.
#include <gtest/gtest.h>

#include <climits>

#include "mainwindow/editors/autoplace/model/tilelayout.h"

namespace kova::mainwindow::autoplace {
namespace {

struct TileCase {
    const char* what;
    int32_t count, size, low, high;
    std::vector<int32_t> expected;  // the position of every column
};

TEST(TilePosition, ColumnsOverlapEvenlyOnlyWhenTheyDoNotFit) {
    const TileCase cases[] = {
        {"3 x 494 on 1280: overlap 202", 3, 494, 0, 1280, {0, 393, 786}},
        {"2 x 400 on 1280: side by side", 2, 400, 0, 1280, {0, 400}},
        {"one column wider than the area starts at its left edge", 1, 1500, 0, 1280, {0}},
        {"one column on a second monitor", 1, 494, 1280, 2560, {1280}},
        {"work area offset by a taskbar on the left", 3, 494, 40, 1280, {40, 413, 786}},
        {"overlap of exactly one pixel", 2, 641, 0, 1281, {0, 640}},
        {"rows: 3 x 374 on a 0 .. 1024 area", 3, 374, 0, 1024, {0, 325, 650}},
        {"fits exactly", 4, 320, 0, 1280, {0, 320, 640, 960}},
    };
    for (const TileCase& c : cases) {
        SCOPED_TRACE(c.what);
        for (int32_t i = 0; i < c.count; ++i)
            EXPECT_EQ(TilePosition(i, c.count, c.size, c.low, c.high), c.expected[static_cast<size_t>(i)]) << i;
    }
}

TEST(TilePosition, TypedExtremesNeitherOverflowNorLeaveTheArea) {
    // A huge count or size must not overflow; whatever comes out is within
    // int32 and, where a window fits, inside the area.
    EXPECT_EQ(TilePosition(99999, 100000, 494, 0, 1280), 1280 - 494);
    EXPECT_EQ(TilePosition(1, 2, INT32_MAX, 0, 1280), 0);
    EXPECT_EQ(TilePosition(0, 0, 494, 7, 1280), 7);
}

TMonitorList TwoMonitors() {
    return {{{0, 0, 1280, 1024}, {0, 0, 1280, 994}}, {{1280, 0, 2560, 1024}, {1280, 0, 2560, 1024}}};
}

TEST(MonitorIndexAtPoint, TheLastMonitorHoldingThePointElseByItsX) {
    const TMonitorList two = TwoMonitors();
    // Overlapping work areas: the later monitor wins.
    const TMonitorList overlapping = {{{0, 0, 1280, 1024}, {0, 0, 1280, 1024}},
                                      {{1000, 0, 2280, 1024}, {1000, 0, 2280, 1024}}};
    struct Case {
        const char* what;
        const TMonitorList* monitors;
        int32_t x, y, expected;
    } cases[] = {
        {"inside the first", &two, 10, 10, 0},
        {"inside the second", &two, 1300, 10, 1},
        {"right edge belongs to the next", &two, 1280, 0, 1},
        {"in the taskbar of the first: by x", &two, 100, 1000, 0},
        {"below the second: by x", &two, 1500, 1100, 1},
        {"left of everything", &two, -50, 10, 0},
        {"overlap goes to the later", &overlapping, 1100, 10, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(MonitorIndexAtPoint(*c.monitors, c.x, c.y), c.expected);
    }
    EXPECT_EQ(MonitorIndexAtPoint({}, 5000, 5000), 0);
    const TMonitorList one = {{{0, 0, 1280, 1024}, {0, 0, 1280, 994}}};
    EXPECT_EQ(MonitorIndexAtPoint(one, 5000, 10), 0);
}

TEST(CenterRectInWorkArea, CentredThenShiftedIntoTheAreaOfItsTopLeftCorner) {
    const TMonitorList two = TwoMonitors();
    struct Case {
        const char* what;
        TRect rect;
        int32_t w, h;
        TRect expected;
    } cases[] = {
        {"815 x 614 for a slot at the origin: -160 clamped", {0, 0, 494, 374}, 815, 614, {0, 0, 815, 614}},
        {"centred in the middle", {400, 300, 894, 674}, 815, 614, {240, 180, 1055, 794}},
        {"odd growth truncates toward zero", {100, 100, 200, 200}, 121, 101, {90, 100, 211, 201}},
        {"shrinking moves the corner inward", {100, 100, 300, 300}, 100, 100, {150, 150, 250, 250}},
        {"bottom edge is the work area's, not the monitor's", {0, 700, 494, 994}, 494, 374, {0, 620, 494, 994}},
        {"right edge of the first monitor", {1000, 0, 1280, 200}, 494, 200, {786, 0, 1280, 200}},
        {"second monitor's own edges", {1280, 0, 1774, 374}, 815, 614, {1280, 0, 2095, 614}},
        {"wider than the area: the right edge wins", {0, 0, 100, 100}, 2000, 100, {-720, 0, 1280, 100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(CenterRectInWorkArea(two, c.rect, c.w, c.h), c.expected);
    }
    EXPECT_EQ(CenterRectInWorkArea({}, {0, 0, 494, 374}, 815, 614), (TRect{-160, -120, 655, 494}));
    const TRect huge = CenterRectInWorkArea({}, {INT32_MAX - 10, 0, INT32_MAX, 10}, INT32_MAX, 10);
    EXPECT_LE(huge.Left, huge.Right);
}

}  // namespace
}  // namespace kova::mainwindow::autoplace
