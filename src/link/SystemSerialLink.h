// The serial port of the system the program runs on: the Win32
// communications API on Windows, Qt's serial port module elsewhere.
#pragma once

#include <QtGlobal>

#ifdef Q_OS_WIN
#include "WinSerialLink.h"
namespace tavin::link {
using SystemSerialLink = WinSerialLink;
}
#else
#include "QtSerialLink.h"
namespace tavin::link {
using SystemSerialLink = QtSerialLink;
}
#endif
