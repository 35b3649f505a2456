// The eleven radio-wide setting boxes: their control ids, labels and entries.
// The codec maps their selection indexes to the image; the form, the printout
// and the command-line tool show the same entries.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace tavin {

enum class SettingBox {
    Model,           // 1017 "机型"
    Band,            // 1011 "频率"
    TxTimeLimit,     // 1013 "发射限时"
    Beep,            // 1014 "提示音"
    SquelchLevel,    // 1016 "静噪电平"
    Monitor,         // 1012 "监听"
    Scan,            // 1075 "扫描"
    VoicePrompt,     // 1076 " 报号选择"
    EmergencyAlarm,  // 1077 "紧急呼叫          开关"
    PowerSave,       // 1078 "省电开关"
    RejectAlarm,     // 1015 "拒绝紧急报警"
};
inline constexpr int kSettingBoxCount = 11;

struct SettingBoxInfo {
    SettingBox box;
    int controlId;
    std::string_view label;
    std::string_view key;  // name in scripts and JSON ("txTimeLimit")
    std::vector<std::string> entries;
};

// All eleven, in the order of the enum.
const std::array<SettingBoxInfo, kSettingBoxCount> &settingBoxes();
const SettingBoxInfo &settingBox(SettingBox box);

// Selection index of each box; -1 when a box has no selection.
struct BoxSelections {
    std::array<int, kSettingBoxCount> index;
    BoxSelections() { index.fill(-1); }
    int &operator[](SettingBox b) { return index[static_cast<std::size_t>(b)]; }
    int operator[](SettingBox b) const { return index[static_cast<std::size_t>(b)]; }
    friend bool operator==(const BoxSelections &, const BoxSelections &) = default;
};

// The entry text of a box's selection, or the empty text for none.
std::string selectionText(SettingBox box, int index);

}  // namespace tavin
