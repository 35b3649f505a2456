// The radio's 1024-byte memory, byte for byte, with names for the places the
// program interprets. Everything not named here is carried along unchanged.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace tavin {

inline constexpr std::size_t kImageSize = 1024;
inline constexpr int kChannelCount = 16;

namespace layout {
inline constexpr std::size_t kRowSize = 16;
// Channel n (1 to 16) is the 16-byte record at 16 * n.
constexpr std::size_t channelOffset(int channel) { return kRowSize * static_cast<std::size_t>(channel); }
// Rows 17 to 24: records the radio keeps but the editor never shows.
inline constexpr int kFirstHiddenRow = 17;
inline constexpr int kLastHiddenRow = 24;
inline constexpr std::size_t kChannelIndexTable = 0x280;  // 16 bytes, 1..16 in a new document
inline constexpr std::size_t kFunctionFlags = 0x3C0;
inline constexpr std::size_t kSquelchLevel = 0x3C1;  // 0..9
inline constexpr std::size_t kMonitorMode = 0x3C2;   // 0..3
inline constexpr std::size_t kTxTimeLimit = 0x3C3;   // 0 = off, k = 30 * k seconds, up to 10
inline constexpr std::size_t kModelBlock = 0x3D0;    // 8 bytes
inline constexpr std::size_t kBandCode = 0x3D2;      // 0xF0 + band index
inline constexpr std::size_t kModelCode = 0x3D6;     // '2' first model, '3' second and third
inline constexpr std::size_t kReadOnlyArea = 0x3D8;  // read from the radio, never written to it
inline constexpr std::size_t kTailPattern = 0x3F0;   // 10 bytes in a new document
// The radio is written from offset 0 up to (not including) this offset.
inline constexpr std::size_t kWritableSize = kReadOnlyArea;
}  // namespace layout

// Byte positions inside a 16-byte channel record.
namespace record {
inline constexpr std::size_t kRxFrequency = 0;  // BcdFrequency, 4 bytes
inline constexpr std::size_t kTxFrequency = 4;  // BcdFrequency, 4 bytes
inline constexpr std::size_t kRxTone = 8;       // ToneField: low byte 8, high byte 9
inline constexpr std::size_t kTxTone = 10;      // ToneField: low byte 10, high byte 11
inline constexpr std::size_t kFlags = 12;       // channelFlags
inline constexpr std::size_t kRxStepFlag = 13;
inline constexpr std::size_t kTxStepFlag = 14;
}  // namespace record

// channelFlags bits (byte 12 of a record).
namespace channelFlags {
inline constexpr std::uint8_t kBusyLockOff = 0x01;  // 0: lockout on ("是"), 1: off ("否")
inline constexpr std::uint8_t kNarrowBand = 0x04;   // 0: wide ("宽带"), 1: narrow ("窄带")
inline constexpr std::uint8_t kScanAdd = 0x10;      // 1: in the scan list ("添加")
inline constexpr std::uint8_t kPowerLow = 0x20;     // power level: bit 5 low bit, bit 6 high bit
inline constexpr std::uint8_t kPowerHigh = 0x40;    // 0 low, 1 middle, 2 high
inline constexpr std::uint8_t kPowerMask = kPowerLow | kPowerHigh;
}  // namespace channelFlags

// functionFlags bits (0x3C0).
namespace functionFlags {
inline constexpr std::uint8_t kBeepOn = 0x01;
inline constexpr std::uint8_t kPowerSaveOn = 0x02;
inline constexpr std::uint8_t kScanOn = 0x04;
inline constexpr std::uint8_t kRejectAlarmOff = 0x08;
inline constexpr std::uint8_t kVoicePromptMask = 0x30;     // bit 4 low bit: 0 off, 1 English, 3 Chinese
inline constexpr std::uint8_t kEmergencyAlarmMask = 0xC0;  // bit 6 low bit: 0..3
}  // namespace functionFlags

enum class Side { Rx, Tx };

// Frequency in 10 Hz units as 8 BCD digits, least significant pair first.
// A field whose most significant byte is 0x00 or 0xFF holds no frequency.
struct BcdFrequency {
    static bool present(const std::uint8_t *field);
    // The count of 10 Hz units the digits spell; a nibble above 9 is folded in
    // as it comes (0xFE counts as 164). nullopt when the field is absent.
    static std::optional<std::uint32_t> read(const std::uint8_t *field);
    // Writes the eight decimal digits of count (below 1000 MHz; above, the top
    // pair keeps only the low 8 bits of its quotient before BCD).
    static void write(std::uint8_t *field, std::uint32_t count);
    static void clear(std::uint8_t *field);  // FF FF FF FF
};

