// The memory the virtual radio holds when no channel file is given: a UHF
// radio of the first model (400 - 470 MHz) programmed for a small business.
#pragma once

#include <RadioImage.h>

namespace tavin::sim {

RadioImage demoProgramming();

}  // namespace tavin::sim
