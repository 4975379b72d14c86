// The frame arithmetic of the show and hide animations and the window
// timer's decisions, without windows.
#include "skin/core/portable/animframes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <vector>

#include "skin/core/portable/timerrules.h"

namespace kova::skin {
namespace {

std::vector<AnimFrame> All(AnimFrameSequence seq) {
    std::vector<AnimFrame> frames;
    while (seq.HasNext()) frames.push_back(seq.Next());
    return frames;
}

TEST(AnimationSteps, WholeFramePeriods) {
    EXPECT_EQ(AnimationSteps(0), 0);
    EXPECT_EQ(AnimationSteps(11), 0);
    EXPECT_EQ(AnimationSteps(12), 1);
    EXPECT_EQ(AnimationSteps(120), 10);
    EXPECT_EQ(AnimationSteps(65535), 5461);
}

TEST(ShowFrames, AlphaRisesByMaxOverStepsForFormsAndOverStepsPlusOneForDialogs) {
    struct Case {
        bool dialog;
        double step;
    } cases[] = {{false, 200.0 / 10}, {true, 200.0 / 11}};
    for (const Case& c : cases) {
        AnimFrameSequence seq(AnimDirection::Show, 10, 200, false, 100, 50, c.dialog);
        EXPECT_DOUBLE_EQ(seq.AlphaStep(), c.step);
        const auto frames = All(seq);
        ASSERT_EQ(frames.size(), 11u) << "steps + 1 frames";
        for (std::size_t i = 0; i < frames.size(); ++i) {
            const double want = std::min(200.0, c.step * static_cast<double>(i + 1));
            EXPECT_EQ(frames[i].Alpha, std::lround(want)) << "frame " << i << " dialog " << c.dialog;
        }
        EXPECT_EQ(frames.back().Alpha, 200) << "the last frame shows the full alpha";
    }
}

TEST(ShowFrames, FadingCopiesTheSourceOnTheFirstFrameOnly) {
    const auto frames = All(AnimFrameSequence(AnimDirection::Show, 3, 255, false, 40, 40));
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_TRUE(frames[0].Copy);
    for (std::size_t i = 1; i < frames.size(); ++i) EXPECT_FALSE(frames[i].Copy || frames[i].Stretch);
}

TEST(ShowFrames, AeroGrowsFromThreeQuartersCentredToTheWhole) {
    const auto frames = All(AnimFrameSequence(AnimDirection::Show, 10, 255, true, 160, 80));
    ASSERT_EQ(frames.size(), 11u);
    const AnimFrame& first = frames.front();
    EXPECT_TRUE(first.Stretch);
    EXPECT_EQ(first.Left, 20);
    EXPECT_EQ(first.Top, 10);
    EXPECT_EQ(first.Right, 140);
    EXPECT_EQ(first.Bottom, 70);
    EXPECT_EQ(first.Right - first.Left, 160 * 3 / 4);
    const AnimFrame& last = frames.back();
    EXPECT_TRUE(last.Stretch || last.Copy);
    if (last.Stretch) {
        EXPECT_EQ(last.Left, 0);
        EXPECT_EQ(last.Top, 0);
        EXPECT_EQ(last.Right, 160);
        EXPECT_EQ(last.Bottom, 80);
    }
    for (std::size_t i = 1; i < frames.size(); ++i) {
        if (!frames[i].Stretch) continue;
        EXPECT_LE(frames[i].Left, frames[i - 1].Left) << "grows";
        EXPECT_EQ(frames[i].Left + frames[i].Right, 160) << "stays centred";
    }
}

TEST(HideFrames, AlphaFallsToZeroAndAeroShrinks) {
    const auto frames = All(AnimFrameSequence(AnimDirection::Hide, 4, 200, true, 64, 32));
    ASSERT_EQ(frames.size(), 5u);
    const int want[] = {150, 100, 50, 0, 0};
    for (std::size_t i = 0; i < frames.size(); ++i) EXPECT_EQ(frames[i].Alpha, want[i]) << "frame " << i;
    EXPECT_TRUE(frames[0].Stretch);
    EXPECT_EQ(frames[0].Left, 0);
    EXPECT_EQ(frames[0].Right, 64);
    EXPECT_EQ(frames[1].Left, 2);
    EXPECT_EQ(frames[1].Right, 62);
    EXPECT_EQ(frames[1].Top, 1);
    // After the last step three quarters are left, centred.
    EXPECT_EQ(frames[4].Left, 8);
    EXPECT_EQ(frames[4].Top, 4);
    EXPECT_EQ(frames[4].Right, 56);
    EXPECT_EQ(frames[4].Bottom, 28);
}

TEST(StretchPixels, NearestPixelIntoTheRectangleCutToTheFrame) {
    PixelBuffer32 src(2, 2);
    src.At(0, 0) = 1, src.At(1, 0) = 2, src.At(0, 1) = 3, src.At(1, 1) = 4;
    PixelBuffer32 frame(6, 6);
    frame.Fill(9);
    StretchPixels(src, frame, 1, 1, 5, 5);
    EXPECT_EQ(frame.At(0, 0), 9u) << "outside left alone";
    EXPECT_EQ(frame.At(1, 1), 1u);
    EXPECT_EQ(frame.At(2, 2), 1u);
    EXPECT_EQ(frame.At(3, 1), 2u);
    EXPECT_EQ(frame.At(4, 4), 4u);
    EXPECT_EQ(frame.At(5, 5), 9u);
    // A rectangle reaching out of the frame is cut, not written past it.
    StretchPixels(src, frame, -2, -2, 8, 8);
    EXPECT_EQ(frame.At(0, 0), 1u);
    EXPECT_EQ(frame.At(5, 5), 4u);
    const PixelBuffer32 before = frame.Clone();
    StretchPixels(src, frame, 3, 3, 3, 9);  // empty: nothing
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_EQ(frame.At(x, y), before.At(x, y));
}

TEST(CopyAndOpaque, CopyCutsToBothAndOpaqueSetsOnlyAlpha) {
    PixelBuffer32 src(3, 1);
    src.Fill(0x00123456u);
    PixelBuffer32 frame(2, 2);
    CopyPixels(src, frame);
    EXPECT_EQ(frame.At(1, 0), 0x00123456u);
    EXPECT_EQ(frame.At(1, 1), 0u);
    MakeOpaque(frame);
    EXPECT_EQ(frame.At(0, 0), 0xFF123456u);
    EXPECT_EQ(frame.At(0, 1), 0xFF000000u);
}

TEST(TimerRules, RunsOnlyEnabledWithPeriodAndHandler) {
    EXPECT_TRUE(TimerShouldRun(true, 12, true));
    EXPECT_FALSE(TimerShouldRun(true, 0, true));
    EXPECT_FALSE(TimerShouldRun(false, 12, true));
    EXPECT_FALSE(TimerShouldRun(true, 12, false));
}

TEST(TickGate, DropsNestedTicksAndTicksOfAStoppedTimerAndRecoversFromAThrow) {
    TickGate gate;
    int outer = 0, inner = 0;
    EXPECT_TRUE(gate.Run(true, [&] {
        ++outer;
        EXPECT_TRUE(gate.Busy());
        EXPECT_FALSE(gate.Run(true, [&] { ++inner; })) << "a nested tick is dropped";
    }));
    EXPECT_EQ(outer, 1);
    EXPECT_EQ(inner, 0);
    EXPECT_FALSE(gate.Run(false, [&] { ++outer; }));
    EXPECT_EQ(outer, 1);
    EXPECT_THROW(gate.Run(true, [] { throw std::runtime_error("handler"); }), std::runtime_error);
    EXPECT_FALSE(gate.Busy());
    EXPECT_TRUE(gate.Run(true, [&] { ++outer; }));
}

}  // namespace
}  // namespace kova::skin
