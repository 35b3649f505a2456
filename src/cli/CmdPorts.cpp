// tavin-cli ports: which device each of COM1 to COM4 stands for, and every
// serial port found; --set and --unset change the mapping that the desktop
// program and tavin-cli use.

#include "CliCommon.h"
#include "ExitCodes.h"
#include "NativePath.h"
#include "PortNames.h"
#include "Verbs.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QTextStream>

namespace tavin::cli {

namespace {

QString hex4(quint16 id)
{
    return QString::number(id, 16).rightJustified(4, QLatin1Char('0'));
}

struct MappingChange {
    QString name;
    QString device;  // empty: remove the mapping
};

// "COM1=/dev/ttyUSB1" for --set, "COM1" for --unset; a relative device path
// is made absolute (the desktop program may run in another folder), links
// such as /dev/serial/by-id/... are kept as given since they stay stable.
// The device's name is kept byte for byte.
bool parseChange(const QString &verb, const QString &text, bool set, MappingChange &change)
{
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    if (set) {
        if (equals <= 0 || equals == text.size() - 1) {
            reportError(verb, QStringLiteral("--set needs COMn=DEVICE, for example COM1=/dev/ttyUSB0, not '%1'").arg(text));
            return false;
        }
        change.name = text.left(equals);
        change.device = platform::absolutePath(text.mid(equals + 1));
    } else {
        change.name = text;
    }
    if (!link::isPortChoice(change.name)) {
        reportError(verb, QStringLiteral("'%1' is not one of %2").arg(change.name, link::portChoices().join(QStringLiteral(", "))));
        return false;
    }
    return true;
}

// Which of --set (true) and --unset (false) come in which order in args,
// after the parser has accepted them: "--set X", "--set=X", and the same
// for --unset, up to "--".
QList<bool> changeOrder(const QStringList &args)
{
    QList<bool> order;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QLatin1String("--"))
            break;
        for (const bool set : {true, false}) {
            const QString option = set ? QStringLiteral("--set") : QStringLiteral("--unset");
            if (arg == option) {
                order << set;
                ++i;  // its value, whatever it looks like
            } else if (arg.startsWith(option + QLatin1Char('='))) {
                order << set;
            }
        }
    }
    return order;
}

int changeMappings(const QString &verb, const QList<MappingChange> &changes)
{
    QTextStream err(stderr);
    for (const MappingChange &c : changes) {
        const QString error = link::storePortMapping(c.name, c.device);
        if (!error.isEmpty()) {
            reportError(verb, error);
            return kExitFile;
        }
        if (c.device.isEmpty())
            err << c.name << ": mapping removed\n";
        else
            err << c.name << " = " << platform::shown(c.device) << '\n';
        if (!c.device.isEmpty() && !platform::pathExists(c.device))
            err << "  note: " << platform::shown(c.device) << " does not exist now; the mapping is used once it does\n";
        if (!qEnvironmentVariableIsEmpty(qPrintable(QStringLiteral("TAVIN_") + c.name)))
            err << "  note: TAVIN_" << c.name << " is set here and comes before the setting\n";
    }
    err << "Stored in " << link::portSettingsLocation() << '\n';
    return kExitOk;
}

}  // namespace

int cmdPorts(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "List the port names COM1 to COM4 with the device each one maps to, then every serial port found.\n"
        "On Linux and macOS, COMn is the device named by the environment variable TAVIN_COMn, else the\n"
        "settings value Ports/COMn, else the n-th port found (USB serial adapters first)."));
    const QCommandLineOption setOption(QStringLiteral("set"),
                                       QStringLiteral("Map COMn to DEVICE in the settings the desktop program reads "
                                                      "(may be repeated)."),
                                       QStringLiteral("COMn=DEVICE"));
    const QCommandLineOption unsetOption(QStringLiteral("unset"),
                                         QStringLiteral("Remove the mapping of COMn from the settings (may be repeated)."),
                                         QStringLiteral("COMn"));
    parser.addOption(setOption);
    parser.addOption(unsetOption);
    int exitCode = kExitOk;
    if (!parseOrExit(parser, args, &exitCode))
        return exitCode;
    if (!parser.positionalArguments().isEmpty()) {
        reportError(args.value(0), QStringLiteral("takes no arguments"));
        return kExitUsage;
    }
    if (parser.isSet(setOption) || parser.isSet(unsetOption)) {
        // In the order given: "--unset COM2 --set COM2=DEV" ends with the mapping.
        const QStringList sets = parser.values(setOption);
        const QStringList unsets = parser.values(unsetOption);
        qsizetype nextSet = 0;
        qsizetype nextUnset = 0;
        QList<MappingChange> changes;
        for (const bool set : changeOrder(args)) {
            const QString text = set ? sets.value(nextSet++) : unsets.value(nextUnset++);
            if (!parseChange(args.value(0), text, set, changes.emplace_back()))
                return kExitUsage;
        }
        return changeMappings(args.value(0), changes);
    }

    QTextStream out(stdout);
    for (const QString &name : link::portChoices()) {
        const link::PortMapping m = link::mapPortName(name);
        out << name << "  " << (m.device.isEmpty() ? QStringLiteral("-") : platform::shown(m.device)) << "  ("
            << link::portSourceText(name, m.source) << ")\n";
    }
    out << '\n';
    const QList<QSerialPortInfo> ports = link::orderedPorts();
    if (ports.isEmpty())
        out << "No serial ports found.\n";
    for (const QSerialPortInfo &p : ports) {
        out << p.systemLocation();
        if (!p.description().isEmpty())
            out << "  " << p.description();
        if (!p.manufacturer().isEmpty())
            out << "  " << p.manufacturer();
        if (p.hasVendorIdentifier())
            out << "  USB " << hex4(p.vendorIdentifier()) << ':'
                << (p.hasProductIdentifier() ? hex4(p.productIdentifier()) : QStringLiteral("????"));
        if (!p.serialNumber().isEmpty())
            out << "  serial " << p.serialNumber();
        out << '\n';
    }
    return kExitOk;
}

}  // namespace tavin::cli
