// The rules of an import: every refused cell of every row in one run, the
// band that frequencies are checked against, what the base keeps, JSON's
// settings and the lines its messages name.
#include "ListSamples.h"

#include <QStringEncoder>
#include <QTest>

using namespace tavin;
using namespace tavin::lists;

namespace {

const QString kNativeHeader =
    QStringLiteral("信道,接收频率(MHz),发射频率(MHz),QT/DQT解码,QT/DQT编码,繁忙锁定,宽/窄带,扫描,功率\n");

QStringList problemLines(const ImportOutcome &outcome)
{
    QStringList lines;
    for (const ListProblem &problem : outcome.problems)
        lines << QString::fromStdString(problemLine("plan.csv", problem));
    return lines;
}

bool hasNotice(const ImportOutcome &outcome, const QString &start)
{
    for (const std::string &notice : outcome.notices) {
        if (QString::fromStdString(notice).startsWith(start))
            return true;
    }
    return false;
}

RadioImage baseInBand(int band)
{
    RadioImage image = savedNewDocument();
    image[layout::kBandCode] = std::uint8_t(0xF0 + band);
    return image;
}

}  // namespace

class TestListImport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyErrorInOneRun();
    void cellTexts_data();
    void cellTexts();
    void band_data();
    void band();
    void baseKeepsWhatTheListDoesNotName();
    void jsonSettingsAndModelRule();
    void jsonProblemsNameTheirLines_data();
    void jsonProblemsNameTheirLines();
    void notAList_data();
    void notAList();

private:
    ImportOutcome run(const QString &text, std::optional<int> band = 2, const RadioImage &base = savedNewDocument())
    {
        ImportOptions options;
        options.band = band;
        return importChannelList(text.toUtf8(), base, options, m_tones);
    }

    const ToneTable m_tones;
};

void TestListImport::everyErrorInOneRun()
{
    const QString text = kNativeHeader + QStringLiteral(
        "1,480.0031,,,,,,,\n"
        "2,446.0031,446.00625,,,,,,\n"
        "3,abc,,,,,,,\n"
        "4,446.00625,,xyz,,,,,\n"
        "5,446.00625,,,,maybe,,,\n"
        "17,446.00625,,,,,,,\n"
        "5,446.1,,,,,,,\n"
        "6,446.00625,,,,,,,,extra\n"
        "7,446.00625,,,,,,,\n");
    const ImportOutcome outcome = run(text);
    QCOMPARE(problemLines(outcome), (QStringList{
        "plan.csv:2: 接收频率(MHz): Out of range! (480.00310 MHz is outside the band 400 - 470MHZ)",
        "plan.csv:2: 接收频率(MHz): Error data Value，Please input according the step value(6.25K/5k) "
        "(480.00310 MHz is on neither the 6.25 kHz nor the 5 kHz raster)",
        "plan.csv:3: 接收频率(MHz): Error data Value，Please input according the step value(6.25K/5k) "
        "(446.00310 MHz is on neither the 6.25 kHz nor the 5 kHz raster)",
        "plan.csv:4: 接收频率(MHz): Error Data Format，Please input again ('abc' is not a number of megahertz)",
        "plan.csv:5: QT/DQT解码: not a tone of the tone list ('xyz')",
        "plan.csv:6: 繁忙锁定: not one of 是, 否 ('maybe')",
        "plan.csv:7: 信道: '17' is not a channel number of 1 to 16",
        "plan.csv:8: 信道: channel 5 is already given on line 6",
        "plan.csv:9: text after the last column: 'extra'",
    }));
    QVERIFY(outcome.image == savedNewDocument());
}

