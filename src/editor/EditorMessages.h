// The warnings of cell editing, and the seam through which they reach the user:
// message boxes in the program, a recorder in the tests.
#pragma once

#include "FrequencyEntry.h"

#include <QString>

class QWidget;

struct EditorMessage {
    enum class Icon { Information, Warning };
    Icon icon = Icon::Warning;
    QString caption;
    QString text;
};

class MessageSink
{
public:
    virtual ~MessageSink() = default;
    // Shows the message modally over parent and returns when it is dismissed.
    virtual void show(QWidget *parent, const EditorMessage &message) = 0;
};

// The program's own sink: a modal message box with an OK button.
class MessageBoxSink final : public MessageSink
{
public:
    void show(QWidget *parent, const EditorMessage &message) override;
};

// The warning of a failed frequency rule.
EditorMessage frequencyEntryMessage(tavin::EntryMessage message);

// A non-digit typed on a frequency cell.
EditorMessage pleaseInputNumberMessage();
