// The desktop program and its files: names that are not UTF-8 through the
// command line, Save, the recent-file list and drops; saving through a link
// and onto a full disk; and runs without a window that never wait for a click.

#include "../model/FullDisk.h"
#include "../platform/ByteNamedFolder.h"
#include "CMainFrame.h"
#include "CProgramApp.h"
#include "CProgramDoc.h"
#include "NativePath.h"
#include "NewDocument.h"
#include "RecentFileList.h"
#include "RecordingPrompts.h"

#include <QMimeData>
#include <QPrinterInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using tavin::platform::fromNativeBytes;
using tavin::platform::toNativeBytes;

namespace {

QByteArray newDocumentBytes()
{
    const tavin::RadioImage image = tavin::savedNewDocument();
    return QByteArray(reinterpret_cast<const char *>(image.data()), int(tavin::kImageSize));
}

bool writeNative(const QByteArray &path, const QByteArray &bytes)
{
    FILE *file = std::fopen(path.constData(), "wb");
    if (!file)
        return false;
    const bool ok = std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), file) == std::size_t(bytes.size());
    return std::fclose(file) == 0 && ok;
}

QByteArray readNative(const QByteArray &path)
{
    QByteArray bytes;
    if (FILE *file = std::fopen(path.constData(), "rb")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
            bytes.append(buffer, qsizetype(n));
        std::fclose(file);
    }
    return bytes;
}

QStringList namesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

}  // namespace

class TestDocFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void undecodableNameOpensSavesAndIsRemembered();
    void droppedUndecodableNameOpens();
    void saveThroughALinkKeepsTheLink();
    void saveOnAFullDiskKeepsTheFileAndTheChanges();
    void runsWithoutAWindowNeverWait_data();
    void runsWithoutAWindowNeverWait();
    void commandLineNameThatIsNotText();

private:
    CProgramApp &startApp(const QString &file = QString());

    tavin::test::ByteNamedFolder m_dir;
    QTemporaryDir m_settingsDir;
    QByteArray m_base;
    std::unique_ptr<CProgramApp> m_app;
    RecordingPrompts *m_prompts = nullptr;
};

void TestDocFiles::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
    m_base = QFile::encodeName(m_dir.path()) + '/';
    QVERIFY(writeNative(m_base + "radio.sin", newDocumentBytes()));
}

void TestDocFiles::init()
{
    QSettings("Local AppWizard-Generated Applications", "Tavin写频软件").clear();
}

void TestDocFiles::cleanup()
{
    m_app.reset();
}

CProgramApp &TestDocFiles::startApp(const QString &file)
{
    m_app = std::make_unique<CProgramApp>();
    auto prompts = std::make_unique<RecordingPrompts>();
    m_prompts = prompts.get();
    m_app->setPrompts(std::move(prompts));
    m_app->InitInstance(file, false);
    return *m_app;
}

void TestDocFiles::undecodableNameOpensSavesAndIsRemembered()
{
    const QByteArray name = m_base + "K\xf6ln \xff.sin";
    QByteArray bytes = newDocumentBytes();
    bytes[0x10] = '\x12';
    QVERIFY(writeNative(name, bytes));
    const QString path = fromNativeBytes(name);

    CProgramApp &app = startApp(path);
    QVERIFY2(m_prompts->errors.isEmpty(), qPrintable(m_prompts->errors.join(QLatin1Char('\n'))));
    QCOMPARE(toNativeBytes(app.document()->pathName()), name);
    QCOMPARE(app.document()->image()[0x10], std::uint8_t(0x12));

    // Save writes the same file, under no other name.
    const QStringList before = namesIn(m_dir.path());
    app.onFileSave();
    QVERIFY(m_prompts->errors.isEmpty());
    QCOMPARE(readNative(name).size(), qsizetype(tavin::kImageSize));
    QCOMPARE(namesIn(m_dir.path()), before);

    // The recent-file list brings the same bytes back.
    RecentFileList recent(4);
    recent.load();
    QCOMPARE(recent.files().size(), 1);
    QCOMPARE(toNativeBytes(recent.files().constFirst()), name);
}

void TestDocFiles::droppedUndecodableNameOpens()
{
    const QByteArray name = m_base + "drop\xfe.sin";
    QVERIFY(writeNative(name, newDocumentBytes()));
    CProgramApp &app = startApp();
    CMainFrame *frame = app.mainFrame();
    frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame));
    QMimeData data;
    // A file manager sends the name's bytes percent-encoded.
    data.setUrls({QUrl(QStringLiteral("file://") + QString::fromLatin1(name.toPercentEncoding("/")))});
    const QPoint at = frame->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame, &drop);
    QVERIFY2(m_prompts->errors.isEmpty(), qPrintable(m_prompts->errors.join(QLatin1Char('\n'))));
    QCOMPARE(toNativeBytes(app.document()->pathName()), name);
}

void TestDocFiles::saveThroughALinkKeepsTheLink()
{
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("shared")));
    const QByteArray target = m_base + "shared/fleet.sin";
    QVERIFY(writeNative(target, newDocumentBytes()));
    QVERIFY(::chmod(target.constData(), 0660) == 0);
    struct stat before {};
    QVERIFY(::stat(target.constData(), &before) == 0);
    const QByteArray link = m_base + "fleet-link.sin";
    QVERIFY(::symlink("shared/fleet.sin", link.constData()) == 0);

    CProgramApp &app = startApp(QFile::decodeName(link));
    app.document()->setModified(true);
    app.onFileSave();
    QVERIFY(m_prompts->errors.isEmpty());
    QVERIFY(QFileInfo(QFile::decodeName(link)).isSymLink());
    struct stat after {};
    QVERIFY(::stat(target.constData(), &after) == 0);
    QVERIFY(after.st_ino != before.st_ino);  // the target was replaced, not the link
    QCOMPARE(after.st_mode & 07777, mode_t(0660));
    QCOMPARE(readNative(target).size(), qsizetype(tavin::kImageSize));
    QVERIFY(!app.document()->isModified());
}

