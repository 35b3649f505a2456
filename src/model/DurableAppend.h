// Appending a line to a file so that it survives a crash or a power cut the
// moment the call returns (the fleet's audit log): every write, the flush to
// the disk and the close are checked. Shares its file calls with the safe
// replace (SafeReplace.h).
#pragma once

#include "FileResult.h"

#include <filesystem>
#include <string_view>

namespace tavin {

// Appends line and a newline to the file at path (created when missing).
// When the file does not end with a newline (a line torn by a crash), a
// newline goes first, so line always starts a line of its own. what names
// the file in messages ("audit log").
FileResult appendLineDurably(const std::filesystem::path &path, std::string_view line, std::string_view what);

// Checks that path can be appended to: creates it when missing, leaves what
// is in it as it is.
FileResult checkAppendable(const std::filesystem::path &path, std::string_view what);

}  // namespace tavin
