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

using namespace tavin;
using tavin::test::patternImage;
using tavin::test::SimRadio;

namespace {

constexpr int kStartedTimeoutMs = 30000;
constexpr int kEndTimeoutMs = 20000;

enum class Job { Read, Write, Verify, Clone };

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The records of an audit log, one JSON object per line.
QList<QJsonObject> logRecords(const QString &path)
{
    QList<QJsonObject> records;
    for (const QByteArray &line : fileBytes(path).split('\n')) {
        if (!line.trimmed().isEmpty())
            records << QJsonDocument::fromJson(line).object();
    }
    return records;
}

// A job under way: its arguments, and the files it leaves.
struct JobFiles {
    QString input;   // the channel file a write, verify or clone uses
    QString output;  // read -o
    QString log;     // clone's audit log
};

QStringList argumentsFor(Job job, const QString &device, const JobFiles &files)
{
    const QStringList port{QStringLiteral("--port"), device};
    switch (job) {
    case Job::Read:
        return QStringList{QStringLiteral("read")} + port + QStringList{QStringLiteral("-o"), files.output};
    case Job::Write:
        return QStringList{QStringLiteral("write")} + port + QStringList{files.input};
    case Job::Verify:
        return QStringList{QStringLiteral("verify")} + port + QStringList{files.input};
    case Job::Clone:
        return QStringList{QStringLiteral("clone"), files.input} + port +
               QStringList{QStringLiteral("--log"), files.log};
    }
    return {};
}

// The job is in the middle of its radio work: reads have taken some blocks,
// writes (clone's after its backup read) have sent some.
bool underWay(Job job, const SimRadio &sim)
{
    const QByteArray sent = sim.programBytes();
    if (job == Job::Write || job == Job::Clone)
        return sent.count(QByteArray::fromHex("5700")) >= 3;
    return sent.count(QByteArray::fromHex("06")) >= 5;
}

}  // namespace

Q_DECLARE_METATYPE(Job)

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
    QVERIFY(storeChannelFile(m_input.toStdString(), patternImage(40)));
}

void TestCliSignals::stopSignals_data()
{
    QTest::addColumn<Job>("job");
    QTest::addColumn<QList<int>>("signals");  // sent one right after the other
    QTest::addColumn<int>("killedBy");        // 0: ends at a safe point with exit code 8

    using S = QList<int>;
    QTest::newRow("read, SIGHUP") << Job::Read << S{SIGHUP} << 0;
    QTest::newRow("read, SIGQUIT") << Job::Read << S{SIGQUIT} << 0;
    QTest::newRow("write, SIGHUP") << Job::Write << S{SIGHUP} << 0;
    QTest::newRow("write, SIGTERM") << Job::Write << S{SIGTERM} << 0;
    QTest::newRow("verify, SIGHUP") << Job::Verify << S{SIGHUP} << 0;
    QTest::newRow("verify, SIGQUIT") << Job::Verify << S{SIGQUIT} << 0;
    QTest::newRow("clone, SIGHUP") << Job::Clone << S{SIGHUP} << 0;
    QTest::newRow("clone, SIGQUIT") << Job::Clone << S{SIGQUIT} << 0;
    QTest::newRow("clone, SIGTERM") << Job::Clone << S{SIGTERM} << 0;
    QTest::newRow("read, Ctrl+C then kill: ends at once") << Job::Read << S{SIGINT, SIGTERM} << SIGTERM;
    QTest::newRow("clone, hang-up then Ctrl+C: ends at once") << Job::Clone << S{SIGHUP, SIGINT} << SIGINT;
}

void TestCliSignals::stopSignals()
{
    QFETCH(Job, job);
    QFETCH(QList<int>, signals);
    QFETCH(int, killedBy);

    const RadioImage memory = patternImage(41);
    SimRadio sim({QStringLiteral("--fast")}, memory);
    QVERIFY(sim.started());
    const JobFiles files{m_input, sim.dirPath() + QStringLiteral("/read.sin"), sim.dirPath() + QStringLiteral("/log.jsonl")};
    QProcess cli;
    cli.start(QStringLiteral(TAVIN_CLI_PATH), argumentsFor(job, sim.device(), files));
    QVERIFY(cli.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(underWay(job, sim), kStartedTimeoutMs);
    for (const int s : signals)
        ::kill(static_cast<pid_t>(cli.processId()), s);
    QVERIFY(cli.waitForFinished(kEndTimeoutMs));
    const QString err = QString::fromUtf8(cli.readAllStandardError());
    const QString out = QString::fromUtf8(cli.readAllStandardOutput());

    if (killedBy != 0) {
        // QProcess reports a program ended by a signal as a crash.
        QCOMPARE(cli.exitStatus(), QProcess::CrashExit);
        QVERIFY(!QFile::exists(files.output));
        return;
    }
    QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
    QCOMPARE(cli.exitCode(), 8);
    switch (job) {
    case Job::Read:
    case Job::Verify:
        QVERIFY2(err.contains(QStringLiteral("cancelled after")), qPrintable(err));
        QVERIFY(!QFile::exists(files.output));
        break;
    case Job::Write:
        QVERIFY2(err.contains(QStringLiteral("the radio now holds a mix of old and new programming")), qPrintable(err));
        QVERIFY2(err.contains(QStringLiteral("to finish the new programming: tavin-cli write")), qPrintable(err));
        break;
    case Job::Clone: {
        const QList<QJsonObject> records = logRecords(files.log);
        QCOMPARE(records.size(), 1);
        QCOMPARE(records[0].value(QStringLiteral("result")).toString(), QStringLiteral("cancelled"));
        QCOMPARE(records[0].value(QStringLiteral("step")).toString(), QStringLiteral("write"));
        QVERIFY2(out.startsWith(QStringLiteral("1 radio: 0 programmed and verified, 1 not\n")), qPrintable(out));
        break;
    }
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
    const QByteArray command = QByteArray(TAVIN_CLI_PATH) + " clone '" + m_input.toUtf8() +
                               "' --port '" + sim.device().toUtf8() + "' --log '" + log.toUtf8() + "' > '" +
                               summary.toUtf8() + "'\n";
    QVERIFY(::write(terminal, command.constData(), size_t(command.size())) == command.size());
    // The window shows what the job writes, so the terminal never fills up.
    ::fcntl(terminal, F_SETFL, O_NONBLOCK);
    const auto writing = [&] {
        char shown[4096];
        while (::read(terminal, shown, sizeof shown) > 0) {
        }
        return sim.programBytes().count(QByteArray::fromHex("5700")) >= 3;
    };
    QTRY_VERIFY_WITH_TIMEOUT(writing(), kStartedTimeoutMs);
    ::close(terminal);  // the window is closed
    ::waitpid(shell, nullptr, 0);

    QTRY_COMPARE_WITH_TIMEOUT(logRecords(log).size(), 1, kEndTimeoutMs);
    QCOMPARE(logRecords(log)[0].value(QStringLiteral("result")).toString(), QStringLiteral("cancelled"));
    QTRY_VERIFY_WITH_TIMEOUT(fileBytes(summary).startsWith("1 radio: 0 programmed and verified, 1 not\n"), kEndTimeoutMs);
}

QTEST_GUILESS_MAIN(TestCliSignals)
#include "tst_clisignals.moc"
