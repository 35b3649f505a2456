#include "ToneTable.h"

#include <QTest>

using namespace tavin;

class TestToneTable : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void namesByIndex_data();
    void namesByIndex();
    void everyNameRoundTrips();
    void fields_data();
    void fields();
    void decodedFields_data();
    void decodedFields();
    void lookUpIgnoresCase();

private:
    ToneTable m_table;
};

void TestToneTable::namesByIndex_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::newRow("0 is no tone") << 0 << QStringLiteral("无");
    QTest::newRow("1 first CTCSS") << 1 << QStringLiteral("67.0");
    QTest::newRow("50 last CTCSS") << 50 << QStringLiteral("254.1");
    QTest::newRow("51 first DCS N") << 51 << QStringLiteral("D023N");
    QTest::newRow("144 the added 645") << 144 << QStringLiteral("D645N");
    QTest::newRow("155 last DCS N") << 155 << QStringLiteral("D754N");
    QTest::newRow("156 first DCS I") << 156 << QStringLiteral("D023I");
    QTest::newRow("260 last DCS I") << 260 << QStringLiteral("D754I");
}

void TestToneTable::namesByIndex()
{
    QFETCH(int, index);
    QFETCH(QString, name);
    QCOMPARE(m_table.size(), 261);
    QCOMPARE(QString::fromStdString(m_table.name(index)), name);
}

void TestToneTable::everyNameRoundTrips()
{
    for (const std::string &name : m_table.names()) {
        const ToneField field = encodeToneText(name);
        QCOMPARE(QString::fromStdString(decodeToneField(field, true)), QString::fromStdString(name));
    }
    // On a channel not in use, no tone is the empty text.
    QCOMPARE(decodeToneField(encodeToneText("无"), false), std::string());
}

void TestToneTable::fields_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("low");
    QTest::addColumn<int>("high");
    QTest::newRow("67.0 as 70 06") << "67.0" << 0x70 << 0x06;
    QTest::newRow("69.3 as 93 06") << "69.3" << 0x93 << 0x06;
    QTest::newRow("254.1 as 41 25") << "254.1" << 0x41 << 0x25;
    QTest::newRow("D023N as 23 80") << "D023N" << 0x23 << 0x80;
    QTest::newRow("D754N as 54 87") << "D754N" << 0x54 << 0x87;
    QTest::newRow("D023I as 23 C0") << "D023I" << 0x23 << 0xC0;
    QTest::newRow("D152I as 52 C1") << "D152I" << 0x52 << 0xC1;
    QTest::newRow("D645I as 45 C6") << "D645I" << 0x45 << 0xC6;
    QTest::newRow("D754I as 54 C7") << "D754I" << 0x54 << 0xC7;
    QTest::newRow("no tone as FF FF") << "无" << 0xFF << 0xFF;
    QTest::newRow("OFF as FF FF") << "OFF" << 0xFF << 0xFF;
    QTest::newRow("empty as FF FF") << "" << 0xFF << 0xFF;
    QTest::newRow("100.5 off the table stored all the same") << "100.5" << 0x05 << 0x10;
    QTest::newRow("D alone as 00 C0") << "D" << 0x00 << 0xC0;
    QTest::newRow("lower-case d is not a DCS code") << "d023n" << 0xFF << 0xFF;
    QTest::newRow("67.09 cut to tenths") << "67.09" << 0x70 << 0x06;
}

void TestToneTable::fields()
{
    QFETCH(QString, text);
    QFETCH(int, low);
    QFETCH(int, high);
    const ToneField field = encodeToneText(text.toStdString());
    QCOMPARE(int(field.low), low);
    QCOMPARE(int(field.high), high);
}

void TestToneTable::decodedFields_data()
{
    QTest::addColumn<int>("low");
    QTest::addColumn<int>("high");
    QTest::addColumn<bool>("inUse");
    QTest::addColumn<QString>("text");
    QTest::newRow("00 high byte is no tone") << 0x12 << 0x00 << true << QStringLiteral("无");
    QTest::newRow("no tone on an empty channel") << 0xFF << 0xFF << false << QString();
    QTest::newRow("tone shown on an empty channel") << 0x70 << 0x06 << false << QStringLiteral("67.0");
    QTest::newRow("CTCSS off the table") << 0x05 << 0x10 << true << QStringLiteral("100.5");
    QTest::newRow("DCS first digit above 7") << 0x23 << 0x88 << true << QStringLiteral("D823N");
    QTest::newRow("non-decimal nibbles folded in") << 0xFE << 0x01 << true << QStringLiteral("26.4");
    QTest::newRow("D0 prefix for first digit 0") << 0x05 << 0xC0 << true << QStringLiteral("D05I");
}

void TestToneTable::decodedFields()
{
    QFETCH(int, low);
    QFETCH(int, high);
    QFETCH(bool, inUse);
    QFETCH(QString, text);
    const ToneField field{static_cast<std::uint8_t>(low), static_cast<std::uint8_t>(high)};
    QCOMPARE(QString::fromStdString(decodeToneField(field, inUse)), text);
}

void TestToneTable::lookUpIgnoresCase()
{
    QCOMPARE(m_table.indexIgnoringCase("d023n"), 51);
    QCOMPARE(m_table.indexIgnoringCase("D754I"), 260);
    QCOMPARE(m_table.indexIgnoringCase("无"), 0);
    QCOMPARE(m_table.indexIgnoringCase("7"), -1);
    QCOMPARE(m_table.indexIgnoringCase("67.00"), -1);
}

QTEST_GUILESS_MAIN(TestToneTable)
#include "tst_tonetable.moc"
