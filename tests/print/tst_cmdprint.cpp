// tavin-cli print FILE -o OUT.pdf, run as a user would run it.

#include "ChannelFile.h"
#include "Codec.h"
#include "NewDocument.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace tavin;

namespace {

struct Run {
    int exitCode = -1;
    QString err;
};

Run runCli(const QStringList &args)
{
    QProcess process;
    process.start(QStringLiteral(TAVIN_CLI), args);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardError())};
}

int pdfPageCount(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return QString::fromLatin1(file.readAll()).count(QRegularExpression(QStringLiteral("/Type\\s*/Page\\b")));
}

}  // namespace

class TestCmdPrint : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void exitCodes_data();
    void exitCodes();
    void pageShowsTheFile();

private:
    QTemporaryDir m_dir;
    QString m_file;
};

void TestCmdPrint::initTestCase()
{
    QVERIFY(m_dir.isValid());
    RadioImage image = savedNewDocument();
    ChannelTable channels;
    BoxSelections selections = initialFormSelections();
    decodeImage(image, channels, selections);
    channels[0][kRxFrequencyColumn] = "145.12500";
    channels[0][kTxFrequencyColumn] = "145.72500";
    channels[0][kRxToneColumn] = "88.5";
    encodeImage(channels, selections, image);
    m_file = m_dir.filePath(QStringLiteral("radio.sin"));
    QVERIFY(storeChannelFile(m_file.toStdString(), image));
    QFile shortFile(m_dir.filePath(QStringLiteral("short.sin")));
    QVERIFY(shortFile.open(QIODevice::WriteOnly));
    shortFile.write(QByteArray(100, '\0'));
}

void TestCmdPrint::exitCodes_data()
{
    QTest::addColumn<QStringList>("args");  // %IN% the channel file, %DIR% the temporary folder
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("messagePart");
    QTest::addColumn<bool>("pdfWritten");

    const QString out = QStringLiteral("%DIR%/out.pdf");
    QTest::newRow("file to A4 PDF") << QStringList{QStringLiteral("%IN%"), QStringLiteral("-o"), out} << 0 << QString() << true;
    QTest::newRow("letter paper") << QStringList{QStringLiteral("%IN%"), QStringLiteral("--paper"), QStringLiteral("letter"),
                                                 QStringLiteral("-o"), out}
                                  << 0 << QString() << true;
    QTest::newRow("no output named") << QStringList{QStringLiteral("%IN%")} << 2 << QStringLiteral("-o OUT.pdf") << false;
    QTest::newRow("no channel file") << QStringList{QStringLiteral("-o"), out} << 2 << QStringLiteral("one channel file") << false;
    QTest::newRow("unknown paper") << QStringList{QStringLiteral("%IN%"), QStringLiteral("--paper"), QStringLiteral("B9"),
                                                  QStringLiteral("-o"), out}
                                   << 2 << QStringLiteral("'B9'") << false;
    QTest::newRow("missing channel file") << QStringList{QStringLiteral("%DIR%/absent.sin"), QStringLiteral("-o"), out}
                                          << 3 << QStringLiteral("absent.sin") << false;
    QTest::newRow("short channel file") << QStringList{QStringLiteral("%DIR%/short.sin"), QStringLiteral("-o"), out}
                                        << 3 << QStringLiteral("short.sin") << false;
    QTest::newRow("PDF folder missing") << QStringList{QStringLiteral("%IN%"), QStringLiteral("-o"),
                                                       QStringLiteral("%DIR%/no folder/out.pdf")}
                                        << 3 << QStringLiteral("no folder/out.pdf") << false;
}

void TestCmdPrint::exitCodes()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, messagePart);
    QFETCH(bool, pdfWritten);
    QFile::remove(m_dir.filePath(QStringLiteral("out.pdf")));
    for (QString &a : args)
        a.replace(QLatin1String("%IN%"), m_file).replace(QLatin1String("%DIR%"), m_dir.path());

    const Run run = runCli(QStringList{QStringLiteral("print")} + args);
    QVERIFY2(run.exitCode == exitCode, qPrintable(run.err));
    QVERIFY2(run.err.contains(messagePart), qPrintable(run.err));
    QCOMPARE(QFile::exists(m_dir.filePath(QStringLiteral("out.pdf"))), pdfWritten);
    if (pdfWritten)
        QCOMPARE(pdfPageCount(m_dir.filePath(QStringLiteral("out.pdf"))), 1);
}

void TestCmdPrint::pageShowsTheFile()
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    const QString pdf = m_dir.filePath(QStringLiteral("page.pdf"));
    QCOMPARE(runCli({QStringLiteral("print"), m_file, QStringLiteral("-o"), pdf}).exitCode, 0);
    QProcess process;
    process.start(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QVERIFY(process.waitForFinished(60000));
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    for (const char *expected : {"The Radio Settings", "Type:", "QD-T310K", "145.12500", "145.72500", "88.5", "信道", "16"})
        QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
}

QTEST_GUILESS_MAIN(TestCmdPrint)
#include "tst_cmdprint.moc"
