// The file calls of the safe replace's platform seam (SafeReplace.cpp) that
// the durable append (DurableAppend.cpp) shares: one place for POSIX and
// Windows. Failures set errno, as the system calls do.
#pragma once

#include <filesystem>
#include <string_view>

namespace tavin::files {

// Writes all of bytes to fd, retrying interrupted and partial writes. 0 on
// success, else the errno value (ENOSPC for a write that took nothing).
int writeAll(int fd, std::string_view bytes);
// Flushes the file's contents to the disk.
bool syncFile(int fd);
bool closeFile(int fd);
void removeFile(const std::filesystem::path &path);
// A new or renamed file's name reaches the disk only once its folder is
// synced too (nothing to do on Windows).
void syncFolder(const std::filesystem::path &folder);

}  // namespace tavin::files
