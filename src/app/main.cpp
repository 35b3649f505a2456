// tavin: the desktop programming tool for the 16-channel handheld radios.

#include "CMainFrame.h"
#include "CProgramApp.h"
#include "CommandTexts.h"
#include "QtTranslations.h"
#include "StartupProbe.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include <cstdio>

namespace {

constexpr int kScreenshotDelayMs = 700;

}  // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setOrganizationName(texts::kOrganisation);
    QApplication::setApplicationName(texts::kAppTitle);
    QApplication::setApplicationVersion(QStringLiteral(TAVIN_VERSION));
    installQtTranslations(application);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/32/tavin.png")));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Programming tool for 16-channel handheld radios."));
    parser.addHelpOption();
    parser.addVersionOption();
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
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("Channel file (*.sin) to open."),
                                 QStringLiteral("[file]"));
    parser.process(application);

    if (parser.isSet(startupProbe))
        StartupProbe::install();

    const QStringList files = parser.positionalArguments();
    CProgramApp app;
    if (parser.isSet(print) || parser.isSet(printTo)) {
        if (files.size() != 1) {
            std::fprintf(stderr, "tavin: --print and --print-to need one channel file\n");
            return 2;
        }
        return app.PrintFileAndExit(files.constFirst(), parser.value(printTo));
    }
    if (!app.InitInstance(files.isEmpty() ? QString() : files.constFirst()))
        return 1;

    if (parser.isSet(screenshot)) {
        const QString target = parser.value(screenshot);
        QTimer::singleShot(kScreenshotDelayMs, &application, [&app, target] {
            const bool saved = app.mainFrame()->grab().save(target, "PNG");
            if (!saved)
                std::fprintf(stderr, "tavin: cannot write the screenshot %s\n", qPrintable(target));
            QApplication::exit(saved ? 0 : 1);
        });
    }
    return application.exec();
}
