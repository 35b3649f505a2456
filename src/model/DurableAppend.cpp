#include "DurableAppend.h"

#include "FileCalls.h"
#include "SafeReplace.h"

#include <cerrno>
#include <string>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tavin {

namespace fs = std::filesystem;

namespace {

// Platform seam: what appending needs besides the shared file calls.
#if defined(_WIN32)
int openForAppend(const fs::path &p)
{
    return _wopen(p.c_str(), _O_RDWR | _O_APPEND | _O_CREAT | _O_BINARY, _S_IREAD | _S_IWRITE);
}
long long fileSize(int fd) { return _filelengthi64(fd); }
bool readByteAt(int fd, long long offset, char *byte)
{
    // Appending writes go to the end whatever the position is.
    return _lseeki64(fd, offset, SEEK_SET) == offset && _read(fd, byte, 1) == 1;
}
#else
int openForAppend(const fs::path &p)
{
    int fd;
    do {
        fd = ::open(p.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
}
long long fileSize(int fd)
{
    struct stat st {};
    return ::fstat(fd, &st) == 0 ? static_cast<long long>(st.st_size) : -1;
}
bool readByteAt(int fd, long long offset, char *byte) { return ::pread(fd, byte, 1, static_cast<off_t>(offset)) == 1; }
#endif

FileResult failure(const fs::path &path, std::string_view what, const char *doing, int error)
{
    return FileResult::failure(std::string("cannot ") + doing + ' ' + std::string(what) + ' ' + quotedPath(path) + ": "
                                   + systemErrorText(error),
                               error);
}

fs::path folderOf(const fs::path &file)
{
    return file.has_parent_path() ? file.parent_path() : fs::path(".");
}

}  // namespace

FileResult appendLineDurably(const fs::path &path, std::string_view line, std::string_view what)
{
    errno = 0;
    const int fd = openForAppend(path);
    if (fd < 0)
        return failure(path, what, "open", errno);
    const long long size = fileSize(fd);
    char last = '\n';
    std::string bytes;
    if (size > 0 && readByteAt(fd, size - 1, &last) && last != '\n')
        bytes += '\n';
    bytes.append(line);
    bytes += '\n';
    const auto fail = [&](int error) {
        files::closeFile(fd);
        return failure(path, what, "write to", error);
    };
    if (const int error = files::writeAll(fd, bytes))
        return fail(error);
    errno = 0;
    if (!files::syncFile(fd))
        return fail(errno);
    errno = 0;
    if (!files::closeFile(fd))
        return failure(path, what, "write to", errno);
    // A file that was empty may be new: its name must reach the disk too.
    if (size == 0)
        files::syncFolder(folderOf(path));
    return FileResult::success();
}

FileResult checkAppendable(const fs::path &path, std::string_view what)
{
    errno = 0;
    const int fd = openForAppend(path);
    if (fd < 0)
        return failure(path, what, "open", errno);
    files::closeFile(fd);
    return FileResult::success();
}

}  // namespace tavin
