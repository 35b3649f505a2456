#include "CloneOptions.h"

#include "NativePath.h"

#include <QDate>

namespace tavin::fleet {

QString defaultBackupDir(const QString &fileName, const QDate &date)
{
    // Names are kept byte for byte (see NativePath.h), so no Qt file class here.
    const QString absolute = platform::absolutePath(fileName);
    const QString folder = absolute.left(absolute.lastIndexOf(QLatin1Char('/')) + 1);
    QString base = platform::fileNameOf(absolute);
    if (const qsizetype dot = base.lastIndexOf(QLatin1Char('.')); dot > 0)
        base.truncate(dot);
    // The date in digits of its own, whatever the locale says.
    const QString day = date.toString(Qt::ISODate);
    return folder + base + QStringLiteral("-backups-") + day;
}

QString defaultLogPath(const QString &backupDir)
{
    return backupDir + QStringLiteral("/clone-log.jsonl");
}

}  // namespace tavin::fleet
