#include "PortDrain.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <termios.h>
#endif

namespace tavin::link {

bool drainOutput(qintptr handle)
{
#ifdef Q_OS_WIN
    return FlushFileBuffers(reinterpret_cast<HANDLE>(handle)) != 0;
#else
    int rc = 0;
    do {
        rc = ::tcdrain(static_cast<int>(handle));
    } while (rc != 0 && errno == EINTR);
    return rc == 0;
#endif
}

}  // namespace tavin::link
