// The plain texts one printed page is made of: the choices of the six printed
// setting boxes and the grid cells of columns 0 to 5, rows 0 to 16, exactly as
// the form shows them. The page never reads the radio image.
#pragma once

#include "Codec.h"
#include "GridTexts.h"
#include "RadioImage.h"
#include "SettingBoxes.h"

#include <QString>

#include <array>
#include <functional>

namespace tavin::print {

// Grid columns 0..5 are printed: number, Rx, Tx, decode, encode, busy lock.
inline constexpr int kPrintedColumnCount = 6;
inline constexpr int kBandwidthGridColumn = 6;

struct PageTexts {
    // Text of each printed box's current choice; empty when it has none.
    QString model;
    QString band;
    QString txTimeLimit;
    QString beep;
    QString squelchLevel;
    QString monitor;
    // cells[row][col], row 0 the headers, column 0 the channel numbers.
    std::array<std::array<QString, kPrintedColumnCount>, kGridRowCount> cells;
    // Grid column 6 of channels 1..16 (index 0 is channel 1): it is not
    // printed as a column, only summed up behind "W/N: ".
    std::array<QString, kChannelCount> bandwidths;

    // Reads the texts through the two accessors: the box's choice text and the
    // grid cell (row 0..16, column 0..8).
    static PageTexts collect(const std::function<QString(SettingBox)> &boxText,
                             const std::function<QString(int row, int col)> &cellText);
};

// The page of a decoded image, as the form shows it after decoding: the grid
// headers and channel numbers of the form, the channel texts and the box choices.
PageTexts pageTextsFromDecoded(const ChannelTable &channels, const BoxSelections &selections);

// What follows "W/N: ", in the current language: the bandwidth the programmed
// channels share ("宽带" or "窄带" as the grid shows it), "Mixed" when they
// differ, and nothing when no channel has a frequency. A channel with both
// frequency cells empty is empty.
QString wideNarrowSummary(const PageTexts &texts);

// The text a settings line prints behind its label for a box without a choice
// (translated in the context "SettingsPage").
inline constexpr char kNoChoiceText[] = QT_TRANSLATE_NOOP("SettingsPage", "(none)");

}  // namespace tavin::print
