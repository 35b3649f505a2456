// The printed page, recorded on stand-in printers of several resolutions:
// which texts it draws, where they sit relative to the page, and the PDF.

#include "RecordingDevice.h"

#include "PageTexts.h"
#include "PdfExport.h"
#include "SettingsPage.h"

#include <QFile>
#include <QFontDatabase>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace tavin;
using namespace tavin::print;

namespace {

struct Printer {
    const char *name;
    int widthPx;
    int heightPx;
    int dpiX;
    int dpiY;
};

// A4 less a quarter-inch margin: 7.77 x 11.19 inch of printable area, at
// three resolutions, one of them with unequal pixels across and down.
constexpr Printer kPrinters[] = {
    {"300 dpi", 2330, 3358, 300, 300},
    {"1200 dpi", 9320, 13432, 1200, 1200},
    {"600x1200 dpi", 4660, 13432, 600, 1200},
};

QString utf8(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

// A form with two programmed channels and fourteen empty ones.
PageTexts sampleTexts()
{
    PageTexts t;
    t.model = QStringLiteral("QD-6200");
    t.band = QStringLiteral("136 - 174MHZ");
    t.txTimeLimit = QStringLiteral("60s");
    t.beep = QStringLiteral("关");
    t.squelchLevel = QStringLiteral("4");
    t.monitor = QStringLiteral("SQ-Off 瞬时");
    for (int col = 0; col < kPrintedColumnCount; ++col)
        t.cells[0][col] = utf8(kGridHeaderTexts[col]);
    for (int row = 1; row < kGridRowCount; ++row)
        t.cells[row][0] = QString::number(row);
    t.cells[1] = {QStringLiteral("1"), QStringLiteral("145.12500"), QStringLiteral("145.72500"),
                  QStringLiteral("88.5"), QStringLiteral("D023N"), QStringLiteral("是")};
    t.bandwidths[0] = QStringLiteral("宽带");
    t.cells[2] = {QStringLiteral("2"), QStringLiteral("150.00000"), QStringLiteral("150.00000"),
                  QStringLiteral("无"), QStringLiteral("无"), QStringLiteral("否")};
    t.bandwidths[1] = QStringLiteral("宽带");
    return t;
}

std::vector<RecordedText> recordRuns(const Printer &printer, const PageTexts &texts)
{
    RecordingDevice device(printer.widthPx, printer.heightPx, printer.dpiX, printer.dpiY);
    QPainter painter(&device);
    drawSettingsPage(painter, texts);
    painter.end();
    return device.runs();
}

const RecordedText *findRun(const std::vector<RecordedText> &runs, const QString &text)
{
    for (const RecordedText &r : runs) {
        if (r.text == text)
            return &r;
    }
    return nullptr;
}

// Positions in twips from the top-left corner of the printable area.
double xTwips(const RecordedText &r, const Printer &p) { return r.box.left() * 1440.0 / p.dpiX; }
double depthTwips(const RecordedText &r, const Printer &p) { return r.box.top() * 1440.0 / p.dpiY; }

// The line unit L (a 42nd of the page height) and column unit U (a 60th of
// the width less 900 twips), in whole twips.
int lineUnit(const Printer &p) { return (p.heightPx / 42) * 1440 / p.dpiY; }
int columnUnit(const Printer &p) { return (p.widthPx * 1440 / p.dpiX - 900) / 60; }

constexpr double kTwipTolerance = 3.0;

}  // namespace

class TestSettingsPage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void textsAndPlaces_data();
    void textsAndPlaces();
    void samePageAtEveryResolution();
    void fontsFollowThePage_data();
    void fontsFollowThePage();
    void emptyChannelsKeepTheirRows_data();
    void emptyChannelsKeepTheirRows();
    void settingsLineEnds_data();
    void settingsLineEnds();
    void chineseTextsHaveAFace();
    void textsFromDecodedFile();
    void pdfHasOnePage();
    void pdfFailureNamesTheFile();
};

