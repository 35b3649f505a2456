// Reading a channel list file: at most kLargestListFile bytes are taken (one
// more is read, so the importer can tell a file that is too large).
#pragma once

#include "FileResult.h"

#include <QByteArray>

#include <filesystem>

namespace tavin::lists {

// On failure the message names the file and the system's reason:
// "cannot read channel list '/x/plan.csv': Permission denied".
FileResult readListFile(const std::filesystem::path &path, QByteArray *bytes);

}  // namespace tavin::lists
