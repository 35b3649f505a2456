// Reading and writing the radio from the desktop program, offscreen, against
// tavin-sim over a pseudo-terminal: the dialog's states, every outcome and
// what it leaves in the document and the editor, and the hold-off of
// document commands while a transfer runs.
#include "CMSFlexGrid.h"
#include "CMainFrame.h"
#include "CProgramApp.h"
#include "CProgramDoc.h"
#include "CProgramView.h"
#include "CProgressDlg.h"
#include "CellEditors.h"
#include "ChannelFile.h"
#include "Codec.h"
#include "CommandIds.h"
#include "DialogTransferUi.h"
#include "EditorMessages.h"
#include "LanguageChoice.h"
#include "LinkTexts.h"
#include "QtSerialLink.h"
#include "SimRadio.h"
#include "TransferController.h"
#include "TransferPrompts.h"
#include "UserPrompts.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QWheelEvent>
#include <QtTest>

using namespace tavin;
using tavin::test::bytesOf;
using tavin::test::countProbes;
using tavin::test::SimRadio;

namespace {

constexpr int kTransferTimeoutMs = 60000;

class ScriptedTransferPrompts : public TransferPrompts
{
public:
    void showMessage(const QString &text) override { messages << text; }
    bool askRetry(const QString &text) override
    {
        questions << text;
        if (onQuestion)
            onQuestion();
        return !retryAnswers.isEmpty() && retryAnswers.takeFirst();
    }
    bool askCancelToClose() override
    {
        ++closeQuestions;
        return cancelToClose;
    }
    QStringList messages;
    QStringList questions;
    QList<bool> retryAnswers;  // Cancel once they run out
    std::function<void()> onQuestion;
    int closeQuestions = 0;
    bool cancelToClose = true;
};

class RecordingSink : public MessageSink
{
public:
    void show(QWidget *, const EditorMessage &message) override { texts << message.text; }
    QStringList texts;
};

class QuietPrompts : public UserPrompts
{
public:
    SaveAnswer askSaveChanges(const QString &) override { return SaveAnswer::Discard; }
    void showFileError(const QString &) override {}
    QString openFileName() override { return openName; }
    QString saveFileName(const QString &) override
    {
        ++saveNameRequests;
        return {};
    }
    QString openName;
    int saveNameRequests = 0;
};

// A radio's programming unlike a new document: two channels and other settings.
RadioImage radioMemory()
{
    RadioImage image;
    image.resetToNewDocument(HiddenPreset::Uhf);
    image.channel(1).setFrequency(Side::Rx, 46256250);
    image.channel(1).setFrequency(Side::Tx, 46256250);
    image.channel(2).setFrequency(Side::Rx, 45100000);
    image.channel(2).setFrequency(Side::Tx, 45600000);
    image[layout::kSquelchLevel] = 7;
    image[layout::kTxTimeLimit] = 4;
    return image;
}

bool portIsFree(const QString &device)
{
    link::QtSerialLink again;
    const bool opened = again.open(device);
    again.close();
    return opened;
}

}  // namespace

class TestTransfer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void readFillsGridAndBoxes();
    void writeSendsTheEncodedEditor();
    void cancelBeforeStart_data();
    void cancelBeforeStart();
    void cancelDuringBlocks();
    void cancelRightAfterStart();
    void shortcutsDoNotActDuringTransfer();
    void portCannotBeOpened();
    void silentRadioAnsweredWithCancel();
    void retryReadsTheRadioPluggedInAgain();
    void progressWindowStaysAboveTheMainWindow();
    void readFailingAtBlock50KeepsTheEditor();
    void documentCommandsWaitForTheTransfer();
    void closingCancelsThenCloses();
    void formTakesNoEditsDuringATransfer_data();
    void formTakesNoEditsDuringATransfer();
    void editorOpenAtStartIsWritten();
    void writeEndingPartWaySaysHowManyBlocksAreNew_data();
    void writeEndingPartWaySaysHowManyBlocksAreNew();
    void everyTransferMessageInEnglish_data();
    void everyTransferMessageInEnglish();
    void progressWindowInEnglish();

