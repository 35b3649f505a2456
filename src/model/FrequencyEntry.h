// The rules a typed channel entry goes through before it becomes part of a
// channel row: the frequency checks (global range, band, raster) with the
// warnings they raise, and the consistency of the row when a frequency is
// written or cleared (new-channel defaults, receive copied to transmit, the
// clearing of tones and settings of an emptied channel). Plain data only, so
// the editor and a file import apply the very same rules.
#pragma once

#include "Codec.h"

#include <string>
#include <string_view>
#include <vector>

namespace tavin {

class ToneTable;

// The three warnings a frequency entry can raise, in the order they are shown.
enum class EntryMessage {
    Format,     // not a number in 60..600 MHz
    BandRange,  // outside the selected band
    Step,       // off the 6.25 kHz / 5 kHz raster
};

// The warning's text exactly as the user sees it (UTF-8; the commas are
// full-width).
std::string_view entryMessageText(EntryMessage message);

// How the entry is being committed. Leaving the cell runs every rule, so the
// user hears of each fault at once; Enter stops at the first band failure.
enum class EntryTrigger {
    LeavingCell,
    Enter,
};

struct FrequencyCheck {
    // The entry to commit: the "%3.5f" text of the validated count, or empty.
    std::string entry;
    // Warnings to show, in order (at most two: band range, then step).
    std::vector<EntryMessage> messages;
    // A rule failed: the entry is refused and must not replace what the cell
    // held (the user typed something wrong; he did not ask to clear it).
    bool refused() const { return !messages.empty(); }
};

// Validates a typed frequency for band index bandIndex (the band box's
// selection, 0..3; any other index, as with no selection, skips the band rule
// and keeps the global range and the raster).
//
// An empty text passes as the empty entry, without a message. Otherwise the
// text is read as atof would read it (leading number, the rest ignored, no
// number reads as 0), cut to a count of 10 Hz units after the fifth decimal,
// and checked:
//  - format rule: 6 000 000 to 60 000 000 units (60 to 600 MHz), negative or
//    oversized values fail it; a failure skips the other rules;
//  - band rule: inside the band's inclusive limits; on Enter a failure stops
//    here;
//  - step rule: divisible by 625 or by 500 (6.25 kHz or 5 kHz).
// Every failure refuses the entry (and leaves it empty). A passing entry is the count written back
// with five decimals, so "145.0062599" is committed as "145.00625", the value
// the raster check saw.
FrequencyCheck checkFrequencyEntry(std::string_view text, int bandIndex, EntryTrigger trigger);

// A channel row is empty when both frequency texts are empty.
bool isEmptyChannel(const ChannelTexts &row);

// The texts a channel gets when its first frequency is committed, by column
// (the frequency columns stay empty here).
const ChannelTexts &newChannelDefaults();

// Writes a checked entry (empty or a frequency text) into the receive or
// transmit column of row, keeping the row consistent:
//  - non-empty entry on a row with both frequencies and the two tones and the
//    busy lock empty: the defaults of newChannelDefaults() first, and for the
//    receive column the entry goes into the transmit column as well;
//  - empty entry: the tone of that side is cleared with the frequency, and
//    when both frequencies and both tones are then empty the four settings
//    (busy lock, bandwidth, scan, power) are cleared too.
// column must be kRxFrequencyColumn or kTxFrequencyColumn.
void commitFrequencyEntry(ChannelTexts &row, int column, const std::string &entry);

// The text a tone entry stores: empty for an empty channel; for a channel in
// use the table's own spelling of the tone name the text matches with letter
// case ignored ("d023n" stores "D023N"), and "OFF" for any other text.
std::string toneEntryText(const ToneTable &tones, std::string_view typed, bool channelEmpty);

// The text a typed tone that is not in the table stores.
inline constexpr std::string_view kUnknownToneText = "OFF";

}  // namespace tavin
