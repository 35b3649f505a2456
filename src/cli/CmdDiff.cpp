// tavin-cli diff A.sin B.sin: every channel, setting or byte range in which two
// channel files differ, in the words verify uses.

#include "CliCommon.h"
#include "ExitCodes.h"
#include "ImageComparison.h"
#include "NativePath.h"
#include "Verbs.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

namespace tavin::cli {

namespace {

QString text(const std::string &s)
{
    return QString::fromStdString(s);
}

QJsonObject differenceJson(const Difference &d)
{
    QJsonObject o;
    switch (d.kind) {
    case Difference::Kind::Channel:
        o.insert(QStringLiteral("kind"), QStringLiteral("channel"));
        o.insert(QStringLiteral("channel"), d.channel);
        o.insert(QStringLiteral("column"), text(d.item));
        break;
    case Difference::Kind::ChannelBytes:
        o.insert(QStringLiteral("kind"), QStringLiteral("channelBytes"));
        o.insert(QStringLiteral("channel"), d.channel);
        break;
    case Difference::Kind::Setting:
        o.insert(QStringLiteral("kind"), QStringLiteral("setting"));
        o.insert(QStringLiteral("setting"), text(d.item));
        o.insert(QStringLiteral("key"), text(d.key));
        break;
    case Difference::Kind::Bytes:
        o.insert(QStringLiteral("kind"), QStringLiteral("bytes"));
        o.insert(QStringLiteral("region"), text(d.item));
        break;
    }
    if (d.kind == Difference::Kind::Channel || d.kind == Difference::Kind::Setting) {
        o.insert(QStringLiteral("a"), text(d.expected));
        o.insert(QStringLiteral("b"), text(d.found));
    } else {
        o.insert(QStringLiteral("bytes"), text(d.ranges));
    }
    o.insert(QStringLiteral("text"), text(d.line));
    return o;
}

}  // namespace

int cmdDiff(const QStringList &args)
{
    const QString verb = args.value(0);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Compare two channel files (all 1024 bytes): every channel (by column), setting (by box label) or byte "
        "range that differs, one per line. Exit code 0 when they are equal, 7 when they differ."));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Print JSON for scripts."));
    parser.addOption(json);
    parser.addPositionalArgument(QStringLiteral("A"), QStringLiteral("The first channel file (*.sin)."));
    parser.addPositionalArgument(QStringLiteral("B"), QStringLiteral("The second channel file (*.sin)."));
    int exitCode = kExitOk;
    if (!parseOrExit(parser, args, &exitCode))
        return exitCode;
    const QStringList files = parser.positionalArguments();
    if (files.size() != 2) {
        reportError(verb, QStringLiteral("expected two channel files"));
        return kExitUsage;
    }
    RadioImage a;
    RadioImage b;
    if (const int loaded = loadWholeChannelFile(verb, files.at(0), a))
        return loaded;
    if (const int loaded = loadWholeChannelFile(verb, files.at(1), b))
        return loaded;

    // Names as messages show them: bytes that are not UTF-8 as \xNN.
    const QString nameA = platform::shown(files.at(0));
    const QString nameB = platform::shown(files.at(1));
    const ComparisonNames names{nameA.toStdString(), nameB.toStdString()};
    const std::vector<Difference> differences = compareImages(a, b, names, ComparedBytes::All);
    QTextStream out(stdout);
    if (parser.isSet(json)) {
        QJsonArray list;
        for (const Difference &d : differences)
            list.append(differenceJson(d));
        QJsonObject root;
        root.insert(QStringLiteral("a"), nameA);
        root.insert(QStringLiteral("b"), nameB);
        root.insert(QStringLiteral("equal"), differences.empty());
        root.insert(QStringLiteral("differences"), list);
        out << QJsonDocument(root).toJson(QJsonDocument::Indented);
    } else {
        for (const Difference &d : differences)
            out << text(d.line) << '\n';
    }
    out.flush();
    if (differences.empty()) {
        reportError(verb, QStringLiteral("the files are identical (all %1 bytes)").arg(kImageSize));
        return kExitOk;
    }
    reportError(verb, QStringLiteral("the files differ (%1 %2)")
                          .arg(differences.size())
                          .arg(differences.size() == 1 ? QStringLiteral("difference") : QStringLiteral("differences")));
    return kExitVerifyMismatch;
}

}  // namespace tavin::cli
