// The memories of the radios that take turns on the line when the sim plays a
// fleet: every radio is a little different, as a dealer's stock is, so that
// each one's backup can be told from the others.
#pragma once

#include <RadioImage.h>

namespace tavin::sim {

// Radio number (1, 2, ...) of a fleet whose first radio holds base. Radio 1 is
// base itself. Every other radio has the frequencies of its channels in use
// moved by (number - 1) steps of 12.5 kHz (down, or up where that would leave
// too little), and its number in its own area as the text "R" and 7 digits at
// kRadioNumberOffset, a part of the memory that is never written to a radio.
RadioImage fleetRadioMemory(const RadioImage &base, int number);

inline constexpr std::size_t kRadioNumberOffset = 0x3E0;
inline constexpr std::size_t kRadioNumberSize = 8;

}  // namespace tavin::sim
