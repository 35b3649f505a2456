// The native channel-list CSV: the grid's nine column headers, then a line per
// channel with its number and its eight texts exactly as the grid shows them.
#pragma once

#include "ChannelList.h"
#include "CsvTable.h"

#include <QByteArray>

namespace tavin::lists {

// The header's first cell is the grid's first column header.
bool isNativeHeader(const CsvRecord &header);

// Reads the records after the header (the first record that is not blank).
// Files separated by semicolons or tabs may write decimal commas.
void readNativeCsv(const CsvTable &table, ChannelList &list);

// UTF-8 with a byte-order mark and CRLF line ends, all 16 channels.
QByteArray writeNativeCsv(const ChannelTable &channels);

}  // namespace tavin::lists