void TestDocFiles::saveOnAFullDiskKeepsTheFileAndTheChanges()
{
    tavin::test::FullDisk disk;
    QVERIFY(disk.valid());
    const QString path = disk.filePath(QStringLiteral("radio.sin"));
    const QByteArray old = newDocumentBytes();
    QVERIFY(writeNative(QFile::encodeName(path), old));
    disk.fill();
    CProgramApp &app = startApp(path);
    app.document()->setModified(true);
    {
        tavin::test::LimitedWrites limit(disk, 512);
        app.onFileSave();
    }
    QCOMPARE(m_prompts->errors.size(), 1);
    QVERIFY2(m_prompts->errors.constFirst().contains(disk.expectedReason()), qPrintable(m_prompts->errors.constFirst()));
    QVERIFY(m_prompts->errors.constFirst().contains(path));
    QCOMPARE(readNative(QFile::encodeName(path)), old);
    QVERIFY(app.document()->isModified());
    QVERIFY(!namesIn(disk.path()).join(QLatin1Char(' ')).contains(QLatin1String(".tavin")));
}

void TestDocFiles::runsWithoutAWindowNeverWait_data()
{
    QTest::addColumn<QStringList>("args");  // %DIR% the temporary folder
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("stderrHas");
    const QString missing = QStringLiteral("%DIR%/missing.sin");
    const QString shortFile = QStringLiteral("%DIR%/short.sin");
    const QString shot = QStringLiteral("%DIR%/shot.png");
    const QString cannotOpen = QStringLiteral("tavin: 无法打开文件。");
    QTest::newRow("screenshot of a missing file") << QStringList{"--screenshot", shot, missing} << 3 << cannotOpen;
    QTest::newRow("screenshot of a short file") << QStringList{"--screenshot", shot, shortFile} << 3 << cannotOpen;
    QTest::newRow("print a missing file") << QStringList{"--print", missing} << 3 << cannotOpen;
    QTest::newRow("print a folder") << QStringList{"--print", QStringLiteral("%DIR%")} << 3 << cannotOpen;
    QTest::newRow("print a short file") << QStringList{"--print", shortFile} << 3 << cannotOpen;
    QTest::newRow("print on a printer that is not there")
        << QStringList{"--print-to", "tavin no such printer", "%DIR%/radio.sin"} << 1
        << QStringLiteral("there is no printer named 'tavin no such printer'");
    QTest::newRow("screenshot into a missing folder") << QStringList{"--screenshot", "%DIR%/none/shot.png", "%DIR%/radio.sin"}
                                                      << 3 << QStringLiteral("cannot write screenshot");
    QTest::newRow("screenshot") << QStringList{"--screenshot", shot, "%DIR%/radio.sin"} << 0 << QString();
    QTest::newRow("unknown switch") << QStringList{"--frobnicate"} << 2 << QStringLiteral("frobnicate");
    if (QPrinterInfo::availablePrinterNames().isEmpty())
        QTest::newRow("print without any printer") << QStringList{"--print", "%DIR%/radio.sin"} << 1
                                                   << QStringLiteral("tavin: 没有可用的打印机。");
}

void TestDocFiles::runsWithoutAWindowNeverWait()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, stderrHas);
    QVERIFY(writeNative(m_base + "short.sin", QByteArray(100, '\x01')));
    QFile::remove(m_dir.filePath(QStringLiteral("shot.png")));
    for (QString &a : args)
        a.replace(QLatin1String("%DIR%"), m_dir.path());
    QProcess tavin;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_settingsDir.path());
    tavin.setProcessEnvironment(env);
    tavin.start(QStringLiteral(TAVIN_APP), args);
    // A message box would wait here for ever.
    const bool ended = tavin.waitForFinished(60000);
    if (!ended) {
        tavin.kill();
        tavin.waitForFinished();
    }
    QVERIFY(ended);
    const QString err = QString::fromUtf8(tavin.readAllStandardError());
    QVERIFY2(tavin.exitCode() == exitCode, qPrintable(err));
    QVERIFY2(err.contains(stderrHas), qPrintable(err));
    QCOMPARE(QFile::exists(m_dir.filePath(QStringLiteral("shot.png"))), exitCode == 0);
}

void TestDocFiles::commandLineNameThatIsNotText()
{
    // QProcess would turn the name into text on the way; the shell passes the bytes.
    QVERIFY(writeNative(m_base + "K\xf6ln.sin", newDocumentBytes()));
    const QString shot = m_dir.filePath(QStringLiteral("bytes.png"));
    QProcess tavin;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_settingsDir.path());
    tavin.setProcessEnvironment(env);
    tavin.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("exec \"$0\" --screenshot \"$1\" \"$2/K$(printf '\\366')ln.sin\""),
                                           QStringLiteral(TAVIN_APP), shot, m_dir.path()});
    QVERIFY(tavin.waitForFinished(60000));
    QVERIFY2(tavin.exitCode() == 0, tavin.readAllStandardError().constData());
    QVERIFY(QFile::exists(shot));
}

QTEST_MAIN(TestDocFiles)
#include "tst_docfiles.moc"
