// The interchange layout of other programming tools: what each line means as
// grid texts (tone and cross modes, duplex kinds, modes, skip and power
// spellings), what is refused, and what export writes for each kind of channel.
#include "ChannelListExport.h"
#include "InterchangeLayout.h"
#include "ListSamples.h"

#include <QTest>

using namespace tavin;
using namespace tavin::lists;

namespace {

const QString kHeader = QStringLiteral(
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,CrossMode,"
    "Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\n");

// A line for channel 1 on 446.00625 MHz (or the given frequency) with the
// columns after Frequency given as "Column=value" pairs.
QString line(const QStringList &pairs, const QString &frequency = QStringLiteral("446.006250"))
{
    QStringList fields(interchange::kColumnCount);
    fields[interchange::Location] = QStringLiteral("1");
    fields[interchange::Frequency] = frequency;
    fields[interchange::Mode] = QStringLiteral("FM");
    for (const QString &pair : pairs) {
        const QString name = pair.section(u'=', 0, 0);
        for (int c = 0; c < interchange::kColumnCount; ++c) {
            if (name == QLatin1String(interchange::kColumnNames[std::size_t(c)].data()))
                fields[c] = pair.section(u'=', 1);
        }
    }
    return fields.join(u',') + u'\n';
}

ImportOutcome importText(const QString &text, std::optional<int> band = 2)
{
    static const ToneTable tones;
    ImportOptions options;
    options.band = band;
    return importChannelList(text.toUtf8(), savedNewDocument(), options, tones);
}

QString problemsOf(const ImportOutcome &outcome)
{
    QStringList lines;
    for (const ListProblem &problem : outcome.problems)
        lines << QString::fromStdString(problemLine("f", problem));
    return lines.join(u'\n');
}

}  // namespace

class TestInterchange : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rowToGridTexts_data();
    void rowToGridTexts();
    void refusedRows_data();
    void refusedRows();
    void locations_data();
    void locations();
    void namesDroppedWithANotice();
    void missingLaterColumns();
    void exportColumns_data();
    void exportColumns();
    void transmitOnlyChannelLeftOutOfExport();
    void busyLockNamedOnExport_data();
    void busyLockNamedOnExport();
};

