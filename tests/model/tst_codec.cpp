#include "Codec.h"
#include "NewDocument.h"
#include "ToneTable.h"

#include <QRandomGenerator>
#include <QTest>

using namespace tavin;

namespace {

QByteArray hex(const std::uint8_t *bytes, int count)
{
    return QByteArray(reinterpret_cast<const char *>(bytes), count).toHex(' ').toUpper();
}

QStringList texts(const ChannelTexts &t)
{
    QStringList list;
    for (const std::string &s : t)
        list << QString::fromStdString(s);
    return list;
}

ChannelTexts channelTexts(const QStringList &list)
{
    ChannelTexts t;
    for (int i = 0; i < kColumnCount; ++i)
        t[static_cast<std::size_t>(i)] = list.value(i).toStdString();
    return t;
}

void setRecord(RadioImage &image, int channel, const QByteArray &hexBytes)
{
    const QByteArray bytes = QByteArray::fromHex(hexBytes);
    for (int i = 0; i < bytes.size(); ++i)
        image[layout::channelOffset(channel) + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(bytes[i]);
}

}  // namespace

class TestCodec : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decodeChannelRow_data();
    void decodeChannelRow();
    void decodeSettingsBytes_data();
    void decodeSettingsBytes();
    void newDocumentShowsDefaults();
    void unknownModelCodeKeepsSelection();
    void modelRuleRewritesHiddenRows_data();
    void modelRuleRewritesHiddenRows();
    void encodeChannelRow_data();
    void encodeChannelRow();
    void clearedFrequencyKeepsStepFlag();
    void encodeSettingsBytes_data();
    void encodeSettingsBytes();
    void savedNewDocumentBytes();
    void decodeThenEncodeNormalisesOnly();
};

void TestCodec::decodeChannelRow_data()
{
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("empty channel")
        << QByteArray("FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF") << QStringList{"", "", "", "", "", "", "", ""};
    QTest::newRow("receive only, no tones")
        << QByteArray("00000146FFFFFFFFFFFFFFFF45FFFFFF")
        << QStringList{"460.10000", "", "无", "无", "否", "窄带", "删除", "高"};
    QTest::newRow("rx byte 3 zero is absent")
        << QByteArray("12345600FFFFFFFFFFFFFFFF45FFFFFF") << QStringList{"", "", "", "", "", "", "", ""};
    QTest::newRow("transmit only is in use")
        << QByteArray("FFFFFFFF50622546FFFFFFFF00FFFFFF")
        << QStringList{"", "462.56250", "无", "无", "是", "宽带", "删除", "低"};
    QTest::newRow("tone on a channel not in use")
        << QByteArray("FFFFFFFFFFFFFFFF7006FFFFFFFFFFFF") << QStringList{"", "", "67.0", "", "", "", "", ""};
    QTest::newRow("flags 00")
        << QByteArray("00000146000001467006238000FFFFFF")
        << QStringList{"460.10000", "460.10000", "67.0", "D023N", "是", "宽带", "删除", "低"};
    QTest::newRow("flags CF, CTCSS off the table")
        << QByteArray("50622546506225465407FFFFCF010100")
        << QStringList{"462.56250", "462.56250", "75.4", "无", "否", "窄带", "删除", "高"};
    QTest::newRow("middle power, scan added")
        << QByteArray("00050015000500154125FFFF30000000")
        << QStringList{"150.00500", "150.00500", "254.1", "无", "是", "宽带", "添加", "中"};
    QTest::newRow("power value 3 shows high")
        << QByteArray("00000146000001460000000060000000")
        << QStringList{"460.10000", "460.10000", "无", "无", "是", "宽带", "删除", "高"};
}

void TestCodec::decodeChannelRow()
{
    QFETCH(QByteArray, record);
    QFETCH(QStringList, expected);
    RadioImage image;
    setRecord(image, 5, record);
    QCOMPARE(texts(decodeChannel(image, 5)), expected);
}

