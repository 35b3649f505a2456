// The main window as a user first meets it: caption, menus, keys, toolbar,
// status bar, the port check marks and the View menu.

#include "CMSFlexGrid.h"
#include "CMainFrame.h"
#include "CProgramApp.h"
#include "CProgramDoc.h"
#include "CProgramView.h"
#include "CommandIds.h"
#include "IsolatedSettings.h"
#include "RecordingPrompts.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>

class TestMainFrame : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void startUpState();
    void windowShrunkToFormAndCentred();
    void framePlacement_data();
    void framePlacement();
    void tabOrderOfTheForm();
    void menuLabels_data();
    void menuLabels();
    void toolbarButtonsInOrder();
    void promptsOnHover_data();
    void promptsOnHover();
    void portCheckMark_data();
    void portCheckMark();
    void viewMenuCheckMarks_data();
    void viewMenuCheckMarks();
    void acceleratorsReachTheirCommands_data();
    void acceleratorsReachTheirCommands();
    void deadKeysInAnEditField_data();
    void deadKeysInAnEditField();
    void portKeysDoNothing_data();
    void portKeysDoNothing();
    void indicatorsOffWithoutLockKeys();

private:
    tavin::test::IsolatedSettings m_settings;
    std::unique_ptr<CProgramApp> m_app;
    RecordingPrompts *m_prompts = nullptr;
};

void TestMainFrame::init()
{
    m_app = std::make_unique<CProgramApp>();
    auto prompts = std::make_unique<RecordingPrompts>();
    m_prompts = prompts.get();
    m_app->setPrompts(std::move(prompts));
    QVERIFY(m_app->InitInstance(QString(), false));
}

void TestMainFrame::cleanup()
{
    m_app.reset();
}

void TestMainFrame::startUpState()
{
    CMainFrame *frame = m_app->mainFrame();
    frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame));
    frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame));

    QCOMPARE(frame->windowTitle(), QStringLiteral("Tavin写频软件"));
    QVERIFY(m_app->formReady());

    const CMSFlexGrid *grid = m_app->view()->grid();
    const QStringList headers = {"信道", "接收频率(MHz)", "发射频率(MHz)", "QT/DQT解码", "QT/DQT编码",
                                 "繁忙锁定", "宽/窄带", "扫描", "功率"};
    QCOMPARE(grid->rowCount(), 17);
    QCOMPARE(grid->columnCount(), 9);
    for (int c = 0; c < 9; ++c)
        QCOMPARE(grid->textMatrix(0, c), headers.at(c));
    for (int n = 1; n <= 16; ++n) {
        QCOMPARE(grid->textMatrix(n, 0), QString::number(n));
        for (int c = 1; c < 9; ++c)
            QVERIFY2(grid->textMatrix(n, c).isEmpty(), "a new document shows empty channels");
    }
    // Column widths from w = the width of column 2, truncated.
    const int w = grid->colWidth(2);
    QCOMPARE(grid->colWidth(0), int(w * 0.5 / 1.25));
    QVERIFY(qAbs(grid->colWidth(5) - int(w / 1.25 / 1.2)) <= 20);

    QCOMPARE(QApplication::focusWidget(), m_app->view()->settingBoxWidget(tavin::SettingBox::Model));
    QVERIFY(frame->action(cmd::kPortCom1)->isChecked());
    QCOMPARE(m_app->view()->portName(), QStringLiteral("COM1"));
    QCOMPARE(frame->statusText(), QStringLiteral("就绪"));
    QVERIFY(!m_app->document()->isModified());
    // The new document's settings as the form shows them.
    CProgramView *view = m_app->view();
    QCOMPARE(view->settingBoxText(tavin::SettingBox::Model), QStringLiteral("QD-T310K"));
    QCOMPARE(view->settingBoxText(tavin::SettingBox::Band), QStringLiteral("136 - 174MHZ"));
    QCOMPARE(view->settingBoxText(tavin::SettingBox::TxTimeLimit), QStringLiteral("180s"));
    QCOMPARE(view->settingBoxText(tavin::SettingBox::Monitor), QStringLiteral("SQ-Off 瞬时"));
    QCOMPARE(view->settingBoxWidget(tavin::SettingBox::Band)->count(), 4);
}

