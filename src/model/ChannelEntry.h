// A whole channel row entered at once, cell by cell through the editor's own
// rules: the frequency checks of FrequencyEntry.h against the selected band,
// the tone names of the tone chooser and the words of the switch choosers,
// and the row's consistency (new-channel defaults for cells left empty, a row
// without frequencies is an empty channel). Channel-list imports run every
// row through here, so a file is checked exactly as typing it would be.
#pragma once

#include "Codec.h"

#include <string>
#include <string_view>
#include <vector>

namespace tavin {

class ToneTable;

// The words of the chooser that edits a switch column (kBusyLockColumn to
// kPowerColumn), in list order; empty for any other column.
const std::vector<std::string_view> &chooserEntries(int column);

struct CellProblem {
    int column = 0;       // kRxFrequencyColumn .. kPowerColumn
    std::string message;  // the editor's warning text, or a plain English one
    std::string detail;   // the value and what it was checked against, for people
};

struct RowEntry {
    ChannelTexts row;                   // the texts the grid would hold
    std::vector<CellProblem> problems;  // every refused cell, in column order
    // The row has no frequency, so it is an empty channel, but other cells
    // held text that an empty channel cannot keep.
    bool droppedCells = false;
};

// Enters typed texts (columns 1 to 8) into a fresh row for band bandIndex:
// - frequencies: checkFrequencyEntry as on leaving a cell; each warning it
//   raises is a problem; an empty text is no frequency on that side;
// - no frequency on either side: the empty channel (all eight texts empty);
// - tones: empty gives "无"; a name of the tone table in any letter case gives
//   the table's spelling; "OFF" in any letter case is kept as the tone
//   chooser stores it (no tone); anything else is a problem;
// - switches: empty gives the new-channel default; one of the chooser's
//   words gives itself; anything else is a problem.
RowEntry enterChannelRow(const ChannelTexts &typed, int bandIndex, const ToneTable &tones);

}  // namespace tavin
