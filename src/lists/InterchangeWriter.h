// Writing channels in the interchange layout (InterchangeLayout.h): one line
// per programmed channel with all 21 columns.
#pragma once

#include "Codec.h"

#include <QByteArray>

#include <string>
#include <vector>

namespace tavin::lists {

// UTF-8 without a byte-order mark (the header must start with "Location"),
// CRLF line ends. A channel with a transmit frequency only cannot be said in
// this layout: it is left out and named in notices, as are the channels
// whose busy lock (是) the layout cannot say.
QByteArray writeInterchangeCsv(const ChannelTable &channels, std::vector<std::string> &notices);

}  // namespace tavin::lists
