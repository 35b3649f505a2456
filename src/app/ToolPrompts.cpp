#include "ToolPrompts.h"

#include "CableCheckDialog.h"
#include "CommandTexts.h"
#include "NativePath.h"
#include "ReportDialog.h"

#include <QFileDialog>

using tavin::lists::ListFormat;

namespace {

constexpr ListFormat kExportFormats[] = {ListFormat::Native, ListFormat::Interchange, ListFormat::Json};

QString suffixOf(ListFormat format)
{
    return format == ListFormat::Json ? QStringLiteral("json") : QStringLiteral("csv");
}

}  // namespace

QString ToolReport::text() const
{
    if (lines.isEmpty())
        return summary + u'\n';
    return summary + QStringLiteral("\n\n") + lines.join(u'\n') + u'\n';
}

QStringList DialogToolPrompts::exportFilters()
{
    return {tr("信道表，本程序格式 (*.csv)"), tr("信道表，通用交换格式 (*.csv)"), tr("信道表，JSON，含设置 (*.json)")};
}

QString DialogToolPrompts::importFileName()
{
    return tavin::platform::fromQtPath(QFileDialog::getOpenFileName(
        m_parent, tr("导入信道表"), QString(), tr("信道表 (*.csv *.json)") + QStringLiteral(";;") + tr("所有文件 (*)")));
}

ToolPrompts::ExportTarget DialogToolPrompts::exportTarget(const QString &suggestedPath)
{
    const QStringList filters = exportFilters();
    QFileDialog dialog(m_parent, tr("导出信道表"), tavin::platform::toQtPath(suggestedPath));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(suffixOf(ListFormat::Native));
    // The file type decides the format; a name typed without an extension gets the type's.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, filters](const QString &filter) {
        const qsizetype index = filters.indexOf(filter);
        if (index >= 0)
            dialog.setDefaultSuffix(suffixOf(kExportFormats[index]));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const qsizetype index = std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter()));
    return {tavin::platform::fromQtPath(dialog.selectedFiles().constFirst()), kExportFormats[index]};
}

QString DialogToolPrompts::compareFileName()
{
    return tavin::platform::fromQtPath(QFileDialog::getOpenFileName(
        m_parent, tr("与文件比较"), QString(), texts::kFileFilter + QStringLiteral(";;") + tr("所有文件 (*)")));
}

void DialogToolPrompts::showReport(const ToolReport &report)
{
    ReportDialog dialog(report, m_parent);
    dialog.exec();
}

void DialogToolPrompts::showCableCheck(const tavin::doctor::DoctorReport &report)
{
    CableCheckDialog dialog(report, m_parent);
    dialog.exec();
}
