// A character typed on a grid cell opens its editor already holding that
// character. The system clipboard is never touched: the editors are seeded
// directly.
#pragma once

#include <QChar>
#include <QString>

class CellChooser;
class FrequencyEditor;
class MessageSink;
class QWidget;

class TypedCharacterSeeder
{
public:
    explicit TypedCharacterSeeder(QWidget *form) : m_form(form) {}

    void setMessageSink(MessageSink *sink) { m_sink = sink; }

    // A digit replaces whatever the cell held. Anything else typed on a
    // frequency cell first warns "Please input Number" (printable characters
    // only); the editor then holds the character when the cell had a
    // frequency (the entry rules refuse it on commit) and nothing when it was
    // empty.
    void seedFrequency(FrequencyEditor *editor, int column, QChar typed, const QString &cellText);
    // The tone chooser's text field becomes the character alone; the fixed
    // lists keep their preloaded choice.
    void seedChooser(CellChooser *chooser, QChar typed);

private:
    QWidget *m_form = nullptr;
    MessageSink *m_sink = nullptr;
};
