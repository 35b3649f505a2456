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
    void englishPageShowsEveryTextOnOnePage();

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
    QTest::newRow("unknown page language") << QStringList{QStringLiteral("%IN%"), QStringLiteral("--lang"), QStringLiteral("fr"),
                                                          QStringLiteral("-o"), out}
                                           << 2 << QStringLiteral("'fr'") << false;
    QTest::newRow("English page") << QStringList{QStringLiteral("%IN%"), QStringLiteral("--lang"), QStringLiteral("en"),
                                                 QStringLiteral("-o"), out}
                                  << 0 << QString() << true;
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

// The page in English: its headings, the settings and the channel words in
// English, nothing left in Chinese, and every word inside the one page.
void TestCmdPrint::englishPageShowsEveryTextOnOnePage()
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    const QString pdf = m_dir.filePath(QStringLiteral("english.pdf"));
    QCOMPARE(runCli({QStringLiteral("print"), m_file, QStringLiteral("--lang"), QStringLiteral("en"), QStringLiteral("-o"),
                     pdf}).exitCode,
             0);
    QCOMPARE(pdfPageCount(pdf), 1);
    QProcess process;
    process.start(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QVERIFY(process.waitForFinished(60000));
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    for (const char *expected :
         {"The Radio Settings", "Function Settings:", "Model: QD-T310K", "Band: 136 - 174 MHz", "TX Timeout: 180s",
          "Key Beep: On", "Squelch Level: 9", "W/N: Narrow", "Monitor: SQ Off Momentary", "Channel Settings:", "CH",
          "Rx(MHz)", "Tx(MHz)", "Rx QT/DQT", "Tx QT/DQT", "Busy Lock", "145.12500", "145.72500", "88.5", "None", "No",
          "16"})
        QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
    QVERIFY2(std::none_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x2E80; }), qPrintable(text));

    // Every word's box inside the page.
    process.start(pdftotext, {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    QVERIFY(process.waitForFinished(60000));
    const QString boxes = QString::fromUtf8(process.readAllStandardOutput());
    const QRegularExpression page(QStringLiteral("<page width=\"([0-9.]+)\" height=\"([0-9.]+)\""));
    const QRegularExpressionMatch size = page.match(boxes);
    QVERIFY(size.hasMatch());
    const QRectF sheet(0, 0, size.captured(1).toDouble(), size.captured(2).toDouble());
    const QRegularExpression word(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)<"));
    int words = 0;
    for (const QRegularExpressionMatch &m : word.globalMatch(boxes)) {
        const QRectF box(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                         QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()));
        QVERIFY2(sheet.contains(box), qPrintable(m.captured(5)));
        ++words;
    }
    QVERIFY(words > 50);
}

QTEST_GUILESS_MAIN(TestCmdPrint)
#include "tst_cmdprint.moc"
