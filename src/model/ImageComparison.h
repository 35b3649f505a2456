// What differs between two radio images, named as the user knows it: channels
// by number and column header, settings by the label of their box, anything
// else by its byte range. verify, diff and write --verify all use this.
#pragma once

#include "RadioImage.h"

#include <string>
#include <vector>

namespace tavin {

// How the two sides are called in the lines ("file" and "radio" for verify).
struct ComparisonNames {
    std::string expected = "file";
    std::string found = "radio";
};

enum class ComparedBytes {
    Written,  // 0x000 to 0x3D7, the part a write sends to the radio
    All,      // all 1024 bytes, also the read-only area 0x3D8 to 0x3FF
};

// One difference, with its parts for programs (diff --json) and the line
// people read.
struct Difference {
    enum class Kind {
        Channel,       // a channel cell: channel, column header, the two texts
        ChannelBytes,  // bytes of a channel record the editor does not show
        Setting,       // a setting box: its label and key, the two entries
        Bytes,         // bytes of another region: its name and the ranges
    };
    Kind kind = Kind::Bytes;
    int channel = 0;       // 1..16 for Channel and ChannelBytes
    std::string item;      // column header, setting label or region name
    std::string key;       // the setting's name in scripts ("txTimeLimit")
    std::string expected;  // the expected side's text (Channel, Setting)
    std::string found;     // the found side's text
    std::string ranges;    // differing bytes, "0x193-0x195, 0x19A"
    std::string line;      // as describeDifferences words it
};

std::vector<Difference> compareImages(const RadioImage &expected, const RadioImage &found,
                                      const ComparisonNames &names = {},
                                      ComparedBytes compared = ComparedBytes::Written);

// One line per difference, for example
//   "channel 3, 接收频率(MHz): file 464.93750, radio 462.56250"
//   "setting 发射限时: file 60s, radio 90s"
//   "unused memory: bytes 0x193-0x195, 0x19A differ"
// Empty when the compared bytes agree.
std::vector<std::string> describeDifferences(const RadioImage &expected, const RadioImage &found,
                                             const ComparisonNames &names = {},
                                             ComparedBytes compared = ComparedBytes::Written);

}  // namespace tavin
