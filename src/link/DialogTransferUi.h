// The protocol's user in the desktop program: the progress dialog's status
// text, bar and cancel flag, pump cycles on the window system's event
// queue, and the transfer's message boxes.
#pragma once

#include "TransferUi.h"

#include <QElapsedTimer>

class CProgressDlg;
class TransferPrompts;

class DialogTransferUi final : public tavin::link::TransferUi
{
public:
    DialogTransferUi(CProgressDlg &dialog, TransferPrompts &prompts);

    void setStatusText(const QString &text) override;
    void setProgress(int position) override;
    bool cancelRequested() override;
    void pumpOnce() override;
    void showMessage(const QString &text) override;
    bool askRetry(const QString &text) override;

    // Also used while a read waits for bytes, so the windows keep repainting.
    void pumpEvents();

    // Pump cycles closer together than this find the queue as it was: they
    // are skipped, which keeps the protocol's bursts of cycles cheap.
    static constexpr int kPumpIntervalUs = 1000;

private:
    // A text of the protocol as the window shows it, in the user's language.
    static QString shown(const QString &text);

    CProgressDlg &m_dialog;
    TransferPrompts &m_prompts;
    QElapsedTimer m_sinceLastPump;
};
