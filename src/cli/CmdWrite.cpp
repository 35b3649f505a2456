// tavin-cli write --port P FILE: bytes 0x000 to 0x3D7 of a channel file into
// the radio, as they are; optionally backing the radio up first and reading
// it back afterwards.

#include "CliCommon.h"
#include "ExitCodes.h"
#include "RadioSession.h"
#include "Verbs.h"
#include "VerifyRadio.h"

#include <QCommandLineParser>
#include <QTextStream>

#include <system_error>

namespace tavin::cli {

namespace {

// After a write that did not finish: what the radio holds now, and how to
// bring it to a known programming again.
void explainUnfinishedWrite(const RadioOptions &options, const link::TransferResult &result, const QString &fileName,
                            const QString &backupName)
{
    if (!result.leftRadioPartlyWritten()) {
        reportError(options.verb, QStringLiteral("nothing was written to the radio; its programming is as it was"));
        return;
    }
    reportError(options.verb, QStringLiteral("the radio now holds a mix of old and new programming "
                                             "(the first %1 of its %2 blocks are new)")
                                  .arg(result.blocksDone)
                                  .arg(link::wire::kWriteBlockCount));
    if (!backupName.isEmpty())
        reportError(options.verb, QStringLiteral("to restore its previous programming: tavin-cli write --port %1 %2")
                                      .arg(options.port, quoted(backupName)));
    reportError(options.verb, QStringLiteral("to finish the new programming: tavin-cli write --port %1 %2")
                                  .arg(options.port, quoted(fileName)));
}

}  // namespace

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
    if (parser.isSet(backup) && parser.value(backup).isEmpty()) {
        reportError(verb, QStringLiteral("--backup needs a file name"));
        return kExitUsage;
    }
    QString fileName;
    RadioImage image;
    if (const int loaded = loadFileArgument(parser, verb, &fileName, image))
        return loaded;

    const QString backupName = parser.value(backup);
    if (!backupName.isEmpty()) {
        if (sameFile(fileName, backupName)) {
            reportError(verb, QStringLiteral("the backup would overwrite the file to write"));
            return kExitUsage;
        }
        if (const int code = readRadioToFile(options, backupName,
                                             QStringLiteral("no backup, so nothing was written to the radio")))
            return code;
        QTextStream(stderr) << "backup: the radio's programming is saved in " << quoted(backupName) << '\n';
    }

    link::TransferResult written;
    if (const int code = runTransfer(options, link::Direction::Write, image, &written)) {
        explainUnfinishedWrite(options, written, fileName, backupName);
        return code;
    }
    if (!parser.isSet(verify))
        return kExitOk;
    const int verified = verifyRadio(options, image);
    if (verified == kExitOk || verified == kExitVerifyMismatch)
        return verified;
    // The write itself went through: only the check is missing.
    reportError(verb, QStringLiteral("the radio holds the new programming, unverified: reading it back failed; "
                                     "check it with: tavin-cli verify --port %1 %2")
                          .arg(options.port, quoted(fileName)));
    return kExitUnverified;
}

}  // namespace tavin::cli
