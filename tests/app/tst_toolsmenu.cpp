// The Tools menu with real files, offscreen: each item against what tavin-cli
// gives for the same input (import --base, export, diff), the radio check
// against tavin-sim over a pseudo-terminal, and the cable check of a port
// whose device is missing.
#include "CMSFlexGrid.h"
#include "CMainFrame.h"
#include "CProgramApp.h"
#include "CProgramDoc.h"
#include "CProgramView.h"
#include "CProgressDlg.h"
#include "CableCheckDialog.h"
#include "ChannelFile.h"
#include "CommandIds.h"
#include "DoctorReport.h"
#include "NativePath.h"
#include "RecordingPrompts.h"
#include "ReportDialog.h"
#include "SimRadio.h"
#include "ToolCommands.h"
#include "ToolPrompts.h"
#include "TransferController.h"
#include "TransferPrompts.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QQueue>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <filesystem>
#include <fstream>

using namespace tavin;
using tavin::lists::ListFormat;

namespace {

class RecordingToolPrompts : public ToolPrompts
{
public:
    QString importFileName() override { return importNames.isEmpty() ? QString() : importNames.dequeue(); }
    ExportTarget exportTarget(const QString &suggestedPath) override
    {
        suggestedExports << suggestedPath;
        return exportTargets.isEmpty() ? ExportTarget{} : exportTargets.dequeue();
    }
    QString compareFileName() override { return compareNames.isEmpty() ? QString() : compareNames.dequeue(); }
    void showReport(const ToolReport &report) override { reports << report; }
    void showCableCheck(const doctor::DoctorReport &report) override { cableChecks << report; }
    void showDone(const QString &text) override { done << text; }

    QQueue<QString> importNames;
    QQueue<ExportTarget> exportTargets;
    QQueue<QString> compareNames;
    QStringList suggestedExports;
    QList<ToolReport> reports;
    QList<doctor::DoctorReport> cableChecks;
    QStringList done;
};

class RecordingTransferPrompts : public TransferPrompts
{
public:
    void showMessage(const QString &text) override { messages << text; }
    bool askRetry(const QString &) override { return false; }
    bool askCancelToClose() override { return true; }
    QStringList messages;
};

struct CliRun {
    int exitCode = -1;
    QStringList errLines;
    QByteArray out;
};

// A radio's programming unlike a new document: channels, and settings that
// an import without settings must keep.
RadioImage radioMemory()
{
    RadioImage image;
    image.resetToNewDocument(HiddenPreset::Uhf);
    image.channel(1).setFrequency(Side::Rx, 46256250);
    image.channel(1).setFrequency(Side::Tx, 46756250);
    image.channel(2).setFrequency(Side::Rx, 45100000);
    image.channel(2).setFrequency(Side::Tx, 45600000);
    image.channel(3).setFrequency(Side::Tx, 44000000);  // transmit only: interchange cannot say it
    image[layout::kSquelchLevel] = 7;
    image[layout::kTxTimeLimit] = 4;
    image[layout::kBandCode] = 0xF2;  // 400 - 470MHZ
    return image;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray bytesOf(const RadioImage &image)
{
    return QByteArray(reinterpret_cast<const char *>(image.data()), int(kImageSize));
}

const QByteArray kNativeHeader = "信道,接收频率(MHz),发射频率(MHz),QT/DQT解码,QT/DQT编码,繁忙锁定,宽/窄带,扫描,功率\r\n";
const QByteArray kInterchangeHeader = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,"
                                      "DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,"
                                      "RPT1CALL,RPT2CALL,DVCODE\n";

}  // namespace

class TestToolsMenu : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void importOverTheForm_data();
    void importOverTheForm();
    void refusedImportListsEveryErrorAndChangesNothing();
    void refusedLinesShownAsTheCliShowsThem_data();
    void refusedLinesShownAsTheCliShowsThem();
    void exportGivesTheCliBytes_data();
    void exportGivesTheCliBytes();
    void exportNeverReplacesTheDocumentsOwnFile();
    void compareWordsDifferencesAsDiff_data();
    void compareWordsDifferencesAsDiff();
    void verifyReadsTheRadioAndLeavesTheForm_data();
    void verifyReadsTheRadioAndLeavesTheForm();
    void cableCheckOfAMissingPort();

private:
    void startApp(const QString &file);
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QAction *command(int id) const { return m_app->mainFrame()->action(id); }
    CliRun cli(const QStringList &args) const;
    // The form's grid and settings as texts, to see that nothing moved.
    QStringList formTexts() const;

