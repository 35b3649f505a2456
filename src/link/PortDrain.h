// Waiting until the bytes written to a serial port have left the computer.
// The one place with platform calls for the serial line.
#pragma once

#include <QtGlobal>

namespace tavin::link {

// handle is QSerialPort::handle(): a file descriptor on POSIX, a HANDLE on
// Windows. Returns false when the driver reports a failure.
bool drainOutput(qintptr handle);

}  // namespace tavin::link
