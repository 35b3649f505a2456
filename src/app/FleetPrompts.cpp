#include "FleetPrompts.h"

#include "NativePath.h"

#include <QFileDialog>
#include <QMessageBox>

bool DialogFleetPrompts::askSaveFirst(const QString &documentName)
{
    QMessageBox box(QMessageBox::Question, tr("批量写频"),
                    tr("%1 有未保存的修改。批量写频写入的是保存后的文件，审计日志记录该文件及其校验值。\n\n"
                       "现在保存并开始吗？")
                        .arg(documentName),
                    QMessageBox::Save | QMessageBox::Cancel, m_parent);
    box.setDefaultButton(QMessageBox::Save);
    return box.exec() == QMessageBox::Save;
}

bool DialogFleetPrompts::askStopAndClose()
{
    QMessageBox box(QMessageBox::Warning, tr("批量写频"),
                    tr("正在给对讲机写频。停止全部端口并关闭窗口吗？\n\n"
                       "每个端口会在安全处停止；写到一半的对讲机会记入审计日志，其原数据见备份。"),
                    QMessageBox::Yes | QMessageBox::No, m_parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void DialogFleetPrompts::showProblem(const QString &text)
{
    QMessageBox::warning(m_parent, tr("批量写频"), text);
}

QString DialogFleetPrompts::chooseFolder(const QString &current)
{
    return tavin::platform::fromQtPath(
        QFileDialog::getExistingDirectory(m_parent, tr("备份文件夹"), tavin::platform::toQtPath(current)));
}

QString DialogFleetPrompts::chooseLogFile(const QString &current)
{
    return tavin::platform::fromQtPath(QFileDialog::getSaveFileName(
        m_parent, tr("审计日志"), tavin::platform::toQtPath(current), tr("审计日志 (*.jsonl);;所有文件 (*)"),
        nullptr, QFileDialog::DontConfirmOverwrite));
}