    QTemporaryDir m_dir;
    std::unique_ptr<CProgramApp> m_app;
    RecordingPrompts *m_prompts = nullptr;
    RecordingToolPrompts *m_tools = nullptr;
};

void TestToolsMenu::initTestCase()
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path(QStringLiteral("settings")));
    QVERIFY(storeChannelFile(path(QStringLiteral("radio.sin")).toStdString(), radioMemory()));
}

void TestToolsMenu::cleanup()
{
    m_app.reset();
    qunsetenv("TAVIN_COM1");
    qunsetenv("TAVIN_COM3");
}

void TestToolsMenu::startApp(const QString &file)
{
    m_app = std::make_unique<CProgramApp>();
    auto prompts = std::make_unique<RecordingPrompts>();
    m_prompts = prompts.get();
    m_app->setPrompts(std::move(prompts));
    QVERIFY(m_app->InitInstance(file, true));
    auto tools = std::make_unique<RecordingToolPrompts>();
    m_tools = tools.get();
    m_app->toolCommands()->setPrompts(std::move(tools));
}

CliRun TestToolsMenu::cli(const QStringList &args) const
{
    QProcess process;
    process.setWorkingDirectory(m_dir.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral("config")));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(TAVIN_CLI), args);
    CliRun run;
    if (!process.waitForFinished(60000))
        return run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.errLines = QString::fromUtf8(process.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts);
    return run;
}

QStringList TestToolsMenu::formTexts() const
{
    QStringList texts;
    for (int row = 1; row <= kChannelCount; ++row) {
        for (int col = 1; col <= kColumnCount; ++col)
            texts << m_app->view()->grid()->textMatrix(row, col);
    }
    for (int b = 0; b < kSettingBoxCount; ++b)
        texts << m_app->view()->settingBoxText(SettingBox(b));
    return texts;
}

void TestToolsMenu::importOverTheForm_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QString>("squelch");  // the squelch box after the import
    QTest::addColumn<int>("notices");      // at least
    QTest::newRow("native CSV keeps the radio's settings, receive-only said")
        << "plan.csv" << kNativeHeader + "1,462.5625,467.5625,67.0,D023N,是,窄带,删除,中\r\n5,446.00625\r\n" << "7"
        << 1;
    QTest::newRow("JSON brings settings of its own")
        << "plan.json" << QByteArray(R"({"channels": [["440.00000", "445.00000", "无", "无", "否", "宽带", "添加", "高"]],
                        "settings": {"squelchLevel": "3"}})")
        << "3" << 0;
    QTest::newRow("interchange: the names are dropped, said")
        << "plan.csv" << kInterchangeHeader + "1,Depot,462.562500,+,5.000000,,88.5,88.5,023,NN,023,Tone->Tone,NFM,"
                                              "6.25,,High,,,,,\n"
        << "7" << 1;
}

void TestToolsMenu::importOverTheForm()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, list);
    QFETCH(QString, squelch);
    QFETCH(int, notices);
    QVERIFY(writeFile(path(name), list));
    startApp(path(QStringLiteral("radio.sin")));
    // The form as a dealer has it after a read: an edit not yet saved.
    m_app->view()->grid()->setTextMatrix(9, 1, QStringLiteral("450.00000"));
    QVERIFY(storeChannelFile(path(QStringLiteral("form.sin")).toStdString(), m_app->view()->imageAsSaved()));

    m_tools->importNames.enqueue(path(name));
    command(cmd::kToolsImportList)->trigger();

    QCOMPARE(m_app->view()->settingBoxText(SettingBox::SquelchLevel), squelch);
    QVERIFY(m_app->document()->isModified());
    QCOMPARE(m_tools->done.size(), 1);
    QCOMPARE(m_app->document()->pathName(), path(QStringLiteral("radio.sin")));
    // Exactly what tavin-cli import --base writes, and the notices it prints.
    const CliRun run = cli({QStringLiteral("import"), name, QStringLiteral("--base"), QStringLiteral("form.sin"),
                            QStringLiteral("-o"), QStringLiteral("cli.sin")});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(bytesOf(m_app->view()->imageAsSaved()), readFile(path(QStringLiteral("cli.sin"))));
    QVERIFY(run.errLines.size() >= notices);
    QCOMPARE(m_tools->reports.size(), run.errLines.isEmpty() ? 0 : 1);
    if (!run.errLines.isEmpty()) {
        QStringList said = run.errLines;
        said.replaceInStrings(QRegularExpression(QStringLiteral("^tavin-cli import: ")), QString());
        QCOMPARE(m_tools->reports.constFirst().lines, said);
    }
}

