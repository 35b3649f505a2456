#include "WorkerUi.h"

namespace tavin::fleet {

WorkerUi::WorkerUi(RunControl &control, Hooks hooks) : m_control(control), m_hooks(std::move(hooks)) {}

void WorkerUi::begin(Mode mode)
{
    m_mode = mode;
    m_claimed = false;
    m_refused = false;
    m_message.clear();
}

bool WorkerUi::claimNow()
{
    if (m_claimed || m_refused)
        return m_claimed;
    m_claimed = m_hooks.claim();
    m_refused = !m_claimed;
    return m_claimed;
}

void WorkerUi::probeStarted(int)
{
    m_probeWallTime = QDateTime::currentDateTime();
    m_probeTimer.start();
    m_hooks.probing();
}

void WorkerUi::blockDone(int done, int total)
{
    // The first block of a radio that answered: it has started.
    if (m_mode == Mode::Waiting && !claimNow())
        return;
    m_hooks.block(done, total);
}

bool WorkerUi::cancelRequested()
{
    if (m_control.cancelled())
        return true;
    switch (m_mode) {
    case Mode::Waiting:
        return m_refused || (!m_claimed && m_control.noNewRadios());
    case Mode::Transfer:
        return false;
    case Mode::UnplugWatch:
        return m_control.noNewRadios();
    }
    return false;
}

void WorkerUi::showMessage(const QString &text)
{
    m_message = text.trimmed();
}

bool WorkerUi::askRetry(const QString &)
{
    // Never asks anyone. A radio under way that stops answering fails; while
    // waiting for a radio, the worker opens the port afresh and probes again
    // (so a cable pulled out and put back is found again).
    return false;
}

}  // namespace tavin::fleet
