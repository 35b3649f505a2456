#include "ReadBackups.h"

#include "ChannelFile.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <algorithm>
#include <filesystem>

namespace tavin::link {

namespace {
const QString kPrefix = QStringLiteral("radio-");
const QString kSuffix = QStringLiteral(".sin");

std::filesystem::path nativePath(const QString &path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}
}  // namespace

QString ReadBackups::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/radio-backups");
}

QString ReadBackups::store(const RadioImage &image, const QDateTime &when)
{
    QDir dir(m_folder);
    if (!dir.mkpath(QStringLiteral(".")))
        return {};
    // The C locale's digits, whatever the user's language.
    const QString stamp = when.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString path = dir.filePath(kPrefix + stamp + kSuffix);
    for (int n = 2; QFile::exists(path); ++n)
        path = dir.filePath(kPrefix + stamp + QLatin1Char('-') + QString::number(n) + kSuffix);
    if (!storeChannelFile(nativePath(path), image))
        return {};
    prune();
    return path;
}

void ReadBackups::prune()
{
    QDir dir(m_folder);
    // Names sort by their time stamp; "-2" comes after the plain name.
    QStringList names = dir.entryList({kPrefix + QStringLiteral("*") + kSuffix}, QDir::Files, QDir::Name);
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const QString sa = a.chopped(kSuffix.size()).mid(kPrefix.size());
        const QString sb = b.chopped(kSuffix.size()).mid(kPrefix.size());
        // "20260101-101010" < "20260101-101010-2" < "20260101-101011"
        if (sa.left(15) != sb.left(15))
            return sa.left(15) < sb.left(15);
        return sa.mid(16).toInt() < sb.mid(16).toInt();
    });
    while (names.size() > kKept)
        dir.remove(names.takeFirst());
}

}  // namespace tavin::link
