#include "NewDocument.h"

namespace tavin {

BoxSelections initialFormSelections()
{
    BoxSelections s;
    s[SettingBox::TxTimeLimit] = 2;
    s[SettingBox::Model] = 0;
    s[SettingBox::Beep] = 1;
    s[SettingBox::SquelchLevel] = 4;
    s[SettingBox::Monitor] = 3;
    s[SettingBox::Band] = 2;
    s[SettingBox::VoicePrompt] = 1;
    return s;
}

RadioImage savedNewDocument()
{
    RadioImage image;
    image.resetToNewDocument(HiddenPreset::Uhf);
    ChannelTable channels;
    BoxSelections selections = initialFormSelections();
    decodeImage(image, channels, selections);
    encodeImage(channels, selections, image);
    return image;
}

}  // namespace tavin