private:
    void startApp(const QString &device);
    CProgressDlg &dialog() const { return *m_app->view()->transferController()->dialog(); }
    QAction *command(int id) const { return m_app->mainFrame()->action(id); }
    // Start pressed; returns once the transfer has ended and its window is gone.
    bool startAndWait();
    // Every outcome leaves a fresh dialog for the next command, and a free port.
    void checkFreshDialogAndFreePort(const QString &device);
    // Runs f from the event queue once the bar has reached position.
    void atProgress(int position, std::function<void()> f);

    QTemporaryDir m_dir;
    std::unique_ptr<CProgramApp> m_app;
    ScriptedTransferPrompts *m_prompts = nullptr;
    QuietPrompts *m_userPrompts = nullptr;
    QTimer m_watch;
};

void TestTransfer::initTestCase()
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.filePath(QStringLiteral("settings")));
}

void TestTransfer::init()
{
    m_watch.disconnect();
}

void TestTransfer::cleanup()
{
    m_watch.stop();
    m_app.reset();
    qunsetenv("TAVIN_COM1");
    qunsetenv("TAVIN_COM2");
}

void TestTransfer::startApp(const QString &device)
{
    qputenv("TAVIN_COM1", device.toLocal8Bit());
    m_app = std::make_unique<CProgramApp>();
    auto userPrompts = std::make_unique<QuietPrompts>();
    m_userPrompts = userPrompts.get();
    m_app->setPrompts(std::move(userPrompts));
    QVERIFY(m_app->InitInstance(QString(), true));
    auto prompts = std::make_unique<ScriptedTransferPrompts>();
    m_prompts = prompts.get();
    TransferController *controller = m_app->view()->transferController();
    controller->setPrompts(std::move(prompts));
    controller->setBackupFolder(m_dir.filePath(QStringLiteral("backups")));
}

bool TestTransfer::startAndWait()
{
    if (!dialog().windowExists() || !dialog().startEnabled())
        return false;
    dialog().startButton()->click();
    if (dialog().startEnabled())
        return false;
    QElapsedTimer timer;
    timer.start();
    while (dialog().windowExists() && timer.elapsed() < kTransferTimeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return !dialog().windowExists() && !m_app->view()->isTransferRunning();
}

void TestTransfer::checkFreshDialogAndFreePort(const QString &device)
{
    QVERIFY(!dialog().windowExists());
    QVERIFY(portIsFree(device));
    command(cmd::kWriteToRadio)->trigger();
    QVERIFY(dialog().windowExists());
    QCOMPARE(dialog().windowTitle(), QStringLiteral("数据写入进度"));
    QCOMPARE(dialog().progressBar()->value(), 0);
    QCOMPARE(dialog().progressBar()->maximum(), 123);
    QVERIFY(dialog().startEnabled());
    QCOMPARE(dialog().statusLabel()->text(), QStringLiteral("等待中......"));
    dialog().cancelButton()->click();
    QVERIFY(!dialog().windowExists());
}

void TestTransfer::atProgress(int position, std::function<void()> f)
{
    m_watch.disconnect();
    m_watch.setInterval(5);
    connect(&m_watch, &QTimer::timeout, this, [this, position, f] {
        if (dialog().progressBar()->value() >= position) {
            m_watch.stop();
            f();
        }
    });
    m_watch.start();
}

void TestTransfer::readFillsGridAndBoxes()
{
    const RadioImage memory = radioMemory();
    SimRadio sim({QStringLiteral("--fast")}, memory);
    QVERIFY(sim.started());
    startApp(sim.device());
    CProgramView *view = m_app->view();

    command(cmd::kReadFromRadio)->trigger();
    QVERIFY(dialog().windowExists());
    QCOMPARE(dialog().windowTitle(), QStringLiteral("数据读取进度"));
    QCOMPARE(dialog().statusLabel()->text(), QStringLiteral("等待中......"));
    QVERIFY(dialog().startEnabled());
    // A second command while the dialog waits changes nothing.
    command(cmd::kWriteToRadio)->trigger();
    QCOMPARE(dialog().windowTitle(), QStringLiteral("数据读取进度"));

    QVERIFY(startAndWait());
    QCOMPARE(view->transferController()->lastResult().outcome, link::TransferOutcome::Completed);
    QVERIFY(m_prompts->messages.isEmpty());
    QCOMPARE(dialog().progressBar()->value(), 123);
    QCOMPARE(dialog().statusLabel()->text(), QStringLiteral("123"));

    // The editor shows the radio's programming; the image is the radio's after the model rule.
    RadioImage expected = memory;
    ChannelTable channels;
    BoxSelections boxes = view->boxSelections();
    decodeImage(expected, channels, boxes);
    for (int n = 1; n <= kChannelCount; ++n)
        for (int c = 0; c < kColumnCount; ++c)
            QCOMPARE(view->grid()->textMatrix(n, c + 1), QString::fromStdString(channels[n - 1][c]));
    QCOMPARE(view->boxSelections(), boxes);
    QCOMPARE(view->settingBoxSelection(SettingBox::SquelchLevel), 7);
    QCOMPARE(bytesOf(*view->documentImage()), bytesOf(expected));
    QVERIFY(m_app->document()->isModified());

    // The radio's programming is also kept as a backup file.
    const QString backup = view->transferController()->lastBackup();
    QVERIFY(!backup.isEmpty());
    QFile f(backup);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), bytesOf(memory));
    checkFreshDialogAndFreePort(sim.device());
}

