#include "PortWorker.h"

#include "RadioJob.h"
#include "WorkerUi.h"

#include <QDeadlineTimer>
#include <QThread>

#include <algorithm>
#include <memory>

namespace tavin::fleet {

using link::Direction;
using link::TransferOutcome;

namespace {
constexpr qint64 kIdleSliceMs = 20;
}  // namespace

struct PortWorker::Link {
    std::unique_ptr<WorkerPort> port;
    std::unique_ptr<WorkerUi> ui;
    std::unique_ptr<link::RadioProtocol> protocol;
    RadioImage original;
    link::TransferResult backupRead;
    RadioRecord record;
};

PortWorker::PortWorker(int index, QString port, QString label, const CloneOptions &options, const WorkerSetup &setup,
                       RunControl &control, CloneObserver &observer)
    : m_index(index), m_port(std::move(port)), m_options(options), m_setup(setup), m_control(control),
      m_observer(observer)
{
    m_status.label = std::move(label);
}

void PortWorker::run()
{
    Link link;
    link.port = m_setup.makePort();
    WorkerUi::Hooks hooks;
    hooks.claim = [this, &link] {
        const std::optional<int> number = m_control.claimRadio();
        if (!number)
            return false;
        link.record = RadioRecord();
        link.record.radio = *number;
        link.record.port = m_port;
        link.record.device = link.port->device();
        link.record.start = link.ui->probeStartedAt();
        m_status.radio = *number;
        m_status.block = 0;
        m_status.blocks = link::wire::kReadBlockCount;
        m_observer.radioStarted(m_index, *number);
        setState(PortState::Backup);
        return true;
    };
    hooks.probing = [this] {
        // A port that was missing is back: it is waiting for a radio again.
        if (m_status.state == PortState::PortMissing) {
            m_status.problem = PortProblem::None;
            m_status.portError.clear();
            setState(PortState::Waiting);
        }
    };
    hooks.block = [this](int done, int total) {
        m_status.block = done;
        m_status.blocks = total;
        if (m_status.state == PortState::Backup || m_status.state == PortState::Writing
            || m_status.state == PortState::ReadingBack)
            publish();
    };
    link.ui = std::make_unique<WorkerUi>(m_control, std::move(hooks));
    link.protocol = std::make_unique<link::RadioProtocol>(link.port->link(), *link.ui);
    if (m_setup.pause)
        link.protocol->setPauseFunction(m_setup.pause);

    setState(PortState::Waiting);
    bool afterRadio = false;
    for (;;) {
        if (afterRadio) {
            if (m_control.noNewRadios())
                break;
            const bool goOn = m_options.confirm
                                  ? m_control.waitForGoAhead(m_index, [this] { setState(PortState::Confirm); })
                                  : waitUntilUnplugged(link);
            if (!goOn)
                break;
            afterRadio = false;
        }
        bool started = false;
        if (!waitForRadio(link, &started))
            break;
        if (!started)
            continue;
        RadioJob job(m_options, *link.protocol, *link.ui, [this](RadioStep step) {
            m_status.block = 0;
            m_status.blocks = step == RadioStep::Write ? link::wire::kWriteBlockCount : link::wire::kReadBlockCount;
            setState(step == RadioStep::Write ? PortState::Writing : PortState::ReadingBack);
        });
        job.run(link.backupRead, link.original, link.record);
        finishRadio(link.record);
        afterRadio = true;
    }
    setState(PortState::Stopped);
}

bool PortWorker::waitForRadio(Link &link, bool *started)
{
    *started = false;
    if (m_control.noNewRadios())
        return false;
    // A missing port stays reported as missing until it opens again.
    if (m_status.state != PortState::PortMissing && m_status.state != PortState::Waiting)
        setState(PortState::Waiting);
    // A probe at a time until a radio answers: an absent radio costs one
    // read's time-out, so the next radio is found soon after it comes.
    link.ui->begin(WorkerUi::Mode::Waiting);
    const link::TransferResult asked = link.protocol->probeOnce(m_port, link::RadioProtocol::ProbeWait::Quick);
    if (asked.outcome == TransferOutcome::PortOpenFailed)
        return portMissing(link);
    if (asked.outcome == TransferOutcome::Cancelled)
        return false;
    if (!asked.completed())
        return !m_control.noNewRadios();

    link.ui->begin(WorkerUi::Mode::Waiting);
    link.original = RadioImage();
    link.backupRead = link.protocol->run(Direction::Read, m_port, link.original);
    if (!link.ui->claimed()) {
        if (link.backupRead.outcome == TransferOutcome::PortOpenFailed)
            return portMissing(link);
        // Fifteen probes without an answer: open the port afresh and go on.
        if (link.backupRead.outcome == TransferOutcome::CancelledAtQuestion)
            return !m_control.noNewRadios();
        // A radio answered but its very first block failed: it has started too.
        const bool answered = link.backupRead.outcome == TransferOutcome::ReadReplyShort
                              || link.backupRead.outcome == TransferOutcome::ReadAckMissing
                              || link.backupRead.outcome == TransferOutcome::Completed;
        if (!answered || !link.ui->claimNow())
            return false;
    }
    link.record.times.backupSeconds = double(link.ui->msSinceProbe()) / 1000.0;
    *started = true;
    return true;
}

bool PortWorker::portMissing(Link &link)
{
    const PortProblem problem = link.port->problem();
    const QString error = link.port->errorString();
    if (m_status.state != PortState::PortMissing || m_status.problem != problem || m_status.portError != error) {
        m_status.problem = problem;
        m_status.portError = error;
        setState(PortState::PortMissing);
    }
    return idle(m_setup.portRetry);
}

bool PortWorker::waitUntilUnplugged(Link &link)
{
    for (;;) {
        // A short pause first: the radio has just ended a read.
        if (!idle(m_setup.unplugPoll))
            return false;
        link.ui->begin(WorkerUi::Mode::UnplugWatch);
        const link::TransferResult asked = link.protocol->probeOnce(m_port);
        if (asked.outcome == TransferOutcome::Cancelled)
            return false;
        // An unanswered probe, or a port that is gone (the cable pulled out):
        // no radio there any more.
        if (!asked.completed())
            return !m_control.noNewRadios();
    }
}

bool PortWorker::idle(std::chrono::milliseconds ms) const
{
    QDeadlineTimer until(ms.count());
    while (!until.hasExpired()) {
        if (m_control.noNewRadios())
            return false;
        QThread::msleep(static_cast<unsigned long>(std::clamp<qint64>(until.remainingTime(), 1, kIdleSliceMs)));
    }
    return !m_control.noNewRadios();
}

void PortWorker::finishRadio(RadioRecord &record)
{
    record.end = QDateTime::currentDateTime();
    const FileResult logged = m_control.keep(record);
    if (record.result == RadioResult::Verified)
        ++m_status.verified;
    else
        ++m_status.failed;
    m_status.lastResult = record.result;
    m_status.lastMessage = record.message;
    RadioEnd end;
    end.record = record;
    end.portGoesOn = !m_control.noNewRadios();
    if (!logged)
        end.logError = QString::fromStdString(logged.error);
    m_observer.radioEnded(m_index, end);
    setState(PortState::RadioDone);
}

void PortWorker::setState(PortState state)
{
    m_status.state = state;
    publish();
}

void PortWorker::publish()
{
    m_observer.portChanged(m_index, m_status);
}

}  // namespace tavin::fleet
