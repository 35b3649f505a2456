#include "Pause.h"

#include <thread>

namespace tavin::link {

namespace {
// Below this remainder we stop sleeping and yield, since a sleep may overshoot.
constexpr std::chrono::microseconds kSpinThresholdUs{300};
}  // namespace

void precisePause(std::chrono::microseconds duration)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + duration;
    for (;;) {
        const auto left = deadline - Clock::now();
        if (left <= Clock::duration::zero())
            return;
        if (left > kSpinThresholdUs)
            std::this_thread::sleep_for(left - kSpinThresholdUs);
        else
            std::this_thread::yield();
    }
}

}  // namespace tavin::link
