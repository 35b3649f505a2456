// The words of the radio data as the window shows them. The grid's choice
// words ("是", "宽带", "高", ...), the tone name "无", the grid's headings and
// the setting boxes' entries are data: the codec, the channel lists and
// tavin-cli read and write them exactly as the model spells them. The window
// shows them in the current language and stores what the model spells, so an
// edit made in English stores the bytes the same edit made in Chinese stores.
#pragma once

#include <QString>

namespace tavin::lang {

// The translations' context of the words the model marks with TAVIN_SHOWN.
inline constexpr char kRadioDataContext[] = "RadioData";

// The data text as shown in the current language; texts that have no
// translation (frequencies, tone numbers, model names) are shown as they are.
QString shownText(const QString &dataText);

}  // namespace tavin::lang
