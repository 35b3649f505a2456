// The fleet's workers and run on scripted cables (no pseudo-terminal, no
// timing): radios that answer, fail mid-write, differ after the write, lose
// their backup read, stay plugged in, or have the cable pulled out; a stop in
// the middle of a write and the go-ahead of a confirmed port. Each run ends
// with its records, backups, audit log and radios checked against each other.
#include "FakeCable.h"
#include "FleetHarness.h"

#include "CloneReport.h"
#include "CloneRun.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QMutex>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace tavin;
using namespace tavin::fleet;
using tavin::test::FakeBench;
using tavin::test::FakeCable;
using tavin::test::FakeRadioConfig;
using tavin::test::ScriptedRadio;

namespace {

constexpr int kRunTimeoutMs = 60000;
using Cables = QList<QList<ScriptedRadio>>;

enum class Action {
    None,
    StopAtWriteBlock10,    // Stop while the first radio's write is at block 10
    GoAheadWhenWaiting,    // give each waiting port the go-ahead
    StopAfterManyProbes,   // stop once the finished radio has been probed a while
};

QByteArray fleetBytes()
{
    const RadioImage image = test::fleetChannelFile();
    return QByteArray(reinterpret_cast<const char *>(image.data()), int(kImageSize));
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString describe(const RadioRecord &r)
{
    QString text = resultName(r.result);
    if (r.step && r.result != RadioResult::Verified)
        text += QLatin1Char(' ') + stepName(*r.step);
    if (r.block >= 0)
        text += QStringLiteral(" block %1").arg(r.block);
    return text;
}

// Hears the run from the worker threads; may act on what it hears.
class Recorder final : public CloneObserver {
public:
    std::function<void(int, const PortStatus &)> onChange;

    void portChanged(int index, const PortStatus &status) override
    {
        {
            QMutexLocker lock(&m_mutex);
            QStringList &seen = m_states[index];
            const QString state = QString::number(int(status.state));
            if (seen.isEmpty() || seen.constLast() != state)
                seen << state;
            if (status.state == PortState::PortMissing)
                m_problems << status.problem;
        }
        if (onChange)
            onChange(index, status);
    }
    void radioStarted(int, int radio) override
    {
        QMutexLocker lock(&m_mutex);
        m_started << radio;
    }
    void radioEnded(int, const RadioEnd &end) override
    {
        QMutexLocker lock(&m_mutex);
        m_ended << end.record;
    }
    void runEnded() override { m_runEnded = true; }

    QList<RadioRecord> ended() const { QMutexLocker lock(&m_mutex); return m_ended; }
    QList<int> started() const { QMutexLocker lock(&m_mutex); return m_started; }
    bool sawState(int port, PortState state) const
    {
        QMutexLocker lock(&m_mutex);
        return m_states.value(port).contains(QString::number(int(state)));
    }
    QList<PortProblem> problems() const { QMutexLocker lock(&m_mutex); return m_problems; }
    std::atomic<bool> m_runEnded{false};

private:
    mutable QMutex m_mutex;
    QMap<int, QStringList> m_states;
    QList<int> m_started;
    QList<RadioRecord> m_ended;
    QList<PortProblem> m_problems;
};

ScriptedRadio radio(std::function<void(ScriptedRadio &)> change = {})
{
    ScriptedRadio r;
    if (change)
        change(r);
    return r;
}

}  // namespace

Q_DECLARE_METATYPE(Cables)
Q_DECLARE_METATYPE(Action)

class TestFleetWorkers : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void runs_data();
    void runs();
};

void TestFleetWorkers::runs_data()
{
    QTest::addColumn<Cables>("cables");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<Action>("action");
    QTest::addColumn<QStringList>("expected");  // per radio by number

    const ScriptedRadio good = radio();
    QTest::newRow("radios answer one after another") << Cables{{good, good, good}} << 3 << false << Action::None
                                                     << QStringList{"verified", "verified", "verified"};
    QTest::newRow("fails mid-write, the next one is programmed")
        << Cables{{radio([](ScriptedRadio &r) { r.config.noWriteAckBlock = 40; }), good}} << 2 << false
        << Action::None << QStringList{"failed write block 40", "verified"};
    QTest::newRow("verify mismatch")
        << Cables{{radio([](ScriptedRadio &r) { r.config.badStoreBlock = 3; }), good}} << 2 << false << Action::None
        << QStringList{"verify-mismatch read-back", "verified"};
    QTest::newRow("backup read fails: nothing written")
        << Cables{{radio([](ScriptedRadio &r) {
                       r.config.shortReplyBlock = 5;
                       r.config.replySize = 9;
                   }),
                   good}}
        << 2 << false << Action::None << QStringList{"failed backup block 5", "verified"};
    QTest::newRow("never unplugged: programmed once, then only probed")
        << Cables{{radio([](ScriptedRadio &r) { r.staysForOpens = -1; })}} << 2 << false
        << Action::StopAfterManyProbes << QStringList{"verified"};
    QTest::newRow("cable pulled out mid-write, then back with the next radio")
        << Cables{{radio([](ScriptedRadio &r) { r.pulledAtWriteBlock = 30; }), good}} << 2 << false << Action::None
        << QStringList{"failed write block 30", "verified"};
    QTest::newRow("stop mid-write: cancelled with its blocks, no new radio")
        << Cables{{good, good}} << 0 << false << Action::StopAtWriteBlock10 << QStringList{"cancelled write"};
    QTest::newRow("confirmed: the same radio again on the go-ahead")
        << Cables{{radio([](ScriptedRadio &r) { r.staysForOpens = -1; })}} << 2 << true << Action::GoAheadWhenWaiting
        << QStringList{"verified", "verified"};
    QTest::newRow("two cables share the count")
        << Cables{{good, good, good}, {good, good, good}} << 4 << false << Action::None
        << QStringList{"verified", "verified", "verified", "verified"};
}

