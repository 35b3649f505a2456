#include "SafeReplace.h"

#include "FileCalls.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>
#include <system_error>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tavin {

namespace fs = std::filesystem;

namespace {

// Symbolic links followed before giving up (as the kernel does).
constexpr int kMaxLinkDepth = 40;
constexpr int kTemporaryNameAttempts = 100;

// The file a write to path really changes: symbolic links are followed, also
// one whose target does not exist yet (the write then creates the target).
fs::path resolveLinks(const fs::path &path, std::error_code &ec)
{
    fs::path current = path;
    for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
        const fs::file_status status = fs::symlink_status(current, ec);
        if (ec) {
            if (ec == std::errc::no_such_file_or_directory) {
                ec.clear();
                return current;
            }
            return current;
        }
        if (!fs::is_symlink(status))
            return current;
        const fs::path target = fs::read_symlink(current, ec);
        if (ec)
            return current;
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    ec = std::make_error_code(std::errc::too_many_symbolic_link_levels);
    return current;
}

fs::path folderOf(const fs::path &file)
{
    return file.has_parent_path() ? file.parent_path() : fs::path(".");
}

std::string randomPart()
{
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device device;
    std::uniform_int_distribution<int> pick(0, int(sizeof kLetters) - 2);
    std::string part;
    for (int i = 0; i < 8; ++i)
        part += kLetters[pick(device)];
    return part;
}

}  // namespace

// The file calls below are shared with the durable append (FileCalls.h).
namespace files {

// Platform seam: an open file descriptor and the few calls made on it.
#if defined(_WIN32)
int createExclusive(const fs::path &p) { return _wopen(p.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE); }
long long writeSome(int fd, const char *data, std::size_t size) { return _write(fd, data, unsigned(std::min<std::size_t>(size, 1u << 30))); }
// The file's contents and size reach the disk before it takes the old name.
bool syncFile(int fd)
{
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    if (handle == INVALID_HANDLE_VALUE || !FlushFileBuffers(handle)) {
        errno = EIO;
        return false;
    }
    return true;
}
bool closeFile(int fd) { return _close(fd) == 0; }
void removeFile(const fs::path &p) { _wunlink(p.c_str()); }
void keepAttributes(int, const fs::path &) {}
void syncFolder(const fs::path &) {}
int openExisting(const fs::path &p) { return _wopen(p.c_str(), _O_WRONLY | _O_TRUNC | _O_BINARY); }
bool mayWrite(const fs::path &p) { return _waccess(p.c_str(), 2) == 0; }
int ownDescriptor(const fs::path &) { return -1; }

std::string windowsErrorText(DWORD error)
{
    char *buffer = nullptr;
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, error, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                                   reinterpret_cast<char *>(&buffer), 0, nullptr);
    std::string text = n ? std::string(buffer, n) : "system error " + std::to_string(error);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.'))
        text.pop_back();
    return text;
}

