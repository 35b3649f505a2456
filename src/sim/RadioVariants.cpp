#include "RadioVariants.h"

#include <string>

namespace tavin::sim {

namespace {

constexpr std::uint32_t kStepUnits = 1250;        // 12.5 kHz in 10 Hz units
constexpr int kDistinctShifts = 64;               // after that the shifts repeat (0.8 MHz at most)
constexpr std::uint32_t kLowestUnits = 1000000;   // 10 MHz: shift up below this

std::string radioNumberText(int number)
{
    std::string digits = std::to_string(number % 10000000);
    digits.insert(0, kRadioNumberSize - 1 - digits.size(), '0');
    return 'R' + digits;
}

}  // namespace

RadioImage fleetRadioMemory(const RadioImage &base, int number)
{
    if (number <= 1)
        return base;
    RadioImage image = base;
    const std::uint32_t shift = kStepUnits * static_cast<std::uint32_t>((number - 1) % kDistinctShifts);
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        ChannelRecord record = image.channel(channel);
        for (const Side side : {Side::Rx, Side::Tx}) {
            const std::optional<std::uint32_t> units = record.frequency(side);
            if (!units)
                continue;
            record.setFrequency(side, *units >= kLowestUnits + shift ? *units - shift : *units + shift);
        }
    }
    const std::string text = radioNumberText(number);
    for (std::size_t i = 0; i < kRadioNumberSize; ++i)
        image[kRadioNumberOffset + i] = static_cast<std::uint8_t>(text[i]);
    return image;
}

}  // namespace tavin::sim
