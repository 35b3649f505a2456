// The fleet window offscreen against tavin-sim on pseudo-terminals mapped to
// COM1 and COM2: four radios on two ports with their backups, audit log,
// table rows and totals; the save question first; Stop in the middle of a
// write; closing the window while radios are written; the go-ahead button;
// the main window's read, radio check and cable check on a port the fleet
// uses, refused in plain words;
// and the runs refused before a radio is touched.
#include "CMainFrame.h"
#include "CProgramApp.h"
#include "CProgramDoc.h"
#include "CProgramView.h"
#include "CommandIds.h"
#include "FleetBoard.h"
#include "FleetPrompts.h"
#include "FleetSetup.h"
#include "FleetWindow.h"
#include "LanguageChoice.h"
#include "RecordingPrompts.h"
#include "ToolCommands.h"
#include "ToolPrompts.h"

#include "../fleet/FleetHarness.h"

#include "CProgressDlg.h"
#include "CloneReport.h"
#include "DoctorReport.h"
#include "QtSerialLink.h"
#include "TransferController.h"
#include "TransferPrompts.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QPointer>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace tavin;
using tavin::fleet::RadioRecord;
using tavin::fleet::RadioResult;
using tavin::fleet::RadioStep;
using tavin::test::FleetSim;
using tavin::test::readFile;

namespace {

constexpr int kRunTimeoutMs = 180000;

class RecordingFleetPrompts : public FleetPrompts
{
public:
    bool askSaveFirst(const QString &name) override
    {
        saveQuestions << name;
        return saveAnswer;
    }
    bool askStopAndClose() override
    {
        ++stopQuestions;
        return stopAnswer;
    }
    void showProblem(const QString &text) override { problems << text; }
    QString chooseFolder(const QString &) override { return {}; }
    QString chooseLogFile(const QString &) override { return {}; }

    bool saveAnswer = true;
    bool stopAnswer = true;
    QStringList saveQuestions;
    int stopQuestions = 0;
    QStringList problems;
};

class RecordingToolPrompts : public ToolPrompts
{
public:
    QString importFileName() override { return {}; }
    ExportTarget exportTarget(const QString &) override { return {}; }
    QString compareFileName() override { return {}; }
    void showReport(const ToolReport &report) override { reports << report; }
    void showCableCheck(const doctor::DoctorReport &report) override { cableChecks << report; }
    void showDone(const QString &) override {}

    QList<ToolReport> reports;
    QList<doctor::DoctorReport> cableChecks;
};

class RecordingTransferPrompts : public TransferPrompts
{
public:
    void showMessage(const QString &text) override { messages << text; }
    bool askRetry(const QString &) override { return false; }
    bool askCancelToClose() override { return true; }
    QStringList messages;
};

RadioImage radioMemory(int seed)
{
    RadioImage image;
    for (std::size_t i = 0; i < kImageSize; ++i)
        image[i] = static_cast<std::uint8_t>(i * 7 + std::size_t(seed) * 13);
    return image;
}

}  // namespace

class TestFleetWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void fourRadiosOnTwoPorts();
    void stopMidWrite();
    void closingMidRunAsksAndStops();
    void mainWindowWaitsForTheFleet();
    void goAheadButton();
    void cablePulledOut();
    void mainWindowBesideTheFleet_data();
    void mainWindowBesideTheFleet();
    void refusedBeforeAnyRadio_data();
    void refusedBeforeAnyRadio();

private:
    // The window of the app, with recording prompts; COM1 (and COM2) mapped to the sims.
    FleetWindow *openWindow(const QString &com1, const QString &com2 = QString());
    void setUpRun(FleetWindow *window, const QStringList &ports, int count, const QString &backups);

    QTemporaryDir m_dir;
    QString m_file;
    std::unique_ptr<CProgramApp> m_app;
    RecordingPrompts *m_prompts = nullptr;
    RecordingFleetPrompts *m_fleetPrompts = nullptr;
};

void TestFleetWindow::initTestCase()
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.filePath(QStringLiteral("settings")));
    m_file = m_dir.filePath(QStringLiteral("fleet.sin"));
    QVERIFY(tavin::test::writeImageFile(m_file, tavin::test::fleetChannelFile()));
}

