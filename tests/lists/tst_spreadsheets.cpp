// What spreadsheet programs do to CSV files, each accepted on import: byte-order
// marks, line ends, quoting, trailing empty cells and lines, semicolons or tabs
// with decimal commas, GB18030/GBK, UTF-16 and UTF-32 text, shortened numbers.
#include "CsvTable.h"
#include "ListSamples.h"

#include <QStringEncoder>
#include <QTest>

using namespace tavin;
using namespace tavin::lists;

namespace {

const QStringList kHeader{"信道", "接收频率(MHz)", "发射频率(MHz)", "QT/DQT解码", "QT/DQT编码",
                          "繁忙锁定",  "宽/窄带",       "扫描",           "功率"};
const QStringList kChannel1{"1", "462.56250", "467.56250", "67.0", "D023N", "是", "窄带", "删除", "中"};
const QStringList kChannel2{"2", "446.00625", "", "", "", "", "", "", ""};

struct Quirks {
    QString separator = QStringLiteral(",");
    QString lineEnd = QStringLiteral("\r\n");
    bool quoteAll = false;
    bool decimalComma = false;
    bool shortNumbers = false;
    QString trailingCells;
    QString trailingLines;
};

QString nativeText(const Quirks &q)
{
    QString text;
    for (QStringList fields : {kHeader, kChannel1, kChannel2}) {
        for (QString &f : fields) {
            if (q.shortNumbers && f == QLatin1String("462.56250"))
                f = QStringLiteral("462.5625");
            if (q.shortNumbers && f == QLatin1String("67.0"))
                f = QStringLiteral("67");
            if (q.decimalComma && !f.isEmpty() && f.at(0).isDigit())
                f.replace(u'.', u',');
            if (q.quoteAll)
                f = u'"' + f + u'"';
        }
        text += fields.join(q.separator) + q.trailingCells + q.lineEnd;
    }
    return text + q.trailingLines;
}

QByteArray encoded(const QString &text, const char *encoding, bool mark)
{
    QStringEncoder encoder(encoding, mark ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
    return encoder.encode(text);
}

}  // namespace

class TestSpreadsheets : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void nativeQuirks_data();
    void nativeQuirks();
    void interchangeWithSemicolonsAndDoubledQuotes();
    void lineNumbersAfterAQuotedLineEnd();
    void unclosedQuoteIsRefused();
};

void TestSpreadsheets::nativeQuirks_data()
{
    QTest::addColumn<QByteArray>("bytes");
    Quirks plain;
    QTest::newRow("UTF-8 with a byte-order mark, CRLF") << encoded(nativeText(plain), "UTF-8", true);
    QTest::newRow("UTF-8 without a mark") << encoded(nativeText(plain), "UTF-8", false);
    Quirks lf;
    lf.lineEnd = QStringLiteral("\n");
    QTest::newRow("LF line ends") << encoded(nativeText(lf), "UTF-8", false);
    Quirks cr;
    cr.lineEnd = QStringLiteral("\r");
    QTest::newRow("CR line ends") << encoded(nativeText(cr), "UTF-8", false);
    Quirks quoted;
    quoted.quoteAll = true;
    QTest::newRow("every cell quoted") << encoded(nativeText(quoted), "UTF-8", true);
    Quirks trailing;
    trailing.trailingCells = QStringLiteral(",,,");
    trailing.trailingLines = QStringLiteral("\r\n,,,,\r\n\r\n");
    QTest::newRow("trailing empty columns and lines") << encoded(nativeText(trailing), "UTF-8", true);
    Quirks semicolons;
    semicolons.separator = QStringLiteral(";");
    semicolons.decimalComma = true;
    QTest::newRow("semicolons with decimal commas") << encoded(nativeText(semicolons), "UTF-8", true);
    QTest::newRow("GB18030 (GBK) without a mark") << encoded(nativeText(plain), "GB18030", false);
    QTest::newRow("GBK with semicolons and decimal commas") << encoded(nativeText(semicolons), "GB18030", false);
    Quirks shortened;
    shortened.shortNumbers = true;
    QTest::newRow("numbers shortened by the spreadsheet") << encoded(nativeText(shortened), "UTF-8", false);
    Quirks tabs;
    tabs.separator = QStringLiteral("\t");
    QTest::newRow("UTF-16 text with tabs") << encoded(nativeText(tabs), "UTF-16LE", true);
    Quirks tabsAndCommas = tabs;
    tabsAndCommas.decimalComma = true;
    QTest::newRow("tabs with decimal commas") << encoded(nativeText(tabsAndCommas), "UTF-8", false);
    QTest::newRow("UTF-32 little-endian") << encoded(nativeText(plain), "UTF-32LE", true);
    QTest::newRow("UTF-32 big-endian") << encoded(nativeText(plain), "UTF-32BE", true);
}

