#include "RadioImage.h"

namespace tavin {

namespace {

constexpr std::size_t kMostSignificantByte = 3;

struct HiddenPresetRow {
    std::uint32_t uhfRx, uhfTx, vhfRx, vhfTx;  // 10 Hz units
};
// Rows 17 to 24 of a new document.
constexpr HiddenPresetRow kHiddenPresets[] = {
    {46010000, 46000000, 16210000, 16200000},
    {45010000, 45000000, 15010000, 15000000},
    {46990000, 46997500, 17390000, 17397500},
    {46030000, 46030000, 16250000, 16250000},
    {46035000, 46035000, 16255000, 16255000},
    {46040000, 46040000, 16260000, 16260000},
    {46035000, 46035000, 16255000, 16255000},
    {46045000, 46045000, 16265000, 16265000},
};

constexpr std::uint8_t kNewModelBlock[] = {0x00, 0x00, 0xF0, 0x37, 0x30, 0x31, 0x32, 0x50};
constexpr std::uint8_t kNewTailPattern[] = {0x5E, 0x09, 0x2B, 0x69, 0xD8, 0xAA, 0x41, 0xAA, 0x60, 0x4B};

}  // namespace

std::uint8_t toBcd(std::uint32_t q)
{
    const std::uint32_t low = q % 256;
    return static_cast<std::uint8_t>(((low / 10) * 16 + low % 10) % 256);
}

std::uint32_t fromBcd(std::uint8_t b)
{
    return (b / 16u) * 10u + (b % 16u);
}

std::uint8_t stepFlagFor(std::uint32_t count)
{
    return (count >= 30000000u || count % 625u == 0) ? 1 : 0;
}

bool BcdFrequency::present(const std::uint8_t *field)
{
    const std::uint8_t top = field[kMostSignificantByte];
    return top != 0x00 && top != 0xFF;
}

std::optional<std::uint32_t> BcdFrequency::read(const std::uint8_t *field)
{
    if (!present(field))
        return std::nullopt;
    std::uint32_t v = 0;
    for (int k = 3; k >= 0; --k)
        v = v * 100 + fromBcd(field[k]);
    return v;
}

void BcdFrequency::write(std::uint8_t *field, std::uint32_t count)
{
    std::uint32_t divisor = 1000000;
    for (int k = 3; k >= 0; --k) {
        field[k] = toBcd(count / divisor);
        count %= divisor;
        divisor /= 100;
    }
}

void BcdFrequency::clear(std::uint8_t *field)
{
    for (int k = 0; k < 4; ++k)
        field[k] = 0xFF;
}

void RadioImage::resetToNewDocument(HiddenPreset preset)
{
    m_bytes.fill(0xFF);
    for (std::size_t j = 0; j < 16; ++j)
        m_bytes[layout::kChannelIndexTable + j] = static_cast<std::uint8_t>(j + 1);

    const bool uhf = preset == HiddenPreset::Uhf;
    for (int r = layout::kFirstHiddenRow; r <= layout::kLastHiddenRow; ++r) {
        std::uint8_t *row = m_bytes.data() + layout::channelOffset(r);
        for (std::size_t i = 0; i < 8; ++i)
            row[i] = 0x00;
        row[record::kRxStepFlag] = row[record::kTxStepFlag] = uhf ? 1 : 0;
        const HiddenPresetRow &p = kHiddenPresets[r - layout::kFirstHiddenRow];
        BcdFrequency::write(row + record::kRxFrequency, uhf ? p.uhfRx : p.vhfRx);
        BcdFrequency::write(row + record::kTxFrequency, uhf ? p.uhfTx : p.vhfTx);
    }

    m_bytes[layout::kSquelchLevel] = 9;
    m_bytes[layout::kMonitorMode] = 3;
    m_bytes[layout::kTxTimeLimit] = 6;
    for (std::size_t i = 0; i < sizeof kNewModelBlock; ++i)
        m_bytes[layout::kModelBlock + i] = kNewModelBlock[i];
    for (std::size_t i = 0; i < sizeof kNewTailPattern; ++i)
        m_bytes[layout::kTailPattern + i] = kNewTailPattern[i];
}

}  // namespace tavin