void TestSettingsPage::textsAndPlaces_data()
{
    QTest::addColumn<int>("printer");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("xUnits");
    // Depth in body lines H below "Function Setting:"; the settings block and
    // the table start 1.2 lines below the line before them.
    QTest::addColumn<double>("lines");

    struct Line {
        const char *name;
        QString text;
        int xUnits;
        double lines;
    };
    const PageTexts t = sampleTexts();
    const QString header = QStringLiteral("信道    Rx(MHz)  Tx(MHz)     QT/DQT解码  QT/DQT编码     繁忙锁定");
    const Line lines[] = {
        {"function heading", QStringLiteral("Function Setting:"), 5, 0},
        {"type line", QStringLiteral("Type:   QD-6200"), 2, 1.2},
        {"frequency field line", QStringLiteral("Frequency Field:136 - 174MHZ"), 2, 2.2},
        {"time limit", QStringLiteral("Tx Total Time: 60s"), 2, 3.2},
        {"warning beside time limit", QStringLiteral("Warning Setting: 关"), 31, 3.2},
        {"squelch", QStringLiteral("Squelch Level: 4"), 2, 4.2},
        {"W/N beside squelch", QStringLiteral("W/N: 宽带"), 31, 4.2},
        {"monitor", QStringLiteral("Moni: SQ-Off 瞬时"), 2, 5.2},
        {"channel heading", QStringLiteral("Channel Setting:"), 5, 6.2},
        {"table header", header, 1, 7.4},
        {"channel 1 number", QStringLiteral("1"), 1, 8.4},
        {"channel 1 rx", QStringLiteral("145.12500"), 6, 8.4},
        {"channel 1 tx", QStringLiteral("145.72500"), 18, 8.4},
        {"channel 1 decode", QStringLiteral("88.5"), 32, 8.4},
        {"channel 1 encode", QStringLiteral("D023N"), 42, 8.4},
        {"channel 1 busy lock", QStringLiteral("是"), 52, 8.4},
        {"channel 2 busy lock", QStringLiteral("否"), 52, 9.4},
        {"channel 9 number", QStringLiteral("9"), 1, 16.4},
        {"channel 16 number", QStringLiteral("16"), 1, 23.4},
    };
    for (int p = 0; p < int(std::size(kPrinters)); ++p) {
        for (const Line &l : lines)
            QTest::addRow("%s: %s", kPrinters[p].name, l.name) << p << l.text << l.xUnits << l.lines;
    }
}

void TestSettingsPage::textsAndPlaces()
{
    QFETCH(int, printer);
    QFETCH(QString, text);
    QFETCH(int, xUnits);
    QFETCH(double, lines);
    const Printer &p = kPrinters[printer];
    const auto runs = recordRuns(p, sampleTexts());

    const RecordedText *run = findRun(runs, text);
    QVERIFY2(run, qPrintable(QStringLiteral("not printed: ") + text));
    QVERIFY(std::abs(xTwips(*run, p) - xUnits * columnUnit(p)) <= kTwipTolerance);

    // H is the distance between two channel rows.
    const RecordedText *first = findRun(runs, QStringLiteral("1"));
    const RecordedText *second = findRun(runs, QStringLiteral("2"));
    const RecordedText *heading = findRun(runs, QStringLiteral("Function Setting:"));
    QVERIFY(first && second && heading);
    const double h = depthTwips(*second, p) - depthTwips(*first, p);
    QVERIFY(h > lineUnit(p) && h < 1.5 * lineUnit(p));
    const double expected = depthTwips(*heading, p) + lines * h;
    QVERIFY2(std::abs(depthTwips(*run, p) - expected) <= kTwipTolerance + lines,
             qPrintable(QStringLiteral("depth %1, expected %2").arg(depthTwips(*run, p)).arg(expected)));
}

void TestSettingsPage::samePageAtEveryResolution()
{
    const auto reference = recordRuns(kPrinters[0], sampleTexts());
    QVERIFY(reference.size() > 30);
    for (const Printer &p : kPrinters) {
        const auto runs = recordRuns(p, sampleTexts());
        QCOMPARE(runs.size(), reference.size());
        for (std::size_t i = 0; i < runs.size(); ++i) {
            QCOMPARE(runs[i].text, reference[i].text);
            const double dx = runs[i].box.left() / p.widthPx - reference[i].box.left() / kPrinters[0].widthPx;
            const double dy = runs[i].box.top() / p.heightPx - reference[i].box.top() / kPrinters[0].heightPx;
            // L and U are whole twips from whole pixels: a coarse printer
            // rounds them down by up to a pixel, a few thousandths of the page.
            QVERIFY2(std::abs(dx) < 0.004 && std::abs(dy) < 0.006,
                     qPrintable(QStringLiteral("%1 moved on the %2 page").arg(runs[i].text, QLatin1String(p.name))));
            // Nothing runs off the page.
            QVERIFY(runs[i].box.right() <= p.widthPx);
            QVERIFY(runs[i].box.bottom() <= p.heightPx);
        }
    }
}

