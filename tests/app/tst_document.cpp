// New, Open, Save and Save As through the document, the model box rule, the
// unsaved-changes question, the recent-file list and dropped files.

#include "CMSFlexGrid.h"
#include "CMainFrame.h"
#include "CProgramApp.h"
#include "CProgramDoc.h"
#include "CProgramView.h"
#include "CommandIds.h"
#include "NewDocument.h"
#include "RadioImage.h"
#include "IsolatedSettings.h"
#include "RecordingPrompts.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using Answer = UserPrompts::SaveAnswer;
using tavin::SettingBox;

namespace {

QByteArray imageBytes(const tavin::RadioImage &image)
{
    return QByteArray(reinterpret_cast<const char *>(image.data()), int(tavin::kImageSize));
}

// A radio's memory with channel 1 at 460.10000 MHz receive only, tones FF FF,
// channel 2 on 462.56250 / 467.56250 MHz with 67.0 Hz and D754I, the second model.
tavin::RadioImage sampleImage()
{
    tavin::RadioImage image;
    image.resetToNewDocument(tavin::HiddenPreset::Uhf);
    const std::uint8_t channel1[16] = {0x00, 0x00, 0x01, 0x46, 0xFF, 0xFF, 0xFF, 0xFF,
                                       0xFF, 0xFF, 0xFF, 0xFF, 0xCF, 0x01, 0xFF, 0xFF};
    const std::uint8_t channel2[16] = {0x50, 0x62, 0x25, 0x46, 0x50, 0x62, 0x75, 0x46,
                                       0x70, 0x06, 0x54, 0xC7, 0x45, 0x01, 0x01, 0xFF};
    std::copy(std::begin(channel1), std::end(channel1), image.data() + 0x10);
    std::copy(std::begin(channel2), std::end(channel2), image.data() + 0x20);
    image[0x3D6] = 0x33;
    image[0x3D2] = 0xF2;
    return image;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class TestDocument : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void newDocumentSavedAtOnce();
    void saveAsWritesEditsAndKeepsCaption();
    void saveWithoutPathAsksForOne();
    void saveFailureNamesTheFile();
    void open_data();
    void open();
    void openOnCommandLineBeforeShown();
    void failedCommandLineOpenEndsStartUp();
    void modelBoxRule();
    void newAfterSecondModelUsesVhfPresets();
    void unsavedChangesQuestion_data();
    void unsavedChangesQuestion();
    void closeAsksAboutUnsavedChanges_data();
    void closeAsksAboutUnsavedChanges();
    void recentFileList();
    void recentFileOfMissingFileIsDropped();
    void droppedFileOpens();

private:
    CProgramApp &startApp(const QString &file = QString());
    QString tempPath(const QString &name) const { return m_dir.filePath(name); }
    void editCell(int row, int col, const QString &text);

    QTemporaryDir m_dir;
    tavin::test::IsolatedSettings m_settings;
    std::unique_ptr<CProgramApp> m_app;
    RecordingPrompts *m_prompts = nullptr;
};

void TestDocument::initTestCase()
{
    QVERIFY(writeFile(tempPath("sample.sin"), imageBytes(sampleImage())));
}

void TestDocument::init()
{
    QSettings("Local AppWizard-Generated Applications", "Tavin写频软件").clear();
}

void TestDocument::cleanup()
{
    m_app.reset();
}

CProgramApp &TestDocument::startApp(const QString &file)
{
    m_app = std::make_unique<CProgramApp>();
    auto prompts = std::make_unique<RecordingPrompts>();
    m_prompts = prompts.get();
    m_app->setPrompts(std::move(prompts));
    m_app->InitInstance(file, false);
    return *m_app;
}

void TestDocument::editCell(int row, int col, const QString &text)
{
    // What an in-place editor does when it commits: the cell text changes and
    // the form hears of it.
    m_app->view()->grid()->setTextMatrix(row, col, text);
    Q_EMIT m_app->view()->documentModified();
}

void TestDocument::newDocumentSavedAtOnce()
{
    CProgramApp &app = startApp();
    const QString path = tempPath("new.sin");
    m_prompts->saveNames.enqueue(path);
    app.mainFrame()->action(cmd::kFileSave)->trigger();
    QVERIFY(m_prompts->errors.isEmpty());
    const QByteArray bytes = readFile(path);
    QCOMPARE(bytes.size(), 1024);
    QCOMPARE(bytes, imageBytes(tavin::savedNewDocument()));
    QCOMPARE(bytes.mid(0x3C0, 4), QByteArray::fromHex("FF090306"));
    QCOMPARE(bytes.mid(0x3D0, 8), QByteArray::fromHex("0000F03730313250"));
    QCOMPARE(bytes.mid(0x3F0, 10), QByteArray::fromHex("5E092B69D8AA41AA604B"));
    QCOMPARE(bytes.mid(0x110, 16), QByteArray::fromHex("0000000000000000FFFFFFFFFF0101FF"));
    QCOMPARE(quint8(bytes.at(0x10 + 12)), quint8(0xCF));
    QCOMPARE(app.document()->pathName(), QFileInfo(path).absoluteFilePath());
    QVERIFY(!app.document()->isModified());
}

void TestDocument::saveAsWritesEditsAndKeepsCaption()
{
    CProgramApp &app = startApp(tempPath("sample.sin"));
    editCell(3, 1, "145.50000");
    editCell(3, 3, "D023N");
    QVERIFY(app.document()->isModified());
    const QString path = tempPath("edited.sin");
    m_prompts->saveNames.enqueue(path);
    app.mainFrame()->action(cmd::kFileSaveAs)->trigger();
    QVERIFY(m_prompts->errors.isEmpty());
    const QByteArray bytes = readFile(path);
    QCOMPARE(bytes.size(), 1024);
    QCOMPARE(bytes.mid(0x30, 4), QByteArray::fromHex("00005514"));  // 145.50000 MHz
    QCOMPARE(bytes.mid(0x38, 2), QByteArray::fromHex("2380"));      // D023N
    QCOMPARE(bytes.mid(0x20, 8), QByteArray::fromHex("5062254650627546"));
    QCOMPARE(quint8(bytes.at(0x3D6)), quint8(0x33));
    QVERIFY(!app.document()->isModified());
    QCOMPARE(app.document()->pathName(), QFileInfo(path).absoluteFilePath());
    QCOMPARE(app.mainFrame()->windowTitle(), QStringLiteral("Tavin写频软件"));
    // Save now goes to the same file without a dialog.
    editCell(3, 1, "146.00000");
    app.mainFrame()->action(cmd::kFileSave)->trigger();
    QCOMPARE(m_prompts->suggestedSaveNames.size(), 1);
    QCOMPARE(readFile(path).mid(0x30, 4), QByteArray::fromHex("00006014"));
}

void TestDocument::saveWithoutPathAsksForOne()
{
    CProgramApp &app = startApp();
    app.mainFrame()->action(cmd::kFileSave)->trigger();  // the dialog is cancelled
    QCOMPARE(m_prompts->suggestedSaveNames, QStringList{CProgramDoc::untitledName()});
    QVERIFY(app.document()->pathName().isEmpty());
    QVERIFY(m_prompts->errors.isEmpty());
}

void TestDocument::saveFailureNamesTheFile()
{
    CProgramApp &app = startApp();
    editCell(1, 1, "462.56250");
    const QString path = tempPath("no-such-folder/out.sin");
    m_prompts->saveNames.enqueue(path);
    app.mainFrame()->action(cmd::kFileSaveAs)->trigger();
    QCOMPARE(m_prompts->errors.size(), 1);
    QVERIFY2(m_prompts->errors.first().contains("out.sin"), qPrintable(m_prompts->errors.first()));
    QVERIFY(app.document()->isModified());
    QVERIFY(app.document()->pathName().isEmpty());
}

void TestDocument::open_data()
{
    QTest::addColumn<QByteArray>("content");   // file contents; "missing" or "folder" for no file
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QString>("rx1");          // grid cell (1, 1) afterwards
    QTest::addColumn<bool>("isNewDocument");   // the document was reset to a new one
    const QByteArray sample = imageBytes(sampleImage());
    QTest::newRow("1024-byte file") << sample << true << "460.10000" << false;
    QTest::newRow("2000-byte file uses the first 1024") << sample + QByteArray(976, '\x11') << true << "460.10000" << false;
    QTest::newRow("empty file keeps the image") << QByteArray() << true << "" << false;
    QTest::newRow("1000-byte file fails and resets") << sample.left(1000) << false << "" << true;
    QTest::newRow("missing file fails, document kept") << QByteArray("missing") << false << "" << false;
    QTest::newRow("folder fails, document kept") << QByteArray("folder") << false << "" << false;
}

void TestDocument::open()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, opens);
    QFETCH(QString, rx1);
    QFETCH(bool, isNewDocument);

    CProgramApp &app = startApp();
    QString path = tempPath(QStringLiteral("open-%1.sin").arg(QTest::currentDataTag()));
    if (content == "missing") {
        path = tempPath("does-not-exist.sin");
    } else if (content == "folder") {
        path = tempPath("a-folder.sin");
        QDir().mkpath(path);
    } else {
        QVERIFY(writeFile(path, content));
    }
    m_prompts->openNames.enqueue(path);
    app.mainFrame()->action(cmd::kFileOpen)->trigger();

    QCOMPARE(m_prompts->errors.isEmpty(), opens);
    if (!opens)
        QVERIFY2(m_prompts->errors.first().contains(QFileInfo(path).fileName()), qPrintable(m_prompts->errors.first()));
    QCOMPARE(app.view()->grid()->textMatrix(1, 1), rx1);
    QVERIFY(!app.document()->isModified());
    QCOMPARE(app.mainFrame()->windowTitle(), QStringLiteral("Tavin写频软件"));
    if (opens) {
        QCOMPARE(app.document()->pathName(), QFileInfo(path).absoluteFilePath());
        QCOMPARE(app.recentFiles().files().value(0), QFileInfo(path).absoluteFilePath());
    } else {
        QVERIFY(app.document()->pathName().isEmpty());
        QVERIFY(app.recentFiles().files().isEmpty());
    }
    if (isNewDocument) {
        tavin::RadioImage fresh;
        fresh.resetToNewDocument(tavin::HiddenPreset::Uhf);
        QCOMPARE(imageBytes(app.document()->image()).left(0x110), imageBytes(fresh).left(0x110));
    }
}