void TestTransfer::writeSendsTheEncodedEditor()
{
    SimRadio sim({QStringLiteral("--fast")}, radioMemory());
    QVERIFY(sim.started());
    startApp(sim.device());
    CProgramView *view = m_app->view();
    view->grid()->setTextMatrix(3, 1, QStringLiteral("467.12500"));
    view->grid()->setTextMatrix(3, 2, QStringLiteral("462.12500"));

    command(cmd::kWriteToRadio)->trigger();
    QCOMPARE(dialog().windowTitle(), QStringLiteral("数据写入进度"));
    QVERIFY(startAndWait());
    QCOMPARE(view->transferController()->lastResult().outcome, link::TransferOutcome::Completed);
    QCOMPARE(dialog().progressBar()->value(), 123);
    QCOMPARE(dialog().statusLabel()->text(), QStringLiteral("122"));

    const RadioImage &image = *view->documentImage();
    QCOMPARE(image.channel(3).frequency(Side::Rx).value_or(0), 46712500u);
    QTRY_VERIFY(QFileInfo(sim.savePath()).size() == 1024);
    QFile saved(sim.savePath());
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray radio = saved.readAll();
    QCOMPARE(radio.left(0x3D8), bytesOf(image, 0, 0x3D8));
    QCOMPARE(radio.mid(0x3D8), bytesOf(radioMemory(), 0x3D8, 1024));
    QVERIFY(view->transferController()->lastBackup().isEmpty());
    checkFreshDialogAndFreePort(sim.device());
}

void TestTransfer::cancelBeforeStart_data()
{
    QTest::addColumn<int>("commandId");
    QTest::newRow("read") << cmd::kReadFromRadio;
    QTest::newRow("write") << cmd::kWriteToRadio;
}

void TestTransfer::cancelBeforeStart()
{
    QFETCH(int, commandId);
    SimRadio sim({QStringLiteral("--fast")}, radioMemory());
    QVERIFY(sim.started());
    startApp(sim.device());
    CProgramView *view = m_app->view();
    const QByteArray before = bytesOf(*view->documentImage());

    // An open editor with a new frequency is committed by the command.
    RecordingSink sink;
    view->cellEditors()->setMessageSink(&sink);
    view->grid()->setRow(4);
    view->grid()->setCol(1);
    view->cellEditors()->openCurrent(0);
    auto *editor = qobject_cast<QLineEdit *>(view->cellEditors()->editorForColumn(1));
    QVERIFY(editor && editor->isVisible());
    editor->setText(QStringLiteral("150.00000"));
    command(commandId)->trigger();
    QVERIFY2(sink.texts.isEmpty(), qPrintable(sink.texts.join(QLatin1Char('\n'))));
    QCOMPARE(view->grid()->textMatrix(4, 1), QStringLiteral("150.00000"));

    dialog().cancelButton()->click();
    QVERIFY(!dialog().windowExists());
    QCoreApplication::processEvents();
    QCOMPARE(bytesOf(*view->documentImage()), before);  // not encoded, not read
    QVERIFY(sim.programBytes().isEmpty());
    QVERIFY(m_prompts->messages.isEmpty());
    checkFreshDialogAndFreePort(sim.device());
}

