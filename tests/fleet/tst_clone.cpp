// tavin-cli clone against tavin-sim over real pseudo-terminals: several
// ports at once, a backup and a log record per radio that prove what
// happened, failures on one port that leave the others alone, a radio left
// plugged in that is never programmed twice, Ctrl+C and --confirm.
#include "FleetHarness.h"

#include "CloneReport.h"
#include "RadioRecord.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <map>
#include <memory>

using namespace tavin;
using namespace tavin::test;
using fleet::RadioRecord;
using fleet::RadioResult;
using fleet::RadioStep;

namespace {

constexpr int kRunTimeoutMs = 180000;
constexpr int kRadioTimeoutMs = 60000;

// A memory of the sim's own: recognisable bytes everywhere, the first model's block.
RadioImage radioMemory(int seed)
{
    RadioImage image;
    for (std::size_t i = 0; i < kImageSize; ++i)
        image[i] = static_cast<std::uint8_t>((i * 31 + static_cast<std::size_t>(seed) * 11 + (i >> 7)) & 0xFF);
    const std::uint8_t model[] = {0x00, 0x00, 0xF2, 0x37, 0x30, 0x31, 0x32, 0x50};
    std::copy(std::begin(model), std::end(model), image.data() + layout::kModelBlock);
    return image;
}

// What the dealer programs: a new document with three channels.
RadioImage fleetFile()
{
    RadioImage image;
    image.resetToNewDocument(HiddenPreset::Uhf);
    image.channel(1).setFrequency(Side::Rx, 46256250);
    image.channel(1).setFrequency(Side::Tx, 46756250);
    image.channel(2).setFrequency(Side::Rx, 46258750);
    image.channel(2).setFrequency(Side::Tx, 46758750);
    image.channel(5).setFrequency(Side::Rx, 45180000);
    image.channel(5).setFrequency(Side::Tx, 45680000);
    image[layout::kSquelchLevel] = 4;
    return image;
}

QList<RadioRecord> logRecords(const QString &path, QStringList *problems = nullptr)
{
    const fleet::LogContents log = fleet::readLog(readFile(path));
    if (problems)
        *problems = log.problems;
    return log.records;
}

// The records of one port, in the order its radios came.
QList<RadioRecord> ofPort(const QList<RadioRecord> &records, const QString &port)
{
    QList<RadioRecord> mine;
    for (const RadioRecord &r : records) {
        if (r.port == port)
            mine += r;
    }
    std::sort(mine.begin(), mine.end(), [](const RadioRecord &a, const RadioRecord &b) { return a.start < b.start; });
    return mine;
}

}  // namespace

class TestClone : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void twoPortsSeveralRadios();
    void failuresStayOnTheirPort();
    void radioLeftPluggedInIsNotProgrammedTwice();
    void ctrlCDuringAWrite();
    void cablePulledOutAndBack();
    void confirmWaitsForEnter();
    void refusedBeforeAnyRadio_data();
    void refusedBeforeAnyRadio();

private:
    QTemporaryDir m_dir;
    QString m_file;
    QByteArray m_written;  // bytes 0x000 to 0x3D7 of the file
};

void TestClone::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_file = m_dir.filePath(QStringLiteral("fleet.sin"));
    QVERIFY(writeImageFile(m_file, fleetFile()));
    m_written = bytesOf(fleetFile(), 0, layout::kWritableSize);
}

