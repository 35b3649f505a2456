// A channel list as read from a file, before the editor's rules are applied:
// the texts each named channel would be typed with, where they came from (for
// messages), the settings a JSON document gives, and what was wrong with the
// file's form.
#pragma once

#include "Codec.h"
#include "SettingBoxes.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace tavin::lists {

// One refused thing: where it is and why. column is the input's own name for
// it (a column header, an interchange column, a JSON setting); empty when the
// problem is the whole line.
struct ListProblem {
    int line = 0;
    std::string column;
    std::string message;
    friend bool operator==(const ListProblem &, const ListProblem &) = default;
};

// "FILE:LINE: COLUMN: message".
std::string problemLine(const std::string &source, const ListProblem &problem);

// "channel 3" or "channels 1, 4, 9", as notices name them.
std::string channelNames(const std::vector<int> &channels);

struct ListRow {
    int channel = 0;  // 1..16
    int line = 0;     // where the row starts in the input
    ChannelTexts typed;
    // The input's name for the place each text came from, by column.
    std::array<std::string, kColumnCount> source;
    bool refusedCells = false;  // the reader already refused some of its cells
};

struct ChannelList {
    std::vector<ListRow> rows;
    // Settings a JSON document gives: unset when not given, -1 for null (no
    // selection), otherwise the box's selection index; with their lines.
    std::array<std::optional<int>, kSettingBoxCount> settings;
    std::array<int, kSettingBoxCount> settingLines{};
    std::vector<ListProblem> problems;  // the form of the file
    std::vector<std::string> notices;   // said on the side; nothing refused
    // False for a form with no place for busy lock: its channels get the
    // new-channel default whatever the base held.
    bool givesBusyLock = true;

    std::optional<int> setting(SettingBox box) const { return settings[static_cast<std::size_t>(box)]; }
    bool hasSettings() const;
    void refuse(int line, std::string column, std::string message)
    {
        problems.push_back({line, std::move(column), std::move(message)});
    }
};

}  // namespace tavin::lists