void TestTransfer::cancelDuringBlocks()
{
    const RadioImage memory = radioMemory();
    SimRadio sim({QStringLiteral("--fast")}, memory);
    QVERIFY(sim.started());
    startApp(sim.device());
    CProgramView *view = m_app->view();
    RadioImage before = *view->documentImage();
    const QString gridBefore = view->grid()->textMatrix(1, 1);
    atProgress(20, [this] { dialog().cancelButton()->click(); });
    command(cmd::kReadFromRadio)->trigger();
    QVERIFY(startAndWait());
    const link::TransferResult result = view->transferController()->lastResult();
    QCOMPARE(result.outcome, link::TransferOutcome::Cancelled);
    QVERIFY(result.blocksDone >= 20 && result.blocksDone < 128);
    QVERIFY(m_prompts->messages.isEmpty());
    // The blocks that arrived are in the image; the editor still shows the old values.
    const int split = 8 * result.blocksDone;
    QCOMPARE(bytesOf(*view->documentImage(), 0, split), bytesOf(memory, 0, split));
    QCOMPARE(bytesOf(*view->documentImage(), split, 1024), bytesOf(before, split, 1024));
    QCOMPARE(view->grid()->textMatrix(1, 1), gridBefore);
    QVERIFY(!m_app->document()->isModified());
    QCOMPARE(sim.programBytes().count(QByteArray::fromHex("06")), 1 + result.blocksDone);
    checkFreshDialogAndFreePort(sim.device());
}

void TestTransfer::cancelRightAfterStart()
{
    SimRadio sim({QStringLiteral("--fast")}, radioMemory());
    QVERIFY(sim.started());
    startApp(sim.device());
    CProgramView *view = m_app->view();
    view->grid()->setTextMatrix(6, 1, QStringLiteral("461.00000"));
    command(cmd::kWriteToRadio)->trigger();
    // Cancel before the queued Start request is handled: the transfer ends at
    // the handshake's first cancel test, after the write's encoding.
    dialog().startButton()->click();
    dialog().cancelButton()->click();
    QVERIFY(dialog().windowExists());
    QTRY_VERIFY(!dialog().windowExists());
    QCOMPARE(view->transferController()->lastResult().outcome, link::TransferOutcome::Cancelled);
    QCOMPARE(view->documentImage()->channel(6).frequency(Side::Rx).value_or(0), 46100000u);
    QVERIFY(sim.programBytes().isEmpty());
    checkFreshDialogAndFreePort(sim.device());
}

void TestTransfer::shortcutsDoNotActDuringTransfer()
{
    SimRadio sim({QStringLiteral("--fast")}, radioMemory());
    QVERIFY(sim.started());
    startApp(sim.device());
    CMainFrame *frame = m_app->mainFrame();
    frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame));
    // Outside a transfer Ctrl+S saves (here: asks for a name).
    QTest::keyClick(frame, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(m_userPrompts->saveNameRequests, 1);
    atProgress(5, [&] {
        // The user clicks into the main window and presses the keys there.
        frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame));
        QTest::keyClick(frame, Qt::Key_S, Qt::ControlModifier);
        QTest::keyClick(frame, Qt::Key_N, Qt::ControlModifier);
    });
    command(cmd::kReadFromRadio)->trigger();
    QVERIFY(startAndWait());
    QCOMPARE(m_app->view()->transferController()->lastResult().outcome, link::TransferOutcome::Completed);
    QCOMPARE(m_userPrompts->saveNameRequests, 1);
}

void TestTransfer::portCannotBeOpened()
{
    SimRadio sim({QStringLiteral("--fast")}, radioMemory());
    QVERIFY(sim.started());
    startApp(sim.device());
    qputenv("TAVIN_COM2", m_dir.filePath(QStringLiteral("no-such-port")).toLocal8Bit());
    CProgramView *view = m_app->view();
    view->onPortCom2();
    view->grid()->setTextMatrix(5, 1, QStringLiteral("460.00000"));
    command(cmd::kWriteToRadio)->trigger();
    QVERIFY(startAndWait());
    QCOMPARE(m_prompts->messages, QStringList{QString::fromUtf8(link::text::kPortOpenFailed)});
    QCOMPARE(view->portName(), QStringLiteral("COM2"));
    // A write has encoded the editor before the open.
    QCOMPARE(view->documentImage()->channel(5).frequency(Side::Rx).value_or(0), 46000000u);
    checkFreshDialogAndFreePort(sim.device());
}