void TestSettingsPage::fontsFollowThePage_data()
{
    QTest::addColumn<int>("printer");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("tenths");  // of L in height and of U in average width
    for (int p = 0; p < int(std::size(kPrinters)); ++p) {
        QTest::addRow("%s: title", kPrinters[p].name) << p << QStringLiteral("The Radio Settings") << 14;
        QTest::addRow("%s: body", kPrinters[p].name) << p << QStringLiteral("Channel Setting:") << 10;
    }
}

void TestSettingsPage::fontsFollowThePage()
{
    QFETCH(int, printer);
    QFETCH(QString, text);
    QFETCH(int, tenths);
    const Printer &p = kPrinters[printer];
    const auto runs = recordRuns(p, sampleTexts());
    const RecordedText *run = findRun(runs, text);
    QVERIFY(run);
    const int height = lineUnit(p) * tenths / 10;
    const int width = columnUnit(p) * tenths / 10;
    QVERIFY(std::abs(run->pixelHeight * 1440.0 / p.dpiY - height) <= kTwipTolerance);
    // The font is drawn in twips, so its average character is U twips wide.
    QVERIFY2(std::abs(QFontMetricsF(run->font).averageCharWidth() - width) <= 0.02 * width,
             qPrintable(QString::number(QFontMetricsF(run->font).averageCharWidth())));
    if (text.startsWith(QLatin1String("The"))) {
        const double centre = (p.widthPx / 2) * 1440 / p.dpiX;
        QVERIFY(std::abs(xTwips(*run, p) - (centre - 14 * columnUnit(p))) <= kTwipTolerance);
        // The title's top lies half its line height down; the settings block
        // starts one title line below it.
        const RecordedText *heading = findRun(runs, QStringLiteral("Function Setting:"));
        QVERIFY(heading);
        QVERIFY(std::abs(depthTwips(*heading, p) - 3 * depthTwips(*run, p)) <= kTwipTolerance);
    }
}

void TestSettingsPage::emptyChannelsKeepTheirRows_data()
{
    QTest::addColumn<QList<int>>("programmed");
    QTest::newRow("no channel programmed") << QList<int>{};
    QTest::newRow("only channel 16") << QList<int>{16};
    QTest::newRow("channels 1 and 16, gap between") << QList<int>{1, 16};
    QTest::newRow("all sixteen") << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
}

void TestSettingsPage::emptyChannelsKeepTheirRows()
{
    QFETCH(QList<int>, programmed);
    PageTexts t = sampleTexts();
    for (int row = 1; row < kGridRowCount; ++row) {
        for (int col = 1; col < kPrintedColumnCount; ++col)
            t.cells[row][col] = programmed.contains(row) ? QStringLiteral("4%1%2.00000").arg(row).arg(col) : QString();
    }
    const Printer &p = kPrinters[0];
    const auto runs = recordRuns(p, t);
    const auto reference = recordRuns(p, sampleTexts());
    const RecordedText *referenceRow1 = findRun(reference, QStringLiteral("1"));
    const RecordedText *referenceRow2 = findRun(reference, QStringLiteral("2"));
    QVERIFY(referenceRow1 && referenceRow2);
    const double h = referenceRow2->box.top() - referenceRow1->box.top();

    for (int row = 1; row < kGridRowCount; ++row) {
        const RecordedText *number = findRun(runs, QString::number(row));
        QVERIFY2(number, qPrintable(QStringLiteral("channel %1 has no row").arg(row)));
        QVERIFY(std::abs(number->box.top() - (referenceRow1->box.top() + (row - 1) * h)) <= 1.0);
        int cellsOnRow = 0;
        for (const RecordedText &r : runs)
            cellsOnRow += (std::abs(r.box.top() - number->box.top()) < 1.0 && &r != number) ? 1 : 0;
        QCOMPARE(cellsOnRow, programmed.contains(row) ? kPrintedColumnCount - 1 : 0);
    }
}

