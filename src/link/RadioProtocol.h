// The programming conversation with the radio: the handshake, then 8-byte
// blocks in ascending address order. A read copies the radio's whole memory
// into the image; a write copies image bytes 0x000 to 0x3D7 into the radio.
//
// The pacing (pauses, pump cycles and cancel tests at fixed points, the
// port's time-outs) is part of what the radio expects and must not change.
#pragma once

#include "SerialLink.h"
#include "TransferUi.h"

#include "RadioImage.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

namespace tavin::link {

namespace wire {
inline constexpr std::uint8_t kStx = 0x02;
inline constexpr std::uint8_t kAck = 0x06;
inline constexpr std::uint8_t kReadCommand = 0x52;   // 'R'
inline constexpr std::uint8_t kWriteCommand = 0x57;  // 'W'
inline constexpr std::uint8_t kBlockLength = 0x08;
inline constexpr int kBlockSize = 8;
inline constexpr int kReadReplySize = 12;           // 4 leading bytes, then the 8 data bytes
inline constexpr int kReadReplyDataOffset = 4;
inline constexpr int kStxAnswerSize = 8;
inline constexpr int kWriteBlockCount = 123;        // 0x000 .. 0x3D0
inline constexpr int kReadBlockCount = 128;         // 0x000 .. 0x3F8
inline constexpr int kProbesPerQuestion = 15;
// STX, then the letters PROGRAM.
inline constexpr std::uint8_t kProbe[8] = {0x02, 0x50, 0x52, 0x4F, 0x47, 0x52, 0x41, 0x4D};
}  // namespace wire

class RadioProtocol {
public:
    using PauseFunction = std::function<void(std::chrono::microseconds)>;

    RadioProtocol(SerialLink &link, TransferUi &ui);

    // Replaces the precise pause (tests record the pauses instead of waiting).
    void setPauseFunction(PauseFunction pause) { m_pause = std::move(pause); }

    // Opens the port (on failure shows the open message), runs the handshake
    // and the blocks, and closes the port on every way out. A read writes each
    // block into image as it arrives; a write only reads image.
    TransferResult run(Direction direction, const QString &portName, RadioImage &image);

    // Asks whether a radio is there without touching its memory: opens the
    // port, probes as run() does (after every 15 unanswered probes the ui's
    // askRetry decides), asks for the identity reply, and closes the port
    // before the confirmation that would start a transfer. Completed when a
    // radio answered.
    TransferResult identify(const QString &portName);

    // How long a single probe waits for the radio's ACK.
    enum class ProbeWait {
        Full,   // as the handshake does: the ACK may come as the first or the second byte
        Quick,  // when the first read brings nothing, no second read: an absent radio costs
                // one read's time-out, a radio that answers late is taken for absent
    };

    // Asks whether a radio is there as quickly as the radio allows: opens
    // the port, sends one probe, waits for its ACK and closes the port,
    // without going on with the handshake. Completed when the radio
    // acknowledged, CancelledAtQuestion when it did not (no question is
    // asked), Cancelled when the ui cancelled before the probe went out.
    TransferResult probeOnce(const QString &portName, ProbeWait wait = ProbeWait::Full);

    // The radio's identity reply (the 8 bytes after STX, or fewer when the
    // radio sent fewer) from the last handshake; empty before one got that far.
    QByteArray identity() const { return m_identity; }

private:
    enum class Flow { Go, Cancelled, CancelledAtQuestion, PortOpenFailed };
    enum class Stop { AfterConfirmation, AfterIdentity };
    enum class Probe { Answered, NotAnswered, Cancelled };

    // Runs transfer with the port closed on every way out, then reports its end.
    TransferResult reported(const std::function<TransferResult()> &transfer);

    // Opens the port and runs the handshake up to stop; how the transfer
    // ends when it does not go on, nothing when it does.
    std::optional<TransferResult> begin(const QString &portName, Stop stop);
    Flow handshake(Stop stop);
    // One probe of the handshake (steps 1 to 5): whether the radio acknowledged it.
    Probe probe(int attempt, ProbeWait wait = ProbeWait::Full);
    // How a handshake that did not go on ends the transfer; nothing for Go.
    static std::optional<TransferResult> endedBy(Flow flow);
    // The Retry/Cancel question: Go for Retry (on a port opened afresh when
    // the old one is of no use any more), else how the transfer ends.
    Flow askRetry();
    TransferResult writeBlocks(const RadioImage &image);
    TransferResult readBlocks(RadioImage &image);

    // n times: a pump cycle, a cancel test, a 1 ms pause. False on cancel.
    bool waitWithPump(int cycles);
    bool isAck(const ReadResult &r) const;
    void pause(std::chrono::microseconds d) { m_pause(d); }
    void stepProgress(int limit);

    SerialLink &m_link;
    TransferUi &m_ui;
    PauseFunction m_pause;
    int m_progress = 0;
    QString m_portName;  // of the running transfer, for opening it again
    QByteArray m_identity;
};

}  // namespace tavin::link