void TestMainFrame::windowShrunkToFormAndCentred()
{
    CMainFrame *frame = m_app->mainFrame();
    const QSize form = m_app->view()->formSize();
    const QRect screen = frame->screen()->availableGeometry();
    QVERIFY(frame->width() <= CMainFrame::kInitialWidthPixels);
    QVERIFY(frame->height() <= CMainFrame::kInitialHeightPixels);
    // As large as the form needs, as far as the screen allows, and inside it.
    QVERIFY(frame->width() >= std::min(form.width(), screen.width()));
    QVERIFY(frame->height() >= std::min(form.height(), screen.height()));
    QVERIFY2(screen.contains(frame->frameGeometry()), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                                    .arg(frame->x()).arg(frame->y())
                                                                    .arg(frame->width()).arg(frame->height())));
    if (frame->width() < screen.width())
        QVERIFY(qAbs(frame->geometry().center().x() - screen.center().x()) <= 1);
    if (frame->height() < screen.height())
        QVERIFY(qAbs(frame->geometry().center().y() - screen.center().y()) <= 1);
}

void TestMainFrame::framePlacement_data()
{
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QRect>("placed");
    QTest::newRow("fits: centred") << QRect(0, 0, 1600, 1000) << QSize(871, 600) << QRect(364, 200, 871, 600);
    QTest::newRow("scale 2 on 1600x1000: larger both ways, the whole area")
        << QRect(0, 0, 800, 500) << QSize(853, 571) << QRect(0, 0, 800, 500);
    QTest::newRow("wider only: full width, centred down") << QRect(0, 0, 800, 1000) << QSize(853, 600)
                                                          << QRect(0, 200, 800, 600);
    QTest::newRow("panel at the top: below it") << QRect(0, 30, 1280, 770) << QSize(853, 600) << QRect(213, 115, 853, 600);
    QTest::newRow("taller than an offset area: its top edge") << QRect(100, 50, 1000, 400) << QSize(600, 571)
                                                               << QRect(300, 50, 600, 400);
    QTest::newRow("second screen to the left of the first") << QRect(-1280, 0, 1280, 1024) << QSize(853, 600)
                                                            << QRect(-1067, 212, 853, 600);
}

void TestMainFrame::framePlacement()
{
    QFETCH(QRect, available);
    QFETCH(QSize, frame);
    QFETCH(QRect, placed);
    const QRect result = CMainFrame::placeFrame(available, frame);
    QCOMPARE(result, placed);
    QVERIFY(available.contains(result));
}

void TestMainFrame::tabOrderOfTheForm()
{
    CProgramView *view = m_app->view();
    QWidget *start = view->settingBoxWidget(tavin::SettingBox::Band);
    QStringList order{start->objectName()};
    for (QWidget *w = start->nextInFocusChain(); w != start; w = w->nextInFocusChain()) {
        if (w->parentWidget() == view && (w->focusPolicy() & Qt::TabFocus))
            order.append(w->objectName());
    }
    QCOMPARE(order, (QStringList{"1011", "1017", "1013", "1014", "1016", "1012", "1075", "1076", "1077", "1078",
                                 "1007", "1015"}));

    // In the window, Tab from the last box and Shift+Tab from the first go
    // round to the other end, with no stop in between that shows nothing.
    m_app->mainFrame()->show();
    m_app->mainFrame()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_app->mainFrame()));
    QWidget *last = view->settingBoxWidget(tavin::SettingBox::RejectAlarm);
    last->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(last, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), start);
    QTest::keyClick(start, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), last);
}

