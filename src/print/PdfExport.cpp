#include "PdfExport.h"

#include "SettingsPage.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace tavin::print {

bool writeSettingsPdf(const PageTexts &texts, const QString &fileName, const QPageSize &pageSize,
                      QString *error)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("cannot write PDF file '%1': %2").arg(fileName, file.errorString());
        return false;
    }
    {
        QPdfWriter pdf(&file);
        pdf.setResolution(kPdfResolutionDpi);
        pdf.setTitle(QStringLiteral("The Radio Settings"));
        pdf.setCreator(QStringLiteral("Tavin"));
        pdf.setPageLayout(QPageLayout(pageSize, QPageLayout::Portrait,
                                      QMarginsF(kPdfMarginMillimetres, kPdfMarginMillimetres,
                                                kPdfMarginMillimetres, kPdfMarginMillimetres),
                                      QPageLayout::Millimeter));
        QPainter painter;
        if (!painter.begin(&pdf)) {
            *error = QStringLiteral("cannot write PDF file '%1': the page cannot be drawn").arg(fileName);
            return false;
        }
        drawSettingsPage(painter, texts);
        painter.end();
    }
    if (!file.commit()) {
        *error = QStringLiteral("cannot write PDF file '%1': %2").arg(fileName, file.errorString());
        return false;
    }
    return true;
}

}  // namespace tavin::print
