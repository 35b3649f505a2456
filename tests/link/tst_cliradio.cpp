// tavin-cli's radio verbs against tavin-sim: files written only after a
// complete read, exit codes for every kind of failure, verify naming what
// differs, and Ctrl+C closing the port.
#include "LinkTexts.h"
#include "QtSerialLink.h"
#include "SimRadio.h"

#include "ChannelFile.h"

#include <QtTest>

#include <csignal>

using namespace tavin;
using tavin::test::bytesOf;
using tavin::test::countProbes;
using tavin::test::patternImage;
using tavin::test::SimRadio;

namespace {

constexpr int kRunTimeoutMs = 60000;

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

CliRun runCli(const QStringList &args, const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(TAVIN_CLI_PATH), args);
    CliRun r;
    if (!p.waitForFinished(kRunTimeoutMs)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

bool portIsFree(const QString &device)
{
    link::QtSerialLink again;
    const bool opened = again.open(device);
    again.close();
    return opened;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeImage(const QString &path, const RadioImage &image)
{
    return static_cast<bool>(storeChannelFile(path.toStdString(), image));
}

RadioImage newDocument()
{
    RadioImage image;
    image.resetToNewDocument(HiddenPreset::Uhf);
    image.channel(1).setFrequency(Side::Rx, 46256250);
    image.channel(1).setFrequency(Side::Tx, 46256250);
    image.channel(3).setFrequency(Side::Rx, 46700000);
    image.channel(3).setFrequency(Side::Tx, 46700000);
    return image;
}

}  // namespace

class TestCliRadio : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void failures_data();
    void failures();
    void readStoresTheRadioMemory();
    void writeWithBackupAndVerify();
    void verifyNamesWhatDiffers();
    void interruptClosesThePort();
    void interruptedWriteSaysHowToRestore();
    void portsShowsTheMapping();
    void deviceHeldUnderAnotherName();
};

void TestCliRadio::failures_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("stderrHas");
    QTest::addColumn<int>("probes");

    // OUT and IN stand for a fresh output file and an existing channel file; PORT for the sim's device.
    QTest::newRow("no such device") << QString() << QStringList{"read", "--port", "/dev/tavin-no-such-port", "-o", "OUT"} << 4
                                    << QString::fromUtf8(link::text::kPortOpenFailed) << 0;
    QTest::newRow("radio never acknowledges") << "stray2" << QStringList{"read", "--port", "PORT", "-o", "OUT"} << 5
                                              << QString::fromUtf8(link::text::kCommunicationError) << 15;
    QTest::newRow("one retry gives 15 more probes") << "stray2" << QStringList{"read", "--port", "PORT", "--retries", "1", "-o", "OUT"} << 5
                                                    << QStringLiteral("retrying") << 30;
    QTest::newRow("short read reply") << "read-reply-11:7" << QStringList{"read", "--port", "PORT", "-o", "OUT"} << 6
                                      << QString::fromUtf8(link::text::kNotEnoughBytes) << 1;
    QTest::newRow("write block not acknowledged: a mix") << "no-write-ack:3" << QStringList{"write", "--port", "PORT", "IN"} << 6
                                                         << QStringLiteral("(the first 3 of its 123 blocks are new)") << 1;
    QTest::newRow("failed backup read writes nothing") << "hangup:4" << QStringList{"write", "--port", "PORT", "--backup", "OUT", "IN"} << 6
                                                       << QStringLiteral("no backup, so nothing was written to the radio") << 1;
    QTest::newRow("write to a radio that does not answer") << "stray2" << QStringList{"write", "--port", "PORT", "IN"} << 5
                                                           << QStringLiteral("nothing was written to the radio") << 15;
    QTest::newRow("read-back fails after a complete write") << "read-reply-11:5" << QStringList{"write", "--port", "PORT", "--verify", "IN"}
                                                            << 9 << QStringLiteral("the radio holds the new programming, unverified") << 2;
    QTest::newRow("read into a missing folder: no transfer") << QString() << QStringList{"read", "--port", "PORT", "-o", "NOFOLDER"} << 3
                                                             << QStringLiteral("No such file or directory") << 0;
    QTest::newRow("backup into a missing folder: no transfer")
        << QString() << QStringList{"write", "--port", "PORT", "--backup", "NOFOLDER", "IN"} << 3
        << QStringLiteral("nothing was written to the radio") << 0;
    QTest::newRow("usage: read without a file") << QString() << QStringList{"read", "--port", "PORT"} << 2 << QStringLiteral("-o FILE") << 0;
    QTest::newRow("usage: bad retries") << QString() << QStringList{"read", "--port", "PORT", "--retries", "x", "-o", "OUT"} << 2
                                        << QStringLiteral("--retries") << 0;
    QTest::newRow("file: missing channel file") << QString() << QStringList{"write", "--port", "PORT", "MISSING"} << 3 << QString() << 0;
    QTest::newRow("file: short channel file") << QString() << QStringList{"verify", "--port", "PORT", "SHORT"} << 3 << QString() << 0;
}

