#include "PortNames.h"

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

PortMapping mapPortName(const QString &name)
{
#ifdef Q_OS_WIN
    return {name, PortSource::Itself};
#else
    if (!isPortChoice(name))
        return {name, PortSource::Itself};
    const QByteArray fromEnv = qgetenv(("TAVIN_" + name).toLatin1().constData());
    if (!fromEnv.isEmpty())
        return {QString::fromLocal8Bit(fromEnv), PortSource::Environment};
    const QSettings settings(QString::fromUtf8(kSettingsOrganisation), QString::fromUtf8(kSettingsApplication));
    const QString fromSettings = settings.value(QStringLiteral("Ports/") + name).toString();
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
