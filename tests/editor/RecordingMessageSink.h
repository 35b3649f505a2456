// Collects the editors' warnings instead of showing message boxes.
#pragma once

#include "EditorMessages.h"

#include <QList>
#include <QStringList>

class RecordingMessageSink final : public MessageSink
{
public:
    void show(QWidget *, const EditorMessage &message) override { shown.append(message); }

    QStringList texts() const
    {
        QStringList list;
        for (const EditorMessage &message : shown)
            list << message.text;
        return list;
    }

    QList<EditorMessage> shown;
};