void TestCliRadio::failures()
{
    QFETCH(QString, fault);
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, stderrHas);
    QFETCH(int, probes);

    const RadioImage memory = patternImage(20);
    QStringList simArgs{QStringLiteral("--fast")};
    if (!fault.isEmpty())
        simArgs << QStringLiteral("--fault") << fault;
    SimRadio sim(simArgs, memory);
    QVERIFY(sim.started());
    const QString out = sim.dirPath() + QStringLiteral("/out.sin");
    const QString in = sim.dirPath() + QStringLiteral("/in.sin");
    const QString shortFile = sim.dirPath() + QStringLiteral("/short.sin");
    QVERIFY(writeImage(in, patternImage(21)));
    QFile s(shortFile);
    QVERIFY(s.open(QIODevice::WriteOnly) && s.write(QByteArray(1000, 'x')) == 1000);
    s.close();
    for (QString &a : args) {
        if (a == QLatin1String("OUT"))
            a = out;
        else if (a == QLatin1String("IN"))
            a = in;
        else if (a == QLatin1String("SHORT"))
            a = shortFile;
        else if (a == QLatin1String("MISSING"))
            a = sim.dirPath() + QStringLiteral("/missing.sin");
        else if (a == QLatin1String("NOFOLDER"))
            a = sim.dirPath() + QStringLiteral("/none/out.sin");
        else if (a == QLatin1String("PORT"))
            a = sim.device();
    }
    const CliRun r = runCli(args);
    QVERIFY2(r.err.contains(stderrHas), qPrintable(r.err));
    QCOMPARE(r.exitCode, exitCode);
    QVERIFY(!QFileInfo::exists(out));  // nothing written after a failure
    QCOMPARE(countProbes(sim.programBytes()), probes);
    QVERIFY(portIsFree(sim.device()));
    if (args.contains(QStringLiteral("--backup")))
        QVERIFY(!sim.programBytes().contains(QByteArray::fromHex("57000008")));
}

void TestCliRadio::readStoresTheRadioMemory()
{
    const RadioImage memory = patternImage(22);
    SimRadio sim({QStringLiteral("--fast")}, memory);
    QVERIFY(sim.started());
    const QString out = sim.dirPath() + QStringLiteral("/read.sin");
    // COM3 reaches the sim through the environment.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TAVIN_COM3"), sim.device());
    const CliRun r = runCli({QStringLiteral("read"), QStringLiteral("--port"), QStringLiteral("COM3"), QStringLiteral("-o"), out}, env);
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QCOMPARE(fileBytes(out), bytesOf(memory));
    QVERIFY(r.err.contains(QStringLiteral("128 blocks")));
    QVERIFY(portIsFree(sim.device()));
}

void TestCliRadio::writeWithBackupAndVerify()
{
    const RadioImage memory = patternImage(23);
    SimRadio sim({QStringLiteral("--fast")}, memory);
    QVERIFY(sim.started());
    const QString in = sim.dirPath() + QStringLiteral("/in.sin");
    const QString backup = sim.dirPath() + QStringLiteral("/backup.sin");
    const RadioImage image = newDocument();
    QVERIFY(writeImage(in, image));
    const CliRun r = runCli({QStringLiteral("write"), QStringLiteral("--port"), sim.device(), QStringLiteral("--backup"), backup,
                             QStringLiteral("--verify"), in});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QCOMPARE(fileBytes(backup), bytesOf(memory));
    QTRY_COMPARE(fileBytes(sim.savePath()).left(0x3D8), bytesOf(image, 0, 0x3D8));
    QCOMPARE(fileBytes(sim.savePath()).mid(0x3D8), bytesOf(memory, 0x3D8, 1024));
    // Three transfers: backup read, write, verify read.
    QCOMPARE(countProbes(sim.programBytes()), 3);
}

void TestCliRadio::verifyNamesWhatDiffers()
{
    RadioImage radio = newDocument();
    RadioImage file = radio;
    file.channel(3).setFrequency(Side::Rx, 46712500);
    file[layout::kSquelchLevel] = static_cast<std::uint8_t>((radio[layout::kSquelchLevel] + 1) % 10);
    file[0x290] ^= 0x01;
    SimRadio sim({QStringLiteral("--fast")}, radio);
    QVERIFY(sim.started());
    const QString path = sim.dirPath() + QStringLiteral("/expected.sin");
    QVERIFY(writeImage(path, file));
    const CliRun r = runCli({QStringLiteral("verify"), QStringLiteral("--port"), sim.device(), path});
    QCOMPARE(r.exitCode, 7);
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QVERIFY2(lines.at(0).startsWith(QStringLiteral("channel 3, 接收频率(MHz): file 467.12500, radio 467.00000")), qPrintable(lines.at(0)));
    QVERIFY2(lines.at(1).startsWith(QStringLiteral("setting 静噪电平:")), qPrintable(lines.at(1)));
    QVERIFY2(lines.at(2).contains(QStringLiteral("0x290")), qPrintable(lines.at(2)));

    // The same file against a radio that holds it: no differences.
    const CliRun same = runCli({QStringLiteral("verify"), QStringLiteral("--port"), sim.device(), sim.dirPath() + QStringLiteral("/memory.sin")});
    QCOMPARE(same.exitCode, 0);
    QVERIFY(same.out.isEmpty());
}