void TestInterchange::rowToGridTexts_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<QStringList>("expected");
    const auto texts = [](const char *rx, const char *tx, const char *rxTone, const char *txTone,
                          const char *width = "宽带", const char *scan = "添加", const char *power = "高") {
        return QStringList{rx, tx, rxTone, txTone, "否", width, scan, power};
    };
    const char *f = "446.00625";
    QTest::newRow("no tone") << line({}) << texts(f, f, "无", "无");
    QTest::newRow("Tone: encode only") << line({"Tone=Tone", "rToneFreq=67.0", "cToneFreq=100.0"})
                                       << texts(f, f, "无", "67.0");
    QTest::newRow("TSQL: both cToneFreq") << line({"Tone=TSQL", "rToneFreq=67.0", "cToneFreq=100.0"})
                                          << texts(f, f, "100.0", "100.0");
    QTest::newRow("DTCS NR: normal out, inverted in") << line({"Tone=DTCS", "DtcsCode=754", "DtcsPolarity=NR"})
                                                      << texts(f, f, "D754I", "D754N");
    QTest::newRow("DTCS code without leading zero") << line({"Tone=DTCS", "DtcsCode=23"})
                                                    << texts(f, f, "D023N", "D023N");
    const QStringList all{"Tone=Cross", "rToneFreq=67.0", "cToneFreq=254.1", "DtcsCode=023", "RxDtcsCode=645",
                          "DtcsPolarity=RN"};
    const auto cross = [&all](const char *mode) { return line(all + QStringList{QStringLiteral("CrossMode=") + mode}); };
    QTest::newRow("Cross Tone->Tone") << cross("Tone->Tone") << texts(f, f, "254.1", "67.0");
    QTest::newRow("Cross Tone->DTCS") << cross("Tone->DTCS") << texts(f, f, "D645N", "67.0");
    QTest::newRow("Cross DTCS->Tone") << cross("DTCS->Tone") << texts(f, f, "254.1", "D023I");
    QTest::newRow("Cross DTCS->DTCS") << cross("DTCS->DTCS") << texts(f, f, "D645N", "D023I");
    QTest::newRow("Cross ->Tone") << cross("->Tone") << texts(f, f, "254.1", "无");
    QTest::newRow("Cross ->DTCS") << cross("->DTCS") << texts(f, f, "D645N", "无");
    QTest::newRow("Cross DTCS->") << cross("DTCS->") << texts(f, f, "无", "D023I");
    QTest::newRow("Cross Tone->") << cross("Tone->") << texts(f, f, "无", "67.0");
    QTest::newRow("duplex +") << line({"Duplex=+", "Offset=5.000000"}) << texts(f, "451.00625", "无", "无");
    QTest::newRow("duplex -") << line({"Duplex=-", "Offset=10"}) << texts(f, "436.00625", "无", "无");
    QTest::newRow("duplex split") << line({"Duplex=split", "Offset=462.5625"}) << texts(f, "462.56250", "无", "无");
    QTest::newRow("duplex off: receive only") << line({"Duplex=off", "Offset=0.6"}) << texts(f, "", "无", "无");
    QTest::newRow("mode NFM") << line({"Mode=NFM"}) << texts(f, f, "无", "无", "窄带");
    QTest::newRow("mode empty takes the default") << line({"Mode="}) << texts(f, f, "无", "无", "宽带");
    QTest::newRow("skip S") << line({"Skip=S"}) << texts(f, f, "无", "无", "宽带", "删除");
    QTest::newRow("skip P") << line({"Skip=P"}) << texts(f, f, "无", "无", "宽带", "添加");
    QTest::newRow("power High") << line({"Power=High"}) << texts(f, f, "无", "无", "宽带", "添加", "高");
    QTest::newRow("power mid") << line({"Power=mid"}) << texts(f, f, "无", "无", "宽带", "添加", "中");
    QTest::newRow("power MEDIUM") << line({"Power=MEDIUM"}) << texts(f, f, "无", "无", "宽带", "添加", "中");
    QTest::newRow("power low") << line({"Power=low"}) << texts(f, f, "无", "无", "宽带", "添加", "低");
    QTest::newRow("power 5.0W") << line({"Power=5.0W"}) << texts(f, f, "无", "无", "宽带", "添加", "高");
    QTest::newRow("power 4W is high") << line({"Power=4W"}) << texts(f, f, "无", "无", "宽带", "添加", "高");
    QTest::newRow("power 3.9W is middle") << line({"Power=3.9W"}) << texts(f, f, "无", "无", "宽带", "添加", "中");
    QTest::newRow("power 2W is middle") << line({"Power=2W"}) << texts(f, f, "无", "无", "宽带", "添加", "中");
    QTest::newRow("power 0.5W is low") << line({"Power=0.5W"}) << texts(f, f, "无", "无", "宽带", "添加", "低");
    QTest::newRow("no frequency: empty channel") << line({"Tone=Tone"}, QString()) << QStringList(8, QString());
}

void TestInterchange::rowToGridTexts()
{
    QFETCH(QString, row);
    QFETCH(QStringList, expected);
    const ImportOutcome outcome = importText(kHeader + row);
    QVERIFY2(!outcome.refused(), qPrintable(problemsOf(outcome)));
    QCOMPARE(outcome.format, std::optional<ListFormat>(ListFormat::Interchange));
    QCOMPARE(samples::texts(decodeChannel(outcome.image, 1)), expected);
}

