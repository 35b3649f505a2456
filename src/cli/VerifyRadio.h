// Reading the radio back and comparing it with what should be there.
#pragma once

#include "RadioImage.h"
#include "RadioSession.h"

namespace tavin::cli {

// Reads the radio and compares bytes 0x000 to 0x3D7 with expected; prints each
// difference on stdout. kExitOk when they agree, kExitVerifyMismatch when not,
// or the read's exit code.
int verifyRadio(const RadioOptions &options, const RadioImage &expected);

}  // namespace tavin::cli
