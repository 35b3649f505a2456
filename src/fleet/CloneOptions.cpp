#include "CloneOptions.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

namespace tavin::fleet {

QString defaultBackupDir(const QString &fileName, const QDate &date)
{
    const QFileInfo file(fileName);
    // The date in digits of its own, whatever the locale says.
    const QString day = date.toString(Qt::ISODate);
    return file.absoluteDir().filePath(file.completeBaseName() + QStringLiteral("-backups-") + day);
}

QString defaultLogPath(const QString &backupDir)
{
    return QDir(backupDir).filePath(QStringLiteral("clone-log.jsonl"));
}

}  // namespace tavin::fleet
