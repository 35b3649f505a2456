// Writes what an open editor holds into the grid: a frequency through the
// entry rules (with their warnings and the row's consistency), a tone through
// the tone table, a switch as the chooser's word.
#pragma once

#include "Codec.h"
#include "FrequencyEntry.h"

#include <QString>

#include <functional>

class CMSFlexGrid;
class EditorSet;
class MessageSink;
class QWidget;

namespace tavin {
class ToneTable;
}

class CellCommitter
{
public:
    using CellChanged = std::function<void(int row, int col)>;

    CellCommitter(CMSFlexGrid *grid, const EditorSet &editors, const tavin::ToneTable &tones,
                  std::function<int()> bandSelection, QWidget *form, CellChanged cellChanged);

    void setMessageSink(MessageSink *sink) { m_sink = sink; }

    // The current cell is being left (or a save or transfer starts) while the
    // editor of its column is open: commit its text into the cell. A refused
    // frequency leaves the cell as it was. The caller hides the editor.
    void commitLeaving();

    // Enter in the frequency editor. Returns true when the entry was refused:
    // the cell is unchanged and the editor stays open with the focus, showing
    // the cell's text selected, so that typing replaces it; false when the
    // entry was committed and the walk may move on.
    bool commitFrequencyOnEnter();
    // Enter in a switch chooser: its word goes into a channel in use; an empty
    // channel's cell is left alone.
    void commitListOnEnter(int column);
    // Enter with the tone chooser open.
    void commitToneOnEnter();

    bool currentChannelEmpty() const;

private:
    tavin::ChannelTexts readRow(int row) const;
    void writeRow(int row, const tavin::ChannelTexts &before, const tavin::ChannelTexts &after);
    void writeCell(int row, int col, const QString &text);
    void commitFrequency(const std::string &entry);
    QString toneValue() const;
    void showMessages(const std::vector<tavin::EntryMessage> &messages);

    CMSFlexGrid *m_grid = nullptr;
    const EditorSet &m_editors;
    const tavin::ToneTable &m_tones;
    std::function<int()> m_bandSelection;
    QWidget *m_form = nullptr;
    CellChanged m_cellChanged;
    MessageSink *m_sink = nullptr;
};
