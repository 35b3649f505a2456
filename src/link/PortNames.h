// Which device a port name stands for. The user chooses "COM1" to "COM4";
// on Windows these are the devices themselves, elsewhere they are mapped.
#pragma once

#include <QList>
#include <QSerialPortInfo>
#include <QString>
#include <QStringList>

namespace tavin::link {

// "COM1".."COM4", the names the user chooses from.
QStringList portChoices();

// True for "COM1".."COM4" (exactly, case-sensitive).
bool isPortChoice(const QString &name);

// Where the device for a port name comes from.
enum class PortSource { Itself, Environment, Settings, Found, Missing };

struct PortMapping {
    QString device;  // empty when nothing is found
    PortSource source = PortSource::Missing;
};

// The serial ports present, USB serial adapters (those with a vendor id)
// first, each group in the order the system lists them.
QList<QSerialPortInfo> orderedPorts();

// Maps a port name to a device:
// - on Windows: the name itself;
// - elsewhere, for COMn: the environment variable TAVIN_COMn if set, else the
//   settings value "Ports/COMn", else the n-th port of orderedPorts();
// - any other name (a device path given on the command line): itself.
PortMapping mapPortName(const QString &name);

// Where a mapping came from, for listings: "environment TAVIN_COM1",
// "setting Ports/COM1", "detected", "the port itself" or "no device".
QString portSourceText(const QString &name, PortSource source);

// The settings key of a port choice's mapping ("Ports/COM1").
QString portSettingsKey(const QString &name);

// Stores device as the mapping of the port choice name (COM1..COM4) in the
// settings store, byte for byte (see NativePath.h), or removes the mapping
// when device is empty. The desktop
// program and tavin-cli read it at their next transfer. Returns an error
// text, empty on success.
QString storePortMapping(const QString &name, const QString &device);

// The file of the settings store (for messages).
QString portSettingsLocation();

// The settings store the mapping is read from (shared with the desktop program).
inline constexpr const char *kSettingsOrganisation = "Local AppWizard-Generated Applications";
inline constexpr const char *kSettingsApplication = "Tavin写频软件";

}  // namespace tavin::link