void TestDocument::openOnCommandLineBeforeShown()
{
    CProgramApp &app = startApp(tempPath("sample.sin"));
    QVERIFY(!app.mainFrame()->isVisible());
    const CMSFlexGrid *grid = app.view()->grid();
    QCOMPARE(grid->textMatrix(1, 1), QStringLiteral("460.10000"));
    QCOMPARE(grid->textMatrix(1, 2), QString());
    QCOMPARE(grid->textMatrix(1, 3), QStringLiteral("无"));
    QCOMPARE(grid->textMatrix(2, 3), QStringLiteral("67.0"));
    QCOMPARE(grid->textMatrix(2, 4), QStringLiteral("D754I"));
    QCOMPARE(grid->textMatrix(2, 5), QStringLiteral("否"));
    QCOMPARE(grid->textMatrix(2, 8), QStringLiteral("高"));
    QCOMPARE(app.view()->settingBoxText(SettingBox::Model), QStringLiteral("QD-6200"));
    QCOMPARE(app.view()->settingBoxText(SettingBox::Band), QStringLiteral("400 - 470MHZ"));
    // The model rule ran for the second model: step bytes of the hidden rows are 0.
    QCOMPARE(app.document()->image()[0x110 + 13], std::uint8_t(0));
    QCOMPARE(app.document()->pathName(), QFileInfo(tempPath("sample.sin")).absoluteFilePath());
}

