// tavin-cli's radio verbs against tavin-sim: the output file is checked
// before a transfer starts, and after every way a write can end the user is
// told what the radio holds now and how to get back to a known programming.
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
    QString err;
};

CliRun runCli(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(TAVIN_CLI_PATH), args);
    CliRun r;
    if (!p.waitForFinished(kRunTimeoutMs)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Write commands the program sent: 'W', the address, the length 8.
int countWriteCommands(const QByteArray &programBytes)
{
    int count = 0;
    for (qsizetype i = 0; i + 3 < programBytes.size(); ++i) {
        if (programBytes.at(i) == 'W' && programBytes.at(i + 3) == 0x08 && static_cast<unsigned char>(programBytes.at(i + 2)) % 8 == 0)
            ++count;
    }
    return count;
}

// Fills in %IN%, %BACKUP%, %DIR% and %PORT%.
QStringList filledIn(QStringList args, const SimRadio &sim)
{
    for (QString &a : args) {
        a.replace(QLatin1String("%IN%"), sim.dirPath() + QStringLiteral("/in.sin"))
            .replace(QLatin1String("%BACKUP%"), sim.dirPath() + QStringLiteral("/backup.sin"))
            .replace(QLatin1String("%DIR%"), sim.dirPath())
            .replace(QLatin1String("%PORT%"), sim.device());
    }
    return args;
}

}  // namespace

class TestCliRadioFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void outputCheckedBeforeTheTransfer_data();
    void outputCheckedBeforeTheTransfer();
    void writeEndings_data();
    void writeEndings();
    void interruptedWriteSaysHowToRestore();
};

void TestCliRadioFiles::outputCheckedBeforeTheTransfer_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("stderrHas");
    QTest::addColumn<int>("probes");
    QTest::newRow("read into a missing folder") << QStringList{"read", "--port", "%PORT%", "-o", "%DIR%/none/x.sin"} << 3
                                                << QStringList{"%DIR%/none/x.sin", "No such file or directory"} << 0;
    QTest::newRow("read onto a folder") << QStringList{"read", "--port", "%PORT%", "-o", "%DIR%"} << 3
                                        << QStringList{"it is a folder"} << 0;
    QTest::newRow("backup into a missing folder")
        << QStringList{"write", "--port", "%PORT%", "--backup", "%DIR%/none/b.sin", "%IN%"} << 3
        << QStringList{"No such file or directory", "nothing was written to the radio"} << 0;
    QTest::newRow("read into a 250-byte name") << QStringList{"read", "--port", "%PORT%", "-o", "%DIR%/" + QString(246, 'r') + ".sin"}
                                               << 0 << QStringList{"128 blocks"} << 1;
}

void TestCliRadioFiles::outputCheckedBeforeTheTransfer()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QStringList, stderrHas);
    QFETCH(int, probes);
    const RadioImage memory = patternImage(40);
    SimRadio sim({QStringLiteral("--fast")}, memory);
    QVERIFY(sim.started());
    QVERIFY(storeChannelFile(QFile::encodeName(sim.dirPath() + QStringLiteral("/in.sin")).toStdString(), patternImage(41)));
    args = filledIn(args, sim);
    const CliRun r = runCli(args);
    QVERIFY2(r.exitCode == exitCode, qPrintable(r.err));
    for (QString part : filledIn(stderrHas, sim))
        QVERIFY2(r.err.contains(part), qPrintable(r.err));
    QCOMPARE(countProbes(sim.programBytes()), probes);
    if (exitCode == 0)
        QCOMPARE(fileBytes(args.last()), bytesOf(memory));
}

void TestCliRadioFiles::writeEndings_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("stderrHas");
    QTest::addColumn<bool>("radioHoldsTheFile");

    QTest::newRow("backup read fails: nothing written")
        << "hangup:4" << QStringList{"write", "--port", "%PORT%", "--backup", "%BACKUP%", "%IN%"} << 6
        << QStringList{"no backup, so nothing was written to the radio"} << false;
    QTest::newRow("no radio: nothing written") << "silent" << QStringList{"write", "--port", "%PORT%", "%IN%"} << 5
                                               << QStringList{"nothing was written to the radio"} << false;
    QTest::newRow("block not acknowledged: a mix, with the way back")
        << "no-write-ack:3" << QStringList{"write", "--port", "%PORT%", "--backup", "%BACKUP%", "%IN%"} << 6
        << QStringList{"mix of old and new programming (the first 3 of its 123 blocks are new)",
                       "to restore its previous programming: tavin-cli write --port %PORT% '%BACKUP%'",
                       "to finish the new programming: tavin-cli write --port %PORT% '%IN%'"}
        << false;
    QTest::newRow("read-back fails after a complete write: unverified")
        << "read-reply-11:5" << QStringList{"write", "--port", "%PORT%", "--verify", "%IN%"} << 9
        << QStringList{"the radio holds the new programming, unverified", "tavin-cli verify --port %PORT% '%IN%'"} << true;
}

void TestCliRadioFiles::writeEndings()
{
    QFETCH(QString, fault);
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QStringList, stderrHas);
    QFETCH(bool, radioHoldsTheFile);
    const RadioImage memory = patternImage(42);
    const RadioImage image = patternImage(43);
    SimRadio sim({QStringLiteral("--fast"), QStringLiteral("--fault"), fault}, memory);
    QVERIFY(sim.started());
    QVERIFY(storeChannelFile(QFile::encodeName(sim.dirPath() + QStringLiteral("/in.sin")).toStdString(), image));
    const CliRun r = runCli(filledIn(args, sim));
    QVERIFY2(r.exitCode == exitCode, qPrintable(r.err));
    for (const QString &part : filledIn(stderrHas, sim))
        QVERIFY2(r.err.contains(part), qPrintable(r.err));
    if (radioHoldsTheFile)
        QTRY_COMPARE(fileBytes(sim.savePath()).left(0x3D8), bytesOf(image, 0, 0x3D8));
    else
        QVERIFY(!QFile::exists(sim.savePath()));
}

void TestCliRadioFiles::interruptedWriteSaysHowToRestore()
{
    const RadioImage memory = patternImage(44);
    SimRadio sim({QStringLiteral("--fast")}, memory);
    QVERIFY(sim.started());
    const QStringList args = filledIn({"write", "--port", "%PORT%", "--backup", "%BACKUP%", "%IN%"}, sim);
    QVERIFY(storeChannelFile(QFile::encodeName(args.last()).toStdString(), patternImage(45)));
    QProcess p;
    p.start(QStringLiteral(TAVIN_CLI_PATH), args);
    QVERIFY(p.waitForStarted());
    // Ctrl+C once the write is under way.
    QTRY_VERIFY_WITH_TIMEOUT(countWriteCommands(sim.programBytes()) >= 5, 20000);
    ::kill(static_cast<pid_t>(p.processId()), SIGINT);
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitCode(), 8);
    const QString err = QString::fromUtf8(p.readAllStandardError());
    QVERIFY2(err.contains(QStringLiteral("the radio now holds a mix of old and new programming")), qPrintable(err));
    QVERIFY2(err.contains(filledIn({"to restore its previous programming: tavin-cli write --port %PORT% '%BACKUP%'"}, sim).first()),
             qPrintable(err));
    QCOMPARE(fileBytes(sim.dirPath() + QStringLiteral("/backup.sin")), bytesOf(memory));
}

QTEST_GUILESS_MAIN(TestCliRadioFiles)
#include "tst_cliradiofiles.moc"
