// A setting box's entry named by text, as scripts and people write it: the
// entry's own text, letter case and blanks not counted ("400-470MHz" names
// "400 - 470MHZ").
#pragma once

#include "SettingBoxes.h"

#include <QString>

#include <optional>
#include <string>

namespace tavin::lists {

std::optional<int> entryIndex(SettingBox box, const QString &text);

// The box's entries for messages: "136 - 174MHZ, 350 - 400MHZ, ...".
std::string entryList(SettingBox box);

}  // namespace tavin::lists