void TestFleetWindow::init()
{
    m_app = std::make_unique<CProgramApp>();
    auto prompts = std::make_unique<RecordingPrompts>();
    m_prompts = prompts.get();
    m_app->setPrompts(std::move(prompts));
    QVERIFY(m_app->InitInstance(m_file, false));
}

void TestFleetWindow::cleanup()
{
    m_app.reset();
    for (const char *name : {"TAVIN_COM1", "TAVIN_COM2", "TAVIN_COM3", "TAVIN_COM4"})
        qunsetenv(name);
}

FleetWindow *TestFleetWindow::openWindow(const QString &com1, const QString &com2)
{
    // COM3 and COM4 lead nowhere, whatever this machine has.
    qputenv("TAVIN_COM1", com1.toLocal8Bit());
    qputenv("TAVIN_COM2", (com2.isEmpty() ? QStringLiteral("/dev/tavin-no-port-2") : com2).toLocal8Bit());
    qputenv("TAVIN_COM3", "/dev/tavin-no-port-3");
    qputenv("TAVIN_COM4", "/dev/tavin-no-port-4");
    m_app->mainFrame()->action(cmd::kToolsFleet)->trigger();  // Tools, 批量写频(&F)...
    FleetWindow *window = m_app->fleetWindow();
    auto prompts = std::make_unique<RecordingFleetPrompts>();
    m_fleetPrompts = prompts.get();
    window->setPrompts(std::move(prompts));
    return window;
}

void TestFleetWindow::setUpRun(FleetWindow *window, const QStringList &ports, int count, const QString &backups)
{
    for (const QString &port : ports)
        window->setup()->setPortChecked(port, true);
    window->setup()->setCount(count);
    window->setup()->setBackupDir(backups);
}

