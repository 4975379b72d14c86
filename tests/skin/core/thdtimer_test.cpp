// The skinning units' window timer on a real message loop: defaults of
// both constructors, re-arming, no nested ticks, ticks to DoTimer.
#include "skin/core/thdtimer.h"

#include <gtest/gtest.h>

#include "common/win32_testing.h"
#include "framework/forms.h"

namespace kova::skin {
namespace {

using kova::test::PumpFor;
using kova::test::WaitUntil;

struct TimerDeleter {
    void operator()(TComponent* c) const { c->Free(); }
};
template <class T>
using Owned = std::unique_ptr<T, TimerDeleter>;

TEST(ThreadedTimer, DefaultsOfBothConstructors) {
    Owned<TacThreadedTimer> plain(new TacThreadedTimer(nullptr));
    EXPECT_TRUE(plain->Enabled());
    EXPECT_EQ(plain->Interval(), 1000u);
    EXPECT_EQ(plain->ThreadPriority(), tpNormal);
    ASSERT_NE(plain->InnerTimer(), nullptr);
    EXPECT_EQ(plain->InnerTimer()->Owner(), plain.get());
    EXPECT_EQ(plain->TimerOwner(), nullptr);

    Owned<TacThreadedTimer> owned(new TacThreadedTimer(Application(), true));
    EXPECT_FALSE(owned->Enabled());
    EXPECT_EQ(owned->TimerOwner(), Application());
    EXPECT_FALSE(owned->InnerTimer()->Enabled()) << "disabled: the inner timer is stopped";
}

TEST(ThreadedTimer, RunsOnlyWithPeriodSwitchAndHandler) {
    Owned<TacThreadedTimer> t(new TacThreadedTimer(nullptr));
    int ticks = 0;
    t->SetInterval(0);
    t->SetOnTimer([&](TObject*) { ++ticks; });
    EXPECT_FALSE(t->InnerTimer()->Enabled());
    PumpFor(120);
    EXPECT_EQ(ticks, 0) << "Interval 0 gives no ticks";

    t->SetInterval(10);
    EXPECT_TRUE(t->InnerTimer()->Enabled());
    EXPECT_TRUE(WaitUntil([&] { return ticks >= 2; }, 3000));

    t->SetOnTimer(nullptr);
    EXPECT_FALSE(t->InnerTimer()->Enabled()) << "no handler: stopped, nothing freed";
    const int seen = ticks;
    PumpFor(80);
    EXPECT_EQ(ticks, seen);

    t->SetOnTimer([&](TObject*) { ++ticks; });
    t->SetEnabled(false);
    PumpFor(80);
    EXPECT_EQ(ticks, seen);
    t->Tick();  // a tick already queued when the timer stopped
    EXPECT_EQ(ticks, seen) << "a stopped timer's tick is dropped";
}

TEST(ThreadedTimer, AHandlerThatPumpsMessagesGetsNoNestedTick) {
    Owned<TacThreadedTimer> t(new TacThreadedTimer(nullptr));
    int depth = 0, maxDepth = 0, ticks = 0;
    t->SetInterval(5);
    t->SetOnTimer([&](TObject*) {
        ++ticks;
        maxDepth = std::max(maxDepth, ++depth);
        if (ticks == 1) PumpFor(150);  // many periods pass in here
        --depth;
    });
    EXPECT_TRUE(WaitUntil([&] { return ticks >= 3; }, 5000));
    EXPECT_EQ(maxDepth, 1);
    EXPECT_FALSE(t->Busy());
}

class CountingTimer : public TacThreadedTimer {
public:
    explicit CountingTimer(TComponent* owner, bool hook) : TacThreadedTimer(owner, hook) {}
    int Ticks = 0;

protected:
    void DoTimer() override { ++Ticks; }
};

TEST(ThreadedTimer, OwnedTimerDeliversTicksToDoTimerOnceEnabled) {
    Owned<CountingTimer> hooked(new CountingTimer(Application(), true));
    hooked->SetInterval(5);
    PumpFor(60);
    EXPECT_EQ(hooked->Ticks, 0) << "made disabled";
    hooked->SetEnabled(true);
    EXPECT_TRUE(WaitUntil([&] { return hooked->Ticks >= 2; }, 3000));

    Owned<CountingTimer> unhooked(new CountingTimer(Application(), false));
    unhooked->SetInterval(5);
    unhooked->SetEnabled(true);
    EXPECT_FALSE(unhooked->InnerTimer()->Enabled()) << "no handler without the hook";
    PumpFor(60);
    EXPECT_EQ(unhooked->Ticks, 0);
}

}  // namespace
}  // namespace kova::skin
