#include "ChannelEntry.h"

#include "Frequency.h"
#include "FrequencyEntry.h"
#include "SettingBoxes.h"
#include "ToneTable.h"

namespace tavin {

namespace {

bool isOffText(std::string_view text)
{
    return text.size() == 3 && (text[0] == 'O' || text[0] == 'o') && (text[1] == 'F' || text[1] == 'f')
           && (text[2] == 'F' || text[2] == 'f');
}

std::string joined(const std::vector<std::string_view> &words)
{
    std::string out;
    for (std::string_view word : words) {
        if (!out.empty())
            out += ", ";
        out += word;
    }
    return out;
}

std::string frequencyDetail(std::string_view text, EntryMessage message, int bandIndex)
{
    const std::optional<std::uint32_t> count = frequencyCountFromText(text);
    const std::string value = count ? formatFrequency(*count) + " MHz" : std::string(text);
    switch (message) {
    case EntryMessage::Format:
        return "'" + std::string(text) + "' is not a frequency of 60 to 600 MHz";
    case EntryMessage::BandRange:
        return value + " is outside the band " + selectionText(SettingBox::Band, bandIndex);
    case EntryMessage::Step:
        return value + " is on neither the 6.25 kHz nor the 5 kHz raster";
    }
    return value;
}

}  // namespace

const std::vector<std::string_view> &chooserEntries(int column)
{
    static const std::vector<std::string_view> busyLock{choice::kYes, choice::kNo};
    static const std::vector<std::string_view> bandwidth{choice::kWide, choice::kNarrow};
    static const std::vector<std::string_view> scan{choice::kAdd, choice::kDelete};
    static const std::vector<std::string_view> power{choice::kHigh, choice::kMiddle, choice::kLow};
    static const std::vector<std::string_view> none;
    switch (column) {
    case kBusyLockColumn: return busyLock;
    case kBandwidthColumn: return bandwidth;
    case kScanColumn: return scan;
    case kPowerColumn: return power;
    default: return none;
    }
}

RowEntry enterChannelRow(const ChannelTexts &typed, int bandIndex, const ToneTable &tones)
{
    RowEntry entry;
    const auto typedAt = [&typed](int c) -> const std::string & { return typed[static_cast<std::size_t>(c)]; };

    ChannelTexts &row = entry.row;
    for (int c : {kRxFrequencyColumn, kTxFrequencyColumn}) {
        const FrequencyCheck check = checkFrequencyEntry(typedAt(c), bandIndex, EntryTrigger::LeavingCell);
        for (EntryMessage message : check.messages)
            entry.problems.push_back(
                {c, std::string(entryMessageText(message)), frequencyDetail(typedAt(c), message, bandIndex)});
        row[static_cast<std::size_t>(c)] = check.entry;
    }

    const bool anyFrequencyTyped = !typedAt(kRxFrequencyColumn).empty() || !typedAt(kTxFrequencyColumn).empty();
    if (!anyFrequencyTyped) {
        for (int c = kRxToneColumn; c <= kPowerColumn; ++c)
            entry.droppedCells = entry.droppedCells || !typedAt(c).empty();
        return entry;
    }

    const ChannelTexts &defaults = newChannelDefaults();
    for (int c = kRxToneColumn; c <= kPowerColumn; ++c) {
        const std::string &text = typedAt(c);
        std::string &cell = row[static_cast<std::size_t>(c)];
        if (text.empty()) {
            cell = defaults[static_cast<std::size_t>(c)];
            continue;
        }
        if (c == kRxToneColumn || c == kTxToneColumn) {
            if (tones.indexIgnoringCase(text) >= 0 || isOffText(text))
                cell = toneEntryText(tones, text, false);
            else
                entry.problems.push_back({c, "not a tone of the tone list", "'" + text + "'"});
            continue;
        }
        const std::vector<std::string_view> &words = chooserEntries(c);
        bool known = false;
        for (std::string_view word : words)
            known = known || text == word;
        if (known)
            cell = text;
        else
            entry.problems.push_back({c, "not one of " + joined(words), "'" + text + "'"});
    }
    return entry;
}

}  // namespace tavin
