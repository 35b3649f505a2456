// A fleet programming run: one worker thread per port (PortWorker), each with
// its own serial port and protocol, sharing the radio count, the stop
// requests and the audit log (RunControl). The caller's thread watches for
// Ctrl+C and, with --confirm, for Enter.
#pragma once

#include "CloneObserver.h"
#include "CloneOptions.h"
#include "RadioRecord.h"
#include "RunControl.h"

#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace tavin::fleet {

struct Problem {
    enum class Kind { Usage, File, Port };
    Kind kind;
    QString message;
};

class CloneRun {
public:
    CloneRun(CloneOptions options, CloneObserver &observer);
    ~CloneRun();

    // Everything that can be checked before a radio is touched: every port
    // names a device of its own and opens, the backup folder exists (it is
    // created) and takes files, the audit log can be appended to.
    std::optional<Problem> prepare();

    // "COM1 (/dev/ttyUSB0)", or the device path alone; after prepare().
    const QStringList &portLabels() const { return m_labels; }

    // Runs the ports until the count is reached, until interrupted() turns
    // true (polled about every 50 ms; every port then abandons its radio at
    // the next safe point), or until the audit log fails. Returns when every
    // port has closed its serial port.
    void run(const std::function<bool()> &interrupted);

    QList<RadioRecord> records() const { return m_control.records(); }
    QString logError() const { return m_control.logError(); }
    const CloneOptions &options() const { return m_options; }

private:
    CloneOptions m_options;
    CloneObserver &m_observer;
    RunControl m_control;
    QStringList m_labels;
};

}  // namespace tavin::fleet