void TestListImport::cellTexts_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<QStringList>("expected");
    const QStringList empty(8, QString());
    QTest::newRow("defaults for cells left empty") << "1,446.5,446.5"
                                                   << QStringList{"446.50000", "446.50000", "无", "无", "否", "宽带", "添加", "高"};
    QTest::newRow("tone names in any case, table spelling") << "1,446.5,446.5,d023i,Off"
                                                            << QStringList{"446.50000", "446.50000", "D023I", "无", "否", "宽带", "添加", "高"};
    QTest::newRow("transmit only") << "1,,446.5,,67.0,是"
                                   << QStringList{"", "446.50000", "无", "67.0", "是", "宽带", "添加", "高"};
    QTest::newRow("no frequency: an empty channel") << "1,,,67.0,,是,宽带,添加,高" << empty;
    QTest::newRow("blank cells around a number") << "1, 446.5 ,446.5" 
                                                 << QStringList{"446.50000", "446.50000", "无", "无", "否", "宽带", "添加", "高"};
}

void TestListImport::cellTexts()
{
    QFETCH(QString, row);
    QFETCH(QStringList, expected);
    const ImportOutcome outcome = run(kNativeHeader + row + u'\n');
    QVERIFY2(!outcome.refused(), qPrintable(problemLines(outcome).join(u'\n')));
    QCOMPARE(samples::texts(decodeChannel(outcome.image, 1)), expected);
    QCOMPARE(hasNotice(outcome, QStringLiteral("line 2: channel 1 has no frequency")), expected == QStringList(8, QString()));
}

void TestListImport::band_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("baseBand");
    QTest::addColumn<int>("option");  // -1: none
    QTest::addColumn<int>("expected");  // -1: refused
    QTest::addColumn<QString>("notice");
    QTest::addColumn<int>("problems");
    const QString json = QStringLiteral("{\"channels\": [[\"446.00625\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"]], "
                                        "\"settings\": {\"band\": \"430 - 500MHZ\"}}");
    QTest::newRow("the base's band holds them") << kNativeHeader + "1,446.1\n2,460.1\n" << 2 << -1 << 2 << QString() << 0;
    QTest::newRow("the base's band 430-500 holds them too") << kNativeHeader + "1,446.1\n" << 3 << -1 << 3 << QString() << 0;
    QTest::newRow("else the first band that does") << kNativeHeader + "1,446.1\n2,460.1\n" << 0 << -1 << 2
                                                   << "band set to 400 - 470MHZ" << 0;
    QTest::newRow("480 MHz only in the last band") << kNativeHeader + "1,480.1\n" << 0 << -1 << 3
                                                   << "band set to 430 - 500MHZ" << 0;
    QTest::newRow("no band holds 146 and 446 MHz") << kNativeHeader + "1,146.1\n2,446.1\n" << 0 << -1 << -1
                                                   << "no band holds every imported frequency; the band stays 136 - 174MHZ" << 1;
    const QString typo = kNativeHeader + "1,462.5625,467.5625\n2,146.1,146.1\n3,462.5875,467.5875\n4,446.00625,446.00625\n";
    QTest::newRow("one mistyped 146.1 among 46x MHz channels") << typo << 0 << -1 << -1
        << "no band holds every imported frequency; band set to 400 - 470MHZ, which holds the most channels (3 of 4); "
           "outside it: channel 2 (146.10000 MHz)" << 2;
    QTest::newRow("on a tie the base's band stays") << typo << 3 << -1 << -1
        << "no band holds every imported frequency; the band stays 430 - 500MHZ, which holds the most channels" << 2;
    QTest::newRow("--band decides") << kNativeHeader + "1,446.1\n" << 2 << 3 << 3 << QString() << 0;
    QTest::newRow("--band refuses what lies outside") << kNativeHeader + "1,446.1\n" << 2 << 1 << -1 << QString() << 1;
    QTest::newRow("JSON's band") << json << 2 << -1 << 3 << QString() << 0;
    QTest::newRow("nothing to check: the base's band") << kNativeHeader + "1,,\n" << 1 << -1 << 1 << QString() << 0;
}

