#include "CMSFlexGrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>

namespace {

// Draws each cell's text as the grid's shown() makes it.
class ShownTextDelegate final : public QStyledItemDelegate
{
public:
    explicit ShownTextDelegate(const std::function<QString(const QString &)> &shown, QObject *parent)
        : QStyledItemDelegate(parent), m_shown(shown)
    {
    }

    QString displayText(const QVariant &value, const QLocale &locale) const override
    {
        const QString text = QStyledItemDelegate::displayText(value, locale);
        return m_shown ? m_shown(text) : text;
    }

private:
    const std::function<QString(const QString &)> &m_shown;
};

int flexButtonCode(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

int flexShiftCode(Qt::KeyboardModifiers modifiers)
{
    int code = 0;
    if (modifiers & Qt::ShiftModifier)
        code |= 1;
    if (modifiers & Qt::ControlModifier)
        code |= 2;
    if (modifiers & Qt::AltModifier)
        code |= 4;
    return code;
}

}  // namespace

CMSFlexGrid::CMSFlexGrid(int rows, int cols, QWidget *parent)
    : QTableWidget(rows, cols, parent), m_colWidthSet(cols, false)
{
    // Row 0 and column 0 are the fixed header cells, kept inside the table so
    // that textMatrix() reaches them like any other cell.
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setItemDelegate(new ShownTextDelegate(m_shown, this));

    const QBrush fixedBrush = palette().button();
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            auto *item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            if (isFixedCell(r, c)) {
                item->setFlags(Qt::ItemIsEnabled);
                item->setBackground(fixedBrush);
            } else {
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            }
            setItem(r, c, item);
        }
    }
    for (int c = 0; c < cols; ++c)
        setColumnWidth(c, toPixelsX(m_defaultColWidthTwips));
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);

    if (rows > 1 && cols > 1) {
        const QSignalBlocker blocker(this);
        setCurrentCell(1, 1);
    }
}

QTableWidgetItem *CMSFlexGrid::cellItem(int row, int col) const
{
    return item(row, col);
}

int CMSFlexGrid::row() const { return m_row; }
int CMSFlexGrid::col() const { return m_col; }

void CMSFlexGrid::setRow(int row)
{
    if (row >= 1 && row < rowCount() && row != m_row)
        setCurrentCell(row, m_col);
}

void CMSFlexGrid::setCol(int col)
{
    if (col >= 1 && col < columnCount() && col != m_col)
        setCurrentCell(m_row, col);
}

int CMSFlexGrid::colSel() const
{
    return m_col;
}

void CMSFlexGrid::setTextShown(std::function<QString(const QString &)> shown)
{
    m_shown = std::move(shown);
    viewport()->update();
}

QString CMSFlexGrid::shownTextMatrix(int row, int col) const
{
    const QString text = textMatrix(row, col);
    return m_shown ? m_shown(text) : text;
}

void CMSFlexGrid::changeEvent(QEvent *event)
{
    // The shown texts may be in another language now.
    if (event->type() == QEvent::LanguageChange)
        viewport()->update();
    QTableWidget::changeEvent(event);
}

QString CMSFlexGrid::text() const
{
    return textMatrix(m_row, m_col);
}

void CMSFlexGrid::setText(const QString &text)
{
    setTextMatrix(m_row, m_col, text);
}

QString CMSFlexGrid::textMatrix(int row, int col) const
{
    const QTableWidgetItem *cell = cellItem(row, col);
    return cell ? cell->text() : QString();
}

void CMSFlexGrid::setTextMatrix(int row, int col, const QString &text)
{
    if (QTableWidgetItem *cell = cellItem(row, col))
        cell->setText(text);
}

QRect CMSFlexGrid::currentCellRect() const
{
    QRect rect = visualRect(model()->index(m_row, m_col));
    return rect.translated(viewport()->pos());
}

int CMSFlexGrid::cellLeft() const { return toTwipsX(currentCellRect().left()); }
int CMSFlexGrid::cellTop() const { return toTwipsY(currentCellRect().top()); }
int CMSFlexGrid::cellWidth() const { return toTwipsX(currentCellRect().width()); }
int CMSFlexGrid::cellHeight() const { return toTwipsY(currentCellRect().height()); }

