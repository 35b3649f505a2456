// The printed page as a one-page PDF file, for printing elsewhere or filing.
#pragma once

#include "PageTexts.h"

#include <QByteArray>
#include <QPageLayout>
#include <QPageSize>
#include <QString>

namespace tavin::print {

// Printable area of the PDF: the paper less a margin a printer would keep.
inline constexpr double kPdfMarginMillimetres = 6.35;
inline constexpr int kPdfResolutionDpi = 1200;

// The PDF's page: pageSize, portrait, kPdfMarginMillimetres on every side.
QPageLayout pdfPageLayout(const QPageSize &pageSize);

// The page as the bytes of a one-page PDF; empty when it cannot be drawn.
QByteArray settingsPdf(const PageTexts &texts, const QPageLayout &layout);

// Writes the page to `fileName` (a path text as NativePath.h keeps it)
// through replaceFileContents: an existing file is replaced only once the
// whole PDF is on the disk, and stays as it was on any failure. On failure
// returns false with the reason (naming the file) in *error.
// The print dialog's "print to file" comes here too, with the printer's layout.
bool writeSettingsPdf(const PageTexts &texts, const QString &fileName, const QPageLayout &layout,
                      QString *error);

}  // namespace tavin::print