void TestListImport::band()
{
    QFETCH(QString, list);
    QFETCH(int, baseBand);
    QFETCH(int, option);
    QFETCH(int, expected);
    QFETCH(QString, notice);
    QFETCH(int, problems);
    const ImportOutcome outcome = run(list, option < 0 ? std::nullopt : std::optional<int>(option), baseInBand(baseBand));
    if (!notice.isEmpty())
        QVERIFY(hasNotice(outcome, notice));
    if (expected < 0) {
        QVERIFY(outcome.refused());
        QVERIFY(problemLines(outcome).constFirst().contains(QStringLiteral("Out of range!")));
        QCOMPARE(outcome.problems.size(), std::size_t(problems));
        return;
    }
    QVERIFY2(!outcome.refused(), qPrintable(problemLines(outcome).join(u'\n')));
    QCOMPARE(decodeBandSelection(outcome.image), expected);
}

void TestListImport::baseKeepsWhatTheListDoesNotName()
{
    RadioImage base = baseInBand(2);
    // Channel 1 carries kept bits (1, 3, 7 of its flags, byte 15); channels 3 and 5 are in use.
    const QByteArray channel = QByteArray::fromHex("50622546506225465407238030010100");
    for (int n : {1, 3, 5}) {
        for (int i = 0; i < 16; ++i)
            base[layout::channelOffset(n) + std::size_t(i)] = std::uint8_t(channel[i]);
    }
    base[layout::channelOffset(1) + 12] = 0x8A;
    base[layout::channelOffset(1) + 15] = 0x5A;
    base[0x190] = 0x12;  // an unused byte
    const ImportOutcome outcome = run(kNativeHeader + "1,446.00625,446.00625,,,,,,\n3,,,,,,,,\n", std::nullopt, base);
    QVERIFY(!outcome.refused());
    const RadioImage &image = outcome.image;
    QCOMPARE(samples::texts(decodeChannel(image, 1)).mid(0, 2), (QStringList{"446.00625", "446.00625"}));
    QCOMPARE(image[layout::channelOffset(1) + 12] & 0x8A, 0x8A);
    QCOMPARE(image[layout::channelOffset(1) + 15], std::uint8_t(0x5A));
    QVERIFY(decodeChannel(image, 3)[0].empty());
    for (std::size_t i = layout::channelOffset(5); i < layout::channelOffset(6); ++i)
        QCOMPARE(image[i], base[i]);
    QCOMPARE(image[0x190], std::uint8_t(0x12));
    QCOMPARE(image[layout::kBandCode], base[layout::kBandCode]);
}

void TestListImport::jsonSettingsAndModelRule()
{
    const QString json = QStringLiteral(
        "{\"settings\": {\"model\": \"QD-6200\", \"band\": \"136-174mhz\", \"squelchLevel\": 3, "
        "\"voicePrompt\": \"英语\", \"beep\": null}}");
    const ImportOutcome outcome = run(json, std::nullopt);
    QVERIFY2(!outcome.refused(), qPrintable(problemLines(outcome).join(u'\n')));
    const BoxSelections s = samples::decodedSelections(outcome.image);
    QCOMPARE(s[SettingBox::Model], 1);
    QCOMPARE(s[SettingBox::Band], 0);
    QCOMPARE(s[SettingBox::SquelchLevel], 3);
    QCOMPARE(s[SettingBox::VoicePrompt], 1);
    QCOMPARE(s[SettingBox::TxTimeLimit], 6);  // not named: the base's 180s
    QCOMPARE(outcome.image[layout::channelOffset(17) + record::kRxStepFlag], std::uint8_t(0));  // second model
    QCOMPARE(samples::decodedChannels(outcome.image), samples::decodedChannels(savedNewDocument()));
}

