// Round trips through every list format for many channel files the editor
// could have produced: native CSV and JSON give back the same 1024 bytes,
// the interchange layout the same channels apart from busy lock.
#include "ChannelListExport.h"
#include "ListSamples.h"

#include <QTest>

using namespace tavin;
using namespace tavin::lists;

namespace {

constexpr int kFiles = 150;

QString firstDifference(const RadioImage &expected, const RadioImage &found)
{
    for (std::size_t i = 0; i < kImageSize; ++i) {
        if (expected[i] != found[i])
            return QStringLiteral("byte 0x%1: expected %2, found %3")
                .arg(i, 3, 16, QLatin1Char('0'))
                .arg(expected[i], 2, 16, QLatin1Char('0'))
                .arg(found[i], 2, 16, QLatin1Char('0'));
    }
    return {};
}

QString problems(int file, const ImportOutcome &outcome)
{
    QString text;
    for (const ListProblem &problem : outcome.problems)
        text += QString::fromStdString(problemLine("file " + std::to_string(file), problem)) + u'\n';
    return text;
}

}  // namespace

class TestRoundTrip : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sameBytes_data();
    void sameBytes();
    void interchangeKeepsChannelsButBusyLock();

private:
    const ToneTable m_tones;
};

void TestRoundTrip::sameBytes_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<bool>("settings");
    QTest::newRow("native CSV, channels") << int(ListFormat::Native) << false;
    QTest::newRow("JSON, channels and settings") << int(ListFormat::Json) << true;
}

void TestRoundTrip::sameBytes()
{
    QFETCH(int, format);
    QFETCH(bool, settings);
    QRandomGenerator random(20240611);
    for (int i = 0; i < kFiles; ++i) {
        const samples::GeneratedFile original = samples::randomFile(random, settings, true, m_tones);
        const ExportOutcome exported =
            exportChannelList(ListFormat(format), samples::decodedChannels(original.image),
                              samples::decodedSelections(original.image));
        QVERIFY(exported.notices.empty());
        ImportOptions options;
        if (!settings)
            options.band = original.band;  // native CSV carries no settings
        const ImportOutcome imported = importChannelList(exported.bytes, savedNewDocument(), options, m_tones);
        QVERIFY2(!imported.refused(), qPrintable(problems(i, imported)));
        QVERIFY2(imported.image == original.image,
                 qPrintable(QStringLiteral("file %1: %2").arg(i).arg(firstDifference(original.image, imported.image))));
    }
}

void TestRoundTrip::interchangeKeepsChannelsButBusyLock()
{
    QRandomGenerator random(7);
    for (int i = 0; i < kFiles; ++i) {
        const samples::GeneratedFile original = samples::randomFile(random, false, false, m_tones);
        const ChannelTable before = samples::decodedChannels(original.image);
        const ExportOutcome exported = exportChannelList(ListFormat::Interchange, before, {});
        const ImportOutcome imported = importChannelList(exported.bytes, savedNewDocument(), {}, m_tones);
        QVERIFY2(!imported.refused(), qPrintable(problems(i, imported)));
        const ChannelTable after = samples::decodedChannels(imported.image);
        for (int n = 0; n < kChannelCount; ++n) {
            QStringList expected = samples::texts(before[std::size_t(n)]);
            QStringList found = samples::texts(after[std::size_t(n)]);
            if (!expected.at(kRxFrequencyColumn).isEmpty()) {
                expected[kBusyLockColumn] = QStringLiteral("否");  // not in the layout
                QCOMPARE(found, expected);
            } else {
                QCOMPARE(found, QStringList(kColumnCount, QString()));
            }
        }
    }
}

QTEST_GUILESS_MAIN(TestRoundTrip)
#include "tst_roundtrip.moc"