// A radio that never acknowledges a probe (two stray bytes before each ACK
// fail the probe just as silence does, without the 17 s of time-outs that the
// link tests spend once on a silent radio).
void TestTransfer::silentRadioAnsweredWithCancel()
{
    SimRadio sim({QStringLiteral("--fast"), QStringLiteral("--fault"), QStringLiteral("stray2")}, radioMemory());
    QVERIFY(sim.started());
    startApp(sim.device());
    CProgramView *view = m_app->view();
    const QByteArray before = bytesOf(*view->documentImage());
    command(cmd::kReadFromRadio)->trigger();
    QVERIFY(startAndWait());
    QCOMPARE(view->transferController()->lastResult().outcome, link::TransferOutcome::CancelledAtQuestion);
    QCOMPARE(m_prompts->questions, QStringList{QString::fromUtf8(link::text::kCommunicationError)});
    QVERIFY(m_prompts->messages.isEmpty());
    QCOMPARE(countProbes(sim.programBytes()), 15);
    QCOMPARE(bytesOf(*view->documentImage()), before);
    checkFreshDialogAndFreePort(sim.device());
}

// The radio stops answering; while the question is open its device goes
// and a new one appears under the same name, as when the cable is plugged in
// again. Retry reads the radio now behind the name.
void TestTransfer::retryReadsTheRadioPluggedInAgain()
{
    const QString name = m_dir.filePath(QStringLiteral("radio"));
    auto old = std::make_unique<SimRadio>(
        QStringList{QStringLiteral("--fast"), QStringLiteral("--fault"), QStringLiteral("stray2"), QStringLiteral("--link"), name},
        RadioImage());
    QVERIFY(old->started());
    startApp(name);
    const RadioImage memory = radioMemory();
    std::unique_ptr<SimRadio> plugged;
    m_prompts->retryAnswers = {true};
    m_prompts->onQuestion = [&] {
        old->stop();
        plugged = std::make_unique<SimRadio>(QStringList{QStringLiteral("--fast"), QStringLiteral("--link"), name}, memory);
    };
    command(cmd::kReadFromRadio)->trigger();
    QVERIFY(startAndWait());
    QVERIFY(plugged && plugged->started());
    CProgramView *view = m_app->view();
    QCOMPARE(view->transferController()->lastResult().outcome, link::TransferOutcome::Completed);
    QCOMPARE(m_prompts->questions.size(), 1);
    QVERIFY(m_prompts->messages.isEmpty());
    QCOMPARE(bytesOf(*view->documentImage(), 16, 48), bytesOf(memory, 16, 48));  // channels 1 and 2
    QCOMPARE(view->grid()->textMatrix(2, 2), QStringLiteral("456.00000"));
    checkFreshDialogAndFreePort(name);
}

void TestTransfer::progressWindowStaysAboveTheMainWindow()
{
    SimRadio sim({QStringLiteral("--fast")}, radioMemory());
    QVERIFY(sim.started());
    startApp(sim.device());
    command(cmd::kReadFromRadio)->trigger();
    QVERIFY(dialog().windowExists());
    QVERIFY(dialog().isWindow());
    QVERIFY(dialog().windowHandle());
    QCOMPARE(dialog().windowHandle()->transientParent(), m_app->mainFrame()->windowHandle());
    dialog().cancelButton()->click();
}

void TestTransfer::readFailingAtBlock50KeepsTheEditor()
{
    const RadioImage memory = radioMemory();
    SimRadio sim({QStringLiteral("--fast"), QStringLiteral("--fault"), QStringLiteral("read-reply-9:50")}, memory);
    QVERIFY(sim.started());
    startApp(sim.device());
    CProgramView *view = m_app->view();
    const RadioImage before = *view->documentImage();
    const QString gridBefore = view->grid()->textMatrix(1, 1);
    const int squelchBefore = view->settingBoxSelection(SettingBox::SquelchLevel);
    command(cmd::kReadFromRadio)->trigger();
    QVERIFY(startAndWait());
    QCOMPARE(m_prompts->messages, QStringList{QString::fromUtf8(link::text::kNotEnoughBytes)});
    QCOMPARE(bytesOf(*view->documentImage(), 0, 400), bytesOf(memory, 0, 400));
    QCOMPARE(bytesOf(*view->documentImage(), 400, 1024), bytesOf(before, 400, 1024));
    QCOMPARE(view->grid()->textMatrix(1, 1), gridBefore);
    QCOMPARE(view->settingBoxSelection(SettingBox::SquelchLevel), squelchBefore);
    QVERIFY(view->transferController()->lastBackup().isEmpty());
    checkFreshDialogAndFreePort(sim.device());
}

