// Dialog units: the layout unit of a dialog template, a quarter of the
// average character width across and an eighth of the character height down.
// A template's Chinese texts are drawn in whatever CJK face the system has
// (the template's own font has no such characters), often taller than the
// template's font; the units are measured on the fonts that really draw the
// texts, so that the template's proportions hold with every font set.
#pragma once

#include <QFont>
#include <QRect>
#include <QStringList>

class DialogUnits
{
public:
    // font: the template's font. texts: the texts the template shows; their
    // fallback faces count as well (a full-width character as two average
    // characters across, as the template was designed).
    explicit DialogUnits(const QFont &font, const QStringList &texts = {});

    int baseWidth() const { return m_baseWidth; }
    int baseHeight() const { return m_baseHeight; }

    int toPixelsX(int units) const;
    int toPixelsY(int units) const;
    QRect toPixels(int x, int y, int width, int height) const;

    // The width a text control needs across: its text on one line, or with
    // wrap its widest word that cannot be broken.
    int widthNeeded(const QString &text, bool wrap) const;

    // A text control's rectangle: the template's, grown where its text (word
    // wrapped when wrap is set) needs more room, away from the side it is
    // aligned to and both ways when centred, so no line or letter is cut off.
    QRect textRect(int x, int y, int width, int height, const QString &text, Qt::Alignment alignment,
                   bool wrap) const;

private:
    QFont m_font;
    int m_baseWidth = 8;
    int m_baseHeight = 16;
};
