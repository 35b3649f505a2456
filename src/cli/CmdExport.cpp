// tavin-cli export FILE.sin: the channels of a channel file as a list for
// spreadsheets, scripts and other programming tools.

#include "ChannelListExport.h"
#include "CliCommon.h"
#include "ExitCodes.h"
#include "SafeReplace.h"
#include "StandardStreams.h"
#include "Verbs.h"

#include <QCommandLineParser>

#include <filesystem>

namespace tavin::cli {

int cmdExport(const QStringList &args)
{
    const QString verb = args.value(0);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Write the channels of a channel file as a list: native CSV (the grid's columns, UTF-8 for "
        "spreadsheets), the interchange CSV of other programming tools, or JSON with the settings."));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("The list file to write (default: stdout)."), QStringLiteral("OUT"));
    const QCommandLineOption format(QStringLiteral("format"),
                                    QStringLiteral("native (default), interchange or json."), QStringLiteral("FORMAT"),
                                    QStringLiteral("native"));
    parser.addOption(output);
    parser.addOption(format);
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The channel file (*.sin)."));
    int exitCode = kExitOk;
    if (!parseOrExit(parser, args, &exitCode))
        return exitCode;
    const QString fileName = singleFileArgument(parser, verb);
    if (fileName.isEmpty())
        return kExitUsage;
    const std::optional<lists::ListFormat> listFormat = lists::formatFromName(parser.value(format));
    if (!listFormat) {
        reportError(verb, QStringLiteral("unknown format '%1': native, interchange or json").arg(parser.value(format)));
        return kExitUsage;
    }
    const QString outName = parser.value(output);
    if (!outName.isEmpty() && sameFile(outName, fileName)) {
        reportError(verb, QStringLiteral("'%1' is the channel file itself; choose another output").arg(outName));
        return kExitUsage;
    }

    RadioImage image;
    if (const int loaded = loadWholeChannelFile(verb, fileName, image))
        return loaded;
    const lists::ExportOutcome exported = lists::exportChannelImage(*listFormat, image);
    for (const std::string &notice : exported.notices)
        reportError(verb, QString::fromStdString(notice));

    if (outName.isEmpty() || outName == QLatin1String("-"))
        return writeStandardOutput(exported.bytes) ? kExitOk : kExitFile;
    const std::string_view bytes(exported.bytes.constData(), std::size_t(exported.bytes.size()));
    const FileResult stored = replaceFileContents(toPath(outName), bytes, "channel list");
    if (!stored) {
        reportError(verb, QString::fromStdString(stored.error));
        return kExitFile;
    }
    return kExitOk;
}

}  // namespace tavin::cli
