// tavin-cli write --port P FILE: bytes 0x000 to 0x3D7 of a channel file into
// the radio, as they are; optionally backing the radio up first and reading
// it back afterwards.

#include "CliCommon.h"
#include "ExitCodes.h"
#include "RadioSession.h"
#include "Verbs.h"
#include "VerifyRadio.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QTextStream>

namespace tavin::cli {

int cmdWrite(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Write bytes 0x000 to 0x3D7 of a channel file into the radio, unchanged (the last 40 bytes are never\n"
        "written to a radio)."));
    addRadioOptions(parser);
    const QCommandLineOption backup(QStringLiteral("backup"),
                                    QStringLiteral("First read the radio into this channel file; no write if that fails."),
                                    QStringLiteral("FILE"));
    const QCommandLineOption verify(QStringLiteral("verify"), QStringLiteral("Read the radio back afterwards and compare."));
    parser.addOption(backup);
    parser.addOption(verify);
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The channel file (*.sin) to write."));
    int exitCode = kExitOk;
    RadioOptions options;
    if (!parseRadioVerb(parser, args, options, &exitCode))
        return exitCode;
    const QString verb = args.value(0);
    QString fileName;
    RadioImage image;
    if (const int loaded = loadFileArgument(parser, verb, &fileName, image))
        return loaded;

    if (parser.isSet(backup)) {
        const QString backupName = parser.value(backup);
        if (QFileInfo(fileName).canonicalFilePath() == QFileInfo(backupName).canonicalFilePath()) {
            reportError(verb, QStringLiteral("the backup would overwrite the file to write"));
            return kExitUsage;
        }
        if (const int code = readRadioToFile(options, backupName, QStringLiteral("; nothing was written to the radio")))
            return code;
        QTextStream(stderr) << "backup: the radio's programming is saved in " << backupName << '\n';
    }

    if (const int code = runTransfer(options, link::Direction::Write, image))
        return code;
    if (parser.isSet(verify))
        return verifyRadio(options, image);
    return kExitOk;
}

}  // namespace tavin::cli
