#include "RadioConversation.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <utility>

namespace tavin::sim {

namespace {

constexpr std::uint8_t kStx = 0x02;
constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kRead = 0x52;
constexpr std::uint8_t kWrite = 0x57;
constexpr std::uint8_t kBlockLength = 0x08;
constexpr std::uint8_t kStrayByte = 0x55;
constexpr std::array<std::uint8_t, 8> kProbe{0x02, 0x50, 0x52, 0x4F, 0x47, 0x52, 0x41, 0x4D};
constexpr std::size_t kCommandSize = 4;
constexpr std::size_t kBlockSize = 8;
constexpr std::size_t kReadReplySize = kCommandSize + kBlockSize;
constexpr std::uint16_t kLastWrittenBlock = 0x3D0;
constexpr std::size_t kIdentitySize = 8;
constexpr std::size_t kShortIdentitySize = 3;
constexpr std::size_t kLongIdentitySize = 12;
// The bit a failing memory cell gets wrong (the block's first byte).
constexpr std::uint8_t kBadStoreBit = 0x01;

}  // namespace

RadioConversation::RadioConversation(RadioImage &memory, Fault fault, int silentProbes)
    : m_memory(memory), m_fault(fault), m_silentProbes(silentProbes)
{
}

bool RadioConversation::takeCompletedWrite()
{
    return std::exchange(m_writeCompleted, false);
}

bool RadioConversation::takeCompletedRead()
{
    return std::exchange(m_readCompleted, false);
}

bool RadioConversation::needsNextByte(std::uint8_t byte) const
{
    return !m_fault.is(Fault::Kind::Silent) && m_frame.empty() && m_phase == Phase::AwaitStx && byte == kStx;
}

Bytes RadioConversation::take(std::uint8_t byte, std::optional<std::uint8_t> next)
{
    if (m_fault.is(Fault::Kind::Silent))
        return {};
    if (m_frame.empty())
        return atFrameStart(byte, next);
    m_frame.push_back(byte);
    if (m_frame.front() == kStx)
        return inProbe(byte, next);
    return inBlockCommand();
}

Bytes RadioConversation::atFrameStart(std::uint8_t byte, std::optional<std::uint8_t> next)
{
    // After the probe's ACK a lone 02 is the STX; a 02 followed by 'P' is the
    // program probing again.
    if (byte == kStx && m_phase == Phase::AwaitStx && next != kProbe[1])
        return onStx();
    if (byte == kStx) {
        m_frame.push_back(byte);
        return {};
    }
    const bool blocks = m_phase == Phase::Blocks || m_phase == Phase::AwaitReadAck;
    if (blocks && (byte == kRead || byte == kWrite)) {
        m_frame.push_back(byte);
        return {};
    }
    if (byte == kAck && m_phase == Phase::AwaitConfirm)
        return onConfirm();
    if (byte == kAck && m_phase == Phase::AwaitReadAck)
        return onReadAck();
    return {};
}

Bytes RadioConversation::inProbe(std::uint8_t byte, std::optional<std::uint8_t> next)
{
    if (byte != kProbe[m_frame.size() - 1]) {
        // Not a probe after all: the byte may begin something else.
        m_frame.clear();
        return atFrameStart(byte, next);
    }
    if (m_frame.size() < kProbe.size())
        return {};
    m_frame.clear();
    return onProbe();
}

Bytes RadioConversation::inBlockCommand()
{
    if (m_frame.size() < kCommandSize)
        return {};
    if (m_frame[3] != kBlockLength) {
        m_frame.clear();
        return {};
    }
    const auto address = static_cast<std::uint16_t>(m_frame[1] << 8 | m_frame[2]);
    if (m_frame.front() == kRead) {
        m_frame.clear();
        return onReadCommand(address);
    }
    if (m_frame.size() < kReadReplySize)
        return {};
    // A probe is recognised at any time, even where block data was expected
    // (the program may have given up in the middle of a block).
    if (std::equal(kProbe.begin(), kProbe.end(), m_frame.begin() + kCommandSize)) {
        m_frame.clear();
        return onProbe();
    }
    Bytes answer = onWriteCommand(address);
    m_frame.clear();
    return answer;
}

Bytes RadioConversation::onProbe()
{
    ++m_probesSeen;
    m_phase = Phase::Idle;
    m_blocksWritten.reset();
    m_blocksRead.reset();
    if (m_probesSeen <= m_silentProbes)
        return {};
    m_phase = Phase::AwaitStx;
    if (m_fault.is(Fault::Kind::Stray1))
        return {kStrayByte, kAck};
    if (m_fault.is(Fault::Kind::Stray2))
        return {kStrayByte, kStrayByte, kAck};
    return {kAck};
}

Bytes RadioConversation::onStx()
{
    m_phase = Phase::AwaitConfirm;
    // The radio names itself with its model block.
    Bytes identity(m_memory.data() + layout::kModelBlock, m_memory.data() + layout::kModelBlock + kIdentitySize);
    if (m_fault.is(Fault::Kind::StxNone))
        return {};
    if (m_fault.is(Fault::Kind::StxShort))
        identity.resize(kShortIdentitySize);
    if (m_fault.is(Fault::Kind::StxLong)) {
        while (identity.size() < kLongIdentitySize)
            identity.push_back(identity[identity.size() - kIdentitySize]);
    }
    return identity;
}

Bytes RadioConversation::onConfirm()
{
    if (m_fault.is(Fault::Kind::NoConfirmAck))
        return {};
    m_phase = Phase::Blocks;
    return {kAck};
}

bool RadioConversation::hangsUpAt(std::uint16_t address)
{
    if (!m_fault.is(Fault::Kind::HangUp) || address < m_fault.block * kBlockSize)
        return false;
    m_phase = Phase::HungUp;
    return true;
}

Bytes RadioConversation::onReadCommand(std::uint16_t address)
{
    if (hangsUpAt(address) || address + kBlockSize > kImageSize)
        return {};
    Bytes reply{kWrite, static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address & 0xFF),
                kBlockLength};
    reply.insert(reply.end(), m_memory.data() + address, m_memory.data() + address + kBlockSize);
    if (m_fault.atBlock(Fault::Kind::ReadReply9, address))
        reply.resize(9);
    else if (m_fault.atBlock(Fault::Kind::ReadReply10, address))
        reply.resize(10);
    else if (m_fault.atBlock(Fault::Kind::ReadReply11, address))
        reply.resize(11);
    m_phase = Phase::AwaitReadAck;
    m_readAddress = address;
    return reply;
}

