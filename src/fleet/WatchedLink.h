// The worker's serial port, telling the worker what it needs for its status
// line: whether the port opened, and each block command that goes out (the
// protocol's progress bar stops short of the last blocks).
#pragma once

#include "SerialLink.h"

#include <functional>

namespace tavin::fleet {

class WatchedLink final : public link::SerialLink {
public:
    // onOpen(ok) after every open; onBlock(n) for the n-th block command (from
    // 1) since the last open.
    WatchedLink(link::SerialLink &port, std::function<void(bool)> onOpen, std::function<void(int)> onBlock);

    bool open(const QString &portName) override;
    void clear() override { m_port.clear(); }
    void clearAndAbort() override { m_port.clearAndAbort(); }
    link::ReadResult read(int count) override { return m_port.read(count); }
    bool write(const QByteArray &bytes) override;
    void close() override { m_port.close(); }
    bool isOpen() const override { return m_port.isOpen(); }

private:
    link::SerialLink &m_port;
    std::function<void(bool)> m_onOpen;
    std::function<void(int)> m_onBlock;
    int m_blocks = 0;
};

}  // namespace tavin::fleet
