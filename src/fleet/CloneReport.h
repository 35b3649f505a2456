// The readable accounts of a fleet run: the summary at its end, and the
// table of an audit log (tavin-cli clone --summary).
#pragma once

#include "RadioRecord.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace tavin::fleet {

// "6 radios: 5 programmed and verified, 1 failed", then per port its counts
// and each radio that did not end verified with its reason. ports and labels
// pair the port names of the records with the labels to show.
QString runSummary(const QList<RadioRecord> &records, const QStringList &ports, const QStringList &labels);

// One row per record by radio number (radio, port, start, result, seconds, backup), the
// reason under each radio that did not end verified, then the totals.
QString logTable(const QList<RadioRecord> &records);

struct LogContents {
    QList<RadioRecord> records;
    QStringList problems;  // "line 7: ..." for lines that are not records
};

// Reads an audit log; an error text when the file cannot be read.
LogContents readLog(const QByteArray &contents);

}  // namespace tavin::fleet
