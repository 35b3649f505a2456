// What the ports of a fleet run share: the radio count, the stop requests,
// the audit log and the queue of ports waiting for the go-ahead (Enter on the
// command line, a port's button in the window). Every member is safe to call
// from any thread.
#pragma once

#include "RadioRecord.h"

#include "FileResult.h"

#include <QList>
#include <QMutex>
#include <QString>
#include <QWaitCondition>

#include <atomic>
#include <deque>
#include <functional>
#include <optional>

namespace tavin::fleet {

class RunControl {
public:
    // count: radios in total, 0 for no limit; logPath: the audit log.
    RunControl(int count, QString logPath);

    // Ctrl+C: every port abandons its radio at the next safe point.
    void cancel();
    bool cancelled() const { return m_cancelled.load(); }
    // No new radio starts; radios under way are finished.
    void finish();
    // True when a port must not start another radio (cancelled, finishing, or
    // the count reached).
    bool noNewRadios() const;

    // The sequence number for a radio that has just answered, or nullopt when
    // no new radio may start.
    std::optional<int> claimRadio();

    // Appends the record to the audit log, synced to the disk, and keeps it
    // for the summary. A log that cannot be written stops new radios.
    FileResult keep(const RadioRecord &record);
    QList<RadioRecord> records() const;
    // The first error writing the log, if any.
    QString logError() const;

    // Confirming each radio: port index waits for the go-ahead; false when
    // the run stops first. waiting (when given) is called once the port is
    // in the queue, so a go-ahead for it counts from then on.
    bool waitForGoAhead(int index, const std::function<void()> &waiting = {});
    // Enter was pressed: the port that has waited longest goes on. False when
    // no port is waiting.
    bool goAhead();
    // Port index goes on; false when it is not waiting.
    bool goAhead(int index);
    // The ports waiting for Enter, the one waiting longest first.
    QList<int> portsWaitingForEnter() const;

private:
    const int m_count;
    const QString m_logPath;
    std::atomic<bool> m_cancelled{false};
    std::atomic<bool> m_finishing{false};
    std::atomic<int> m_claimed{0};
    QMutex m_logMutex;  // one record at a time goes to the disk
    mutable QMutex m_mutex;
    QWaitCondition m_changed;
    QList<RadioRecord> m_records;
    QString m_logError;
    std::deque<int> m_waiting;   // ports waiting for Enter, oldest first
    std::deque<int> m_released;  // ports let go, not yet woken

    bool countReached() const { return m_count > 0 && m_claimed.load() >= m_count; }
};

}  // namespace tavin::fleet
