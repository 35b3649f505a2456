// tavin-cli export, import and diff as a script uses them: bytes on stdout or
// in a file, refused lists with every error and no output, stdin, exit codes.
#include "ChannelFile.h"
#include "NewDocument.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace tavin;

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run runCli(const QStringList &args, const QByteArray &input = {})
{
    QProcess process;
    process.start(QStringLiteral(TAVIN_CLI), args);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(30000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

const QByteArray kPlan = "信道,接收频率(MHz),发射频率(MHz),QT/DQT解码,QT/DQT编码,繁忙锁定,宽/窄带,扫描,功率\r\n"
                         "1,462.5625,467.5625,67.0,D023N,是,窄带,删除,中\r\n"
                         "2,446.00625,446.00625\r\n";

}  // namespace

class TestCmdLists : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void importThenExportEachFormat_data();
    void importThenExportEachFormat();
    void refusedImportWritesNothing();
    void importFromStdin();
    void diff();
    void diffJson();
    void usageErrors_data();
    void usageErrors();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

void TestCmdLists::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(writeFile(path("plan.csv"), kPlan));
    const Run run = runCli({"import", path("plan.csv"), "-o", path("plan.sin")});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.err.contains("band set to 400 - 470MHZ"), run.err.constData());
}

void TestCmdLists::importThenExportEachFormat_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<QString>("notice");  // of the import over the channel file
    QTest::newRow("native") << "native" << QByteArray("\xEF\xBB\xBF信道,接收频率(MHz)") << QString();
    QTest::newRow("interchange") << "interchange" << QByteArray("Location,Name,Frequency,Duplex")
                                 << "busy lock (繁忙锁定) is not in the interchange layout, so it is 否 where the base "
                                    "has 是: channel 1\n";
    QTest::newRow("json") << "json" << QByteArray("{\n    \"channels\": [") << QString();
}

void TestCmdLists::importThenExportEachFormat()
{
    QFETCH(QString, format);
    QFETCH(QByteArray, start);
    QFETCH(QString, notice);
    const Run toStdout = runCli({"export", path("plan.sin"), "--format", format});
    QCOMPARE(toStdout.exitCode, 0);
    QVERIFY(toStdout.out.startsWith(start));
    if (format != QLatin1String("json"))
        QVERIFY(toStdout.out.contains("\r\n") && !toStdout.out.contains("\r\r\n"));

    const QString list = path("plan-out." + format);
    QCOMPARE(runCli({"export", path("plan.sin"), "--format", format, "-o", list}).exitCode, 0);
    QCOMPARE(readFile(list), toStdout.out);
    const QString back = path("back-" + format + ".sin");
    const Run imported = runCli({"import", list, "--band", "400 - 470MHZ", "--base", path("plan.sin"), "-o", back});
    QCOMPARE(imported.exitCode, 0);
    QCOMPARE(QString::fromUtf8(imported.err).contains(QStringLiteral("busy lock")), !notice.isEmpty());
    QVERIFY2(QString::fromUtf8(imported.err).contains(notice), imported.err.constData());
    const Run same = runCli({"diff", path("plan.sin"), back});
    if (format == QLatin1String("interchange")) {
        QCOMPARE(same.exitCode, 7);
        QCOMPARE(same.out.trimmed(), path("plan.sin").toUtf8().prepend("channel 1, 繁忙锁定: ").append(" 是, ") +
                                         back.toUtf8() + " 否");
    } else {
        QCOMPARE(same.exitCode, 0);
    }
}

void TestCmdLists::refusedImportWritesNothing()
{
    QVERIFY(writeFile(path("bad.csv"), kPlan + "3,146.1\r\n4,446.1,,D999N\r\n"));
    QVERIFY(writeFile(path("kept.sin"), "old contents"));
    const Run run = runCli({"import", path("bad.csv"), "--band", "400-470MHZ", "-o", path("kept.sin")});
    QCOMPARE(run.exitCode, 10);
    const QString bad = path("bad.csv");
    QVERIFY2(run.err.contains((bad + ":4: 接收频率(MHz): Out of range! (146.10000 MHz is outside the band "
                                      "400 - 470MHZ)\n").toUtf8()), run.err.constData());
    QVERIFY(run.err.contains((bad + ":5: QT/DQT解码: not a tone of the tone list ('D999N')\n").toUtf8()));
    QVERIFY(run.err.contains("refused (2 errors); nothing was written"));
    QCOMPARE(readFile(path("kept.sin")), QByteArray("old contents"));
    QCOMPARE(runCli({"import", path("bad.csv"), "-o", path("none.sin")}).exitCode, 10);
    QVERIFY(!QFile::exists(path("none.sin")));
}