int CMSFlexGrid::colWidth(int col) const
{
    if (col < 0 || col >= columnCount())
        return 0;
    if (!m_colWidthSet.value(col))
        return m_defaultColWidthTwips;
    return toTwipsX(columnWidth(col));
}

void CMSFlexGrid::setColWidth(int col, int twips)
{
    if (col < 0 || col >= columnCount())
        return;
    m_colWidthSet[col] = true;
    setColumnWidth(col, toPixelsX(twips));
}

void CMSFlexGrid::setDefaultColWidth(int twips)
{
    m_defaultColWidthTwips = twips;
    for (int c = 0; c < columnCount(); ++c) {
        if (!m_colWidthSet.value(c))
            setColumnWidth(c, toPixelsX(twips));
    }
}

void CMSFlexGrid::setColAlignment(int col, int code)
{
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    if (code == kAlignCenterCenter)
        alignment = Qt::AlignCenter;
    for (int r = 0; r < rowCount(); ++r) {
        if (QTableWidgetItem *cell = cellItem(r, col))
            cell->setTextAlignment(alignment);
    }
}

int CMSFlexGrid::pixelsPerInchX() const { return logicalDpiX(); }
int CMSFlexGrid::pixelsPerInchY() const { return logicalDpiY(); }

void CMSFlexGrid::repaintNow()
{
    viewport()->repaint();
    repaint();
}

int CMSFlexGrid::toTwipsX(int pixels) const { return pixels * kTwipsPerInch / logicalDpiX(); }
int CMSFlexGrid::toTwipsY(int pixels) const { return pixels * kTwipsPerInch / logicalDpiY(); }
int CMSFlexGrid::toPixelsX(int twips) const { return twips * logicalDpiX() / kTwipsPerInch; }

void CMSFlexGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableWidget::currentChanged(current, previous);
    if (!current.isValid() || isFixedCell(current.row(), current.column()))
        return;
    if (current.row() == m_row && current.column() == m_col)
        return;
    // row()/col() still name the old cell while leaveCell is handled.
    Q_EMIT leaveCell();
    m_row = current.row();
    m_col = current.column();
    Q_EMIT enterCell();
}

QModelIndex CMSFlexGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    QModelIndex index = QTableWidget::moveCursor(cursorAction, modifiers);
    if (!index.isValid())
        return index;
    // The current cell never lands on the fixed row or column.
    return model()->index(std::max(index.row(), 1), std::max(index.column(), 1));
}

void CMSFlexGrid::keyPressEvent(QKeyEvent *event)
{
    const QString typed = event->text();
    const bool withCommandKey = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    // Only what is typed on the grid itself: a key that an open in-place
    // editor (a child of the grid) leaves alone is not typed on a cell.
    if (!typed.isEmpty() && !withCommandKey && hasFocus()) {
        int keyAscii = typed.at(0).unicode();
        Q_EMIT keyPress(keyAscii);
        if (keyAscii == 0) {
            event->accept();
            return;
        }
    }
    QTableWidget::keyPressEvent(event);
}

void CMSFlexGrid::keyboardSearch(const QString &)
{
    // Typed characters belong to the form (keyPress), not to item search.
}

void CMSFlexGrid::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex pressed = indexAt(event->position().toPoint());
    if (pressed.isValid() && isFixedCell(pressed.row(), pressed.column())) {
        event->accept();
        return;
    }
    QTableWidget::mousePressEvent(event);
    const QPoint at = event->position().toPoint() + viewport()->pos();
    Q_EMIT mouseDown(flexButtonCode(event->button()), flexShiftCode(event->modifiers()), toTwipsX(at.x()),
                     toTwipsY(at.y()));
}

void CMSFlexGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QModelIndex pressed = indexAt(event->position().toPoint());
    if (pressed.isValid() && isFixedCell(pressed.row(), pressed.column())) {
        event->accept();
        return;
    }
    QTableWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        Q_EMIT dblClick();
}
