// The six in-place editors of the channel grid: preloading on entering a cell,
// opening over it, committing on leaving it, and the Enter walk through a
// channel. The form creates one instance at its first initial update.
#pragma once

#include <QObject>

#include <functional>
#include <memory>

class CMSFlexGrid;
class CellCommitter;
class EditorSet;
class EnterKeyWalk;
class MessageBoxSink;
class MessageSink;
class QWidget;
class TypedCharacterSeeder;

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

    // Where warnings go; nullptr restores the message boxes. The sink must
    // outlive its use here.
    void setMessageSink(MessageSink *sink);

    // The editor serving a grid column (3, 4: tone chooser; 5 to 8: the switch
    // choosers; any other column: the frequency editor).
    QWidget *editorForColumn(int col) const;

    // Opens the editor of the current cell over it, filled and focused.
    // typed: 0 when opened by the mouse, 13 by the Enter walk, 8 by Backspace
    // (the frequency editor then opens empty), otherwise the character typed
    // on the cell.
    void openCurrent(int typed);
    // An open editor goes over its cell again (the grid's columns changed).
    void placeOpenEditor();

Q_SIGNALS:
    // A cell text was changed by the user through an editor.
    void cellEdited(int row, int col);

private:
    friend class EnterKeyWalk;

    void onEnterCell();
    // Fills the current column's editor from the current cell.
    void preloadCurrent();
    void onLeaveCell();
    void onDblClick();
    void onMouseDown(int button, int shift, int x, int y);
    void onKeyPress(int &keyAscii);
    // Escape in an open editor puts the cell's text back into it; the editor
    // stays open (no key abandons an edit). Tab and Shift+Tab commit it as
    // leaving the cell does and move on to the next or previous cell, past the
    // last or first cell to the control after or before the grid; in a
    // chooser's open list they take the item moved to first.
    bool eventFilter(QObject *watched, QEvent *event) override;
    void restoreCellText();
    void tabOut(int step);
    // Hides one editor; the grid takes the keyboard focus if the editor had it.
    void hideEditor(QWidget *editor);
    void placeOverCurrentCell(QWidget *editor);

    CMSFlexGrid *m_grid = nullptr;
    const tavin::ToneTable &m_tones;
    std::function<int()> m_bandSelection;
    QWidget *m_form = nullptr;
    std::unique_ptr<EditorSet> m_editors;
    std::unique_ptr<MessageBoxSink> m_messageBoxes;
    std::unique_ptr<CellCommitter> m_committer;
    std::unique_ptr<TypedCharacterSeeder> m_seeder;
    EnterKeyWalk *m_enterWalk = nullptr;
};