void TestSpreadsheets::nativeQuirks()
{
    QFETCH(QByteArray, bytes);
    const ToneTable tones;
    ImportOptions options;
    options.band = 2;
    const ImportOutcome outcome = importChannelList(bytes, savedNewDocument(), options, tones);
    QVERIFY2(!outcome.refused(), outcome.problems.empty() ? "" : outcome.problems.front().message.c_str());
    QCOMPARE(outcome.format, std::optional<ListFormat>(ListFormat::Native));
    QCOMPARE(samples::texts(decodeChannel(outcome.image, 1)), kChannel1.mid(1));
    QCOMPARE(samples::texts(decodeChannel(outcome.image, 2)),
             (QStringList{"446.00625", "", "无", "无", "否", "宽带", "添加", "高"}));
    QCOMPARE(samples::texts(decodeChannel(outcome.image, 3)), QStringList(8, QString()));
}

void TestSpreadsheets::interchangeWithSemicolonsAndDoubledQuotes()
{
    const QString text = QStringLiteral(
        "Location;Name;Frequency;Duplex;Offset;Tone;rToneFreq;cToneFreq;DtcsCode;DtcsPolarity;RxDtcsCode;"
        "CrossMode;Mode;TStep;Skip;Power\r\n"
        "1;\"Gate \"\"A\"\"; north\";446,00625;+;0,6;Tone;67,0;88,5;023;NN;023;Tone->Tone;NFM;6,25;;2,5W\r\n");
    const ToneTable tones;
    const ImportOutcome outcome = importChannelList(text.toUtf8(), savedNewDocument(), {}, tones);
    QVERIFY(!outcome.refused());
    QCOMPARE(samples::texts(decodeChannel(outcome.image, 1)),
             (QStringList{"446.00625", "446.60625", "无", "67.0", "否", "窄带", "添加", "中"}));
    QVERIFY(std::find(outcome.notices.begin(), outcome.notices.end(),
                      "1 channel name was dropped: the radio has no channel names") != outcome.notices.end());
}

void TestSpreadsheets::lineNumbersAfterAQuotedLineEnd()
{
    const CsvTable table = parseCsv(QStringLiteral("a,\"one\r\ntwo\",c\r\n\r\nd,e\r\n"));
    QCOMPARE(table.records.size(), std::size_t(3));
    QCOMPARE(table.records[0].fields, (QStringList{"a", "one\ntwo", "c"}));
    QCOMPARE(table.records[1].line, 3);
    QVERIFY(table.records[1].blank());
    QCOMPARE(table.records[2].line, 4);
    QCOMPARE(table.records[2].fields, (QStringList{"d", "e"}));
}

void TestSpreadsheets::unclosedQuoteIsRefused()
{
    const ToneTable tones;
    const QString text = QStringLiteral("Location,Name,Frequency\n1,\"Gate,446.1\n2,,446.2\n");
    const ImportOutcome outcome = importChannelList(text.toUtf8(), savedNewDocument(), {}, tones);
    QCOMPARE(outcome.problems.size(), std::size_t(1));
    QCOMPARE(problemLine("f", outcome.problems[0]), std::string("f:2: a quoted cell that starts here is never closed"));
}

QTEST_GUILESS_MAIN(TestSpreadsheets)
#include "tst_spreadsheets.moc"
