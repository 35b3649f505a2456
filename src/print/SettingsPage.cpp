#include "SettingsPage.h"

#include "ShownText.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tavin::print {
namespace {

// Tenths, for the page's "1.4 x" and "1.2 x" factors, truncated like the
// integer quantities they scale.
int timesTenths(int value, int tenths)
{
    return value * tenths / 10;
}

constexpr char kContext[] = "SettingsPage";

QString translated(const char *text)
{
    return QCoreApplication::translate(kContext, text);
}

// A settings line: its label and the box's choice as the form shows it.
QString labelled(const char *label, const QString &value)
{
    return translated(label) + (value.isEmpty() ? translated(kNoChoiceText) : lang::shownText(value));
}

class PageWriter
{
public:
    PageWriter(QPainter &painter, int columnTwips) : m_painter(painter), m_u(columnTwips) {}

    void setFont(const QFont &font)
    {
        m_painter.setFont(font);
        const QFontMetrics metrics(font);
        m_ascent = metrics.ascent();
        m_lineHeight = metrics.height() + metrics.leading();
    }
    int lineHeight() const { return m_lineHeight; }

    // Text with its top-left corner at x twips across and `depth` twips down.
    void text(int x, int depth, const QString &s)
    {
        m_painter.drawText(QPointF(x, depth + m_ascent), s);
    }
    void textAtUnits(int units, int depth, const QString &s) { text(units * m_u, depth, s); }

private:
    QPainter &m_painter;
    int m_u = 0;
    int m_ascent = 0;
    int m_lineHeight = 0;
};

}  // namespace

PageUnits PageUnits::forArea(int widthPx, int heightPx, int dpiX, int dpiY)
{
    PageUnits units;
    units.dpiX = std::max(dpiX, 1);
    units.dpiY = std::max(dpiY, 1);
    units.lineTwips = (heightPx / kLinesPerPage) * kTwipsPerInch / units.dpiY;
    units.columnTwips = (widthPx * kTwipsPerInch / units.dpiX - kPageWidthReserveTwips) / kColumnUnitsPerPage;
    return units;
}

QFont pageFont(int charHeight, int averageWidth)
{
    QFont font;
    // Times New Roman where installed; Liberation Serif and Tinos share its
    // metrics. The Chinese faces follow for the header and value texts.
    font.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                      QStringLiteral("Tinos"), QStringLiteral("SimSun"), QStringLiteral("NSimSun"),
                      QStringLiteral("Microsoft YaHei"), QStringLiteral("WenQuanYi Micro Hei"),
                      QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("Noto Serif CJK SC"), QStringLiteral("AR PL UMing CN")});
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(std::max(charHeight, 1));
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    font.setKerning(false);
    // The face is widened or narrowed until its average character is
    // averageWidth wide, as a font of that height and width would print.
    const qreal natural = QFontMetricsF(font).averageCharWidth();
    if (natural > 0 && averageWidth > 0) {
        const int stretch = int(std::lround(100.0 * averageWidth / natural));
        font.setStretch(std::clamp(stretch, 1, 4000));
    }
    return font;
}

QString pageTitle()
{
    return QCoreApplication::translate("SettingsPage", "The Radio Settings");
}

void drawSettingsPage(QPainter &painter, const PageTexts &texts)
{
    const QPaintDevice *device = painter.device();
    const PageUnits units = PageUnits::forArea(device->width(), device->height(),
                                               device->logicalDpiX(), device->logicalDpiY());
    const int u = units.columnTwips;
    const int l = units.lineTwips;

    painter.save();
    // Twips from here on, depth growing down the page.
    painter.scale(qreal(units.dpiX) / kTwipsPerInch, qreal(units.dpiY) / kTwipsPerInch);
    painter.setPen(Qt::black);
    PageWriter page(painter, u);

    page.setFont(pageFont(timesTenths(l, 14), timesTenths(u, 14)));
    const int titleHeight = page.lineHeight();
    int depth = titleHeight / 2;
    page.text((device->width() / 2) * kTwipsPerInch / units.dpiX - 14 * u, depth, pageTitle());
    depth += titleHeight;

    page.setFont(pageFont(l, u));
    const int h = page.lineHeight();
    page.textAtUnits(5, depth, QCoreApplication::translate("SettingsPage", "Function Setting:"));
    depth += timesTenths(h, 12);
    page.textAtUnits(2, depth, labelled(QT_TRANSLATE_NOOP("SettingsPage", "Type:   "), texts.model));
    depth += h;
    page.textAtUnits(2, depth, labelled(QT_TRANSLATE_NOOP("SettingsPage", "Frequency Field:"), texts.band));
    depth += h;
    page.textAtUnits(2, depth, labelled(QT_TRANSLATE_NOOP("SettingsPage", "Tx Total Time: "), texts.txTimeLimit));
    page.textAtUnits(31, depth, labelled(QT_TRANSLATE_NOOP("SettingsPage", "Warning Setting: "), texts.beep));
    depth += h;
    page.textAtUnits(2, depth, labelled(QT_TRANSLATE_NOOP("SettingsPage", "Squelch Level: "), texts.squelchLevel));
    page.textAtUnits(31, depth, QCoreApplication::translate("SettingsPage", "W/N: ") + wideNarrowSummary(texts));
    depth += h;
    page.textAtUnits(2, depth, labelled(QT_TRANSLATE_NOOP("SettingsPage", "Moni: "), texts.monitor));
    depth += h;
    page.textAtUnits(5, depth, QCoreApplication::translate("SettingsPage", "Channel Setting:"));
    depth += timesTenths(h, 12);

    // The header line is one text, its columns set apart by spaces.
    const auto &header = texts.cells[0];
    page.textAtUnits(1, depth,
                     QCoreApplication::translate("SettingsPage", "%1    Rx(MHz)  Tx(MHz)     %2  %3     %4")
                         .arg(lang::shownText(header[0]), lang::shownText(header[3]), lang::shownText(header[4]),
                              lang::shownText(header[5])));

    static constexpr int kCellUnits[kPrintedColumnCount] = {1, 6, 18, 32, 42, 52};
    for (int row = 1; row < kGridRowCount; ++row) {
        depth += h;
        for (int col = 0; col < kPrintedColumnCount; ++col) {
            if (!texts.cells[row][col].isEmpty())
                page.textAtUnits(kCellUnits[col], depth, lang::shownText(texts.cells[row][col]));
        }
    }
    painter.restore();
}

}  // namespace tavin::print
