#include "BackupNames.h"

#include "NativePath.h"
#include "SafeReplace.h"

#include <filesystem>

namespace tavin::fleet {

namespace {

// Backups of one radio number, port and second beyond this many are refused.
constexpr int kMaxSameName = 1000;

QString portPart(const QString &port)
{
    // Under /dev the rest of the path (pts/3, serial/by-id/...), elsewhere
    // (a link of one's own) its last part.
    QString part = port.startsWith(QLatin1String("/dev/")) ? port.mid(5) : port.section(QLatin1Char('/'), -1);
    if (part.isEmpty())
        part = QStringLiteral("port");
    for (QChar &c : part) {
        const bool plain = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
                           || (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.')
                           || c == QLatin1Char('_') || c == QLatin1Char('-');
        if (!plain)
            c = QLatin1Char('_');
    }
    return part;
}

}  // namespace

QString backupFileName(int radio, const QString &port, const QDateTime &when)
{
    return QStringLiteral("radio-%1-%2-%3.sin")
        .arg(radio, 4, 10, QLatin1Char('0'))
        .arg(portPart(port), when.toString(QStringLiteral("yyyyMMdd-HHmmss")));
}

FileResult storeBackup(const QString &dir, const QString &name, const QByteArray &bytes, QString *path)
{
    const QString folder = dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/');
    const QString stem = name.endsWith(QLatin1String(".sin")) ? name.chopped(4) : name;
    const auto nameFor = [&](int n) {
        return platform::toNative(n == 1 ? folder + name : folder + QStringLiteral("%1-%2.sin").arg(stem).arg(n));
    };
    std::filesystem::path stored;
    const FileResult result = storeUnderNewName(nameFor, kMaxSameName, std::string_view(bytes.constData(), std::size_t(bytes.size())),
                                                "backup file", &stored);
    if (result)
        *path = platform::fromNative(stored);
    return result;
}

}  // namespace tavin::fleet
