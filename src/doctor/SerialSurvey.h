// The serial ports and USB devices the kernel knows of, read from /sys.
#pragma once

#include "HostView.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace tavin::doctor {

struct UsbDevice {
    QString busName;           // "1-2"
    unsigned vendorId = 0;
    unsigned productId = 0;
    QString product;           // the device's own name, if it gives one
    QStringList interfaceDrivers;  // per interface; "" where no driver is bound
};

struct SerialPort {
    QString name;      // "ttyUSB0"
    QString device;    // "/dev/ttyUSB0"
    QString driver;    // "ch341-uart", "cdc_acm", "serial"
    QString number;    // the device number, "188:0"
    std::optional<UsbDevice> usb;
};

// The serial ports that have hardware behind them, USB adapters first, each
// group by name. Virtual terminals, pseudo-terminals and the 8250 driver's
// placeholders without a UART are left out.
QList<SerialPort> findSerialPorts(const HostView &host);

// Every USB device (not the hubs of the controllers).
QList<UsbDevice> findUsbDevices(const HostView &host);

}  // namespace tavin::doctor