void TestDocument::failedCommandLineOpenEndsStartUp()
{
    m_app = std::make_unique<CProgramApp>();
    auto prompts = std::make_unique<RecordingPrompts>();
    RecordingPrompts *seen = prompts.get();
    m_app->setPrompts(std::move(prompts));
    QVERIFY(!m_app->InitInstance(tempPath("missing.sin"), true));
    QVERIFY(!m_app->mainFrame()->isVisible());
    QCOMPARE(seen->errors.size(), 1);
}

void TestDocument::modelBoxRule()
{
    CProgramApp &app = startApp();
    CProgramView *view = app.view();
    QComboBox *model = view->settingBoxWidget(SettingBox::Model);
    QComboBox *band = view->settingBoxWidget(SettingBox::Band);
    band->setCurrentIndex(3);
    QCOMPARE(app.document()->image()[0x110 + 13], std::uint8_t(1));
    // The user picks the second model with the keyboard.
    model->setFocus();
    QTest::keyClick(model, Qt::Key_Down);
    QCOMPARE(view->settingBoxText(SettingBox::Model), QStringLiteral("QD-6200"));
    QCOMPARE(band->currentIndex(), 0);
    QCOMPARE(band->count(), 4);
    for (int row = 17; row <= 24; ++row) {
        const tavin::RadioImage &image = app.document()->image();
        QCOMPARE(image[std::size_t(16 * row + 13)], std::uint8_t(0));
        QCOMPARE(image[std::size_t(16 * row + 14)], std::uint8_t(0));
        QCOMPARE(image[std::size_t(16 * row + 7)], std::uint8_t(0));
    }
    QVERIFY(app.document()->isModified());
}

