// The six in-place editors of the channel grid, created once as hidden
// children of the grid, and which of them serves which column.
#pragma once

#include <QFont>
#include <QList>

#include <array>

class CellChooser;
class FrequencyEditor;
class QWidget;

namespace tavin {
class ToneTable;
}

class EditorSet
{
public:
    // font: the form's font, given to every editor before its list is filled.
    EditorSet(QWidget *grid, const tavin::ToneTable &tones, const QFont &font);

    FrequencyEditor *frequency() const { return m_frequency; }
    CellChooser *tone() const { return m_tone; }
    CellChooser *busyLock() const { return m_lists[0]; }
    CellChooser *bandwidth() const { return m_lists[1]; }
    CellChooser *scan() const { return m_lists[2]; }
    CellChooser *power() const { return m_lists[3]; }

    // Grid column to editor: 3 and 4 the tone chooser, 5 to 8 the lists, every
    // other column the frequency editor.
    QWidget *forColumn(int column) const;
    CellChooser *chooserForColumn(int column) const;  // nullptr for the frequency editor
    QList<QWidget *> all() const;

    // The editor that holds the keyboard focus, or nullptr.
    QWidget *withFocus() const;

private:
    FrequencyEditor *m_frequency = nullptr;
    CellChooser *m_tone = nullptr;
    std::array<CellChooser *, 4> m_lists{};
};
