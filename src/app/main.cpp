// tavin: the desktop programming tool for the 16-channel handheld radios.

#include "CMainFrame.h"
#include "CProgramApp.h"
#include "CommandTexts.h"
#include "NativePath.h"
#include "QtMessageFilter.h"
#include "RunExitCodes.h"
#include "SafeReplace.h"
#include "LanguageChoice.h"
#include "StartupProbe.h"
#include "UserPrompts.h"
#include "WindowlessRun.h"

#include <QApplication>
#include <QBuffer>
#include <QCommandLineParser>
#include <QTimer>

#include <cstdio>

namespace {

constexpr int kScreenshotDelayMs = 700;

// The main window as a PNG file, replaced only once it is completely written.
int saveScreenshot(QWidget *window, const QString &target)
{
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !window->grab().save(&buffer, "PNG")) {
        std::fprintf(stderr, "tavin: cannot draw the screenshot %s\n", qPrintable(tavin::platform::quoted(target)));
        return run::kExitFile;
    }
    const tavin::FileResult saved = tavin::replaceFileContents(
        tavin::platform::toNative(target), std::string_view(png.constData(), std::size_t(png.size())), "screenshot");
    if (!saved) {
        std::fprintf(stderr, "tavin: %s\n", saved.error.c_str());
        return run::kExitFile;
    }
    return run::kExitOk;
}

}  // namespace

int main(int argc, char *argv[])
{
    tavin::platform::installQtMessageFilter();
    // --print, --print-to and --screenshot show no window: they also run
    // where there is no display (a server, a script over ssh).
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "--print" || argument.startsWith("--print-to") || argument.startsWith("--screenshot"))
            tavin::platform::drawWithoutDisplay();
    }
    QApplication application(argc, argv);
    QApplication::setOrganizationName(texts::kOrganisation);
    QApplication::setApplicationName(texts::kAppTitle);
    QApplication::setApplicationVersion(QStringLiteral(TAVIN_VERSION));
    // The language chosen in the window, or none: Chinese with Qt's texts in
    // the system's language, as the program always was.
    LanguageChoice::apply(LanguageChoice::saved());
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/32/tavin.png")));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Programming tool for 16-channel handheld radios."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Save a picture of the main window to <file> and quit."),
                                        QStringLiteral("file"));
    parser.addOption(screenshot);
    QCommandLineOption startupProbe(QStringLiteral("startup-probe"),
                                    QStringLiteral("Report when the window is first shown, then quit (benchmark)."));
    startupProbe.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(startupProbe);
    const QCommandLineOption print(QStringLiteral("print"),
                                   QStringLiteral("Print <file> on the default printer and quit, without a window."));
    const QCommandLineOption printTo(QStringLiteral("print-to"),
                                     QStringLiteral("Print <file> on <printer> and quit, without a window."),
                                     QStringLiteral("printer"));
    parser.addOption(print);
    parser.addOption(printTo);
    const QCommandLineOption language(QStringLiteral("lang"),
                                      QStringLiteral("Show the window (and print the page) in <language> for this "
                                                     "run: zh (Chinese) or en (English)."),
                                      QStringLiteral("language"));
    parser.addOption(language);
    parser.addPositionalArgument(
        QStringLiteral("file"),
        QStringLiteral("Channel file (*.sin) to open, or channel list (*.csv, *.json) to import."),
        QStringLiteral("[file]"));
    // The arguments byte for byte: a file name need not be valid text.
    if (!parser.parse(tavin::platform::arguments(argc, argv))) {
        std::fprintf(stderr, "tavin: %s\n", qPrintable(parser.errorText()));
        return run::kExitUsage;
    }
    if (parser.isSet(help))
        parser.showHelp(run::kExitOk);
    if (parser.isSet(version))
        parser.showVersion();

    if (parser.isSet(language)) {
        const std::optional<LanguageChoice::Language> chosen = tavin::lang::languageFromCode(parser.value(language));
        if (!chosen) {
            std::fprintf(stderr, "tavin: unknown language %s; use zh or en\n",
                         qPrintable(tavin::platform::quoted(parser.value(language))));
            return run::kExitUsage;
        }
        LanguageChoice::apply(chosen);
    }

    if (parser.isSet(startupProbe))
        StartupProbe::install();

    const QStringList files = parser.positionalArguments();
    CProgramApp app;
    // Nobody clicks away a message box in these runs: messages go to stderr.
    if (parser.isSet(print) || parser.isSet(printTo) || parser.isSet(screenshot))
        app.setPrompts(std::make_unique<StderrUserPrompts>());
    if (parser.isSet(print) || parser.isSet(printTo)) {
        if (files.size() != 1) {
            std::fprintf(stderr, "tavin: --print and --print-to need one channel file\n");
            return run::kExitUsage;
        }
        return app.PrintFileAndExit(files.constFirst(), parser.value(printTo));
    }
    if (!app.InitInstance(files.isEmpty() ? QString() : files.constFirst()))
        return run::kExitFile;

    if (parser.isSet(screenshot)) {
        const QString target = parser.value(screenshot);
        QTimer::singleShot(kScreenshotDelayMs, &application, [&app, target] {
            QApplication::exit(saveScreenshot(app.mainFrame(), target));
        });
    }
    return application.exec();
}
