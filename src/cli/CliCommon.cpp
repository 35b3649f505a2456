#include "CliCommon.h"

#include "ExitCodes.h"
#include "NativePath.h"
#include "NewDocument.h"

#include <QCommandLineParser>
#include <QTextStream>

namespace tavin::cli {

std::filesystem::path toPath(const QString &fileName)
{
    return platform::toNative(fileName);
}

QString quoted(const QString &fileName)
{
    return platform::quoted(fileName);
}

bool sameFile(const QString &a, const QString &b)
{
    std::error_code ec;
    return std::filesystem::equivalent(toPath(a), toPath(b), ec) && !ec;
}

void reportError(const QString &verb, const QString &message)
{
    QTextStream(stderr) << verb << ": " << platform::shown(message) << '\n';
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
    std::size_t bytesRead = 0;
    const FileResult loaded = loadChannelFile(toPath(fileName), image, HiddenPreset::Uhf, &bytesRead);
    if (!loaded) {
        reportError(verb, QString::fromStdString(loaded.error));
        return kExitFile;
    }
    if (bytesRead == 0) {
        reportError(verb, QStringLiteral("channel file %1 is empty; a channel file holds %2 bytes")
                              .arg(quoted(fileName)).arg(kImageSize));
        return kExitFile;
    }
    if (bytesRead > kImageSize)
        reportError(verb, QStringLiteral("warning: channel file %1 is longer than %2 bytes; only its first %2 bytes are used")
                              .arg(quoted(fileName)).arg(kImageSize));
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
