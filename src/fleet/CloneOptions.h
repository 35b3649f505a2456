// What a fleet programming run is asked to do: one channel file into every
// radio that is connected to any of the ports, one after another per port.
#pragma once

#include "RadioImage.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace tavin::fleet {

struct CloneOptions {
    QString fileName;         // the channel file, for messages and the log
    RadioImage image;         // its 1024 bytes; bytes 0x000 to 0x3D7 are written
    QStringList ports;        // "COM1".."COM4" or device paths, one worker each
    QString backupDir;        // where each radio's original memory is kept
    QString logPath;          // the audit log (JSON Lines, appended)
    int count = 0;            // radios in total over all ports; 0: until stopped
    bool confirm = false;     // between radios, wait for Enter instead of the unplug
};

// The folder for backups when none is given: beside the channel file, named
// after it and the date ("fleet.sin" on 1 May 2024: "fleet-backups-2024-05-01").
QString defaultBackupDir(const QString &fileName, const QDate &date);

// The audit log when none is given: clone-log.jsonl in the backup folder.
QString defaultLogPath(const QString &backupDir);

}  // namespace tavin::fleet