void TestClone::twoPortsSeveralRadios()
{
    FleetSim simA({QStringLiteral("--fast"), QStringLiteral("--radios"), QStringLiteral("2")}, radioMemory(1));
    FleetSim simB({QStringLiteral("--fast"), QStringLiteral("--radios"), QStringLiteral("2")}, radioMemory(2));
    QVERIFY(simA.started() && simB.started());
    const QString backups = m_dir.filePath(QStringLiteral("two-ports"));
    const CliResult r = runClone({m_file, QStringLiteral("--port"), simA.device(), QStringLiteral("--port"),
                                  simB.device(), QStringLiteral("--count"), QStringLiteral("4"),
                                  QStringLiteral("--backup-dir"), backups},
                                 kRunTimeoutMs);
    QVERIFY2(r.exitCode == 0, qPrintable(QStringLiteral("exit %1\n%2").arg(r.exitCode).arg(r.err)));
    QVERIFY2(r.out.startsWith(QStringLiteral("4 radios: 4 programmed and verified\n")), qPrintable(r.out));
    QVERIFY(portIsFree(simA.device()) && portIsFree(simB.device()));
    simA.stop();
    simB.stop();

    const QString logPath = backups + QStringLiteral("/clone-log.jsonl");
    QStringList problems;
    const QList<RadioRecord> records = logRecords(logPath, &problems);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
    QCOMPARE(records.size(), 4);
    QList<int> numbers;
    for (const RadioRecord &rec : records)
        numbers += rec.radio;
    std::sort(numbers.begin(), numbers.end());
    QCOMPARE(numbers, (QList<int>{1, 2, 3, 4}));

    for (FleetSim *sim : {&simA, &simB}) {
        const QList<RadioRecord> mine = ofPort(records, sim->device());
        QCOMPARE(mine.size(), 2);
        for (int k = 0; k < 2; ++k) {
            const RadioRecord &rec = mine.at(k);
            const QByteArray original = sim->original(k + 1);
            QCOMPARE(original.size(), 1024);
            QCOMPARE(rec.result, RadioResult::Verified);
            QCOMPARE(rec.device, sim->device());
            // The backup is what the radio held, and the log proves it.
            QCOMPARE(readFile(rec.backupFile), original);
            QCOMPARE(QFileInfo(rec.backupFile).absolutePath(), QFileInfo(backups).absoluteFilePath());
            QCOMPARE(rec.backupSha256, sha256Hex(original));
            QCOMPARE(rec.writtenSha256, sha256Hex(m_written));
            QCOMPARE(rec.identity, original.mid(layout::kModelBlock, 8));
            QVERIFY(rec.times.backupSeconds && rec.times.writeSeconds && rec.times.readBackSeconds);
            QVERIFY(rec.start < rec.end);
            // The radio now holds the file, and still its own last 40 bytes.
            const QByteArray now = sim->final(k + 1);
            QCOMPARE(now.left(layout::kWritableSize), m_written);
            QCOMPARE(now.mid(layout::kWritableSize), original.mid(layout::kWritableSize));
        }
        QVERIFY(sim->original(1) != sim->original(2));
    }

    const CliResult table = runClone({QStringLiteral("--summary"), logPath});
    QCOMPARE(table.exitCode, 0);
    QCOMPARE(table.out.count(QStringLiteral(" verified ")), 4);
    QVERIFY2(table.out.endsWith(QStringLiteral("4 radios: 4 programmed and verified\n")), qPrintable(table.out));
}

