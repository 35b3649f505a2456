#include "WatchedLink.h"

#include "RadioProtocol.h"

namespace tavin::fleet {

namespace {
constexpr int kBlockCommandSize = 4;
}

WatchedLink::WatchedLink(link::SerialLink &port, std::function<void(bool)> onOpen, std::function<void(int)> onBlock)
    : m_port(port), m_onOpen(std::move(onOpen)), m_onBlock(std::move(onBlock))
{
}

bool WatchedLink::open(const QString &portName)
{
    m_blocks = 0;
    const bool opened = m_port.open(portName);
    m_onOpen(opened);
    return opened;
}

bool WatchedLink::write(const QByteArray &bytes)
{
    const bool written = m_port.write(bytes);
    if (bytes.size() == kBlockCommandSize) {
        const auto command = static_cast<std::uint8_t>(bytes.at(0));
        if (command == link::wire::kReadCommand || command == link::wire::kWriteCommand)
            m_onBlock(++m_blocks);
    }
    return written;
}

}  // namespace tavin::fleet
