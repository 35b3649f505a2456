// The one comparison behind verify, diff and write --verify: which changes it
// names, in which words, and which bytes it leaves out.
#include "ImageComparison.h"
#include "NewDocument.h"

#include <QTest>

using namespace tavin;

namespace {

RadioImage demoImage()
{
    RadioImage image;
    image.resetToNewDocument(HiddenPreset::Uhf);
    return image;
}

QStringList lines(const std::vector<std::string> &v)
{
    QStringList out;
    for (const std::string &s : v)
        out << QString::fromStdString(s);
    return out;
}

}  // namespace

class TestImageComparison : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void differences_data();
    void differences();
};

void TestImageComparison::differences_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("wholeImage");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("identical images") << -1 << 0 << false << QStringList();
    QTest::newRow("busy lock bit of channel 2 named by its column")
        << 0x2C << 0x00 << false << QStringList{"channel 2, 繁忙锁定: A 否, B 是"};
    QTest::newRow("kept byte of channel 1 by its range")
        << 0x1F << 0xAB << false << QStringList{"channel 1: bytes 0x01F differ (not shown in the editor)"};
    QTest::newRow("row 0") << 0x005 << 0x11 << false << QStringList{"row 0: bytes 0x005 differ"};
    QTest::newRow("hidden record") << 0x115 << 0x11 << false << QStringList{"hidden channel records: bytes 0x115 differ"};
    QTest::newRow("index table") << 0x281 << 0x09 << false << QStringList{"channel index table: bytes 0x281 differ"};
    QTest::newRow("read-only area left out of a radio check") << 0x3E0 << 0x5A << false << QStringList();
    QTest::newRow("read-only area in a whole-image comparison")
        << 0x3E0 << 0x5A << true << QStringList{"read-only area: bytes 0x3E0 differ"};
}

void TestImageComparison::differences()
{
    QFETCH(int, offset);
    QFETCH(int, value);
    QFETCH(bool, wholeImage);
    QFETCH(QStringList, expected);

    RadioImage a = demoImage();
    // Channel 2 receives on 464.93750 MHz (BCD, least significant pair first).
    const std::uint8_t rx[] = {0x50, 0x37, 0x49, 0x46};
    std::copy(std::begin(rx), std::end(rx), a.data() + 0x20);
    RadioImage b = a;
    if (offset == 0x2C)
        b[0x2C] = static_cast<std::uint8_t>(a[0x2C] ^ 0x01);  // only the busy-lock bit
    else if (offset >= 0)
        b[std::size_t(offset)] = static_cast<std::uint8_t>(value);
    const QStringList got = lines(describeDifferences(a, b, {"A", "B"},
                                                      wholeImage ? ComparedBytes::All : ComparedBytes::Written));
    QCOMPARE(got, expected);
}

QTEST_GUILESS_MAIN(TestImageComparison)
#include "tst_imagecomparison.moc"