void TestFleetWindow::fourRadiosOnTwoPorts()
{
    FleetSim simA({QStringLiteral("--fast"), QStringLiteral("--radios"), QStringLiteral("2")}, radioMemory(1));
    FleetSim simB({QStringLiteral("--fast"), QStringLiteral("--radios"), QStringLiteral("2")}, radioMemory(2));
    QVERIFY(simA.started() && simB.started());
    FleetWindow *window = openWindow(simA.device(), simB.device());
    QVERIFY(window->isVisible());
    QVERIFY(window->isWindow() && window->parentWidget() == m_app->mainFrame());
    QVERIFY(!window->isModal());
    // The menu item again brings the same window to the front.
    m_app->mainFrame()->action(cmd::kToolsFleet)->trigger();
    QCOMPARE(m_app->fleetWindow(), window);
    QCOMPARE(window->setup()->portNames().mid(0, 4), (QStringList{"COM1", "COM2", "COM3", "COM4"}));

    // What the form shows, changed and not yet saved: the window asks to save it first.
    m_app->view()->settingBoxWidget(SettingBox::SquelchLevel)->setCurrentIndex(7);
    m_app->document()->setModified(true);
    const QString backups = m_dir.filePath(QStringLiteral("four"));
    setUpRun(window, {"COM1", "COM2"}, 4, backups);
    QSignalSpy ended(window, &FleetWindow::runEnded);
    QVERIFY(window->startRun());
    QCOMPARE(m_fleetPrompts->saveQuestions, QStringList{"fleet.sin"});
    QVERIFY(!m_app->document()->isModified());
    const QByteArray saved = readFile(m_file);
    QCOMPARE(std::uint8_t(saved.at(layout::kSquelchLevel)), std::uint8_t(7));
    QVERIFY(window->isRunning());
    QVERIFY(!window->setup()->isEnabled());
    QCOMPARE(window->board()->portRows(), 2);

    QVERIFY(ended.wait(kRunTimeoutMs) || ended.size() == 1);
    QVERIFY(!window->isRunning());
    QVERIFY2(m_fleetPrompts->problems.isEmpty(), qPrintable(m_fleetPrompts->problems.join('\n')));

    // Backups and the audit log, as tavin-cli clone leaves them.
    const QString logPath = backups + QStringLiteral("/clone-log.jsonl");
    const fleet::LogContents log = fleet::readLog(readFile(logPath));
    QCOMPARE(log.records.size(), 4);
    for (const RadioRecord &r : log.records) {
        QCOMPARE(r.result, RadioResult::Verified);
        QCOMPARE(r.file, m_file);
        QCOMPARE(r.writtenSha256, tavin::test::sha256Hex(saved.left(layout::kWritableSize)));
        FleetSim &sim = r.port == QLatin1String("COM1") ? simA : simB;
        QVERIFY(readFile(r.backupFile) == sim.original(1) || readFile(r.backupFile) == sim.original(2));
    }
    simA.stop();
    simB.stop();
    for (FleetSim *sim : {&simA, &simB}) {
        for (int n = 1; n <= 2; ++n)
            QCOMPARE(sim->final(n).left(layout::kWritableSize), saved.left(layout::kWritableSize));
    }

    // The table: a row per radio by number, and the totals.
    FleetBoard *board = window->board();
    QCOMPARE(board->radioRows(), 4);
    for (int row = 0; row < 4; ++row) {
        QCOMPARE(board->radioCell(row, FleetBoard::Number), QString::number(row + 1));
        QCOMPARE(board->radioCell(row, FleetBoard::Result), QStringLiteral("核对无误"));
        QVERIFY(board->radioCell(row, FleetBoard::Port).startsWith(QStringLiteral("COM")));
        QVERIFY(board->radioCell(row, FleetBoard::Backup).startsWith(QStringLiteral("radio-000%1-COM").arg(row + 1)));
        QVERIFY(board->radioCell(row, FleetBoard::Reason).isEmpty());
    }
    for (int port = 0; port < 2; ++port) {
        QCOMPARE(board->portRadios(port), QStringLiteral("核对无误 2 台"));
        QCOMPARE(board->portState(port), QStringLiteral("已停止"));
    }
    QCOMPARE(board->totals(), QStringLiteral("核对无误：4 台　未成功：0 台"));
    QVERIFY2(board->summary().startsWith(QStringLiteral("共 4 台：4 台已写入并核对无误\n")), qPrintable(board->summary()));
    QCOMPARE(board->logPath(), logPath);
    // Shown again in the language chosen, from what the run reported.
    LanguageChoice::apply(tavin::lang::Language::English);
    QTRY_COMPARE(board->totals(), QStringLiteral("Verified: 4   Not verified: 0"));
    QCOMPARE(board->radioCell(0, FleetBoard::Result), QStringLiteral("Verified"));
    QVERIFY2(board->summary().startsWith(QStringLiteral("4 radios: 4 programmed and verified\n")), qPrintable(board->summary()));
    LanguageChoice::apply(std::nullopt);
    QTRY_COMPARE(board->radioCell(0, FleetBoard::Result), QStringLiteral("核对无误"));

    // A radio's backup opens in the form.
    QVERIFY(!board->openBackupEnabled());
    board->selectRadioRow(2);
    QVERIFY(board->openBackupEnabled());
    const QString backup = board->backupOf(2);
    Q_EMIT board->openBackup(backup);
    QCOMPARE(m_app->document()->pathName(), backup);
}

void TestFleetWindow::stopMidWrite()
{
    // At the radio's own pace, so the write takes a few seconds.
    const RadioImage memory = radioMemory(3);
    FleetSim sim({}, memory);
    QVERIFY(sim.started());
    FleetWindow *window = openWindow(sim.device());
    const QString backups = m_dir.filePath(QStringLiteral("stop"));
    setUpRun(window, {"COM1"}, 0, backups);
    QSignalSpy ended(window, &FleetWindow::runEnded);
    QVERIFY(window->startRun());
    QTRY_VERIFY_WITH_TIMEOUT(window->board()->portState(0) == QStringLiteral("第 1 台：正在写入")
                                 && window->board()->portProgress(0) >= 10,
                             kRunTimeoutMs);
    window->stopRun();
    QVERIFY(ended.wait(30000) || ended.size() == 1);

    const QList<RadioRecord> records = fleet::readLog(readFile(backups + QStringLiteral("/clone-log.jsonl"))).records;
    QCOMPARE(records.size(), 1);
    QCOMPARE(records[0].result, RadioResult::Cancelled);
    QCOMPARE(records[0].step, RadioStep::Write);
    QCOMPARE(readFile(records[0].backupFile), tavin::test::bytesOf(memory));
    FleetBoard *board = window->board();
    QCOMPARE(board->radioCell(0, FleetBoard::Result), QStringLiteral("已取消"));
    QVERIFY2(board->radioCell(0, FleetBoard::Reason).startsWith(QStringLiteral("写入时停止：已写入 ")),
             qPrintable(board->radioCell(0, FleetBoard::Reason)));
    QCOMPARE(board->totals(), QStringLiteral("核对无误：0 台　未成功：1 台"));
    QVERIFY(tavin::test::portIsFree(sim.device()));
}

