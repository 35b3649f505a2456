#include "PortNames.h"

#include "NativePath.h"

#include <QSettings>

#include <algorithm>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <QSerialPortInfo>
#endif

namespace tavin::link {

namespace {
constexpr int kPortChoiceCount = 4;
}  // namespace

int comPortNumber(const QString &name)
{
    QString rest = name;
    if (rest.startsWith(QLatin1String("\\\\.\\")))
        rest = rest.mid(4);
    if (rest.size() < 4 || rest.size() > 6 || !rest.startsWith(QLatin1String("COM"), Qt::CaseInsensitive))
        return 0;
    const QStringView digits = QStringView(rest).mid(3);
    if (digits.front() == QLatin1Char('0'))
        return 0;
    bool ok = false;
    const int n = digits.toInt(&ok);
    return ok && n >= 1 && n <= kMaxComPort && digits.size() == QString::number(n).size() ? n : 0;
}

QStringList portChoices()
{
    QStringList names;
    for (int n = 1; n <= kPortChoiceCount; ++n)
        names << QStringLiteral("COM") + QString::number(n);
    return names;
}

bool isPortChoice(const QString &name)
{
    return portChoices().contains(name, Qt::CaseSensitive);
}

#ifdef Q_OS_WIN

QList<SerialPortEntry> orderedPorts()
{
    // Each value of the key is one port: its name is the device's kernel name
    // ("\Device\Serial0"), its data the port ("COM1").
    QList<SerialPortEntry> ports;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return ports;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD nameLength = DWORD(std::size(name));
        wchar_t data[64] = {};
        DWORD dataBytes = sizeof data - sizeof(wchar_t);
        DWORD type = 0;
        const LONG rc = RegEnumValueW(key, index, name, &nameLength, nullptr, &type,
                                      reinterpret_cast<BYTE *>(data), &dataBytes);
        if (rc == ERROR_NO_MORE_ITEMS)
            break;
        if (rc != ERROR_SUCCESS || type != REG_SZ)
            continue;
        const QString port = QString::fromWCharArray(data, int(dataBytes / sizeof(wchar_t))).remove(QChar(0));
        const int number = comPortNumber(port);
        if (number == 0)
            continue;
        SerialPortEntry entry;
        entry.location = QStringLiteral("COM%1").arg(number);
        entry.description = QString::fromWCharArray(name, int(nameLength));
        ports << entry;
    }
    RegCloseKey(key);
    std::sort(ports.begin(), ports.end(), [](const SerialPortEntry &a, const SerialPortEntry &b) {
        return comPortNumber(a.location) < comPortNumber(b.location);
    });
    return ports;
}

#else

QList<SerialPortEntry> orderedPorts()
{
    QList<SerialPortEntry> ports;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        SerialPortEntry entry;
        entry.location = info.systemLocation();
        entry.description = info.description();
        entry.manufacturer = info.manufacturer();
        entry.serialNumber = info.serialNumber();
        entry.hasVendorId = info.hasVendorIdentifier();
        entry.vendorId = info.vendorIdentifier();
        entry.hasProductId = info.hasProductIdentifier();
        entry.productId = info.productIdentifier();
        ports << entry;
    }
    std::stable_partition(ports.begin(), ports.end(), [](const SerialPortEntry &p) { return p.hasVendorId; });
    return ports;
}

#endif

QString portSettingsKey(const QString &name)
{
    return QStringLiteral("Ports/") + name;
}

QString portSourceText(const QString &name, PortSource source)
{
    switch (source) {
    case PortSource::Itself:
        return QStringLiteral("the port itself");
    case PortSource::Environment:
        return QStringLiteral("environment TAVIN_") + name;
    case PortSource::Settings:
        return QStringLiteral("setting ") + portSettingsKey(name);
    case PortSource::Found:
        return QStringLiteral("detected");
    case PortSource::Missing:
        break;
    }
    return QStringLiteral("no device");
}

QString storePortMapping(const QString &name, const QString &device)
{
    if (!isPortChoice(name))
        return QStringLiteral("'%1' is not one of %2").arg(name, portChoices().join(QStringLiteral(", ")));
    QString stored = device;
#ifdef Q_OS_WIN
    // On Windows a port choice stands for another port, never for a file.
    if (!device.isEmpty()) {
        const int number = comPortNumber(device);
        if (number == 0)
            return QStringLiteral("'%1' is not a serial port name (COM1 to COM%2)").arg(device).arg(kMaxComPort);
        stored = QStringLiteral("COM%1").arg(number);
    }
#endif
    QSettings settings(QString::fromUtf8(kSettingsOrganisation), QString::fromUtf8(kSettingsApplication));
    if (stored.isEmpty())
        settings.remove(portSettingsKey(name));
    else
        settings.setValue(portSettingsKey(name), platform::toSettingsValue(stored));
    settings.sync();
    switch (settings.status()) {
    case QSettings::NoError:
        return {};
    case QSettings::AccessError:
        return QStringLiteral("cannot write the settings file %1").arg(settings.fileName());
    case QSettings::FormatError:
        return QStringLiteral("the settings file %1 is damaged; it was left as it is").arg(settings.fileName());
    }
    return QStringLiteral("cannot write the settings file %1").arg(settings.fileName());
}

QString portSettingsLocation()
{
    return QSettings(QString::fromUtf8(kSettingsOrganisation), QString::fromUtf8(kSettingsApplication)).fileName();
}

PortMapping mapPortName(const QString &name)
{
    if (!isPortChoice(name))
        return {name, PortSource::Itself};
    // Device names byte for byte, as file names are.
    const QByteArray fromEnv = qgetenv(("TAVIN_" + name).toLatin1().constData());
    if (!fromEnv.isEmpty())
        return {platform::fromNativeBytes(fromEnv), PortSource::Environment};
    const QSettings settings(QString::fromUtf8(kSettingsOrganisation), QString::fromUtf8(kSettingsApplication));
    const QString fromSettings = platform::fromSettingsValue(settings.value(portSettingsKey(name)));
    if (!fromSettings.isEmpty())
        return {fromSettings, PortSource::Settings};
#ifdef Q_OS_WIN
    return {name, PortSource::Itself};
#else
    const int index = name.mid(3).toInt() - 1;
    const QList<SerialPortEntry> ports = orderedPorts();
    if (index >= 0 && index < ports.size())
        return {ports.at(index).location, PortSource::Found};
    return {};
#endif
}

}  // namespace tavin::link
