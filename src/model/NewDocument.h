// What the editor starts from: the box selections the form shows before its
// first decoding, and the file a new document is saved as.
#pragma once

#include "Codec.h"
#include "RadioImage.h"

namespace tavin {

// Transmit limit "60s", model "QD-T310K", beep "关", squelch "4", monitor
// "SQ-Off 瞬时", band index 2, voice prompt "英语"; the other four without a
// selection. Decoding overwrites them all except an unrecognised model.
BoxSelections initialFormSelections();

// A new document as the program starting afresh shows it (decoded, which
// applies the model rule) and saves it at once (encoded).
RadioImage savedNewDocument();

}  // namespace tavin
