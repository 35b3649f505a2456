#include "ListText.h"

#include <QStringDecoder>

namespace tavin::lists {

namespace {

QString decodeStrictly(const QByteArray &bytes, QStringConverter::Encoding encoding, bool *ok)
{
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    *ok = !decoder.hasError();
    return text;
}

}  // namespace

ListText decodeListText(const QByteArray &bytes)
{
    ListText result;
    const std::optional<QStringConverter::Encoding> marked = QStringConverter::encodingForData(bytes);
    const bool hasMark = bytes.startsWith("\xEF\xBB\xBF") || bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
    if (hasMark && marked && *marked != QStringConverter::Utf8) {
        // A byte-order mark of UTF-16 (a spreadsheet's "Unicode text").
        QStringDecoder decoder(*marked);  // drops the mark
        result.text = decoder.decode(bytes);
        result.encoding = QString::fromLatin1(QStringConverter::nameForEncoding(*marked));
        if (decoder.hasError())
            result.error = QStringLiteral("the file is not valid %1 text").arg(result.encoding);
        return result;
    }

    const QByteArray body = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    bool ok = false;
    result.text = decodeStrictly(body, QStringConverter::Utf8, &ok);
    result.encoding = QStringLiteral("UTF-8");
    if (ok || hasMark) {
        if (!ok)
            result.error = QStringLiteral("the file begins with a UTF-8 byte-order mark but is not valid UTF-8");
        return result;
    }

    // Not UTF-8: the Chinese code page of spreadsheet programs.
    QStringDecoder gb18030("GB18030", QStringConverter::Flag::Stateless);
    if (!gb18030.isValid()) {
        result.error = QStringLiteral("the file is not UTF-8, and this build cannot read GB18030 text; "
                                      "save it as UTF-8");
        return result;
    }
    result.text = gb18030.decode(body);
    result.encoding = QStringLiteral("GB18030");
    if (gb18030.hasError())
        result.error = QStringLiteral("the file is neither UTF-8 nor GB18030 text");
    return result;
}

}  // namespace tavin::lists
