#include "VirtualRadio.h"

#include "RadioVariants.h"

#include <ChannelFile.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <poll.h>
#include <ctime>

namespace tavin::sim {

namespace {

// A frame whose bytes stop coming for this long is forgotten (the program
// went away in the middle of a block). The program pauses 1 ms between a
// block command and its data, but on a busy machine (a fleet run's many
// ports) its thread can be held off for tens of milliseconds there; a radio
// that gave up on the frame that soon would refuse a good block.
constexpr std::chrono::milliseconds kFrameGapTimeout{500};
constexpr std::size_t kReadChunkBytes = 256;
// How long a lone 02 after the probe's ACK may wait for a 'P' behind it before
// it counts as the STX. The program writes a probe's bytes back to back.
constexpr std::chrono::milliseconds kNextByteWait{5};

// Waits for input on the descriptors until deadline (none: for ever).
// Answers have to leave within a fraction of a byte time, so the wait is
// timed to the nanosecond where the system allows it.
int waitForInput(std::array<pollfd, 2> &fds, std::optional<Clock::time_point> deadline)
{
    const auto remaining = deadline ? std::max(Clock::duration::zero(), *deadline - Clock::now())
                                    : Clock::duration::zero();
#if defined(__linux__) || defined(__FreeBSD__) || defined(__OpenBSD__) || defined(__NetBSD__)
    timespec timeout{};
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(remaining).count();
    timeout.tv_sec = static_cast<time_t>(ns / 1000000000);
    timeout.tv_nsec = static_cast<long>(ns % 1000000000);
    return ::ppoll(fds.data(), fds.size(), deadline ? &timeout : nullptr, nullptr);
#else
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(remaining).count();
    return ::poll(fds.data(), fds.size(), deadline ? static_cast<int>(ms) : -1);
#endif
}

}  // namespace

VirtualRadio::VirtualRadio(PseudoTerminal &line, RadioImage &memory, const RadioSettings &settings, ByteLog &log)
    : m_line(line),
      m_memory(memory),
      m_settings(settings),
      m_log(log),
      m_pacer(settings.paced),
      m_firstMemory(memory)
{
    m_conversation.emplace(m_memory, settings.fault, settings.silentProbes);
    keepRadioMemory("-original");
}

bool VirtualRadio::run(int stopFd)
{
    for (;;) {
        const Clock::time_point now = Clock::now();
        plugInNextRadio(now);
        answerArrivedBytes(now);
        if (!sendDueBytes(now))
            return false;
        if (m_savePending && !m_pacer.sending())
            saveMemory();
        if (m_unplugPending && !m_pacer.sending())
            unplug(now);

        std::array<pollfd, 2> fds{{{m_line.fd(), POLLIN, 0}, {stopFd, POLLIN, 0}}};
        const int ready = waitForInput(fds, nextDeadline());
        if (ready < 0 && errno != EINTR) {
            std::perror("tavin-sim: waiting for the line");
            return false;
        }
        if (ready <= 0)
            continue;
        if (fds[1].revents != 0) {
            if (m_present)
                keepRadioMemory();
            return true;
        }
        if ((fds[0].revents & POLLIN) && !receive())
            return false;
        if ((fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) && !(fds[0].revents & POLLIN)) {
            // The slave end is held open here, so this should not happen; do
            // not spin if it does.
            std::fprintf(stderr, "tavin-sim: the pseudo-terminal reports a hang-up\n");
            return false;
        }
    }
}

void VirtualRadio::answerArrivedBytes(Clock::time_point now)
{
    m_waitForNextUntil.reset();
    while (const std::optional<LinePacer::Arrived> arrived = m_pacer.peekArrived(now)) {
        if (!arrived->next && m_conversation->needsNextByte(arrived->byte) && now < arrived->at + kNextByteWait) {
            m_waitForNextUntil = arrived->at + kNextByteWait;
            break;
        }
        m_pacer.popArrived();
        m_lastArrival = arrived->at;
        const Bytes answer = m_conversation->take(arrived->byte, arrived->next);
        if (!answer.empty())
            m_pacer.send(answer, arrived->at);
        if (m_conversation->takeCompletedWrite()) {
            m_savePending = m_settings.savePath.has_value();
            m_writtenInFull = true;
        }
        if (m_conversation->takeCompletedRead() && m_writtenInFull && m_settings.radioCount > 0)
            m_unplugPending = true;
    }
    if (m_conversation->inFrame() && !m_pacer.receiving() && now - m_lastArrival >= kFrameGapTimeout)
        m_conversation->dropPartialFrame();
}

bool VirtualRadio::sendDueBytes(Clock::time_point now)
{
    const Bytes due = m_pacer.takeDue(now);
    if (due.empty())
        return true;
    if (!m_line.write(due.data(), due.size())) {
        std::perror("tavin-sim: writing to the line");
        return false;
    }
    m_log.record(Clock::now(), ByteLog::Direction::Out, due.data(), due.size());
    return true;
}

void VirtualRadio::saveMemory()
{
    m_savePending = false;
    const FileResult saved = storeChannelFile(*m_settings.savePath, m_memory);
    if (!saved)
        std::fprintf(stderr, "tavin-sim: %s\n", saved.error.c_str());
    else
        std::fprintf(stderr, "tavin-sim: write complete, memory saved to %s\n", m_settings.savePath->c_str());
}

bool VirtualRadio::receive()
{
    std::array<std::uint8_t, kReadChunkBytes> chunk{};
    for (;;) {
        const long n = m_line.read(chunk.data(), chunk.size());
        if (n < 0) {
            std::perror("tavin-sim: reading the line");
            return false;
        }
        if (n == 0)
            return true;
        const Clock::time_point arrival = Clock::now();
        const auto count = static_cast<std::size_t>(n);
        m_log.record(arrival, ByteLog::Direction::In, chunk.data(), count);
        // Nobody hears what is sent while no radio is plugged in.
        if (m_present)
            m_pacer.received(chunk.data(), count, arrival);
    }
}

std::optional<Clock::time_point> VirtualRadio::nextDeadline() const
{
    std::optional<Clock::time_point> deadline = m_pacer.nextEvent();
    if (m_waitForNextUntil) {
        // The byte held back is due already; wake for its time-out or for an answer byte.
        const std::optional<Clock::time_point> send = m_pacer.nextSend();
        deadline = send ? std::min(*send, *m_waitForNextUntil) : m_waitForNextUntil;
    }
    if (m_conversation->inFrame()) {
        const Clock::time_point giveUp = m_lastArrival + kFrameGapTimeout;
        deadline = deadline ? std::min(*deadline, giveUp) : giveUp;
    }
    if ((m_savePending || m_unplugPending) && !m_pacer.sending())
        deadline = Clock::now();
    if (waitingForNextRadio())
        deadline = deadline ? std::min(*deadline, m_nextRadioAt) : m_nextRadioAt;
    return deadline;
}

void VirtualRadio::unplug(Clock::time_point now)
{
    m_unplugPending = false;
    keepRadioMemory();
    m_present = false;
    m_pacer.forgetReceived();
    m_conversation->dropPartialFrame();
    m_waitForNextUntil.reset();
    ++m_radioNumber;
    m_nextRadioAt = now + m_settings.swapTime;
    if (waitingForNextRadio())
        std::fprintf(stderr, "tavin-sim: radio %d unplugged (written and read back); radio %d answers in %lld ms\n",
                     m_radioNumber - 1, m_radioNumber, static_cast<long long>(m_settings.swapTime.count()));
    else
        std::fprintf(stderr, "tavin-sim: radio %d unplugged (written and read back); that was the last of %d, "
                             "the line stays silent\n",
                     m_radioNumber - 1, m_settings.radioCount);
}

void VirtualRadio::plugInNextRadio(Clock::time_point now)
{
    if (!waitingForNextRadio() || now < m_nextRadioAt)
        return;
    m_memory = fleetRadioMemory(m_firstMemory, m_radioNumber);
    m_conversation.emplace(m_memory, m_settings.fault, 0);
    m_present = true;
    m_writtenInFull = false;
    keepRadioMemory("-original");
    std::fprintf(stderr, "tavin-sim: radio %d of %d plugged in\n", m_radioNumber, m_settings.radioCount);
}

void VirtualRadio::keepRadioMemory(const char *suffix)
{
    if (!m_settings.saveDir)
        return;
    const std::filesystem::path path =
        *m_settings.saveDir / ("radio-" + std::to_string(m_radioNumber) + suffix + ".sin");
    const FileResult saved = storeChannelFile(path, m_memory);
    if (!saved)
        std::fprintf(stderr, "tavin-sim: %s\n", saved.error.c_str());
}

}  // namespace tavin::sim
