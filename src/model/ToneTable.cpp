#include "ToneTable.h"

#include "Frequency.h"

#include <cstdio>

namespace tavin {

namespace {

constexpr const char *kCtcssTones[] = {
    "67.0",  "69.3",  "71.9",  "74.4",  "77.0",  "79.7",  "82.5",  "85.4",  "88.5",  "91.5",
    "94.8",  "97.4",  "100.0", "103.5", "107.2", "110.9", "114.8", "118.8", "123.0", "127.3",
    "131.8", "136.5", "141.3", "146.2", "151.4", "156.7", "159.8", "162.2", "165.5", "167.9",
    "171.3", "173.8", "177.3", "179.9", "183.5", "186.2", "189.9", "192.8", "196.6", "199.5",
    "203.5", "206.5", "210.7", "218.1", "225.7", "229.1", "233.6", "241.8", "250.3", "254.1",
};

// The common 104-code DCS list with 645 between 632 and 654.
constexpr const char *kDcsCodes[] = {
    "023", "025", "026", "031", "032", "036", "043", "047", "051", "053", "054", "065", "071", "072", "073",
    "074", "114", "115", "116", "122", "125", "131", "132", "134", "143", "145", "152", "155", "156", "162",
    "165", "172", "174", "205", "212", "223", "225", "226", "243", "244", "245", "246", "251", "252", "255",
    "261", "263", "265", "266", "271", "274", "306", "311", "315", "325", "331", "332", "343", "346", "351",
    "356", "364", "365", "371", "411", "412", "413", "423", "431", "432", "445", "446", "452", "454", "455",
    "462", "464", "465", "466", "503", "506", "516", "523", "526", "532", "546", "565", "606", "612", "624",
    "627", "631", "632", "645", "654", "662", "664", "703", "712", "723", "731", "732", "734", "743", "754",
};
static_assert(std::size(kCtcssTones) == 50);
static_assert(std::size(kDcsCodes) == 105);

char asciiUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (asciiUpper(a[i]) != asciiUpper(b[i]))
            return false;
    }
    return true;
}

}  // namespace

ToneTable::ToneTable()
{
    m_names.reserve(kSize);
    m_names.emplace_back(kNoToneText);
    for (const char *tone : kCtcssTones)
        m_names.emplace_back(tone);
    for (const char *polarity : {"N", "I"}) {
        for (const char *code : kDcsCodes)
            m_names.push_back(std::string("D") + code + polarity);
    }
}

int ToneTable::indexIgnoringCase(std::string_view text) const
{
    for (std::size_t i = 0; i < m_names.size(); ++i) {
        if (equalsIgnoringCase(m_names[i], text))
            return static_cast<int>(i);
    }
    return -1;
}

ToneField encodeToneText(std::string_view text)
{
    ToneField field;
    if (text.find('D') == std::string_view::npos) {
        // CTCSS: tenths of a hertz, cut toward zero.
        const std::optional<std::int64_t> tenths = scaledDecimalPrefix(text, 1);
        if (!tenths || *tenths <= 0)
            return field;  // no tone
        const auto t = static_cast<std::uint64_t>(*tenths);
        field.high = toBcd(static_cast<std::uint32_t>((t / 100) % 256));
        field.low = toBcd(static_cast<std::uint32_t>(t % 100));
        return field;
    }
    // DCS: the digits after the first character, polarity from an 'N' among them.
    const std::string_view rest = text.substr(1);
    const std::int64_t code = integerPrefix(rest);
    const auto t = static_cast<std::uint64_t>(code < 0 ? -code : code);
    const std::uint32_t base = rest.find('N') != std::string_view::npos ? 0x80 : 0xC0;
    field.high = static_cast<std::uint8_t>(((t / 100) + base) % 256);
    field.low = toBcd(static_cast<std::uint32_t>(t % 100));
    return field;
}

std::string decodeToneField(ToneField field, bool channelInUse)
{
    const std::uint8_t h = field.high;
    if (h == 0x00 || h == 0xFF)
        return channelInUse ? std::string(kNoToneText) : std::string();
    if (h >= 0x80) {
        const bool inverted = h >= 0xC0;
        const unsigned d = h - (inverted ? 0xC0u : 0x80u);
        const unsigned number = d * 100 + fromBcd(field.low);
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%s%u%s", d == 0 ? "D0" : "D", number, inverted ? "I" : "N");
        return buffer;
    }
    const unsigned tenths = fromBcd(h) * 100 + fromBcd(field.low);
    return std::to_string(tenths / 10) + '.' + std::to_string(tenths % 10);
}

}  // namespace tavin
