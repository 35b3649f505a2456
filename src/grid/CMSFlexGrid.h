// The channel grid: a text grid with one fixed header row and column, offering
// the few operations and events the form relies on. Positions and sizes are in
// twips (1/1440 inch) in the grid's client coordinates.
#pragma once

#include <QTableWidget>

#include <functional>

class CMSFlexGrid : public QTableWidget
{
    Q_OBJECT

public:
    static constexpr int kTwipsPerInch = 1440;
    static constexpr int kAlignCenterCenter = 4;  // the only alignment code the form uses

    explicit CMSFlexGrid(int rows, int cols, QWidget *parent = nullptr);

    // Current cell. Setting either moves it: leaveCell() is emitted while
    // row()/col() still name the old cell, then enterCell() with the new one.
    int row() const;
    int col() const;
    void setRow(int row);
    void setCol(int col);
    // Column at the far end of the selection; with one cell selected, col().
    int colSel() const;

    // How cell texts are drawn: the grid keeps each text as it was set (the
    // text operations give it back unchanged) and shows what shown() makes of
    // it, such as a data word in the user's language. Shown as set without one.
    void setTextShown(std::function<QString(const QString &)> shown);
    // The text of a cell as the grid shows it.
    QString shownTextMatrix(int row, int col) const;

    // Text of the current cell.
    QString text() const;
    void setText(const QString &text);
    QString textMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString &text);

    // Rectangle of the current cell, twips.
    int cellLeft() const;
    int cellTop() const;
    int cellWidth() const;
    int cellHeight() const;

    int colWidth(int col) const;  // twips
    void setColWidth(int col, int twips);
    void setColAlignment(int col, int code);

    // Pixels per logical inch of the grid's device, across and down.
    int pixelsPerInchX() const;
    int pixelsPerInchY() const;
    // Invalidate, erase and update at once.
    void repaintNow();

    // Width a column has until setColWidth() is called for it, twips.
    int defaultColWidth() const { return m_defaultColWidthTwips; }
    void setDefaultColWidth(int twips);

Q_SIGNALS:
    void dblClick();
    void enterCell();
    void leaveCell();
    // A character key was typed in the grid; the handler may change the code.
    void keyPress(int &keyAscii);
    // button: 1 left, 2 right, 4 middle; the current cell is already the one
    // under the pointer. x, y in twips.
    void mouseDown(int button, int shift, int x, int y);

protected:
    void changeEvent(QEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyboardSearch(const QString &search) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    bool isFixedCell(int row, int col) const { return row == 0 || col == 0; }
    QTableWidgetItem *cellItem(int row, int col) const;
    int toTwipsX(int pixels) const;
    int toTwipsY(int pixels) const;
    int toPixelsX(int twips) const;
    QRect currentCellRect() const;  // pixels, grid coordinates

    int m_row = 1;
    int m_col = 1;
    int m_defaultColWidthTwips = 960;
    QList<bool> m_colWidthSet;
    std::function<QString(const QString &)> m_shown;
};
