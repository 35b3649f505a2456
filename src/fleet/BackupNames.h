// The names of the backups a fleet run keeps: one channel file per radio,
// named so that a folder listing sorts them by radio and tells the port and
// the time.
#pragma once

#include <QDateTime>
#include <QString>

namespace tavin::fleet {

// "radio-0003-COM1-20240501-100523.sin". A device path counts without its
// "/dev/" ("/dev/ttyUSB0" gives "ttyUSB0", "/dev/pts/3" "pts_3"), any other
// path by its last part ("/home/me/cable1" gives "cable1"); characters other
// than letters, digits, '.', '_' and '-' become '_'.
QString backupFileName(int radio, const QString &port, const QDateTime &when);

// path in dir for name; when a file of that name is there already, the name
// gets "-2", "-3", ... before ".sin", so no backup is ever replaced.
QString unusedBackupPath(const QString &dir, const QString &name);

}  // namespace tavin::fleet
