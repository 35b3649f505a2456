#include "SystemHostView.h"

#include "NativePath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <vector>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/xattr.h>
#endif

namespace tavin::doctor {

namespace {

constexpr int kMaxLinkDepth = 40;
constexpr qint64 kMaxFileBytes = 1 << 20;
constexpr int kMaxKernelLines = 5000;

}  // namespace

SystemHostView::SystemHostView(QString root) : m_root(std::move(root))
{
    while (m_root.endsWith(QLatin1Char('/')))
        m_root.chop(1);
}

QString SystemHostView::hostPath(const QString &path) const
{
    return m_root + path;
}

QString SystemHostView::nodePath(const QString &path) const
{
    // Below a root folder, links are resolved inside it, not on the host.
    if (m_root.isEmpty())
        return path;
    const QString resolved = resolve(path);
    return hostPath(resolved.isEmpty() ? path : resolved);
}

std::optional<QByteArray> SystemHostView::readFile(const QString &path) const
{
    // Files in /sys and /proc report a size of 0 or 4096: read to the end.
    QFile file(hostPath(path));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return std::nullopt;
    QByteArray bytes;
    while (bytes.size() < kMaxFileBytes) {
        char buffer[4096];
        const qint64 n = file.read(buffer, sizeof buffer);
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        bytes.append(buffer, n);
    }
    return bytes;
}

QStringList SystemHostView::listDir(const QString &path) const
{
    return QDir(hostPath(path)).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                                          QDir::Name);
}

QString SystemHostView::linkTarget(const QString &path) const
{
    const QFileInfo info(hostPath(path));
    if (!info.isSymLink())
        return {};
#ifdef Q_OS_UNIX
    char target[4096];
    const ssize_t n = ::readlink(QFile::encodeName(hostPath(path)).constData(), target, sizeof target - 1);
    if (n < 0)
        return {};
    return QFile::decodeName(QByteArray(target, int(n)));
#else
    return info.symLinkTarget();
#endif
}

QString SystemHostView::resolve(const QString &path) const
{
    // Resolved by hand so that absolute link targets stay inside the root.
    QStringList pending = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QStringList done;
    int links = 0;
    while (!pending.isEmpty()) {
        const QString part = pending.takeFirst();
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            if (!done.isEmpty())
                done.removeLast();
            continue;
        }
        const QString current = QLatin1Char('/') + (done + QStringList{part}).join(QLatin1Char('/'));
        const QFileInfo info(hostPath(current));
        if (!info.exists() && !info.isSymLink())
            return {};
        if (info.isSymLink()) {
            if (++links > kMaxLinkDepth)
                return {};
            const QString target = linkTarget(current);
            if (target.startsWith(QLatin1Char('/')))
                done.clear();
            pending = target.split(QLatin1Char('/'), Qt::SkipEmptyParts) + pending;
            continue;
        }
        done << part;
    }
    return QLatin1Char('/') + done.join(QLatin1Char('/'));
}

FileStatus SystemHostView::status(const QString &path) const
{
    FileStatus s;
#ifdef Q_OS_UNIX
    struct stat st{};
    if (::stat(platform::toNativeBytes(nodePath(path)).constData(), &st) != 0)
        return s;
    s.exists = true;
    s.isCharDevice = S_ISCHR(st.st_mode);
    s.uid = st.st_uid;
    s.gid = st.st_gid;
    s.mode = st.st_mode & 07777;
    s.device = st.st_dev;
    s.inode = st.st_ino;
#else
    s.exists = QFileInfo::exists(nodePath(path));
#endif
    return s;
}

QList<AclEntry> SystemHostView::acl(const QString &path) const
{
    QList<AclEntry> entries;
#ifdef Q_OS_LINUX
    // The kernel's form of an access ACL: a 4-byte version (2), then 8-byte
    // entries of tag, permission (16 bits each) and id (32 bits), little-endian.
    unsigned char buffer[1024];
    const ssize_t n = ::getxattr(QFile::encodeName(nodePath(path)).constData(), "system.posix_acl_access", buffer,
                                 sizeof buffer);
    if (n < 4)
        return entries;
    auto le16 = [&](ssize_t at) { return unsigned(buffer[at]) | unsigned(buffer[at + 1]) << 8; };
    auto le32 = [&](ssize_t at) { return le16(at) | le16(at + 2) << 16; };
    for (ssize_t at = 4; at + 8 <= n; at += 8) {
        AclEntry e;
        switch (le16(at)) {
        case 0x01: e.tag = AclEntry::Tag::OwnerUser; break;
        case 0x02: e.tag = AclEntry::Tag::User; break;
        case 0x04: e.tag = AclEntry::Tag::OwnerGroup; break;
        case 0x08: e.tag = AclEntry::Tag::Group; break;
        case 0x10: e.tag = AclEntry::Tag::Mask; break;
        default: e.tag = AclEntry::Tag::Other; break;
        }
        e.perm = le16(at + 2);
        e.id = le32(at + 4);
        entries << e;
    }
#else
    Q_UNUSED(path);
#endif
    return entries;
}

