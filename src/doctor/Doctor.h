// tavin-cli doctor: why a programming cable does not work, and the command
// that fixes it. Checks, in order: the serial ports (and, without one, a
// cable whose driver is missing), brltty taking a CH340/CH341 cable,
// ModemManager probing the port, permission to open it, another program
// holding it, what COM1 to COM4 stand for, and, when asked, the radio's
// answer to the handshake (nothing is read or written).
#pragma once

#include "DoctorReport.h"
#include "HostView.h"
#include "RadioProbe.h"
#include "SerialSurvey.h"

namespace tavin::doctor {

struct DoctorOptions {
    QString port = QStringLiteral("COM1");  // COM1..COM4 or a device path
    bool probe = false;                     // ask the radio (needs prober)
};

class Doctor {
public:
    // prober may be null when options never ask for a probe.
    Doctor(const HostView &host, RadioProber *prober);

    DoctorReport run(const DoctorOptions &options);

private:
    struct Process {
        qint64 pid = 0;
        QString name;
    };

    Finding checkSerialPorts() const;
    Finding checkBrltty() const;
    Finding checkModemManager(const QString &device) const;
    Finding checkPermission(const QString &portName, const QString &device, int &openError) const;
    Finding checkInUse(const QString &device, int openError) const;
    Finding checkMapping() const;
    Finding probeRadio(const QString &portName, const QString &device, DoctorReport &report) const;

    bool processRunning(const QString &name) const;
    QList<Process> holdersOf(const QString &device, int &unreadable) const;
    QString processName(qint64 pid) const;
    unsigned processOwner(qint64 pid) const;
    QString suggestedDevice() const;
    const SerialPort *serialPortFor(const QString &device) const;

    const HostView &m_host;
    RadioProber *m_prober = nullptr;
    QList<SerialPort> m_ports;
    QList<UsbDevice> m_usbDevices;
    QList<Process> m_processes;
};

}  // namespace tavin::doctor