void TestDocument::newAfterSecondModelUsesVhfPresets()
{
    CProgramApp &app = startApp();
    app.view()->settingBoxWidget(SettingBox::Model)->setCurrentIndex(1);
    app.mainFrame()->action(cmd::kFileNew)->trigger();  // not modified: no question
    QVERIFY(m_prompts->saveQuestions.isEmpty());
    // A new document names the first model again; its decoding applies that rule.
    QCOMPARE(app.view()->settingBoxText(SettingBox::Model), QStringLiteral("QD-T310K"));
    QCOMPARE(app.document()->image()[0x110 + 13], std::uint8_t(1));
}

void TestDocument::unsavedChangesQuestion_data()
{
    QTest::addColumn<int>("command");  // 57600 new or 57601 open
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("proceeds");
    QTest::addColumn<bool>("saved");
    QTest::newRow("New, Cancel keeps the edit") << 57600 << int(Answer::Cancel) << false << false;
    QTest::newRow("New, Discard drops the edit") << 57600 << int(Answer::Discard) << true << false;
    QTest::newRow("New, Save saves then clears") << 57600 << int(Answer::Save) << true << true;
    QTest::newRow("Open, Cancel keeps the edit") << 57601 << int(Answer::Cancel) << false << false;
    QTest::newRow("Open, Discard opens") << 57601 << int(Answer::Discard) << true << false;
    QTest::newRow("Open, Save saves then opens") << 57601 << int(Answer::Save) << true << true;
}

void TestDocument::unsavedChangesQuestion()
{
    QFETCH(int, command);
    QFETCH(int, answer);
    QFETCH(bool, proceeds);
    QFETCH(bool, saved);

    CProgramApp &app = startApp();
    const QString savePath = tempPath(QStringLiteral("question-%1.sin").arg(QTest::currentDataTag()));
    editCell(5, 1, "150.00500");
    m_prompts->saveAnswers.enqueue(Answer(answer));
    m_prompts->saveNames.enqueue(savePath);
    m_prompts->openNames.enqueue(tempPath("sample.sin"));
    app.mainFrame()->action(command)->trigger();

    QCOMPARE(m_prompts->saveQuestions, QStringList{CProgramDoc::untitledName()});
    QCOMPARE(app.view()->grid()->textMatrix(5, 1), proceeds ? QString() : QStringLiteral("150.00500"));
    QCOMPARE(app.document()->isModified(), !proceeds);
    QCOMPARE(QFileInfo::exists(savePath), saved);
    if (saved)
        QCOMPARE(readFile(savePath).mid(0x50, 4), QByteArray::fromHex("00050015"));
    if (command == cmd::kFileOpen && proceeds)
        QCOMPARE(app.view()->grid()->textMatrix(1, 1), QStringLiteral("460.10000"));
}

