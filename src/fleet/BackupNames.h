// The names of the backups a fleet run keeps: one channel file per radio,
// named so that a folder listing sorts them by radio and tells the port and
// the time.
#pragma once

#include "FileResult.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace tavin::fleet {

// "radio-0003-COM1-20240501-100523.sin". A device path counts without its
// "/dev/" ("/dev/ttyUSB0" gives "ttyUSB0", "/dev/pts/3" "pts_3"), any other
// path by its last part ("/home/me/cable1" gives "cable1"); characters other
// than letters, digits, '.', '_' and '-' become '_'.
QString backupFileName(int radio, const QString &port, const QDateTime &when);

// Stores bytes as the backup called name in dir. When a file of that name is
// there already (or another program takes the name at the same moment), the
// name gets "-2", "-3", ... before ".sin": each name is taken before it is
// written, so no backup is ever replaced. *path receives the file's path.
FileResult storeBackup(const QString &dir, const QString &name, const QByteArray &bytes, QString *path);

}  // namespace tavin::fleet
