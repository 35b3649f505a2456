// tavin-cli dump FILE: the channels and settings of a channel file exactly as
// the editor shows them; --json for scripts.

#include "CliCommon.h"
#include "Codec.h"
#include "ExitCodes.h"
#include "JsonList.h"
#include "Verbs.h"

#include <QCommandLineParser>
#include <QTextStream>

namespace tavin::cli {

namespace {

// Terminal columns a text takes: East Asian characters are two wide.
int displayWidth(const QString &text)
{
    int width = 0;
    for (const QChar c : text)
        width += (c.unicode() >= 0x1100 && !c.isLowSurrogate()) ? 2 : 1;
    return width;
}

QString padded(const QString &text, int width)
{
    return text + QString(qMax(0, width - displayWidth(text)), QLatin1Char(' '));
}

const char *const kColumnHeaders[] = {"信道", "接收频率(MHz)", "发射频率(MHz)", "QT/DQT解码", "QT/DQT编码",
                                      "繁忙锁定", "宽/窄带", "扫描", "功率"};

void printText(QTextStream &out, const ChannelTable &channels, const BoxSelections &selections)
{
    constexpr int kWidths[] = {6, 15, 15, 12, 12, 10, 9, 6, 4};
    QString line;
    for (int c = 0; c <= kColumnCount; ++c)
        line += padded(QString::fromUtf8(kColumnHeaders[c]), kWidths[c]);
    out << line.trimmed() << '\n';
    for (int n = 1; n <= kChannelCount; ++n) {
        line = padded(QString::number(n), kWidths[0]);
        const ChannelTexts &texts = channels[static_cast<std::size_t>(n - 1)];
        for (int c = 0; c < kColumnCount; ++c)
            line += padded(QString::fromStdString(texts[static_cast<std::size_t>(c)]), kWidths[c + 1]);
        out << line.trimmed() << '\n';
    }
    out << '\n';
    for (const SettingBoxInfo &box : settingBoxes()) {
        const QString label = QString::fromStdString(std::string(box.label)).simplified();
        const std::string text = selectionText(box.box, selections[box.box]);
        out << padded(label + QLatin1Char(':'), 16)
            << (selections[box.box] < 0 ? QStringLiteral("(none)") : QString::fromStdString(text)) << '\n';
    }
}

}  // namespace

int cmdDump(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Show the 16 channels and the eleven settings of a channel file as the editor shows them."));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Print JSON for scripts."));
    parser.addOption(json);
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The channel file (*.sin)."));
    int exitCode = kExitOk;
    if (!parseOrExit(parser, args, &exitCode))
        return exitCode;
    const QString fileName = singleFileArgument(parser, args.value(0));
    if (fileName.isEmpty())
        return kExitUsage;

    ChannelTable channels;
    BoxSelections selections;
    if (const int loaded = loadDecodedChannelFile(args.value(0), fileName, channels, selections))
        return loaded;

    QTextStream out(stdout);
    if (parser.isSet(json))
        out << lists::writeJsonList(channels, selections);
    else
        printText(out, channels, selections);
    return kExitOk;
}

}  // namespace tavin::cli
