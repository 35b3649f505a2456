#include "CellChooser.h"

#include <QLineEdit>

CellChooser::CellChooser(int controlId, bool editable, const QFont &font, const QStringList &items, QWidget *grid)
    : FocusedComboBox(grid), m_controlId(controlId), m_items(items)
{
    // The font first: a font change re-measures every entry of the list.
    setFont(font);
    setObjectName(QString::number(controlId));
    setEditable(editable);
    if (editable) {
        // What the user types stays as typed: no completion from the list and
        // no new list entries.
        setCompleter(nullptr);
        setInsertPolicy(QComboBox::NoInsert);
    }
    hide();
}

void CellChooser::ensureFilled()
{
    if (m_filled)
        return;
    m_filled = true;
    addItems(m_items);
}

void CellChooser::showPopup()
{
    ensureFilled();
    FocusedComboBox::showPopup();
}

void CellChooser::preload(const QString &cellText)
{
    ensureFilled();
    int index = 0;
    for (int i = 0; i < count(); ++i) {
        if (itemText(i).startsWith(cellText, Qt::CaseInsensitive)) {
            index = i;
            break;
        }
    }
    setCurrentIndex(index);
    if (isEditable())
        setEditText(itemText(index));
}

void CellChooser::seed(QChar typed)
{
    if (!isEditable())
        return;
    setEditText(QString(typed));
    lineEdit()->deselect();
    lineEdit()->setCursorPosition(1);
}

void CellChooser::selectText()
{
    if (isEditable())
        lineEdit()->selectAll();
}
