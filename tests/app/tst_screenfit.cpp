// The program's windows and dialogs on a small or scaled screen, offscreen:
// the screen is TAVIN_TEST_SCREEN ("1024x768@2": 1024 x 768 pixels at scale
// factor 2, the default). Each window fits the screen's available area, a
// message listing many problems scrolls with its OK button in view, and the
// print preview shows all its buttons.
#include "CMSFlexGrid.h"
#include "CMainFrame.h"
#include "CProgramApp.h"
#include "CProgramView.h"
#include "CProgressDlg.h"
#include "CommandIds.h"
#include "IsolatedSettings.h"
#include "ScreenFit.h"
#include "TransferController.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QToolBar>
#include <QVBoxLayout>
#include <QtTest>

#include <functional>

namespace {

constexpr int kDialogWaitMs = 10000;

QRect availableArea()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// What a window shows, for checks made once it has gone.
struct Seen {
    QString title;
    QRect frame;
    QStringList hiddenParts;  // parts that should be in view and are not
    int scrollRange = -1;     // of the message text, when it scrolls
};

// Notes how far the dialog's scroll area scrolls, and closes the dialog by
// its OK button as the user does, if that is in view.
void closeByOk(QWidget *dialog, Seen &seen)
{
    auto *scroll = dialog->findChild<QScrollArea *>();
    seen.scrollRange = scroll ? scroll->verticalScrollBar()->maximum() : -1;
    auto *buttons = dialog->findChild<QDialogButtonBox *>();
    QAbstractButton *ok = buttons ? buttons->button(QDialogButtonBox::Ok) : nullptr;
    if (!ok || !ok->isVisible() || !dialog->rect().contains(QRect(ok->mapTo(dialog, QPoint()), ok->size()))) {
        seen.hiddenParts << QStringLiteral("OK");
        return;
    }
    QTest::mouseClick(ok, Qt::LeftButton);
    if (dialog->isVisible())
        seen.hiddenParts << QStringLiteral("OK did not close it");
}

}  // namespace

class TestScreenFit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void fileDialogsFit_data();
    void fileDialogsFit();
    void longMessageScrolls();
    void printPreviewShowsItsButtons();
    void smallDialogsFit_data();
    void smallDialogsFit();
    void tallDialogScrolls_data();
    void tallDialogScrolls();
    void currentCellStaysInView();
    void dialogGrowingWhenShownStaysInside();

private:
    // Runs command and looks at the modal dialog it opens; inspect may close
    // it, otherwise it is rejected.
    Seen seeModal(const std::function<void()> &command, const std::function<void(QWidget *, Seen &)> &inspect = {});

    tavin::test::IsolatedSettings m_settings;
    QTemporaryDir m_dir;
    std::unique_ptr<CProgramApp> m_app;
};

void TestScreenFit::initTestCase()
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.filePath(QStringLiteral("settings")));
    qInfo("screen %s, available %dx%d", qgetenv("TAVIN_TEST_SCREEN").constData(), availableArea().width(),
          availableArea().height());
}

void TestScreenFit::init()
{
    m_app = std::make_unique<CProgramApp>();
    QVERIFY(m_app->InitInstance(QString(), true));
    QVERIFY(QTest::qWaitForWindowExposed(m_app->mainFrame()));
}

void TestScreenFit::cleanup()
{
    m_app.reset();
}

Seen TestScreenFit::seeModal(const std::function<void()> &command, const std::function<void(QWidget *, Seen &)> &inspect)
{
    Seen seen;
    bool found = false;
    QTimer poll;
    poll.setInterval(20);
    connect(&poll, &QTimer::timeout, this, [&] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog || !dialog->isVisible() || found)
            return;
        found = true;
        poll.stop();
        seen.title = dialog->windowTitle();
        seen.frame = dialog->frameGeometry();
        if (inspect)
            inspect(dialog, seen);
        if (dialog->isVisible())
            QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection);
    });
    poll.start();
    QTimer::singleShot(kDialogWaitMs, &poll, [&poll] { poll.stop(); });
    command();
    if (!found)
        seen.hiddenParts << QStringLiteral("no dialog opened");
    return seen;
}

void TestScreenFit::fileDialogsFit_data()
{
    QTest::addColumn<int>("commandId");
    QTest::newRow("open") << cmd::kFileOpen;
    QTest::newRow("save as") << cmd::kFileSaveAs;
}

