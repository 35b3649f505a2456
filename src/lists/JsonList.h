// The JSON form of a channel file, as `tavin-cli dump --json` prints it:
//   {"channels": [[8 texts] x 16], "settings": {"model": ..., "band": ..., ...}}
// with the grid's texts and the setting boxes' entries (null for a box
// without a selection). The only list form that carries the settings.
#pragma once

#include "ChannelList.h"
#include "Codec.h"
#include "SettingBoxes.h"

#include <QByteArray>
#include <QString>

namespace tavin::lists {

QByteArray writeJsonList(const ChannelTable &channels, const BoxSelections &selections);

// The text starts with '{' (after blanks).
bool looksLikeJson(const QString &text);

// Reads "channels" (up to 16 rows of eight texts; row k is channel k + 1) and
// "settings" (any of the eleven keys; entry text or null). Anything else in
// the document is refused.
void readJsonList(const QString &text, ChannelList &list);

}  // namespace tavin::lists
