#include "SerialSurvey.h"

#include <algorithm>

namespace tavin::doctor {

namespace {

const QString kClassTty = QStringLiteral("/sys/class/tty/");
const QString kUsbDevices = QStringLiteral("/sys/bus/usb/devices/");
constexpr int kMaxLevelsToUsbDevice = 4;
constexpr int kHexBase = 16;

QString text(const HostView &host, const QString &path)
{
    return QString::fromUtf8(host.readFile(path).value_or(QByteArray())).trimmed();
}

QString baseName(const QString &path)
{
    return path.section(QLatin1Char('/'), -1);
}

QString parentOf(const QString &path)
{
    return path.section(QLatin1Char('/'), 0, -2);
}

// Reads the USB device whose folder is dir (it has idVendor).
UsbDevice usbDeviceAt(const HostView &host, const QString &dir)
{
    UsbDevice usb;
    usb.busName = baseName(dir);
    usb.vendorId = text(host, dir + QStringLiteral("/idVendor")).toUInt(nullptr, kHexBase);
    usb.productId = text(host, dir + QStringLiteral("/idProduct")).toUInt(nullptr, kHexBase);
    usb.product = text(host, dir + QStringLiteral("/product"));
    for (const QString &entry : host.listDir(dir)) {
        if (entry.startsWith(usb.busName + QLatin1Char(':')))
            usb.interfaceDrivers << baseName(host.linkTarget(dir + QLatin1Char('/') + entry + QStringLiteral("/driver")));
    }
    return usb;
}

}  // namespace

QList<SerialPort> findSerialPorts(const HostView &host)
{
    QList<SerialPort> ports;
    for (const QString &name : host.listDir(kClassTty)) {
        const QString entry = kClassTty + name;
        const QString device = host.resolve(entry + QStringLiteral("/device"));
        if (device.isEmpty())
            continue;  // no hardware: a virtual terminal or a pseudo-terminal
        // The 8250 driver keeps placeholders for ports that are not there (type 0).
        if (text(host, entry + QStringLiteral("/type")) == QLatin1String("0"))
            continue;
        SerialPort port;
        port.name = name;
        port.device = QStringLiteral("/dev/") + name;
        port.driver = baseName(host.linkTarget(entry + QStringLiteral("/device/driver")));
        port.number = text(host, entry + QStringLiteral("/dev"));
        QString dir = device;
        for (int level = 0; level < kMaxLevelsToUsbDevice && dir.size() > 1; ++level) {
            if (host.readFile(dir + QStringLiteral("/idVendor"))) {
                port.usb = usbDeviceAt(host, dir);
                break;
            }
            dir = parentOf(dir);
        }
        ports << port;
    }
    std::stable_sort(ports.begin(), ports.end(), [](const SerialPort &a, const SerialPort &b) {
        if (a.usb.has_value() != b.usb.has_value())
            return a.usb.has_value();
        return false;
    });
    return ports;
}

QList<UsbDevice> findUsbDevices(const HostView &host)
{
    QList<UsbDevice> devices;
    for (const QString &name : host.listDir(kUsbDevices)) {
        if (name.contains(QLatin1Char(':')) || name.startsWith(QStringLiteral("usb")))
            continue;  // an interface, or a controller's root hub
        const QString dir = host.resolve(kUsbDevices + name);
        if (dir.isEmpty() || !host.readFile(dir + QStringLiteral("/idVendor")))
            continue;
        devices << usbDeviceAt(host, dir);
    }
    return devices;
}

}  // namespace tavin::doctor
