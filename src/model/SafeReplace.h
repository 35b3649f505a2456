// Every file the programs write (channel files, PDFs, backups, exports) is
// replaced through here: the new contents go into a temporary file beside the
// target, every write, the flush to the disk and the close are checked, and
// only then is the temporary file renamed over the target. On any failure the
// old file is left byte for byte as it was and no temporary file remains.
#pragma once

#include "FileResult.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace tavin {

// Replaces (or creates) the file at path with bytes.
// - A symbolic link is followed: the target is replaced, the link stays.
// - An existing file that the user may not write (read-only) is not replaced.
// - A device, pipe or socket (/dev/stdout, a FIFO) is written into directly:
//   it has no old contents to keep.
// - An existing file keeps its permission bits and, when the program may
//   change them (as root), its owner and group; a new file gets the usual
//   permissions for the user (0666 less the umask).
// - The temporary file is a short hidden name in the same folder, so a target
//   whose name is as long as the file system allows still works.
// what names the kind of file in messages ("channel file", "PDF file").
FileResult replaceFileContents(const std::filesystem::path &path, std::string_view bytes,
                               std::string_view what = "file");

// Checks, before long work whose result goes to path (a read from the radio),
// that path can be written: its folder exists and accepts a new file, and
// path is not a folder nor a read-only file. Creates and removes a temporary
// file to find out.
FileResult checkReplaceable(const std::filesystem::path &path, std::string_view what = "file");

// Creates path as a new, empty file, failing (systemError EEXIST) when
// anything is there already: a name reserved this way is then filled with
// replaceFileContents, so two programs never pick the same new name.
FileResult reserveNewFile(const std::filesystem::path &path, std::string_view what = "file");

// Stores bytes as a new file under the first free name of nameFor(1),
// nameFor(2), ... nameFor(attempts): each name is taken with reserveNewFile
// before it is filled, so a name that another program takes at the same
// moment is passed over and no file is ever replaced. On success *stored
// (when given) receives the path used; when every name is taken the failure
// has systemError EEXIST. A name whose filling fails is removed again.
FileResult storeUnderNewName(const std::function<std::filesystem::path(int)> &nameFor, int attempts,
                             std::string_view bytes, std::string_view what = "file",
                             std::filesystem::path *stored = nullptr);

// The path as text for messages: UTF-8 where it is, bytes that are not shown
// as \xNN; in single quotes.
std::string quotedPath(const std::filesystem::path &path);

// The system's text for an errno value ("No space left on device").
std::string systemErrorText(int error);

}  // namespace tavin
