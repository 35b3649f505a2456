// The timing of a 9600-baud line, 8N1: every byte takes 10 bits on the wire.
// A pseudo-terminal moves bytes at once, so the radio keeps the line's clock
// itself: a byte from the program counts as arrived only when it would have
// come off a real line, and an answer is handed over when its last byte would
// have come off a real line. Unpaced, everything arrives and leaves at once.
//
// An answer leaves in one piece rather than a byte at a time: a real radio's
// UART never pauses inside an answer, but a process woken for every byte can
// be held off by a busy machine for longer than the program's 50 ms
// inter-byte time-out. The times are absolute deadlines on the line's own
// clock, so an answer that is late (the machine was busy) goes at once and
// the answers behind it keep their places.
//
// On a real line the program's write call returns only once its bytes are
// out; on the pseudo-terminal it returns at once. So when the program writes
// again without waiting for an answer in between (a block command, a pause,
// the block's data), the time it spent between the two writes is counted from
// the end of the first one on the line, as it would have been on a real line.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace tavin::sim {

using Clock = std::chrono::steady_clock;

// 10 bits at 9600 baud, rounded up to the nanosecond.
inline constexpr std::chrono::nanoseconds kByteTime{1041667};

class LinePacer {
public:
    explicit LinePacer(bool paced) : m_paced(paced) {}

    // Bytes the program wrote, seen at arrival. Each one is on the line after
    // the one before it.
    void received(const std::uint8_t *bytes, std::size_t count, Clock::time_point arrival);

    struct Arrived {
        std::uint8_t byte = 0;
        Clock::time_point at;                // when its last bit came in
        std::optional<std::uint8_t> next;   // the byte behind it, if already seen
    };
    // The oldest received byte whose time on the line is over at now; it stays
    // until popArrived().
    std::optional<Arrived> peekArrived(Clock::time_point now) const;
    void popArrived();

    // Queues an answer to a frame that ended at frameEnd: it starts on the
    // line when the frame (or the answer before it) is over, and is due whole
    // once all its bytes would have been sent, one byte time each.
    void send(const std::vector<std::uint8_t> &bytes, Clock::time_point frameEnd);
    // The queued answers that are due at now, in order, as one run of bytes.
    std::vector<std::uint8_t> takeDue(Clock::time_point now);
    // Forgets everything received and not yet answered (the radio went away).
    void forgetReceived() { m_incoming.clear(); }
    bool sending() const { return !m_outgoing.empty(); }
    bool receiving() const { return !m_incoming.empty(); }

    // When the next byte arrives or is due; nullopt when nothing waits.
    std::optional<Clock::time_point> nextEvent() const;
    // When the next queued answer byte is due; nullopt when none is queued.
    std::optional<Clock::time_point> nextSend() const;

private:
    struct Timed {
        std::uint8_t byte;
        Clock::time_point at;
    };
    bool m_paced = true;
    std::deque<Timed> m_incoming;
    std::deque<Timed> m_outgoing;
    Clock::time_point m_inLineFree;
    Clock::time_point m_outLineFree;
    std::optional<Clock::time_point> m_lastArrival;
    bool m_answeredSinceArrival = false;
};

}  // namespace tavin::sim