void TestToolsMenu::refusedImportListsEveryErrorAndChangesNothing()
{
    // Six refused cells in each of 16 rows: far more than a message box can hold.
    QByteArray list = kNativeHeader;
    for (int n = 1; n <= 16; ++n)
        list += QByteArray::number(n) + ",999.5,462.5626,D999N,D999X,x,x,x,x\r\n";
    QVERIFY(writeFile(path(QStringLiteral("bad.csv")), list));
    startApp(path(QStringLiteral("radio.sin")));
    const QStringList before = formTexts();
    const QByteArray imageBefore = bytesOf(*m_app->view()->documentImage());

    m_tools->importNames.enqueue(path(QStringLiteral("bad.csv")));
    command(cmd::kToolsImportList)->trigger();

    QCOMPARE(m_tools->reports.size(), 1);
    const ToolReport &report = m_tools->reports.constFirst();
    QCOMPARE(report.kind, ToolReport::Kind::Warning);
    const CliRun run = cli({QStringLiteral("import"), QStringLiteral("bad.csv"), QStringLiteral("--base"),
                            QStringLiteral("radio.sin"), QStringLiteral("-o"), QStringLiteral("never.sin")});
    QCOMPARE(run.exitCode, 10);
    const QRegularExpression errorLine(QStringLiteral("^bad\\.csv:\\d+: "));
    const QStringList errors = run.errLines.filter(errorLine);
    QVERIFY2(errors.size() >= 16 * 6, qPrintable(QString::number(errors.size())));
    QCOMPARE(report.lines.filter(errorLine), errors);
    QVERIFY2(report.summary.contains(QString::number(errors.size())), qPrintable(report.summary));
    QCOMPARE(formTexts(), before);
    QCOMPARE(bytesOf(*m_app->view()->documentImage()), imageBefore);
    QVERIFY(!m_app->document()->isModified());
    QVERIFY(m_tools->done.isEmpty());

    // Shown, all of it stays within the screen, selectable, and copied whole.
    ReportDialog dialog(report, m_app->mainFrame());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QRect area = dialog.screen()->availableGeometry();
    QVERIFY(dialog.width() <= area.width() && dialog.height() <= area.height());
    QCOMPARE(dialog.linesView()->toPlainText().split(u'\n'), report.lines);
    QVERIFY(dialog.linesView()->textInteractionFlags() & Qt::TextSelectableByKeyboard);
    dialog.copyButton()->click();
    QCOMPARE(QGuiApplication::clipboard()->text(), report.text());
}

void TestToolsMenu::refusedLinesShownAsTheCliShowsThem_data()
{
    QTest::addColumn<QByteArray>("fileName");  // its bytes
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QString>("shownName");
    QTest::newRow("a line break and an escape sequence in cells")
        << QByteArray("break.csv") << kNativeHeader + "1,\"462.5\n625\",462.5625,\x1b[31m\r\n" << "break.csv";
    QTest::newRow("a list named with a byte that is not UTF-8")
        << QByteArray("bad\xff.csv") << kNativeHeader + "1,999.5\r\n" << "bad\\xff.csv";
}

