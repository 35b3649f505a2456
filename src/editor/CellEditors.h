// The six in-place editors of the channel grid: preloading on entering a cell,
// opening over it, committing on leaving it, and the Enter walk through a
// channel. The form creates one instance at its first initial update.
#pragma once

#include <QObject>

#include <functional>

class CMSFlexGrid;
class QWidget;

namespace tavin {
class ToneTable;
}

class CellEditors : public QObject
{
    Q_OBJECT

public:
    // bandSelection: the band box's current selection index (-1 for none).
    // form: the window whose Enter keys are examined and which owns messages.
    CellEditors(CMSFlexGrid *grid, const tavin::ToneTable &tones,
                std::function<int()> bandSelection, QWidget *form);
    ~CellEditors() override;

    // Hide all six without committing (new or opened document).
    void hideAll();
    // Hide the frequency editor, the tone chooser and the busy-lock chooser
    // without committing (a change of the model box).
    void hideForModelChange();
    // Commit the open editor of the current cell as leaving the cell would
    // (before a transfer or a save); does nothing when no editor is open.
    void commitCurrent();

Q_SIGNALS:
    // A cell text was changed by the user through an editor.
    void cellEdited(int row, int col);

private:
    CMSFlexGrid *m_grid = nullptr;
    const tavin::ToneTable &m_tones;
    std::function<int()> m_bandSelection;
    QWidget *m_form = nullptr;
};