void TestFleetWindow::closingMidRunAsksAndStops()
{
    FleetSim sim({}, radioMemory(4));
    QVERIFY(sim.started());
    QPointer<FleetWindow> window = openWindow(sim.device());
    const QString backups = m_dir.filePath(QStringLiteral("close"));
    setUpRun(window, {"COM1"}, 0, backups);
    QVERIFY(window->startRun());
    QTRY_VERIFY_WITH_TIMEOUT(window->board()->portState(0) == QStringLiteral("第 1 台：正在写入"), kRunTimeoutMs);

    // No: the run goes on.
    m_fleetPrompts->stopAnswer = false;
    QVERIFY(!window->close());
    QCOMPARE(m_fleetPrompts->stopQuestions, 1);
    QVERIFY(window->isRunning() && window->isVisible());

    // Yes: every port stops at its next safe point, then the window closes.
    m_fleetPrompts->stopAnswer = true;
    QVERIFY(!window->close());
    QVERIFY(window->closesWhenStopped());
    QTRY_VERIFY_WITH_TIMEOUT(window.isNull(), 30000);
    const QList<RadioRecord> records = fleet::readLog(readFile(backups + QStringLiteral("/clone-log.jsonl"))).records;
    QCOMPARE(records.size(), 1);
    QCOMPARE(records[0].result, RadioResult::Cancelled);
    QVERIFY(tavin::test::portIsFree(sim.device()));
    // The main window did not close with it.
    QVERIFY(m_app->mainFrame());
}

void TestFleetWindow::mainWindowWaitsForTheFleet()
{
    // Closing the main window mid-run asks in the fleet window; on yes the
    // ports stop at the next safe point, then both windows close.
    FleetSim sim({}, radioMemory(7));
    QVERIFY(sim.started());
    QPointer<FleetWindow> window = openWindow(sim.device());
    setUpRun(window, {"COM1"}, 0, m_dir.filePath(QStringLiteral("main-close")));
    QVERIFY(window->startRun());
    QTRY_VERIFY_WITH_TIMEOUT(window->board()->portState(0) == QStringLiteral("第 1 台：正在读取备份"), kRunTimeoutMs);
    CMainFrame *frame = m_app->mainFrame();
    frame->show();
    QVERIFY(!frame->close());
    QCOMPARE(m_fleetPrompts->stopQuestions, 1);
    QTRY_VERIFY_WITH_TIMEOUT(window.isNull(), 30000);
    QTRY_VERIFY_WITH_TIMEOUT(!frame->isVisible(), 10000);
    QVERIFY(tavin::test::portIsFree(sim.device()));
}

void TestFleetWindow::goAheadButton()
{
    // Each radio confirmed: the same radio, left in place, is programmed again
    // only when its port's button is pressed.
    FleetSim sim({QStringLiteral("--fast")}, radioMemory(5));
    QVERIFY(sim.started());
    FleetWindow *window = openWindow(sim.device());
    const QString backups = m_dir.filePath(QStringLiteral("confirm"));
    setUpRun(window, {"COM1"}, 2, backups);
    window->setup()->setConfirmEachRadio(true);
    QSignalSpy ended(window, &FleetWindow::runEnded);
    QVERIFY(window->startRun());
    QTRY_VERIFY_WITH_TIMEOUT(window->board()->goAheadEnabled(0), kRunTimeoutMs);
    QVERIFY(window->board()->portState(0).endsWith(QStringLiteral("接好下一台后按“继续”")));
    QTest::qWait(500);
    QCOMPARE(window->board()->radioRows(), 1);
    window->board()->clickGoAhead(0);
    QVERIFY(ended.wait(kRunTimeoutMs) || ended.size() == 1);
    QCOMPARE(window->board()->radioRows(), 2);
    QCOMPARE(fleet::readLog(readFile(backups + QStringLiteral("/clone-log.jsonl"))).records.size(), 2);
}