void TestMainFrame::menuLabels_data()
{
    QTest::addColumn<int>("menu");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("items");  // "-" for a separator
    QTest::newRow("File menu") << 0 << "文件(&F)"
                               << QStringList{"新建(&N)", "打开(&O)...", "保存(&S)", "另存为(&A)...", "-",
                                              "打印(&P)...", "打印预览(&V)", "打印设置(&R)...", "-", "最近文件",
                                              "-", "退出(&X)"};
    QTest::newRow("Programming menu") << 1 << "编程" << QStringList{"从对讲机读取数据", "向对讲机写入数据"};
    QTest::newRow("Port menu, spaces before the tab")
        << 2 << "端口(&C)" << QStringList{"COM1 \tCtrl+1", "COM2  \tCtrl+2", "COM3  \tCtrl+3", "COM4  \tCtrl+4"};
    QTest::newRow("Tools menu, between Port and View")
        << 3 << "工具(&T)"
        << QStringList{"导入信道表(&I)...", "导出信道表(&E)...", "与文件比较(&D)...", "核对对讲机(&V)...",
                       "批量写频(&F)...", "检查连接(&K)...", "-", "语言 / Language"};
    QTest::newRow("View menu") << 4 << "查看(&V)" << QStringList{"工具栏(&T)", "状态栏(&S)"};
    QTest::newRow("Help menu") << 5 << "帮助(&H)" << QStringList{"关于 ..."};
}

void TestMainFrame::menuLabels()
{
    QFETCH(int, menu);
    QFETCH(QString, title);
    QFETCH(QStringList, items);
    const QList<QAction *> menus = m_app->mainFrame()->menuBar()->actions();
    QCOMPARE(menus.size(), 6);
    QAction *menuAction = menus.at(menu);
    QCOMPARE(menuAction->text(), title);
    QStringList shown;
    for (QAction *item : menuAction->menu()->actions()) {
        if (item->isVisible())
            shown.append(item->isSeparator() ? QStringLiteral("-") : item->text());
    }
    QCOMPARE(shown, items);
}

void TestMainFrame::toolbarButtonsInOrder()
{
    const QList<QAction *> buttons = m_app->mainFrame()->toolBar()->actions();
    QList<int> ids;
    QStringList tips;
    for (QAction *button : buttons) {
        ids.append(button->isSeparator() ? 0 : button->data().toInt());
        if (!button->isSeparator())
            tips.append(button->toolTip());
    }
    QCOMPARE(ids, (QList<int>{57600, 57601, 57603, 0, 32771, 32772, 0, 57607, 57664}));
    QCOMPARE(tips, (QStringList{"新建", "打开", "保存", "读频", "写频", "打印", "关于"}));
    for (QAction *button : buttons) {
        if (button->isSeparator())
            continue;
        QVERIFY(!button->icon().isNull());
        // The button itself carries the prompt for the status bar.
        QCOMPARE(m_app->mainFrame()->toolBar()->widgetForAction(button)->statusTip(), button->statusTip());
    }
}

void TestMainFrame::acceleratorsReachTheirCommands_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("saveQuestions");
    QTest::addColumn<int>("openDialogs");
    QTest::addColumn<int>("saveDialogs");
    QTest::newRow("Ctrl+N new asks about the changes") << int(Qt::Key_N) << 1 << 0 << 0;
    QTest::newRow("Ctrl+O open shows the dialog") << int(Qt::Key_O) << 0 << 1 << 0;
    QTest::newRow("Ctrl+S save of an untitled document asks for a name") << int(Qt::Key_S) << 0 << 0 << 1;
}

