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

// The largest audit log that is read (a record takes about 1 KB, so this is
// tens of thousands of radios): a device or a stray file given by mistake
// must not fill the memory.
inline constexpr qsizetype kLargestAuditLog = qsizetype(64) * 1024 * 1024;
// A line longer than this is no record (a record with every difference
// named is a few KB); it is not parsed.
inline constexpr qsizetype kLongestLogLine = 1024 * 1024;
// Lines that are not records are named up to this many, then counted.
inline constexpr int kLogProblemsNamed = 10;

struct LogContents {
    QList<RadioRecord> records;
    QStringList problems;  // "line 7: ..." for the first lines that are not records
    int problemLines = 0;  // all lines that are not records
};

LogContents readLog(const QByteArray &contents);

}  // namespace tavin::fleet
