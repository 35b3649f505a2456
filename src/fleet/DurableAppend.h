// Appending to a file so that what was appended survives a crash or a power
// cut the moment the call returns: every write, the flush to the disk and the
// close are checked. The one place with the platform's file calls.
#pragma once

#include "FileResult.h"

#include <QByteArray>
#include <QString>

namespace tavin::fleet {

// Appends line and a newline to the file at path (created when missing). When
// the file does not end with a newline (a line torn by a crash), a newline
// goes first, so line always starts a line of its own. what names the file in
// messages ("audit log").
FileResult appendLineDurably(const QString &path, const QByteArray &line, const char *what);

// Checks that path can be appended to (creates it when missing, leaves what is
// in it as it is).
FileResult checkAppendable(const QString &path, const char *what);

}  // namespace tavin::fleet
