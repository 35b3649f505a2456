// The text of a channel-list file, whatever program saved it: UTF-8 with or
// without a byte-order mark, UTF-16 or UTF-32 (either byte order) with one, or
// GB18030/GBK as spreadsheet programs on Chinese systems save it (a file that
// is not valid UTF-8). A file cut off inside a character is refused.
#pragma once

#include <QByteArray>
#include <QString>

namespace tavin::lists {

struct ListText {
    QString text;         // without the byte-order mark
    QString encoding;     // "UTF-8", "UTF-16LE", "GB18030", ...
    QString error;        // set when the bytes cannot be read as text at all
};

ListText decodeListText(const QByteArray &bytes);

}  // namespace tavin::lists
