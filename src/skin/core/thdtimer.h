// The repeating timer of the skinning units. It starts no thread: the
// framework's window timer produces the ticks on the GUI thread, and this
// component adds a guard against nested ticks (a handler that pumps
// messages gets no second tick meanwhile) and a constructor through which
// descendants receive the ticks in a virtual method.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/extctrls.h"
#include "skin/core/portable/timerrules.h"

namespace kova::skin {

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class TacThreadedTimer : public TComponent {
    KOVA_CLASS(TacThreadedTimer, TComponent)
public:
    // Enabled, one second, no handler. While the application is
    // terminating no inner timer is made: the properties are only stored.
    explicit TacThreadedTimer(TComponent* owner);
    // Disabled; with hookOwnTimer the ticks go to DoTimer.
    TacThreadedTimer(TComponent* owner, bool hookOwnTimer);
    ~TacThreadedTimer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    std::uint32_t Interval() const { return interval_; }
    void SetInterval(std::uint32_t value);
    const TNotifyEvent& OnTimer() const { return onTimer_; }
    void SetOnTimer(TNotifyEvent handler);
    TThreadPriority ThreadPriority() const { return priority_; }
    void SetThreadPriority(TThreadPriority value);
    // The owner given to the disabled constructor.
    TComponent* TimerOwner() const { return timerOwner_; }

    // The inner window timer (nullptr when made while terminating).
    TTimer* InnerTimer() const { return inner_; }
    bool Busy() const { return gate_.Busy(); }
    // One tick as the inner timer delivers it (tests drive it directly).
    void Tick();

protected:
    // Descendants made with hookOwnTimer receive the ticks here.
    virtual void DoTimer() {}
    // Calls OnTimer.
    virtual void Timer();

private:
    void UpdateTimer();
    bool enabled_ = false;
    std::uint32_t interval_ = 1000;
    TNotifyEvent onTimer_;
    TTimer* inner_ = nullptr;
    TThreadPriority priority_ = tpNormal;
    TickGate gate_;
    TComponent* timerOwner_ = nullptr;
};

}  // namespace kova::skin
