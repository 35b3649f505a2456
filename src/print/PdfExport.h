// The printed page as a one-page PDF file, for printing elsewhere or filing.
#pragma once

#include "PageTexts.h"

#include <QPageSize>
#include <QString>

namespace tavin::print {

// Printable area of the PDF: the paper less a margin a printer would keep.
inline constexpr double kPdfMarginMillimetres = 6.35;
inline constexpr int kPdfResolutionDpi = 1200;

// Writes the page to `fileName`, replacing the file only once the whole PDF is
// written. On failure returns false with the reason (naming the file) in *error.
bool writeSettingsPdf(const PageTexts &texts, const QString &fileName, const QPageSize &pageSize,
                      QString *error);

}  // namespace tavin::print