void TestClone::failuresStayOnTheirPort()
{
    // Four cables: a radio that stops acknowledging in the middle of the
    // write, one that keeps a block wrong, one whose backup read fails, and
    // two good radios on the last cable.
    const RadioImage memory = radioMemory(3);
    FleetSim midWrite({QStringLiteral("--fast"), QStringLiteral("--fault"), QStringLiteral("no-write-ack:40")}, memory);
    FleetSim badStore({QStringLiteral("--fast"), QStringLiteral("--radios"), QStringLiteral("1"),
                       QStringLiteral("--fault"), QStringLiteral("bad-store:2")},
                      memory);
    FleetSim badBackup({QStringLiteral("--fast"), QStringLiteral("--fault"), QStringLiteral("read-reply-9:5")}, memory);
    FleetSim good({QStringLiteral("--fast"), QStringLiteral("--radios"), QStringLiteral("2")}, memory);
    QVERIFY(midWrite.started() && badStore.started() && badBackup.started() && good.started());
    const QString backups = m_dir.filePath(QStringLiteral("failures"));
    const QString logPath = m_dir.filePath(QStringLiteral("failures.jsonl"));
    const CliResult r = runClone({m_file, QStringLiteral("--port"), midWrite.device(), QStringLiteral("--port"),
                                  badStore.device(), QStringLiteral("--port"), badBackup.device(),
                                  QStringLiteral("--port"), good.device(), QStringLiteral("--count"),
                                  QStringLiteral("5"), QStringLiteral("--backup-dir"), backups,
                                  QStringLiteral("--log"), logPath},
                                 kRunTimeoutMs);
    // The worst outcome decides: a radio holding wrong programming.
    QVERIFY2(r.exitCode == 7, qPrintable(QStringLiteral("exit %1\n%2").arg(r.exitCode).arg(r.err)));
    for (FleetSim *sim : {&midWrite, &badStore, &badBackup, &good})
        QVERIFY(portIsFree(sim->device()));
    midWrite.stop();
    badBackup.stop();

    const QList<RadioRecord> records = logRecords(logPath);
    QCOMPARE(records.size(), 5);

    const QList<RadioRecord> failedWrite = ofPort(records, midWrite.device());
    QCOMPARE(failedWrite.size(), 1);
    QCOMPARE(failedWrite[0].result, RadioResult::Failed);
    QCOMPARE(failedWrite[0].step, RadioStep::Write);
    QCOMPARE(failedWrite[0].block, 40);
    QVERIFY2(failedWrite[0].message.contains(QStringLiteral("the first 40 of 123 new")), qPrintable(failedWrite[0].message));
    QVERIFY(failedWrite[0].message.contains(failedWrite[0].backupFile));
    QCOMPARE(readFile(failedWrite[0].backupFile), bytesOf(memory));
    QCOMPARE(midWrite.final(1), m_written.left(40 * 8) + bytesOf(memory, 40 * 8));

    const QList<RadioRecord> mismatch = ofPort(records, badStore.device());
    QCOMPARE(mismatch.size(), 1);
    QCOMPARE(mismatch[0].result, RadioResult::VerifyMismatch);
    QCOMPARE(mismatch[0].differences.size(), 1);
    QVERIFY2(mismatch[0].differences[0].startsWith(QStringLiteral("channel 1")), qPrintable(mismatch[0].differences[0]));
    QVERIFY(r.out.contains(mismatch[0].differences[0]) || r.err.contains(mismatch[0].differences[0]));

    const QList<RadioRecord> noBackup = ofPort(records, badBackup.device());
    QCOMPARE(noBackup.size(), 1);
    QCOMPARE(noBackup[0].result, RadioResult::Failed);
    QCOMPARE(noBackup[0].step, RadioStep::Backup);
    QVERIFY(noBackup[0].backupFile.isEmpty());
    QVERIFY2(noBackup[0].message.contains(QStringLiteral("nothing was written")), qPrintable(noBackup[0].message));
    QCOMPARE(badBackup.final(1), bytesOf(memory));  // untouched

    const QList<RadioRecord> goodOnes = ofPort(records, good.device());
    QCOMPARE(goodOnes.size(), 2);
    for (const RadioRecord &rec : goodOnes)
        QCOMPARE(rec.result, RadioResult::Verified);

    // The summary names every radio that did not end verified, with its reason.
    QVERIFY2(r.out.startsWith(QStringLiteral("5 radios: 2 programmed and verified, 3 not\n")), qPrintable(r.out));
    for (const RadioRecord &rec : {failedWrite[0], mismatch[0], noBackup[0]})
        QVERIFY2(r.out.contains(QStringLiteral("radio %1: ").arg(rec.radio)), qPrintable(r.out));
}

void TestClone::radioLeftPluggedInIsNotProgrammedTwice()
{
    // A radio that is never unplugged: programmed once, then only asked
    // whether it is still there, until Ctrl+C.
    FleetSim sim({QStringLiteral("--fast"), QStringLiteral("--save"), m_dir.filePath(QStringLiteral("plugged-in.sin"))},
                 radioMemory(4));
    QVERIFY(sim.started());
    const QString backups = m_dir.filePath(QStringLiteral("plugged-in"));
    CloneProcess clone({m_file, QStringLiteral("--port"), sim.device(), QStringLiteral("--count"), QStringLiteral("3"),
                        QStringLiteral("--backup-dir"), backups});
    QVERIFY2(clone.waitForError(QStringLiteral("programmed and verified"), kRadioTimeoutMs), qPrintable(clone.err()));
    QTest::qWait(4000);  // several rounds of asking
    QCOMPARE(logRecords(backups + QStringLiteral("/clone-log.jsonl")).size(), 1);
    clone.interrupt();
    QCOMPARE(clone.finish(20000), 0);  // the one radio that started ended verified
    QVERIFY2(clone.out().startsWith(QStringLiteral("1 radio: 1 programmed and verified\n")), qPrintable(clone.out()));
    QVERIFY(portIsFree(sim.device()));
    QCOMPARE(sim.errors().count(QStringLiteral("write complete")), 1);
    QCOMPARE(QDir(backups).entryList({QStringLiteral("radio-*.sin")}).size(), 1);
}

