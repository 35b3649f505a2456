// Precise pauses for the protocol's pacing (1, 2, 15 and 20 ms).
#pragma once

#include <chrono>

namespace tavin::link {

// Waits the given time on the steady clock: sleeps for most of it, then
// yields until the deadline, so short pauses are neither cut short nor
// stretched by the scheduler's granularity.
void precisePause(std::chrono::microseconds duration);

}  // namespace tavin::link
