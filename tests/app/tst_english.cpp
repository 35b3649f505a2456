// The window in English, offscreen: the menus, the form, the grid and the
// choosers speak English; edits store exactly the bytes the same edits store
// in Chinese; switching languages keeps the form and its changed mark; every
// text fits its control (this test also runs at QT_SCALE_FACTOR=2); and the
// choice is kept, while with none the program stays Chinese under any LANG.

#include "CAboutDlg.h"
#include "CMSFlexGrid.h"
#include "CMainFrame.h"
#include "CProgramApp.h"
#include "CProgramDoc.h"
#include "CProgramView.h"
#include "CProgressDlg.h"
#include "CellEditors.h"
#include "CommandIds.h"
#include "CommandTexts.h"
#include "IsolatedSettings.h"
#include "LanguageChoice.h"
#include "LinkTexts.h"
#include "RecordingMessageSink.h"
#include "RecordingPrompts.h"
#include "TransferController.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QStyleOptionComboBox>
#include <QTemporaryDir>
#include <QtTest>

using Language = tavin::lang::Language;
using tavin::SettingBox;

Q_DECLARE_METATYPE(Language)

namespace {

bool hasChinese(const QString &text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x2E80; });
}

void showLanguage(std::optional<Language> language)
{
    LanguageChoice::apply(language);
    // The windows hear of it through posted events.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    QCoreApplication::processEvents();
}

QWidget *focus()
{
    return QApplication::focusWidget();
}

// Typed as a keyboard types it, any character (QTest types Latin-1 only).
void type(const QString &text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, c.isDigit() ? Qt::Key_0 + c.digitValue() : 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(focus(), &press);
        QKeyEvent release(QEvent::KeyRelease, press.key(), Qt::NoModifier, QString(c));
        QApplication::sendEvent(focus(), &release);
    }
}

void press(Qt::Key key, int times = 1)
{
    for (int i = 0; i < times; ++i)
        QTest::keyClick(focus(), key);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What a closed drop-down list needs to show text whole.
int comboWidthFor(const QComboBox &box, const QString &text)
{
    QStyleOptionComboBox option;
    option.initFrom(&box);
    option.frame = true;
    const QSize contents(box.fontMetrics().horizontalAdvance(text), box.fontMetrics().height());
    return box.style()->sizeFromContents(QStyle::CT_ComboBox, &option, contents, &box).width();
}

}  // namespace

class TestEnglish : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void menusSpeakEnglish_data();
    void menusSpeakEnglish();
    void formGridAndChoosersSpeakEnglish();
    void editingMessagesInEnglish_data();
    void editingMessagesInEnglish();
    void fileMessagesInEnglish();
    void sameEditsStoreTheSameBytes_data();
    void sameEditsStoreTheSameBytes();
    void switchingKeepsTheFormAndItsMark_data();
    void switchingKeepsTheFormAndItsMark();
    void openEditorKeepsItsTextAcrossASwitch_data();
    void openEditorKeepsItsTextAcrossASwitch();
    void textsFitTheirControls_data();
    void textsFitTheirControls();
    void choiceKeptAndDefaultChineseUnderAnyLang();

private:
    void startApp(std::optional<Language> language);
    CMSFlexGrid *grid() const { return m_app->view()->grid(); }
    QStringList rowTexts(int row) const;
    QStringList gridTexts() const;
    // The same edits as a user makes them from the keyboard alone; the tone
    // named in the user's language where one is typed by its name.
    void editFromTheKeyboard(const QString &noTone);

    tavin::test::IsolatedSettings m_settings;
    QTemporaryDir m_dir;
    std::unique_ptr<CProgramApp> m_app;
    RecordingPrompts *m_prompts = nullptr;
};

void TestEnglish::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void TestEnglish::init()
{
    QSettings(texts::kOrganisation, texts::kAppTitle).clear();
}

void TestEnglish::cleanup()
{
    m_app.reset();
    showLanguage(std::nullopt);
}

void TestEnglish::startApp(std::optional<Language> language)
{
    m_app.reset();
    showLanguage(language);
    m_app = std::make_unique<CProgramApp>();
    auto prompts = std::make_unique<RecordingPrompts>();
    m_prompts = prompts.get();
    m_app->setPrompts(std::move(prompts));
    QVERIFY(m_app->InitInstance(QString(), true));
    QVERIFY(QTest::qWaitForWindowActive(m_app->mainFrame()));
}

