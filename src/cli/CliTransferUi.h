// The protocol's user on the command line: progress on stderr (a bar on a
// terminal, plain lines otherwise), the system's messages on stderr, Ctrl+C
// as Cancel, and the Retry/Cancel question answered by --retries.
#pragma once

#include "TransferUi.h"

#include <QString>

namespace tavin::cli {

class CliTransferUi final : public link::TransferUi {
public:
    // what: "reading" or "writing"; retries: how many questions get Retry.
    CliTransferUi(QString what, int retries, bool drawBar);
    ~CliTransferUi() override;

    void setStatusText(const QString &text) override;
    void setProgress(int position) override;
    bool cancelRequested() override;
    void pumpOnce() override {}
    void showMessage(const QString &text) override;
    bool askRetry(const QString &text) override;

    // Ends the bar's line, if one is drawn.
    void finish();

private:
    void drawBar();

    QString m_what;
    int m_retriesLeft = 0;
    bool m_drawBar = false;
    bool m_barShown = false;
    int m_position = 0;
    int m_lastQuarter = 0;
    QString m_status;
};

}  // namespace tavin::cli