void TestScreenFit::fileDialogsFit()
{
    QFETCH(int, commandId);
    const Seen seen = seeModal([&] { m_app->mainFrame()->action(commandId)->trigger(); },
                               [](QWidget *dialog, Seen &seen) {
                                   // The buttons and the file-type box are the ones that went missing.
                                   for (QWidget *part : dialog->findChildren<QWidget *>()) {
                                       if (!qobject_cast<QAbstractButton *>(part) && !qobject_cast<QComboBox *>(part))
                                           continue;
                                       if (part->isVisible() && !dialog->rect().contains(QRect(part->mapTo(dialog, QPoint()), part->size())))
                                           seen.hiddenParts << part->metaObject()->className() + QStringLiteral(" ") + part->objectName();
                                   }
                               });
    QVERIFY2(seen.hiddenParts.isEmpty(), qPrintable(seen.hiddenParts.join(u',')));
    QVERIFY2(availableArea().contains(seen.frame), qPrintable(seen.title));
}

void TestScreenFit::longMessageScrolls()
{
    // A channel list whose every cell is wrong: far more lines than the screen has.
    const QString list = m_dir.filePath(QStringLiteral("wrong.csv"));
    QFile file(list);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("信道,接收频率(MHz),发射频率(MHz),QT/DQT解码,QT/DQT编码,繁忙锁定,宽/窄带,扫描,功率\n");
    for (int n = 1; n <= 16; ++n)
        file.write(QStringLiteral("%1,999.1,888.2,77.7,D999X,maybe,wide,yes,max\n").arg(n).toUtf8());
    file.close();

    const Seen seen = seeModal([&] { QVERIFY(!m_app->OpenDocumentFile(list)); },
                               closeByOk);
    QVERIFY2(seen.hiddenParts.isEmpty(), qPrintable(seen.hiddenParts.join(u',')));
    QVERIFY2(availableArea().contains(seen.frame), qPrintable(seen.title));
    // Either Qt's message box with the whole text, or a box whose text scrolls.
    QVERIFY(seen.scrollRange != 0);
}

void TestScreenFit::printPreviewShowsItsButtons()
{
    const Seen seen = seeModal(
        [&] { m_app->mainFrame()->action(cmd::kFilePrintPreview)->trigger(); },
        [](QWidget *dialog, Seen &seen) {
            auto *toolBar = dialog->findChild<QToolBar *>();
            QAction *close = nullptr;
            for (QAction *action : toolBar->actions()) {
                if (!action->isVisible() || action->isSeparator())
                    continue;
                if (action->text() == QStringLiteral("关闭"))
                    close = action;
                QWidget *button = toolBar->widgetForAction(action);
                if (!button || !button->isVisible()
                    || !toolBar->rect().contains(QRect(button->mapTo(toolBar, QPoint()), button->size())))
                    seen.hiddenParts << (action->text().isEmpty() ? QStringLiteral("a field") : action->text());
            }
            if (!close)
                seen.hiddenParts << QStringLiteral("关闭 missing");
            else
                QTest::mouseClick(toolBar->widgetForAction(close), Qt::LeftButton);
        });
    QCOMPARE(seen.title, QStringLiteral("打印预览"));
    QVERIFY2(seen.hiddenParts.isEmpty(), qPrintable(seen.hiddenParts.join(u',')));
    QVERIFY2(availableArea().contains(seen.frame), qPrintable(seen.title));
}

void TestScreenFit::smallDialogsFit_data()
{
    QTest::addColumn<int>("commandId");
    QTest::newRow("about") << cmd::kAppAbout;
    QTest::newRow("progress of a read") << cmd::kReadFromRadio;
}

void TestScreenFit::smallDialogsFit()
{
    QFETCH(int, commandId);
    if (commandId == cmd::kReadFromRadio) {
        // Modeless: it is there once the command returns.
        m_app->mainFrame()->action(commandId)->trigger();
        CProgressDlg *dialog = m_app->view()->transferController()->dialog();
        QVERIFY(dialog->isVisible());
        const QRect frame = dialog->frameGeometry();
        QVERIFY2(availableArea().contains(frame), qPrintable(QStringLiteral("%1,%2 %3x%4").arg(frame.x()).arg(frame.y())
                                                                 .arg(frame.width()).arg(frame.height())));
        dialog->cancelButton()->click();
        return;
    }
    const Seen seen = seeModal([&] { m_app->mainFrame()->action(commandId)->trigger(); });
    QVERIFY2(seen.hiddenParts.isEmpty(), qPrintable(seen.hiddenParts.join(u',')));
    QVERIFY2(availableArea().contains(seen.frame), qPrintable(seen.title));
}

// A dialog whose controls need more room than the screen has (Qt's page
// set-up at scale factor 2 on a small screen) shows them in a scroll area,
// its OK button in view.
void TestScreenFit::tallDialogScrolls_data()
{
    QTest::addColumn<bool>("qtPageSetup");
    QTest::newRow("forty fields and the buttons") << false;
    QTest::newRow("Qt's page set-up") << true;
}

