// The message boxes of a transfer, behind one interface so tests can answer them.
#pragma once

#include <QString>

class QWidget;

class TransferPrompts
{
public:
    virtual ~TransferPrompts() = default;
    // An OK message box.
    virtual void showMessage(const QString &text) = 0;
    // Retry and Cancel; true for Retry.
    virtual bool askRetry(const QString &text) = 0;
    // Closing the main window while a transfer runs: cancel it and close?
    virtual bool askCancelToClose() = 0;
};

class MessageBoxTransferPrompts : public TransferPrompts
{
public:
    explicit MessageBoxTransferPrompts(QWidget *parent) : m_parent(parent) {}
    void showMessage(const QString &text) override;
    bool askRetry(const QString &text) override;
    bool askCancelToClose() override;

private:
    QWidget *m_parent = nullptr;
};
