// tavin-cli doctor: checks what stands between the user and a working
// programming cable, each with a verdict and the command that fixes it.

#include "CliCommon.h"
#include "Doctor.h"
#include "ExitCodes.h"
#include "NativePath.h"
#include "SystemDoctor.h"
#include "Verbs.h"

#include <QCommandLineParser>
#include <QTextStream>

#include <cstdio>

namespace tavin::cli {

namespace {

// Says on stderr that the radio is being asked: one round of probes takes a while.
class AnnouncingProber final : public doctor::RadioProber {
public:
    explicit AnnouncingProber(bool announce) : m_announce(announce) {}
    doctor::ProbeResult probe(const QString &portName) override
    {
        if (m_announce)
            QTextStream(stderr) << "Asking the radio on " << platform::shown(portName) << " (up to 15 probes) ...\n";
        return m_serial.probe(portName);
    }

private:
    doctor::SerialRadioProber m_serial;
    bool m_announce = false;
};

}  // namespace

int cmdDoctor(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Check the serial ports, brltty, ModemManager, the permission to open the port, other programs\n"
        "holding it and what COM1 to COM4 stand for, and say how to fix what is in the way. With --port,\n"
        "also ask the radio for its identity (the handshake only: nothing is read or written).\n"
        "Exit code 0 when the port is ready (and with --port a radio answered), 4 when the port is\n"
        "not ready, 5 when no radio answered."));
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("The port to check and probe: COM1 to COM4 or a device path. "
                                                       "Without it COM1 is checked and no radio is asked."),
                                        QStringLiteral("P"));
    const QCommandLineOption jsonOption(QStringLiteral("json"), QStringLiteral("Print the findings as JSON."));
    parser.addOption(portOption);
    parser.addOption(jsonOption);
    int exitCode = kExitOk;
    if (!parseOrExit(parser, args, &exitCode))
        return exitCode;
    if (!parser.positionalArguments().isEmpty()) {
        reportError(args.value(0), QStringLiteral("takes no arguments"));
        return kExitUsage;
    }
    doctor::DoctorOptions options;
    if (parser.isSet(portOption)) {
        options.port = parser.value(portOption);
        options.probe = true;
        if (options.port.isEmpty()) {
            reportError(args.value(0), QStringLiteral("--port needs a port name or a device path"));
            return kExitUsage;
        }
    }

    AnnouncingProber prober(!parser.isSet(jsonOption));
    const doctor::DoctorReport report = doctor::runSystemDoctor(options, &prober);

    int code = kExitOk;
    if (!report.portReady || (report.probed && !report.portOpenedForProbe))
        code = kExitPortOpen;
    else if (report.probed && !report.radioAnswered)
        code = kExitNoAnswer;

    if (parser.isSet(jsonOption)) {
        const QByteArray json = report.json(code);
        std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    } else {
        // Device names are shown as messages show them, line by line.
        QStringList lines = report.text().split(QLatin1Char('\n'));
        for (QString &line : lines)
            line = platform::shown(line);
        QTextStream(stdout) << lines.join(QLatin1Char('\n'));
    }
    return code;
}

}  // namespace tavin::cli
