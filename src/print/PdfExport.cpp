#include "PdfExport.h"

#include "NativePath.h"
#include "SafeReplace.h"
#include "SettingsPage.h"

#include <QBuffer>
#include <QMarginsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

namespace tavin::print {

QPageLayout pdfPageLayout(const QPageSize &pageSize)
{
    return QPageLayout(pageSize, QPageLayout::Portrait,
                       QMarginsF(kPdfMarginMillimetres, kPdfMarginMillimetres, kPdfMarginMillimetres,
                                 kPdfMarginMillimetres),
                       QPageLayout::Millimeter);
}

QByteArray settingsPdf(const PageTexts &texts, const QPageLayout &layout)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        return {};
    {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(kPdfResolutionDpi);
        pdf.setTitle(pageTitle());
        pdf.setCreator(QStringLiteral("Tavin"));
        pdf.setPageLayout(layout);
        QPainter painter;
        if (!painter.begin(&pdf))
            return {};
        drawSettingsPage(painter, texts);
        if (!painter.end())
            return {};
    }
    return bytes;
}

bool writeSettingsPdf(const PageTexts &texts, const QString &fileName, const QPageLayout &layout,
                      QString *error)
{
    const std::filesystem::path path = platform::toNative(fileName);
    // Found out before the page is drawn.
    if (const FileResult writable = checkReplaceable(path, "PDF file"); !writable) {
        *error = QString::fromStdString(writable.error);
        return false;
    }
    const QByteArray bytes = settingsPdf(texts, layout);
    if (bytes.isEmpty()) {
        *error = QStringLiteral("cannot write PDF file %1: the page cannot be drawn").arg(platform::quoted(fileName));
        return false;
    }
    const FileResult stored = replaceFileContents(path, std::string_view(bytes.constData(), std::size_t(bytes.size())),
                                                  "PDF file");
    if (!stored) {
        *error = QString::fromStdString(stored.error);
        return false;
    }
    return true;
}

}  // namespace tavin::print
