// tavin-cli ports: which device each of COM1 to COM4 stands for, and every
// serial port found.

#include "CliCommon.h"
#include "ExitCodes.h"
#include "PortNames.h"
#include "Verbs.h"

#include <QCommandLineParser>
#include <QTextStream>

namespace tavin::cli {

namespace {

QString sourceText(link::PortSource source)
{
    switch (source) {
    case link::PortSource::Itself:
        return QStringLiteral("the port itself");
    case link::PortSource::Environment:
        return QStringLiteral("from the environment");
    case link::PortSource::Settings:
        return QStringLiteral("from the settings");
    case link::PortSource::Found:
        return QStringLiteral("found");
    case link::PortSource::Missing:
        break;
    }
    return QStringLiteral("no device");
}

QString hex4(quint16 id)
{
    return QString::number(id, 16).rightJustified(4, QLatin1Char('0'));
}

}  // namespace

int cmdPorts(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "List the port names COM1 to COM4 with the device each one maps to, then every serial port found.\n"
        "On Linux and macOS, COMn is the device named by the environment variable TAVIN_COMn, else the\n"
        "settings value Ports/COMn, else the n-th port found (USB serial adapters first)."));
    int exitCode = kExitOk;
    if (!parseOrExit(parser, args, &exitCode))
        return exitCode;
    if (!parser.positionalArguments().isEmpty()) {
        reportError(args.value(0), QStringLiteral("takes no arguments"));
        return kExitUsage;
    }

    QTextStream out(stdout);
    for (const QString &name : link::portChoices()) {
        const link::PortMapping m = link::mapPortName(name);
        out << name << "  " << (m.device.isEmpty() ? QStringLiteral("-") : m.device) << "  (" << sourceText(m.source)
            << ")\n";
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