void TestTransfer::documentCommandsWaitForTheTransfer()
{
    SimRadio sim({QStringLiteral("--fast")}, radioMemory());
    QVERIFY(sim.started());
    startApp(sim.device());
    const QString other = m_dir.filePath(QStringLiteral("other.sin"));
    RadioImage otherImage;
    otherImage.resetToNewDocument(HiddenPreset::Vhf);
    QVERIFY(storeChannelFile(other.toStdString(), otherImage));
    m_userPrompts->openName = other;
    bool tried = false;
    atProgress(10, [&] {
        tried = true;
        command(cmd::kFileNew)->trigger();
        command(cmd::kFileOpen)->trigger();
        QVERIFY(!m_app->OpenDocumentFile(other));  // what a recent file or a drop does
        // A transfer command while one runs changes nothing either.
        command(cmd::kWriteToRadio)->trigger();
        QCOMPARE(dialog().windowTitle(), QStringLiteral("数据读取进度"));
    });
    command(cmd::kReadFromRadio)->trigger();
    QVERIFY(startAndWait());
    QVERIFY(tried);
    QCOMPARE(m_app->view()->transferController()->lastResult().outcome, link::TransferOutcome::Completed);
    QVERIFY(m_app->document()->pathName().isEmpty());
    QCOMPARE(m_app->view()->settingBoxSelection(SettingBox::SquelchLevel), 7);
    // Afterwards they work again.
    QVERIFY(m_app->OpenDocumentFile(other));
}

void TestTransfer::closingCancelsThenCloses()
{
    SimRadio sim({QStringLiteral("--fast")}, radioMemory());
    QVERIFY(sim.started());
    startApp(sim.device());
    CMainFrame *frame = m_app->mainFrame();
    QVERIFY(frame->isVisible());
    atProgress(5, [&] {
        m_prompts->cancelToClose = false;
        QVERIFY(!frame->close());  // "no": the transfer goes on
        m_prompts->cancelToClose = true;
        QVERIFY(!frame->close());  // "yes": cancelled, the window closes when it has ended
    });
    command(cmd::kReadFromRadio)->trigger();
    QVERIFY(startAndWait());
    QCOMPARE(m_prompts->closeQuestions, 2);
    QCOMPARE(m_app->view()->transferController()->lastResult().outcome, link::TransferOutcome::Cancelled);
    QTRY_VERIFY(!frame->isVisible());
    QVERIFY(portIsFree(sim.device()));
}

void TestTransfer::formTakesNoEditsDuringATransfer_data()
{
    QTest::addColumn<int>("commandId");
    QTest::newRow("read") << cmd::kReadFromRadio;
    QTest::newRow("write") << cmd::kWriteToRadio;
}

