// The fleet run's records and files: the audit log's lines read back as they
// were written, survive torn lines and say which file failed; backup names
// never collide; the radio count holds under threads.
#include "BackupNames.h"
#include "CloneOptions.h"
#include "CloneReport.h"
#include "DurableAppend.h"
#include "NativePath.h"
#include "RadioRecord.h"
#include "RunControl.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <memory>
#include <vector>

using namespace tavin::fleet;

Q_DECLARE_METATYPE(tavin::fleet::RadioRecord)

namespace {

RadioRecord baseRecord()
{
    RadioRecord r;
    r.radio = 7;
    r.port = QStringLiteral("COM2");
    r.device = QStringLiteral("/dev/ttyUSB1");
    r.start = QDateTime(QDate(2024, 5, 1), QTime(10, 0, 1, 250), Qt::OffsetFromUTC, 2 * 3600);
    r.end = r.start.addMSecs(18125);
    r.identity = QByteArray::fromHex("0000f23730313250");
    r.backupFile = QStringLiteral("/srv/backups/radio-0007-COM2-20240501-100001.sin");
    r.backupSha256 = QByteArray(64, 'a');
    r.file = QStringLiteral("fleet.sin");
    r.writtenSha256 = QByteArray(64, 'b');
    r.times = {7.621, 2.705, 7.6};
    r.result = RadioResult::Verified;
    return r;
}

// The model's file calls take native paths and plain bytes.
tavin::FileResult appendLine(const QString &path, const QByteArray &line)
{
    return tavin::appendLineDurably(tavin::platform::toNative(path), line.toStdString(), "audit log");
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class TestFleetRecords : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void recordRoundTrip_data();
    void recordRoundTrip();
    void notRecords_data();
    void notRecords();
    void logAppendsWholeLines();
    void logFailureNamesTheFile();
    void backupNames_data();
    void backupNames();
    void backupsNeverReplaced();
    void defaultPlaces();
    void countHoldsUnderThreads();
    void enterReleasesTheLongestWaiting();
};

void TestFleetRecords::recordRoundTrip_data()
{
    QTest::addColumn<RadioRecord>("record");
    QTest::newRow("verified") << baseRecord();

    RadioRecord mismatch = baseRecord();
    mismatch.result = RadioResult::VerifyMismatch;
    mismatch.step = RadioStep::ReadBack;
    mismatch.differences = {QStringLiteral("channel 3, 接收频率(MHz): file 464.93750, radio 462.56250"),
                            QStringLiteral("setting 发射限时: file 60s, radio 90s")};
    mismatch.message = QStringLiteral("the radio differs from the file \"after\" the write\n(2 differences)");
    QTest::newRow("verify mismatch: differences in verify's words, quotes and newline") << mismatch;

    RadioRecord failed = baseRecord();
    failed.result = RadioResult::Failed;
    failed.failure = FailureKind::Transfer;
    failed.step = RadioStep::Write;
    failed.block = 57;
    failed.message = QStringLiteral("程序中断，请请重启对讲机并重试。 (the radio did not acknowledge block 57)");
    failed.times.readBackSeconds.reset();
    QTest::newRow("failed mid-write: block, message, no read-back time") << failed;

    RadioRecord noBackup = baseRecord();
    noBackup.result = RadioResult::Failed;
    noBackup.failure = FailureKind::File;
    noBackup.step = RadioStep::Backup;
    noBackup.backupFile.clear();
    noBackup.backupSha256.clear();
    noBackup.identity.clear();
    noBackup.times = {7.5, std::nullopt, std::nullopt};
    QTest::newRow("backup not saved: empty backup and identity") << noBackup;

    RadioRecord cancelled = baseRecord();
    cancelled.result = RadioResult::Cancelled;
    cancelled.step = RadioStep::ReadBack;
    QTest::newRow("cancelled") << cancelled;
}

void TestFleetRecords::recordRoundTrip()
{
    QFETCH(RadioRecord, record);
    const QByteArray line = toJsonLine(record);
    QVERIFY2(!line.contains('\n'), line.constData());
    QVERIFY2(line.startsWith("{\"radio\":7,"), line.constData());  // the number first, for people reading it
    QString error;
    const std::optional<RadioRecord> back = fromJsonLine(line, &error);
    QVERIFY2(back, qPrintable(error));
    QCOMPARE(back->radio, record.radio);
    QCOMPARE(back->port, record.port);
    QCOMPARE(back->device, record.device);
    QCOMPARE(back->start, record.start);
    QCOMPARE(back->end, record.end);
    QCOMPARE(back->start.offsetFromUtc(), record.start.offsetFromUtc());
    QCOMPARE(back->identity, record.identity);
    QCOMPARE(back->backupFile, record.backupFile);
    QCOMPARE(back->backupSha256, record.backupSha256);
    QCOMPARE(back->file, record.file);
    QCOMPARE(back->writtenSha256, record.writtenSha256);
    QCOMPARE(back->result, record.result);
    QCOMPARE(back->failure, record.failure);
    QCOMPARE(back->step, record.step);
    QCOMPARE(back->block, record.block);
    QCOMPARE(back->message, record.message);
    QCOMPARE(back->differences, record.differences);
    QCOMPARE(back->times.backupSeconds, record.times.backupSeconds);
    QCOMPARE(back->times.writeSeconds, record.times.writeSeconds);
    QCOMPARE(back->times.readBackSeconds, record.times.readBackSeconds);
}

void TestFleetRecords::notRecords_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("torn line") << QByteArray("{\"radio\":3,\"port\":\"COM1\",\"sta");
    QTest::newRow("not JSON") << QByteArray("radio 3 verified");
    QTest::newRow("an array") << QByteArray("[1,2,3]");
    QTest::newRow("no result") << QByteArray("{\"radio\":3,\"start\":\"2024-05-01T10:00:00.000Z\",\"end\":\"2024-05-01T10:00:18.000Z\"}");
    QTest::newRow("unknown result")
        << QByteArray("{\"radio\":3,\"result\":\"fine\",\"start\":\"2024-05-01T10:00:00.000Z\",\"end\":\"2024-05-01T10:00:18.000Z\"}");
    QTest::newRow("radio 0") << QByteArray("{\"radio\":0,\"result\":\"verified\",\"start\":\"2024-05-01T10:00:00.000Z\","
                                           "\"end\":\"2024-05-01T10:00:18.000Z\"}");
}

