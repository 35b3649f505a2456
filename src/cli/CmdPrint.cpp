// tavin-cli print FILE -o OUT.pdf: the page the desktop program prints for a
// channel file, as a one-page PDF, without opening a window.

#include "CliCommon.h"
#include "Codec.h"
#include "ExitCodes.h"
#include "Language.h"
#include "PageTexts.h"
#include "PdfExport.h"
#include "Verbs.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QPageSize>
#include <QTranslator>

namespace tavin::cli {

namespace {

struct Paper {
    const char *name;
    QPageSize::PageSizeId id;
};
constexpr Paper kPapers[] = {
    {"A4", QPageSize::A4},
    {"A5", QPageSize::A5},
    {"Letter", QPageSize::Letter},
    {"Legal", QPageSize::Legal},
};

}  // namespace

int cmdPrint(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Write the printed settings page of a channel file as a one-page PDF."));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("The PDF file to write."), QStringLiteral("OUT.pdf"));
    const QCommandLineOption paper(QStringLiteral("paper"),
                                   QStringLiteral("Paper size: A4 (default), A5, Letter or Legal."),
                                   QStringLiteral("SIZE"), QStringLiteral("A4"));
    const QCommandLineOption language(QStringLiteral("lang"),
                                      QStringLiteral("The page's language: zh (default, as the desktop program "
                                                     "prints it in Chinese) or en (English)."),
                                      QStringLiteral("LANG"), QStringLiteral("zh"));
    parser.addOption(output);
    parser.addOption(paper);
    parser.addOption(language);
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The channel file (*.sin)."));
    int exitCode = kExitOk;
    if (!parseOrExit(parser, args, &exitCode))
        return exitCode;
    if (parser.positionalArguments().size() != 1 || !parser.isSet(output) || parser.value(output).isEmpty()) {
        reportError(args.value(0), QStringLiteral("expected one channel file and -o OUT.pdf"));
        return kExitUsage;
    }
    const Paper *chosen = nullptr;
    for (const Paper &p : kPapers) {
        if (parser.value(paper).compare(QLatin1String(p.name), Qt::CaseInsensitive) == 0)
            chosen = &p;
    }
    if (!chosen) {
        reportError(args.value(0), QStringLiteral("unknown paper size '%1'; use A4, A5, Letter or Legal")
                                       .arg(parser.value(paper)));
        return kExitUsage;
    }

    const std::optional<lang::Language> pageLanguage = lang::languageFromCode(parser.value(language));
    if (!pageLanguage) {
        reportError(args.value(0), QStringLiteral("unknown language '%1'; use zh or en").arg(parser.value(language)));
        return kExitUsage;
    }
    // Only the page changes language; the messages of tavin-cli stay as they are.
    const std::unique_ptr<QTranslator> translator = lang::programTranslator(*pageLanguage);
    if (translator)
        QCoreApplication::installTranslator(translator.get());

    ChannelTable channels;
    BoxSelections selections;
    if (const int loaded = loadDecodedChannelFile(args.value(0), parser.positionalArguments().constFirst(), channels,
                                                  selections))
        return loaded;

    QString error;
    if (!print::writeSettingsPdf(print::pageTextsFromDecoded(channels, selections), parser.value(output),
                                 print::pdfPageLayout(QPageSize(chosen->id)), &error)) {
        reportError(args.value(0), error);
        return kExitFile;
    }
    return kExitOk;
}

}  // namespace tavin::cli
