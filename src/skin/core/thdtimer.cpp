#include "skin/core/thdtimer.h"

#include "framework/forms.h"

namespace kova::skin {

TacThreadedTimer::TacThreadedTimer(TComponent* owner) : TComponent(owner) {
    if (Application()->Terminated()) return;
    enabled_ = true;
    interval_ = 1000;
    // Owned by this component: freed with it at the latest. The inner
    // timer keeps its own initial state until the first re-arm.
    inner_ = new TTimer(this);
    inner_->SetInterval(1000);
    inner_->OnTimer = [this](TObject*) { Tick(); };
}

TacThreadedTimer::TacThreadedTimer(TComponent* owner, bool hookOwnTimer) : TacThreadedTimer(owner) {
    SetEnabled(false);
    timerOwner_ = owner;
    if (hookOwnTimer) SetOnTimer([this](TObject*) { DoTimer(); });
}

TacThreadedTimer::~TacThreadedTimer() {
    if (inner_) {
        inner_->SetEnabled(false);
        TComponent* t = inner_;
        inner_ = nullptr;
        t->Free();
    }
}

void TacThreadedTimer::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    UpdateTimer();
}

void TacThreadedTimer::SetInterval(std::uint32_t value) {
    if (value == interval_) return;
    interval_ = value;
    if (inner_) inner_->SetInterval(value);
    UpdateTimer();
}

void TacThreadedTimer::SetOnTimer(TNotifyEvent handler) {
    onTimer_ = std::move(handler);
    UpdateTimer();
}

void TacThreadedTimer::SetThreadPriority(TThreadPriority value) {
    if (value == priority_) return;
    priority_ = value;
    UpdateTimer();
}

void TacThreadedTimer::UpdateTimer() {
    if (!inner_) return;
    inner_->SetEnabled(false);
    if (TimerShouldRun(enabled_, interval_, static_cast<bool>(onTimer_))) inner_->SetEnabled(true);
}

void TacThreadedTimer::Tick() {
    gate_.Run(inner_ && inner_->Enabled(), [this] { Timer(); });
}

void TacThreadedTimer::Timer() {
    // A copy: the handler may replace itself (the hide animation clears it
    // on its last frame).
    if (TNotifyEvent handler = onTimer_) handler(this);
}

}  // namespace kova::skin