QStringList TestEnglish::rowTexts(int row) const
{
    QStringList texts;
    for (int c = 1; c <= 8; ++c)
        texts << grid()->textMatrix(row, c);
    return texts;
}

QStringList TestEnglish::gridTexts() const
{
    QStringList texts;
    for (int row = 0; row <= 16; ++row)
        texts << rowTexts(row);
    return texts;
}

void TestEnglish::menusSpeakEnglish_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("prompt");
    QTest::newRow("open") << cmd::kFileOpen << "&Open..." << "Open an existing document";
    QTest::newRow("read") << cmd::kReadFromRadio << "&Read from Radio" << "Read the programming from the radio";
    QTest::newRow("write") << cmd::kWriteToRadio << "&Write to Radio" << "Write the programming to the radio";
    QTest::newRow("port") << cmd::kPortCom2 << "COM2  \tCtrl+2" << "Use serial port COM2";
    QTest::newRow("status bar") << cmd::kViewStatusBar << "&Status Bar" << "Show or hide the status bar";
    QTest::newRow("tools: import") << cmd::kToolsImportList << "&Import Channel List..."
                                   << "Import the channels of a CSV or JSON channel list into the form";
    QTest::newRow("tools: fleet") << cmd::kToolsFleet << "&Fleet Programming..."
                                  << "Program many radios with what the form shows, each backed up, verified and "
                                     "recorded in an audit log";
    QTest::newRow("tools: cable check") << cmd::kToolsCableCheck << "Chec&k Connection..."
                                        << "Check the current serial port, the programming cable and its driver, "
                                           "and say how to fix them";
}

void TestEnglish::menusSpeakEnglish()
{
    QFETCH(int, command);
    QFETCH(QString, label);
    QFETCH(QString, prompt);
    startApp(Language::English);
    CMainFrame *frame = m_app->mainFrame();
    QCOMPARE(frame->action(command)->text(), label);
    QCOMPARE(frame->action(command)->statusTip(), prompt);
    QCOMPARE(frame->windowTitle(), QStringLiteral("Tavin Programming Software"));
    QCOMPARE(frame->statusText(), QStringLiteral("Ready"));

    // Every item of every menu, with its prompt and tooltip. Only the language
    // menu reads the same in both languages, so that either reader finds it.
    QStringList titles;
    QList<QMenu *> menus;
    for (QAction *top : frame->menuBar()->actions())
        menus << top->menu();
    while (!menus.isEmpty()) {
        QMenu *menu = menus.takeFirst();
        titles << menu->title();
        for (QAction *item : menu->actions()) {
            if (item->menu()) {
                menus << item->menu();
                continue;
            }
            if (menu->title() == QStringLiteral("语言 / Language"))
                continue;
            for (const QString &text : {item->text(), item->statusTip(), item->toolTip()})
                QVERIFY2(!hasChinese(text), qPrintable(text));
        }
    }
    QCOMPARE(titles.mid(0, 6), (QStringList{"&File", "&Program", "&COM Port", "&Tools", "&View", "&Help"}));
    QVERIFY(titles.contains(QStringLiteral("语言 / Language")));
}

