// tavin-cli clone FILE --port P [--port P ...]: one channel file into radio
// after radio, on one cable or several at once, with a backup and an audit
// log record for each radio. The work is done by src/fleet; this is the glue.

#include "CliCommon.h"
#include "ConsoleBoard.h"
#include "ExitCodes.h"
#include "LineInput.h"
#include "NativePath.h"
#include "SafeReplace.h"
#include "TerminalSeam.h"
#include "Verbs.h"

#include "CloneOptions.h"
#include "CloneReport.h"
#include "CloneRun.h"

#include <QCommandLineParser>
#include <QDate>
#include <QTextStream>

#include <algorithm>
#include <cerrno>
#include <fstream>

namespace tavin::cli {

namespace {

using fleet::FailureKind;
using fleet::RadioRecord;
using fleet::RadioResult;

// How often the run is looked at for Ctrl+C and the end of its ports.
constexpr int kWatchMs = 50;

// Worst first: a radio left half-written by a cancel, then one that holds
// wrong programming, then one whose programming is unchecked, then the
// failures that left the radio as it was or part-written.
constexpr int kSeverity[] = {kExitCancelled, kExitVerifyMismatch, kExitUnverified, kExitTransfer,
                             kExitNoAnswer,  kExitPortOpen,       kExitFile,       kExitOk};

int exitCodeOf(const RadioRecord &r)
{
    switch (r.result) {
    case RadioResult::Verified:
        return kExitOk;
    case RadioResult::VerifyMismatch:
        return kExitVerifyMismatch;
    case RadioResult::Cancelled:
        return kExitCancelled;
    case RadioResult::Failed:
        break;
    }
    switch (r.failure) {
    case FailureKind::File:
        return kExitFile;
    case FailureKind::PortOpen:
        return kExitPortOpen;
    case FailureKind::NoAnswer:
        return kExitNoAnswer;
    case FailureKind::Unverified:
        return kExitUnverified;
    case FailureKind::Transfer:
    case FailureKind::None:
        break;
    }
    return kExitTransfer;
}

int worse(int a, int b)
{
    const auto rank = [](int code) { return std::find(std::begin(kSeverity), std::end(kSeverity), code); };
    return rank(a) < rank(b) ? a : b;
}

// Reads at most limit + 1 bytes of a file: enough to tell that it is too large.
bool readUpTo(const QString &path, qsizetype limit, QByteArray *contents, int *error)
{
    constexpr qsizetype kChunk = 64 * 1024;
    errno = 0;
    std::ifstream file(toPath(path), std::ios::binary);
    while (file && contents->size() <= limit) {
        const qsizetype had = contents->size();
        contents->resize(had + kChunk);
        file.read(contents->data() + had, kChunk);
        contents->resize(had + qsizetype(file.gcount()));
    }
    *error = errno;
    return file.is_open() && !file.bad();
}

int showLog(const QString &verb, const QString &logPath)
{
    QByteArray contents;
    int error = 0;
    if (!readUpTo(logPath, fleet::kLargestAuditLog, &contents, &error)) {
        reportError(verb, QStringLiteral("cannot read the audit log %1: %2")
                              .arg(quoted(logPath), error ? QString::fromStdString(systemErrorText(error))
                                                          : QStringLiteral("it cannot be read")));
        return kExitFile;
    }
    if (contents.size() > fleet::kLargestAuditLog) {
        reportError(verb, QStringLiteral("%1 is larger than %2 MiB, the largest audit log that is read "
                                         "(some 60,000 radios); nothing is shown")
                              .arg(quoted(logPath))
                              .arg(fleet::kLargestAuditLog / (1024 * 1024)));
        return kExitFile;
    }
    const fleet::LogContents log = fleet::readLog(contents);
    for (const QString &problem : log.problems)
        reportError(verb, QStringLiteral("%1: %2").arg(quoted(logPath), problem));
    if (log.problemLines > log.problems.size())
        reportError(verb, QStringLiteral("%1: %2 more lines that are not radio records")
                              .arg(quoted(logPath))
                              .arg(log.problemLines - log.problems.size()));
    if (log.records.isEmpty() && log.problemLines > 0) {
        reportError(verb, QStringLiteral("%1 holds no radio records").arg(quoted(logPath)));
        return kExitFile;
    }
    QTextStream(stdout) << fleet::logTable(log.records);
    return kExitOk;
}

// Until every port has ended: Ctrl+C stops the run at the next safe point;
// with --confirm each Enter lets the port go on that has waited longest.
void watchRun(fleet::CloneRun &run, ConsoleBoard &board)
{
    bool stopSent = false;
    bool inputOpen = run.options().confirm;
    const bool echoes = inputOpen && inputIsTerminal();
    for (;;) {
        if (!stopSent && interruptRequested()) {
            stopSent = true;
            run.stop();
            board.note(QStringLiteral("clone: stopping; every port ends its radio at the next safe point "
                                      "(Ctrl+C again ends at once)"));
        }
        if (!inputOpen) {
            if (run.wait(kWatchMs))
                return;
            continue;
        }
        switch (waitForInputLine(kWatchMs)) {
        case LineEvent::Line:
            if (echoes)
                board.enterEchoed();
            if (!run.goAhead())
                board.note(QStringLiteral("clone: no port is waiting for Enter"));
            break;
        case LineEvent::End:
            inputOpen = false;
            run.finish();
            board.note(QStringLiteral("clone: the input has ended; no new radio starts"));
            break;
        case LineEvent::None:
            break;
        }
        if (run.wait(0))
            return;
    }
}

}  // namespace

int cmdClone(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Program one channel file into radio after radio: on each port, wait for a radio, read it into a\n"
        "backup, write bytes 0x000 to 0x3D7 of FILE, read it back and compare, record it in the audit log,\n"
        "then wait until it is unplugged. Several ports work at once. Ctrl+C stops at the next safe point."));
    const QCommandLineOption port(QStringLiteral("port"),
                                  QStringLiteral("A port with a programming cable: COM1 to COM4 or a device path. "
                                                 "Give it once per port. Default COM1."),
                                  QStringLiteral("P"));
    const QCommandLineOption backupDir(QStringLiteral("backup-dir"),
                                       QStringLiteral("Folder for the radios' backups (created when missing). "
                                                      "Default: FILE's name and the date, beside FILE."),
                                       QStringLiteral("DIR"));
    const QCommandLineOption log(QStringLiteral("log"),
                                 QStringLiteral("The audit log, appended (JSON Lines). Default: clone-log.jsonl in "
                                                "the backup folder."),
                                 QStringLiteral("FILE"));
    const QCommandLineOption count(QStringLiteral("count"),
                                   QStringLiteral("Stop after N radios over all ports (verified or not). Default: "
                                                  "until Ctrl+C."),
                                   QStringLiteral("N"));
    const QCommandLineOption confirm(QStringLiteral("confirm"),
                                     QStringLiteral("Between radios, wait for Enter instead of the radio being unplugged."));
    const QCommandLineOption summary(QStringLiteral("summary"),
                                     QStringLiteral("Only print the table of an existing audit log."),
                                     QStringLiteral("LOG"));
    parser.addOptions({port, backupDir, log, count, confirm, summary});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The channel file (*.sin) to program."));
    int exitCode = kExitOk;
    if (!parseOrExit(parser, args, &exitCode))
        return exitCode;
    const QString verb = args.value(0);

    if (parser.isSet(summary)) {
        if (!parser.positionalArguments().isEmpty() || parser.isSet(port) || parser.isSet(count)) {
            reportError(verb, QStringLiteral("--summary takes only the log; no FILE or ports"));
            return kExitUsage;
        }
        return showLog(verb, parser.value(summary));
    }

    fleet::CloneOptions options;
    if (const int loaded = loadFileArgument(parser, verb, &options.fileName, options.image))
        return loaded;
    options.ports = parser.values(port);
    if (options.ports.isEmpty())
        options.ports = QStringList{QStringLiteral("COM1")};
    if (options.ports.contains(QString())) {
        reportError(verb, QStringLiteral("--port needs a port name or a device path"));
        return kExitUsage;
    }
    if (parser.isSet(count)) {
        bool ok = false;
        options.count = parser.value(count).toInt(&ok);
        if (!ok || options.count < 1) {
            reportError(verb, QStringLiteral("--count needs a whole number of 1 or more, not '%1'").arg(parser.value(count)));
            return kExitUsage;
        }
    }
    for (const QCommandLineOption *path : {&backupDir, &log}) {
        if (parser.isSet(*path) && parser.value(*path).isEmpty()) {
            reportError(verb, QStringLiteral("--%1 needs a path").arg(path->names().constFirst()));
            return kExitUsage;
        }
    }
    options.backupDir = platform::absolutePath(parser.isSet(backupDir)
                                                   ? parser.value(backupDir)
                                                   : fleet::defaultBackupDir(options.fileName, QDate::currentDate()));
    options.logPath =
        platform::absolutePath(parser.isSet(log) ? parser.value(log) : fleet::defaultLogPath(options.backupDir));
    options.confirm = parser.isSet(confirm);

    installInterruptHandler();
    ConsoleBoard board(stderr, stderrIsTerminal(), options.confirm);
    fleet::CloneRun run(options, board);
    if (const std::optional<fleet::Problem> problem = run.prepare()) {
        reportError(verb, problem->message);
        switch (problem->kind) {
        case fleet::Problem::Kind::Usage:
            return kExitUsage;
        case fleet::Problem::Kind::File:
            return kExitFile;
        case fleet::Problem::Kind::Port:
            return kExitPortOpen;
        }
    }
    board.setPorts(run.portLabels());
    QTextStream(stderr) << "clone: " << platform::shown(options.fileName) << " into "
                        << (options.count > 0 ? QStringLiteral("%1 radios").arg(options.count)
                                              : QStringLiteral("every radio connected until Ctrl+C"))
                        << " on " << platform::shown(run.portLabels().join(QStringLiteral(", "))) << "\nclone: backups in "
                        << platform::shown(options.backupDir) << ", audit log " << platform::shown(options.logPath) << '\n';
    run.start();
    watchRun(run, board);
    board.finish();

    const QList<RadioRecord> records = run.records();
    QTextStream(stdout) << fleet::runSummary(records, options.ports, run.portLabels());
    int code = kExitOk;
    for (const RadioRecord &r : records)
        code = worse(code, exitCodeOf(r));
    if (!run.logError().isEmpty()) {
        reportError(verb, run.logError());
        code = worse(code, kExitFile);
    }
    return code;
}

}  // namespace tavin::cli
