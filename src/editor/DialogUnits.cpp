#include "DialogUnits.h"

#include <QFontMetrics>

namespace {

// Rounded a * b / c, as the platform scales layout units.
int scaleRounded(int a, int b, int c)
{
    const long long product = static_cast<long long>(a) * b;
    return static_cast<int>((product + c / 2) / c);
}

}  // namespace

DialogUnits::DialogUnits(const QFont &font)
{
    const QFontMetrics metrics(font);
    // Average width over the 52 Latin letters, rounded to whole pixels.
    const int alphabetWidth =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_baseWidth = std::max(1, (alphabetWidth / 26 + 1) / 2);
    m_baseHeight = std::max(1, metrics.height());
}

int DialogUnits::toPixelsX(int units) const { return scaleRounded(units, m_baseWidth, 4); }
int DialogUnits::toPixelsY(int units) const { return scaleRounded(units, m_baseHeight, 8); }

QRect DialogUnits::toPixels(int x, int y, int width, int height) const
{
    return QRect(toPixelsX(x), toPixelsY(y), toPixelsX(width), toPixelsY(height));
}
