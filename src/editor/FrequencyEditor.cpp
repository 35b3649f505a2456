#include "FrequencyEditor.h"

FrequencyEditor::FrequencyEditor(QWidget *grid)
    : QLineEdit(grid)
{
    setObjectName(QString::number(kControlId));
    hide();
}

void FrequencyEditor::showCellText(const QString &cellText)
{
    setText(cellText);
    if (!cellText.isEmpty())
        selectAll();
}
