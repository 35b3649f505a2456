// Where each value of a JSON text starts, by its path ("channels/2/0",
// "settings/band"), so that messages about a document can name its lines; and
// the keys an object gives twice, which a JSON reader would otherwise settle
// silently by keeping the last.
#pragma once

#include <QHash>
#include <QString>

#include <vector>

namespace tavin::lists {

struct RepeatedJsonKey {
    QString key;        // as the reader sees it, escapes decoded
    int line = 0;       // where it is given again
    int firstLine = 0;  // where it was given first
};

struct JsonLines {
    // Paths join object keys and array indexes (from 0) with '/'. The root is "".
    QHash<QString, int> valueLines;
    std::vector<RepeatedJsonKey> repeatedKeys;  // in text order
};

// Meant for text that parses as JSON; on anything else it stops early and
// returns what it has seen.
JsonLines scanJsonLines(const QString &text);

}  // namespace tavin::lists