void TestMainFrame::acceleratorsReachTheirCommands()
{
    QFETCH(int, key);
    QFETCH(int, saveQuestions);
    QFETCH(int, openDialogs);
    QFETCH(int, saveDialogs);
    CMainFrame *frame = m_app->mainFrame();
    frame->show();
    QVERIFY(QTest::qWaitForWindowActive(frame));
    Q_EMIT m_app->view()->documentModified();
    m_prompts->openNames.enqueue(QString());  // the dialog is cancelled
    QTest::keyClick(m_app->view()->grid(), Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(m_prompts->saveQuestions.size(), saveQuestions);
    QCOMPARE(m_prompts->openNames.size(), 1 - openDialogs);
    QCOMPARE(m_prompts->suggestedSaveNames.size(), saveDialogs);
}

void TestMainFrame::promptsOnHover_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("prompt");
    QTest::newRow("new") << 57600 << "建立新文档";
    QTest::newRow("save as") << 57604 << "将活动文档以一个新文件名保存";
    QTest::newRow("print preview") << 57609 << "显示整页";
    QTest::newRow("exit") << 57665 << "退出应用程序；提示保存文档";
    QTest::newRow("read from radio") << 32771 << "从对讲机读取数据";
    QTest::newRow("COM2 prompt ends with a space") << 32775 << "选择串口2 ";
    QTest::newRow("status bar") << 59393 << "显示或隐藏状态栏";
    QTest::newRow("about") << 57664 << "显示程序信息，版本号和版权";
    QTest::newRow("import a channel list") << 32778 << "从 CSV 或 JSON 信道表导入信道到窗体";
    QTest::newRow("export a channel list") << 32779 << "将窗体中的信道导出为 CSV 或 JSON 信道表";
    QTest::newRow("compare with a file") << 32780 << "将窗体与一个信道文件比较，列出不同之处";
    QTest::newRow("verify the radio") << 32781 << "读取对讲机，核对其数据是否与窗体一致";
    QTest::newRow("fleet programming") << 32782 << "用窗体中的数据给多台对讲机写频，逐台备份、核对并记入审计日志";
    QTest::newRow("check the cable") << 32783 << "检查当前串口、编程线及其驱动，并给出修正方法";
}

void TestMainFrame::promptsOnHover()
{
    QFETCH(int, id);
    QFETCH(QString, prompt);
    CMainFrame *frame = m_app->mainFrame();
    QAction *act = frame->action(id);
    QVERIFY(act);
    QCOMPARE(act->statusTip(), prompt);
    act->showStatusText(frame);
    QCOMPARE(frame->statusText(), prompt);
    // Leaving the item brings the idle text back.
    QStatusTipEvent leave{QString()};
    QApplication::sendEvent(frame, &leave);
    QCOMPARE(frame->statusText(), QStringLiteral("就绪"));
}

void TestMainFrame::portCheckMark_data()
{
    QTest::addColumn<int>("chosen");
    QTest::addColumn<QString>("portName");
    QTest::newRow("COM1") << int(cmd::kPortCom1) << "COM1";
    QTest::newRow("COM2") << int(cmd::kPortCom2) << "COM2";
    QTest::newRow("COM3") << int(cmd::kPortCom3) << "COM3";
    QTest::newRow("COM4") << int(cmd::kPortCom4) << "COM4";
}

void TestMainFrame::portCheckMark()
{
    QFETCH(int, chosen);
    QFETCH(QString, portName);
    CMainFrame *frame = m_app->mainFrame();
    // Start from another port so that every row changes the choice.
    frame->action(chosen == cmd::kPortCom3 ? cmd::kPortCom2 : cmd::kPortCom3)->trigger();
    frame->action(chosen)->trigger();
    QCOMPARE(m_app->view()->portName(), portName);
    int checked = 0;
    for (int id : {cmd::kPortCom1, cmd::kPortCom2, cmd::kPortCom3, cmd::kPortCom4})
        checked += frame->action(id)->isChecked() ? 1 : 0;
    QCOMPARE(checked, 1);
    QVERIFY(frame->action(chosen)->isChecked());
    // Choosing the checked item again keeps it checked.
    frame->action(chosen)->trigger();
    QVERIFY(frame->action(chosen)->isChecked());
    // New does not change the port.
    frame->action(cmd::kFileNew)->trigger();
    QCOMPARE(m_app->view()->portName(), portName);
}