void TestCliRadio::interruptClosesThePort()
{
    const RadioImage memory = patternImage(24);
    SimRadio sim({QStringLiteral("--fast")}, memory);
    QVERIFY(sim.started());
    const QString out = sim.dirPath() + QStringLiteral("/read.sin");
    QProcess p;
    p.start(QStringLiteral(TAVIN_CLI_PATH), {QStringLiteral("read"), QStringLiteral("--port"), sim.device(), QStringLiteral("-o"), out});
    QVERIFY(p.waitForStarted());
    // Wait until a few blocks have been read, then press Ctrl+C.
    QTRY_VERIFY_WITH_TIMEOUT(sim.programBytes().count(QByteArray::fromHex("06")) >= 5, 10000);
    ::kill(static_cast<pid_t>(p.processId()), SIGINT);
    QVERIFY(p.waitForFinished(5000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 8);
    QVERIFY(QString::fromUtf8(p.readAllStandardError()).contains(QStringLiteral("cancelled")));
    QVERIFY(!QFileInfo::exists(out));
    QVERIFY(portIsFree(sim.device()));
}

void TestCliRadio::interruptedWriteSaysHowToRestore()
{
    const RadioImage memory = patternImage(25);
    SimRadio sim({QStringLiteral("--fast")}, memory);
    QVERIFY(sim.started());
    const QString in = sim.dirPath() + QStringLiteral("/in.sin");
    const QString backup = sim.dirPath() + QStringLiteral("/backup.sin");
    QVERIFY(writeImage(in, patternImage(26)));
    QProcess p;
    p.start(QStringLiteral(TAVIN_CLI_PATH), {QStringLiteral("write"), QStringLiteral("--port"), sim.device(),
                                             QStringLiteral("--backup"), backup, in});
    QVERIFY(p.waitForStarted());
    // Ctrl+C once a few blocks are written ('W', address, length 8).
    QTRY_VERIFY_WITH_TIMEOUT(sim.programBytes().count(QByteArray::fromHex("5700")) >= 3, 20000);
    ::kill(static_cast<pid_t>(p.processId()), SIGINT);
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitCode(), 8);
    const QString err = QString::fromUtf8(p.readAllStandardError());
    QVERIFY2(err.contains(QStringLiteral("the radio now holds a mix of old and new programming")), qPrintable(err));
    QVERIFY2(err.contains(QStringLiteral("to restore its previous programming: tavin-cli write --port %1 '%2'")
                              .arg(sim.device(), backup)),
             qPrintable(err));
    QCOMPARE(fileBytes(backup), bytesOf(memory));
}

void TestCliRadio::portsShowsTheMapping()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TAVIN_COM2"), QStringLiteral("/dev/tavin-test-port"));
    const CliRun r = runCli({QStringLiteral("ports")}, env);
    QCOMPARE(r.exitCode, 0);
    const QStringList lines = r.out.split(QLatin1Char('\n'));
    QVERIFY(lines.size() >= 4);
    QCOMPARE(lines.at(1), QStringLiteral("COM2  /dev/tavin-test-port  (environment TAVIN_COM2)"));
    for (int n = 0; n < 4; ++n)
        QVERIFY(lines.at(n).startsWith(QStringLiteral("COM%1  ").arg(n + 1)));
    QCOMPARE(runCli({QStringLiteral("ports"), QStringLiteral("extra")}).exitCode, 2);
}

// The desktop program holds the radio by its device path; the command line
// asks for it through the sim's link.
void TestCliRadio::deviceHeldUnderAnotherName()
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("radio"));
    SimRadio sim({QStringLiteral("--fast"), QStringLiteral("--link"), link}, patternImage(30));
    QVERIFY(sim.started());
    link::QtSerialLink holder;
    QVERIFY(holder.open(sim.device()));
    const CliRun r = runCli({QStringLiteral("read"), QStringLiteral("--port"), link, QStringLiteral("-o"),
                             dir.filePath(QStringLiteral("out.sin"))});
    QCOMPARE(r.exitCode, 4);
    QVERIFY2(r.err.contains(QStringLiteral("cannot open %1 (%2): the device is in use by another program").arg(link, sim.device())),
             qPrintable(r.err));
    QVERIFY(sim.programBytes().isEmpty());
    holder.close();
    QVERIFY(portIsFree(link));
}

QTEST_GUILESS_MAIN(TestCliRadio)
#include "tst_cliradio.moc"
