#include "FrequencyEntry.h"

#include "Frequency.h"
#include "ShownWords.h"
#include "ToneTable.h"

#include <algorithm>

namespace tavin {

std::string_view entryMessageText(EntryMessage message)
{
    switch (message) {
    case EntryMessage::Format:
        return TAVIN_SHOWN("FrequencyEntry", "Error Data Format，Please input again");
    case EntryMessage::BandRange:
        return TAVIN_SHOWN("FrequencyEntry", "Out of range!");
    case EntryMessage::Step:
        return TAVIN_SHOWN("FrequencyEntry", "Error data Value，Please input according the step value(6.25K/5k)");
    }
    return {};
}

FrequencyCheck checkFrequencyEntry(std::string_view text, int bandIndex, EntryTrigger trigger)
{
    FrequencyCheck check;
    if (text.empty())
        return check;

    const std::optional<std::uint32_t> count = frequencyCountFromText(text);
    if (!count || *count < kLowestFrequency || *count > kHighestFrequency) {
        check.messages.push_back(EntryMessage::Format);
        return check;
    }

    bool passed = true;
    if (bandIndex >= 0 && bandIndex < static_cast<int>(kBandLimits.size())) {
        const BandLimits &band = kBandLimits[static_cast<std::size_t>(bandIndex)];
        if (*count < band.lowest || *count > band.highest) {
            check.messages.push_back(EntryMessage::BandRange);
            passed = false;
            if (trigger == EntryTrigger::Enter)
                return check;
        }
    }

    if (!onRaster(*count)) {
        check.messages.push_back(EntryMessage::Step);
        return check;
    }

    if (passed)
        check.entry = formatFrequency(*count);
    return check;
}

bool isEmptyChannel(const ChannelTexts &row)
{
    return row[kRxFrequencyColumn].empty() && row[kTxFrequencyColumn].empty();
}

const ChannelTexts &newChannelDefaults()
{
    static const ChannelTexts defaults{
        std::string(),
        std::string(),
        std::string(kNoToneText),
        std::string(kNoToneText),
        std::string(choice::kNo),
        std::string(choice::kWide),
        std::string(choice::kAdd),
        std::string(choice::kHigh),
    };
    return defaults;
}

void commitFrequencyEntry(ChannelTexts &row, int column, const std::string &entry)
{
    const auto at = [&row](int c) -> std::string & { return row[static_cast<std::size_t>(c)]; };

    if (!entry.empty()) {
        const bool unused = isEmptyChannel(row) && at(kRxToneColumn).empty() && at(kTxToneColumn).empty()
                            && at(kBusyLockColumn).empty();
        if (unused) {
            const ChannelTexts &defaults = newChannelDefaults();
            std::copy(defaults.begin() + kRxToneColumn, defaults.end(), row.begin() + kRxToneColumn);
            if (column == kRxFrequencyColumn)
                at(kTxFrequencyColumn) = entry;
        }
        at(column) = entry;
        return;
    }

    at(column == kRxFrequencyColumn ? kRxToneColumn : kTxToneColumn).clear();
    at(column).clear();
    if (isEmptyChannel(row) && at(kRxToneColumn).empty() && at(kTxToneColumn).empty()) {
        for (int c = kBusyLockColumn; c <= kPowerColumn; ++c)
            at(c).clear();
    }
}

std::string toneEntryText(const ToneTable &tones, std::string_view typed, bool channelEmpty)
{
    if (channelEmpty)
        return {};
    const int index = tones.indexIgnoringCase(typed);
    return index >= 0 ? tones.name(index) : std::string(kUnknownToneText);
}

}  // namespace tavin