// The temporary file takes the target's name in one step, the old file is
// replaced only when that succeeds, and the change is on the disk when the
// call returns.
std::string moveOver(const fs::path &from, const fs::path &to)
{
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return {};
    return windowsErrorText(GetLastError());
}
#else
int createExclusive(const fs::path &p)
{
    // 0666 less the umask, as any new file of the user's.
    int fd;
    do {
        fd = ::open(p.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
}
long long writeSome(int fd, const char *data, std::size_t size) { return ::write(fd, data, size); }
bool syncFile(int fd) { return ::fsync(fd) == 0; }
bool closeFile(int fd) { return ::close(fd) == 0; }
void removeFile(const fs::path &p) { ::unlink(p.c_str()); }
int openExisting(const fs::path &p)
{
    int fd;
    do {
        fd = ::open(p.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    return fd;
}
// With the effective user's rights, as an open would be checked.
bool mayWrite(const fs::path &p) { return ::faccessat(AT_FDCWD, p.c_str(), W_OK, AT_EACCESS) == 0; }

// The descriptor of this process that path names (/dev/stdout, /dev/fd/3,
// /proc/self/fd/1), or -1. Such a name means the open descriptor itself:
// what the shell connected there (a pipe, a terminal, a file opened for
// appending) is written into, never replaced by a file of the same name.
int ownDescriptor(const fs::path &path)
{
    const fs::path ownFolder = fs::path("/proc") / std::to_string(::getpid()) / "fd";
    std::error_code ec;
    fs::path current = path;
    for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
        const fs::path folder = fs::canonical(current.has_parent_path() ? current.parent_path() : fs::path("."), ec);
        if (!ec && folder == ownFolder) {
            const std::string name = current.filename().native();
            if (name.empty() || name.size() > 9 || name.find_first_not_of("0123456789") != std::string::npos)
                return -1;
            return std::stoi(name);
        }
        const fs::file_status status = fs::symlink_status(current, ec);
        if (ec || !fs::is_symlink(status))
            return -1;
        const fs::path target = fs::read_symlink(current, ec);
        if (ec)
            return -1;
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    return -1;
}

// The replaced file keeps its mode, and its owner and group where the program
// may set them (as root); for anyone else a failed chown is expected.
void keepAttributes(int fd, const fs::path &target)
{
    struct stat old {};
    if (::stat(target.c_str(), &old) != 0)
        return;
    if (::fchmod(fd, old.st_mode & 07777) != 0)
        return;
    struct stat now {};
    if (::fstat(fd, &now) == 0 && (now.st_uid != old.st_uid || now.st_gid != old.st_gid)) {
        if (::fchown(fd, old.st_uid, old.st_gid) == 0)
            ::fchmod(fd, old.st_mode & 07777);  // chown clears set-id bits
    }
}

std::string moveOver(const fs::path &from, const fs::path &to)
{
    std::error_code ec;
    fs::rename(from, to, ec);
    return ec ? ec.message() : std::string();
}

// After the rename, the folder's entry reaches the disk too.
void syncFolder(const fs::path &folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}
#endif

int writeAll(int fd, std::string_view bytes)
{
    std::size_t written = 0;
    while (written < bytes.size()) {
        errno = 0;
        const long long n = writeSome(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 && errno ? errno : ENOSPC;
        written += static_cast<std::size_t>(n);
    }
    return 0;
}

}  // namespace files

using namespace files;

namespace {

struct Temporary {
    fs::path path;
    int fd = -1;
    int error = 0;
};

Temporary createTemporary(const fs::path &folder)
{
    Temporary t;
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        t.path = folder / (".tavin-" + randomPart());
        errno = 0;
        t.fd = createExclusive(t.path);
        if (t.fd >= 0)
            return t;
        t.error = errno;
        if (t.error != EEXIST)
            break;
    }
    t.fd = -1;
    return t;
}

}  // namespace

std::string systemErrorText(int error)
{
    return std::error_code(error, std::generic_category()).message();
}

std::string quotedPath(const fs::path &path)
{
#if defined(_WIN32)
    const std::u8string u8 = path.u8string();
    const std::string bytes(u8.begin(), u8.end());
#else
    const std::string &bytes = path.native();
#endif
    std::string out = "'";
    // Copies valid UTF-8 sequences, shows any other byte as \xNN.
    for (std::size_t i = 0; i < bytes.size();) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        std::size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        bool valid = length > 0 && i + length <= bytes.size();
        for (std::size_t k = 1; valid && k < length; ++k)
            valid = (static_cast<unsigned char>(bytes[i + k]) & 0xC0) == 0x80;
        if (valid && length == 2)
            valid = c >= 0xC2;
        if (valid && length == 3) {
            const auto c1 = static_cast<unsigned char>(bytes[i + 1]);
            valid = !(c == 0xE0 && c1 < 0xA0) && !(c == 0xED && c1 >= 0xA0);
        }
        if (valid && length == 4) {
            const auto c1 = static_cast<unsigned char>(bytes[i + 1]);
            valid = c <= 0xF4 && !(c == 0xF0 && c1 < 0x90) && !(c == 0xF4 && c1 >= 0x90);
        }
        if (valid && !(length == 1 && (c < 0x20 || c == 0x7F))) {
            out.append(bytes, i, length);
            i += length;
        } else {
            static constexpr char kHex[] = "0123456789abcdef";
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
            ++i;
        }
    }
    return out + "'";
}

namespace {

// What is at the path a write changes.
enum class TargetKind {
    Missing,     // a new file is made
    Regular,     // an existing file is replaced
    Stream,      // a device, pipe or socket: written into, not replaced
    Descriptor,  // one of the program's own open descriptors: written into
};

struct Target {
    fs::path file;  // symbolic links followed
    TargetKind kind = TargetKind::Missing;
    int descriptor = -1;  // for TargetKind::Descriptor
};

// Finds the file a write to path changes and whether it may be written; on
// failure returns the reason, after "cannot write <what> '<path>': ".
std::string examine(const fs::path &path, Target &target)
{
    target.descriptor = ownDescriptor(path);
    if (target.descriptor >= 0) {
        target.kind = TargetKind::Descriptor;
        return {};
    }
    std::error_code ec;
    // A name the kernel leads to a device or pipe through a link that is no
    // path (/proc/PID/fd/1 -> "pipe:[4711]") is opened by that name.
    const fs::file_status followed = fs::status(path, ec);
    if (!ec && fs::exists(followed) && !fs::is_regular_file(followed) && !fs::is_directory(followed)) {
        target.file = path;
        target.kind = TargetKind::Stream;
        errno = 0;
        return mayWrite(path) ? std::string() : systemErrorText(errno ? errno : EACCES);
    }
    target.file = resolveLinks(path, ec);
    if (ec)
        return ec.message();
    const fs::file_status status = fs::status(target.file, ec);
    if (ec && ec != std::errc::no_such_file_or_directory)
        return ec.message();
    if (fs::is_directory(status))
        return "it is a folder";
    if (!fs::exists(status)) {
        target.kind = TargetKind::Missing;
        return {};
    }
    target.kind = fs::is_regular_file(status) ? TargetKind::Regular : TargetKind::Stream;
    // A file that its owner made read-only is not replaced behind their back.
    errno = 0;
    if (!mayWrite(target.file))
        return systemErrorText(errno ? errno : EACCES);
    return {};
}

// A device or pipe (/dev/stdout, a FIFO): there is no old contents to keep,
// so the bytes are written straight into it.
FileResult writeIntoStream(const fs::path &file, std::string_view bytes, const std::string &prefix)
{
    errno = 0;
    const int fd = openExisting(file);
    if (fd < 0)
        return FileResult::failure(prefix + systemErrorText(errno));
    const int error = writeAll(fd, bytes);
    errno = 0;
    const bool closed = closeFile(fd);
    if (error != 0)
        return FileResult::failure(prefix + systemErrorText(error));
    if (!closed)
        return FileResult::failure(prefix + systemErrorText(errno));
    return FileResult::success();
}

std::string prefixFor(const fs::path &path, std::string_view what)
{
    return "cannot write " + std::string(what) + " " + quotedPath(path) + ": ";
}

FileResult noName(std::string_view what)
{
    return FileResult::failure("cannot write " + std::string(what) + ": no file name given");
}

}  // namespace

FileResult replaceFileContents(const fs::path &path, std::string_view bytes, std::string_view what)
{
    if (path.empty())
        return noName(what);
    const std::string prefix = prefixFor(path, what);
    Target target;
    if (const std::string problem = examine(path, target); !problem.empty())
        return FileResult::failure(prefix + problem);
    if (target.kind == TargetKind::Descriptor) {
        if (const int error = writeAll(target.descriptor, bytes))
            return FileResult::failure(prefix + systemErrorText(error));
        return FileResult::success();
    }
    if (target.kind == TargetKind::Stream)
        return writeIntoStream(target.file, bytes, prefix);

    const fs::path folder = folderOf(target.file);
    Temporary temporary = createTemporary(folder);
    if (temporary.fd < 0)
        return FileResult::failure(prefix + "cannot create a file in " + quotedPath(folder) + ": " +
                                   systemErrorText(temporary.error));

    const auto fail = [&](int error) {
        if (temporary.fd >= 0)
            closeFile(temporary.fd);
        removeFile(temporary.path);
        return FileResult::failure(prefix + systemErrorText(error));
    };

    // The old file's mode first, so its contents are never readable by more people.
    if (target.kind == TargetKind::Regular)
        keepAttributes(temporary.fd, target.file);
    if (const int error = writeAll(temporary.fd, bytes))
        return fail(error);
    errno = 0;
    if (!syncFile(temporary.fd))
        return fail(errno);
    errno = 0;
    const bool closed = closeFile(temporary.fd);
    temporary.fd = -1;
    if (!closed)
        return fail(errno);

    if (const std::string problem = moveOver(temporary.path, target.file); !problem.empty()) {
        removeFile(temporary.path);
        return FileResult::failure(prefix + problem);
    }
    syncFolder(folder);
    return FileResult::success();
}

FileResult reserveNewFile(const fs::path &path, std::string_view what)
{
    if (path.empty())
        return noName(what);
    errno = 0;
    const int fd = createExclusive(path);
    if (fd < 0) {
        const int error = errno;
        return FileResult::failure(prefixFor(path, what) + systemErrorText(error), error);
    }
    closeFile(fd);
    return FileResult::success();
}

FileResult storeUnderNewName(const std::function<fs::path(int)> &nameFor, int attempts, std::string_view bytes,
                             std::string_view what, fs::path *stored)
{
    FileResult reserved = FileResult::failure("cannot write " + std::string(what) + ": no name to try", EEXIST);
    for (int n = 1; n <= attempts; ++n) {
        const fs::path path = nameFor(n);
        reserved = reserveNewFile(path, what);
        if (!reserved && reserved.systemError == EEXIST)
            continue;
        if (!reserved)
            return reserved;
        const FileResult filled = replaceFileContents(path, bytes, what);
        if (!filled) {
            removeFile(path);
            return filled;
        }
        if (stored)
            *stored = path;
        return filled;
    }
    return reserved;
}

FileResult checkReplaceable(const fs::path &path, std::string_view what)
{
    if (path.empty())
        return noName(what);
    const std::string prefix = prefixFor(path, what);
    Target target;
    if (const std::string problem = examine(path, target); !problem.empty())
        return FileResult::failure(prefix + problem);
    if (target.kind == TargetKind::Stream || target.kind == TargetKind::Descriptor)
        return FileResult::success();
    const fs::path folder = folderOf(target.file);
    Temporary temporary = createTemporary(folder);
    if (temporary.fd < 0)
        return FileResult::failure(prefix + "cannot create a file in " + quotedPath(folder) + ": " +
                                   systemErrorText(temporary.error));
    closeFile(temporary.fd);
    removeFile(temporary.path);
    return FileResult::success();
}

}  // namespace tavin
