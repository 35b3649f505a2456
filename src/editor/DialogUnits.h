// Dialog units: the layout unit of the form template, a quarter of the form
// font's average character width across and an eighth of its height down.
#pragma once

#include <QFont>
#include <QRect>

class DialogUnits
{
public:
    explicit DialogUnits(const QFont &font);

    int baseWidth() const { return m_baseWidth; }
    int baseHeight() const { return m_baseHeight; }

    int toPixelsX(int units) const;
    int toPixelsY(int units) const;
    QRect toPixels(int x, int y, int width, int height) const;

private:
    int m_baseWidth = 8;
    int m_baseHeight = 16;
};
