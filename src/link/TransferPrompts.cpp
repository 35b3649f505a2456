#include "TransferPrompts.h"

#include <QApplication>
#include <QMessageBox>

namespace {
QString caption()
{
    return QApplication::applicationDisplayName();
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
    return QMessageBox::question(m_parent, caption(), QStringLiteral("正在与对讲机传输数据。取消传输并退出吗？"),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}
