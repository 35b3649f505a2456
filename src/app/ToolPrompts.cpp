#include "ToolPrompts.h"

#include "CableCheckDialog.h"
#include "CommandTexts.h"
#include "NativePath.h"
#include "ReportDialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QStatusBar>

using tavin::lists::ListFormat;

namespace {

constexpr int kDoneShownMs = 8000;

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
    // The file type decides the format: a name without an extension gets the
    // type's, and a name with a list's extension takes the new type's.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, filters](const QString &filter) {
        const qsizetype index = filters.indexOf(filter);
        if (index < 0)
            return;
        const QString suffix = suffixOf(kExportFormats[index]);
        dialog.setDefaultSuffix(suffix);
        const QStringList chosen = dialog.selectedFiles();
        if (chosen.isEmpty())
            return;
        const QFileInfo name(chosen.constFirst());
        for (const ListFormat format : kExportFormats) {
            if (name.suffix().compare(suffixOf(format), Qt::CaseInsensitive) == 0) {
                dialog.selectFile(name.completeBaseName() + u'.' + suffix);
                break;
            }
        }
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const qsizetype index = std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter()));
    return {tavin::platform::fromQtPath(dialog.selectedFiles().constFirst()), kExportFormats[index]};
}

QString DialogToolPrompts::compareFileName()
{
    return tavin::platform::fromQtPath(QFileDialog::getOpenFileName(
        m_parent, tr("与文件比较"), QString(), texts::fileFilter() + QStringLiteral(";;") + tr("所有文件 (*)")));
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

void DialogToolPrompts::showDone(const QString &text)
{
    if (auto *window = qobject_cast<QMainWindow *>(m_parent))
        window->statusBar()->showMessage(text, kDoneShownMs);
}
