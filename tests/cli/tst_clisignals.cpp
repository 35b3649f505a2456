// Every way a radio job is told to stop (Ctrl+C, Ctrl+\, kill, a closed
// terminal) ends read, write, verify and clone at the protocol's next safe
// point, with the port closed and the records on disk; a second signal ends
// the program at once. Against tavin-sim over a pseudo-terminal.
#include "SimRadio.h"

#include "ChannelFile.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

using tavin::test::patternImage;
using tavin::test::SimRadio;

namespace {

constexpr int kStartedTimeoutMs = 30000;
constexpr int kEndTimeoutMs = 20000;

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The results of an audit log's records, one per line.
QStringList logResults(const QString &path)
{
    QStringList results;
    for (const QByteArray &line : fileBytes(path).split('\n')) {
        if (!line.trimmed().isEmpty())
            results << QJsonDocument::fromJson(line).object().value(QStringLiteral("result")).toString();
    }
    return results;
}

// Some blocks of a read (ACKs), or of a write (clone's after its backup read).
bool underWay(const QString &verb, const SimRadio &sim)
{
    const bool writes = verb == QLatin1String("write") || verb == QLatin1String("clone");
    return sim.programBytes().count(QByteArray::fromHex(writes ? "5700" : "06")) >= (writes ? 3 : 5);
}

}  // namespace

class TestCliSignals : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void stopSignals_data();
    void stopSignals();
    void closedTerminalWindow();

private:
    QTemporaryDir m_dir;
    QString m_input;
};

void TestCliSignals::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_input = m_dir.filePath(QStringLiteral("new.sin"));
    QVERIFY(tavin::storeChannelFile(m_input.toStdString(), patternImage(40)));
}

void TestCliSignals::stopSignals_data()
{
    QTest::addColumn<QString>("verb");
    QTest::addColumn<QList<int>>("signals");  // sent one right after the other
    QTest::addColumn<QString>("stderrHas");   // empty: ended at once by the last signal

    using S = QList<int>;
    const QString cancelled = QStringLiteral("cancelled after");
    const QString mixed = QStringLiteral("the radio now holds a mix of old and new programming");
    const QString stopping = QStringLiteral("clone: stopping");
    QTest::newRow("read, SIGHUP") << "read" << S{SIGHUP} << cancelled;
    QTest::newRow("read, SIGQUIT") << "read" << S{SIGQUIT} << cancelled;
    QTest::newRow("write, SIGHUP") << "write" << S{SIGHUP} << mixed;
    QTest::newRow("write, SIGTERM") << "write" << S{SIGTERM} << mixed;
    QTest::newRow("verify, SIGHUP") << "verify" << S{SIGHUP} << cancelled;
    QTest::newRow("verify, SIGQUIT") << "verify" << S{SIGQUIT} << cancelled;
    QTest::newRow("clone, SIGHUP") << "clone" << S{SIGHUP} << stopping;
    QTest::newRow("clone, SIGQUIT") << "clone" << S{SIGQUIT} << stopping;
    QTest::newRow("clone, SIGTERM") << "clone" << S{SIGTERM} << stopping;
    QTest::newRow("read, Ctrl+C then kill: ends at once") << "read" << S{SIGINT, SIGTERM} << QString();
    QTest::newRow("clone, hang-up then Ctrl+C: ends at once") << "clone" << S{SIGHUP, SIGINT} << QString();
}

void TestCliSignals::stopSignals()
{
    QFETCH(QString, verb);
    QFETCH(QList<int>, signals);
    QFETCH(QString, stderrHas);

    SimRadio sim({QStringLiteral("--fast")}, patternImage(41));
    QVERIFY(sim.started());
    const QString read = sim.dirPath() + QStringLiteral("/read.sin");
    const QString log = sim.dirPath() + QStringLiteral("/log.jsonl");
    QStringList args{verb, QStringLiteral("--port"), sim.device()};
    args += verb == QLatin1String("read") ? QStringList{QStringLiteral("-o"), read} : QStringList{m_input};
    if (verb == QLatin1String("clone"))
        args += QStringList{QStringLiteral("--log"), log};
    QProcess cli;
    cli.start(QStringLiteral(TAVIN_CLI_PATH), args);
    QVERIFY(cli.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(underWay(verb, sim), kStartedTimeoutMs);
    for (const int s : signals)
        ::kill(static_cast<pid_t>(cli.processId()), s);
    QVERIFY(cli.waitForFinished(kEndTimeoutMs));
    QVERIFY(!QFile::exists(read));  // a read is kept only when complete

    if (stderrHas.isEmpty()) {
        QCOMPARE(cli.exitStatus(), QProcess::CrashExit);  // how QProcess reports an end by a signal
        return;
    }
    const QString err = QString::fromUtf8(cli.readAllStandardError());
    QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
    QCOMPARE(cli.exitCode(), 8);
    QVERIFY2(err.contains(stderrHas), qPrintable(err));
    if (verb == QLatin1String("clone")) {
        QCOMPARE(logResults(log), QStringList{QStringLiteral("cancelled")});
        QVERIFY(cli.readAllStandardOutput().startsWith("1 radio: 0 programmed and verified, 1 not\n"));
    }
}

// Closing a terminal window hangs up its session: the shell passes SIGHUP on
// to the job, and the kernel sends one more as the shell ends. That is one
// request to stop, not two: the radio is recorded and the summary written.
void TestCliSignals::closedTerminalWindow()
{
    SimRadio sim({QStringLiteral("--fast")}, patternImage(42));
    QVERIFY(sim.started());
    const QString log = sim.dirPath() + QStringLiteral("/log.jsonl");
    const QString summary = sim.dirPath() + QStringLiteral("/summary.txt");

    int terminal = -1;
    const pid_t shell = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    QVERIFY(shell >= 0);
    if (shell == 0) {
        ::execlp("bash", "bash", "--norc", "--noprofile", "-i", static_cast<char *>(nullptr));
        ::_exit(127);
    }
    const QByteArray command = QByteArray(TAVIN_CLI_PATH) + " clone '" + m_input.toUtf8() + "' --port '" +
                               sim.device().toUtf8() + "' --log '" + log.toUtf8() + "' > '" + summary.toUtf8() + "'\n";
    QVERIFY(::write(terminal, command.constData(), size_t(command.size())) == command.size());
    // The window shows what the job writes, so the terminal never fills up.
    ::fcntl(terminal, F_SETFL, O_NONBLOCK);
    const auto writing = [&] {
        char shown[4096];
        while (::read(terminal, shown, sizeof shown) > 0) {
        }
        return underWay(QStringLiteral("clone"), sim);
    };
    QTRY_VERIFY_WITH_TIMEOUT(writing(), kStartedTimeoutMs);
    ::close(terminal);  // the window is closed
    ::waitpid(shell, nullptr, 0);

    QTRY_COMPARE_WITH_TIMEOUT(logResults(log), QStringList{QStringLiteral("cancelled")}, kEndTimeoutMs);
    QTRY_VERIFY_WITH_TIMEOUT(fileBytes(summary).startsWith("1 radio: 0 programmed and verified, 1 not\n"), kEndTimeoutMs);
}

QTEST_GUILESS_MAIN(TestCliSignals)
#include "tst_clisignals.moc"
