// The programming protocol's user inside a port's worker. It follows the
// transfer by the protocol's events (probes, blocks), never by its texts, and
// never asks anyone (the Retry/Cancel question is always Cancel). While
// waiting for a radio it claims the radio whose first block arrives; the
// run's stop requests reach the protocol through the cancel test.
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

    struct Hooks {
        // A radio's first block arrived in Waiting mode: false when no new
        // radio may start (it is then not touched further).
        std::function<bool()> claim;
        // A probe is going out (so the port opened).
        std::function<void()> probing;
        // A block is done: done of total.
        std::function<void(int, int)> block;
    };

    WorkerUi(RunControl &control, Hooks hooks);

    // Starts a protocol call in this mode; forgets what the last one saw.
    void begin(Mode mode);

    // Waiting: a radio answered and was claimed.
    bool claimed() const { return m_claimed; }
    // Waiting: when the probe that found the radio began.
    QDateTime probeStartedAt() const { return m_probeWallTime; }
    qint64 msSinceProbe() const { return m_probeTimer.isValid() ? m_probeTimer.elapsed() : 0; }
    // The protocol's last message (trimmed), empty when it showed none.
    QString lastMessage() const { return m_message; }

    // Claims the radio now (a radio that answered but whose first block
    // already failed); false when no new radio may start.
    bool claimNow();

    void setStatusText(const QString &) override {}
    void setProgress(int) override {}
    bool cancelRequested() override;
    void pumpOnce() override {}
    void showMessage(const QString &text) override;
    bool askRetry(const QString &text) override;

    void probeStarted(int attempt) override;
    void blockDone(int done, int total) override;

private:
    RunControl &m_control;
    Hooks m_hooks;
    Mode m_mode = Mode::Waiting;
    bool m_claimed = false;
    bool m_refused = false;
    QString m_message;
    QDateTime m_probeWallTime;
    QElapsedTimer m_probeTimer;
};

}  // namespace tavin::fleet