void TestInterchange::refusedRows_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("problem");
    QTest::newRow("reverse tone squelch") << line({"Tone=TSQL-R"}) << "f:2: Tone: tone mode 'TSQL-R' is not supported: the radio has no reverse squelch";
    QTest::newRow("reverse DCS") << line({"Tone=DTCS-R"}) << "f:2: Tone: tone mode 'DTCS-R' is not supported";
    QTest::newRow("unknown tone mode") << line({"Tone=Tone2"}) << "f:2: Tone: tone mode 'Tone2' is not supported";
    QTest::newRow("unknown cross mode") << line({"Tone=Cross", "CrossMode=Tone->DV"}) << "f:2: CrossMode: 'Tone->DV' is not a cross mode";
    QTest::newRow("tone not in the list") << line({"Tone=Tone", "rToneFreq=69.4"}) << "f:2: rToneFreq: '69.4' Hz is not a tone of the tone list";
    QTest::newRow("code not in the list") << line({"Tone=DTCS", "DtcsCode=024"}) << "f:2: DtcsCode: '024' is not a DCS code";
    QTest::newRow("bad polarity") << line({"Tone=DTCS", "DtcsPolarity=NX"}) << "f:2: DtcsPolarity: 'NX' is not a polarity pair";
    QTest::newRow("AM") << line({"Mode=AM"}) << "f:2: Mode: mode 'AM' is not supported (FM or NFM)";
    QTest::newRow("skip X") << line({"Skip=X"}) << "f:2: Skip: 'X' is not a skip value";
    QTest::newRow("power Max") << line({"Power=Max"}) << "f:2: Power: 'Max' is not a power";
    QTest::newRow("unknown duplex") << line({"Duplex=x"}) << "f:2: Duplex: 'x' is not a duplex";
    QTest::newRow("split without a frequency") << line({"Duplex=split"}) << "f:2: Offset: duplex 'split' needs";
    QTest::newRow("duplex - with a negative offset") << line({"Duplex=-", "Offset=-5"})
                                                     << "f:2: Offset: '-5' is a negative offset";
    QTest::newRow("duplex + far beyond 32 bits") << line({"Duplex=+", "Offset=99999"})
                                                 << "f:2: Offset: Error Data Format，Please input again ('100445.00625'";
    QTest::newRow("duplex + beyond 64 bits") << line({"Duplex=+", "Offset=99999999999999999999"})
                                             << "f:2: Offset: the receive frequency plus this offset is not a frequency";
    QTest::newRow("offset out of the band") << line({"Duplex=+", "Offset=30"})
                                            << "f:2: Offset: Out of range! (476.00625 MHz is outside the band 400 - 470MHZ)";
    QTest::newRow("frequency off the raster") << line({}, QStringLiteral("446.0031"))
                                              << "f:2: Frequency: Error data Value，Please input according the step value(6.25K/5k)";
    QTest::newRow("frequency with a comma in a comma file") << line({}, QStringLiteral("\"446,5\""))
                                                            << "f:2: Frequency: Error Data Format，Please input again ('446,5'";
}

void TestInterchange::refusedRows()
{
    QFETCH(QString, row);
    QFETCH(QString, problem);
    const ImportOutcome outcome = importText(kHeader + row);
    QVERIFY(outcome.refused());
    QVERIFY2(problemsOf(outcome).startsWith(problem), qPrintable(problemsOf(outcome)));
    QVERIFY(outcome.image == savedNewDocument());
}

void TestInterchange::locations_data()
{
    QTest::addColumn<QStringList>("locations");
    QTest::addColumn<QList<int>>("channels");
    QTest::addColumn<QString>("problem");
    QTest::newRow("counted from 1") << QStringList{"1", "16"} << QList<int>{1, 16} << QString();
    const QString refusedZero = QStringLiteral("f:2: Location: location 0 is not one of the radio's 16 channels: "
                                               "this list numbers its locations from 0");
    QTest::newRow("counted from 0: refused, not moved") << QStringList{"0", "15", "3"} << QList<int>{} << refusedZero;
    QTest::newRow("an empty location 0 moves nothing") << QStringList{"0,,,,,,,,,,,,,,,,,,,,", "1", "2"} << QList<int>{}
                                                       << refusedZero;
    QTest::newRow("17 is not a channel") << QStringList{"1", "17"} << QList<int>{}
                                         << "f:3: Location: location 17 is not one of the radio's 16 channels (1 to 16)";
    QTest::newRow("0 and 16: only location 0 refused") << QStringList{"0", "16"} << QList<int>{} << refusedZero;
    QTest::newRow("twice the same") << QStringList{"2", "2"} << QList<int>{} << "f:3: Location: channel 2 is already given on line 2";
    QTest::newRow("not a number") << QStringList{"A1"} << QList<int>{} << "f:2: Location: 'A1' is not a location number";
}