void TestCodec::decodeSettingsBytes_data()
{
    QTest::addColumn<QByteArray>("settings");  // 3C0..3C3
    QTest::addColumn<QByteArray>("modelBlock");  // 3D0..3D7
    QTest::addColumn<QStringList>("expected");  // the eleven box texts in enum order
    QTest::newRow("new document")
        << QByteArray("FF090306") << QByteArray("0000F03730313250")
        << QStringList{"QD-T310K", "136 - 174MHZ", "180s", "开", "9", "SQ-Off 瞬时", "开", "中文", "发射报警", "打开", "关"};
    QTest::newRow("all off, out of range values")
        << QByteArray("000A070B") << QByteArray("0000EF3730313350")
        << QStringList{"QD-6200", "136 - 174MHZ", "关闭", "关", "0", "SQ-Off 瞬时", "关", "关闭", "关闭", "关闭", "开"};
    QTest::newRow("voice 2 reads as off, local alarm")
        << QByteArray("6000010A") << QByteArray("0000F33730313250")
        << QStringList{"QD-T310K", "430 - 500MHZ", "300s", "关", "0", "瞬时监听", "关", "关闭", "本地报警", "关闭", "开"};
    QTest::newRow("English, local and transmitted alarm, band code F4")
        << QByteArray("97050200") << QByteArray("0000F43730313250")
        << QStringList{"QD-T310K", "136 - 174MHZ", "关闭", "开", "5", "监听锁定", "开", "英语", "本地发射报警", "打开", "开"};
}

void TestCodec::decodeSettingsBytes()
{
    QFETCH(QByteArray, settings);
    QFETCH(QByteArray, modelBlock);
    QFETCH(QStringList, expected);
    RadioImage image;
    const QByteArray s = QByteArray::fromHex(settings), m = QByteArray::fromHex(modelBlock);
    for (int i = 0; i < 4; ++i)
        image[layout::kFunctionFlags + std::size_t(i)] = std::uint8_t(s[i]);
    for (int i = 0; i < 8; ++i)
        image[layout::kModelBlock + std::size_t(i)] = std::uint8_t(m[i]);
    ChannelTable channels;
    BoxSelections selections = initialFormSelections();
    decodeImage(image, channels, selections);
    QStringList shown;
    for (const SettingBoxInfo &box : settingBoxes())
        shown << QString::fromStdString(selectionText(box.box, selections[box.box]));
    QCOMPARE(shown, expected);
}

void TestCodec::newDocumentShowsDefaults()
{
    RadioImage image;
    image.resetToNewDocument(HiddenPreset::Vhf);
    ChannelTable channels;
    BoxSelections selections = initialFormSelections();
    decodeImage(image, channels, selections);
    for (const ChannelTexts &row : channels)
        QCOMPARE(texts(row), QStringList(8, QString()));
    for (int r = layout::kFirstHiddenRow; r <= layout::kLastHiddenRow; ++r)
        QCOMPARE(hex(image.data() + layout::channelOffset(r), 16), QByteArray("00 00 00 00 00 00 00 00 FF FF FF FF FF 01 01 FF"));
}

void TestCodec::unknownModelCodeKeepsSelection()
{
    RadioImage image;
    image.resetToNewDocument(HiddenPreset::Uhf);
    image[layout::kModelCode] = 0x41;
    ChannelTable channels;
    BoxSelections selections;
    selections[SettingBox::Model] = 2;
    decodeImage(image, channels, selections);
    QCOMPARE(selections[SettingBox::Model], 2);
    QCOMPARE(int(image[layout::channelOffset(17) + record::kRxStepFlag]), 0);  // the rule followed the kept model

    image[layout::kModelCode] = 0x33;
    selections[SettingBox::Model] = 2;  // saved with the third model, stored as 0x33
    decodeImage(image, channels, selections);
    QCOMPARE(selections[SettingBox::Model], 1);
}

void TestCodec::modelRuleRewritesHiddenRows_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<int>("step");
    QTest::newRow("first model") << 0 << 1;
    QTest::newRow("second model") << 1 << 0;
    QTest::newRow("third model") << 2 << 0;
    QTest::newRow("no selection") << -1 << 0;
}

void TestCodec::modelRuleRewritesHiddenRows()
{
    QFETCH(int, model);
    QFETCH(int, step);
    RadioImage image;
    for (std::size_t i = 0; i < kImageSize; ++i)
        image[i] = static_cast<std::uint8_t>(i * 7);
    const RadioImage before = image;
    applyModelRule(image, model);
    for (std::size_t i = 0; i < kImageSize; ++i) {
        const std::size_t row = i / 16, column = i % 16;
        std::uint8_t expected = before[i];
        if (row >= 17 && row <= 24) {
            if (column < 8)
                expected = 0;
            else if (column == 13 || column == 14)
                expected = static_cast<std::uint8_t>(step);
        }
        QCOMPARE(int(image[i]), int(expected));
    }
}