void TestFleetWorkers::runs()
{
    QFETCH(Cables, cables);
    QFETCH(int, count);
    QFETCH(bool, confirm);
    QFETCH(Action, action);
    QFETCH(QStringList, expected);

    QTemporaryDir dir;
    FakeBench bench;
    CloneOptions options;
    options.fileName = dir.filePath(QStringLiteral("fleet.sin"));
    const QByteArray file = fleetBytes();
    std::copy_n(file.constData(), kImageSize, reinterpret_cast<char *>(options.image.data()));
    for (qsizetype i = 0; i < cables.size(); ++i) {
        const QString port = QStringLiteral("CABLE-%1").arg(i + 1);
        options.ports << port;
        bench.add(port, std::make_shared<FakeCable>(cables.at(i)));
    }
    options.backupDir = dir.filePath(QStringLiteral("backups"));
    options.logPath = dir.filePath(QStringLiteral("backups/clone-log.jsonl"));
    options.count = count;
    options.confirm = confirm;

    WorkerSetup setup;
    setup.makePort = bench.factory();
    setup.pause = [](std::chrono::microseconds) {};
    setup.portRetry = std::chrono::milliseconds(1);
    setup.unplugPoll = std::chrono::milliseconds(1);
    Recorder recorder;
    CloneRun run(options, recorder, setup);
    if (action == Action::StopAtWriteBlock10) {
        recorder.onChange = [&run](int, const PortStatus &status) {
            if (status.state == PortState::Writing && status.block == 10)
                run.stop();
        };
    }
    const std::optional<Problem> problem = run.prepare();
    QVERIFY2(!problem, problem ? qPrintable(problem->message) : "");
    run.start();

    QDeadlineTimer deadline(kRunTimeoutMs);
    while (!run.wait(5) && !deadline.hasExpired()) {
        if (action == Action::GoAheadWhenWaiting) {
            for (int port : run.portsWaitingForGoAhead())
                run.goAhead(port);
        }
        if (action == Action::StopAfterManyProbes && bench.cable(options.ports.at(0))->opens() > 200)
            run.stop();
    }
    QVERIFY2(run.wait(0), "the run did not end");
    QVERIFY(recorder.m_runEnded);

    QList<RadioRecord> records = run.records();
    std::sort(records.begin(), records.end(), [](const RadioRecord &a, const RadioRecord &b) { return a.radio < b.radio; });
    QStringList results;
    for (const RadioRecord &r : records)
        results << describe(r);
    QCOMPARE(results, expected);
    QCOMPARE(recorder.ended().size(), records.size());
    QCOMPARE(recorder.started().size(), records.size());

    // The audit log holds every record, in full.
    const LogContents log = readLog(fileBytes(options.logPath));
    QVERIFY(log.problems.isEmpty());
    QCOMPARE(log.records.size(), records.size());

    // Each record against its radio: the k-th radio of a cable is its k-th record.
    for (qsizetype c = 0; c < cables.size(); ++c) {
        const QList<test::RadioHistory> radios = bench.cable(options.ports.at(c))->histories();
        QList<RadioRecord> mine;
        for (const RadioRecord &r : records) {
            if (r.port == options.ports.at(c))
                mine << r;
        }
        for (qsizetype k = 0; k < mine.size(); ++k) {
            const RadioRecord &r = mine.at(k);
            const test::RadioHistory &h = radios.at(confirm ? 0 : k);
            QCOMPARE(r.device, options.ports.at(c));
            if (r.step == RadioStep::Backup) {
                QVERIFY(r.backupFile.isEmpty());
                QCOMPARE(h.writeCommands, 0);  // nothing written to it
                continue;
            }
            // The backup is the radio as it came (the first time it was read).
            if (!confirm || k == 0)
                QCOMPARE(fileBytes(r.backupFile), h.original);
            if (r.result == RadioResult::Verified)
                QCOMPARE(h.final.left(layout::kWritableSize), file.left(layout::kWritableSize));
            if (r.result == RadioResult::Cancelled) {
                QVERIFY(r.blocksWritten >= 10);
                QCOMPARE(h.final.left(8 * r.blocksWritten), file.left(8 * r.blocksWritten));
            }
            // Never programmed twice without the go-ahead.
            QVERIFY(h.writeCommands <= (confirm ? 2 : 1) * link::wire::kWriteBlockCount);
        }
    }
    if (QTest::currentDataTag() == QLatin1String("cable pulled out mid-write, then back with the next radio")) {
        QVERIFY(recorder.sawState(0, PortState::PortMissing));
        QVERIFY(recorder.problems().contains(PortProblem::NoDevice));
    }
    if (confirm)
        QVERIFY(recorder.sawState(0, PortState::Confirm));
}

QTEST_GUILESS_MAIN(TestFleetWorkers)
#include "tst_fleetworkers.moc"