void TestInterchange::locations()
{
    QFETCH(QStringList, locations);
    QFETCH(QList<int>, channels);
    QFETCH(QString, problem);
    QString text = kHeader;
    for (const QString &location : locations)  // a location, or a whole line
        text += location.contains(u',') ? location + u'\n'
                                         : location + QStringLiteral(",,446.006250,,0,,88.5,88.5,023,NN,023,Tone->Tone,"
                                                                     "FM,6.25,,High,,,,,\n");
    const ImportOutcome outcome = importText(text);
    if (!problem.isEmpty()) {
        QVERIFY2(problemsOf(outcome).startsWith(problem), qPrintable(problemsOf(outcome)));
        return;
    }
    QVERIFY2(!outcome.refused(), qPrintable(problemsOf(outcome)));
    for (int n = 1; n <= kChannelCount; ++n)
        QCOMPARE(decodeChannel(outcome.image, n)[0].empty(), !channels.contains(n));
}

void TestInterchange::namesDroppedWithANotice()
{
    const ImportOutcome outcome =
        importText(kHeader + line({"Name=Gate"}) + QStringLiteral("2,Yard,446.00625\n3,,446.00625\n"));
    QVERIFY(!outcome.refused());
    QVERIFY(std::find(outcome.notices.begin(), outcome.notices.end(),
                      "2 channel names were dropped: the radio has no channel names") != outcome.notices.end());
}

void TestInterchange::missingLaterColumns()
{
    const ImportOutcome outcome = importText(QStringLiteral("Location,Name,Frequency,Duplex,Offset\n5,,446.1,-,5\n"));
    QVERIFY2(!outcome.refused(), qPrintable(problemsOf(outcome)));
    QCOMPARE(samples::texts(decodeChannel(outcome.image, 5)),
             (QStringList{"446.10000", "441.10000", "无", "无", "否", "宽带", "添加", "高"}));
}

void TestInterchange::exportColumns_data()
{
    QTest::addColumn<QStringList>("channel");
    QTest::addColumn<QString>("columns");  // Frequency to Power
    QTest::newRow("simplex, no tones") << QStringList{"446.00625", "446.00625", "无", "无", "否", "宽带", "添加", "高"}
                                       << "446.006250,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,6.25,,High";
    QTest::newRow("repeater +5 with Tone") << QStringList{"440.00000", "445.00000", "无", "67.0", "是", "窄带", "删除", "中"}
                                           << "440.000000,+,5.000000,Tone,67.0,88.5,023,NN,023,Tone->Tone,NFM,5.00,S,Mid";
    QTest::newRow("minus shift, TSQL") << QStringList{"145.50000", "145.10000", "100.0", "100.0", "否", "宽带", "添加", "低"}
                                       << "145.500000,-,0.400000,TSQL,88.5,100.0,023,NN,023,Tone->Tone,FM,5.00,,Low";
    QTest::newRow("split beyond 70 MHz") << QStringList{"136.00000", "400.00000", "无", "无", "否", "宽带", "添加", "高"}
                                         << "136.000000,split,400.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,High";
    QTest::newRow("receive only") << QStringList{"462.56250", "", "无", "无", "否", "宽带", "添加", "高"}
                                  << "462.562500,off,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,6.25,,High";
    QTest::newRow("DTCS with two polarities") << QStringList{"446.00625", "446.00625", "D754I", "D754N", "否", "宽带", "添加", "高"}
                                              << "446.006250,,0.000000,DTCS,88.5,88.5,754,NR,023,Tone->Tone,FM,6.25,,High";
    QTest::newRow("Cross Tone->DTCS") << QStringList{"446.00625", "446.00625", "D023I", "67.0", "否", "宽带", "添加", "高"}
                                      << "446.006250,,0.000000,Cross,67.0,88.5,023,NR,023,Tone->DTCS,FM,6.25,,High";
    QTest::newRow("Cross DTCS->Tone") << QStringList{"446.00625", "446.00625", "67.0", "D023I", "否", "宽带", "添加", "高"}
                                      << "446.006250,,0.000000,Cross,88.5,67.0,023,RN,023,DTCS->Tone,FM,6.25,,High";
    QTest::newRow("Cross DTCS->DTCS") << QStringList{"446.00625", "446.00625", "D645N", "D023N", "否", "宽带", "添加", "高"}
                                      << "446.006250,,0.000000,Cross,88.5,88.5,023,NN,645,DTCS->DTCS,FM,6.25,,High";
    QTest::newRow("Cross ->Tone") << QStringList{"446.00625", "446.00625", "67.0", "无", "否", "宽带", "添加", "高"}
                                  << "446.006250,,0.000000,Cross,88.5,67.0,023,NN,023,->Tone,FM,6.25,,High";
    QTest::newRow("Cross Tone->Tone") << QStringList{"446.00625", "446.00625", "71.9", "67.0", "否", "宽带", "添加", "高"}
                                      << "446.006250,,0.000000,Cross,67.0,71.9,023,NN,023,Tone->Tone,FM,6.25,,High";
    QTest::newRow("OFF is no tone: Tone") << QStringList{"446.00625", "446.00625", "OFF", "67.0", "否", "宽带", "添加", "高"}
                                          << "446.006250,,0.000000,Tone,67.0,88.5,023,NN,023,Tone->Tone,FM,6.25,,High";
    QTest::newRow("rasters differ: receive decides") << QStringList{"446.00500", "446.00625", "无", "无", "否", "宽带", "添加", "高"}
                                                     << "446.005000,+,0.001250,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,High";
}

