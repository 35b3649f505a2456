#include "Codec.h"

#include "Frequency.h"
#include "ToneTable.h"

namespace tavin {

namespace {

std::string frequencyText(const std::optional<std::uint32_t> &count)
{
    return count ? formatFrequency(*count) : std::string();
}

std::uint8_t withBits(std::uint8_t value, std::uint8_t bits, bool set)
{
    return set ? static_cast<std::uint8_t>(value | bits) : static_cast<std::uint8_t>(value & ~bits);
}

void encodeFrequency(const std::string &text, ChannelRecord record, Side side)
{
    const std::optional<std::uint32_t> count = frequencyCountFromText(text);
    if (!count || *count == 0)
        record.clearFrequency(side);
    else
        record.setFrequency(side, *count);
}

}  // namespace

ChannelTexts decodeChannel(const RadioImage &image, int channel)
{
    const ConstChannelRecord record = image.channel(channel);
    const bool inUse = record.inUse();
    ChannelTexts texts;
    texts[kRxFrequencyColumn] = frequencyText(record.frequency(Side::Rx));
    texts[kTxFrequencyColumn] = frequencyText(record.frequency(Side::Tx));
    texts[kRxToneColumn] = decodeToneField(record.tone(Side::Rx), inUse);
    texts[kTxToneColumn] = decodeToneField(record.tone(Side::Tx), inUse);
    if (!inUse)
        return texts;

    const std::uint8_t f = record.flags();
    texts[kBusyLockColumn] = (f & channelFlags::kBusyLockOff) ? choice::kNo : choice::kYes;
    texts[kBandwidthColumn] = (f & channelFlags::kNarrowBand) ? choice::kNarrow : choice::kWide;
    texts[kScanColumn] = (f & channelFlags::kScanAdd) ? choice::kAdd : choice::kDelete;
    switch (f & channelFlags::kPowerMask) {
    case 0:
        texts[kPowerColumn] = choice::kLow;
        break;
    case channelFlags::kPowerLow:
        texts[kPowerColumn] = choice::kMiddle;
        break;
    default:
        // Power level 2, and 3, which this program never writes, both show as high.
        texts[kPowerColumn] = choice::kHigh;
        break;
    }
    return texts;
}

void decodeSettings(const RadioImage &image, BoxSelections &s)
{
    const std::uint8_t flags = image[layout::kFunctionFlags];
    s[SettingBox::Beep] = (flags & functionFlags::kBeepOn) ? 0 : 1;
    s[SettingBox::Scan] = (flags & functionFlags::kScanOn) ? 1 : 0;
    const std::uint8_t voice = flags & functionFlags::kVoicePromptMask;
    s[SettingBox::VoicePrompt] = voice == 0x30 ? 2 : voice == 0x10 ? 1 : 0;
    s[SettingBox::PowerSave] = (flags & functionFlags::kPowerSaveOn) ? 1 : 0;
    switch (flags & functionFlags::kEmergencyAlarmMask) {
    case 0x00: s[SettingBox::EmergencyAlarm] = 0; break;
    case 0x40: s[SettingBox::EmergencyAlarm] = 1; break;
    case 0x80: s[SettingBox::EmergencyAlarm] = 2; break;
    default: s[SettingBox::EmergencyAlarm] = 3; break;
    }
    const std::uint8_t squelch = image[layout::kSquelchLevel];
    s[SettingBox::SquelchLevel] = squelch <= 9 ? squelch : 0;
    const std::uint8_t limit = image[layout::kTxTimeLimit];
    s[SettingBox::TxTimeLimit] = limit <= 10 ? limit : 0;
    const std::uint8_t monitor = image[layout::kMonitorMode];
    s[SettingBox::Monitor] = monitor <= 3 ? monitor : 3;
    s[SettingBox::RejectAlarm] = (flags & functionFlags::kRejectAlarmOff) ? 1 : 0;
    const std::uint8_t model = image[layout::kModelCode];
    if (model == 0x32)
        s[SettingBox::Model] = 0;
    else if (model == 0x33)
        s[SettingBox::Model] = 1;
    // Any other code leaves the model selection as it was.
}

int decodeBandSelection(const RadioImage &image)
{
    const int d = image[layout::kBandCode] - 0xF0;
    // Code 0xF4 is accepted by the radio but the box has four entries: first band.
    return (d >= 0 && d <= 3) ? d : 0;
}

void applyModelRule(RadioImage &image, int modelSelection)
{
    const std::uint8_t step = modelSelection == 0 ? 1 : 0;
    for (int r = layout::kFirstHiddenRow; r <= layout::kLastHiddenRow; ++r) {
        const std::size_t row = layout::channelOffset(r);
        for (std::size_t i = 0; i < 8; ++i)
            image[row + i] = 0x00;
        image[row + record::kRxStepFlag] = step;
        image[row + record::kTxStepFlag] = step;
    }
}

void decodeImage(RadioImage &image, ChannelTable &channels, BoxSelections &selections)
{
    for (int n = 1; n <= kChannelCount; ++n)
        channels[static_cast<std::size_t>(n - 1)] = decodeChannel(image, n);
    decodeSettings(image, selections);
    applyModelRule(image, selections[SettingBox::Model]);
    selections[SettingBox::Band] = decodeBandSelection(image);
}

void encodeChannel(const ChannelTexts &texts, RadioImage &image, int channel)
{
    ChannelRecord record = image.channel(channel);
    encodeFrequency(texts[kRxFrequencyColumn], record, Side::Rx);
    encodeFrequency(texts[kTxFrequencyColumn], record, Side::Tx);
    record.setTone(Side::Rx, encodeToneText(texts[kRxToneColumn]));
    record.setTone(Side::Tx, encodeToneText(texts[kTxToneColumn]));

    std::uint8_t f = record.flags();
    f = withBits(f, channelFlags::kBusyLockOff, texts[kBusyLockColumn] != choice::kYes);
    f = withBits(f, channelFlags::kNarrowBand, texts[kBandwidthColumn] != choice::kWide);
    f = withBits(f, channelFlags::kScanAdd, texts[kScanColumn] == choice::kAdd);
    const std::string &power = texts[kPowerColumn];
    const std::uint8_t level = power == choice::kLow ? 0 : power == choice::kMiddle ? channelFlags::kPowerLow : channelFlags::kPowerHigh;
    f = static_cast<std::uint8_t>((f & ~channelFlags::kPowerMask) | level);
    record.setFlags(f);
}

void encodeSettings(const BoxSelections &s, RadioImage &image)
{
    std::uint8_t flags = 0;
    flags = withBits(flags, functionFlags::kBeepOn, s[SettingBox::Beep] != 1);
    flags = withBits(flags, functionFlags::kScanOn, s[SettingBox::Scan] != 0);
    switch (s[SettingBox::VoicePrompt]) {
    case 0: break;
    case 1: flags |= 0x10; break;
    default: flags |= 0x30; break;
    }
    flags = withBits(flags, functionFlags::kPowerSaveOn, s[SettingBox::PowerSave] == 1);
    switch (s[SettingBox::EmergencyAlarm]) {
    case 0: break;
    case 1: flags |= 0x40; break;
    case 3: flags |= 0xC0; break;
    default: flags |= 0x80; break;
    }
    flags = withBits(flags, functionFlags::kRejectAlarmOff, s[SettingBox::RejectAlarm] != 0);
    image[layout::kFunctionFlags] = flags;
    image[layout::kSquelchLevel] = static_cast<std::uint8_t>(s[SettingBox::SquelchLevel]);
    image[layout::kTxTimeLimit] = static_cast<std::uint8_t>(s[SettingBox::TxTimeLimit]);
    image[layout::kMonitorMode] = static_cast<std::uint8_t>(s[SettingBox::Monitor]);
    image[layout::kModelCode] = s[SettingBox::Model] == 0 ? 0x32 : 0x33;
    image[layout::kBandCode] = static_cast<std::uint8_t>((0xF0 + s[SettingBox::Band]) % 256);
}

void encodeImage(const ChannelTable &channels, const BoxSelections &selections, RadioImage &image)
{
    for (int n = 1; n <= kChannelCount; ++n)
        encodeChannel(channels[static_cast<std::size_t>(n - 1)], image, n);
    encodeSettings(selections, image);
}

}  // namespace tavin