void TestCodec::encodeChannelRow_data()
{
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    const QByteArray ff("FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF");
    QTest::newRow("462.56250 step 1")
        << QStringList{"462.56250", "", "", "", "否", "窄带", "删除", "高"} << ff
        << QByteArray("50 62 25 46 FF FF FF FF FF FF FF FF CF 01 FF FF");
    QTest::newRow("150.00500 step 0")
        << QStringList{"150.00500", "150.00625", "", "", "否", "窄带", "删除", "高"} << ff
        << QByteArray("00 05 00 15 25 06 00 15 FF FF FF FF CF 00 01 FF");
    QTest::newRow("450.00500 step 1 above 300 MHz")
        << QStringList{"450.00500", "", "", "", "", "", "", ""} << ff
        << QByteArray("00 05 00 45 FF FF FF FF FF FF FF FF CF 01 FF FF");
    QTest::newRow("64.00500 exact")
        << QStringList{"64.00500", "", "", "", "", "", "", ""} << ff
        << QByteArray("00 05 40 06 FF FF FF FF FF FF FF FF CF 00 FF FF");
    QTest::newRow("tones and choice words")
        << QStringList{"", "", "254.1", "D754I", "是", "宽带", "添加", "中"} << ff
        << QByteArray("FF FF FF FF FF FF FF FF 41 25 54 C7 BA FF FF FF");
    QTest::newRow("flags 00 with no, narrow, delete, high")
        << QStringList{"", "", "D023N", "OFF", "否", "窄带", "删除", "高"}
        << QByteArray("00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00")
        << QByteArray("FF FF FF FF FF FF FF FF 23 80 FF FF 45 00 00 00");
    QTest::newRow("low power clears both bits, kept bits stay")
        << QStringList{"", "", "", "", "是", "宽带", "删除", "低"}
        << QByteArray("FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF 5A")
        << QByteArray("FF FF FF FF FF FF FF FF FF FF FF FF 8A FF FF 5A");
}

void TestCodec::encodeChannelRow()
{
    QFETCH(QStringList, cells);
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    RadioImage image;
    setRecord(image, 16, QByteArray(before).replace(' ', ""));
    encodeChannel(channelTexts(cells), image, 16);
    QCOMPARE(hex(image.data() + layout::channelOffset(16), 16), after);
}

void TestCodec::clearedFrequencyKeepsStepFlag()
{
    RadioImage image;
    setRecord(image, 3, "50622546000515452341FFFF45010100");
    encodeChannel(channelTexts({"", "", "", "", "", "", "", ""}), image, 3);
    QCOMPARE(hex(image.data() + layout::channelOffset(3), 16), QByteArray("FF FF FF FF FF FF FF FF FF FF FF FF 45 01 01 00"));
}

void TestCodec::encodeSettingsBytes_data()
{
    QTest::addColumn<QList<int>>("selections");  // enum order
    QTest::addColumn<QByteArray>("settings");     // 3C0..3C3
    QTest::addColumn<int>("band");
    QTest::addColumn<int>("model");
    QTest::newRow("new document") << QList<int>{0, 0, 6, 0, 9, 3, 1, 2, 3, 1, 1} << QByteArray("FF 09 03 06") << 0xF0 << 0x32;
    QTest::newRow("all first entries") << QList<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0} << QByteArray("01 00 00 00") << 0xF0 << 0x32;
    QTest::newRow("no selections") << QList<int>(11, -1) << QByteArray("BD FF FF FF") << 0xEF << 0x33;
    QTest::newRow("third model, English, local alarm")
        << QList<int>{2, 3, 10, 1, 5, 1, 1, 1, 1, 0, 0} << QByteArray("54 05 01 0A") << 0xF3 << 0x33;
    QTest::newRow("local and transmitted alarm") << QList<int>{1, 2, 1, 1, 1, 2, 0, 0, 2, 1, 1} << QByteArray("8A 01 02 01") << 0xF2 << 0x33;
}

void TestCodec::encodeSettingsBytes()
{
    QFETCH(QList<int>, selections);
    QFETCH(QByteArray, settings);
    QFETCH(int, band);
    QFETCH(int, model);
    BoxSelections s;
    for (int i = 0; i < kSettingBoxCount; ++i)
        s.index[std::size_t(i)] = selections[i];
    RadioImage image;
    encodeSettings(s, image);
    QCOMPARE(hex(image.data() + layout::kFunctionFlags, 4), settings);
    QCOMPARE(int(image[layout::kBandCode]), band);
    QCOMPARE(int(image[layout::kModelCode]), model);
}

