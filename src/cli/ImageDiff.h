// Naming what differs between two images in the part a write sends
// (bytes 0x000 to 0x3D7): channels by number and column, settings by the
// label of their box, anything else by its byte range.
#pragma once

#include "RadioImage.h"

#include <QStringList>

namespace tavin::cli {

// One line per difference, "file" being expected and "radio" found. Empty
// when bytes 0x000 to 0x3D7 agree.
QStringList describeDifferences(const RadioImage &file, const RadioImage &radio);

}  // namespace tavin::cli
