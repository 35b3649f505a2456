#include "ChannelListExport.h"

#include "InterchangeWriter.h"
#include "JsonList.h"
#include "NativeCsv.h"

namespace tavin::lists {

ExportOutcome exportChannelList(ListFormat format, const ChannelTable &channels, const BoxSelections &selections)
{
    ExportOutcome outcome;
    switch (format) {
    case ListFormat::Native:
        outcome.bytes = writeNativeCsv(channels);
        break;
    case ListFormat::Interchange:
        outcome.bytes = writeInterchangeCsv(channels, outcome.notices);
        break;
    case ListFormat::Json:
        outcome.bytes = writeJsonList(channels, selections);
        break;
    }
    return outcome;
}

}  // namespace tavin::lists
