// The radio at work: reads what the program sends over the pseudo-terminal,
// keeps the line's timing, answers through the conversation, logs every byte
// and saves its memory after each complete write.
#pragma once

#include "ByteLog.h"
#include "Fault.h"
#include "LinePacer.h"
#include "PseudoTerminal.h"
#include "RadioConversation.h"

#include <RadioImage.h>

#include <filesystem>
#include <optional>

namespace tavin::sim {

struct RadioSettings {
    bool paced = true;
    Fault fault;
    int silentProbes = 0;
    std::optional<std::filesystem::path> savePath;
};

class VirtualRadio {
public:
    // All references must outlive the radio.
    VirtualRadio(PseudoTerminal &line, RadioImage &memory, const RadioSettings &settings, ByteLog &log);

    // Serves transfers until stopFd becomes readable. False when the line
    // itself fails.
    bool run(int stopFd);

private:
    void answerArrivedBytes(Clock::time_point now);
    bool sendDueBytes(Clock::time_point now);
    void saveMemory();
    bool receive();
    std::optional<Clock::time_point> nextDeadline() const;

    PseudoTerminal &m_line;
    RadioImage &m_memory;
    RadioSettings m_settings;
    ByteLog &m_log;
    LinePacer m_pacer;
    RadioConversation m_conversation;
    Clock::time_point m_lastArrival;
    std::optional<Clock::time_point> m_waitForNextUntil;
    bool m_savePending = false;
};

}  // namespace tavin::sim
