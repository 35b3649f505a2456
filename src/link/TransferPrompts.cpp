#include "TransferPrompts.h"

#include "Language.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace {
QString caption()
{
    return tavin::lang::applicationTitle();
}
}  // namespace

void MessageBoxTransferPrompts::showMessage(const QString &text)
{
    QMessageBox::warning(m_parent, caption(), text, QMessageBox::Ok);
}

bool MessageBoxTransferPrompts::askRetry(const QString &text)
{
    return QMessageBox::warning(m_parent, caption(), text, QMessageBox::Retry | QMessageBox::Cancel, QMessageBox::Retry)
        == QMessageBox::Retry;
}

bool MessageBoxTransferPrompts::askCancelToClose()
{
    return QMessageBox::question(m_parent, caption(), QCoreApplication::translate("TransferPrompts", "正在与对讲机传输数据。取消传输并退出吗？"),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}