void TestToolsMenu::refusedLinesShownAsTheCliShowsThem()
{
    QFETCH(QByteArray, fileName);
    QFETCH(QByteArray, list);
    QFETCH(QString, shownName);
    const QString file = platform::fromNativeBytes(QFile::encodeName(m_dir.path()) + '/' + fileName);
    {
        std::ofstream out(platform::toNative(file), std::ios::binary);
        out.write(list.constData(), list.size());
    }
    QVERIFY(writeFile(path(QStringLiteral("cli.csv")), list));
    startApp(path(QStringLiteral("radio.sin")));
    m_tools->importNames.enqueue(file);
    command(cmd::kToolsImportList)->trigger();
    std::filesystem::remove(platform::toNative(file));

    QCOMPARE(m_tools->reports.size(), 1);
    const CliRun run = cli({QStringLiteral("import"), QStringLiteral("cli.csv"), QStringLiteral("--base"),
                            QStringLiteral("radio.sin"), QStringLiteral("-o"), QStringLiteral("never.sin")});
    QStringList expected = run.errLines.filter(QRegularExpression(QStringLiteral("^cli\\.csv:\\d+: ")));
    QVERIFY(!expected.isEmpty());
    expected.replaceInStrings(QRegularExpression(QStringLiteral("^cli\\.csv:")), shownName + u':');
    const QStringList lines = m_tools->reports.constFirst().lines;
    QCOMPARE(lines.filter(QRegularExpression(u'^' + QRegularExpression::escape(shownName) + QStringLiteral(":\\d+: "))),
             expected);
    for (const QString &line : lines)
        QVERIFY2(!line.contains(u'\n') && !line.contains(u'\x1b'), qPrintable(line));
}

void TestToolsMenu::exportGivesTheCliBytes_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("formatName");
    QTest::addColumn<int>("notices");  // at least
    QTest::newRow("native CSV") << int(ListFormat::Native) << "native" << 0;
    QTest::newRow("interchange CSV, the transmit-only channel said")
        << int(ListFormat::Interchange) << "interchange" << 1;
    QTest::newRow("JSON") << int(ListFormat::Json) << "json" << 0;
}

void TestToolsMenu::exportGivesTheCliBytes()
{
    QFETCH(int, format);
    QFETCH(QString, formatName);
    QFETCH(int, notices);
    startApp(path(QStringLiteral("radio.sin")));
    // Unsaved edits are exported as Save would store them.
    m_app->view()->grid()->setTextMatrix(4, 1, QStringLiteral("446.00625"));
    m_app->view()->grid()->setTextMatrix(4, 2, QStringLiteral("446.00625"));
    m_tools->exportTargets.enqueue({path(QStringLiteral("out.list")), ListFormat(format)});
    command(cmd::kToolsExportList)->trigger();
    QCOMPARE(m_tools->suggestedExports, QStringList{path(QStringLiteral("radio.csv"))});
    QCOMPARE(m_tools->done.size(), 1);

    m_prompts->saveNames.enqueue(path(QStringLiteral("saved.sin")));
    m_app->onFileSaveAs();
    const CliRun run = cli({QStringLiteral("export"), QStringLiteral("saved.sin"), QStringLiteral("--format"),
                            formatName, QStringLiteral("-o"), QStringLiteral("cli.list")});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(readFile(path(QStringLiteral("out.list"))), readFile(path(QStringLiteral("cli.list"))));
    QVERIFY(run.errLines.size() >= notices);
    QCOMPARE(m_tools->reports.size(), run.errLines.isEmpty() ? 0 : 1);
    if (!run.errLines.isEmpty()) {
        QStringList said = run.errLines;
        said.replaceInStrings(QRegularExpression(QStringLiteral("^tavin-cli export: ")), QString());
        QCOMPARE(m_tools->reports.constFirst().lines, said);
    }
}

void TestToolsMenu::exportNeverReplacesTheDocumentsOwnFile()
{
    QVERIFY(QFile::copy(path(QStringLiteral("radio.sin")), path(QStringLiteral("own.sin"))));
    startApp(path(QStringLiteral("own.sin")));
    QVERIFY(!m_app->toolCommands()->exportList(path(QStringLiteral("own.sin")), ListFormat::Json));
    QCOMPARE(readFile(path(QStringLiteral("own.sin"))), bytesOf(radioMemory()));
    QCOMPARE(m_tools->reports.size(), 1);
    QVERIFY(m_tools->done.isEmpty());
}

