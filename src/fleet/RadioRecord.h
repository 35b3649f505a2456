// What happened to one radio of a fleet run: the audit log's record.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace tavin::fleet {

enum class RadioResult {
    Verified,        // written and read back equal to the file
    VerifyMismatch,  // written, but the read-back differs from the file
    Failed,          // a step failed (see step, message, block)
    Cancelled,       // stopped by the user at a safe point
};

enum class RadioStep { Backup, Write, ReadBack };

// Why a radio failed, as far as the exit code goes.
enum class FailureKind {
    None,
    File,        // the backup could not be saved; nothing was written
    PortOpen,    // the port could not be opened
    NoAnswer,    // the radio stopped answering the handshake
    Transfer,    // a block failed part way
    Unverified,  // written completely, but the read-back failed
};

struct StepTimes {
    std::optional<double> backupSeconds;
    std::optional<double> writeSeconds;
    std::optional<double> readBackSeconds;
};

struct RadioRecord {
    int radio = 0;              // sequence number over all ports, from 1
    QString port;               // as given ("COM1" or a device path)
    QString device;             // the device it stands for
    QDateTime start;
    QDateTime end;
    QByteArray identity;        // the radio's identity reply, raw bytes
    QString backupFile;         // empty when no backup was saved
    QByteArray backupSha256;    // hex, of the backup's 1024 bytes
    QString file;               // the channel file written
    QByteArray writtenSha256;   // hex, of its bytes 0x000 to 0x3D7
    RadioResult result = RadioResult::Failed;
    FailureKind failure = FailureKind::None;
    std::optional<RadioStep> step;  // where it failed or was cancelled
    int block = -1;                 // the block that failed, counted from 0
    QString message;                // what failed, in the program's words
    QStringList differences;        // verify's lines, for a mismatch
    StepTimes times;
    // Blocks of the file the radio acknowledged before the write ended
    // (123 for a complete write). Not in the audit log, whose message says it.
    int blocksWritten = 0;
};

QString resultName(RadioResult result);   // "verified", "verify-mismatch", "failed", "cancelled"
QString stepName(RadioStep step);         // "backup", "write", "read-back"

// The record as one line of JSON (no newline), the fields in a fixed order.
QByteArray toJsonLine(const RadioRecord &record);

// Reads a line written by toJsonLine back; nullopt, with *error set, for a
// line that is not such a record.
std::optional<RadioRecord> fromJsonLine(const QByteArray &line, QString *error);

}  // namespace tavin::fleet
