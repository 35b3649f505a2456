// A folder where writes fail for lack of room, for the tests of what a failed
// save leaves behind. As root it is a small tmpfs mounted over a temporary
// folder and filled up, so writes fail with "No space left on device" as on
// a full disk. Where mounting is not allowed, the writes are made to fail by
// a file size limit (RLIMIT_FSIZE, "File too large") instead: in the test
// process (LimitedWrites) or in a child process (limitChild).
#pragma once

#include "SafeReplace.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cerrno>
#include <csignal>
#include <string>

#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace tavin::test {

class FullDisk {
public:
    // Size of the file system; a file size limit of this many bytes stands in for it.
    static constexpr int kSizeBytes = 12 * 1024;

    FullDisk()
    {
        if (m_dir.isValid())
            m_mounted = ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0, "size=12k") == 0;
    }
    ~FullDisk()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    FullDisk(const FullDisk &) = delete;
    FullDisk &operator=(const FullDisk &) = delete;

    bool valid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    // True: a real full file system; false: the file size limit stands in.
    bool isTmpfs() const { return m_mounted; }
    // The system's reason a write fails here.
    QString expectedReason() const { return QString::fromStdString(systemErrorText(m_mounted ? ENOSPC : EFBIG)); }

    // Uses up the room left (on the tmpfs; nothing to do under a size limit).
    void fill() const
    {
        if (!m_mounted)
            return;
        QFile filler(filePath(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return;
        const QByteArray block(512, 'f');
        while (filler.write(block) == block.size()) {
        }
    }

    // For a child process: a size limit of bytes, when there is no tmpfs.
    void limitChild(QProcess &process, rlim_t bytes) const
    {
        if (m_mounted)
            return;
        process.setChildProcessModifier([bytes] {
            rlimit limit{};
            ::getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = bytes;
            ::setrlimit(RLIMIT_FSIZE, &limit);
            ::signal(SIGXFSZ, SIG_IGN);
        });
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

// In the test process: while alive, files cannot grow beyond bytes (when the
// disk is not a real full tmpfs). SIGXFSZ is ignored so the write fails instead.
class LimitedWrites {
public:
    LimitedWrites(const FullDisk &disk, rlim_t bytes)
    {
        if (disk.isTmpfs())
            return;
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        m_oldHandler = ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, m_saved.rlim_max};
        m_active = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~LimitedWrites()
    {
        if (!m_active)
            return;
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        ::signal(SIGXFSZ, m_oldHandler);
    }
    LimitedWrites(const LimitedWrites &) = delete;
    LimitedWrites &operator=(const LimitedWrites &) = delete;

private:
    rlimit m_saved{};
    void (*m_oldHandler)(int) = SIG_DFL;
    bool m_active = false;
};

}  // namespace tavin::test
