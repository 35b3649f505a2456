#include "ChannelListExport.h"

#include "InterchangeWriter.h"
#include "JsonList.h"
#include "NativeCsv.h"
#include "NewDocument.h"

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

ExportOutcome exportChannelImage(ListFormat format, const RadioImage &image)
{
    RadioImage decoded = image;  // decoding applies the model rule to the image
    ChannelTable channels;
    BoxSelections selections = initialFormSelections();
    decodeImage(decoded, channels, selections);
    return exportChannelList(format, channels, selections);
}

}  // namespace tavin::lists
