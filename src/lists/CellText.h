// Cell texts of spreadsheet files made ready for the editor's rules: numbers
// with a decimal comma (in files separated by semicolons or tabs), frequencies
// and tones as spreadsheets shorten them ("145.5", "67").
#pragma once

#include <QString>

#include <optional>
#include <string>

namespace tavin::lists {

// The text as a plain decimal number ("145.5", "-0.6", ".5") with a point, or
// nullopt when it is anything else. With decimalComma a comma may stand for
// the point.
std::optional<QString> plainDecimal(const QString &text, bool decimalComma);

struct FrequencyCell {
    std::string text;     // for the editor's rules; empty for an empty cell
    std::string problem;  // why the cell is refused before those rules
};

// A frequency cell in megahertz: a plain decimal number with at most five
// decimals that are not zero (the radio keeps 10 Hz steps).
FrequencyCell frequencyCell(const QString &text, bool decimalComma);

// A tone cell: a plain number in hertz is written with one decimal as the
// tone list writes it ("67" and "67,0" give "67.0"); other texts (codes,
// names) stay as they are.
std::string toneCell(const QString &text, bool decimalComma);

// The tenths of a hertz a plain number says exactly ("88.5" gives 885,
// "88.50" too), or nullopt (not a number, or finer than a tenth).
std::optional<long long> tenthsOfHertz(const QString &text, bool decimalComma);

}  // namespace tavin::lists
