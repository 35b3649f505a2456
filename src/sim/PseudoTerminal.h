// The radio's end of the cable: a pseudo-terminal whose other end (the slave
// device, e.g. /dev/pts/7) the program opens as its serial port.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace tavin::sim {

class PseudoTerminal {
public:
    // Creates the pair. The slave is set to raw 9600 8N1 at once and kept open
    // for the terminal's whole life, so nothing is echoed before the program
    // sets the port up and the program may close and reopen it as often as it
    // likes. nullptr with error filled in on failure.
    static std::unique_ptr<PseudoTerminal> create(std::string &error);
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    const std::string &devicePath() const { return m_devicePath; }
    int fd() const { return m_master; }  // non-blocking, for poll

    // What the program has written, up to capacity bytes; 0 when nothing is
    // waiting, -1 on failure (errno set).
    long read(std::uint8_t *bytes, std::size_t capacity);
    // Hands every byte to the program's side. False on failure.
    bool write(const std::uint8_t *bytes, std::size_t count);

private:
    PseudoTerminal() = default;
    int m_master = -1;
    int m_slave = -1;
    std::string m_devicePath;
};

}  // namespace tavin::sim
