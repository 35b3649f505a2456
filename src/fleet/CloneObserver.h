// What a fleet run tells whoever shows it (tavin-cli's status lines, or the
// fleet window): each port's state as it changes, and each radio as it starts
// and ends. Called from the ports' worker threads, often; an observer must be
// thread-safe and quick.
#pragma once

#include "RadioRecord.h"

#include <QString>

#include <optional>

namespace tavin::fleet {

enum class PortState {
    Waiting,       // probing for a radio
    Backup,        // reading the radio into its backup
    Writing,       // writing the file
    ReadingBack,   // reading it back to compare
    RadioDone,     // the radio is finished; waiting for it to be unplugged
    Confirm,       // waiting for the go-ahead before the next radio
    PortMissing,   // the port cannot be opened; trying again
    Stopped,       // this port's worker has ended
};

// Why a port cannot be opened.
enum class PortProblem {
    None,
    NoDevice,   // no serial device is found for the port's name
    InUse,      // another program (or another window of this one) holds the device
    OpenFailed, // the system refuses it (see PortStatus::portError)
};

struct PortStatus {
    QString label;          // "COM1 (/dev/ttyUSB0)", or the device path alone
    PortState state = PortState::Waiting;
    int radio = 0;          // the radio being programmed or just finished
    int block = 0;          // blocks done in the current transfer
    int blocks = 0;         // in the current transfer (128 for a read, 123 for a write)
    int verified = 0;       // radios of this port, so far
    int failed = 0;
    // The radio just finished (RadioDone, Confirm).
    std::optional<RadioResult> lastResult;
    QString lastMessage;    // its record's message
    // PortMissing: why, with the system's words for OpenFailed and InUse.
    PortProblem problem = PortProblem::None;
    QString portError;
};

// A radio that has ended, as its port tells it.
struct RadioEnd {
    RadioRecord record;
    bool portGoesOn = false;  // the port waits for another radio
    QString logError;         // the record could not be added to the audit log
};

class CloneObserver {
public:
    virtual ~CloneObserver() = default;
    // Port number index (in the order the ports were given) has a new status.
    virtual void portChanged(int index, const PortStatus &status) = 0;
    // A radio answered on port index and got its number; its backup is being read.
    virtual void radioStarted(int index, int radio) { Q_UNUSED(index); Q_UNUSED(radio); }
    // A radio has ended, whatever the result; its record is in the audit log
    // unless end.logError says otherwise.
    virtual void radioEnded(int index, const RadioEnd &end) = 0;
    // Every port's worker has ended (from the last worker's thread).
    virtual void runEnded() {}
};

}  // namespace tavin::fleet