Bytes RadioConversation::onReadAck()
{
    m_phase = Phase::Blocks;
    if (m_fault.atBlock(Fault::Kind::NoReadAck, m_readAddress))
        return {};
    if (m_readAddress % kBlockSize == 0)
        m_blocksRead.set(m_readAddress / kBlockSize);
    if (m_blocksRead.all()) {
        m_readCompleted = true;
        m_blocksRead.reset();
    }
    return {kAck};
}

Bytes RadioConversation::onWriteCommand(std::uint16_t address)
{
    m_phase = Phase::Blocks;
    if (hangsUpAt(address))
        return {};
    // The last 40 bytes of the memory are not writable.
    if (address + kBlockSize > layout::kWritableSize)
        return {};
    if (m_fault.atBlock(Fault::Kind::NoWriteAck, address))
        return {};
    std::copy(m_frame.begin() + kCommandSize, m_frame.end(), m_memory.data() + address);
    if (m_fault.atBlock(Fault::Kind::BadStore, address))
        m_memory[address] ^= kBadStoreBit;
    if (address % kBlockSize == 0)
        m_blocksWritten.set(address / kBlockSize);
    if (address == kLastWrittenBlock && m_blocksWritten.all()) {
        m_writeCompleted = true;
        m_blocksWritten.reset();
    }
    return {kAck};
}

}  // namespace tavin::sim
