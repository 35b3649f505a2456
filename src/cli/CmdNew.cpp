// tavin-cli new -o FILE: the channel file the desktop program saves for a new
// document, byte for byte.

#include "CliCommon.h"
#include "Codec.h"
#include "ExitCodes.h"
#include "NewDocument.h"
#include "Verbs.h"

#include <QCommandLineParser>

namespace tavin::cli {

int cmdNew(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Write the channel file of a new document."));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("The channel file to write (*.sin)."), QStringLiteral("FILE"));
    parser.addOption(output);
    int exitCode = kExitOk;
    if (!parseOrExit(parser, args, &exitCode))
        return exitCode;
    if (!parser.isSet(output) || parser.value(output).isEmpty() || !parser.positionalArguments().isEmpty()) {
        reportError(args.value(0), QStringLiteral("expected -o FILE and nothing else"));
        return kExitUsage;
    }

    const RadioImage image = savedNewDocument();
    const FileResult stored = storeChannelFile(toPath(parser.value(output)), image);
    if (!stored) {
        reportError(args.value(0), QString::fromStdString(stored.error));
        return kExitFile;
    }
    return kExitOk;
}

}  // namespace tavin::cli