void TestListImport::jsonProblemsNameTheirLines_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("syntax") << "{\n\"channels\": [\n[\"1\",]\n]}"
                            << QStringList{"plan.csv:3: not valid JSON: "};  // then Qt's own words
    QTest::newRow("a row of seven texts, a bad setting, an unknown key")
        << "{\n  \"channels\": [\n    [\"446.1\",\"\",\"\",\"\",\"\",\"\",\"\"]\n  ],\n"
           "  \"settings\": {\n    \"squelchLevel\": \"11\"\n  },\n  \"colour\": 1\n}"
        << QStringList{"plan.csv:3: channel 1: must be an array of eight texts",
                       "plan.csv:6: squelchLevel: '11' is not one of 0, 1, 2, 3, 4, 5, 6, 7, 8, 9",
                       "plan.csv:8: colour: unknown key: a channel list has \"channels\" and \"settings\""};
    QTest::newRow("a cell refused by the editor's rules")
        << "{\"channels\": [\n[\"446.1\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"],\n"
           "[\"446.1\",\"\",\"\",\"\",\"\",\"\",\"\",\"中中\"]\n]}"
        << QStringList{"plan.csv:3: 功率: not one of 高, 中, 低 ('中中')"};
    QTest::newRow("channels given twice")
        << "{\"channels\": [[\"446.1\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"]],\n"
           "\"channels\": [[\"446.2\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"]]}"
        << QStringList{"plan.csv:2: channels: the key is given twice in one object (first on line 1)"};
    QTest::newRow("a setting given twice, once with an escape")
        << "{\"settings\": {\n\"band\": \"400 - 470MHZ\",\n\"b\\u0061nd\": \"430 - 500MHZ\"}}"
        << QStringList{"plan.csv:3: band: the key is given twice in one object (first on line 2)"};
    QTest::newRow("a frequency with text after the number")
        << "{\"channels\": [\n[\"446.1 MHz\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"]]}"
        << QStringList{"plan.csv:2: 接收频率(MHz): Error Data Format，Please input again ('446.1 MHz' is not a number"};
}

void TestListImport::jsonProblemsNameTheirLines()
{
    QFETCH(QString, json);
    QFETCH(QStringList, expected);
    const ImportOutcome outcome = run(json);
    QCOMPARE(outcome.format, std::optional<ListFormat>(ListFormat::Json));
    const QStringList lines = problemLines(outcome);
    QCOMPARE(lines.size(), expected.size());
    for (qsizetype i = 0; i < lines.size(); ++i)
        QVERIFY2(lines.at(i).startsWith(expected.at(i)), qPrintable(lines.at(i)));
}

void TestListImport::notAList_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("problem");
    QTest::newRow("empty") << QByteArray() << "plan.csv:1: the file is empty";
    QTest::newRow("blank lines") << QByteArray("\r\n\r\n") << "plan.csv:1: the file is empty";
    QTest::newRow("another table") << QByteArray("\nName,Phone\nA,1\n") << "plan.csv:2: not a channel list";
    QTest::newRow("a channel file") << QByteArray(1024, '\xff') << "plan.csv:1: the file is neither UTF-8 nor GB18030";
    const auto torn = [](const char *encoding, const QByteArray &tail) {
        QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
        return QByteArray(encoder.encode(kNativeHeader + "1,446.1\n")) + tail;
    };
    QTest::newRow("UTF-16 with an odd byte count") << torn("UTF-16LE", "A")
                                                   << "plan.csv:1: the file is cut off inside a UTF-16LE character";
    QTest::newRow("UTF-32 cut inside its last character") << torn("UTF-32BE", QByteArray(2, '\0'))
                                                          << "plan.csv:1: the file is cut off inside a UTF-32BE character";
    QTest::newRow("native header cut after the first column") << QByteArray("信道\n1\n") << "plan.csv:1: the header names no column";
    QTest::newRow("native header misspelt") << QByteArray("信道,接收频率\n") << "plan.csv:1: column 2 of the header is '接收频率'";
    QTest::newRow("interchange without Frequency") << QByteArray("Location,Name\n") << "plan.csv:1: the header has no 'Frequency' column";
}

void TestListImport::notAList()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, problem);
    const ImportOutcome outcome = importChannelList(bytes, savedNewDocument(), {}, m_tones);
    QVERIFY(outcome.refused());
    QVERIFY2(problemLines(outcome).constFirst().startsWith(problem), qPrintable(problemLines(outcome).join(u'\n')));
}

QTEST_GUILESS_MAIN(TestListImport)
#include "tst_listimport.moc"
