#include "ChannelFile.h"
#include "DecimalCommaLocale.h"
#include "NewDocument.h"

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

Run runCli(const QStringList &args, const QStringList &extraEnvironment = {})
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString &entry : extraEnvironment)
        env.insert(entry.section(QLatin1Char('='), 0, 0), entry.section(QLatin1Char('='), 1));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(TAVIN_CLI), args);
    process.waitForFinished(30000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

std::filesystem::path native(const QString &path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

}  // namespace

class TestCli : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void newWritesTheNewDocumentFile();
    void dumpShowsEditorTexts();
    void dumpJson();
    void dumpIgnoresTheLocale();
    void errors_data();
    void errors();

private:
    QString writeImage(const RadioImage &image, const QString &name)
    {
        const QString path = m_dir.filePath(name);
        storeChannelFile(native(path), image);
        return path;
    }
    QString edgeCaseFile();

    QTemporaryDir m_dir;
};

void TestCli::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void TestCli::newWritesTheNewDocumentFile()
{
    const QString path = m_dir.filePath(QStringLiteral("new.sin"));
    const Run run = runCli({QStringLiteral("new"), QStringLiteral("-o"), path});
    QCOMPARE(run.exitCode, 0);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QCOMPARE(bytes.size(), 1024);
    const RadioImage expected = savedNewDocument();
    QCOMPARE(bytes, QByteArray(reinterpret_cast<const char *>(expected.data()), 1024));
    QCOMPARE(bytes.mid(0x10, 16).toHex(' '), QByteArray("ff ff ff ff ff ff ff ff ff ff ff ff cf ff ff ff"));
    QCOMPARE(bytes.mid(0x110, 16).toHex(' '), QByteArray("00 00 00 00 00 00 00 00 ff ff ff ff ff 01 01 ff"));
    QCOMPARE(bytes.mid(0x3C0, 4).toHex(' '), QByteArray("ff 09 03 06"));
}

QString TestCli::edgeCaseFile()
{
    RadioImage image;
    image.resetToNewDocument(HiddenPreset::Uhf);
    const QByteArray channel1 = QByteArray::fromHex("00000146FFFFFFFFFFFFFFFF45FFFFFF");
    const QByteArray channel2 = QByteArray::fromHex("FFFFFFFFFFFFFFFF7006FFFFFFFFFFFF");
    const QByteArray channel3 = QByteArray::fromHex("50622546506225465407238030010100");
    for (int i = 0; i < 16; ++i) {
        image[0x10 + std::size_t(i)] = std::uint8_t(channel1[i]);
        image[0x20 + std::size_t(i)] = std::uint8_t(channel2[i]);
        image[0x30 + std::size_t(i)] = std::uint8_t(channel3[i]);
    }
    image[layout::kSquelchLevel] = 10;
    image[layout::kTxTimeLimit] = 10;
    image[layout::kMonitorMode] = 7;
    image[layout::kBandCode] = 0xEF;
    image[layout::kModelCode] = 0x33;
    return writeImage(image, QStringLiteral("edge.sin"));
}

void TestCli::dumpShowsEditorTexts()
{
    const Run run = runCli({QStringLiteral("dump"), edgeCaseFile()});
    QCOMPARE(run.exitCode, 0);
    const QStringList lines = QString::fromUtf8(run.out).split(QLatin1Char('\n'));
    QVERIFY(lines.value(0).startsWith(QStringLiteral("信道")));
    QCOMPARE(lines.value(1).simplified(), QStringLiteral("1 460.10000 无 无 否 窄带 删除 高"));
    QCOMPARE(lines.value(2).simplified(), QStringLiteral("2 67.0"));
    QCOMPARE(lines.value(3).simplified(), QStringLiteral("3 462.56250 462.56250 75.4 D023N 是 宽带 添加 中"));
    QCOMPARE(lines.value(4).simplified(), QStringLiteral("4"));
    const QString all = QString::fromUtf8(run.out);
    QVERIFY(all.contains(QStringLiteral("机型:           QD-6200")));
    QVERIFY(all.contains(QStringLiteral("静噪电平:       0")));
    QVERIFY(all.contains(QStringLiteral("发射限时:       300s")));
    QVERIFY(all.contains(QStringLiteral("监听:           SQ-Off 瞬时")));
    QVERIFY(all.contains(QStringLiteral("频率:           136 - 174MHZ")));
}

