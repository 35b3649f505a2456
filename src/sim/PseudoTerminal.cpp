#include "PseudoTerminal.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace tavin::sim {

namespace {

constexpr int kWriteWaitMs = 100;

std::string failure(const char *what)
{
    return std::string(what) + ": " + std::strerror(errno);
}

}  // namespace

std::unique_ptr<PseudoTerminal> PseudoTerminal::create(std::string &error)
{
    std::unique_ptr<PseudoTerminal> pty(new PseudoTerminal);
    pty->m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (pty->m_master < 0) {
        error = failure("cannot create a pseudo-terminal");
        return nullptr;
    }
    if (grantpt(pty->m_master) != 0 || unlockpt(pty->m_master) != 0) {
        error = failure("cannot unlock the pseudo-terminal");
        return nullptr;
    }
    const char *name = ptsname(pty->m_master);
    if (!name) {
        error = failure("cannot name the pseudo-terminal");
        return nullptr;
    }
    pty->m_devicePath = name;
    pty->m_slave = ::open(name, O_RDWR | O_NOCTTY);
    if (pty->m_slave < 0) {
        error = failure(("cannot open " + pty->m_devicePath).c_str());
        return nullptr;
    }
    termios settings{};
    if (tcgetattr(pty->m_slave, &settings) != 0) {
        error = failure("cannot read the line settings");
        return nullptr;
    }
    cfmakeraw(&settings);
    settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB);
#ifdef CRTSCTS
    settings.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
#endif
    settings.c_cflag |= CS8 | CLOCAL | CREAD;
    cfsetispeed(&settings, B9600);
    cfsetospeed(&settings, B9600);
    if (tcsetattr(pty->m_slave, TCSANOW, &settings) != 0) {
        error = failure("cannot set the line to raw 9600 8N1");
        return nullptr;
    }
    const int flags = fcntl(pty->m_master, F_GETFL);
    if (flags < 0 || fcntl(pty->m_master, F_SETFL, flags | O_NONBLOCK) != 0) {
        error = failure("cannot make the pseudo-terminal non-blocking");
        return nullptr;
    }
    return pty;
}

PseudoTerminal::~PseudoTerminal()
{
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
}

long PseudoTerminal::read(std::uint8_t *bytes, std::size_t capacity)
{
    for (;;) {
        const ssize_t n = ::read(m_master, bytes, capacity);
        if (n >= 0)
            return static_cast<long>(n);
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return 0;
        return -1;
    }
}

bool PseudoTerminal::write(const std::uint8_t *bytes, std::size_t count)
{
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(m_master, bytes + done, count - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            return false;
        // The program's input queue is full: wait a little for room.
        pollfd room{m_master, POLLOUT, 0};
        if (::poll(&room, 1, kWriteWaitMs) <= 0)
            return false;
    }
    return true;
}

}  // namespace tavin::sim