void TestClone::ctrlCDuringAWrite()
{
    const RadioImage memory = radioMemory(5);
    FleetSim sim({QStringLiteral("--fast")}, memory);
    QVERIFY(sim.started());
    const QString backups = m_dir.filePath(QStringLiteral("ctrl-c"));
    CloneProcess clone({m_file, QStringLiteral("--port"), sim.device(), QStringLiteral("--backup-dir"), backups});
    QVERIFY2(clone.waitForError(QStringLiteral(": writing"), kRadioTimeoutMs), qPrintable(clone.err()));
    // A dozen blocks in, by the sim's own record.
    QTRY_VERIFY_WITH_TIMEOUT(readFile(sim.dirPath() + QStringLiteral("/bytes.log")).count(" in 57 ") >= 12, 20000);
    clone.interrupt();
    QCOMPARE(clone.finish(20000), 8);
    QVERIFY(portIsFree(sim.device()));
    const QList<RadioRecord> records = logRecords(backups + QStringLiteral("/clone-log.jsonl"));
    QCOMPARE(records.size(), 1);
    QCOMPARE(records[0].result, RadioResult::Cancelled);
    QCOMPARE(records[0].step, RadioStep::Write);
    QVERIFY2(records[0].message.contains(QStringLiteral("mix of old and new")), qPrintable(records[0].message));
    QCOMPARE(readFile(records[0].backupFile), bytesOf(memory));
    // The radio holds what the message says: the first blocks new, the rest old.
    const int written = records[0].message.section(QStringLiteral("the first "), 1).section(QLatin1Char(' '), 0, 0).toInt();
    QVERIFY(written >= 12);
    sim.stop();
    QCOMPARE(sim.final(1), m_written.left(8 * written) + bytesOf(memory, 8 * written));
    QVERIFY2(clone.out().startsWith(QStringLiteral("1 radio: 0 programmed and verified, 1 not\n")), qPrintable(clone.out()));
}

void TestClone::cablePulledOutAndBack()
{
    // The cable (here the sim's device) goes away in the middle of a write:
    // that radio fails, the port waits until it can be opened again, and
    // then goes on with the next radio.
    const QString cable = m_dir.filePath(QStringLiteral("cable"));
    const QStringList simArgs{QStringLiteral("--fast"), QStringLiteral("--link"), cable};
    auto first = std::make_unique<FleetSim>(simArgs, radioMemory(8));
    QVERIFY(first->started());
    const QString backups = m_dir.filePath(QStringLiteral("cable-pulled"));
    CloneProcess clone({m_file, QStringLiteral("--port"), cable, QStringLiteral("--count"), QStringLiteral("2"),
                        QStringLiteral("--backup-dir"), backups});
    QVERIFY2(clone.waitForError(QStringLiteral(": writing"), kRadioTimeoutMs), qPrintable(clone.err()));
    QTRY_VERIFY_WITH_TIMEOUT(readFile(first->dirPath() + QStringLiteral("/bytes.log")).count(" in 57 ") >= 10, 20000);
    first.reset();
    QVERIFY2(clone.waitForError(QStringLiteral("cannot open the port"), kRadioTimeoutMs), qPrintable(clone.err()));
    FleetSim second(simArgs, radioMemory(9));
    QVERIFY(second.started());
    QCOMPARE(clone.finish(kRadioTimeoutMs), 6);
    const QList<RadioRecord> records = logRecords(backups + QStringLiteral("/clone-log.jsonl"));
    QCOMPARE(records.size(), 2);
    QCOMPARE(records[0].result, RadioResult::Failed);
    QCOMPARE(records[0].step, RadioStep::Write);
    QCOMPARE(records[1].result, RadioResult::Verified);
    QCOMPARE(readFile(records[1].backupFile), bytesOf(radioMemory(9)));
}