void TestCli::dumpJson()
{
    const Run run = runCli({QStringLiteral("dump"), QStringLiteral("--json"), edgeCaseFile()});
    QCOMPARE(run.exitCode, 0);
    QJsonParseError error;
    const QJsonObject root = QJsonDocument::fromJson(run.out, &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    const QJsonArray channels = root.value(QStringLiteral("channels")).toArray();
    QCOMPARE(channels.size(), 16);
    QCOMPARE(channels.at(0).toArray().size(), 8);
    QCOMPARE(channels.at(0).toArray().at(0).toString(), QStringLiteral("460.10000"));
    QCOMPARE(channels.at(0).toArray().at(1).toString(), QString());
    QCOMPARE(channels.at(2).toArray().at(3).toString(), QStringLiteral("D023N"));
    const QJsonObject settings = root.value(QStringLiteral("settings")).toObject();
    QCOMPARE(settings.keys().size(), 11);
    QCOMPARE(settings.value(QStringLiteral("model")).toString(), QStringLiteral("QD-6200"));
    QCOMPARE(settings.value(QStringLiteral("voicePrompt")).toString(), QStringLiteral("中文"));
    QCOMPARE(settings.value(QStringLiteral("txTimeLimit")).toString(), QStringLiteral("300s"));
}

void TestCli::dumpIgnoresTheLocale()
{
    TAVIN_REQUIRE_DECIMAL_COMMA_LOCALE();
    const QString file = edgeCaseFile();
    const Run plain = runCli({QStringLiteral("dump"), file}, {QStringLiteral("LC_ALL=C.UTF-8")});
    const Run german = runCli({QStringLiteral("dump"), file},
                              {QStringLiteral("LC_ALL=de_DE.UTF-8"), QStringLiteral("LANG=de_DE.UTF-8")});
    QCOMPARE(german.exitCode, 0);
    QCOMPARE(german.out, plain.out);
}

void TestCli::errors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    const QString dir = m_dir.path();
    QTest::newRow("no verb") << QStringList() << 2 << "Usage";
    QTest::newRow("unknown verb") << QStringList{"frobnicate"} << 2 << "unknown verb 'frobnicate'";
    QTest::newRow("dump without a file") << QStringList{"dump"} << 2 << "expected one channel file";
    QTest::newRow("dump of a missing file") << QStringList{"dump", dir + "/missing.sin"} << 3 << "No such file";
    QTest::newRow("dump of an empty file") << QStringList{"dump", dir + "/empty.sin"} << 3 << "is empty";
    QTest::newRow("dump of a short file") << QStringList{"dump", dir + "/short.sin"} << 3 << "is 1000 bytes long";
    QTest::newRow("dump of a folder") << QStringList{"dump", dir} << 3 << dir;
    QTest::newRow("new without -o") << QStringList{"new"} << 2 << "expected -o FILE";
    QTest::newRow("new into a missing folder") << QStringList{"new", "-o", dir + "/no/new.sin"} << 3 << "cannot write channel file";
    QTest::newRow("unknown option") << QStringList{"dump", "--frob", dir + "/x.sin"} << 2 << "frob";
}

void TestCli::errors()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QFile empty(m_dir.filePath(QStringLiteral("empty.sin")));
    QVERIFY(empty.open(QIODevice::WriteOnly));
    empty.close();
    QFile shortFile(m_dir.filePath(QStringLiteral("short.sin")));
    QVERIFY(shortFile.open(QIODevice::WriteOnly));
    shortFile.write(QByteArray(1000, '\xff'));
    shortFile.close();

    const Run run = runCli(args);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(QString::fromUtf8(run.err).contains(message), run.err.constData());
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
