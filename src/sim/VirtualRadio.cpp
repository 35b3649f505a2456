#include "VirtualRadio.h"

#include <ChannelFile.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <poll.h>
#include <ctime>

namespace tavin::sim {

namespace {

// A frame whose bytes stop coming for this long is forgotten (the program
// went away in the middle of a block); the program itself pauses 1 ms
// between a block command and its data.
constexpr std::chrono::milliseconds kFrameGapTimeout{20};
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
      m_conversation(memory, settings.fault, settings.silentProbes)
{
}

bool VirtualRadio::run(int stopFd)
{
    for (;;) {
        const Clock::time_point now = Clock::now();
        answerArrivedBytes(now);
        if (!sendDueBytes(now))
            return false;
        if (m_savePending && !m_pacer.sending())
            saveMemory();

        std::array<pollfd, 2> fds{{{m_line.fd(), POLLIN, 0}, {stopFd, POLLIN, 0}}};
        const int ready = waitForInput(fds, nextDeadline());
        if (ready < 0 && errno != EINTR) {
            std::perror("tavin-sim: waiting for the line");
            return false;
        }
        if (ready <= 0)
            continue;
        if (fds[1].revents != 0)
            return true;
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
        if (!arrived->next && m_conversation.needsNextByte(arrived->byte) && now < arrived->at + kNextByteWait) {
            m_waitForNextUntil = arrived->at + kNextByteWait;
            break;
        }
        m_pacer.popArrived();
        m_lastArrival = arrived->at;
        const Bytes answer = m_conversation.take(arrived->byte, arrived->next);
        if (!answer.empty())
            m_pacer.send(answer, arrived->at);
        if (m_conversation.takeCompletedWrite())
            m_savePending = m_settings.savePath.has_value();
    }
    if (m_conversation.inFrame() && !m_pacer.receiving() && now - m_lastArrival >= kFrameGapTimeout)
        m_conversation.dropPartialFrame();
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
    if (m_conversation.inFrame()) {
        const Clock::time_point giveUp = m_lastArrival + kFrameGapTimeout;
        deadline = deadline ? std::min(*deadline, giveUp) : giveUp;
    }
    if (m_savePending && !m_pacer.sending())
        deadline = Clock::now();
    return deadline;
}

}  // namespace tavin::sim
