// Every complete read from a radio is also kept as a time-stamped channel
// file, so a radio's original programming can always be restored.
#pragma once

#include "RadioImage.h"

#include <QDateTime>
#include <QString>

namespace tavin::link {

class ReadBackups {
public:
    // folder: where the files go (a path text as NativePath.h keeps it);
    // created when needed.
    explicit ReadBackups(QString folder) : m_folder(std::move(folder)) {}

    // The user's data folder, ".../radio-backups".
    static QString defaultFolder();

    // Stores image as "radio-YYYYMMDD-HHMMSS.sin" (with "-2", "-3"... when that
    // name is taken, also by another program at the same moment) and removes
    // the oldest backups beyond kKept. Returns the file's path, or an empty
    // string when it could not be written.
    QString store(const RadioImage &image, const QDateTime &when = QDateTime::currentDateTime());

    QString folder() const { return m_folder; }
    static constexpr int kKept = 50;

private:
    void prune();

    QString m_folder;
};

}  // namespace tavin::link