void TestEnglish::formGridAndChoosersSpeakEnglish()
{
    startApp(Language::English);
    CProgramView *view = m_app->view();
    for (const QLabel *label : view->findChildren<QLabel *>())
        QVERIFY2(!hasChinese(label->text()), qPrintable(label->text()));
    for (const QGroupBox *group : view->findChildren<QGroupBox *>())
        QVERIFY2(!hasChinese(group->title()), qPrintable(group->title()));
    for (int b = 0; b < tavin::kSettingBoxCount; ++b) {
        const QComboBox *box = view->settingBoxWidget(SettingBox(b));
        for (int i = 0; i < box->count(); ++i)
            QVERIFY2(!hasChinese(box->itemText(i)), qPrintable(box->itemText(i)));
    }
    QCOMPARE(view->settingBoxWidget(SettingBox::Monitor)->currentText(), QStringLiteral("SQ Off Momentary"));

    QStringList headers;
    for (int c = 0; c < 9; ++c)
        headers << grid()->shownTextMatrix(0, c);
    QCOMPARE(headers, (QStringList{"CH", "Rx Freq (MHz)", "Tx Freq (MHz)", "Rx QT/DQT", "Tx QT/DQT", "Busy Lock",
                                   "W/N", "Scan", "Power"}));
    // The grid keeps the data's own words.
    QCOMPARE(grid()->textMatrix(0, 5), QStringLiteral("繁忙锁定"));

    const auto items = [view](int column) {
        auto *chooser = qobject_cast<QComboBox *>(view->cellEditors()->editorForColumn(column));
        chooser->showPopup();
        chooser->hidePopup();
        QStringList texts;
        for (int i = 0; i < chooser->count(); ++i)
            texts << chooser->itemText(i);
        return texts;
    };
    QCOMPARE(items(5), (QStringList{"Yes", "No"}));
    QCOMPARE(items(6), (QStringList{"Wide", "Narrow"}));
    QCOMPARE(items(7), (QStringList{"Add", "Delete"}));
    QCOMPARE(items(8), (QStringList{"High", "Mid", "Low"}));
    QCOMPARE(items(3).value(0), QStringLiteral("None"));
    QCOMPARE(items(3).value(1), QStringLiteral("67.0"));
}

void TestEnglish::editingMessagesInEnglish_data()
{
    QTest::addColumn<QString>("typed");  // on the receive frequency of channel 1, then Tab leaves the cell
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QStringList>("texts");
    const QString title = QStringLiteral("Tavin Programming Software");
    QTest::newRow("a letter") << "x" << QStringList{title} << QStringList{"Please enter a number."};
    QTest::newRow("no frequency") << "1000" << QStringList{title}
                                  << QStringList{"Invalid frequency. Please enter a frequency from 60 to 600 MHz."};
    QTest::newRow("outside the band and off the step")
        << "500.0033" << QStringList{"Out of Band", title}
        << QStringList{"The frequency is outside the selected band.",
                       "The frequency is not on a 6.25 kHz or 5 kHz step. Please enter it again."};
}

void TestEnglish::editingMessagesInEnglish()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, captions);
    QFETCH(QStringList, texts);
    startApp(Language::English);
    RecordingMessageSink messages;
    m_app->view()->cellEditors()->setMessageSink(&messages);
    grid()->setFocus(Qt::OtherFocusReason);
    type(typed);
    m_app->view()->commitOpenEditor();
    QStringList shownCaptions;
    for (const EditorMessage &message : std::as_const(messages.shown))
        shownCaptions << message.caption;
    QCOMPARE(shownCaptions, captions);
    QCOMPARE(messages.texts(), texts);
}

void TestEnglish::fileMessagesInEnglish()
{
    startApp(Language::English);
    QVERIFY(!m_app->OpenDocumentFile(m_dir.filePath(QStringLiteral("absent.sin"))));
    QCOMPARE(m_prompts->errors.size(), 1);
    QVERIFY2(m_prompts->errors.constFirst().startsWith(QStringLiteral("Cannot open the file.\n\n")),
             qPrintable(m_prompts->errors.constFirst()));
    QCOMPARE(m_app->document()->title(), QStringLiteral("Untitled"));
}

void TestEnglish::editFromTheKeyboard(const QString &noTone)
{
    grid()->setFocus(Qt::OtherFocusReason);
    QCOMPARE(focus(), grid());
    // Channel 1: a frequency copied to transmit, a tone from the list, no tone
    // by its name, and every switch changed with the arrow keys.
    type(QStringLiteral("145.5"));
    press(Qt::Key_Return, 2);
    press(Qt::Key_Down, 3);  // 71.9
    press(Qt::Key_Return);
    type(noTone);
    press(Qt::Key_Return);
    press(Qt::Key_Up);  // busy lock on
    press(Qt::Key_Return);
    press(Qt::Key_Down);  // narrow
    press(Qt::Key_Return);
    press(Qt::Key_Down);  // out of the scan list
    press(Qt::Key_Return);
    press(Qt::Key_Down);  // middle power
    press(Qt::Key_Return);
    QCOMPARE(grid()->row(), 2);
    // Channel 2: split frequencies, a tone that is not in the list, a DCS code
    // typed in small letters, the defaults.
    type(QStringLiteral("146.0125"));
    press(Qt::Key_Return);
    type(QStringLiteral("146.5"));
    press(Qt::Key_Return);
    type(QStringLiteral("7"));
    press(Qt::Key_Return);
    type(QStringLiteral("d754i"));
    press(Qt::Key_Return, 5);
    QCOMPARE(grid()->row(), 3);
    // Two settings.
    CProgramView *view = m_app->view();
    view->settingBoxWidget(SettingBox::Beep)->setFocus(Qt::OtherFocusReason);
    press(Qt::Key_Down);
    view->settingBoxWidget(SettingBox::Monitor)->setFocus(Qt::OtherFocusReason);
    press(Qt::Key_Up);
}

