// The desktop program and its files: a name that is not UTF-8 through Open,
// Save, the recent-file list and a drop; and runs without a window that end
// with a message on stderr and an exit code instead of waiting for a click.

#include "../platform/ByteNamedFolder.h"
#include "CMainFrame.h"
#include "CProgramApp.h"
#include "CProgramDoc.h"
#include "NativePath.h"
#include "RecentFileList.h"
#include "RecordingPrompts.h"

#include <QMimeData>
#include <QPrinterInfo>
#include <QSettings>
#include <QtTest>

using tavin::platform::fromNativeBytes;
using tavin::platform::toNativeBytes;

class TestDocFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void undecodableNameOpensSavesAndComesBack();
    void runsWithoutAWindow_data();
    void runsWithoutAWindow();

private:
    int shell(const QString &command, QString *err = nullptr);

    tavin::test::ByteNamedFolder m_dir;
    QTemporaryDir m_settingsDir;
};

// Runs a bash command line in the temporary folder; TAVIN stands for the
// program, CLI for tavin-cli.
int TestDocFiles::shell(const QString &command, QString *err)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_settingsDir.path());
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(m_dir.path());
    QString line = command;
    line.replace(QLatin1String("TAVIN"), QStringLiteral(TAVIN_APP)).replace(QLatin1String("CLI"), QStringLiteral(TAVIN_CLI));
    p.start(QStringLiteral("/bin/bash"), {QStringLiteral("-c"), line});
    // A message box would wait here for ever.
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return -1;
    }
    if (err)
        *err = QString::fromUtf8(p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

void TestDocFiles::initTestCase()
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
    QCOMPARE(shell(QStringLiteral("CLI new -o radio.sin && head -c 100 radio.sin >short.sin && cp radio.sin $'K\\xf6ln.sin'")), 0);
}

void TestDocFiles::undecodableNameOpensSavesAndComesBack()
{
    const QByteArray name = QFile::encodeName(m_dir.path()) + "/K\xf6ln.sin";
    CProgramApp app;
    auto prompts = std::make_unique<RecordingPrompts>();
    RecordingPrompts *recorded = prompts.get();
    app.setPrompts(std::move(prompts));
    QVERIFY(app.InitInstance(fromNativeBytes(name), false));
    QCOMPARE(toNativeBytes(app.document()->pathName()), name);
    const auto entries = [this] {
        const auto folder = std::filesystem::path(QFile::encodeName(m_dir.path()).toStdString());
        return std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator());
    };
    const auto before = entries();
    app.document()->setModified(true);
    app.onFileSave();
    QVERIFY(recorded->errors.isEmpty());
    QCOMPARE(entries(), before);  // saved under its own bytes, not under a look-alike name
    RecentFileList recent(4);
    recent.load();
    QCOMPARE(toNativeBytes(recent.files().value(0)), name);

    app.onFileNew();
    QMimeData data;  // a file manager sends the bytes percent-encoded
    data.setUrls({QUrl(QStringLiteral("file://") + QString::fromLatin1(name.toPercentEncoding("/")))});
    app.mainFrame()->show();
    QVERIFY(QTest::qWaitForWindowExposed(app.mainFrame()));
    const QPoint at = app.mainFrame()->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(app.mainFrame(), &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(app.mainFrame(), &drop);
    QCOMPARE(toNativeBytes(app.document()->pathName()), name);
    QVERIFY(recorded->errors.isEmpty());
}

void TestDocFiles::runsWithoutAWindow_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("stderrHas");
    const QString cannotOpen = QStringLiteral("tavin: 无法打开文件。");
    QTest::newRow("screenshot of a missing file") << "TAVIN --screenshot s.png missing.sin" << 3 << cannotOpen;
    QTest::newRow("screenshot of a short file") << "TAVIN --screenshot s.png short.sin" << 3 << cannotOpen;
    QTest::newRow("print a missing file") << "TAVIN --print missing.sin" << 3 << cannotOpen;
    QTest::newRow("print a folder") << "TAVIN --print ." << 3 << "Is a directory";
    QTest::newRow("print a short file") << "TAVIN --print short.sin" << 3 << "is 100 bytes long";
    QTest::newRow("no printer of that name") << "TAVIN --print-to 'no such printer' radio.sin" << 1
                                             << "there is no printer named 'no such printer'";
    QTest::newRow("screenshot into a missing folder") << "TAVIN --screenshot none/s.png radio.sin" << 3
                                                      << "cannot write screenshot 'none/s.png'";
    QTest::newRow("screenshot of a name that is not text") << "TAVIN --screenshot s.png $'K\\xf6ln.sin' && test -s s.png"
                                                           << 0 << "";
    QTest::newRow("unknown switch") << "TAVIN --frobnicate" << 2 << "frobnicate";
    // No X server, no Wayland, no platform chosen: still no Qt start-up failure.
    QTest::newRow("screenshot with no display at all")
        << "env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY TAVIN --screenshot s.png radio.sin && test -s s.png"
        << 0 << "";
    QTest::newRow("bad file with no display at all")
        << "env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY TAVIN --print short.sin" << 3 << "is 100 bytes long";
    if (QPrinterInfo::availablePrinterNames().isEmpty())
        QTest::newRow("no printer at all") << "TAVIN --print radio.sin" << 1 << "tavin: 没有可用的打印机。";
}

void TestDocFiles::runsWithoutAWindow()
{
    QFETCH(QString, command);
    QFETCH(int, exitCode);
    QFETCH(QString, stderrHas);
    QString err;
    QCOMPARE(shell(command, &err), exitCode);
    QVERIFY2(err.contains(stderrHas), qPrintable(err));
}

QTEST_MAIN(TestDocFiles)
#include "tst_docfiles.moc"
