// tavin-cli read --port P -o FILE: the radio's 1024 bytes into a channel file.

#include "CliCommon.h"
#include "ExitCodes.h"
#include "RadioSession.h"
#include "Verbs.h"

#include <QCommandLineParser>

namespace tavin::cli {

int cmdRead(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Read the radio's whole memory into a channel file. The file is written only after all 128 blocks\n"
        "have arrived, so a failed or cancelled read leaves an existing file as it was."));
    addRadioOptions(parser);
    const QCommandLineOption output(QStringList{QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("The channel file to write (*.sin)."), QStringLiteral("FILE"));
    parser.addOption(output);
    int exitCode = kExitOk;
    RadioOptions options;
    if (!parseRadioVerb(parser, args, options, &exitCode))
        return exitCode;
    const QString verb = args.value(0);
    if (!parser.isSet(output) || parser.value(output).isEmpty() || !parser.positionalArguments().isEmpty()) {
        reportError(verb, QStringLiteral("expected -o FILE and no other arguments"));
        return kExitUsage;
    }
    return readRadioToFile(options, parser.value(output));
}

}  // namespace tavin::cli
