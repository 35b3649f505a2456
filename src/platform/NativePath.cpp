#include "NativePath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QUrl>

#include <system_error>

namespace tavin::platform {

namespace fs = std::filesystem;

namespace {

constexpr char16_t kEscapeBase = 0xDC00;  // U+DC80..U+DCFF stand for the bytes 0x80..0xFF
constexpr char16_t kReplacement = 0xFFFD;

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Length of the valid UTF-8 sequence at bytes[i], or 0 when it is not one
// (overlong forms, surrogates and values beyond U+10FFFF are not valid).
int validSequenceLength(const QByteArray &bytes, qsizetype i)
{
    const auto at = [&](qsizetype k) { return static_cast<unsigned char>(bytes.at(k)); };
    const unsigned char c = at(i);
    const qsizetype left = bytes.size() - i;
    if (c < 0x80)
        return 1;
    if (c >= 0xC2 && c <= 0xDF)
        return left >= 2 && isContinuation(at(i + 1)) ? 2 : 0;
    if (c >= 0xE0 && c <= 0xEF) {
        if (left < 3 || !isContinuation(at(i + 1)) || !isContinuation(at(i + 2)))
            return 0;
        if ((c == 0xE0 && at(i + 1) < 0xA0) || (c == 0xED && at(i + 1) >= 0xA0))
            return 0;
        return 3;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        if (left < 4 || !isContinuation(at(i + 1)) || !isContinuation(at(i + 2)) || !isContinuation(at(i + 3)))
            return 0;
        if ((c == 0xF0 && at(i + 1) < 0x90) || (c == 0xF4 && at(i + 1) >= 0x90))
            return 0;
        return 4;
    }
    return 0;
}

bool isEscapedByte(QChar c) { return c.unicode() >= kEscapeBase + 0x80 && c.unicode() <= kEscapeBase + 0xFF; }

#ifndef Q_OS_WIN
// Qt's own text for a file name's bytes: what its file dialogs and models show.
QString qtTextOf(const QByteArray &bytes) { return QFile::decodeName(bytes); }

// One part of a dialog's path, looked up among the names in folder.
QByteArray lookUpPart(const QByteArray &folder, const QString &part)
{
    std::error_code ec;
    const fs::path where(folder.toStdString());
    QByteArray found;
    int matches = 0;
    for (fs::directory_iterator it(where, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().native();
        const QByteArray bytes(name.data(), qsizetype(name.size()));
        if (qtTextOf(bytes) == part) {
            found = bytes;
            ++matches;
        }
    }
    // None, or more than one that look alike: keep the text as it is.
    return matches == 1 ? found : part.toUtf8();
}
#endif

}  // namespace

QByteArray toNativeBytes(const QString &path)
{
    QByteArray bytes;
    bytes.reserve(path.size());
    for (qsizetype i = 0; i < path.size(); ++i) {
        const QChar c = path.at(i);
        const bool pairStart = c.isHighSurrogate() && i + 1 < path.size() && path.at(i + 1).isLowSurrogate();
        if (pairStart) {
            bytes += path.mid(i, 2).toUtf8();
            ++i;
        } else if (isEscapedByte(c)) {
            bytes += static_cast<char>(c.unicode() - kEscapeBase);
        } else if (c.isSurrogate()) {
            bytes += QString(QChar(kReplacement)).toUtf8();  // cannot stand for a byte
        } else {
            bytes += QString(c).toUtf8();
        }
    }
    return bytes;
}

QString fromNativeBytes(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        const int length = validSequenceLength(bytes, i);
        if (length == 0) {
            text += QChar(char16_t(kEscapeBase + static_cast<unsigned char>(bytes.at(i))));
            ++i;
        } else {
            text += QString::fromUtf8(bytes.constData() + i, length);
            i += length;
        }
    }
    return text;
}

fs::path toNative(const QString &path)
{
#ifdef Q_OS_WIN
    return fs::path(path.toStdWString());
#else
    return fs::path(toNativeBytes(path).toStdString());
#endif
}

QString fromNative(const fs::path &path)
{
#ifdef Q_OS_WIN
    // With '/' between the parts, as Qt and the rest of the program have them
    // (the system joins parts with '\').
    return QString::fromStdWString(path.native()).replace(QLatin1Char('\\'), QLatin1Char('/'));
#else
    const std::string &bytes = path.native();
    return fromNativeBytes(QByteArray(bytes.data(), qsizetype(bytes.size())));
#endif
}

QStringList arguments(int argc, char **argv)
{
#ifdef Q_OS_WIN
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    return QCoreApplication::arguments();  // from the wide command line
#else
    QStringList list;
    for (int i = 0; i < argc && argv[i]; ++i)
        list.append(fromNativeBytes(QByteArray(argv[i])));
    return list;
#endif
}

QString fromQtPath(const QString &qtPath)
{
#ifdef Q_OS_WIN
    return qtPath;
#else
    if (!qtPath.contains(QChar(kReplacement)))
        return qtPath;
    const QStringList parts = qtPath.split(QLatin1Char('/'));
    QByteArray resolved;  // the parts so far, joined by '/'
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QByteArray folder = i == 0 ? QByteArray(".") : resolved.isEmpty() ? QByteArray("/") : resolved;
        if (i > 0)
            resolved += '/';
        const QString &part = parts.at(i);
        resolved += part.contains(QChar(kReplacement)) ? lookUpPart(folder, part) : toNativeBytes(part);
    }
    return fromNativeBytes(resolved);
#endif
}

