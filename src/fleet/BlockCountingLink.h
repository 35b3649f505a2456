// The worker's serial port, counting the block commands that go out, so the
// status line can show the block a transfer is at (the progress bar of the
// protocol stops short of the last blocks).
#pragma once

#include "SerialLink.h"

#include <functional>

namespace tavin::fleet {

class BlockCountingLink final : public link::SerialLink {
public:
    // onBlock(n): the n-th block command (from 1) since the last open() went out.
    BlockCountingLink(link::SerialLink &port, std::function<void(int)> onBlock);

    bool open(const QString &portName) override;
    void clear() override { m_port.clear(); }
    void clearAndAbort() override { m_port.clearAndAbort(); }
    link::ReadResult read(int count) override { return m_port.read(count); }
    bool write(const QByteArray &bytes) override;
    void close() override { m_port.close(); }
    bool isOpen() const override { return m_port.isOpen(); }

private:
    link::SerialLink &m_port;
    std::function<void(int)> m_onBlock;
    int m_blocks = 0;
};

}  // namespace tavin::fleet