void TestCmdLists::importFromStdin()
{
    const QByteArray json = "{\"channels\": [[\"145.5\",\"145.5\",\"\",\"\",\"\",\"\",\"\",\"\"]], "
                            "\"settings\": {\"model\": \"QD-6200\", \"band\": \"136 - 174MHZ\"}}";
    const Run run = runCli({"import", "-", "--base", path("plan.sin"), "-o", path("stdin.sin")}, json);
    QCOMPARE(run.exitCode, 0);
    const Run dump = runCli({"dump", path("stdin.sin")});
    QVERIFY(dump.out.contains("机型:           QD-6200"));
    QVERIFY(QString::fromUtf8(dump.out).split(u'\n').at(1).simplified()
            == QStringLiteral("1 145.50000 145.50000 无 无 否 宽带 添加 高"));
    // Channel 2 is not named: it keeps the base's.
    QVERIFY(QString::fromUtf8(dump.out).split(u'\n').at(2).simplified().startsWith(QStringLiteral("2 446.00625")));
    const Run bad = runCli({"import", "-", "-o", path("stdin2.sin")}, "{\"channels\": 1}");
    QCOMPARE(bad.exitCode, 10);
    QVERIFY(bad.err.contains("<stdin>:1: channels: must be an array"));
}

void TestCmdLists::diff()
{
    const Run equal = runCli({"diff", path("plan.sin"), path("plan.sin")});
    QCOMPARE(equal.exitCode, 0);
    QVERIFY(equal.out.isEmpty());
    RadioImage other;
    QVERIFY(loadChannelFile(QFile::encodeName(path("plan.sin")).toStdString(), other));
    other[layout::kTxTimeLimit] = 2;
    other[0x3F0] = 0x00;  // the read-only area counts in a comparison of files
    QVERIFY(storeChannelFile(QFile::encodeName(path("other.sin")).toStdString(), other));
    const Run differ = runCli({"diff", path("plan.sin"), path("other.sin")});
    QCOMPARE(differ.exitCode, 7);
    const QStringList lines = QString::fromUtf8(differ.out).trimmed().split(u'\n');
    QCOMPARE(lines, (QStringList{"setting 发射限时: " + path("plan.sin") + " 180s, " + path("other.sin") + " 60s",
                                 "read-only area: bytes 0x3F0 differ"}));
}

void TestCmdLists::diffJson()
{
    // Busy lock is not in the interchange layout: a round trip through it loses channel 1's "是".
    QCOMPARE(runCli({"export", path("plan.sin"), "--format", "interchange", "-o", path("diff.csv")}).exitCode, 0);
    QCOMPARE(runCli({"import", path("diff.csv"), "-o", path("diff.sin")}).exitCode, 0);
    const Run run = runCli({"diff", "--json", path("plan.sin"), path("diff.sin")});
    QCOMPARE(run.exitCode, 7);
    const QJsonObject root = QJsonDocument::fromJson(run.out).object();
    QCOMPARE(root.value("equal").toBool(true), false);
    const QJsonObject first = root.value("differences").toArray().at(0).toObject();
    QCOMPARE(first.value("kind").toString(), QStringLiteral("channel"));
    QCOMPARE(first.value("channel").toInt(), 1);
    QCOMPARE(first.value("column").toString(), QStringLiteral("繁忙锁定"));
    QCOMPARE(first.value("a").toString(), QStringLiteral("是"));
    QCOMPARE(first.value("b").toString(), QStringLiteral("否"));
}

void TestCmdLists::usageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    const QString sin = path("plan.sin");
    QTest::newRow("unknown export format") << QStringList{"export", sin, "--format", "xls"} << 2 << "unknown format 'xls'";
    QTest::newRow("export over the channel file") << QStringList{"export", sin, "-o", sin} << 2 << "is the channel file itself";
    QTest::newRow("export of a missing file") << QStringList{"export", path("no.sin")} << 3 << "No such file";
    QTest::newRow("import without -o") << QStringList{"import", path("plan.csv")} << 2 << "expected one channel list and -o";
    QTest::newRow("import over the list") << QStringList{"import", path("plan.csv"), "-o", path("plan.csv")} << 2
                                          << "is the channel list itself";
    QTest::newRow("unknown band") << QStringList{"import", path("plan.csv"), "--band", "2m", "-o", path("x.sin")} << 2
                                  << "unknown band '2m'; the bands are 136 - 174MHZ, 350 - 400MHZ";
    QTest::newRow("missing list") << QStringList{"import", path("no.csv"), "-o", path("x.sin")} << 3
                                  << "cannot read channel list";
    QTest::newRow("missing base") << QStringList{"import", path("plan.csv"), "--base", path("no.sin"), "-o", path("x.sin")}
                                  << 3 << "No such file";
    QTest::newRow("diff of one file") << QStringList{"diff", sin} << 2 << "expected two channel files";
}

void TestCmdLists::usageErrors()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    const Run run = runCli(args);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(QString::fromUtf8(run.err).contains(message), run.err.constData());
    QVERIFY(!QFile::exists(path("x.sin")));
}

QTEST_GUILESS_MAIN(TestCmdLists)
#include "tst_cmdlists.moc"
