#include "DurableAppend.h"

#include "SafeReplace.h"

#include "NativePath.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace tavin::fleet {

namespace {

#ifdef _WIN32
using Native = std::wstring;
Native nativePath(const QString &path) { return path.toStdWString(); }
int openForAppend(const Native &p, bool *created)
{
    *created = _waccess(p.c_str(), 0) != 0;
    return _wopen(p.c_str(), _O_RDWR | _O_APPEND | _O_CREAT | _O_BINARY, _S_IREAD | _S_IWRITE);
}
long long sizeOf(int fd) { return _filelengthi64(fd); }
bool lastByteIsNewline(int fd, long long size)
{
    // Appending writes go to the end whatever the position is.
    char c = 0;
    return _lseeki64(fd, size - 1, SEEK_SET) != size - 1 || _read(fd, &c, 1) != 1 || c == '\n';
}
long writeSome(int fd, const char *data, std::size_t n) { return _write(fd, data, static_cast<unsigned>(n)); }
bool syncFile(int fd) { return _commit(fd) == 0; }
void syncFolderOf(const Native &) {}
int closeFile(int fd) { return _close(fd); }
#else
using Native = QByteArray;
Native nativePath(const QString &path) { return platform::toNativeBytes(path); }
int openForAppend(const Native &p, bool *created)
{
    *created = ::access(p.constData(), F_OK) != 0;
    int fd = -1;
    do {
        fd = ::open(p.constData(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
}
long long sizeOf(int fd)
{
    struct stat st{};
    return ::fstat(fd, &st) == 0 ? static_cast<long long>(st.st_size) : -1;
}
bool lastByteIsNewline(int fd, long long size)
{
    char c = 0;
    return ::pread(fd, &c, 1, static_cast<off_t>(size - 1)) != 1 || c == '\n';
}
long writeSome(int fd, const char *data, std::size_t n) { return static_cast<long>(::write(fd, data, n)); }
bool syncFile(int fd)
{
    int rc = 0;
    do {
        rc = ::fsync(fd);
    } while (rc != 0 && errno == EINTR);
    return rc == 0;
}
// A new file's name is on the disk only once its folder is synced too.
void syncFolderOf(const Native &p)
{
    QByteArray folder = p.left(p.lastIndexOf('/') + 1);
    if (folder.isEmpty())
        folder = ".";
    const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}
int closeFile(int fd) { return ::close(fd); }
#endif

std::string describe(const QString &path, const char *what, const char *doing, int error)
{
    return std::string("cannot ") + doing + ' ' + what + ' ' + quotedPath(platform::toNative(path)) + ": "
           + systemErrorText(error);
}

}  // namespace

FileResult appendLineDurably(const QString &path, const QByteArray &line, const char *what)
{
    const Native native = nativePath(path);
    bool created = false;
    const int fd = openForAppend(native, &created);
    if (fd < 0)
        return FileResult::failure(describe(path, what, "open", errno));
    QByteArray bytes = line + '\n';
    const long long size = sizeOf(fd);
    if (size > 0 && !lastByteIsNewline(fd, size))
        bytes.prepend('\n');
    std::size_t done = 0;
    while (done < static_cast<std::size_t>(bytes.size())) {
        const long n = writeSome(fd, bytes.constData() + done, static_cast<std::size_t>(bytes.size()) - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : ENOSPC;
            closeFile(fd);
            return FileResult::failure(describe(path, what, "write to", error));
        }
        done += static_cast<std::size_t>(n);
    }
    if (!syncFile(fd)) {
        const int error = errno;
        closeFile(fd);
        return FileResult::failure(describe(path, what, "write to", error));
    }
    if (closeFile(fd) != 0)
        return FileResult::failure(describe(path, what, "write to", errno));
    if (created)
        syncFolderOf(native);
    return FileResult::success();
}

FileResult checkAppendable(const QString &path, const char *what)
{
    const Native native = nativePath(path);
    bool created = false;
    const int fd = openForAppend(native, &created);
    if (fd < 0)
        return FileResult::failure(describe(path, what, "open", errno));
    closeFile(fd);
    return FileResult::success();
}

}  // namespace tavin::fleet