// Two bytes, low byte first: no tone, a CTCSS tone in BCD tenths of a hertz,
// or a DCS code with its polarity.
struct ToneField {
    std::uint8_t low = 0xFF;
    std::uint8_t high = 0xFF;
    friend bool operator==(const ToneField &, const ToneField &) = default;
};

// BCD of a number: (q mod 256) as two decimal digits, the tens wrapped into a byte.
std::uint8_t toBcd(std::uint32_t q);
// The value a BCD byte spells, nibbles taken as they come.
std::uint32_t fromBcd(std::uint8_t b);

// Step flag of a present frequency: 1 at or above 300 MHz or on the 6.25 kHz raster.
std::uint8_t stepFlagFor(std::uint32_t count);

// A view of one 16-byte channel record inside an image.
template <typename Byte>
class BasicChannelRecord {
public:
    explicit BasicChannelRecord(Byte *bytes) : m_bytes(bytes) {}

    std::optional<std::uint32_t> frequency(Side side) const { return BcdFrequency::read(m_bytes + freqAt(side)); }
    bool hasFrequency(Side side) const { return BcdFrequency::present(m_bytes + freqAt(side)); }
    bool inUse() const { return hasFrequency(Side::Rx) || hasFrequency(Side::Tx); }
    ToneField tone(Side side) const { return {m_bytes[toneAt(side)], m_bytes[toneAt(side) + 1]}; }
    std::uint8_t flags() const { return m_bytes[record::kFlags]; }
    std::uint8_t stepFlag(Side side) const { return m_bytes[side == Side::Rx ? record::kRxStepFlag : record::kTxStepFlag]; }

    // Writes the digits and the step flag.
    void setFrequency(Side side, std::uint32_t count)
    {
        BcdFrequency::write(m_bytes + freqAt(side), count);
        m_bytes[side == Side::Rx ? record::kRxStepFlag : record::kTxStepFlag] = stepFlagFor(count);
    }
    // FF FF FF FF; the step flag keeps its value.
    void clearFrequency(Side side) { BcdFrequency::clear(m_bytes + freqAt(side)); }
    void setTone(Side side, ToneField f) { m_bytes[toneAt(side)] = f.low; m_bytes[toneAt(side) + 1] = f.high; }
    void setFlags(std::uint8_t flags) { m_bytes[record::kFlags] = flags; }

private:
    static std::size_t freqAt(Side s) { return s == Side::Rx ? record::kRxFrequency : record::kTxFrequency; }
    static std::size_t toneAt(Side s) { return s == Side::Rx ? record::kRxTone : record::kTxTone; }
    Byte *m_bytes;
};
using ChannelRecord = BasicChannelRecord<std::uint8_t>;
using ConstChannelRecord = BasicChannelRecord<const std::uint8_t>;

// Which preset frequencies a new document puts into the hidden rows.
enum class HiddenPreset { Uhf, Vhf };

class RadioImage {
public:
    using Bytes = std::array<std::uint8_t, kImageSize>;

    RadioImage() { m_bytes.fill(0xFF); }

    std::uint8_t operator[](std::size_t offset) const { return m_bytes[offset]; }
    std::uint8_t &operator[](std::size_t offset) { return m_bytes[offset]; }
    const Bytes &bytes() const { return m_bytes; }
    Bytes &bytes() { return m_bytes; }
    std::uint8_t *data() { return m_bytes.data(); }
    const std::uint8_t *data() const { return m_bytes.data(); }

    // Channel 1 to 16; rows 17 to 24 (the hidden records) are reachable too.
    ChannelRecord channel(int row) { return ChannelRecord(m_bytes.data() + layout::channelOffset(row)); }
    ConstChannelRecord channel(int row) const { return ConstChannelRecord(m_bytes.data() + layout::channelOffset(row)); }

    // The contents of a new document: all 0xFF, the channel index table, the
    // hidden-row presets, default settings, the model block and the tail pattern.
    void resetToNewDocument(HiddenPreset preset);

    friend bool operator==(const RadioImage &, const RadioImage &) = default;

private:
    Bytes m_bytes;
};

}  // namespace tavin
