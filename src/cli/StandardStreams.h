// Whole files through stdin and stdout, byte for byte (no line-end
// translation on Windows), for verbs that read or write "-".
#pragma once

#include <QByteArray>
#include <QString>

namespace tavin::cli {

// Reads stdin to its end, at most limit + 1 bytes. False with *error set when
// reading fails.
bool readStandardInput(QByteArray *bytes, qsizetype limit, QString *error);

// Writes bytes to stdout and flushes. False when that fails; the stream then
// keeps its error, which finishStandardOutput reports (once, with the reason).
bool writeStandardOutput(const QByteArray &bytes);

}  // namespace tavin::cli
