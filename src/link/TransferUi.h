// What the programming protocol needs of whoever runs it: the desktop
// program's progress dialog, the command-line tool, or a test script.
#pragma once

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
};

// The progress bar runs from 0 to this, in steps of 1.
inline constexpr int kProgressMaximum = 123;

}  // namespace tavin::link
