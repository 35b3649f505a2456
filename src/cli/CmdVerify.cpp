// tavin-cli verify --port P FILE: reads the radio and names every channel or
// setting that differs from the file in the part a write sends.

#include "CliCommon.h"
#include "ExitCodes.h"
#include "RadioSession.h"
#include "Verbs.h"
#include "VerifyRadio.h"

#include <QCommandLineParser>

namespace tavin::cli {

int cmdVerify(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Read the radio and compare bytes 0x000 to 0x3D7 (all that a write sends) with a channel file."));
    addRadioOptions(parser);
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The channel file (*.sin)."));
    int exitCode = kExitOk;
    RadioOptions options;
    if (!parseRadioVerb(parser, args, options, &exitCode))
        return exitCode;
    QString fileName;
    RadioImage expected;
    if (const int loaded = loadFileArgument(parser, args.value(0), &fileName, expected))
        return loaded;
    return verifyRadio(options, expected);
}

}  // namespace tavin::cli
