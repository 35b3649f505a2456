// Turning the radio image into the editor's texts and selections, and back.
// The form's DecodeImage, EncodeImage and ApplyModelRule are thin loops over
// these; the command-line tool and the tests use them directly.
#pragma once

#include "RadioImage.h"
#include "SettingBoxes.h"
#include "ShownWords.h"

#include <array>
#include <string>

namespace tavin {

// Grid columns 1 to 8 of a channel row, as indexes 0 to 7 here.
enum Column : int {
    kRxFrequencyColumn = 0,
    kTxFrequencyColumn,
    kRxToneColumn,
    kTxToneColumn,
    kBusyLockColumn,
    kBandwidthColumn,
    kScanColumn,
    kPowerColumn,
};
inline constexpr int kColumnCount = 8;

using ChannelTexts = std::array<std::string, kColumnCount>;
using ChannelTable = std::array<ChannelTexts, kChannelCount>;  // channel n at index n - 1

// The choice words of columns 5 to 8 (UTF-8).
namespace choice {
inline constexpr std::string_view kYes = TAVIN_SHOWN("RadioData", "是");
inline constexpr std::string_view kNo = TAVIN_SHOWN("RadioData", "否");
inline constexpr std::string_view kWide = TAVIN_SHOWN("RadioData", "宽带");
inline constexpr std::string_view kNarrow = TAVIN_SHOWN("RadioData", "窄带");
inline constexpr std::string_view kAdd = TAVIN_SHOWN("RadioData", "添加");
inline constexpr std::string_view kDelete = TAVIN_SHOWN("RadioData", "删除");
inline constexpr std::string_view kHigh = TAVIN_SHOWN("RadioData", "高");
inline constexpr std::string_view kMiddle = TAVIN_SHOWN("RadioData", "中");
inline constexpr std::string_view kLow = TAVIN_SHOWN("RadioData", "低");
}  // namespace choice

// The eight texts of channel 1..16.
ChannelTexts decodeChannel(const RadioImage &image, int channel);

// Box selections from the settings bytes, except the band box (which depends on
// the model rule). An unknown model code leaves selections[Model] as it is.
void decodeSettings(const RadioImage &image, BoxSelections &selections);

// The band box selection the stored band code gives (0 when out of range).
int decodeBandSelection(const RadioImage &image);

// The image half of the model choice: rows 17 to 24 get 00 in bytes 0..7 and
// 1 (first model) or 0 (any other selection, also none) in bytes 13 and 14.
void applyModelRule(RadioImage &image, int modelSelection);

// The whole decoding in its order: the 16 channels, the settings, the model
// rule for the resulting model selection, then the band. Changes the image
// only through the model rule. selections[Model] is read as the previous one.
void decodeImage(RadioImage &image, ChannelTable &channels, BoxSelections &selections);

// Writes one channel's texts into record 1..16. Bits 1, 3, 7 of the flags and
// byte 15 are kept; a cleared frequency keeps its step flag.
void encodeChannel(const ChannelTexts &texts, RadioImage &image, int channel);
void encodeSettings(const BoxSelections &selections, RadioImage &image);
void encodeImage(const ChannelTable &channels, const BoxSelections &selections, RadioImage &image);

}  // namespace tavin