void TestScreenFit::tallDialogScrolls()
{
    QFETCH(bool, qtPageSetup);
#ifdef Q_OS_WIN
    if (qtPageSetup)
        QSKIP("Windows has its own page set-up dialog, not Qt's");
#endif
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    std::unique_ptr<QDialog> dialog;
    if (qtPageSetup) {
        dialog = std::make_unique<QPageSetupDialog>(&printer, m_app->mainFrame());
    } else {
        dialog = std::make_unique<QDialog>(m_app->mainFrame());
        auto *layout = new QVBoxLayout(dialog.get());
        for (int i = 0; i < 40; ++i)
            layout->addWidget(new QLineEdit(QString::number(i), dialog.get()));
        auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog.get());
        connect(buttons, &QDialogButtonBox::accepted, dialog.get(), &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, dialog.get(), &QDialog::reject);
        layout->addWidget(buttons);
    }
    // Only a dialog that would not fit otherwise: at scale factor 1 on a large
    // screen the page set-up fits as Qt lays it out.
    const bool tooTall = dialog->minimumSizeHint().height() > availableArea().height();
    int result = -1;
    const Seen seen = seeModal([&] { result = dialog->exec(); }, closeByOk);
    QVERIFY2(seen.hiddenParts.isEmpty(), qPrintable(seen.hiddenParts.join(u',')));
    QVERIFY2(availableArea().contains(seen.frame), qPrintable(seen.title));
    QCOMPARE(result, int(QDialog::Accepted));
    if (tooTall)
        QVERIFY(seen.scrollRange > 0);
}

// On a screen smaller than the form, the walk through a channel by Tab and
// Enter brings each cell it reaches into view.
void TestScreenFit::currentCellStaysInView()
{
    CMSFlexGrid *grid = m_app->view()->grid();
    auto *scroll = qobject_cast<QScrollArea *>(m_app->mainFrame()->centralWidget());
    QVERIFY(scroll);
    m_app->mainFrame()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_app->mainFrame()));
    grid->setFocus(Qt::OtherFocusReason);
    const auto cellShown = [grid, scroll] {
        const QRect cell = grid->visualRect(grid->model()->index(grid->row(), grid->col()));
        const QRect onScreen(grid->viewport()->mapTo(scroll->viewport(), cell.topLeft()), cell.size());
        return scroll->viewport()->rect().contains(onScreen);
    };
    QTest::keyClick(grid, '1');  // opens the receive cell's editor
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("45.5"));
    for (int col = 2; col <= 8; ++col) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(grid->col(), col);
        QVERIFY2(cellShown(), qPrintable(QStringLiteral("column %1").arg(col)));
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);  // the next channel's receive cell
    QCOMPARE(grid->col(), 1);
    QVERIFY(cellShown());
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("146"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(grid->col(), 2);
    QVERIFY(cellShown());
}

// A shown dialog that grows (the print dialog showing its options) is kept
// inside the screen, moved back where it sticks out.
void TestScreenFit::dialogGrowingWhenShownStaysInside()
{
    QDialog dialog(m_app->mainFrame());
    dialog.resize(100, 80);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.move(availableArea().center());
    dialog.resize(availableArea().size() * 3 / 4);
    QTRY_VERIFY(availableArea().contains(dialog.frameGeometry()));
    dialog.resize(availableArea().size() * 2);
    QTRY_VERIFY(availableArea().contains(dialog.frameGeometry()));
}

// The screen is chosen before the application starts: offscreen, from a
// description of its one screen.
int main(int argc, char *argv[])
{
    const QString wanted = qEnvironmentVariable("TAVIN_TEST_SCREEN", QStringLiteral("1024x768@2"));
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("^(\\d+)x(\\d+)@(\\d+)$")).match(wanted);
    if (!match.hasMatch()) {
        std::fprintf(stderr, "TAVIN_TEST_SCREEN must look like 1024x768@2\n");
        return 2;
    }
#ifdef Q_OS_WIN
    // The platform's options end at a ':', so no drive letter: the file goes
    // into the current folder and is named relative to it.
    QTemporaryFile screen(QStringLiteral("tst_screenfit-XXXXXX.json"));
#else
    QTemporaryFile screen(QDir::tempPath() + QStringLiteral("/tst_screenfit-XXXXXX.json"));
#endif
    if (!screen.open())
        return 2;
    screen.write(QStringLiteral(R"({"screens":[{"name":"test","x":0,"y":0,"width":%1,"height":%2,)"
                                R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})")
                     .arg(match.captured(1), match.captured(2))
                     .toUtf8());
    screen.flush();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QDir::current().relativeFilePath(screen.fileName()).toLocal8Bit());
    qputenv("QT_SCALE_FACTOR", match.captured(3).toLocal8Bit());
    QApplication application(argc, argv);
    TestScreenFit test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_screenfit.moc"
