// Where an in-place editor goes over the current cell: the cell's twips turned
// into the grid's pixels with whole-number arithmetic, cut toward zero.
#pragma once

#include <QRect>

struct CellTwips {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// left = left * px / 1440 - 3, top = top * py / 1440 - 3, width = width * px /
// 1440, height = height * py / 1440. A chooser's list drops below this box on
// its own, so both kinds of editor take the cell's height.
QRect editorRect(const CellTwips &cell, int pixelsPerInchX, int pixelsPerInchY);
