#include "DeviceLock.h"

#include "NativePath.h"
#include "PortNames.h"

#ifndef Q_OS_WIN
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tavin::link {

#ifndef Q_OS_WIN
namespace {
QString inUseText() { return QStringLiteral("the device is in use by another program"); }
}  // namespace
#endif

DeviceLock::~DeviceLock()
{
    release();
}

#ifdef Q_OS_WIN

// COMn is the device itself, in any letter case and with or without the
// device prefix "\\.\"; the serial link claims the port while it has it open.
QString DeviceLock::resolve(const QString &name)
{
    const int number = comPortNumber(name);
    return number ? QStringLiteral("COM%1").arg(number) : name;
}

QString DeviceLock::identity(const QString &name) { return resolve(name).toUpper(); }

DeviceLock::Result DeviceLock::acquire(const QString &)
{
    m_error.clear();
    m_handle = 0;
    return Result::Locked;
}

void DeviceLock::release() { m_handle = -1; }

bool DeviceLock::isNamedBy(const QString &) const { return m_handle >= 0; }

#else

QString DeviceLock::resolve(const QString &name)
{
    char *real = ::realpath(platform::toNativeBytes(name).constData(), nullptr);
    if (!real)
        return name;
    const QString resolved = platform::fromNativeBytes(QByteArray(real));
    std::free(real);
    return resolved;
}

QString DeviceLock::identity(const QString &name)
{
    struct stat st {};
    if (::stat(platform::toNativeBytes(name).constData(), &st) != 0)
        return {};
    if (S_ISCHR(st.st_mode))
        return QStringLiteral("char %1").arg(quint64(st.st_rdev));
    return QStringLiteral("file %1:%2").arg(quint64(st.st_dev)).arg(quint64(st.st_ino));
}

DeviceLock::Result DeviceLock::acquire(const QString &device)
{
    release();
    m_error.clear();
    // Its own descriptor, never read or written: the lock belongs to the open
    // device, so every name of it and every other program that locks it (root
    // included, which the terminal's exclusive mode does not stop) sees it.
    int fd = -1;
    do {
        fd = ::open(platform::toNativeBytes(device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        const int error = errno;
        // EBUSY: another program holds the terminal in exclusive mode.
        m_error = error == EBUSY ? inUseText() : QString::fromLocal8Bit(std::strerror(error));
        return error == EBUSY ? Result::InUse : Result::Failed;
    }
    // A serial port is a terminal device; a file, a pipe or /dev/zero only
    // looks like one by name.
    if (!::isatty(fd)) {
        ::close(fd);
        m_error = QStringLiteral("it is not a serial port (not a terminal device)");
        return Result::Failed;
    }
    int rc = 0;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0 && errno == EWOULDBLOCK) {
        ::close(fd);
        m_error = inUseText();
        return Result::InUse;
    }
    // A device that cannot be locked at all (no lock support) is used as it
    // is: the serial port's own exclusive open still applies.
    m_handle = fd;
    return Result::Locked;
}

void DeviceLock::release()
{
    if (m_handle >= 0)
        ::close(static_cast<int>(m_handle));  // closing drops the lock
    m_handle = -1;
}

bool DeviceLock::isNamedBy(const QString &name) const
{
    if (m_handle < 0)
        return false;
    struct stat held {};
    struct stat named {};
    if (::fstat(static_cast<int>(m_handle), &held) != 0 || ::stat(platform::toNativeBytes(name).constData(), &named) != 0)
        return false;
    return held.st_dev == named.st_dev && held.st_ino == named.st_ino && held.st_rdev == named.st_rdev;
}

#endif

bool DeviceLock::isHeld() const
{
    return m_handle >= 0;
}

}  // namespace tavin::link
