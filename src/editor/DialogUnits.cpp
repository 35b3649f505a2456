#include "DialogUnits.h"

#include <QFontMetrics>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace {

// Rounded a * b / c, as the platform scales layout units.
int scaleRounded(int a, int b, int c)
{
    const long long product = static_cast<long long>(a) * b;
    return static_cast<int>((product + c / 2) / c);
}

bool isFullWidth(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x2E80 && u <= 0x9FFF) || (u >= 0xAC00 && u <= 0xD7AF) || (u >= 0xF900 && u <= 0xFAFF)
        || (u >= 0xFF00 && u <= 0xFF60);
}

// One line of text as laid out, every font that draws a part of it counted.
struct LineMetrics {
    int height = 0;
    double fullWidthAdvance = 0;  // widest full-width character, 0 for none
};

LineMetrics measureLine(const QFont &font, const QString &text)
{
    LineMetrics metrics;
    QTextLayout layout(text, font);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    if (line.isValid())
        metrics.height = static_cast<int>(std::ceil(line.ascent() + line.descent()));
    const QFontMetricsF fm(font);
    for (QChar c : text) {
        if (isFullWidth(c))
            metrics.fullWidthAdvance = std::max(metrics.fullWidthAdvance, fm.horizontalAdvance(c));
    }
    return metrics;
}

}  // namespace

DialogUnits::DialogUnits(const QFont &font, const QStringList &texts) : m_font(font)
{
    const QFontMetrics metrics(font);
    // Average width over the 52 Latin letters, rounded to whole pixels.
    const int alphabetWidth =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_baseWidth = std::max(1, (alphabetWidth / 26 + 1) / 2);
    m_baseHeight = std::max(1, metrics.height());
    for (const QString &text : texts) {
        const LineMetrics line = measureLine(font, text.simplified());
        m_baseHeight = std::max(m_baseHeight, line.height);
        m_baseWidth = std::max(m_baseWidth, static_cast<int>(std::ceil(line.fullWidthAdvance / 2)));
    }
}

int DialogUnits::toPixelsX(int units) const { return scaleRounded(units, m_baseWidth, 4); }
int DialogUnits::toPixelsY(int units) const { return scaleRounded(units, m_baseHeight, 8); }

QRect DialogUnits::toPixels(int x, int y, int width, int height) const
{
    return QRect(toPixelsX(x), toPixelsY(y), toPixelsX(width), toPixelsY(height));
}

int DialogUnits::widthNeeded(const QString &text, bool wrap) const
{
    // A single line, or the widest word that cannot be broken (a line breaks
    // between words and between full-width characters).
    const QFontMetrics metrics(m_font);
    int needWidth = 0;
    const QStringList words = wrap ? text.split(QLatin1Char(' '), Qt::SkipEmptyParts) : QStringList{text};
    for (const QString &word : words) {
        if (!wrap || std::none_of(word.begin(), word.end(), isFullWidth)) {
            // As a label draws it: a letter's ink may reach past its advance.
            const QRect drawn = metrics.boundingRect(QRect(0, 0, 1 << 20, 1 << 20), Qt::TextSingleLine, word);
            needWidth = std::max({needWidth, metrics.horizontalAdvance(word), drawn.width()});
        }
    }
    return needWidth;
}

QRect DialogUnits::textRect(int x, int y, int width, int height, const QString &text, Qt::Alignment alignment,
                            bool wrap) const
{
    QRect rect = toPixels(x, y, width, height);
    const QFontMetrics metrics(m_font);
    const int needWidth = widthNeeded(text, wrap);
    if (needWidth > rect.width()) {
        const int extra = needWidth - rect.width();
        if (alignment & Qt::AlignRight)
            rect.setLeft(rect.left() - extra);
        else if (alignment & Qt::AlignHCenter)
            rect.adjust(-extra / 2, 0, extra - extra / 2, 0);
        else
            rect.setRight(rect.right() + extra);
    }
    // Taller than the box: one line grows away from the side it is aligned
    // to; wrapped lines grow evenly, keeping their middle where it was.
    const int flags = static_cast<int>(alignment) | (wrap ? Qt::TextWordWrap : Qt::TextSingleLine);
    const QRect needed = metrics.boundingRect(QRect(0, 0, rect.width(), 1 << 20), flags, text);
    if (needed.height() > rect.height()) {
        const int extra = needed.height() - rect.height();
        if (!wrap && (alignment & Qt::AlignBottom))
            rect.setTop(rect.top() - extra);
        else if (!wrap && (alignment & Qt::AlignTop))
            rect.setBottom(rect.bottom() + extra);
        else
            rect.adjust(0, -extra / 2, 0, extra - extra / 2);
    }
    return rect;
}
