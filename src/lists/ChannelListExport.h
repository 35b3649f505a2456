// A channel file's channels (and, in JSON, its settings) as a list file.
#pragma once

#include "Codec.h"
#include "ListFormat.h"
#include "RadioImage.h"
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

// A channel file's image as the editor shows it once the file is opened
// (decoded from the form's starting selections), as above. tavin-cli export
// and the desktop program's export both go through here, so the same image
// gives the same bytes.
ExportOutcome exportChannelImage(ListFormat format, const RadioImage &image);

}  // namespace tavin::lists
