// A channel file's channels (and, in JSON, its settings) as a list file.
#pragma once

#include "Codec.h"
#include "ListFormat.h"
#include "SettingBoxes.h"

#include <QByteArray>

#include <string>
#include <vector>

namespace tavin::lists {

struct ExportOutcome {
    QByteArray bytes;
    std::vector<std::string> notices;  // what the format could not hold
};

// channels and selections as the editor shows them after decoding.
ExportOutcome exportChannelList(ListFormat format, const ChannelTable &channels, const BoxSelections &selections);

}  // namespace tavin::lists
