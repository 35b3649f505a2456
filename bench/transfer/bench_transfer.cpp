// A full read from the desktop program against tavin-sim at 9600-baud pace:
// the transfer's time against the protocol's floor (target ratio <= 1.05),
// and the longest time the event loop went unserviced meanwhile (target
// <= 100 ms, so the window keeps repainting).
//
// Usage: bench_transfer [TAVIN_SIM_PATH]   (offscreen unless QT_QPA_PLATFORM is set)

#include "CMainFrame.h"
#include "CProgramApp.h"
#include "CProgramView.h"
#include "CProgressDlg.h"
#include "CommandIds.h"
#include "TransferController.h"
#include "TransferPrompts.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <sys/resource.h>

namespace {

constexpr double kByteMs = 10.0 * 1000.0 / 9600.0;
// Handshake pauses (12 + 1 + the 550 ms wait + 16 + 1 ms) and its 20 bytes;
// per read block 15 + 20 ms and 4 + 12 + 1 + 1 bytes.
constexpr double kReadFloorMs = (12 + 1 + 550 + 16 + 1) + 128 * (15 + 20) + (20 + 128 * 18) * kByteMs;

class SilentPrompts : public TransferPrompts
{
public:
    void showMessage(const QString &text) override { QTextStream(stderr) << "message: " << text << '\n'; }
    bool askRetry(const QString &text) override
    {
        QTextStream(stderr) << "question: " << text << '\n';
        return false;
    }
    bool askCancelToClose() override { return false; }
};

}  // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    QTextStream out(stdout);
    const QString simPath = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(TAVIN_SIM_PATH);

    QTemporaryDir dir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    QProcess sim;
    sim.start(simPath, {});
    if (!sim.waitForStarted() || !sim.waitForReadyRead(10000)) {
        QTextStream(stderr) << "cannot start " << simPath << '\n';
        return 1;
    }
    const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();
    qputenv("TAVIN_COM1", device.toLocal8Bit());

    int exitCode = 0;
    {
        CProgramApp app;
        app.InitInstance(QString(), true);
        TransferController *controller = app.view()->transferController();
        controller->setPrompts(std::make_unique<SilentPrompts>());
        controller->setBackupFolder(dir.filePath(QStringLiteral("backups")));

        // A zero timer runs whenever events are processed: the longest gap
        // between two of its runs is the longest unserviced stretch.
        QElapsedTimer clock;
        QElapsedTimer transfer;
        qint64 last = 0;
        qint64 longestGapMs = 0;
        bool running = false;
        QTimer probe;
        probe.setInterval(0);
        QObject::connect(&probe, &QTimer::timeout, &probe, [&] {
            const qint64 now = clock.elapsed();
            if (running)
                longestGapMs = std::max(longestGapMs, now - last);
            last = now;
        });
        QObject::connect(controller, &TransferController::transferStarted, &probe, [&] {
            transfer.start();
            last = clock.elapsed();
            running = true;
        });
        qint64 transferMs = 0;
        QEventLoop loop;
        QObject::connect(controller, &TransferController::transferFinished, &probe, [&](tavin::link::TransferOutcome o) {
            transferMs = transfer.elapsed();
            running = false;
            if (o != tavin::link::TransferOutcome::Completed)
                exitCode = 1;
            QTimer::singleShot(0, &loop, &QEventLoop::quit);
        });
        clock.start();
        probe.start();
        app.mainFrame()->action(cmd::kReadFromRadio)->trigger();
        controller->dialog()->startButton()->click();
        loop.exec();

        struct rusage usage {};
        getrusage(RUSAGE_SELF, &usage);
        out << "desktop read: " << transferMs << " ms, floor " << qRound(kReadFloorMs) << " ms, ratio "
            << QString::number(transferMs / kReadFloorMs, 'f', 3) << "\n";
        out << "longest time the event loop went unserviced: " << longestGapMs << " ms (target <= 100)\n";
        out << "peak memory: " << usage.ru_maxrss << " KiB\n";
        out << "targets " << ((transferMs / kReadFloorMs <= 1.05 && longestGapMs <= 100 && exitCode == 0) ? "met" : "NOT met")
            << '\n';
    }
    sim.terminate();
    sim.waitForFinished();
    return exitCode;
}
