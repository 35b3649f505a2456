// Reading the interchange layout (InterchangeLayout.h) into channel texts:
// locations to channels, duplex and offset to the transmit frequency, the
// tone mode and its columns to the two tone names, mode, skip and power to
// the switch words. Busy lock is not in the layout; names are dropped.
#pragma once

#include "ChannelList.h"
#include "CsvTable.h"

namespace tavin {
class ToneTable;
}

namespace tavin::lists {

// The header's first cell is "Location" (any letter case).
bool isInterchangeHeader(const CsvRecord &header);

void readInterchangeCsv(const CsvTable &table, const ToneTable &tones, ChannelList &list);

}  // namespace tavin::lists