void TestFleetRecords::notRecords()
{
    QFETCH(QByteArray, line);
    QString error;
    QVERIFY(!fromJsonLine(line, &error));
    QVERIFY(!error.isEmpty());
}

void TestFleetRecords::logAppendsWholeLines()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("clone-log.jsonl"));
    RadioRecord first = baseRecord();
    QVERIFY(appendLine(path, toJsonLine(first)));
    // A crash tore the next line off in the middle.
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::Append));
        f.write("{\"radio\":8,\"port\":\"CO");
    }
    RadioRecord third = baseRecord();
    third.radio = 9;
    QVERIFY(appendLine(path, toJsonLine(third)));

    const LogContents log = readLog(fileBytes(path));
    QCOMPARE(log.records.size(), 2);
    QCOMPARE(log.records.at(0).radio, 7);
    QCOMPARE(log.records.at(1).radio, 9);
    QCOMPARE(log.problems.size(), 1);
    QVERIFY2(log.problems.at(0).startsWith(QLatin1String("line 2:")), qPrintable(log.problems.at(0)));
    QVERIFY(fileBytes(path).endsWith("}\n"));
}

void TestFleetRecords::logFailureNamesTheFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("no-such-folder/clone-log.jsonl"));
    for (const tavin::FileResult &r : {appendLine(path, "{}"), tavin::checkAppendable(tavin::platform::toNative(path), "audit log")}) {
        QVERIFY(!r);
        QVERIFY2(QString::fromStdString(r.error).contains(QLatin1String("audit log")), r.error.c_str());
        QVERIFY2(QString::fromStdString(r.error).contains(QLatin1String("clone-log.jsonl")), r.error.c_str());
        QVERIFY2(QString::fromStdString(r.error).contains(QLatin1String("No such file")), r.error.c_str());
    }
}

void TestFleetRecords::backupNames_data()
{
    QTest::addColumn<int>("radio");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("name");
    QTest::newRow("COM port") << 3 << "COM1" << "radio-0003-COM1-20240501-100523.sin";
    QTest::newRow("USB device") << 12 << "/dev/ttyUSB0" << "radio-0012-ttyUSB0-20240501-100523.sin";
    QTest::newRow("pseudo-terminal") << 120 << "/dev/pts/3" << "radio-0120-pts_3-20240501-100523.sin";
    QTest::newRow("by-id link with odd characters")
        << 1 << "/dev/serial/by-id/usb-FTDI:x y" << "radio-0001-serial_by-id_usb-FTDI_x_y-20240501-100523.sin";
    QTest::newRow("a link of one's own") << 2 << "/home/dealer/cable1" << "radio-0002-cable1-20240501-100523.sin";
    QTest::newRow("five-digit radio") << 12345 << "COM2" << "radio-12345-COM2-20240501-100523.sin";
}

