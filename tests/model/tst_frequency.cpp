#include "Codec.h"
#include "Frequency.h"
#include "NewDocument.h"
#include "ToneTable.h"

#include "DecimalCommaLocale.h"

#include <QLocale>
#include <QRandomGenerator>
#include <QTest>

#include <clocale>
#include <optional>

using namespace tavin;

Q_DECLARE_METATYPE(std::optional<std::uint32_t>)

class TestFrequency : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void textToCount_data();
    void textToCount();
    void countToText_data();
    void countToText();
    void everyRasterFrequencyRoundTrips();
    void randomFrequenciesRoundTrip();
    void decimalCommaLocaleChangesNothing();
};

void TestFrequency::textToCount_data()
{
    using Count = std::optional<std::uint32_t>;
    QTest::addColumn<QString>("text");
    QTest::addColumn<Count>("count");
    QTest::newRow("462.56250") << "462.56250" << Count(46256250);
    QTest::newRow("64.00500, wrong in binary floating point") << "64.00500" << Count(6400500);
    QTest::newRow("136.01250, wrong in binary floating point") << "136.01250" << Count(13601250);
    QTest::newRow("145.00625") << "145.00625" << Count(14500625);
    QTest::newRow("462.5625 with four decimals") << "462.5625" << Count(46256250);
    QTest::newRow("sixth decimal is cut, not rounded") << "145.0062599" << Count(14500625);
    QTest::newRow("trailing letters ignored") << "145.5abc" << Count(14550000);
    QTest::newRow("no number reads as 0") << "abc" << Count(0);
    QTest::newRow("empty reads as 0") << "" << Count(0);
    QTest::newRow("leading white space") << " \t136" << Count(13600000);
    QTest::newRow("plus sign") << "+145" << Count(14500000);
    QTest::newRow("negative is refused") << "-145" << Count();
    QTest::newRow("negative zero is zero") << "-0" << Count(0);
    QTest::newRow("exponent") << "1.455e2" << Count(14550000);
    QTest::newRow("negative exponent") << "14550e-2" << Count(14550000);
    QTest::newRow("exponent without digits is not taken") << "1e" << Count(100000);
    QTest::newRow("point first") << ".5" << Count(50000);
    QTest::newRow("point last") << "5." << Count(500000);
    QTest::newRow("second point ends the number") << "1.2.3" << Count(120000);
    QTest::newRow("comma ends the number") << "145,5" << Count(14500000);
    QTest::newRow("far below 10 Hz") << "0.000001" << Count(0);
    QTest::newRow("600.00001") << "600.00001" << Count(60000001);
    QTest::newRow("largest 32-bit count") << "42949.67295" << Count(4294967295u);
    QTest::newRow("beyond 32 bits") << "42949.67296" << Count();
    QTest::newRow("huge exponent") << "1e400" << Count();
    QTest::newRow("tiny exponent") << "1e-400" << Count(0);
    QTest::newRow("many leading zeros") << "000000000000000000000000145.5" << Count(14550000);
}

void TestFrequency::textToCount()
{
    QFETCH(QString, text);
    QFETCH(std::optional<std::uint32_t>, count);
    QCOMPARE(frequencyCountFromText(text.toStdString()), count);
}

void TestFrequency::countToText_data()
{
    QTest::addColumn<quint32>("count");
    QTest::addColumn<QString>("text");
    QTest::newRow("462.56250") << 46256250u << "462.56250";
    QTest::newRow("60 MHz") << 6000000u << "60.00000";
    QTest::newRow("10 Hz") << 1u << "0.00001";
    QTest::newRow("zero") << 0u << "0.00000";
    QTest::newRow("999.99999") << 99999999u << "999.99999";
    QTest::newRow("beyond 1000 MHz from odd BCD nibbles") << 165656565u << "1656.56565";
}

void TestFrequency::countToText()
{
    QFETCH(quint32, count);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(formatFrequency(count)), text);
}

// Text -> count -> BCD digits -> text, for every channel on a 5 kHz or 6.25 kHz
// raster in the two bands the radios cover.
void TestFrequency::everyRasterFrequencyRoundTrips()
{
    RadioImage image;
    int checked = 0;
    for (const auto &[low, high] : {std::pair{13600000u, 17400000u}, std::pair{35000000u, 50000000u}}) {
        for (std::uint32_t step : {500u, 625u}) {
            for (std::uint32_t count = low; count <= high; count += step) {
                const std::string text = formatFrequency(count);
                ChannelTexts texts;
                texts[kRxFrequencyColumn] = text;
                encodeChannel(texts, image, 1);
                if (decodeChannel(image, 1)[kRxFrequencyColumn] != text)
                    QFAIL(qPrintable(QStringLiteral("%1 does not round-trip").arg(QString::fromStdString(text))));
                if (image.channel(1).stepFlag(Side::Rx) != ((count >= 30000000 || count % 625 == 0) ? 1 : 0))
                    QFAIL(qPrintable(QStringLiteral("wrong step flag for %1").arg(QString::fromStdString(text))));
                ++checked;
            }
        }
    }
    QVERIFY(checked > 60000);
}

void TestFrequency::randomFrequenciesRoundTrip()
{
    QRandomGenerator random(20261207);
    RadioImage image;
    for (int i = 0; i < 200000; ++i) {
        // Present frequencies: the top pair is 01 to 99.
        const std::uint32_t count = 1000000 + random.bounded(99000000u);
        image.channel(2).setFrequency(Side::Tx, count);
        const std::string text = decodeChannel(image, 2)[kTxFrequencyColumn];
        QCOMPARE(frequencyCountFromText(text), std::optional<std::uint32_t>(count));
        ChannelTexts texts;
        texts[kTxFrequencyColumn] = text;
        RadioImage again;
        encodeChannel(texts, again, 2);
        QCOMPARE(again.channel(2).frequency(Side::Tx), std::optional<std::uint32_t>(count));
    }
}

// The radio data never goes through the process locale.
void TestFrequency::decimalCommaLocaleChangesNothing()
{
    const RadioImage savedInC = savedNewDocument();
    TAVIN_REQUIRE_DECIMAL_COMMA_LOCALE();
    std::setlocale(LC_ALL, tavin::test::decimalCommaLocale());
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    QCOMPARE(QByteArray(probe), QByteArray("1,5"));  // the locale is really in force

    QCOMPARE(frequencyCountFromText("462.56250"), std::optional<std::uint32_t>(46256250));
    QCOMPARE(formatFrequency(46256250), std::string("462.56250"));
    QCOMPARE(encodeToneText("254.1"), (ToneField{0x41, 0x25}));
    RadioImage image;
    image.channel(1).setFrequency(Side::Rx, 14550000);
    image.channel(1).setTone(Side::Rx, ToneField{0x70, 0x06});
    const ChannelTexts texts = decodeChannel(image, 1);
    QCOMPARE(texts[kRxFrequencyColumn], std::string("145.50000"));
    QCOMPARE(texts[kRxToneColumn], std::string("67.0"));
    QCOMPARE(savedNewDocument(), savedInC);
    std::setlocale(LC_ALL, "C");
    QLocale::setDefault(QLocale::c());
}

QTEST_GUILESS_MAIN(TestFrequency)
#include "tst_frequency.moc"
