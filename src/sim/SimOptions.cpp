#include "SimOptions.h"

#include <NativePath.h>

#include <QCommandLineParser>
#include <QStringList>

namespace tavin::sim {

namespace {

// File names byte for byte, as the other programs take them.
std::filesystem::path toPath(const QString &text)
{
    return platform::toNative(text);
}

}  // namespace

ParseOutcome parseOptions(const QStringList &arguments, SimOptions &options, std::string &message)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "A virtual radio: plays the radio's side of the programming protocol on a pseudo-terminal.\n"
        "Prints the device path as the first line of standard output and serves transfers until\n"
        "interrupted."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption link(QStringLiteral("link"),
                                  QStringLiteral("Also make a symbolic link <path> to the device (removed on exit)."),
                                  QStringLiteral("path"));
    const QCommandLineOption file(QStringLiteral("file"),
                                  QStringLiteral("Load the radio's memory from a channel file (default: a demo)."),
                                  QStringLiteral("file"));
    const QCommandLineOption save(QStringLiteral("save"),
                                  QStringLiteral("Save the memory to <file> after each complete write."),
                                  QStringLiteral("file"));
    const QCommandLineOption fast(QStringLiteral("fast"), QStringLiteral("No 9600-baud line timing."));
    const QCommandLineOption log(QStringLiteral("log"),
                                 QStringLiteral("Record every byte in both directions with a time stamp."),
                                 QStringLiteral("file"));
    const QCommandLineOption fault(
        QStringLiteral("fault"),
        QStringLiteral("Misbehave in one way: %1. Blocks count from 0 (block N is at address 8*N).")
            .arg(QString::fromStdString(faultNames())),
        QStringLiteral("mode"));
    const QCommandLineOption silentProbes(QStringLiteral("silent-probes"),
                                          QStringLiteral("Ignore the first <k> probes, then answer."),
                                          QStringLiteral("k"));
    const QCommandLineOption radios(QStringLiteral("radios"),
                                    QStringLiteral("Play <k> radios one after another: a radio that has been written "
                                                   "and then read in full is unplugged, and after the swap time the "
                                                   "next one, with a memory of its own, answers. After the last one "
                                                   "the line stays silent."),
                                    QStringLiteral("k"));
    const QCommandLineOption swapMs(QStringLiteral("swap-ms"),
                                    QStringLiteral("With --radios: how long the line is dead between two radios "
                                                   "(default 1500)."),
                                    QStringLiteral("ms"));
    const QCommandLineOption saveDir(QStringLiteral("save-dir"),
                                     QStringLiteral("Keep each radio's memory in <dir>: radio-N-original.sin as it "
                                                    "was plugged in, radio-N.sin as it was unplugged (or when the sim "
                                                    "stops)."),
                                     QStringLiteral("dir"));
    parser.addOptions({link, file, save, fast, log, fault, silentProbes, radios, swapMs, saveDir});

    if (!parser.parse(arguments)) {
        message = parser.errorText().toStdString();
        return ParseOutcome::UsageError;
    }
    if (parser.isSet(help)) {
        message = parser.helpText().toStdString();
        return ParseOutcome::Exit;
    }
    if (parser.isSet(version)) {
        message = "tavin-sim " + QCoreApplication::applicationVersion().toStdString() + '\n';
        return ParseOutcome::Exit;
    }
    if (!parser.positionalArguments().isEmpty()) {
        message = "unexpected argument: " + parser.positionalArguments().first().toStdString();
        return ParseOutcome::UsageError;
    }
    for (const QCommandLineOption *once : {&link, &file, &save, &log, &fault, &silentProbes, &radios, &swapMs, &saveDir}) {
        if (parser.values(*once).size() > 1) {
            message = "option --" + once->names().first().toStdString() + " given more than once";
            return ParseOutcome::UsageError;
        }
    }

    for (const QCommandLineOption *path : {&link, &file, &save, &log, &saveDir}) {
        if (parser.isSet(*path) && parser.value(*path).isEmpty()) {
            message = "option --" + path->names().first().toStdString() + " needs a path";
            return ParseOutcome::UsageError;
        }
    }

    options.radio.paced = !parser.isSet(fast);
    if (parser.isSet(fault)) {
        const std::optional<Fault> parsed = parseFault(parser.value(fault).toStdString());
        if (!parsed) {
            message = "unknown fault mode \"" + parser.value(fault).toStdString() + "\" (one of: " + faultNames()
                      + ")";
            return ParseOutcome::UsageError;
        }
        options.radio.fault = *parsed;
    }
    if (parser.isSet(silentProbes)) {
        bool ok = false;
        const int k = parser.value(silentProbes).toInt(&ok);
        if (!ok || k < 0) {
            message = "--silent-probes needs a whole number of 0 or more, not \""
                      + parser.value(silentProbes).toStdString() + "\"";
            return ParseOutcome::UsageError;
        }
        options.radio.silentProbes = k;
    }
    if (parser.isSet(radios)) {
        bool ok = false;
        const int k = parser.value(radios).toInt(&ok);
        if (!ok || k < 1) {
            message = "--radios needs a whole number of 1 or more, not \"" + parser.value(radios).toStdString() + "\"";
            return ParseOutcome::UsageError;
        }
        options.radio.radioCount = k;
    }
    if (parser.isSet(swapMs)) {
        bool ok = false;
        const int ms = parser.value(swapMs).toInt(&ok);
        if (!ok || ms < 0) {
            message = "--swap-ms needs a whole number of milliseconds, 0 or more, not \""
                      + parser.value(swapMs).toStdString() + "\"";
            return ParseOutcome::UsageError;
        }
        if (!parser.isSet(radios)) {
            message = "--swap-ms needs --radios";
            return ParseOutcome::UsageError;
        }
        options.radio.swapTime = std::chrono::milliseconds(ms);
    }
    if (parser.isSet(saveDir))
        options.radio.saveDir = toPath(parser.value(saveDir));
    if (parser.isSet(save))
        options.radio.savePath = toPath(parser.value(save));
    if (parser.isSet(link))
        options.linkPath = toPath(parser.value(link));
    if (parser.isSet(file))
        options.memoryFile = toPath(parser.value(file));
    if (parser.isSet(log))
        options.logPath = toPath(parser.value(log));
    return ParseOutcome::Run;
}

}  // namespace tavin::sim
