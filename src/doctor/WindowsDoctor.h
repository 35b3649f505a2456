// tavin-cli doctor on Windows: what applies there. The port is listed by the
// system, it opens (or another program holds it), what COM1 to COM4 stand
// for, and, when asked, the radio's answer. The Linux checks (drivers,
// brltty, ModemManager, device permissions) say that they do not apply.
#pragma once

#include "DoctorReport.h"
#include "PortNames.h"
#include "RadioProbe.h"

namespace tavin::doctor {

// What the Windows doctor learns about the machine; tests give it tables.
class WindowsPortView {
public:
    enum class Open { Opened, InUse, Missing, Failed };
    struct OpenAttempt {
        Open result = Open::Failed;
        QString error;  // the system's reason for Failed
    };

    virtual ~WindowsPortView() = default;
    // The ports of the registry's list.
    virtual QList<link::SerialPortEntry> ports() const = 0;
    virtual link::PortMapping portMapping(const QString &name) const = 0;
    // Opens the port ("COM3") as a transfer does and closes it at once.
    virtual OpenAttempt tryOpen(const QString &port) const = 0;
};

// portName: COM1..COM4, another COMn, or what the user gave. prober may be
// null when probe is false.
DoctorReport runWindowsDoctor(const WindowsPortView &view, const QString &portName, bool probe,
                              RadioProber *prober);

#ifdef Q_OS_WIN
// The running system: the registry and the Win32 serial port.
class SystemWindowsPortView final : public WindowsPortView {
public:
    QList<link::SerialPortEntry> ports() const override;
    link::PortMapping portMapping(const QString &name) const override;
    OpenAttempt tryOpen(const QString &port) const override;
};
#endif

}  // namespace tavin::doctor
