#include "RadioSession.h"

#include "CliCommon.h"
#include "CliTransferUi.h"
#include "ExitCodes.h"
#include "NativePath.h"
#include "PortNames.h"
#include "QtSerialLink.h"
#include "TerminalSeam.h"

#include "SafeReplace.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QTextStream>

namespace tavin::cli {

using link::Direction;
using link::TransferOutcome;

void addRadioOptions(QCommandLineParser &parser)
{
    parser.addOption(QCommandLineOption(QStringLiteral("port"),
                      QStringLiteral("The serial port: COM1 to COM4 (see 'tavin-cli ports') or a device path. Default COM1."),
                      QStringLiteral("P"), QStringLiteral("COM1")));
    parser.addOption(QCommandLineOption(QStringLiteral("retries"),
                      QStringLiteral("How often to try again when the radio does not answer (15 probes each). Default 0."),
                      QStringLiteral("N"), QStringLiteral("0")));
}

bool radioOptionsFrom(const QCommandLineParser &parser, const QString &verb, RadioOptions &options)
{
    options.verb = verb;
    options.port = parser.value(QStringLiteral("port"));
    bool ok = false;
    options.retries = parser.value(QStringLiteral("retries")).toInt(&ok);
    if (!ok || options.retries < 0) {
        reportError(verb, QStringLiteral("--retries needs a whole number of 0 or more, not '%1'")
                              .arg(parser.value(QStringLiteral("retries"))));
        return false;
    }
    if (options.port.isEmpty()) {
        reportError(verb, QStringLiteral("--port needs a port name or a device path"));
        return false;
    }
    return true;
}

int readRadioToFile(const RadioOptions &options, const QString &fileName, const QString &failureNote)
{
    const auto fail = [&](int code) {
        if (!failureNote.isEmpty())
            reportError(options.verb, failureNote);
        return code;
    };
    // Found out before the transfer, not after it.
    const std::filesystem::path path = toPath(fileName);
    if (const FileResult writable = checkReplaceable(path, "channel file"); !writable) {
        reportError(options.verb, QString::fromStdString(writable.error));
        return fail(kExitFile);
    }
    RadioImage image;
    if (const int code = runTransfer(options, Direction::Read, image))
        return fail(code);
    const FileResult stored = storeChannelFile(path, image);
    if (!stored) {
        reportError(options.verb, QString::fromStdString(stored.error));
        return fail(kExitFile);
    }
    return kExitOk;
}

int exitCodeFor(TransferOutcome outcome)
{
    switch (outcome) {
    case TransferOutcome::Completed:
        return kExitOk;
    case TransferOutcome::PortOpenFailed:
        return kExitPortOpen;
    case TransferOutcome::Cancelled:
        return kExitCancelled;
    case TransferOutcome::CancelledAtQuestion:
        return kExitNoAnswer;
    case TransferOutcome::WriteNotAcknowledged:
    case TransferOutcome::ReadReplyShort:
    case TransferOutcome::ReadAckMissing:
        return kExitTransfer;
    }
    return kExitTransfer;
}

bool parseRadioVerb(QCommandLineParser &parser, const QStringList &args, RadioOptions &options, int *exitCode)
{
    if (!parseOrExit(parser, args, exitCode))
        return false;
    if (!radioOptionsFrom(parser, args.value(0), options)) {
        *exitCode = kExitUsage;
        return false;
    }
    return true;
}

int runTransfer(const RadioOptions &options, Direction direction, RadioImage &image, link::TransferResult *outcome)
{
    installInterruptHandler();
    const bool reading = direction == Direction::Read;
    const QString what = reading ? QStringLiteral("reading") : QStringLiteral("writing");
    CliTransferUi ui(what, options.retries, stderrIsTerminal());
    link::QtSerialLink port;
    link::RadioProtocol protocol(port, ui);

    QElapsedTimer timer;
    timer.start();
    const link::TransferResult result = protocol.run(direction, options.port, image);
    ui.finish();
    if (outcome)
        *outcome = result;

    const QString portText = platform::shown(port.device().isEmpty() || port.device() == options.port
                                                 ? options.port
                                                 : QStringLiteral("%1 (%2)").arg(options.port, port.device()));
    QTextStream err(stderr);
    switch (result.outcome) {
    case TransferOutcome::Completed:
        err << what << ": " << result.blocksDone << " blocks " << (reading ? "from " : "to ") << portText << " in "
            << QString::number(double(timer.elapsed()) / 1000.0, 'f', 1) << " s\n";
        break;
    case TransferOutcome::PortOpenFailed:
        if (port.device().isEmpty())
            reportError(options.verb, QStringLiteral("no serial device found for %1 (see 'tavin-cli ports')").arg(options.port));
        else
            reportError(options.verb, QStringLiteral("cannot open %1: %2").arg(portText, port.errorString()));
        break;
    case TransferOutcome::Cancelled:
        reportError(options.verb, QStringLiteral("cancelled after %1 blocks; the port is closed").arg(result.blocksDone));
        break;
    case TransferOutcome::CancelledAtQuestion:
        reportError(options.verb, QStringLiteral("the radio on %1 does not answer").arg(portText));
        break;
    case TransferOutcome::WriteNotAcknowledged:
        reportError(options.verb, QStringLiteral("the radio did not acknowledge block %1 (address 0x%2); "
                                                 "it holds the %3 blocks before it")
                                      .arg(result.failedBlock)
                                      .arg(result.failedBlock * 8, 3, 16, QLatin1Char('0'))
                                      .arg(result.blocksDone));
        break;
    case TransferOutcome::ReadReplyShort:
    case TransferOutcome::ReadAckMissing:
        reportError(options.verb, QStringLiteral("read failed at block %1 (address 0x%2)")
                                      .arg(result.failedBlock)
                                      .arg(result.failedBlock * 8, 3, 16, QLatin1Char('0')));
        break;
    }
    return exitCodeFor(result.outcome);
}

}  // namespace tavin::cli
