// tavin-cli: the programming tool without a window. Thin dispatch: each verb
// lives in its own file and shares model/ and link/ with the desktop program.

#include "ExitCodes.h"
#include "NativePath.h"
#include "QtMessageFilter.h"
#include "TerminalSeam.h"
#include "Verbs.h"
#include "WindowlessRun.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

struct Verb {
    const char *name;
    const char *summary;
    int (*run)(const QStringList &args);
    bool drawsPages = false;  // needs fonts: runs in a GUI application without a window
};

constexpr Verb kVerbs[] = {
    {"new", "write the channel file of a new document", tavin::cli::cmdNew},
    {"dump", "show a channel file's channels and settings as the editor shows them", tavin::cli::cmdDump},
    {"ports", "list COM1 to COM4 with their devices, and every serial port found", tavin::cli::cmdPorts},
    {"read", "read the radio into a channel file", tavin::cli::cmdRead},
    {"write", "write a channel file into the radio", tavin::cli::cmdWrite},
    {"verify", "compare the radio with a channel file", tavin::cli::cmdVerify},
    {"doctor", "check the cable, the port and its permissions, and say how to fix what is in the way", tavin::cli::cmdDoctor},
    {"print", "write the printed settings page of a channel file as a one-page PDF", tavin::cli::cmdPrint, true},
    {"export", "write a channel file's channels as a CSV or JSON list", tavin::cli::cmdExport},
    {"import", "make a channel file from a CSV or JSON channel list", tavin::cli::cmdImport},
    {"diff", "name every channel, setting or byte range in which two channel files differ", tavin::cli::cmdDiff},
    {"clone", "program one channel file into many radios, with a backup and a log record for each", tavin::cli::cmdClone},
};

void printUsage(FILE *out)
{
    QTextStream s(out);
    s << "Usage: tavin-cli <verb> [options] [arguments]\n\n"
         "Programming tool for 16-channel handheld radios.\n\nVerbs:\n";
    for (const Verb &v : kVerbs)
        s << "  " << QString::fromLatin1(v.name).leftJustified(9) << v.summary << '\n';
    s << "\nRun 'tavin-cli <verb> --help' for the options of a verb.\n";
}

bool verbDrawsPages(const char *name)
{
    for (const Verb &v : kVerbs) {
        if (std::strcmp(v.name, name) == 0)
            return v.drawsPages;
    }
    return false;
}

std::unique_ptr<QCoreApplication> makeApplication(int &argc, char *argv[])
{
    if (argc < 2 || !verbDrawsPages(argv[1]))
        return std::make_unique<QCoreApplication>(argc, argv);
    // Pages are drawn without a display: no X server or Wayland needed.
    tavin::platform::drawWithoutDisplay(true);
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

int main(int argc, char *argv[])
{
    tavin::platform::installQtMessageFilter();
    const std::unique_ptr<QCoreApplication> app = makeApplication(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tavin-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TAVIN_VERSION));

    QStringList args = tavin::platform::arguments(argc, argv);
    if (args.size() < 2) {
        printUsage(stderr);
        return tavin::cli::kExitUsage;
    }
    const QString verbName = args.at(1);
    if (verbName == QLatin1String("--help") || verbName == QLatin1String("-h") || verbName == QLatin1String("help")) {
        printUsage(stdout);
        return tavin::cli::finishStandardOutput(tavin::cli::kExitOk);
    }
    if (verbName == QLatin1String("--version")) {
        QTextStream(stdout) << "tavin-cli " << QCoreApplication::applicationVersion() << '\n';
        return tavin::cli::finishStandardOutput(tavin::cli::kExitOk);
    }
    for (const Verb &v : kVerbs) {
        if (verbName == QLatin1String(v.name)) {
            args.removeAt(1);
            args[0] = QStringLiteral("tavin-cli ") + verbName;
            return tavin::cli::finishStandardOutput(v.run(args));
        }
    }
    QTextStream(stderr) << "tavin-cli: unknown verb '" << tavin::platform::shown(verbName) << "'\n\n";
    printUsage(stderr);
    return tavin::cli::kExitUsage;
}
