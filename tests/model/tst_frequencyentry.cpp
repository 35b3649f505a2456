// The checks a typed frequency goes through and the row consistency of its
// commit, on plain channel rows.
#include "FrequencyEntry.h"
#include "ToneTable.h"

#include "DecimalCommaLocale.h"

#include <QStringList>
#include <QTest>

#include <clocale>

using namespace tavin;

Q_DECLARE_METATYPE(tavin::EntryTrigger)

namespace {

// "F" format, "B" band range, "S" step, in the order shown.
QString messageCodes(const std::vector<EntryMessage> &messages)
{
    QString codes;
    for (EntryMessage message : messages) {
        switch (message) {
        case EntryMessage::Format: codes += u'F'; break;
        case EntryMessage::BandRange: codes += u'B'; break;
        case EntryMessage::Step: codes += u'S'; break;
        }
    }
    return codes;
}

ChannelTexts rowFrom(const QStringList &texts)
{
    ChannelTexts row;
    for (int c = 0; c < kColumnCount && c < texts.size(); ++c)
        row[static_cast<std::size_t>(c)] = texts[c].toStdString();
    return row;
}

QStringList listFrom(const ChannelTexts &row)
{
    QStringList texts;
    for (const std::string &text : row)
        texts << QString::fromStdString(text);
    return texts;
}

const QStringList kEmptyRow{"", "", "", "", "", "", "", ""};
const QStringList kDefaultsAt145{"145.50000", "145.50000", "无", "无", "否", "宽带", "添加", "高"};

}  // namespace