void TestFleetWindow::cablePulledOut()
{
    // The cable (the sim's device under a link) goes away mid-write: the radio
    // fails, its port says plainly that no device is there, and goes on with
    // the next radio once the cable is back.
    const QString cable = m_dir.filePath(QStringLiteral("cable"));
    const QStringList simArgs{QStringLiteral("--link"), cable};
    auto first = std::make_unique<FleetSim>(simArgs, radioMemory(10));
    QVERIFY(first->started());
    FleetWindow *window = openWindow(cable);
    setUpRun(window, {"COM1"}, 2, m_dir.filePath(QStringLiteral("pulled")));
    QSignalSpy ended(window, &FleetWindow::runEnded);
    QVERIFY(window->startRun());
    FleetBoard *board = window->board();
    QTRY_VERIFY_WITH_TIMEOUT(board->portState(0) == QStringLiteral("第 1 台：正在写入") && board->portProgress(0) >= 10,
                             kRunTimeoutMs);
    first.reset();
    QTRY_COMPARE_WITH_TIMEOUT(board->portState(0), QStringLiteral("找不到串口设备，正在重试"), 30000);
    QCOMPARE(board->portProgress(0), 0);
    QCOMPARE(board->radioCell(0, FleetBoard::Result), QStringLiteral("失败"));
    QVERIFY2(board->radioCell(0, FleetBoard::Reason).startsWith(QStringLiteral("写入失败")),
             qPrintable(board->radioCell(0, FleetBoard::Reason)));

    FleetSim second({QStringLiteral("--fast"), QStringLiteral("--link"), cable}, radioMemory(11));
    QVERIFY(second.started());
    QVERIFY(ended.wait(kRunTimeoutMs) || ended.size() == 1);
    QCOMPARE(board->radioCell(1, FleetBoard::Result), QStringLiteral("核对无误"));
    QCOMPARE(board->totals(), QStringLiteral("核对无误：1 台　未成功：1 台"));
}

void TestFleetWindow::mainWindowBesideTheFleet_data()
{
    QTest::addColumn<QString>("command");  // "read", "verify" (the radio check) or "cable" (the cable check)
    QTest::addColumn<QString>("com2");     // what COM2 stands for: "link" to the fleet's device, or "other" radio
    QTest::addColumn<QString>("port");     // the main window's port
    QTest::addColumn<bool>("refused");
    QTest::newRow("read on the fleet's port") << "read" << "other" << "COM1" << true;
    QTest::newRow("read on another name of the fleet's device") << "read" << "link" << "COM2" << true;
    QTest::newRow("read on another port") << "read" << "other" << "COM2" << false;
    QTest::newRow("radio check on the fleet's port") << "verify" << "other" << "COM1" << true;
    QTest::newRow("cable check on another name of the fleet's device") << "cable" << "link" << "COM2" << true;
}

