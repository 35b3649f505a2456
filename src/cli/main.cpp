// tavin-cli: the programming tool without a window. Thin dispatch: each verb
// lives in its own file and shares model/ and link/ with the desktop program.

#include "ExitCodes.h"
#include "Verbs.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

namespace {

struct Verb {
    const char *name;
    const char *summary;
    int (*run)(const QStringList &args);
};

constexpr Verb kVerbs[] = {
    {"new", "write the channel file of a new document", tavin::cli::cmdNew},
    {"dump", "show a channel file's channels and settings as the editor shows them", tavin::cli::cmdDump},
    // radio verbs
    // print verb
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

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tavin-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0.0.1"));

    QStringList args = QCoreApplication::arguments();
    if (args.size() < 2) {
        printUsage(stderr);
        return tavin::cli::kExitUsage;
    }
    const QString verbName = args.at(1);
    if (verbName == QLatin1String("--help") || verbName == QLatin1String("-h") || verbName == QLatin1String("help")) {
        printUsage(stdout);
        return tavin::cli::kExitOk;
    }
    if (verbName == QLatin1String("--version")) {
        QTextStream(stdout) << "tavin-cli " << QCoreApplication::applicationVersion() << '\n';
        return tavin::cli::kExitOk;
    }
    for (const Verb &v : kVerbs) {
        if (verbName == QLatin1String(v.name)) {
            args.removeAt(1);
            args[0] = QStringLiteral("tavin-cli ") + verbName;
            return v.run(args);
        }
    }
    QTextStream(stderr) << "tavin-cli: unknown verb '" << verbName << "'\n\n";
    printUsage(stderr);
    return tavin::cli::kExitUsage;
}