void TestFleetRecords::backupNames()
{
    QFETCH(int, radio);
    QFETCH(QString, port);
    QFETCH(QString, name);
    QCOMPARE(backupFileName(radio, port, QDateTime(QDate(2024, 5, 1), QTime(10, 5, 23))), name);
}

void TestFleetRecords::backupsNeverReplaced()
{
    QTemporaryDir dir;
    const QString name = QStringLiteral("radio-0001-COM1-20240501-100523.sin");
    QSet<QString> taken;
    QString path;
    for (int i = 0; i < 4; ++i) {
        const QByteArray bytes(1024, char('a' + i));
        QVERIFY(storeBackup(dir.path(), name, bytes, &path));
        QVERIFY(!taken.contains(path));
        taken.insert(path);
        QCOMPARE(fileBytes(path), bytes);
    }
    QCOMPARE(path, dir.filePath(QStringLiteral("radio-0001-COM1-20240501-100523-4.sin")));
    QVERIFY(taken.contains(dir.filePath(name)));
    // The first backup is still the first radio's.
    QCOMPARE(fileBytes(dir.filePath(name)), QByteArray(1024, 'a'));
}

void TestFleetRecords::defaultPlaces()
{
#ifdef Q_OS_WIN
    const QString root = QStringLiteral("C:/srv/fleets/");
#else
    const QString root = QStringLiteral("/srv/fleets/");
#endif
    // Beside the channel file, whatever separator the system joins names with.
    const QString dir = defaultBackupDir(root + QStringLiteral("acme.v2.sin"), QDate(2024, 5, 1));
    QCOMPARE(dir, root + QStringLiteral("acme.v2-backups-2024-05-01"));
    QCOMPARE(defaultLogPath(dir), root + QStringLiteral("acme.v2-backups-2024-05-01/clone-log.jsonl"));
}

void TestFleetRecords::countHoldsUnderThreads()
{
    // Eight ports finding radios at the same moment: exactly the count starts,
    // each radio with a number of its own.
    constexpr int kCount = 5;
    RunControl control(kCount, QString());
    QMutex mutex;
    QList<int> numbers;
    std::vector<std::unique_ptr<QThread>> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back(QThread::create([&] {
            for (int i = 0; i < 3; ++i) {
                if (const std::optional<int> n = control.claimRadio()) {
                    QMutexLocker lock(&mutex);
                    numbers += *n;
                }
            }
        }));
        threads.back()->start();
    }
    for (const auto &t : threads)
        t->wait();
    std::sort(numbers.begin(), numbers.end());
    QCOMPARE(numbers, (QList<int>{1, 2, 3, 4, 5}));
    QVERIFY(control.noNewRadios());
    QVERIFY(!control.cancelled());
}

void TestFleetRecords::enterReleasesTheLongestWaiting()
{
    RunControl control(0, QString());
    QVERIFY(!control.goAhead());  // nobody waits: the press is not kept for later
    QMutex mutex;
    QList<int> order;
    std::vector<std::unique_ptr<QThread>> threads;
    // However the test ends, no thread is left waiting.
    const auto cleanUp = qScopeGuard([&] {
        control.finish();
        for (const auto &t : threads)
            t->wait();
    });
    for (int port = 0; port < 3; ++port) {
        threads.emplace_back(QThread::create([&, port] {
            if (control.waitForGoAhead(port)) {
                QMutexLocker lock(&mutex);
                order += port;
            }
        }));
        threads.back()->start();
        QTRY_COMPARE(control.portsWaitingForEnter().size(), port + 1);
    }
    QCOMPARE(control.portsWaitingForEnter(), (QList<int>{0, 1, 2}));
    QVERIFY(control.goAhead());
    QVERIFY(control.goAhead());
    QCOMPARE(control.portsWaitingForEnter(), QList<int>{2});
    QTRY_COMPARE(order.size(), 2);
    control.finish();  // the last one gives up
    for (const auto &t : threads)
        QVERIFY(t->wait(5000));
    std::sort(order.begin(), order.end());
    QCOMPARE(order, (QList<int>{0, 1}));
    QVERIFY(control.portsWaitingForEnter().isEmpty());
}

QTEST_GUILESS_MAIN(TestFleetRecords)
#include "tst_fleetrecords.moc"
