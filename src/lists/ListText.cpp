#include "ListText.h"

#include <QStringDecoder>

#include <array>

namespace tavin::lists {

namespace {

QString decodeStrictly(const QByteArray &bytes, QStringConverter::Encoding encoding, bool *ok)
{
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    *ok = !decoder.hasError();
    return text;
}

// A byte-order mark, the encoding it announces and the size of that
// encoding's code unit. UTF-32LE's mark begins with UTF-16LE's, so it comes
// first.
struct ByteOrderMark {
    const char *bytes;
    qsizetype size;
    QStringConverter::Encoding encoding;
    qsizetype unit;
};
constexpr std::array<ByteOrderMark, 5> kMarks{{
    {"\xFF\xFE\x00\x00", 4, QStringConverter::Utf32LE, 4},
    {"\x00\x00\xFE\xFF", 4, QStringConverter::Utf32BE, 4},
    {"\xEF\xBB\xBF", 3, QStringConverter::Utf8, 1},
    {"\xFF\xFE", 2, QStringConverter::Utf16LE, 2},
    {"\xFE\xFF", 2, QStringConverter::Utf16BE, 2},
}};

const ByteOrderMark *markOf(const QByteArray &bytes)
{
    for (const ByteOrderMark &mark : kMarks) {
        if (bytes.startsWith(QByteArrayView(mark.bytes, mark.size)))
            return &mark;
    }
    return nullptr;
}

}  // namespace

ListText decodeListText(const QByteArray &bytes)
{
    ListText result;
    if (const ByteOrderMark *mark = markOf(bytes)) {
        // A spreadsheet's "Unicode text" (UTF-16), UTF-32, or UTF-8 with a mark.
        const QByteArray body = bytes.mid(mark->size);
        bool ok = false;
        result.text = decodeStrictly(body, mark->encoding, &ok);
        result.encoding = QString::fromLatin1(QStringConverter::nameForEncoding(mark->encoding));
        if (body.size() % mark->unit != 0)
            result.error = QStringLiteral("the file is cut off inside a %1 character: its %2 bytes after the "
                                          "byte-order mark are not a multiple of %3")
                               .arg(result.encoding)
                               .arg(body.size())
                               .arg(mark->unit);
        else if (!ok && mark->encoding == QStringConverter::Utf8)
            result.error = QStringLiteral("the file begins with a UTF-8 byte-order mark but is not valid UTF-8");
        else if (!ok)
            result.error = QStringLiteral("the file is not valid %1 text").arg(result.encoding);
        return result;
    }

    bool ok = false;
    result.text = decodeStrictly(bytes, QStringConverter::Utf8, &ok);
    result.encoding = QStringLiteral("UTF-8");
    if (ok)
        return result;

    // Not UTF-8: the Chinese code page of spreadsheet programs.
    QStringDecoder gb18030("GB18030", QStringConverter::Flag::Stateless);
    if (!gb18030.isValid()) {
        result.error = QStringLiteral("the file is not UTF-8, and this build cannot read GB18030 text; "
                                      "save it as UTF-8");
        return result;
    }
    result.text = gb18030.decode(bytes);
    result.encoding = QStringLiteral("GB18030");
    if (gb18030.hasError())
        result.error = QStringLiteral("the file is neither UTF-8 nor GB18030 text");
    return result;
}

}  // namespace tavin::lists
