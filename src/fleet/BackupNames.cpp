#include "BackupNames.h"

#include <QDir>
#include <QFileInfo>

namespace tavin::fleet {

namespace {

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

QString unusedBackupPath(const QString &dir, const QString &name)
{
    const QDir folder(dir);
    QString path = folder.filePath(name);
    const QString stem = name.endsWith(QLatin1String(".sin")) ? name.chopped(4) : name;
    for (int n = 2; QFileInfo::exists(path) || QFileInfo(path).isSymLink(); ++n)
        path = folder.filePath(QStringLiteral("%1-%2.sin").arg(stem).arg(n));
    return path;
}

}  // namespace tavin::fleet
