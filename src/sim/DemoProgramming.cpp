#include "DemoProgramming.h"

#include <Codec.h>
#include <SettingBoxes.h>

namespace tavin::sim {

namespace {

// Receive, transmit, receive tone, transmit tone, busy lockout, bandwidth,
// scan list, power: the texts the editor would show.
const ChannelTexts kChannels[] = {
    {"462.56250", "467.56250", "67.0", "67.0", "是", "宽带", "添加", "高"},      // repeater pair
    {"462.58750", "467.58750", "100.0", "100.0", "是", "窄带", "添加", "高"},    // repeater pair
    {"464.50000", "464.50000", "D023N", "D023N", "否", "窄带", "添加", "中"},    // yard simplex
    {"464.55000", "464.55000", "88.5", "88.5", "否", "窄带", "删除", "低"},      // on-site talk-around
    {"451.80000", "456.80000", "D754I", "D754I", "是", "窄带", "添加", "高"},    // dispatch repeater
    {"461.03750", "466.03750", "151.4", "151.4", "是", "窄带", "删除", "中"},    // maintenance
    {"467.92500", "467.92500", "无", "无", "否", "宽带", "删除", "低"},          // carrier squelch
    {"469.50000", "469.50000", "D115N", "131.8", "否", "窄带", "添加", "低"},    // split tones
};

}  // namespace

RadioImage demoProgramming()
{
    RadioImage image;
    image.resetToNewDocument(HiddenPreset::Uhf);
    // As the program leaves a memory it has shown: the first model's rule on
    // the hidden rows.
    applyModelRule(image, 0);

    ChannelTable channels{};
    for (std::size_t i = 0; i < std::size(kChannels); ++i)
        channels[i] = kChannels[i];

    BoxSelections settings;
    settings[SettingBox::Model] = 0;           // QD-T310K
    settings[SettingBox::Band] = 2;            // 400 - 470MHZ
    settings[SettingBox::TxTimeLimit] = 2;     // 60 s
    settings[SettingBox::Beep] = 0;            // on
    settings[SettingBox::SquelchLevel] = 5;
    settings[SettingBox::Monitor] = 1;         // momentary
    settings[SettingBox::Scan] = 1;            // on
    settings[SettingBox::VoicePrompt] = 1;     // English
    settings[SettingBox::EmergencyAlarm] = 1;  // local alarm
    settings[SettingBox::PowerSave] = 1;       // on
    settings[SettingBox::RejectAlarm] = 1;     // "关"
    encodeImage(channels, settings, image);
    return image;
}

}  // namespace tavin::sim
