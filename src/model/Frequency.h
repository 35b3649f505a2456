// Frequencies as exact counts of 10 Hz units, their "%3.5f" megahertz text,
// and the limits a typed frequency must keep.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavin {

inline constexpr std::uint32_t kUnitsPerMHz = 100000;  // 10 Hz units

// Every frequency the editor accepts lies in 60 to 600 MHz, both inclusive.
inline constexpr std::uint32_t kLowestFrequency = 6000000;
inline constexpr std::uint32_t kHighestFrequency = 60000000;

// Channel raster: a count is on it when divisible by 6.25 kHz or by 5 kHz.
inline constexpr std::uint32_t kStep6k25 = 625;
inline constexpr std::uint32_t kStep5k = 500;
inline constexpr bool onRaster(std::uint32_t count) { return count % kStep6k25 == 0 || count % kStep5k == 0; }

// The band box's four bands, by selection index; both bounds inclusive.
struct BandLimits {
    std::uint32_t lowest;
    std::uint32_t highest;
};
inline constexpr std::array<BandLimits, 4> kBandLimits{{
    {13600000, 17400000},  // 136 - 174 MHz
    {35000000, 40000000},  // 350 - 400 MHz
    {40000000, 47000000},  // 400 - 470 MHz
    {43000000, 50000000},  // 430 - 500 MHz
}};

// count / 100000 with exactly five decimals, as "%3.5f" prints it ("462.56250").
// Pure integer arithmetic: no locale, no rounding. Counts beyond 32 bits are
// written too, so a computed value that no channel can hold can be named.
std::string formatFrequency(std::uint64_t count);

// The number that the longest leading decimal prefix of text denotes, as atof
// reads it (white space skipped, optional sign, digits, one point, optional
// exponent), multiplied by 10^decimals and cut toward zero, computed exactly in
// decimal. 0 when the text has no leading number; nullopt when the result does
// not fit in 64 bits. Independent of the process locale.
std::optional<std::int64_t> scaledDecimalPrefix(std::string_view text, int decimals);

// atol: the leading integer of text (white space, sign, digits); 0 without one.
// Saturates instead of overflowing.
std::int64_t integerPrefix(std::string_view text);

// The count of 10 Hz units a frequency text denotes, cut after the fifth
// decimal: "145.00625" gives 14500625, "145.0062599" gives 14500625. nullopt
// for a negative value or one beyond 32 bits; 0 for text without a number.
std::optional<std::uint32_t> frequencyCountFromText(std::string_view text);

}  // namespace tavin
