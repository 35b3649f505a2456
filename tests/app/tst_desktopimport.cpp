// Channel lists in the desktop program: named on the command line or dropped
// on the window they become a new, changed, untitled document; a refused list
// shows one message with its errors and changes nothing.
#include "CMSFlexGrid.h"
#include "CMainFrame.h"
#include "CProgramApp.h"
#include "CProgramDoc.h"
#include "CProgramView.h"
#include "ChannelListImport.h"
#include "NewDocument.h"
#include "RecordingPrompts.h"
#include "ToneTable.h"

#include <QFile>
#include <QMimeData>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray kPlan = "信道,接收频率(MHz),发射频率(MHz),QT/DQT解码,QT/DQT编码,繁忙锁定,宽/窄带,扫描,功率\r\n"
                         "1,462.5625,467.5625,67.0,D023N,是,窄带,删除,中\r\n";
const QByteArray kBadPlan = kPlan + "2,146.1\r\n3,462.5625,,xyz\r\n";

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

class TestDesktopImport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup() { m_app.reset(); }
    void namedOnTheCommandLine();
    void savedAsTheCommandLineImportWrites();
    void refusedAtStartUp();
    void refusedDropChangesNothing();
    void acceptedDropAsksAboutUnsavedChanges();

private:
    CProgramApp &startApp(const QString &file, bool *started = nullptr)
    {
        m_app = std::make_unique<CProgramApp>();
        auto prompts = std::make_unique<RecordingPrompts>();
        m_prompts = prompts.get();
        m_app->setPrompts(std::move(prompts));
        const bool ok = m_app->InitInstance(file, false);
        if (started)
            *started = ok;
        return *m_app;
    }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    void drop(const QString &file)
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(file)});
        const QPoint at = m_app->mainFrame()->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_app->mainFrame(), &enter);
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_app->mainFrame(), &dropped);
    }

    QTemporaryDir m_dir;
    QTemporaryDir m_settingsDir;
    std::unique_ptr<CProgramApp> m_app;
    RecordingPrompts *m_prompts = nullptr;
};

void TestDesktopImport::initTestCase()
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
    QVERIFY(writeFile(path("plan.csv"), kPlan));
    QVERIFY(writeFile(path("bad.CSV"), kBadPlan));
}

void TestDesktopImport::namedOnTheCommandLine()
{
    CProgramApp &app = startApp(path("plan.csv"));
    const CMSFlexGrid *grid = app.view()->grid();
    const QStringList expected{"462.56250", "467.56250", "67.0", "D023N", "是", "窄带", "删除", "中"};
    for (int c = 1; c <= 8; ++c)
        QCOMPARE(grid->textMatrix(1, c), expected.at(c - 1));
    QCOMPARE(grid->textMatrix(2, 1), QString());
    QCOMPARE(app.view()->settingBoxText(tavin::SettingBox::Band), QStringLiteral("400 - 470MHZ"));
    QVERIFY(app.document()->isModified());
    QVERIFY(app.document()->pathName().isEmpty());
    QVERIFY(m_prompts->errors.isEmpty());
    QVERIFY(app.recentFiles().files().isEmpty());
}

void TestDesktopImport::savedAsTheCommandLineImportWrites()
{
    CProgramApp &app = startApp(path("plan.csv"));
    m_prompts->saveNames.enqueue(path("plan.sin"));
    app.onFileSave();
    QCOMPARE(m_prompts->suggestedSaveNames.size(), 1);  // Save asked where: no file name yet
    const tavin::ToneTable tones;
    const tavin::lists::ImportOutcome cli = tavin::lists::importChannelList(kPlan, tavin::savedNewDocument(), {}, tones);
    QCOMPARE(readFile(path("plan.sin")), QByteArray(reinterpret_cast<const char *>(cli.image.data()), 1024));
    QVERIFY(!app.document()->isModified());
}

void TestDesktopImport::refusedAtStartUp()
{
    bool started = true;
    startApp(path("bad.CSV"), &started);
    QVERIFY(!started);
    QCOMPARE(m_prompts->errors.size(), 1);
}

void TestDesktopImport::refusedDropChangesNothing()
{
    CProgramApp &app = startApp(path("plan.csv"));
    CMainFrame *frame = app.mainFrame();
    frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame));
    drop(path("bad.CSV"));

    QCOMPARE(m_prompts->saveQuestions.size(), 0);  // nothing to save for: the list was refused
    QCOMPARE(m_prompts->errors.size(), 1);
    const QString message = m_prompts->errors.constFirst();
    // No band holds both 146.1 and 462.5625 MHz: the band of the two 46x MHz channels is taken.
    QVERIFY2(message.contains(QStringLiteral("no band holds every imported frequency; band set to 400 - 470MHZ, which "
                                             "holds the most channels (2 of 3); outside it: channel 2 (146.10000 MHz)\n")),
             qPrintable(message));
    QVERIFY(message.contains(QStringLiteral("bad.CSV:3: 接收频率(MHz): Out of range! (146.10000 MHz is outside the "
                                            "band 400 - 470MHZ)\n")));
    QVERIFY(message.contains(QStringLiteral("bad.CSV:4: QT/DQT解码: not a tone of the tone list ('xyz')")));
    QCOMPARE(app.view()->grid()->textMatrix(1, 1), QStringLiteral("462.56250"));
    QCOMPARE(app.view()->grid()->textMatrix(2, 1), QString());
    QVERIFY(app.document()->isModified());
}

void TestDesktopImport::acceptedDropAsksAboutUnsavedChanges()
{
    CProgramApp &app = startApp(QString());
    app.view()->grid()->setTextMatrix(5, 1, QStringLiteral("146.00000"));
    Q_EMIT app.view()->documentModified();

    m_prompts->saveAnswers.enqueue(UserPrompts::SaveAnswer::Cancel);
    drop(path("plan.csv"));
    QCOMPARE(m_prompts->saveQuestions.size(), 1);
    QCOMPARE(app.view()->grid()->textMatrix(5, 1), QStringLiteral("146.00000"));
    QCOMPARE(app.view()->grid()->textMatrix(1, 1), QString());

    m_prompts->saveAnswers.enqueue(UserPrompts::SaveAnswer::Discard);
    drop(path("plan.csv"));
    QCOMPARE(m_prompts->saveQuestions.size(), 2);
    QCOMPARE(app.view()->grid()->textMatrix(5, 1), QString());
    QCOMPARE(app.view()->grid()->textMatrix(1, 1), QStringLiteral("462.56250"));
    QVERIFY(app.document()->isModified());
}

QTEST_MAIN(TestDesktopImport)
#include "tst_desktopimport.moc"