void TestCodec::savedNewDocumentBytes()
{
    const RadioImage image = savedNewDocument();
    for (std::size_t i = 0; i < kImageSize; ++i) {
        const std::size_t row = i / 16, column = i % 16;
        int expected = 0xFF;
        if (row >= 1 && row <= 16 && column == 12)
            expected = 0xCF;
        else if (row >= 17 && row <= 24 && column < 8)
            expected = 0x00;
        else if (row >= 17 && row <= 24 && (column == 13 || column == 14))
            expected = 0x01;
        else if (i >= 0x280 && i < 0x290)
            expected = int(i - 0x280 + 1);
        else if (i >= 0x3C0 && i < 0x3C4)
            expected = std::array{0xFF, 0x09, 0x03, 0x06}[i - 0x3C0];
        else if (i >= 0x3D0 && i < 0x3D8)
            expected = std::array{0x00, 0x00, 0xF0, 0x37, 0x30, 0x31, 0x32, 0x50}[i - 0x3D0];
        else if (i >= 0x3F0 && i < 0x3FA)
            expected = std::array{0x5E, 0x09, 0x2B, 0x69, 0xD8, 0xAA, 0x41, 0xAA, 0x60, 0x4B}[i - 0x3F0];
        QVERIFY2(image[i] == expected, qPrintable(QStringLiteral("offset 0x%1").arg(i, 3, 16, QLatin1Char('0'))));
    }
}

// Random images within the editor's value ranges: decoding then encoding gives
// the same bytes but for the normalisations the codec documents.
void TestCodec::decodeThenEncodeNormalisesOnly()
{
    const ToneTable tones;
    QRandomGenerator random(1024);
    const auto byte = [&] { return static_cast<std::uint8_t>(random.bounded(256)); };
    const auto bcdPair = [&] { return toBcd(random.bounded(100u)); };

    for (int round = 0; round < 3000; ++round) {
        RadioImage image;
        for (std::size_t i = 0; i < kImageSize; ++i)
            image[i] = byte();
        for (int n = 1; n <= kChannelCount; ++n) {
            ChannelRecord record = image.channel(n);
            for (Side side : {Side::Rx, Side::Tx}) {
                if (random.bounded(3) == 0) {
                    image[layout::channelOffset(n) + (side == Side::Rx ? 3 : 7)] = random.bounded(2) ? 0x00 : 0xFF;
                } else {
                    std::uint8_t *f = image.data() + layout::channelOffset(n) + (side == Side::Rx ? 0 : 4);
                    f[0] = bcdPair(); f[1] = bcdPair(); f[2] = bcdPair(); f[3] = toBcd(1 + random.bounded(99u));
                }
                const int tone = random.bounded(ToneTable::kSize + 1);
                if (tone == ToneTable::kSize)
                    record.setTone(side, ToneField{byte(), random.bounded(2) ? std::uint8_t(0x00) : std::uint8_t(0xFF)});
                else
                    record.setTone(side, encodeToneText(tones.name(tone)));
            }
            std::uint8_t flags = byte();
            if ((flags & channelFlags::kPowerMask) == channelFlags::kPowerMask)
                flags &= ~channelFlags::kPowerLow;
            record.setFlags(flags);
        }
        image[layout::kSquelchLevel] = std::uint8_t(random.bounded(10));
        image[layout::kMonitorMode] = std::uint8_t(random.bounded(4));
        image[layout::kTxTimeLimit] = std::uint8_t(random.bounded(11));
        image[layout::kModelCode] = random.bounded(2) ? 0x32 : 0x33;
        image[layout::kBandCode] = std::uint8_t(0xF0 + random.bounded(4));

        RadioImage expected = image;
        applyModelRule(expected, image[layout::kModelCode] == 0x32 ? 0 : 1);
        for (int n = 1; n <= kChannelCount; ++n) {
            ChannelRecord record = expected.channel(n);
            const bool inUse = record.inUse();
            for (Side side : {Side::Rx, Side::Tx}) {
                if (const auto count = record.frequency(side))
                    record.setFrequency(side, *count);
                else
                    record.clearFrequency(side);
                const ToneField tone = record.tone(side);
                if (tone.high == 0x00 || tone.high == 0xFF)
                    record.setTone(side, ToneField{});
            }
            if (!inUse)
                record.setFlags(static_cast<std::uint8_t>((record.flags() & 0x8A) | 0x45));
        }
        if ((expected[layout::kFunctionFlags] & 0x30) == 0x20)
            expected[layout::kFunctionFlags] &= 0xCF;

        ChannelTable channels;
        BoxSelections selections;
        decodeImage(image, channels, selections);
        encodeImage(channels, selections, image);
        for (std::size_t i = 0; i < kImageSize; ++i) {
            if (image[i] != expected[i])
                QFAIL(qPrintable(QStringLiteral("round %1: offset 0x%2 is %3, expected %4")
                                     .arg(round).arg(i, 3, 16, QLatin1Char('0'))
                                     .arg(image[i], 2, 16, QLatin1Char('0')).arg(expected[i], 2, 16, QLatin1Char('0'))));
        }
    }
}

QTEST_GUILESS_MAIN(TestCodec)
#include "tst_codec.moc"
