// tavin-cli import INPUT -o OUT.sin: a channel list (native CSV, interchange
// CSV or JSON) through the editor's rules into a channel file. Every refused
// cell is named; nothing is written unless the whole list is accepted.

#include "ChannelListImport.h"
#include "CliCommon.h"
#include "ExitCodes.h"
#include "ListFile.h"
#include "NativePath.h"
#include "NewDocument.h"
#include "SafeReplace.h"
#include "SettingText.h"
#include "StandardStreams.h"
#include "ToneTable.h"
#include "Verbs.h"

#include <QCommandLineParser>
#include <QTextStream>

#include <cerrno>
#include <filesystem>
#include <fstream>

namespace tavin::cli {

namespace {

// The list's bytes from a file or, for "-", from stdin.
bool readInput(const QString &verb, const QString &name, QByteArray *bytes)
{
    QString error;
    if (name == QLatin1String("-")) {
        if (readStandardInput(bytes, lists::kLargestListFile, &error))
            return true;
        reportError(verb, QStringLiteral("cannot read the channel list from stdin: %1").arg(error));
        return false;
    }
    const FileResult read = lists::readListFile(toPath(name), bytes);
    if (!read)
        reportError(verb, QString::fromStdString(read.error));
    return bool(read);
}

}  // namespace

int cmdImport(const QStringList &args)
{
    const QString verb = args.value(0);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Make a channel file from a channel list (native CSV, interchange CSV or JSON, told apart by content), "
        "checked by the editor's rules. Channels the list does not name keep what BASE holds."));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("The channel file to write (*.sin)."), QStringLiteral("OUT"));
    const QCommandLineOption base(QStringLiteral("base"),
                                  QStringLiteral("Start from this channel file (default: a new document)."),
                                  QStringLiteral("BASE"));
    const QCommandLineOption band(QStringLiteral("band"),
                                  QStringLiteral("Check the frequencies against this band, e.g. \"400 - 470MHZ\"."),
                                  QStringLiteral("TEXT"));
    parser.addOption(output);
    parser.addOption(base);
    parser.addOption(band);
    parser.addPositionalArgument(QStringLiteral("INPUT"), QStringLiteral("The channel list; - reads stdin."));
    int exitCode = kExitOk;
    if (!parseOrExit(parser, args, &exitCode))
        return exitCode;
    if (parser.positionalArguments().size() != 1 || !parser.isSet(output)) {
        reportError(verb, QStringLiteral("expected one channel list and -o OUT.sin"));
        return kExitUsage;
    }
    const QString inputName = parser.positionalArguments().constFirst();
    const QString outName = parser.value(output);
    if (inputName != QLatin1String("-") && sameFile(outName, inputName)) {
        reportError(verb, QStringLiteral("'%1' is the channel list itself; choose another output").arg(outName));
        return kExitUsage;
    }
    lists::ImportOptions options;
    if (parser.isSet(band)) {
        options.band = lists::entryIndex(SettingBox::Band, parser.value(band));
        if (!options.band) {
            reportError(verb, QStringLiteral("unknown band '%1'; the bands are %2")
                                  .arg(parser.value(band), QString::fromStdString(lists::entryList(SettingBox::Band))));
            return kExitUsage;
        }
    }

    RadioImage start = savedNewDocument();
    if (parser.isSet(base)) {
        if (const int loaded = loadWholeChannelFile(verb, parser.value(base), start))
            return loaded;
    }
    QByteArray bytes;
    if (!readInput(verb, inputName, &bytes))
        return kExitFile;

    const ToneTable tones;
    const lists::ImportOutcome outcome = lists::importChannelList(bytes, start, options, tones);
    for (const std::string &notice : outcome.notices)
        reportError(verb, QString::fromStdString(notice));
    if (outcome.refused()) {
        const std::string source =
            inputName == QLatin1String("-") ? "<stdin>" : platform::shown(inputName).toStdString();
        QTextStream err(stderr);
        for (const lists::ListProblem &problem : outcome.problems)
            err << platform::shown(QString::fromStdString(lists::problemLine(source, problem))) << '\n';
        err.flush();
        reportError(verb, QStringLiteral("%1 refused (%2 %3); nothing was written")
                              .arg(QString::fromStdString(source))
                              .arg(outcome.problems.size())
                              .arg(outcome.problems.size() == 1 ? QStringLiteral("error") : QStringLiteral("errors")));
        return kExitRefusedData;
    }

    const FileResult stored = storeChannelFile(toPath(outName), outcome.image);
    if (!stored) {
        reportError(verb, QString::fromStdString(stored.error));
        return kExitFile;
    }
    return kExitOk;
}

}  // namespace tavin::cli
