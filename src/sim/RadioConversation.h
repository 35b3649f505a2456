// The radio's side of the programming conversation, byte by byte, without any
// timing: the caller hands over each byte from the program once it has fully
// arrived on the line and sends back whatever answer this returns.
//
//   probe 02 'P' 'R' 'O' 'G' 'R' 'A' 'M'  -> 06 (at any time: starts over)
//   02 (STX)                              -> 8 identity bytes
//   06 (confirmation)                     -> 06
//   52 hi lo 08                           -> 57 hi lo 08 + the 8 bytes at hi:lo
//   06 (the program's acknowledgement)    -> 06
//   57 hi lo 08 + 8 data bytes            -> stored, 06 (refused at 0x3D8 and above)
//
// Anything else is ignored.
#pragma once

#include "Fault.h"

#include <RadioImage.h>

#include <bitset>
#include <cstdint>
#include <optional>
#include <vector>

namespace tavin::sim {

using Bytes = std::vector<std::uint8_t>;

class RadioConversation {
public:
    // memory must outlive the conversation; the radio reads and writes it.
    RadioConversation(RadioImage &memory, Fault fault, int silentProbes);

    // One byte from the program. next is the byte that follows it when that one
    // has already come in (it tells a lone STX from the start of a probe).
    Bytes take(std::uint8_t byte, std::optional<std::uint8_t> next);

    // True when byte, coming next, would be a lone STX if nothing follows it but
    // the start of a probe if 'P' does: worth waiting a moment for the next byte.
    bool needsNextByte(std::uint8_t byte) const;

    // True while part of a frame is held, waiting for its remaining bytes.
    bool inFrame() const { return !m_frame.empty(); }
    // Forgets a frame whose remaining bytes never came.
    void dropPartialFrame() { m_frame.clear(); }

    // True once after each complete write (every block up to 0x3D0 acknowledged
    // since the last probe).
    bool takeCompletedWrite();
    // True once after each complete read (all 128 blocks sent and their
    // acknowledgements answered since the last probe).
    bool takeCompletedRead();

    int probesSeen() const { return m_probesSeen; }

private:
    enum class Phase { Idle, AwaitStx, AwaitConfirm, Blocks, AwaitReadAck, HungUp };

    Bytes atFrameStart(std::uint8_t byte, std::optional<std::uint8_t> next);
    Bytes inProbe(std::uint8_t byte, std::optional<std::uint8_t> next);
    Bytes inBlockCommand();
    Bytes onProbe();
    Bytes onStx();
    Bytes onConfirm();
    Bytes onReadCommand(std::uint16_t address);
    Bytes onReadAck();
    Bytes onWriteCommand(std::uint16_t address);
    bool hangsUpAt(std::uint16_t address);

    RadioImage &m_memory;
    Fault m_fault;
    int m_silentProbes = 0;
    int m_probesSeen = 0;
    Phase m_phase = Phase::Idle;
    Bytes m_frame;
    std::uint16_t m_readAddress = 0;
    std::bitset<123> m_blocksWritten;
    bool m_writeCompleted = false;
    std::bitset<128> m_blocksRead;
    bool m_readCompleted = false;
};

}  // namespace tavin::sim
