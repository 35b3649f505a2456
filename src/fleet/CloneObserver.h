// What a fleet run tells whoever shows it (the command line's status lines,
// or a window): each port's state, and the lines worth keeping. Called from
// the ports' worker threads, often; an observer must be thread-safe and quick.
#pragma once

#include <QString>

namespace tavin::fleet {

enum class PortState {
    Waiting,       // probing for a radio
    Backup,        // reading the radio into its backup
    Writing,       // writing the file
    ReadingBack,   // reading it back to compare
    RadioDone,     // the radio is finished; waiting for it to be unplugged
    Confirm,       // waiting for Enter before the next radio
    PortMissing,   // the port cannot be opened; trying again
    Stopped,       // this port's worker has ended
};

struct PortStatus {
    QString label;          // "COM1 (/dev/ttyUSB0)", or the device path alone
    PortState state = PortState::Waiting;
    int radio = 0;          // the radio being programmed or just finished
    int block = 0;          // of the current transfer, from 1
    int blocks = 0;         // in the current transfer (128 for a read, 123 for a write)
    int verified = 0;       // radios of this port, so far
    int failed = 0;
    QString note;           // the outcome of the radio just finished, or the port's error
};

// The status as one line: "waiting for a radio on COM1 (/dev/ttyUSB0)",
// "radio 4 on COM1 (/dev/ttyUSB0): writing block 57 of 123", ..., with the
// port's counts. Without withBlock the line names the step only ("writing").
QString statusLine(const PortStatus &status, bool withBlock = true);

class CloneObserver {
public:
    virtual ~CloneObserver() = default;
    // Port number index (in the order the ports were given) has a new status.
    virtual void portChanged(int index, const PortStatus &status) = 0;
    // A line to keep in the scroll-back: a radio's outcome, an error, a prompt.
    virtual void note(const QString &line) = 0;
    // The terminal echoed an Enter typed for --confirm: the cursor is a line lower.
    virtual void enterEchoed() {}
};

}  // namespace tavin::fleet
