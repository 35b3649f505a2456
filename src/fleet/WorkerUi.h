// The programming protocol's user inside a port's worker: it never asks the
// terminal anything (the Retry/Cancel question is always Cancel). While
// waiting for a radio it claims the radio that answers; while watching a
// finished radio, one unanswered probe means it was unplugged. The run's
// stop requests reach the protocol through the cancel test.
#pragma once

#include "RunControl.h"

#include "TransferUi.h"

#include <QDateTime>
#include <QElapsedTimer>

#include <functional>

namespace tavin::fleet {

class WorkerUi final : public link::TransferUi {
public:
    enum class Mode {
        Waiting,      // probing for a new radio, then reading its backup
        Transfer,     // writing or reading back a radio that has started
        UnplugWatch,  // asking a finished radio whether it is still there
    };

    // claim: called once when a radio answers in Waiting mode; returns false
    // when no new radio may start.
    WorkerUi(RunControl &control, std::function<bool()> claim);

    // Starts a protocol call in this mode; forgets what the last one saw.
    void begin(Mode mode);

    // Waiting: a radio answered and was claimed / was refused a number.
    bool claimed() const { return m_claimed; }
    bool refused() const { return m_refused; }
    // Waiting: when the probe that found the radio began.
    QDateTime probeStartedAt() const { return m_probeWallTime; }
    qint64 msSinceProbe() const { return m_probeTimer.isValid() ? m_probeTimer.elapsed() : 0; }
    // UnplugWatch: a probe went unanswered.
    bool radioGone() const { return m_gone; }
    // The protocol's last message (trimmed), empty when it showed none.
    QString lastMessage() const { return m_message; }

    // Claims the radio now (a radio that answered but whose first block
    // already failed); false when no new radio may start.
    bool claimNow();

    void setStatusText(const QString &text) override;
    void setProgress(int position) override;
    bool cancelRequested() override;
    void pumpOnce() override {}
    void showMessage(const QString &text) override;
    bool askRetry(const QString &text) override;

private:
    RunControl &m_control;
    std::function<bool()> m_claim;
    Mode m_mode = Mode::Waiting;
    int m_probes = 0;
    bool m_claimed = false;
    bool m_refused = false;
    bool m_gone = false;
    QString m_message;
    QDateTime m_probeWallTime;
    QElapsedTimer m_probeTimer;
};

}  // namespace tavin::fleet
