// The one-line text box over a receive or transmit frequency cell.
#pragma once

#include <QLineEdit>

class FrequencyEditor final : public QLineEdit
{
    Q_OBJECT

public:
    static constexpr int kControlId = 61446;

    explicit FrequencyEditor(QWidget *grid);

    // Entering a cell: the editor starts from the cell's text.
    void preload(const QString &cellText) { setText(cellText); }
    // Opened without a typed character: the cell's text, all of it selected so
    // that typing replaces it.
    void showCellText(const QString &cellText);
};