void TestEnglish::sameEditsStoreTheSameBytes_data()
{
    QTest::addColumn<QString>("englishNoTone");
    QTest::newRow("no tone chosen as \"None\"") << QStringLiteral("None");
    QTest::newRow("no tone typed in small letters") << QStringLiteral("none");
}

void TestEnglish::sameEditsStoreTheSameBytes()
{
    QFETCH(QString, englishNoTone);
    const QString chinesePath = m_dir.filePath(QStringLiteral("chinese.sin"));
    const QString englishPath = m_dir.filePath(QStringLiteral("english.sin"));
    QString error;

    startApp(Language::Chinese);
    editFromTheKeyboard(QStringLiteral("无"));
    const QStringList chineseGrid = gridTexts();
    const tavin::BoxSelections chineseBoxes = m_app->view()->boxSelections();
    QCOMPARE(rowTexts(1), (QStringList{"145.50000", "145.50000", "71.9", "无", "是", "窄带", "删除", "中"}));
    QCOMPARE(rowTexts(2), (QStringList{"146.01250", "146.50000", "OFF", "D754I", "否", "宽带", "添加", "高"}));
    QVERIFY(m_app->document()->OnSaveDocument(chinesePath, &error));
    // Reopened, a tone that is not in the list reads as no tone.
    QVERIFY(m_app->OpenDocumentFile(chinesePath));
    const QStringList chineseReopened = gridTexts();
    QCOMPARE(rowTexts(2).value(2), QStringLiteral("无"));

    startApp(Language::English);
    editFromTheKeyboard(englishNoTone);
    QCOMPARE(gridTexts(), chineseGrid);
    QCOMPARE(m_app->view()->boxSelections(), chineseBoxes);
    QVERIFY(m_app->document()->OnSaveDocument(englishPath, &error));
    QCOMPARE(readFile(englishPath), readFile(chinesePath));
    QVERIFY(m_prompts->errors.isEmpty());

    // The file saved in English opens in Chinese as the Chinese one does.
    startApp(Language::Chinese);
    QVERIFY(m_app->OpenDocumentFile(englishPath));
    QCOMPARE(gridTexts(), chineseReopened);
    QCOMPARE(m_app->view()->boxSelections(), chineseBoxes);
}

void TestEnglish::switchingKeepsTheFormAndItsMark_data()
{
    QTest::addColumn<bool>("edited");
    QTest::newRow("changed form stays changed") << true;
    QTest::newRow("unchanged form stays unchanged") << false;
}

