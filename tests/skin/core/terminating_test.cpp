// The window timer and the hide animation once the application is
// terminating: no message loop is left to drive a timer. Its own
// executable, since the application cannot stop terminating.
#include <gtest/gtest.h>

#include "common/win32_testing.h"
#include "formstest.h"
#include "skin/core/thdtimer.h"

namespace kova::skin {
namespace {

using kova::test::PumpFor;
using test::LayeredRecorder;

TEST(Terminating, TimerMadeWhileTerminatingHasNoInnerTimerAndNeverTicks) {
    Application()->Terminate();
    auto* t = new TacThreadedTimer(nullptr);
    EXPECT_EQ(t->InnerTimer(), nullptr);
    EXPECT_FALSE(t->Enabled());
    int ticks = 0;
    t->SetInterval(5);
    t->SetEnabled(true);
    t->SetOnTimer([&](TObject*) { ++ticks; });
    EXPECT_EQ(t->Interval(), 5u);
    EXPECT_TRUE(t->Enabled());
    PumpFor(100);
    t->Tick();
    EXPECT_EQ(ticks, 0);
    t->Free();
}

TEST(Terminating, HideRunsAllFramesInsideTheCall) {
    Application()->Terminate();
    LayeredRecorder rec;
    HWND host = CreateWindowExA(0, "STATIC", "host", WS_POPUP | WS_VISIBLE, 50, 50, 100, 80, nullptr, nullptr,
                                nullptr, nullptr);
    TForm* window = CreateWindowSnapshotForm(host);
    const HWND wnd = window->Handle();
    auto image = std::make_unique<TBitmap>(100, 80);
    image->Pixels().Fill(0xFF808080u);
    StartHideAnimation(window, std::move(image), 36, TacAnimType::atAero, 255);
    EXPECT_FALSE(HideAnimationRunning());
    EXPECT_FALSE(IsWindow(wnd));
    ASSERT_EQ(rec.Calls.size(), 1u + 4u);
    EXPECT_EQ(rec.Calls.back().Alpha, 0);
    EXPECT_EQ(rec.Sleeps.size(), 4u);
    DestroyWindow(host);
}

}  // namespace
}  // namespace kova::skin
