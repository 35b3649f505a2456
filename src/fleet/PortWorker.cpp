#include "PortWorker.h"

#include "RadioJob.h"
#include "WatchedLink.h"
#include "WorkerUi.h"

#include "PortNames.h"
#include "SystemSerialLink.h"
#include "RadioProtocol.h"

#include <QDeadlineTimer>
#include <QThread>

#include <algorithm>
#include <memory>

namespace tavin::fleet {

using link::Direction;
using link::TransferOutcome;

namespace {
// A port that cannot be opened (a USB adapter pulled out) is tried again this often.
constexpr int kPortRetryMs = 2000;
// A finished radio is asked this often whether it is still there; the pause
// also gives the radio its idle state back before the next probe.
constexpr int kUnplugPollMs = 500;
constexpr int kIdleSliceMs = 20;
}  // namespace

struct PortWorker::Link {
    link::SystemSerialLink port;
    std::unique_ptr<WatchedLink> watched;
    std::unique_ptr<WorkerUi> ui;
    std::unique_ptr<link::RadioProtocol> protocol;
    RadioImage original;
    link::TransferResult backupRead;
    RadioRecord record;
};

QString outcomeText(const RadioRecord &record)
{
    switch (record.result) {
    case RadioResult::Verified:
        return QStringLiteral("programmed and verified");
    case RadioResult::VerifyMismatch:
        return QStringLiteral("VERIFY MISMATCH: ") + record.message;
    case RadioResult::Failed:
        return QStringLiteral("FAILED: ") + record.message;
    case RadioResult::Cancelled:
        return QStringLiteral("CANCELLED: ") + record.message;
    }
    return {};
}

PortWorker::PortWorker(int index, QString port, QString label, const CloneOptions &options, RunControl &control,
                       CloneObserver &observer)
    : m_index(index), m_port(std::move(port)), m_options(options), m_control(control), m_observer(observer)
{
    m_status.label = std::move(label);
}

void PortWorker::run()
{
    Link link;
    const auto claim = [this, &link] {
        const std::optional<int> number = m_control.claimRadio();
        if (!number)
            return false;
        link.record = RadioRecord();
        link.record.radio = *number;
        link.record.port = m_port;
        link.record.device = link.port.device();
        link.record.start = link.ui->probeStartedAt();
        m_status.radio = *number;
        m_status.blocks = link::wire::kReadBlockCount;
        setState(PortState::Backup);
        return true;
    };
    const auto opened = [this](bool ok) {
        // A port that was missing is back: it is waiting for a radio again.
        if (ok && m_status.state == PortState::PortMissing)
            setState(PortState::Waiting);
    };
    const auto blockSent = [this](int block) {
        m_status.block = block;
        if (m_status.state == PortState::Backup || m_status.state == PortState::Writing
            || m_status.state == PortState::ReadingBack)
            publish();
    };
    link.watched = std::make_unique<WatchedLink>(link.port, opened, blockSent);
    link.ui = std::make_unique<WorkerUi>(m_control, claim);
    link.protocol = std::make_unique<link::RadioProtocol>(*link.watched, *link.ui);

    bool afterRadio = false;
    for (;;) {
        if (afterRadio) {
            if (m_control.noNewRadios())
                break;
            if (m_options.confirm)
                setState(PortState::Confirm);
            const bool goOn = m_options.confirm ? m_control.waitForGoAhead(m_index) : waitUntilUnplugged(link);
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
    if (m_status.state != PortState::PortMissing)
        setState(PortState::Waiting);
    link.ui->begin(WorkerUi::Mode::Waiting);
    link.original = RadioImage();
    link.backupRead = link.protocol->run(Direction::Read, m_port, link.original);
    if (!link.ui->claimed()) {
        if (link.backupRead.outcome == TransferOutcome::PortOpenFailed) {
            const QString reason = link.port.device().isEmpty() ? QStringLiteral("no serial device found")
                                                                : link.port.errorString();
            const QString note = QStringLiteral("cannot open the port (%1)").arg(reason);
            if (m_status.state != PortState::PortMissing || m_status.note != note) {
                m_status.note = note;
                setState(PortState::PortMissing);
            }
            return idle(kPortRetryMs);
        }
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

bool PortWorker::waitUntilUnplugged(Link &link)
{
    for (;;) {
        if (!idle(kUnplugPollMs))
            return false;
        link.ui->begin(WorkerUi::Mode::UnplugWatch);
        const link::TransferResult asked = link.protocol->identify(m_port);
        if (asked.completed())
            continue;  // still there
        // A port that is gone (the cable pulled out) has no radio either.
        if (asked.outcome == TransferOutcome::PortOpenFailed || link.ui->radioGone())
            return true;
        return false;
    }
}

bool PortWorker::idle(int ms) const
{
    QDeadlineTimer until(ms);
    while (!until.hasExpired()) {
        if (m_control.noNewRadios())
            return false;
        QThread::msleep(static_cast<unsigned long>(std::min<qint64>(kIdleSliceMs, std::max<qint64>(1, until.remainingTime()))));
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
    m_status.note = outcomeText(record);
    QString line = QStringLiteral("radio %1 on %2: %3").arg(record.radio).arg(m_status.label, m_status.note);
    if (!m_control.noNewRadios())
        line += m_options.confirm ? QStringLiteral(" — connect the next radio and press Enter")
                                  : QStringLiteral(" — connect the next radio");
    for (const QString &difference : record.differences)
        line += QStringLiteral("\n    ") + difference;
    m_observer.note(line);
    if (!logged)
        m_observer.note(QStringLiteral("clone: %1; no new radio starts").arg(QString::fromStdString(logged.error)));
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
