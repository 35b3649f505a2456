// The one printed page: "The Radio Settings", the settings block and the
// 16-row channel table, laid out in twips from a 42nd of the page height (L)
// and a 60th of the page width less 900 twips (U), so that every printer
// resolution gives the same page.
#pragma once

#include "PageTexts.h"

#include <QFont>

class QPainter;
class QPaintDevice;

namespace tavin::print {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kLinesPerPage = 42;
inline constexpr int kColumnUnitsPerPage = 60;
inline constexpr int kPageWidthReserveTwips = 900;

// The page's integer drawing quantities for a printable area of
// widthPx x heightPx device pixels at dpiX x dpiY pixels per inch.
struct PageUnits {
    int dpiX = 0;
    int dpiY = 0;
    int lineTwips = 0;    // L
    int columnTwips = 0;  // U
    static PageUnits forArea(int widthPx, int heightPx, int dpiX, int dpiY);
};

// A face for the page: Times New Roman (or its metric twin), with faces that
// hold Chinese behind it for the header and value texts. The character height
// and average character width are in the painter's units (twips here).
QFont pageFont(int charHeight, int averageWidth);

// The page's title, in the current language.
QString pageTitle();

// Draws the page on the painter's device, whose printable area starts at the
// painter's origin and spans the device's width() x height() pixels. The
// texts are the data as the form holds them; the page shows them, and its own
// headings, in the current language.
void drawSettingsPage(QPainter &painter, const PageTexts &texts);

}  // namespace tavin::print