void TestInterchange::exportColumns()
{
    QFETCH(QStringList, channel);
    QFETCH(QString, columns);
    ChannelTable table;
    table[2] = samples::row(channel);
    const ExportOutcome exported = exportChannelList(ListFormat::Interchange, table, {});
    const QStringList lines = QString::fromUtf8(exported.bytes).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 3);  // header, channel 3, the empty rest after the last line end
    QCOMPARE(lines.at(0) + u'\n', kHeader);
    QCOMPARE(lines.at(1), QStringLiteral("3,,") + columns + QStringLiteral(",,,,,"));
}

void TestInterchange::transmitOnlyChannelLeftOutOfExport()
{
    ChannelTable table;
    table[3] = samples::row({"", "446.00625", "无", "无", "否", "宽带", "添加", "高"});
    const ExportOutcome exported = exportChannelList(ListFormat::Interchange, table, {});
    QCOMPARE(exported.bytes.count('\n'), 1);
    QCOMPARE(exported.notices.size(), std::size_t(1));
    QVERIFY(QString::fromStdString(exported.notices[0]).startsWith(QStringLiteral("channel 4 is left out")));
}

void TestInterchange::busyLockNamedOnExport_data()
{
    QTest::addColumn<QStringList>("busyLock");  // channels 1 to 4; channel 4 has a transmit frequency only
    QTest::addColumn<QStringList>("notices");
    const QString txOnly = QStringLiteral("channel 4 is left out: it has a transmit frequency only, which this "
                                          "layout cannot hold");
    QTest::newRow("none locked") << QStringList{"否", "否", "否", "否"} << QStringList{txOnly};
    QTest::newRow("one") << QStringList{"否", "是", "否", "否"}
                         << QStringList{txOnly, "busy lock (繁忙锁定) is not in the interchange layout, so it is "
                                                "left out: channel 2"};
    QTest::newRow("several; the channel left out is not named twice")
        << QStringList{"是", "否", "是", "是"}
        << QStringList{txOnly, "busy lock (繁忙锁定) is not in the interchange layout, so it is left out: "
                               "channels 1, 3"};
}

void TestInterchange::busyLockNamedOnExport()
{
    QFETCH(QStringList, busyLock);
    QFETCH(QStringList, notices);
    ChannelTable table;
    for (int n = 0; n < 4; ++n) {
        const QString rx = n == 3 ? QString() : QStringLiteral("446.00625");
        table[std::size_t(n)] = samples::row({rx, "446.00625", "无", "无", busyLock.at(n), "宽带", "添加", "高"});
    }
    const ExportOutcome exported = exportChannelList(ListFormat::Interchange, table, {});
    QStringList said;
    for (const std::string &notice : exported.notices)
        said << QString::fromStdString(notice);
    QCOMPARE(said, notices);
    QCOMPARE(exported.bytes.count('\n'), 4);  // the header and channels 1 to 3
}

QTEST_GUILESS_MAIN(TestInterchange)
#include "tst_interchange.moc"
