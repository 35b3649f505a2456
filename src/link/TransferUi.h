// What the programming protocol needs of whoever runs it: the desktop
// program's progress dialog, the command-line tool, or a test script.
#pragma once

#include "TransferResult.h"

#include <QByteArray>
#include <QString>

namespace tavin::link {

class TransferUi {
public:
    virtual ~TransferUi() = default;

    // The status line ("等待对讲机响应....", then the block count).
    virtual void setStatusText(const QString &text) = 0;
    // The progress bar position, 0 to kProgressMaximum.
    virtual void setProgress(int position) = 0;
    // True once the user asked to stop; tested at the protocol's fixed points.
    virtual bool cancelRequested() = 0;
    // One pump cycle: handle at most one waiting event, never wait.
    virtual void pumpOnce() = 0;
    // A message with an OK button; returns when it is dismissed.
    virtual void showMessage(const QString &text) = 0;
    // A question with Retry and Cancel buttons; true for Retry.
    virtual bool askRetry(const QString &text) = 0;

    // What the transfer does, as events in the order they happen, for a user
    // that follows the transfer rather than shows its texts. The defaults
    // ignore them.
    //
    // A probe is about to go out; attempt counts from 1 since the start and
    // since the last Retry.
    virtual void probeStarted(int attempt) { Q_UNUSED(attempt); }
    // The radio acknowledged a probe and sent its identity (the 8 bytes after
    // STX, or fewer when fewer came).
    virtual void radioAnswered(const QByteArray &identity) { Q_UNUSED(identity); }
    // One more block was stored (a read) or acknowledged (a write): done of
    // total (128 for a read, 123 for a write).
    virtual void blockDone(int done, int total)
    {
        Q_UNUSED(done);
        Q_UNUSED(total);
    }
    // The transfer has ended, whichever way, and the port is closed.
    virtual void transferEnded(const TransferResult &result) { Q_UNUSED(result); }
};

// The progress bar runs from 0 to this, in steps of 1.
inline constexpr int kProgressMaximum = 123;

}  // namespace tavin::link