void TestFleetWindow::mainWindowBesideTheFleet()
{
    QFETCH(QString, command);
    QFETCH(QString, com2);
    QFETCH(QString, port);
    QFETCH(bool, refused);
    FleetSim fleetRadio({}, radioMemory(8));
    FleetSim other({QStringLiteral("--fast")}, radioMemory(9));
    QVERIFY(fleetRadio.started() && other.started());
    const QString link = m_dir.filePath(QStringLiteral("fleet-radio-link"));
    QFile::remove(link);
    QVERIFY(QFile::link(fleetRadio.device(), link));
    FleetWindow *window = openWindow(fleetRadio.device(), com2 == QLatin1String("link") ? link : other.device());
    setUpRun(window, {"COM1"}, 0, m_dir.filePath(QStringLiteral("beside")));
    QSignalSpy ended(window, &FleetWindow::runEnded);
    QVERIFY(window->startRun());
    QTRY_VERIFY_WITH_TIMEOUT(window->board()->portState(0) == QStringLiteral("第 1 台：正在读取备份"), kRunTimeoutMs);

    TransferController *transfer = m_app->view()->transferController();
    auto prompts = std::make_unique<RecordingTransferPrompts>();
    RecordingTransferPrompts *messages = prompts.get();
    transfer->setPrompts(std::move(prompts));
    transfer->setBackupFolder(QString());
    auto toolPrompts = std::make_unique<RecordingToolPrompts>();
    RecordingToolPrompts *reports = toolPrompts.get();
    m_app->toolCommands()->setPrompts(std::move(toolPrompts));
    if (port == QLatin1String("COM2"))
        m_app->view()->onPortCom2();
    QStringList shown;
    if (command == QLatin1String("cable")) {
        m_app->mainFrame()->action(cmd::kToolsCableCheck)->trigger();
        for (const ToolReport &report : std::as_const(reports->reports))
            shown << report.summary;
        QVERIFY(reports->cableChecks.isEmpty());
    } else {
        m_app->mainFrame()->action(command == QLatin1String("read") ? cmd::kReadFromRadio : cmd::kToolsVerifyRadio)->trigger();
        transfer->dialog()->startButton()->click();
        QTRY_VERIFY_WITH_TIMEOUT(!transfer->dialogExists() && !transfer->isTransferRunning(), kRunTimeoutMs);
        QCOMPARE(transfer->lastResult().outcome,
                 refused ? link::TransferOutcome::PortOpenFailed : link::TransferOutcome::Completed);
        shown = messages->messages;
    }
    if (refused) {
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].startsWith(QStringLiteral("批量写频正在使用 COM1 (")), qPrintable(shown[0]));
    } else {
        QVERIFY2(shown.isEmpty(), qPrintable(shown.join('\n')));
    }
    // The fleet's radio goes on undisturbed.
    QVERIFY(window->isRunning());
    QVERIFY(window->board()->portState(0).startsWith(QStringLiteral("第 1 台：")));
    window->stopRun();
    QVERIFY(ended.wait(30000) || ended.size() == 1);
    QVERIFY(window->portTakenReason(QStringLiteral("COM1")).isEmpty());  // free again once the run has ended
}

void TestFleetWindow::refusedBeforeAnyRadio_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QString>("problem");  // empty: nothing shown
    QTest::newRow("no port checked") << "none" << "请至少选择一个端口。";
    QTest::newRow("the port is held by another program") << "held" << "无法打开 COM1";
    QTest::newRow("the audit log would be the channel file") << "log" << "审计日志不能是要写入的信道文件本身。";
    QTest::newRow("saving declined") << "unsaved" << "";
    QTest::newRow("the main window reads a radio: no dialog may open") << "busy" << "";
}

void TestFleetWindow::refusedBeforeAnyRadio()
{
    QFETCH(QString, situation);
    QFETCH(QString, problem);
    FleetSim sim({QStringLiteral("--fast")}, radioMemory(6));
    QVERIFY(sim.started());
    const QByteArray file = readFile(m_file);
    FleetWindow *window = openWindow(sim.device());
    setUpRun(window, situation == QLatin1String("none") ? QStringList{} : QStringList{"COM1"}, 1,
             m_dir.filePath(QStringLiteral("refused")));
    link::QtSerialLink holder;
    if (situation == QLatin1String("held"))
        QVERIFY(holder.open(sim.device()));
    if (situation == QLatin1String("log"))
        window->setup()->setLogPath(m_file);
    if (situation == QLatin1String("busy")) {
        m_app->document()->setModified(true);
        window->setMainWindowBusy(true);
    }
    if (situation == QLatin1String("unsaved")) {
        m_app->document()->setModified(true);
        m_fleetPrompts->saveAnswer = false;
    }
    QVERIFY(!window->startRun());
    QVERIFY(!window->isRunning());
    if (problem.isEmpty()) {
        QVERIFY(m_fleetPrompts->problems.isEmpty());
        QCOMPARE(m_fleetPrompts->saveQuestions.size(), situation == QLatin1String("unsaved") ? 1 : 0);
    }
    else
        QVERIFY2(m_fleetPrompts->problems.value(0).startsWith(problem), qPrintable(m_fleetPrompts->problems.join('\n')));
    holder.close();
    sim.stop();
    // The radio was never asked anything.
    QVERIFY(readFile(sim.dirPath() + QStringLiteral("/bytes.log")).isEmpty());
    QCOMPARE(readFile(m_file), file);
}

QTEST_MAIN(TestFleetWindow)
#include "tst_fleetwindow.moc"
