// The 261 squelch tone and code names the editor offers, and the arithmetic
// between a name and its two-byte ToneField.
#pragma once

#include "RadioImage.h"
#include "ShownWords.h"

#include <string>
#include <string_view>
#include <vector>

namespace tavin {

class ToneTable {
public:
    static constexpr int kSize = 261;
    static constexpr int kFirstCtcss = 1;   // 50 tones, "67.0" .. "254.1"
    static constexpr int kFirstDcsN = 51;   // 105 codes "D023N" .. "D754N"
    static constexpr int kFirstDcsI = 156;  // the same codes, "D023I" .. "D754I"

    ToneTable();  // builds the names once

    int size() const { return static_cast<int>(m_names.size()); }
    const std::string &name(int index) const { return m_names.at(static_cast<std::size_t>(index)); }
    const std::vector<std::string> &names() const { return m_names; }
    // Index of the name equal to text with ASCII letter case ignored, or -1.
    int indexIgnoringCase(std::string_view text) const;

private:
    std::vector<std::string> m_names;
};

// The UTF-8 text of "no tone", index 0 of the table.
inline constexpr std::string_view kNoToneText = TAVIN_SHOWN("RadioData", "无");

// Name to field, by arithmetic on the text (never a table look-up): a text
// containing 'D' is a DCS code (atol of the text after its first character,
// 'N' anywhere in it selects normal polarity, otherwise inverted); any other
// text is a CTCSS tone in hertz, cut after the first decimal. No number, or
// zero, is no tone (FF FF).
ToneField encodeToneText(std::string_view text);

// Field to name, as the editor shows it. A no-tone field gives "无" on a
// channel in use and the empty text otherwise.
std::string decodeToneField(ToneField field, bool channelInUse);

}  // namespace tavin
