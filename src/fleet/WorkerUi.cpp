#include "WorkerUi.h"

#include "LinkTexts.h"

namespace tavin::fleet {

WorkerUi::WorkerUi(RunControl &control, std::function<bool()> claim)
    : m_control(control), m_claim(std::move(claim))
{
}

void WorkerUi::begin(Mode mode)
{
    m_mode = mode;
    m_probes = 0;
    m_claimed = false;
    m_refused = false;
    m_gone = false;
    m_message.clear();
}

bool WorkerUi::claimNow()
{
    if (m_claimed || m_refused)
        return m_claimed;
    m_claimed = m_claim();
    m_refused = !m_claimed;
    return m_claimed;
}

void WorkerUi::setStatusText(const QString &text)
{
    // The protocol says this before every probe.
    if (text != QString::fromUtf8(link::text::kWaitingForRadio))
        return;
    ++m_probes;
    if (m_mode == Mode::UnplugWatch && m_probes > 1)
        m_gone = true;  // the probe before this one was not answered
    m_probeWallTime = QDateTime::currentDateTime();
    m_probeTimer.start();
}

void WorkerUi::setProgress(int)
{
    // The first block of a radio that answered: it has started.
    if (m_mode == Mode::Waiting)
        claimNow();
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
        return m_gone || m_control.noNewRadios();
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