void TestSettingsPage::settingsLineEnds_data()
{
    QTest::addColumn<PageTexts>("texts");
    QTest::addColumn<QString>("line");

    PageTexts t = sampleTexts();
    QTest::newRow("programmed channels all wide") << t << QStringLiteral("W/N: 宽带");
    t.bandwidths[1] = QStringLiteral("窄带");
    QTest::newRow("wide and narrow channels") << t << QStringLiteral("W/N: Mixed");
    t = sampleTexts();
    t.bandwidths[0] = t.bandwidths[1] = QStringLiteral("窄带");
    t.bandwidths[5] = QStringLiteral("宽带");  // channel 6 is empty: not counted
    QTest::newRow("empty channel's bandwidth left out") << t << QStringLiteral("W/N: 窄带");
    t = sampleTexts();
    t.cells[1][1].clear();  // channel 1 still has a transmit frequency
    t.bandwidths[0] = QStringLiteral("窄带");
    QTest::newRow("transmit-only channel counts") << t << QStringLiteral("W/N: Mixed");
    t = sampleTexts();
    for (int row = 1; row < kGridRowCount; ++row)
        t.cells[row][1].clear(), t.cells[row][2].clear();
    QTest::newRow("no channel programmed") << t << QStringLiteral("W/N: ");
    t = sampleTexts();
    t.model.clear();
    QTest::newRow("model box without a choice") << t << QStringLiteral("Type:   (none)");
    t = sampleTexts();
    t.monitor.clear();
    QTest::newRow("monitor box without a choice") << t << QStringLiteral("Moni: (none)");
    t = sampleTexts();
    t.beep.clear();
    QTest::newRow("beep box without a choice") << t << QStringLiteral("Warning Setting: (none)");
}

void TestSettingsPage::settingsLineEnds()
{
    QFETCH(PageTexts, texts);
    QFETCH(QString, line);
    const auto runs = recordRuns(kPrinters[0], texts);
    if (line.endsWith(QLatin1Char(' '))) {
        // A run that is only a label: the text ends in its trailing space.
        QVERIFY(findRun(runs, line) || findRun(runs, line.trimmed()));
    } else {
        QVERIFY2(findRun(runs, line), qPrintable(line));
    }
}

void TestSettingsPage::chineseTextsHaveAFace()
{
    const QFont font = pageFont(300, 150);
    bool found = false;
    for (const QString &family : font.families()) {
        if (QFontDatabase::families().contains(family)
            && QFontDatabase::writingSystems(family).contains(QFontDatabase::SimplifiedChinese))
            found = true;
    }
    QVERIFY2(found, "no installed face of the page can show Chinese (install fonts-wqy-microhei)");
    // The Latin texts keep Times New Roman's metrics.
    QCOMPARE(QFontInfo(font).family().contains(QLatin1String("Times New Roman"))
                 || QFontInfo(font).family().contains(QLatin1String("Liberation Serif"))
                 || QFontInfo(font).family().contains(QLatin1String("Tinos")),
             true);
}

void TestSettingsPage::textsFromDecodedFile()
{
    ChannelTable channels;
    channels[0][kRxFrequencyColumn] = "145.12500";
    channels[0][kBusyLockColumn] = "是";
    channels[0][kBandwidthColumn] = "窄带";
    channels[15][kTxToneColumn] = "D754I";
    BoxSelections selections;
    selections[SettingBox::Model] = 1;
    selections[SettingBox::Monitor] = 3;
    const PageTexts t = pageTextsFromDecoded(channels, selections);
    QCOMPARE(t.cells[0][0], QStringLiteral("信道"));
    QCOMPARE(t.cells[0][5], QStringLiteral("繁忙锁定"));
    QCOMPARE(t.cells[16][0], QStringLiteral("16"));
    QCOMPARE(t.cells[1][1], QStringLiteral("145.12500"));
    QCOMPARE(t.cells[1][5], QStringLiteral("是"));
    QCOMPARE(t.cells[16][4], QStringLiteral("D754I"));
    QCOMPARE(t.bandwidths[0], QStringLiteral("窄带"));
    QCOMPARE(t.model, QStringLiteral("QD-6200"));
    QCOMPARE(t.monitor, QStringLiteral("SQ-Off 瞬时"));
    QVERIFY(t.band.isEmpty());
}

void TestSettingsPage::pdfHasOnePage()
{
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("page.pdf"));
    QString error;
    QVERIFY2(writeSettingsPdf(sampleTexts(), fileName, pdfPageLayout(QPageSize(QPageSize::A4)), &error), qPrintable(error));
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    QVERIFY(pdf.startsWith("%PDF-"));
    const QString text = QString::fromLatin1(pdf);
    QCOMPARE(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page\\b"))), 1);
    QVERIFY(text.contains(QRegularExpression(QStringLiteral("/Count\\s+1\\b"))));
}

void TestSettingsPage::pdfFailureNamesTheFile()
{
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("no such folder/page.pdf"));
    QString error;
    QVERIFY(!writeSettingsPdf(sampleTexts(), fileName, pdfPageLayout(QPageSize(QPageSize::A4)), &error));
    QVERIFY2(error.contains(fileName), qPrintable(error));
    QVERIFY(!QFile::exists(fileName));
}

QTEST_MAIN(TestSettingsPage)
#include "tst_settingspage.moc"
