// A fleet programming run: one worker thread per port (PortWorker), each with
// its own serial port and protocol, sharing the radio count, the stop
// requests and the audit log (RunControl). Whoever shows the run (tavin-cli,
// the fleet window) starts it, hears of it through its CloneObserver, and may
// stop it, let it finish, or give a waiting port the go-ahead; none of that
// touches a terminal or a window.
#pragma once

#include "CloneObserver.h"
#include "CloneOptions.h"
#include "PortWorker.h"
#include "RadioRecord.h"
#include "RunControl.h"

#include <QStringList>

#include <atomic>
#include <memory>
#include <optional>
#include <vector>

class QThread;

namespace tavin::fleet {

struct Problem {
    enum class Kind { Usage, File, Port };
    // What is wrong, for front ends that word it themselves.
    enum class Cause {
        NoPort,        // no port given
        NoDevice,      // ports.at(0) stands for no device
        SameDevice,    // ports.at(0) and ports.at(1) are one device
        PortOpen,      // ports.at(0) does not open (detail: why)
        LogIsFile,     // the audit log would be the channel file
        BackupFolder,  // the backup folder cannot be made (detail: why)
        BackupFiles,   // the backup folder takes no files (detail)
        Log,           // the audit log cannot be appended to (detail)
    };
    Kind kind;
    QString message;      // in tavin-cli's words
    Cause cause = Cause::NoPort;
    QStringList ports;    // the labels of the ports concerned
    QString detail;       // the system's words, where there are any
};

class CloneRun {
public:
    CloneRun(CloneOptions options, CloneObserver &observer, WorkerSetup setup = {});
    // Stops a run still going (at the next safe point) and waits for its ports.
    ~CloneRun();
    CloneRun(const CloneRun &) = delete;
    CloneRun &operator=(const CloneRun &) = delete;

    // Everything that can be checked before a radio is touched: every port
    // names a device of its own (two names of one device are refused, by the
    // device's identity) and opens, the backup folder exists (it is created)
    // and takes files, the audit log can be appended to.
    std::optional<Problem> prepare();

    // "COM1 (/dev/ttyUSB0)", or the device path alone; after prepare().
    const QStringList &portLabels() const { return m_labels; }
    // The index of the run's port that is the device name leads to (a port
    // name or a device path, as the run's ports are given), or -1; after prepare().
    int portIndexOf(const QString &name) const;

    // Starts a worker for every port; after prepare(), once. The run ends by
    // itself when the count is reached or the audit log fails.
    void start();
    // Every port abandons its radio at the next safe point (Ctrl+C, Stop).
    void stop();
    bool stopping() const { return m_control.cancelled(); }
    // No new radio starts; radios under way are finished.
    void finish();
    // Waits up to ms for every port to have closed its serial port (-1: for
    // ever); true when they all have (or the run never started).
    bool wait(int ms = -1);
    bool isRunning() const;

    // Confirming each radio: the port waiting longest goes on / port index
    // goes on. False when no such port is waiting.
    bool goAhead() { return m_control.goAhead(); }
    bool goAhead(int index) { return m_control.goAhead(index); }
    QList<int> portsWaitingForGoAhead() const { return m_control.portsWaitingForEnter(); }

    QList<RadioRecord> records() const { return m_control.records(); }
    QString logError() const { return m_control.logError(); }
    const CloneOptions &options() const { return m_options; }

private:
    CloneOptions m_options;
    CloneObserver &m_observer;
    WorkerSetup m_setup;
    RunControl m_control;
    QStringList m_labels;
    QStringList m_identities;
    std::vector<std::unique_ptr<PortWorker>> m_workers;
    std::vector<std::unique_ptr<QThread>> m_threads;
    std::atomic<int> m_running{0};
};

}  // namespace tavin::fleet