QString toQtPath(const QString &path)
{
#ifdef Q_OS_WIN
    return QDir::toNativeSeparators(path);
#else
    QString shown = path;
    for (QChar &c : shown) {
        if (isEscapedByte(c))
            c = QChar(kReplacement);
    }
    return shown;
#endif
}

QString fromUrl(const QUrl &url)
{
    if (!url.isLocalFile())
        return {};
#ifdef Q_OS_WIN
    return url.toLocalFile();
#else
    if (!url.host().isEmpty() && url.host() != QLatin1String("localhost"))
        return url.toLocalFile();
    // The path's percent-encoded bytes are the file name's bytes.
    return fromNativeBytes(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
#endif
}

QVariant toSettingsValue(const QString &path)
{
#ifdef Q_OS_WIN
    // In the registry as Windows programs write paths there.
    return QVariant(QDir::toNativeSeparators(path));
#else
    for (const QChar c : path) {
        if (isEscapedByte(c))
            return QVariant(toNativeBytes(path));
    }
    return QVariant(path);
#endif
}

QString fromSettingsValue(const QVariant &value)
{
    if (value.typeId() == QMetaType::QByteArray)
        return fromNativeBytes(value.toByteArray());
#ifdef Q_OS_WIN
    return QDir::fromNativeSeparators(value.toString());
#else
    return value.toString();
#endif
}

QString absolutePath(const QString &path)
{
    if (path.isEmpty())
        return path;
    std::error_code ec;
    const fs::path absolute = fs::absolute(toNative(path), ec);
    if (ec)
        return path;
    return fromNative(absolute.lexically_normal());
}

bool pathExists(const QString &path)
{
    std::error_code ec;
    return !path.isEmpty() && fs::exists(toNative(path), ec);
}

QString fileNameOf(const QString &path)
{
    return fromNative(toNative(path).filename());
}

QString shown(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += text.mid(i, 2);
            ++i;
        } else if (isEscapedByte(c)) {
            out += QStringLiteral("\\x%1").arg(u - kEscapeBase, 2, 16, QLatin1Char('0'));
        } else if (u < 0x20 || u == 0x7F) {
            out += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
        } else if ((u >= 0x80 && u <= 0x9F) || c.isSurrogate()) {
            out += QStringLiteral("\\u%1").arg(u, 4, 16, QLatin1Char('0'));
        } else {
            out += c;
        }
    }
    return out;
}

QString quoted(const QString &path)
{
    return QLatin1Char('\'') + shown(path) + QLatin1Char('\'');
}

}  // namespace tavin::platform