void TestDocument::closeAsksAboutUnsavedChanges_data()
{
    QTest::addColumn<bool>("modified");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closes");
    QTest::newRow("unmodified closes without a question") << false << int(Answer::Cancel) << true;
    QTest::newRow("modified, Cancel stays open") << true << int(Answer::Cancel) << false;
    QTest::newRow("modified, Discard closes") << true << int(Answer::Discard) << true;
}

void TestDocument::closeAsksAboutUnsavedChanges()
{
    QFETCH(bool, modified);
    QFETCH(int, answer);
    QFETCH(bool, closes);
    CProgramApp &app = startApp();
    app.mainFrame()->show();
    QVERIFY(QTest::qWaitForWindowExposed(app.mainFrame()));
    if (modified)
        editCell(1, 1, "462.56250");
    m_prompts->saveAnswers.enqueue(Answer(answer));
    app.mainFrame()->action(cmd::kAppExit)->trigger();
    QCOMPARE(m_prompts->saveQuestions.size(), modified ? 1 : 0);
    QCOMPARE(app.mainFrame()->isVisible(), !closes);
}

void TestDocument::recentFileList()
{
    CProgramApp &app = startApp();
    QStringList paths;
    for (int i = 0; i < 5; ++i) {
        paths.append(QFileInfo(tempPath(QStringLiteral("recent-%1.sin").arg(i))).absoluteFilePath());
        QVERIFY(writeFile(paths.last(), imageBytes(sampleImage())));
        QVERIFY(app.OpenDocumentFile(paths.last()));
    }
    // Newest first, four entries; reopening one moves it to the top.
    QCOMPARE(app.recentFiles().files(), (QStringList{paths[4], paths[3], paths[2], paths[1]}));
    QVERIFY(app.OpenDocumentFile(paths[2]));
    QCOMPARE(app.recentFiles().files(), (QStringList{paths[2], paths[4], paths[3], paths[1]}));

    // The File menu shows them numbered, with the placeholder gone.
    QStringList shown;
    for (QAction *item : app.mainFrame()->fileMenu()->actions()) {
        if (item->isVisible() && item->data().toInt() >= cmd::kFileMru1 && item->data().toInt() < cmd::kFileMru1 + 4)
            shown.append(item->text().left(3));
    }
    QCOMPARE(shown, (QStringList{"&1 ", "&2 ", "&3 ", "&4 "}));

    // Stored in the per-user settings (on Windows with '\\', as Windows
    // programs write paths there) and read back at the next start.
    QSettings settings("Local AppWizard-Generated Applications", "Tavin写频软件");
    QCOMPARE(settings.value("Recent File List/File1").toString(), QDir::toNativeSeparators(paths[2]));
    m_app.reset();
    CProgramApp &again = startApp();
    QCOMPARE(again.recentFiles().files(), (QStringList{paths[2], paths[4], paths[3], paths[1]}));
    // Choosing entry 3 opens that file.
    again.onRecentFile(2);
    QCOMPARE(again.document()->pathName(), paths[3]);
}

void TestDocument::recentFileOfMissingFileIsDropped()
{
    CProgramApp &app = startApp();
    const QString path = QFileInfo(tempPath("vanishing.sin")).absoluteFilePath();
    QVERIFY(writeFile(path, imageBytes(sampleImage())));
    QVERIFY(app.OpenDocumentFile(path));
    QVERIFY(QFile::remove(path));
    app.onRecentFile(0);
    QCOMPARE(m_prompts->errors.size(), 1);
    QVERIFY(!app.recentFiles().files().contains(path));
}

void TestDocument::droppedFileOpens()
{
    CProgramApp &app = startApp();
    CMainFrame *frame = app.mainFrame();
    frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame));
    editCell(1, 1, "462.56250");
    m_prompts->saveAnswers.enqueue(Answer::Discard);

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(tempPath("sample.sin"))});
    const QPoint at = frame->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame, &drop);

    QCOMPARE(m_prompts->saveQuestions.size(), 1);
    QCOMPARE(app.view()->grid()->textMatrix(1, 1), QStringLiteral("460.10000"));
    QCOMPARE(app.document()->pathName(), QFileInfo(tempPath("sample.sin")).absoluteFilePath());
}

QTEST_MAIN(TestDocument)
#include "tst_document.moc"