void TestMainFrame::viewMenuCheckMarks_data()
{
    QTest::addColumn<int>("id");
    QTest::newRow("toolbar") << int(cmd::kViewToolbar);
    QTest::newRow("status bar") << int(cmd::kViewStatusBar);
}

void TestMainFrame::viewMenuCheckMarks()
{
    QFETCH(int, id);
    CMainFrame *frame = m_app->mainFrame();
    frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame));
    QWidget *bar = id == cmd::kViewToolbar ? static_cast<QWidget *>(frame->toolBar()) : frame->statusBar();
    QAction *item = frame->action(id);
    QVERIFY(item->isChecked());
    QVERIFY(bar->isVisible());
    item->trigger();
    QVERIFY(!item->isChecked());
    QVERIFY(!bar->isVisible());
    item->trigger();
    QVERIFY(item->isChecked());
    QVERIFY(bar->isVisible());
}

void TestMainFrame::deadKeysInAnEditField_data()
{
    QTest::addColumn<QKeyCombination>("keys");
    QTest::newRow("Ctrl+V paste") << QKeyCombination(Qt::ControlModifier, Qt::Key_V);
    QTest::newRow("Shift+Insert paste") << QKeyCombination(Qt::ShiftModifier, Qt::Key_Insert);
    QTest::newRow("Ctrl+X cut") << QKeyCombination(Qt::ControlModifier, Qt::Key_X);
    QTest::newRow("Shift+Delete cut") << QKeyCombination(Qt::ShiftModifier, Qt::Key_Delete);
    QTest::newRow("Ctrl+Z undo") << QKeyCombination(Qt::ControlModifier, Qt::Key_Z);
    QTest::newRow("Alt+Backspace undo") << QKeyCombination(Qt::AltModifier, Qt::Key_Backspace);
    QTest::newRow("Ctrl+C copy") << QKeyCombination(Qt::ControlModifier, Qt::Key_C);
}

void TestMainFrame::deadKeysInAnEditField()
{
    QFETCH(QKeyCombination, keys);
    CMainFrame *frame = m_app->mainFrame();
    frame->show();
    QVERIFY(QTest::qWaitForWindowActive(frame));
    // An edit field over the grid, as the in-place frequency editor is.
    auto *edit = new QLineEdit(m_app->view()->grid());
    edit->show();
    edit->setFocus();
    QApplication::clipboard()->setText(QStringLiteral("999.99999"));
    QTest::keyClicks(edit, QStringLiteral("145.5"));
    edit->selectAll();
    QTest::keyClick(edit, keys.key(), keys.keyboardModifiers());
    QCOMPARE(edit->text(), QStringLiteral("145.5"));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("999.99999"));
    delete edit;
}

void TestMainFrame::portKeysDoNothing_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Ctrl+1") << int(Qt::Key_1);
    QTest::newRow("Ctrl+2") << int(Qt::Key_2);
    QTest::newRow("Ctrl+3") << int(Qt::Key_3);
    QTest::newRow("Ctrl+4") << int(Qt::Key_4);
}

void TestMainFrame::portKeysDoNothing()
{
    QFETCH(int, key);
    CMainFrame *frame = m_app->mainFrame();
    frame->show();
    QVERIFY(QTest::qWaitForWindowActive(frame));
    CMSFlexGrid *grid = m_app->view()->grid();
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(m_app->view()->portName(), QStringLiteral("COM1"));
    QVERIFY(frame->action(cmd::kPortCom1)->isChecked());
    QVERIFY(!m_app->document()->isModified());
}

void TestMainFrame::indicatorsOffWithoutLockKeys()
{
    // Where lock keys cannot be read the panes stay blank rather than guess.
    CMainFrame *frame = m_app->mainFrame();
    frame->updateIndicators();
#ifndef Q_OS_WIN
    for (int id : {cmd::kIndicatorCaps, cmd::kIndicatorNum, cmd::kIndicatorScroll})
        QVERIFY(frame->indicatorText(id).isEmpty());
#endif
}

QTEST_MAIN(TestMainFrame)
#include "tst_mainframe.moc"
