// A record of every byte on the line, one line per chunk as it was read or
// written:
//   <seconds since start, 6 decimals> <in|out> <hex bytes>
// "in" is from the program to the radio, "out" from the radio to the program;
// bytes are two lowercase hex digits separated by spaces. Flushed per line.
#pragma once

#include "LinePacer.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace tavin::sim {

class ByteLog {
public:
    enum class Direction { In, Out };

    ByteLog() = default;  // logs nothing
    ~ByteLog();
    ByteLog(const ByteLog &) = delete;
    ByteLog &operator=(const ByteLog &) = delete;

    // Starts the log at path (replacing an old one), with the clock at zero now.
    bool open(const std::filesystem::path &path, Clock::time_point start, std::string &error);
    void record(Clock::time_point when, Direction direction, const std::uint8_t *bytes, std::size_t count);

    // The line record() writes, without its newline.
    static std::string line(Clock::duration sinceStart, Direction direction, const std::uint8_t *bytes,
                            std::size_t count);

private:
    std::FILE *m_file = nullptr;
    Clock::time_point m_start;
};

}  // namespace tavin::sim