class TestFrequencyEntry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // The checks must not depend on a decimal-comma locale.
        TAVIN_EXPECT_DECIMAL_COMMA_LOCALE();
        if (const char *name = tavin::test::decimalCommaLocale())
            std::setlocale(LC_ALL, name);
    }

    void check_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("band");
        QTest::addColumn<EntryTrigger>("trigger");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("messages");
        QTest::addColumn<bool>("refused");

        const auto L = EntryTrigger::LeavingCell;
        const auto E = EntryTrigger::Enter;
        QTest::newRow("empty text passes silently") << "" << 0 << L << "" << "" << false;
        QTest::newRow("empty text on Enter passes silently") << "" << 0 << E << "" << "" << false;
        QTest::newRow("145.5 normalised to five decimals") << "145.5" << 0 << L << "145.50000" << "" << false;
        QTest::newRow("145.5abc reads as 145.5") << "145.5abc" << 0 << L << "145.50000" << "" << false;
        QTest::newRow("leading blanks skipped") << "  145.5" << 0 << L << "145.50000" << "" << false;
        QTest::newRow("exponent read as atof does") << "1.455e2" << 0 << L << "145.50000" << "" << false;
        QTest::newRow("abc reads as 0: format") << "abc" << 0 << L << "" << "F" << true;
        QTest::newRow("abc on Enter: format") << "abc" << 0 << E << "" << "F" << true;
        QTest::newRow("-145: format") << "-145" << 0 << L << "" << "F" << true;
        QTest::newRow("600.00001: format") << "600.00001" << 3 << L << "" << "F" << true;
        QTest::newRow("59.99999: format") << "59.99999" << 0 << L << "" << "F" << true;
        QTest::newRow("beyond 32 bits: format") << "4294967296" << 0 << L << "" << "F" << true;
        QTest::newRow("60 passes format, fails band 0") << "60" << 0 << L << "" << "B" << true;
        QTest::newRow("60 fails band 1") << "60" << 1 << L << "" << "B" << true;
        QTest::newRow("60 fails band 2") << "60" << 2 << L << "" << "B" << true;
        QTest::newRow("60 fails band 3") << "60" << 3 << L << "" << "B" << true;
        QTest::newRow("600 passes format, fails band 3") << "600" << 3 << L << "" << "B" << true;
        QTest::newRow("136 lower bound of band 0") << "136" << 0 << L << "136.00000" << "" << false;
        QTest::newRow("174 upper bound of band 0") << "174" << 0 << L << "174.00000" << "" << false;
        QTest::newRow("174.00625 above band 0") << "174.00625" << 0 << L << "" << "B" << true;
        QTest::newRow("135.995 below band 0") << "135.995" << 0 << L << "" << "B" << true;
        QTest::newRow("350 lower bound of band 1") << "350" << 1 << L << "350.00000" << "" << false;
        QTest::newRow("400 upper bound of band 1") << "400" << 1 << L << "400.00000" << "" << false;
        QTest::newRow("470 upper bound of band 2") << "470" << 2 << L << "470.00000" << "" << false;
        QTest::newRow("430 lower bound of band 3") << "430" << 3 << L << "430.00000" << "" << false;
        QTest::newRow("500 upper bound of band 3") << "500" << 3 << L << "500.00000" << "" << false;
        QTest::newRow("429.99375 below band 3") << "429.99375" << 3 << L << "" << "B" << true;
        QTest::newRow("462.5625 on 6.25 kHz") << "462.5625" << 2 << L << "462.56250" << "" << false;
        QTest::newRow("136.0125 exact on raster") << "136.01250" << 0 << L << "136.01250" << "" << false;
        QTest::newRow("64.005 on 5 kHz") << "64.005" << -1 << L << "64.00500" << "" << false;
        QTest::newRow("146.0033 leaving: step only") << "146.0033" << 0 << L << "" << "S" << true;
        QTest::newRow("146.0033 Enter: step") << "146.0033" << 0 << E << "" << "S" << true;
        QTest::newRow("500.0033 leaving: band then step") << "500.0033" << 0 << L << "" << "BS" << true;
        QTest::newRow("500.0033 Enter: band only") << "500.0033" << 0 << E << "" << "B" << true;
        QTest::newRow("174.00625 Enter: band") << "174.00625" << 0 << E << "" << "B" << true;
        QTest::newRow("145.0062599 stored as its validated count")
            << "145.0062599" << 0 << L << "145.00625" << "" << false;
        QTest::newRow("145.0062499 cut to an off-raster count") << "145.0062499" << 0 << L << "" << "S" << true;
        QTest::newRow("no band selected: band rule skipped") << "500" << -1 << L << "500.00000" << "" << false;
        QTest::newRow("no band selected: still the raster") << "500.0033" << -1 << L << "" << "S" << true;
    }

    void check()
    {
        QFETCH(QString, text);
        QFETCH(int, band);
        QFETCH(EntryTrigger, trigger);
        QFETCH(QString, entry);
        QFETCH(QString, messages);
        QFETCH(bool, refused);
        const FrequencyCheck result = checkFrequencyEntry(text.toStdString(), band, trigger);
        QCOMPARE(QString::fromStdString(result.entry), entry);
        QCOMPARE(messageCodes(result.messages), messages);
        QCOMPARE(result.refused(), refused);
    }

    void messageTexts()
    {
        QCOMPARE(QString::fromUtf8(entryMessageText(EntryMessage::Format)),
                 QStringLiteral(u"Error Data Format\uFF0CPlease input again"));
        QCOMPARE(QString::fromUtf8(entryMessageText(EntryMessage::BandRange)), QStringLiteral("Out of range!"));
        QCOMPARE(QString::fromUtf8(entryMessageText(EntryMessage::Step)),
                 QStringLiteral(u"Error data Value\uFF0CPlease input according the step value(6.25K/5k)"));
    }

    void commit_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QStringList>("after");

        const int rx = kRxFrequencyColumn;
        const int tx = kTxFrequencyColumn;
        QTest::newRow("first receive frequency: defaults and copy to transmit")
            << kEmptyRow << rx << "145.50000" << kDefaultsAt145;
        QTest::newRow("first transmit frequency: defaults, receive stays empty")
            << kEmptyRow << tx << "145.50000"
            << QStringList{"", "145.50000", "无", "无", "否", "宽带", "添加", "高"};
        QTest::newRow("new receive frequency of a channel in use")
            << QStringList{"145.50000", "146.00000", "67.0", "D023N", "是", "窄带", "删除", "低"} << rx << "147.00000"
            << QStringList{"147.00000", "146.00000", "67.0", "D023N", "是", "窄带", "删除", "低"};
        QTest::newRow("leftover transmit tone: no defaults, no copy")
            << QStringList{"", "", "", "无", "否", "宽带", "添加", "高"} << rx << "145.50000"
            << QStringList{"145.50000", "", "", "无", "否", "宽带", "添加", "高"};
        QTest::newRow("leftover busy lock: no defaults")
            << QStringList{"", "", "", "", "是", "", "", ""} << rx << "145.50000"
            << QStringList{"145.50000", "", "", "", "是", "", "", ""};
        QTest::newRow("emptying receive clears the receive tone only")
            << kDefaultsAt145 << rx << ""
            << QStringList{"", "145.50000", "", "无", "否", "宽带", "添加", "高"};
        QTest::newRow("emptying transmit clears the transmit tone only")
            << kDefaultsAt145 << tx << ""
            << QStringList{"145.50000", "", "无", "", "否", "宽带", "添加", "高"};
        QTest::newRow("emptying receive of a receive-only channel keeps the transmit tone")
            << QStringList{"145.50000", "", "无", "无", "否", "宽带", "添加", "高"} << rx << ""
            << QStringList{"", "", "", "无", "否", "宽带", "添加", "高"};
        QTest::newRow("then emptying transmit clears the whole row")
            << QStringList{"", "", "", "无", "否", "宽带", "添加", "高"} << tx << "" << kEmptyRow;
        QTest::newRow("empty entry on an empty row") << kEmptyRow << rx << "" << kEmptyRow;
    }

    void commit()
    {
        QFETCH(QStringList, before);
        QFETCH(int, column);
        QFETCH(QString, entry);
        QFETCH(QStringList, after);
        ChannelTexts row = rowFrom(before);
        commitFrequencyEntry(row, column, entry.toStdString());
        QCOMPARE(listFrom(row), after);
    }

    void tone_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("channelEmpty");
        QTest::addColumn<QString>("stored");

        QTest::newRow("d023n stored in the table's spelling") << "d023n" << false << "D023N";
        QTest::newRow("d754i stored in the table's spelling") << "d754i" << false << "D754I";
        QTest::newRow("CTCSS name as listed") << "67.0" << false << "67.0";
        QTest::newRow("no tone name") << "无" << false << "无";
        QTest::newRow("a lone digit is no name") << "7" << false << "OFF";
        QTest::newRow("xyz is no name") << "xyz" << false << "OFF";
        QTest::newRow("67 without its decimal is no name") << "67" << false << "OFF";
        QTest::newRow("empty text on a channel in use") << "" << false << "OFF";
        QTest::newRow("name on an empty channel") << "D023N" << true << "";
        QTest::newRow("xyz on an empty channel") << "xyz" << true << "";
    }

    void tone()
    {
        static const ToneTable tones;
        QFETCH(QString, typed);
        QFETCH(bool, channelEmpty);
        QFETCH(QString, stored);
        QCOMPARE(QString::fromStdString(toneEntryText(tones, typed.toStdString(), channelEmpty)), stored);
    }
};

QTEST_GUILESS_MAIN(TestFrequencyEntry)
#include "tst_frequencyentry.moc"
