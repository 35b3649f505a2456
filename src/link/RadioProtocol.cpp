#include "RadioProtocol.h"

#include "LinkTexts.h"
#include "Pause.h"

namespace tavin::link {

namespace {
using std::chrono::milliseconds;

constexpr milliseconds kProbePauseMs{1};
constexpr milliseconds kCommandToDataPauseMs{1};
constexpr milliseconds kAfterWriteBlockPauseMs{2};
constexpr milliseconds kBeforeReadAckPauseMs{15};
constexpr milliseconds kAfterReadBlockPauseMs{20};
constexpr int kCyclesBeforeProbe = 12;
constexpr int kCyclesAfterStx = 16;
constexpr int kCyclesAfterMissingConfirm = 601;
constexpr int kCyclesAfterWriteBlock = 201;
constexpr int kCyclesAfterReadBlock = 199;
// The bar is stepped while at most these; the final position is set at the end.
constexpr int kWriteProgressStepLimit = 121;
constexpr int kReadProgressStepLimit = 122;

QString tr8(const char *s) { return QString::fromUtf8(s); }

QByteArray oneByte(std::uint8_t b) { return QByteArray(1, static_cast<char>(b)); }

QByteArray blockCommand(std::uint8_t command, int address)
{
    QByteArray c(4, '\0');
    c[0] = static_cast<char>(command);
    c[1] = static_cast<char>((address >> 8) & 0xFF);
    c[2] = static_cast<char>(address & 0xFF);
    c[3] = static_cast<char>(wire::kBlockLength);
    return c;
}

// Closes the port however the transfer ends.
class PortCloser {
public:
    explicit PortCloser(SerialLink &link) : m_link(link) {}
    ~PortCloser() { m_link.close(); }
    PortCloser(const PortCloser &) = delete;
    PortCloser &operator=(const PortCloser &) = delete;
private:
    SerialLink &m_link;
};
}  // namespace

RadioProtocol::RadioProtocol(SerialLink &link, TransferUi &ui)
    : m_link(link), m_ui(ui), m_pause(&precisePause)
{
}

TransferResult RadioProtocol::run(Direction direction, const QString &portName, RadioImage &image)
{
    return reported([&] {
        if (const std::optional<TransferResult> ended = begin(portName, Stop::AfterConfirmation))
            return *ended;
        return direction == Direction::Write ? writeBlocks(image) : readBlocks(image);
    });
}

TransferResult RadioProtocol::identify(const QString &portName)
{
    return reported([&] {
        if (const std::optional<TransferResult> ended = begin(portName, Stop::AfterIdentity))
            return *ended;
        return TransferResult{TransferOutcome::Completed, 0, -1};
    });
}

TransferResult RadioProtocol::probeOnce(const QString &portName, ProbeWait wait)
{
    return reported([&] {
        m_identity.clear();
        if (!m_link.open(portName)) {
            m_ui.showMessage(tr8(text::kPortOpenFailed));
            return TransferResult{TransferOutcome::PortOpenFailed, 0, -1};
        }
        m_ui.setStatusText(tr8(text::kCheckingPort));
        switch (probe(1, wait)) {
        case Probe::Answered:
            return TransferResult{TransferOutcome::Completed, 0, -1};
        case Probe::Cancelled:
            return TransferResult{TransferOutcome::Cancelled, 0, -1};
        case Probe::NotAnswered:
            break;
        }
        return TransferResult{TransferOutcome::CancelledAtQuestion, 0, -1};
    });
}

TransferResult RadioProtocol::reported(const std::function<TransferResult()> &transfer)
{
    TransferResult result;
    {
        PortCloser closer(m_link);
        result = transfer();
    }
    m_ui.transferEnded(result);
    return result;
}

std::optional<TransferResult> RadioProtocol::begin(const QString &portName, Stop stop)
{
    m_progress = 0;
    m_identity.clear();
    m_portName = portName;
    if (!m_link.open(portName)) {
        m_ui.showMessage(tr8(text::kPortOpenFailed));
        return TransferResult{TransferOutcome::PortOpenFailed, 0, -1};
    }
    m_ui.setStatusText(tr8(text::kCheckingPort));
    return endedBy(handshake(stop));
}

bool RadioProtocol::isAck(const ReadResult &r) const
{
    return r.ok && r.bytes.size() == 1 && static_cast<std::uint8_t>(r.bytes.at(0)) == wire::kAck;
}

bool RadioProtocol::waitWithPump(int cycles)
{
    for (int i = 0; i < cycles; ++i) {
        m_ui.pumpOnce();
        if (m_ui.cancelRequested())
            return false;
        pause(kProbePauseMs);
    }
    return true;
}

void RadioProtocol::stepProgress(int limit)
{
    if (m_progress > limit)
        return;
    ++m_progress;
    m_ui.setProgress(m_progress);
    m_ui.setStatusText(QString::number(m_progress));
}

std::optional<TransferResult> RadioProtocol::endedBy(Flow flow)
{
    switch (flow) {
    case Flow::Go:
        return std::nullopt;
    case Flow::Cancelled:
        return TransferResult{TransferOutcome::Cancelled, 0, -1};
    case Flow::CancelledAtQuestion:
        return TransferResult{TransferOutcome::CancelledAtQuestion, 0, -1};
    case Flow::PortOpenFailed:
        return TransferResult{TransferOutcome::PortOpenFailed, 0, -1};
    }
    return std::nullopt;
}

RadioProtocol::Flow RadioProtocol::askRetry()
{
    if (!m_ui.askRetry(tr8(text::kCommunicationError)))
        return Flow::CancelledAtQuestion;
    // Probing a port that failed (the cable was pulled, the radio's USB side
    // restarted) or that no longer is the device behind its name would only
    // bring the question back at once: the port is opened again by name.
    if (m_link.needsReopen(m_portName)) {
        m_link.close();
        if (!m_link.open(m_portName)) {
            m_ui.showMessage(tr8(text::kPortOpenFailed));
            return Flow::PortOpenFailed;
        }
    }
    return Flow::Go;
}

RadioProtocol::Flow RadioProtocol::handshake(Stop stop)
{
    int attempt = 1;
    // The Retry/Cancel question; Retry starts again with 15 probes.
    const auto askUser = [&]() {
        const Flow answer = askRetry();
        if (answer == Flow::Go)
            attempt = 1;
        return answer;
    };

    for (;;) {
        const Probe probed = probe(attempt);
        if (probed == Probe::Cancelled)
            return Flow::Cancelled;
        if (probed == Probe::NotAnswered) {
            pause(kProbePauseMs);
            if (++attempt <= wire::kProbesPerQuestion)
                continue;
            if (const Flow answer = askUser(); answer != Flow::Go)
                return answer;
            continue;
        }

        // The radio may send one more byte after its ACK: wait for it and drop it.
        pause(kProbePauseMs);
        m_link.clear();
        m_link.read(1);
        m_link.clear();

        // The radio's identity: kept for whoever asks, not examined.
        m_link.write(oneByte(wire::kStx));
        m_identity = m_link.read(wire::kStxAnswerSize).bytes;
        m_ui.radioAnswered(m_identity);
        if (stop == Stop::AfterIdentity)
            return Flow::Go;
        if (!waitWithPump(kCyclesAfterStx))
            return Flow::Cancelled;

        // Confirmation.
        m_link.clear();
        if (!m_link.write(oneByte(wire::kAck))) {
            // The port refuses the byte: tell the user and let them retry or give up.
            m_ui.showMessage(tr8(text::kSendStatusError));
            if (const Flow answer = askUser(); answer != Flow::Go)
                return answer;
            continue;
        }
        const ReadResult r = m_link.read(1);
        if (isAck(r)) {
            pause(kProbePauseMs);
            return Flow::Go;
        }
        if (r.ok && !waitWithPump(kCyclesAfterMissingConfirm))
            return Flow::Cancelled;
        if (const Flow answer = askUser(); answer != Flow::Go)
            return answer;
    }
}

RadioProtocol::Probe RadioProtocol::probe(int attempt, ProbeWait wait)
{
    m_link.clear();
    m_ui.setStatusText(tr8(text::kWaitingForRadio));
    m_ui.probeStarted(attempt);
    if (!waitWithPump(kCyclesBeforeProbe))
        return Probe::Cancelled;
    m_link.clearAndAbort();
    // One byte per write; a failed write shows up as a missing answer.
    for (std::uint8_t b : wire::kProbe)
        m_link.write(oneByte(b));

    // The ACK may come as the first or the second byte.
    const ReadResult r = m_link.read(1);
    if (!r.ok || (wait == ProbeWait::Quick && r.bytes.isEmpty()))
        return Probe::NotAnswered;
    return isAck(r) || isAck(m_link.read(1)) ? Probe::Answered : Probe::NotAnswered;
}

TransferResult RadioProtocol::writeBlocks(const RadioImage &image)
{
    TransferResult result{TransferOutcome::Completed, 0, -1};
    for (int block = 0; block < wire::kWriteBlockCount; ++block) {
        const int address = block * wire::kBlockSize;
        m_link.clear();
        m_link.write(blockCommand(wire::kWriteCommand, address));
        pause(kCommandToDataPauseMs);
        m_link.clear();
        m_link.write(QByteArray(reinterpret_cast<const char *>(image.data() + address), wire::kBlockSize));
        if (!isAck(m_link.read(1))) {
            m_ui.showMessage(tr8(text::kWriteInterrupted));
            result.outcome = TransferOutcome::WriteNotAcknowledged;
            result.failedBlock = block;
            break;
        }
        ++result.blocksDone;
        m_ui.blockDone(result.blocksDone, wire::kWriteBlockCount);
        stepProgress(kWriteProgressStepLimit);
        for (int i = 0; i < kCyclesAfterWriteBlock; ++i) {
            if (m_ui.cancelRequested())
                return {TransferOutcome::Cancelled, result.blocksDone, -1};
            m_ui.pumpOnce();
        }
        pause(kAfterWriteBlockPauseMs);
    }
    m_link.close();
    m_ui.setProgress(kProgressMaximum);
    return result;
}

TransferResult RadioProtocol::readBlocks(RadioImage &image)
{
    TransferResult result{TransferOutcome::Completed, 0, -1};
    for (int block = 0; block < wire::kReadBlockCount; ++block) {
        const int address = block * wire::kBlockSize;
        m_link.clear();
        m_link.write(blockCommand(wire::kReadCommand, address));
        const ReadResult reply = m_link.read(wire::kReadReplySize);
        // All 12 bytes or nothing: no byte of an earlier reply may reach the image.
        if (!reply.ok || reply.bytes.size() < wire::kReadReplySize) {
            m_ui.showMessage(tr8(text::kNotEnoughBytes));
            result.outcome = TransferOutcome::ReadReplyShort;
            result.failedBlock = block;
            break;
        }
        m_link.clear();
        for (int i = 0; i < wire::kBlockSize; ++i)
            image[static_cast<std::size_t>(address + i)] =
                static_cast<std::uint8_t>(reply.bytes.at(wire::kReadReplyDataOffset + i));
        ++result.blocksDone;
        m_ui.blockDone(result.blocksDone, wire::kReadBlockCount);
        stepProgress(kReadProgressStepLimit);
        pause(kBeforeReadAckPauseMs);
        m_link.clear();
        m_link.write(oneByte(wire::kAck));
        if (!isAck(m_link.read(1))) {
            m_ui.showMessage(tr8(text::kReadAckFailed));
            result.outcome = TransferOutcome::ReadAckMissing;
            result.failedBlock = block;
            break;
        }
        for (int i = 0; i < kCyclesAfterReadBlock; ++i) {
            m_ui.pumpOnce();
            if (m_ui.cancelRequested())
                return {TransferOutcome::Cancelled, result.blocksDone, -1};
        }
        pause(kAfterReadBlockPauseMs);
    }
    m_link.close();
    if (result.completed())
        m_ui.setProgress(kProgressMaximum);
    return result;
}

}  // namespace tavin::link
