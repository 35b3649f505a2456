// The interchange channel-list layout that many open-source programming tools
// read and write: 21 columns, one line per memory location.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace tavin::lists::interchange {

enum Column : int {
    Location,
    Name,
    Frequency,  // receive frequency, MHz
    Duplex,     // "", "+", "-", "split", "off"
    Offset,     // MHz: the shift for + and -, the transmit frequency for split
    Tone,       // tone mode: "", "Tone", "TSQL", "DTCS", "Cross", ...
    RToneFreq,  // encode tone, Hz
    CToneFreq,  // decode tone, Hz
    DtcsCode,
    DtcsPolarity,  // two letters N or R: transmit, receive
    RxDtcsCode,
    CrossMode,  // "Tone->DTCS" and the like
    Mode,       // "FM", "NFM", ...
    TStep,      // kHz
    Skip,       // "", "S", "P"
    Power,
    Comment,
    UrCall,
    Rpt1Call,
    Rpt2Call,
    DvCode,
};
inline constexpr int kColumnCount = 21;

inline constexpr std::array<std::string_view, kColumnCount> kColumnNames = {
    "Location", "Name",  "Frequency", "Duplex",  "Offset",  "Tone",     "rToneFreq",
    "cToneFreq", "DtcsCode", "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode", "TStep",
    "Skip",     "Power", "Comment",   "URCALL",  "RPT1CALL", "RPT2CALL", "DVCODE",
};

// The customary contents of tone columns a channel does not use.
inline constexpr std::string_view kDefaultToneHz = "88.5";
inline constexpr std::string_view kDefaultDtcsCode = "023";
inline constexpr std::string_view kDefaultPolarity = "NN";
inline constexpr std::string_view kDefaultCrossMode = "Tone->Tone";

// Duplex with an offset up to this many MHz is written as + or -, beyond it as split.
inline constexpr std::uint32_t kLargestShift = 70 * 100000;  // 10 Hz units

}  // namespace tavin::lists::interchange