int SystemHostView::tryOpen(const QString &path) const
{
#ifdef Q_OS_UNIX
    const int fd = ::open(platform::toNativeBytes(nodePath(path)).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const bool terminal = ::isatty(fd);
    ::close(fd);
    return terminal ? 0 : ENOTTY;
#else
    QFile file(nodePath(path));
    return file.open(QIODevice::ReadWrite) ? 0 : EACCES;
#endif
}

unsigned SystemHostView::userId() const
{
#ifdef Q_OS_UNIX
    return ::geteuid();
#else
    return 0;
#endif
}

QString SystemHostView::userName(unsigned uid) const
{
#ifdef Q_OS_UNIX
    if (const passwd *pw = ::getpwuid(uid))
        return QString::fromLocal8Bit(pw->pw_name);
#endif
    return QString::number(uid);
}

QString SystemHostView::groupName(unsigned gid) const
{
#ifdef Q_OS_UNIX
    if (const group *gr = ::getgrgid(gid))
        return QString::fromLocal8Bit(gr->gr_name);
#endif
    return QString::number(gid);
}

QList<unsigned> SystemHostView::activeGroups() const
{
    QList<unsigned> groups;
#ifdef Q_OS_UNIX
    groups << ::getegid();
    const int count = ::getgroups(0, nullptr);
    if (count > 0) {
        std::vector<gid_t> list(static_cast<size_t>(count));
        const int got = ::getgroups(count, list.data());
        for (int i = 0; i < got; ++i)
            groups << list[size_t(i)];
    }
#endif
    return groups;
}

QList<unsigned> SystemHostView::memberGroups() const
{
    QList<unsigned> groups;
#ifdef Q_OS_UNIX
    const passwd *pw = ::getpwuid(::geteuid());
    if (!pw)
        return activeGroups();
    const QByteArray name(pw->pw_name);
    const gid_t primary = pw->pw_gid;
    int count = 64;
    std::vector<gid_t> list(static_cast<size_t>(count));
    if (::getgrouplist(name.constData(), primary, list.data(), &count) < 0) {
        list.resize(static_cast<size_t>(count));
        if (::getgrouplist(name.constData(), primary, list.data(), &count) < 0)
            return activeGroups();
    }
    for (int i = 0; i < count; ++i)
        groups << list[size_t(i)];
#endif
    return groups;
}

qint64 SystemHostView::processId() const
{
#ifdef Q_OS_UNIX
    return ::getpid();
#else
    return 0;
#endif
}

std::optional<QStringList> SystemHostView::kernelMessages() const
{
#ifdef Q_OS_LINUX
    if (!m_root.isEmpty()) {
        // A fake tree keeps the messages as plain lines.
        const std::optional<QByteArray> text = readFile(QStringLiteral("/dev/kmsg"));
        if (!text)
            return std::nullopt;
        return QString::fromUtf8(*text).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    // Each read of /dev/kmsg returns one record: "level,sequence,time,flags;text".
    const int fd = ::open("/dev/kmsg", O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    QStringList lines;
    char record[8192];
    for (;;) {
        const ssize_t n = ::read(fd, record, sizeof record);
        if (n < 0 && errno == EPIPE)
            continue;  // records overwritten while reading
        if (n <= 0)
            break;
        const QByteArray text(record, int(n));
        const qsizetype semicolon = text.indexOf(';');
        QByteArray message = text.mid(semicolon + 1);
        const qsizetype end = message.indexOf('\n');
        if (end >= 0)
            message.truncate(end);
        lines << QString::fromUtf8(message);
        if (lines.size() > kMaxKernelLines)
            lines.removeFirst();
    }
    ::close(fd);
    return lines;
#else
    return std::nullopt;
#endif
}

link::PortMapping SystemHostView::portMapping(const QString &name) const
{
    return link::mapPortName(name);
}

}  // namespace tavin::doctor
