#include "ByteLog.h"

#include <cerrno>
#include <cstring>

namespace tavin::sim {

ByteLog::~ByteLog()
{
    if (m_file)
        std::fclose(m_file);
}

bool ByteLog::open(const std::filesystem::path &path, Clock::time_point start, std::string &error)
{
    m_file = std::fopen(path.c_str(), "w");
    if (!m_file) {
        error = "cannot open log file " + path.string() + ": " + std::strerror(errno);
        return false;
    }
    m_start = start;
    return true;
}

std::string ByteLog::line(Clock::duration sinceStart, Direction direction, const std::uint8_t *bytes,
                          std::size_t count)
{
    // Integer arithmetic only: the text must not depend on the locale.
    const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(sinceStart).count();
    std::string fraction = std::to_string(micros % 1000000);
    fraction.insert(0, 6 - fraction.size(), '0');
    std::string text = std::to_string(micros / 1000000) + '.' + fraction;
    text += direction == Direction::In ? " in" : " out";
    constexpr char kDigits[] = "0123456789abcdef";
    for (std::size_t i = 0; i < count; ++i) {
        text += ' ';
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    return text;
}

void ByteLog::record(Clock::time_point when, Direction direction, const std::uint8_t *bytes, std::size_t count)
{
    if (!m_file || count == 0)
        return;
    const std::string text = line(when - m_start, direction, bytes, count) + '\n';
    std::fwrite(text.data(), 1, text.size(), m_file);
    std::fflush(m_file);
}

}  // namespace tavin::sim