void TestEnglish::switchingKeepsTheFormAndItsMark()
{
    QFETCH(bool, edited);
    startApp(std::nullopt);
    if (edited)
        editFromTheKeyboard(QStringLiteral("无"));
    CProgramView *view = m_app->view();
    const QStringList texts = gridTexts();
    const tavin::BoxSelections boxes = view->boxSelections();
    view->EncodeImage();
    const tavin::RadioImage image = *view->documentImage();
    QCOMPARE(m_app->document()->isModified(), edited);

    // Through the menu, as a user switches: English, Chinese, English.
    CMainFrame *frame = m_app->mainFrame();
    QMenu *tools = frame->menuBar()->actions().at(3)->menu();
    QMenu *languages = nullptr;
    for (QAction *a : tools->actions()) {
        if (a->menu())
            languages = a->menu();
    }
    QVERIFY(languages);
    // The window fits the form in each language, and again when it comes back
    // (where the screen is large enough to hold it).
    const bool roomy = frame->screen()->availableSize().width() > frame->frameGeometry().width() + 100;
    QMap<QString, QSize> frameSizes{{QStringLiteral("中文"), frame->size()}};
    for (const QString &name : {QStringLiteral("English"), QStringLiteral("中文"), QStringLiteral("English")}) {
        QAction *item = nullptr;
        for (QAction *a : languages->actions()) {
            if (a->text() == name)
                item = a;
        }
        QVERIFY(item);
        item->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        QVERIFY(item->isChecked());
        QCOMPARE(gridTexts(), texts);
        QCOMPARE(view->boxSelections(), boxes);
        QCOMPARE(m_app->document()->isModified(), edited);
        const bool english = name == QStringLiteral("English");
        QCOMPARE(frame->action(cmd::kToolsImportList)->text(),
                 english ? QStringLiteral("&Import Channel List...") : QStringLiteral("导入信道表(&I)..."));
        QCOMPARE(frame->action(cmd::kToolsImportList)->statusTip(),
                 english ? QStringLiteral("Import the channels of a CSV or JSON channel list into the form")
                         : QStringLiteral("从 CSV 或 JSON 信道表导入信道到窗体"));
        // Qt's own texts follow the choice, whatever the system's language.
        QDialogButtonBox buttons(QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text().remove(u'&'),
                 name == QStringLiteral("English") ? QStringLiteral("Cancel") : QStringLiteral("取消"));
        QTest::qWait(50);
        if (roomy && frameSizes.contains(name))
            QCOMPARE(frame->size(), frameSizes.value(name));
        frameSizes.insert(name, frame->size());
    }
    QCOMPARE(frame->windowTitle(), QStringLiteral("Tavin Programming Software"));
    QCOMPARE(LanguageChoice::saved(), std::optional<Language>(Language::English));
    view->EncodeImage();
    QVERIFY(std::equal(image.data(), image.data() + tavin::kImageSize, view->documentImage()->data()));
}

void TestEnglish::openEditorKeepsItsTextAcrossASwitch_data()
{
    QTest::addColumn<Language>("from");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("\"None\" typed in English, committed in Chinese") << Language::English << "None" << "无";
    QTest::newRow("\"无\" typed in Chinese, committed in English") << Language::Chinese << "无" << "无";
    QTest::newRow("a text that is no tone stays as typed") << Language::English << "7" << "OFF";
}

void TestEnglish::openEditorKeepsItsTextAcrossASwitch()
{
    QFETCH(Language, from);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    startApp(from);
    grid()->setFocus(Qt::OtherFocusReason);
    type(QStringLiteral("145.5"));
    press(Qt::Key_Return, 2);
    type(typed);
    showLanguage(from == Language::English ? Language::Chinese : Language::English);
    QVERIFY(m_app->view()->cellEditors()->editorForColumn(3)->isVisible());
    m_app->view()->commitOpenEditor();
    QCOMPARE(grid()->textMatrix(1, 3), stored);
}

void TestEnglish::textsFitTheirControls_data()
{
    QTest::addColumn<Language>("language");
    QTest::newRow("Chinese") << Language::Chinese;
    QTest::newRow("English") << Language::English;
}

