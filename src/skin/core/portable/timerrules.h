// The decisions of the skinning units' window timer, apart from the window
// timer itself: when the inner timer may run, and the guard that drops a
// tick arriving while the previous one is still being handled (a handler
// that pumps messages). Window-free.
#pragma once

#include <cstdint>

namespace kova::skin {

// The inner timer runs only with a period, switched on and with a handler.
inline bool TimerShouldRun(bool enabled, std::uint32_t interval, bool hasHandler) {
    return enabled && interval != 0 && hasHandler;
}

// Runs one tick at a time: a tick that arrives while one is handled, or
// while the inner timer is off, is dropped. The busy state is cleared
// again even when the handler throws.
class TickGate {
public:
    bool Busy() const { return busy_; }
    // True when the tick ran.
    template <class F>
    bool Run(bool innerEnabled, F&& handler) {
        if (!innerEnabled || busy_) return false;
        busy_ = true;
        struct Reset {
            bool& b;
            ~Reset() { b = false; }
        } reset{busy_};
        handler();
        return true;
    }

private:
    bool busy_ = false;
};

}  // namespace kova::skin