void TestClone::confirmWaitsForEnter()
{
    // With --confirm the radio need not be unplugged: Enter says the next one
    // is there (here the same radio again, on purpose).
    FleetSim sim({QStringLiteral("--fast")}, radioMemory(6));
    QVERIFY(sim.started());
    const QString backups = m_dir.filePath(QStringLiteral("confirm"));
    const QString logPath = backups + QStringLiteral("/clone-log.jsonl");
    CloneProcess clone({m_file, QStringLiteral("--port"), sim.device(), QStringLiteral("--count"), QStringLiteral("2"),
                        QStringLiteral("--confirm"), QStringLiteral("--backup-dir"), backups});
    QVERIFY2(clone.waitForError(QStringLiteral("press Enter"), kRadioTimeoutMs), qPrintable(clone.err()));
    QTest::qWait(2000);
    QCOMPARE(logRecords(logPath).size(), 1);
    clone.type("\n");
    QCOMPARE(clone.finish(kRadioTimeoutMs), 0);
    QCOMPARE(logRecords(logPath).size(), 2);
}

void TestClone::refusedBeforeAnyRadio_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    // PORT is a sim's device, LINK a symbolic link to it, FILE the fleet file, DIR a fresh folder.
    QTest::newRow("one device under two names") << QStringList{"FILE", "--port", "PORT", "--port", "LINK"} << 2 << "same device";
    QTest::newRow("one device twice") << QStringList{"FILE", "--port", "PORT", "--port", "PORT"} << 2 << "same device";
    QTest::newRow("no such port") << QStringList{"FILE", "--port", "/dev/tavin-no-such-port"} << 4 << "tavin-no-such-port";
    QTest::newRow("count zero") << QStringList{"FILE", "--port", "PORT", "--count", "0"} << 2 << "--count";
    QTest::newRow("count not a number") << QStringList{"FILE", "--port", "PORT", "--count", "all"} << 2 << "all";
    QTest::newRow("no file") << QStringList{"--port", "PORT"} << 2 << "expected one channel file";
    QTest::newRow("missing file") << QStringList{"DIR/none.sin", "--port", "PORT"} << 3 << "none.sin";
    QTest::newRow("backup folder is a file")
        << QStringList{"FILE", "--port", "PORT", "--backup-dir", "FILE"} << 3 << "fleet.sin";
    QTest::newRow("log in a missing folder")
        << QStringList{"FILE", "--port", "PORT", "--backup-dir", "DIR/b", "--log", "DIR/no/such/log.jsonl"} << 3
        << "log.jsonl";
    QTest::newRow("log into the file to program") << QStringList{"FILE", "--port", "PORT", "--log", "FILE"} << 2
                                                  << "channel file";
    QTest::newRow("summary of a missing log") << QStringList{"--summary", "DIR/none.jsonl"} << 3 << "none.jsonl";
    QTest::newRow("summary of a file that is no log") << QStringList{"--summary", "FILE"} << 3 << "no radio records";
    QTest::newRow("summary with a file to program") << QStringList{"--summary", "FILE", "FILE"} << 2 << "--summary";
}

void TestClone::refusedBeforeAnyRadio()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    FleetSim sim({QStringLiteral("--fast")}, radioMemory(7));
    QVERIFY(sim.started());
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("radio-link"));
    QVERIFY(QFile::link(sim.device(), link));
    for (QString &a : args) {
        a.replace(QLatin1String("PORT"), sim.device());
        a.replace(QLatin1String("LINK"), link);
        a.replace(QLatin1String("FILE"), m_file);
        a.replace(QLatin1String("DIR"), dir.path());
    }
    const CliResult r = runClone(args, 30000);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QCOMPARE(r.exitCode, exitCode);
    sim.stop();
    // The radio was never asked anything.
    QVERIFY(readFile(sim.dirPath() + QStringLiteral("/bytes.log")).isEmpty());
}

QTEST_GUILESS_MAIN(TestClone)
#include "tst_clone.moc"
