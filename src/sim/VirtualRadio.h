// The radio at work: reads what the program sends over the pseudo-terminal,
// keeps the line's timing, answers through the conversation, logs every byte
// and saves its memory after each complete write.
//
// As a fleet (radioCount > 0) it plays radios that take turns on the line: a
// radio that has been written in full and then read in full (a programming
// and its read-back) is unplugged, the line is dead for swapTime, and then the
// next radio answers, with a memory of its own (RadioVariants.h). After the
// last radio the line stays dead.
#pragma once

#include "ByteLog.h"
#include "Fault.h"
#include "LinePacer.h"
#include "PseudoTerminal.h"
#include "RadioConversation.h"

#include <RadioImage.h>

#include <chrono>
#include <filesystem>
#include <optional>

namespace tavin::sim {

struct RadioSettings {
    bool paced = true;
    Fault fault;
    int silentProbes = 0;
    std::optional<std::filesystem::path> savePath;
    int radioCount = 0;  // 0: one radio that is never unplugged
    std::chrono::milliseconds swapTime{1500};
    // Each radio's memory is kept there: radio-N-original.sin when it is
    // plugged in, radio-N.sin when it is unplugged (and for the radio in place
    // when the sim stops).
    std::optional<std::filesystem::path> saveDir;
};

class VirtualRadio {
public:
    // All references must outlive the radio. memory holds the first radio's
    // memory and, later, the memory of the radio in place.
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

    void unplug(Clock::time_point now);
    void plugInNextRadio(Clock::time_point now);
    void keepRadioMemory(const char *suffix = "");
    bool waitingForNextRadio() const { return !m_present && m_radioNumber <= m_settings.radioCount; }

    PseudoTerminal &m_line;
    RadioImage &m_memory;
    RadioSettings m_settings;
    ByteLog &m_log;
    LinePacer m_pacer;
    std::optional<RadioConversation> m_conversation;
    Clock::time_point m_lastArrival;
    std::optional<Clock::time_point> m_waitForNextUntil;
    bool m_savePending = false;

    const RadioImage m_firstMemory;
    int m_radioNumber = 1;      // the radio in place, or the one to come
    bool m_present = true;      // false while the line is dead
    Clock::time_point m_nextRadioAt;
    bool m_writtenInFull = false;  // the radio in place has had a complete write
    bool m_unplugPending = false;  // ... and then a complete read
};

}  // namespace tavin::sim