void TestToolsMenu::compareWordsDifferencesAsDiff_data()
{
    QTest::addColumn<bool>("edited");
    QTest::addColumn<QString>("other");
    QTest::newRow("an edited form against its file") << true << "radio.sin";
    QTest::newRow("a form against a new document") << false << "new.sin";
    QTest::newRow("a form against its own file") << false << "radio.sin";
}

void TestToolsMenu::compareWordsDifferencesAsDiff()
{
    QFETCH(bool, edited);
    QFETCH(QString, other);
    QCOMPARE(cli({QStringLiteral("new"), QStringLiteral("-o"), QStringLiteral("new.sin")}).exitCode, 0);
    startApp(path(QStringLiteral("radio.sin")));
    if (edited) {
        m_app->view()->grid()->setTextMatrix(1, 3, QStringLiteral("D023N"));
        m_app->view()->settingBoxWidget(SettingBox::SquelchLevel)->setCurrentIndex(2);
    }
    m_tools->compareNames.enqueue(path(other));
    command(cmd::kToolsCompareFile)->trigger();
    QCOMPARE(m_tools->reports.size(), 1);
    const ToolReport &report = m_tools->reports.constFirst();

    // tavin-cli diff with the form saved as a file named as the window names the form.
    const QString formName = QStringLiteral("窗体");
    QVERIFY(storeChannelFile(path(formName).toStdString(), m_app->view()->imageAsSaved()));
    const CliRun run = cli({QStringLiteral("diff"), formName, other});
    QCOMPARE(run.exitCode, run.out.isEmpty() ? 0 : 7);
    const QStringList lines = QString::fromUtf8(run.out).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(report.lines, lines);
    QCOMPARE(report.summary.contains(QStringLiteral("相同")), lines.isEmpty());
    if (edited) {
        QVERIFY(lines.contains(QStringLiteral("channel 1, QT/DQT解码: 窗体 D023N, radio.sin 无")));
        QVERIFY(lines.contains(QStringLiteral("setting 静噪电平: 窗体 2, radio.sin 7")));
    }
}

void TestToolsMenu::verifyReadsTheRadioAndLeavesTheForm_data()
{
    QTest::addColumn<bool>("edited");
    QTest::addColumn<QString>("fault");  // of the radio, which then holds a new document's memory
    QTest::newRow("the radio holds what the form shows") << false << QString();
    QTest::newRow("an edit the radio has not had") << true << QString();
    QTest::newRow("a read failing at block 50 keeps even the blocks that came") << false << "read-reply-9:50";
}

