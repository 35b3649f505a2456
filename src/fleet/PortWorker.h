// One port of a fleet run, on a thread of its own with its own serial port
// and protocol: wait for a radio, program it (RadioJob), wait until it is
// unplugged (or for Enter), and again, until the run says no more radios.
#pragma once

#include "CloneObserver.h"
#include "CloneOptions.h"
#include "RadioRecord.h"
#include "RunControl.h"

#include <QString>

namespace tavin::fleet {

class WorkerUi;

class PortWorker {
public:
    PortWorker(int index, QString port, QString label, const CloneOptions &options, RunControl &control,
               CloneObserver &observer);

    // The loop; returns when the run stops or no more radios may start.
    void run();

    const QString &label() const { return m_status.label; }

private:
    struct Link;  // the serial port, protocol and ui of the worker's thread

    // Probes until a radio answers and reads its backup. False when the
    // worker should end (stopped, no more radios); *started tells whether a
    // radio was claimed (then *record and the read's outcome are set).
    bool waitForRadio(Link &link, bool *started);
    // Asks the finished radio until it stops answering. False on stop.
    bool waitUntilUnplugged(Link &link);
    // Sleeps up to ms, waking early when the run stops.
    bool idle(int ms) const;
    void finishRadio(RadioRecord &record);
    void setState(PortState state);
    void publish();

    const int m_index;
    const QString m_port;
    const CloneOptions &m_options;
    RunControl &m_control;
    CloneObserver &m_observer;
    PortStatus m_status;
};

// The one-line outcome of a radio for the status line and the notes:
// "programmed and verified", "FAILED: ...", ...
QString outcomeText(const RadioRecord &record);

}  // namespace tavin::fleet