void TestEnglish::textsFitTheirControls()
{
    QFETCH(Language, language);
    startApp(language);
    CProgramView *view = m_app->view();
    CProgressDlg *progress = view->transferController()->dialog();
    progress->setTitle(CProgressDlg::kReadTitle);
    progress->createWindow();
    QCoreApplication::processEvents();
    const QLabel *status = progress->statusLabel();
    for (const char *text : {tavin::link::text::kCheckingPort, tavin::link::text::kWaitingForRadio}) {
        const QString shown = QCoreApplication::translate(tavin::link::text::kContext, text);
        QVERIFY2(status->fontMetrics().horizontalAdvance(shown) <= status->contentsRect().width(), qPrintable(shown));
    }

    CAboutDlg about(m_app->mainFrame());
    about.show();
    QCOMPARE(about.windowTitle(), language == Language::English ? QStringLiteral("About") : QStringLiteral("关于"));
    for (QWidget *root : {static_cast<QWidget *>(view), static_cast<QWidget *>(progress), static_cast<QWidget *>(&about)}) {
        for (const QLabel *label : root->findChildren<QLabel *>()) {
            const QFontMetrics metrics = label->fontMetrics();
            const QRect room = label->contentsRect();
            const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
            const QRect needed = metrics.boundingRect(room, flags, label->text());
            QVERIFY2(room.contains(needed), qPrintable(label->text()));
        }
        for (const QPushButton *button : root->findChildren<QPushButton *>()) {
            const QString text = QString(button->text()).remove(QLatin1Char('&'));
            QVERIFY2(button->fontMetrics().horizontalAdvance(text) + 4 <= button->width(), qPrintable(text));
        }
    }
    for (const QGroupBox *group : view->findChildren<QGroupBox *>())
        QVERIFY2(group->fontMetrics().horizontalAdvance(group->title()) + 16 <= group->width(), qPrintable(group->title()));
    for (int b = 0; b < tavin::kSettingBoxCount; ++b) {
        const QComboBox *box = view->settingBoxWidget(SettingBox(b));
        for (int i = 0; i < box->count(); ++i)
            QVERIFY2(comboWidthFor(*box, box->itemText(i)) <= box->width(), qPrintable(box->itemText(i)));
    }
    // Headings and the words of the choosers within their columns.
    const int padding = 2 * (grid()->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid()) + 1);
    for (int c = 0; c < 9; ++c) {
        QStringList shown{grid()->shownTextMatrix(0, c)};
        if (auto *chooser = qobject_cast<QComboBox *>(view->cellEditors()->editorForColumn(c)); chooser && c >= 5) {
            chooser->showPopup();
            chooser->hidePopup();
            for (int i = 0; i < chooser->count(); ++i)
                shown << chooser->itemText(i);
        }
        for (const QString &text : std::as_const(shown))
            QVERIFY2(grid()->fontMetrics().horizontalAdvance(text) + padding <= grid()->columnWidth(c), qPrintable(text));
    }
    // The whole form in the window on a screen that has room for it.
    const QSize screen = m_app->mainFrame()->screen()->availableSize();
    if (screen.width() >= view->width() + 100 && screen.height() >= view->height() + 200)
        QVERIFY(m_app->mainFrame()->centralWidget()->width() >= view->width());
    progress->OnCancel();
}

// The desktop program itself: with no choice made it shows the very same
// window under every LANG; a choice made in the window is kept for the next
// run; --lang changes one run and keeps nothing.
void TestEnglish::choiceKeptAndDefaultChineseUnderAnyLang()
{
#ifdef Q_OS_WIN
    QSKIP("LANG and XDG_CONFIG_HOME choose nothing on Windows: the user's language and the registry do");
#endif
    const auto screenshot = [this](const QString &name, const QString &lang, const QStringList &options) {
        const QString picture = m_dir.filePath(name + QStringLiteral(".png"));
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LANG"), lang);
        environment.insert(QStringLiteral("LC_ALL"), lang);
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(TAVIN_APP), options + QStringList{QStringLiteral("--screenshot"), picture});
        if (!process.waitForFinished(120000) || process.exitCode() != 0)
            return QImage();
        return QImage(picture);
    };
    const QImage chinese = screenshot(QStringLiteral("c"), QStringLiteral("C.UTF-8"), {});
    QVERIFY(!chinese.isNull());
    // (A Chinese locale may make Qt prefer another face for Chinese letters,
    // with or without this program's choice; the texts are the same.)
    for (const QString &lang : {QStringLiteral("en_US.UTF-8"), QStringLiteral("de_DE.UTF-8")})
        QVERIFY2(screenshot(lang, lang, {}) == chinese, qPrintable(lang));
    const QImage english = screenshot(QStringLiteral("en"), QStringLiteral("C.UTF-8"), {QStringLiteral("--lang"), QStringLiteral("en")});
    QVERIFY(!english.isNull() && english != chinese);

    // A choice made in the window (kept where that run keeps its settings).
    QSettings kept(m_dir.filePath(QStringLiteral("config/Local AppWizard-Generated Applications/Tavin写频软件.conf")),
                   QSettings::IniFormat);
    kept.setValue(QStringLiteral("Settings/Language"), QStringLiteral("en"));
    kept.sync();
    QVERIFY(screenshot(QStringLiteral("kept"), QStringLiteral("C.UTF-8"), {}) == english);
    QVERIFY(screenshot(QStringLiteral("once"), QStringLiteral("C.UTF-8"), {QStringLiteral("--lang"), QStringLiteral("zh")})
            == chinese);
    kept.sync();
    QCOMPARE(kept.value(QStringLiteral("Settings/Language")).toString(), QStringLiteral("en"));
}

QTEST_MAIN(TestEnglish)
#include "tst_english.moc"
