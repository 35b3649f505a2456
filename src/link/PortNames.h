// Which device a port name stands for. The user chooses "COM1" to "COM4";
// on Windows these are the ports themselves unless mapped to another COMn,
// elsewhere they are mapped to devices.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace tavin::link {

// A serial port the system lists.
struct SerialPortEntry {
    QString location;      // what opens it: "/dev/ttyUSB0", or "COM3" on Windows
    QString description;   // the driver's words, or on Windows the device's kernel name
    QString manufacturer;
    QString serialNumber;
    bool hasVendorId = false;  // a USB adapter
    quint16 vendorId = 0;
    bool hasProductId = false;
    quint16 productId = 0;
};

// Windows numbers its serial ports from COM1 to COM256.
inline constexpr int kMaxComPort = 256;

// The number n of a Windows port name "COMn" (any letter case, also with the
// device prefix "\\.\"), 1 to 256; 0 for any other name.
int comPortNumber(const QString &name);

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
// first, each group in the order the system lists them. On Windows: the
// ports of the registry's list (HKLM\HARDWARE\DEVICEMAP\SERIALCOMM), by number.
QList<SerialPortEntry> orderedPorts();

// Maps a port name to a device:
// - on Windows, for COMn: the environment variable TAVIN_COMn if set, else
//   the settings value "Ports/COMn" (in the registry), else the port itself;
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
// when device is empty (on Windows device is a port name, COM1 to COM256,
// stored as "COMn"). The desktop
// program and tavin-cli read it at their next transfer. Returns an error
// text, empty on success.
QString storePortMapping(const QString &name, const QString &device);

// The file of the settings store (for messages).
QString portSettingsLocation();

// The settings store the mapping is read from (shared with the desktop program).
inline constexpr const char *kSettingsOrganisation = "Local AppWizard-Generated Applications";
inline constexpr const char *kSettingsApplication = "Tavin写频软件";

}  // namespace tavin::link
