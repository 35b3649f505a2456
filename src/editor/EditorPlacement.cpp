#include "EditorPlacement.h"

namespace {
constexpr int kTwipsPerInch = 1440;
constexpr int kFrameOverlapPixels = 3;  // the editor's frame covers the cell's grid lines

int toPixels(int twips, int pixelsPerInch)
{
    return static_cast<int>(static_cast<long long>(twips) * pixelsPerInch / kTwipsPerInch);
}
}  // namespace

QRect editorRect(const CellTwips &cell, int pixelsPerInchX, int pixelsPerInchY)
{
    return QRect(toPixels(cell.left, pixelsPerInchX) - kFrameOverlapPixels,
                 toPixels(cell.top, pixelsPerInchY) - kFrameOverlapPixels, toPixels(cell.width, pixelsPerInchX),
                 toPixels(cell.height, pixelsPerInchY));
}
