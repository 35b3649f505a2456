#include "LinePacer.h"

#include <algorithm>

namespace tavin::sim {

void LinePacer::received(const std::uint8_t *bytes, std::size_t count, Clock::time_point arrival)
{
    Clock::time_point start = std::max(arrival, m_inLineFree);
    if (m_lastArrival && !m_answeredSinceArrival)
        start = std::max(start, m_inLineFree + (arrival - *m_lastArrival));
    m_lastArrival = arrival;
    m_answeredSinceArrival = false;
    for (std::size_t i = 0; i < count; ++i) {
        Clock::time_point done = arrival;
        if (m_paced) {
            done = start + kByteTime;
            start = done;
            m_inLineFree = done;
        }
        m_incoming.push_back({bytes[i], done});
    }
}

std::optional<LinePacer::Arrived> LinePacer::peekArrived(Clock::time_point now) const
{
    if (m_incoming.empty() || m_incoming.front().at > now)
        return std::nullopt;
    Arrived arrived{m_incoming.front().byte, m_incoming.front().at, std::nullopt};
    if (m_incoming.size() > 1)
        arrived.next = m_incoming[1].byte;
    return arrived;
}

void LinePacer::popArrived()
{
    if (!m_incoming.empty())
        m_incoming.pop_front();
}

void LinePacer::send(const std::vector<std::uint8_t> &bytes, Clock::time_point frameEnd)
{
    m_answeredSinceArrival = true;
    if (bytes.empty())
        return;
    Clock::time_point due = frameEnd;
    if (m_paced) {
        due = std::max(frameEnd, m_outLineFree) + kByteTime * static_cast<int>(bytes.size());
        m_outLineFree = due;
    }
    for (const std::uint8_t byte : bytes)
        m_outgoing.push_back({byte, due});
}

std::vector<std::uint8_t> LinePacer::takeDue(Clock::time_point now)
{
    std::vector<std::uint8_t> due;
    while (!m_outgoing.empty() && m_outgoing.front().at <= now) {
        due.push_back(m_outgoing.front().byte);
        m_outgoing.pop_front();
    }
    return due;
}

std::optional<Clock::time_point> LinePacer::nextSend() const
{
    if (m_outgoing.empty())
        return std::nullopt;
    return m_outgoing.front().at;
}

std::optional<Clock::time_point> LinePacer::nextEvent() const
{
    std::optional<Clock::time_point> next;
    if (!m_incoming.empty())
        next = m_incoming.front().at;
    if (!m_outgoing.empty())
        next = next ? std::min(*next, m_outgoing.front().at) : m_outgoing.front().at;
    return next;
}

}  // namespace tavin::sim