// The user clicks a cell, types a channel, turns the squelch box and presses
// Enter while the blocks go: nothing of it reaches the form.
void TestTransfer::formTakesNoEditsDuringATransfer()
{
    QFETCH(int, commandId);
    SimRadio sim({QStringLiteral("--fast")}, radioMemory());
    QVERIFY(sim.started());
    startApp(sim.device());
    CProgramView *view = m_app->view();
    CMSFlexGrid *grid = view->grid();
    RecordingSink sink;
    view->cellEditors()->setMessageSink(&sink);
    const auto cellCentre = [grid](int row, int col) { return grid->visualRect(grid->model()->index(row, col)).center(); };
    QComboBox *squelch = view->settingBoxWidget(SettingBox::SquelchLevel);
    const int lowest = int(CProgramView::kBandLimits[std::size_t(std::max(0, view->bandSelection()))].lowest / 100000);
    const QString typed = QString::number(lowest + 1);

    QStringList during;
    bool tried = false;
    atProgress(10, [&] {
        tried = true;
        if (view->isEnabled())
            during << QStringLiteral("form enabled");
        m_app->mainFrame()->activateWindow();
        const QString before = grid->textMatrix(9, 1);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(9, 1));
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(9, 1));
        QTest::keyClicks(QApplication::focusWidget() ? QApplication::focusWidget() : m_app->mainFrame(), typed);
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : m_app->mainFrame(), Qt::Key_Return);
        QTest::mouseClick(squelch, Qt::LeftButton);
        QWheelEvent turn(QPointF(5, 5), squelch->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120), Qt::NoButton,
                         Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(squelch, &turn);
        for (int c = 1; c <= 8; ++c) {
            if (view->cellEditors()->editorForColumn(c)->isVisible())
                during << QStringLiteral("editor %1 open").arg(c);
        }
        if (grid->textMatrix(9, 1) != before)
            during << QStringLiteral("cell changed to ") + grid->textMatrix(9, 1);
    });
    const int squelchBefore = squelch->currentIndex();
    command(commandId)->trigger();
    QVERIFY(view->isEnabled());  // waiting for Start: the form is still the user's
    QVERIFY(startAndWait());
    QVERIFY(tried);
    QCOMPARE(view->transferController()->lastResult().outcome, link::TransferOutcome::Completed);
    QVERIFY2(during.isEmpty(), qPrintable(during.join(u'\n')));
    QVERIFY(sink.texts.isEmpty());
    QCOMPARE(squelch->currentIndex(), commandId == cmd::kReadFromRadio ? 7 : squelchBefore);
    if (commandId == cmd::kWriteToRadio) {
        // The radio holds what the form shows.
        QTRY_VERIFY(QFileInfo(sim.savePath()).size() == 1024);
        QFile saved(sim.savePath());
        QVERIFY(saved.open(QIODevice::ReadOnly));
        view->EncodeImage();
        QCOMPARE(saved.readAll().left(0x3D8), bytesOf(*view->documentImage(), 0, 0x3D8));
    }

    // Afterwards the form takes edits again, from the keyboard too.
    QVERIFY(view->isEnabled());
    m_app->mainFrame()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_app->mainFrame()));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(9, 1));
    QCOMPARE(QApplication::focusWidget(), view->cellEditors()->editorForColumn(1));
    QTest::keyClicks(QApplication::focusWidget(), typed);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(grid->textMatrix(9, 1), QStringLiteral("%1.00000").arg(typed));
}

// Typed while the dialog waited and still open when Start is pressed: the
// entry is committed and written.
void TestTransfer::editorOpenAtStartIsWritten()
{
    SimRadio sim({QStringLiteral("--fast")}, radioMemory());
    QVERIFY(sim.started());
    startApp(sim.device());
    CProgramView *view = m_app->view();
    CMSFlexGrid *grid = view->grid();
    command(cmd::kWriteToRadio)->trigger();
    const int lowest = int(CProgramView::kBandLimits[std::size_t(std::max(0, view->bandSelection()))].lowest / 100000);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(3, 1)).center());
    QTest::keyClicks(view->cellEditors()->editorForColumn(1), QString::number(lowest + 2));
    QVERIFY(startAndWait());
    QCOMPARE(grid->textMatrix(3, 1), QStringLiteral("%1.00000").arg(lowest + 2));
    QCOMPARE(view->documentImage()->channel(3).frequency(Side::Rx).value_or(0), quint32(lowest + 2) * 100000);
    QTRY_VERIFY(QFileInfo(sim.savePath()).size() == 1024);
    QFile saved(sim.savePath());
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll().mid(3 * 16, 16), bytesOf(*view->documentImage(), 3 * 16, 4 * 16));
}

void TestTransfer::writeEndingPartWaySaysHowManyBlocksAreNew_data()
{
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<int>("cancelAt");  // progress at which Cancel is clicked; 0: never
    QTest::addColumn<QString>("failure");  // the transfer's own message before ours, if any
    QTest::addColumn<int>("newBlocks");    // -1: as many as were acknowledged before the cancel; -2: no word
    const QString interrupted = QString::fromUtf8(link::text::kWriteInterrupted);
    QTest::newRow("cancelled part way") << QStringList{"--fast"} << 40 << QString() << -1;
    QTest::newRow("block 60 not acknowledged") << QStringList{"--fast", "--fault", "no-write-ack:60"} << 0 << interrupted
                                               << 60;
    QTest::newRow("radio gone from block 90") << QStringList{"--fast", "--fault", "hangup:90"} << 0 << interrupted << 90;
    QTest::newRow("block 0 not acknowledged") << QStringList{"--fast", "--fault", "no-write-ack:0"} << 0 << interrupted << 0;
    QTest::newRow("silent radio: nothing written, no word") << QStringList{"--fast", "--fault", "stray2"} << 0 << QString()
                                                            << -2;
}