void TestToolsMenu::verifyReadsTheRadioAndLeavesTheForm()
{
    QFETCH(bool, edited);
    QFETCH(QString, fault);
    startApp(path(QStringLiteral("radio.sin")));
    auto transferPrompts = std::make_unique<RecordingTransferPrompts>();
    RecordingTransferPrompts *transferMessages = transferPrompts.get();
    m_app->view()->transferController()->setPrompts(std::move(transferPrompts));
    // The radio was last written from this file, or holds another memory and fails.
    RadioImage memory = m_app->view()->imageAsSaved();
    QStringList simArgs{QStringLiteral("--fast")};
    if (!fault.isEmpty()) {
        memory.resetToNewDocument(HiddenPreset::Vhf);
        simArgs << QStringLiteral("--fault") << fault;
    }
    test::SimRadio sim(simArgs, memory);
    QVERIFY(sim.started());
    qputenv("TAVIN_COM1", sim.device().toLocal8Bit());
    m_app->view()->transferController()->setBackupFolder(path(QStringLiteral("backups")));
    if (edited)
        m_app->view()->grid()->setTextMatrix(2, 2, QStringLiteral("455.00000"));
    const QStringList before = formTexts();
    const QByteArray imageBefore = bytesOf(*m_app->view()->documentImage());

    command(cmd::kToolsVerifyRadio)->trigger();
    CProgressDlg &dialog = *m_app->view()->transferController()->dialog();
    QVERIFY(dialog.windowExists());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("数据读取进度"));
    // The transfer runs inside the event handling; a timer looks in on it.
    bool sawToolsWaiting = false;
    QTimer look;
    connect(&look, &QTimer::timeout, this, [&] {
        if (m_app->view()->isTransferRunning())
            sawToolsWaiting = !command(cmd::kToolsVerifyRadio)->isEnabled() && !command(cmd::kToolsImportList)->isEnabled();
    });
    look.start(20);
    dialog.startButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(!m_app->view()->isTransferRunning() && !dialog.windowExists(), 60000);
    QVERIFY(sawToolsWaiting);
    QVERIFY(command(cmd::kToolsVerifyRadio)->isEnabled());
    if (!fault.isEmpty()) {
        // The failure said as for any read, and nothing of the radio's reaches the document.
        QCoreApplication::processEvents();
        QCOMPARE(transferMessages->messages.size(), 1);
        QVERIFY(m_tools->reports.isEmpty());
        QCOMPARE(formTexts(), before);
        QCOMPARE(bytesOf(*m_app->view()->documentImage()), imageBefore);
        QVERIFY(!m_app->document()->isModified());
        return;
    }
    QTRY_COMPARE(m_tools->reports.size(), 1);
    QVERIFY(transferMessages->messages.isEmpty());
    const ToolReport &report = m_tools->reports.constFirst();
    const QStringList expected =
        edited ? QStringList{QStringLiteral("channel 2, 发射频率(MHz): 窗体 455.00000, 对讲机 456.00000")} : QStringList{};
    QCOMPARE(report.lines.join(u'\n'), expected.join(u'\n'));
    QCOMPARE(report.kind, edited ? ToolReport::Kind::Warning : ToolReport::Kind::Information);
    QVERIFY(report.summary.contains(QStringLiteral("COM1")));
    QCOMPARE(formTexts(), before);
    QCOMPARE(bytesOf(*m_app->view()->documentImage()), imageBefore);
    QVERIFY(!m_app->document()->isModified());
}

void TestToolsMenu::cableCheckOfAMissingPort()
{
    const QString missing = path(QStringLiteral("no-such-tty"));
    qputenv("TAVIN_COM3", missing.toLocal8Bit());
    startApp(QString());
    command(cmd::kPortCom3)->trigger();
    command(cmd::kToolsCableCheck)->trigger();

    QCOMPARE(m_tools->cableChecks.size(), 1);
    const doctor::DoctorReport &report = m_tools->cableChecks.constFirst();
    QCOMPARE(report.portName, QStringLiteral("COM3"));
    QCOMPARE(report.device, missing);
    QCOMPARE(report.conclusion(), doctor::DoctorReport::Conclusion::PortNotReady);

    CableCheckDialog dialog(report, m_app->mainFrame());
    QCOMPARE(dialog.conclusionLabel()->text(), CableCheckDialog::conclusionText(report));
    QVERIFY(dialog.conclusionLabel()->text().contains(QStringLiteral("COM3 (%1)").arg(missing)));
    const QTreeWidget *view = dialog.findingsView();
    QCOMPARE(view->topLevelItemCount(), report.findings.size());
    for (int i = 0; i < report.findings.size(); ++i) {
        const doctor::Finding &finding = report.findings.at(i);
        const QTreeWidgetItem *item = view->topLevelItem(i);
        QCOMPARE(item->text(0), CableCheckDialog::verdictText(finding.verdict));
        QCOMPARE(item->text(1), finding.summary);
        const QString last = item->childCount() > 0 ? item->child(item->childCount() - 1)->text(1) : QString();
        const bool fixShown = !finding.fix.isEmpty() && last == QStringLiteral("修正：") + finding.fix;
        QCOMPARE(fixShown, !finding.fix.isEmpty() && finding.verdict != doctor::Verdict::Ok);
    }
    const QTreeWidgetItem *permission = view->topLevelItem(3);
    QCOMPARE(permission->text(0), QStringLiteral("失败"));
    QVERIFY(permission->text(1).contains(QStringLiteral("does not exist")));

    dialog.copyButton()->click();
    QCOMPARE(QGuiApplication::clipboard()->text(), report.text());
}

QTEST_MAIN(TestToolsMenu)
#include "tst_toolsmenu.moc"
