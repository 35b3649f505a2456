#include "PortNames.h"

#include "NativePath.h"

#include <QSettings>

#include <algorithm>

namespace tavin::link {

namespace {
constexpr int kPortChoiceCount = 4;
}  // namespace

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

QList<QSerialPortInfo> orderedPorts()
{
    QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    std::stable_partition(ports.begin(), ports.end(),
                          [](const QSerialPortInfo &p) { return p.hasVendorIdentifier(); });
    return ports;
}

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
#ifdef Q_OS_WIN
    Q_UNUSED(device);
    if (isPortChoice(name))
        return QStringLiteral("on Windows %1 is the port itself and needs no mapping").arg(name);
#endif
    if (!isPortChoice(name))
        return QStringLiteral("'%1' is not one of %2").arg(name, portChoices().join(QStringLiteral(", ")));
    QSettings settings(QString::fromUtf8(kSettingsOrganisation), QString::fromUtf8(kSettingsApplication));
    if (device.isEmpty())
        settings.remove(portSettingsKey(name));
    else
        settings.setValue(portSettingsKey(name), platform::toSettingsValue(device));
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
#ifdef Q_OS_WIN
    return {name, PortSource::Itself};
#else
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
    const int index = name.mid(3).toInt() - 1;
    const QList<QSerialPortInfo> ports = orderedPorts();
    if (index >= 0 && index < ports.size())
        return {ports.at(index).systemLocation(), PortSource::Found};
    return {};
#endif
}

}  // namespace tavin::link
