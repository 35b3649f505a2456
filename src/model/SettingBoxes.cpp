#include "SettingBoxes.h"

#include "ShownWords.h"

namespace tavin {

const std::array<SettingBoxInfo, kSettingBoxCount> &settingBoxes()
{
    // The entries the window shows in the user's language are marked; model
    // names, levels and times read the same in every language.
    static const std::array<SettingBoxInfo, kSettingBoxCount> boxes{{
        {SettingBox::Model, 1017, "机型", "model", {"QD-T310K", "QD-6200", "QD-R20"}},
        {SettingBox::Band, 1011, "频率", "band",
         {TAVIN_SHOWN("RadioData", "136 - 174MHZ"), TAVIN_SHOWN("RadioData", "350 - 400MHZ"),
          TAVIN_SHOWN("RadioData", "400 - 470MHZ"), TAVIN_SHOWN("RadioData", "430 - 500MHZ")}},
        {SettingBox::TxTimeLimit, 1013, "发射限时", "txTimeLimit",
         {TAVIN_SHOWN("RadioData", "关闭"), "30s", "60s", "90s", "120s", "150s", "180s", "210s", "240s", "270s",
          "300s"}},
        {SettingBox::Beep, 1014, "提示音", "beep", {TAVIN_SHOWN("RadioData", "开"), TAVIN_SHOWN("RadioData", "关")}},
        {SettingBox::SquelchLevel, 1016, "静噪电平", "squelchLevel", {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}},
        {SettingBox::Monitor, 1012, "监听", "monitor",
         {TAVIN_SHOWN("RadioData", "关闭"), TAVIN_SHOWN("RadioData", "瞬时监听"), TAVIN_SHOWN("RadioData", "监听锁定"),
          TAVIN_SHOWN("RadioData", "SQ-Off 瞬时")}},
        {SettingBox::Scan, 1075, "扫描", "scan", {TAVIN_SHOWN("RadioData", "关"), TAVIN_SHOWN("RadioData", "开")}},
        {SettingBox::VoicePrompt, 1076, " 报号选择", "voicePrompt",
         {TAVIN_SHOWN("RadioData", "关闭"), TAVIN_SHOWN("RadioData", "英语"), TAVIN_SHOWN("RadioData", "中文")}},
        {SettingBox::EmergencyAlarm, 1077, "紧急呼叫          开关", "emergencyAlarm",
         {TAVIN_SHOWN("RadioData", "关闭"), TAVIN_SHOWN("RadioData", "本地报警"), TAVIN_SHOWN("RadioData", "本地发射报警"),
          TAVIN_SHOWN("RadioData", "发射报警")}},
        {SettingBox::PowerSave, 1078, "省电开关", "powerSave",
         {TAVIN_SHOWN("RadioData", "关闭"), TAVIN_SHOWN("RadioData", "打开")}},
        {SettingBox::RejectAlarm, 1015, "拒绝紧急报警", "rejectAlarm",
         {TAVIN_SHOWN("RadioData", "开"), TAVIN_SHOWN("RadioData", "关")}},
    }};
    return boxes;
}

const SettingBoxInfo &settingBox(SettingBox box)
{
    return settingBoxes()[static_cast<std::size_t>(box)];
}

std::string selectionText(SettingBox box, int index)
{
    const std::vector<std::string> &entries = settingBox(box).entries;
    if (index < 0 || index >= static_cast<int>(entries.size()))
        return {};
    return entries[static_cast<std::size_t>(index)];
}

}  // namespace tavin
