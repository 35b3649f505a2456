#include "CliCommon.h"

#include "ExitCodes.h"
#include "NewDocument.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace tavin::cli {

std::filesystem::path toPath(const QString &fileName)
{
#if defined(_WIN32)
    return std::filesystem::path(fileName.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(fileName).toStdString());
#endif
}

void reportError(const QString &verb, const QString &message)
{
    QTextStream(stderr) << verb << ": " << message << '\n';
}

bool parseOrExit(QCommandLineParser &parser, const QStringList &args, int *exitCode)
{
    const QCommandLineOption help = parser.addHelpOption();
    if (!parser.parse(args)) {
        reportError(args.value(0), parser.errorText());
        QTextStream(stderr) << parser.helpText();
        *exitCode = kExitUsage;
        return false;
    }
    if (parser.isSet(help)) {
        QTextStream(stdout) << parser.helpText();
        *exitCode = kExitOk;
        return false;
    }
    return true;
}

QString singleFileArgument(const QCommandLineParser &parser, const QString &verb)
{
    if (parser.positionalArguments().size() == 1)
        return parser.positionalArguments().constFirst();
    reportError(verb, QStringLiteral("expected one channel file"));
    return {};
}

int loadWholeChannelFile(const QString &verb, const QString &fileName, RadioImage &image)
{
    const FileResult loaded = loadChannelFile(toPath(fileName), image);
    if (!loaded) {
        reportError(verb, QString::fromStdString(loaded.error));
        return kExitFile;
    }
    const qint64 size = QFileInfo(fileName).size();
    if (size == 0) {
        reportError(verb, QStringLiteral("channel file '%1' is empty; a channel file holds %2 bytes")
                              .arg(fileName).arg(kImageSize));
        return kExitFile;
    }
    if (size > qint64(kImageSize))
        reportError(verb, QStringLiteral("warning: channel file '%1' is %2 bytes long; only its first %3 bytes are used")
                              .arg(fileName).arg(size).arg(kImageSize));
    return kExitOk;
}

int loadFileArgument(const QCommandLineParser &parser, const QString &verb, QString *fileName, RadioImage &image)
{
    *fileName = singleFileArgument(parser, verb);
    if (fileName->isEmpty())
        return kExitUsage;
    return loadWholeChannelFile(verb, *fileName, image);
}

int loadDecodedChannelFile(const QString &verb, const QString &fileName, ChannelTable &channels,
                           BoxSelections &selections)
{
    RadioImage image;
    if (const int loaded = loadWholeChannelFile(verb, fileName, image))
        return loaded;
    selections = initialFormSelections();
    decodeImage(image, channels, selections);
    return kExitOk;
}

}  // namespace tavin::cli