void TestTransfer::writeEndingPartWaySaysHowManyBlocksAreNew()
{
    QFETCH(QStringList, simArgs);
    QFETCH(int, cancelAt);
    QFETCH(QString, failure);
    QFETCH(int, newBlocks);
    SimRadio sim(simArgs, radioMemory());
    QVERIFY(sim.started());
    startApp(sim.device());
    if (cancelAt > 0)
        atProgress(cancelAt, [this] { dialog().cancelButton()->click(); });
    command(cmd::kWriteToRadio)->trigger();
    QVERIFY(startAndWait());
    const link::TransferResult result = m_app->view()->transferController()->lastResult();
    QVERIFY(!result.completed());
    if (newBlocks == -1) {
        QCOMPARE(result.outcome, link::TransferOutcome::Cancelled);
        QVERIFY(result.blocksDone >= cancelAt && result.blocksDone < 123);
        newBlocks = result.blocksDone;
    }
    QStringList expected;
    if (!failure.isEmpty())
        expected << failure;
    if (newBlocks >= 0) {
        QCOMPARE(result.blocksDone, newBlocks);
        const QString told = TransferController::partlyWrittenText(newBlocks);
        QVERIFY2(told.contains(QStringLiteral("%1 块（共 123 块）").arg(newBlocks)), qPrintable(told));
        expected << told;
    }
    QCOMPARE(m_prompts->messages, expected);
    QVERIFY(m_app->view()->isEnabled());
    checkFreshDialogAndFreePort(sim.device());
}

void TestTransfer::everyTransferMessageInEnglish_data()
{
    QTest::addColumn<QString>("reported");  // as the protocol reports it, and tavin-cli prints it
    QTest::addColumn<QString>("shown");
    const std::pair<const char *, const char *> texts[] = {
        {link::text::kCheckingPort, "Checking the port, please wait..."},
        {link::text::kWaitingForRadio, "Waiting for the radio..."},
        {link::text::kPortOpenFailed, "Cannot open the serial port. Check that no other program is using it and that "
                                      "the cable is plugged in."},
        {link::text::kSendStatusError, "Error sending the acknowledgement."},
        {link::text::kCommunicationError, "Communication error. Check the cable and that the radio is switched on."},
        {link::text::kWriteInterrupted, "Programming was interrupted. Please switch the radio off and on and try again."},
        {link::text::kNotEnoughBytes, "Not enough bytes were received."},
        {link::text::kReadAckFailed, "An error occurred. Please try again."},
    };
    for (const auto &[reported, shown] : texts)
        QTest::newRow(shown) << QString::fromUtf8(reported) << QString::fromUtf8(shown);
}

void TestTransfer::everyTransferMessageInEnglish()
{
    QFETCH(QString, reported);
    QFETCH(QString, shown);
    LanguageChoice::apply(LanguageChoice::Language::English);
    CProgressDlg dialog;
    ScriptedTransferPrompts prompts;
    DialogTransferUi ui(dialog, prompts);
    ui.setStatusText(reported);
    ui.showMessage(reported);
    ui.askRetry(reported);
    LanguageChoice::apply(std::nullopt);
    QCOMPARE(dialog.statusLabel()->text(), shown);
    QCOMPARE(prompts.messages, QStringList{shown});
    QCOMPARE(prompts.questions, QStringList{shown});
}

// The progress window in English, as a transfer command opens it.
void TestTransfer::progressWindowInEnglish()
{
    LanguageChoice::apply(LanguageChoice::Language::English);
    CProgressDlg dialog;
    dialog.setTitle(CProgressDlg::kWriteTitle);
    dialog.createWindow();
    LanguageChoice::apply(std::nullopt);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Writing to Radio"));
    QCOMPARE(dialog.startButton()->text(), QStringLiteral("Start"));
    QCOMPARE(dialog.cancelButton()->text(), QStringLiteral("Cancel"));
    QCOMPARE(dialog.statusLabel()->text(), QStringLiteral("Waiting..."));
    // Back in Chinese the open window speaks Chinese again.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("数据写入进度"));
    QCOMPARE(dialog.startButton()->text(), QStringLiteral("开始"));
    dialog.OnCancel();
}

QTEST_MAIN(TestTransfer)
#include "tst_transfer.moc"
