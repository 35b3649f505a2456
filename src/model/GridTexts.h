// The fixed texts of the channel grid: the nine column headers of row 0 and the
// channel numbers of column 0. The form writes them into the grid and the
// printout reads the same texts, so both keep to this one list (UTF-8).
#pragma once

#include "ShownWords.h"

#include <array>
#include <string>
#include <string_view>

namespace tavin {

inline constexpr int kGridRowCount = 17;     // header row + 16 channels
inline constexpr int kGridColumnCount = 9;   // channel number + 8 channel columns

inline constexpr std::array<std::string_view, kGridColumnCount> kGridHeaderTexts = {
    TAVIN_SHOWN("RadioData", "信道"),           // 0 channel number
    TAVIN_SHOWN("RadioData", "接收频率(MHz)"),  // 1 receive frequency
    TAVIN_SHOWN("RadioData", "发射频率(MHz)"),  // 2 transmit frequency
    TAVIN_SHOWN("RadioData", "QT/DQT解码"),     // 3 decode tone
    TAVIN_SHOWN("RadioData", "QT/DQT编码"),     // 4 encode tone
    TAVIN_SHOWN("RadioData", "繁忙锁定"),       // 5 busy-channel lockout
    TAVIN_SHOWN("RadioData", "宽/窄带"),        // 6 wide/narrow
    TAVIN_SHOWN("RadioData", "扫描"),           // 7 scan list
    TAVIN_SHOWN("RadioData", "功率"),           // 8 power
};

// Column 0 of grid row `channel` (1..16): the number in decimal, no leading zeros.
inline std::string channelNumberText(int channel)
{
    return std::to_string(channel);
}

}  // namespace tavin
