// Where each value of a JSON text starts, by its path ("channels/2/0",
// "settings/band"), so that messages about a document can name its lines.
#pragma once

#include <QHash>
#include <QString>

namespace tavin::lists {

// Paths join object keys and array indexes (from 0) with '/'. The root is "".
// Meant for text that parses as JSON; on anything else it stops early and
// returns what it has seen.
QHash<QString, int> jsonValueLines(const QString &text);

}  // namespace tavin::lists
