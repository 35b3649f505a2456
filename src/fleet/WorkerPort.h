// The serial port of a fleet worker as the worker needs it: the link the
// protocol talks through, and what to say when it does not open. The real
// one is a serial port; tests plug in scripted links.
#pragma once

#include "CloneObserver.h"

#include "SerialLink.h"

#include <QString>

#include <functional>
#include <memory>

namespace tavin::fleet {

class WorkerPort {
public:
    virtual ~WorkerPort() = default;
    virtual link::SerialLink &link() = 0;
    // The device the last open used, every link followed (for the records).
    virtual QString device() const = 0;
    // Why the last open failed (asked only after a failed open).
    virtual PortProblem problem() const = 0;
    // The system's words for it.
    virtual QString errorString() const = 0;
};

using WorkerPortFactory = std::function<std::unique_ptr<WorkerPort>()>;

// A serial port of this computer.
std::unique_ptr<WorkerPort> makeSerialWorkerPort();

}  // namespace tavin::fleet
