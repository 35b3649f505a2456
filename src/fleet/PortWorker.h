// One port of a fleet run, on a thread of its own with its own serial port
// and protocol: wait for a radio, program it (RadioJob), wait until it is
// unplugged (or for the go-ahead), and again, until the run says no more
// radios.
#pragma once

#include "CloneObserver.h"
#include "CloneOptions.h"
#include "RadioRecord.h"
#include "RunControl.h"
#include "WorkerPort.h"

#include "RadioProtocol.h"

#include <QString>

#include <chrono>

namespace tavin::fleet {

// How the workers reach their ports and how long they wait; tests replace
// the ports with scripted links and shorten the waits.
struct WorkerSetup {
    WorkerPortFactory makePort = makeSerialWorkerPort;
    // Empty: the protocol's own precise pauses.
    link::RadioProtocol::PauseFunction pause;
    // A port that cannot be opened (a USB adapter pulled out) is tried again this often.
    std::chrono::milliseconds portRetry{2000};
    // A finished radio is probed this often until it is unplugged: often
    // enough that a swap of half a second falls between two probes.
    std::chrono::milliseconds unplugPoll{200};
};

class PortWorker {
public:
    PortWorker(int index, QString port, QString label, const CloneOptions &options, const WorkerSetup &setup,
               RunControl &control, CloneObserver &observer);

    // The loop; returns when the run stops or no more radios may start.
    void run();

    const QString &label() const { return m_status.label; }

private:
    struct Link;  // the serial port, protocol and ui of the worker's thread

    // Probes until a radio answers and reads its backup. False when the
    // worker should end (stopped, no more radios); *started tells whether a
    // radio was claimed (then *record and the read's outcome are set).
    bool waitForRadio(Link &link, bool *started);
    // The port does not open: says why, and waits before it is tried again.
    bool portMissing(Link &link);
    // Probes the finished radio until it stops answering. False on stop.
    bool waitUntilUnplugged(Link &link);
    // Sleeps up to ms, waking early when the run stops.
    bool idle(std::chrono::milliseconds ms) const;
    void finishRadio(RadioRecord &record);
    void setState(PortState state);
    void publish();

    const int m_index;
    const QString m_port;
    const CloneOptions &m_options;
    const WorkerSetup &m_setup;
    RunControl &m_control;
    CloneObserver &m_observer;
    PortStatus m_status;
};

}  // namespace tavin::fleet
