#include "CellEditors.h"

#include "CMSFlexGrid.h"
#include "CellChooser.h"
#include "CellCommitter.h"
#include "EditorMessages.h"
#include "EditorPlacement.h"
#include "EditorSet.h"
#include "EnterKeyWalk.h"
#include "FrequencyEditor.h"
#include "TypedCharacterSeeder.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace {
constexpr int kRightButton = 2;
constexpr int kBandwidthColumn = 6;
constexpr int kOpenedByMouse = 0;
constexpr int kBackspace = 8;
constexpr int kOpenedByEnter = 13;
constexpr int kLastChannelRow = 16;
constexpr int kLastColumn = 8;

// Escape, Backspace, Delete and the other codes that type nothing.
bool isControlCharacter(int code)
{
    return QChar(static_cast<char16_t>(code)).category() == QChar::Other_Control;
}
}  // namespace

CellEditors::CellEditors(CMSFlexGrid *grid, const tavin::ToneTable &tones,
                         std::function<int()> bandSelection, QWidget *form)
    : QObject(form),
      m_grid(grid),
      m_tones(tones),
      m_bandSelection(std::move(bandSelection)),
      m_form(form),
      m_editors(std::make_unique<EditorSet>(grid, tones, form ? form->font() : grid->font())),
      m_messageBoxes(std::make_unique<MessageBoxSink>()),
      m_committer(std::make_unique<CellCommitter>(
          grid, *m_editors, tones, [this] { return m_bandSelection ? m_bandSelection() : -1; }, form,
          [this](int row, int col) { Q_EMIT cellEdited(row, col); })),
      m_seeder(std::make_unique<TypedCharacterSeeder>(form))
{
    setMessageSink(nullptr);

    connect(m_grid, &CMSFlexGrid::enterCell, this, &CellEditors::onEnterCell);
    connect(m_grid, &CMSFlexGrid::leaveCell, this, &CellEditors::onLeaveCell);
    connect(m_grid, &CMSFlexGrid::dblClick, this, &CellEditors::onDblClick);
    connect(m_grid, &CMSFlexGrid::mouseDown, this, &CellEditors::onMouseDown);
    connect(m_grid, &CMSFlexGrid::keyPress, this, &CellEditors::onKeyPress);

    m_enterWalk = new EnterKeyWalk(*this, form);

    for (QWidget *editor : m_editors->all()) {
        editor->installEventFilter(this);
        // A chooser's open list has the keys while it shows.
        if (auto *chooser = qobject_cast<CellChooser *>(editor))
            chooser->view()->installEventFilter(this);
    }
    if (QWidget *field = m_editors->tone()->lineEdit())
        field->installEventFilter(this);
}

CellEditors::~CellEditors() = default;

void CellEditors::setMessageSink(MessageSink *sink)
{
    MessageSink *used = sink ? sink : m_messageBoxes.get();
    m_committer->setMessageSink(used);
    m_seeder->setMessageSink(used);
}

QWidget *CellEditors::editorForColumn(int col) const
{
    return m_editors->forColumn(col);
}

void CellEditors::hideEditor(QWidget *editor)
{
    if (!editor->isVisible())
        return;
    if (auto *chooser = qobject_cast<CellChooser *>(editor))
        chooser->hidePopup();
    if (m_editors->withFocus() == editor)
        m_grid->setFocus(Qt::OtherFocusReason);
    editor->hide();
}

void CellEditors::hideAll()
{
    for (QWidget *editor : m_editors->all())
        hideEditor(editor);
    m_editors->frequency()->clear();
}

void CellEditors::hideForModelChange()
{
    hideEditor(m_editors->frequency());
    hideEditor(m_editors->tone());
    hideEditor(m_editors->busyLock());
}

void CellEditors::commitCurrent()
{
    onLeaveCell();
}

void CellEditors::onLeaveCell()
{
    if (m_grid->row() == 0)
        return;
    QWidget *editor = m_editors->forColumn(m_grid->col());
    if (!editor->isVisible())
        return;
    m_committer->commitLeaving();
    hideEditor(editor);
}

void CellEditors::onEnterCell()
{
    if (m_grid->row() != 0)
        preloadCurrent();
}

void CellEditors::preloadCurrent()
{
    const QString text = m_grid->text();
    if (CellChooser *chooser = m_editors->chooserForColumn(m_grid->col()))
        chooser->preload(text);
    else
        m_editors->frequency()->preload(text);
}

void CellEditors::onDblClick()
{
    if (m_grid->row() != 0 && m_grid->col() != 0)
        openCurrent(kOpenedByMouse);
}

void CellEditors::onMouseDown(int button, int, int, int)
{
    if (button != kRightButton && m_grid->row() != 0 && m_grid->col() != 0)
        openCurrent(kOpenedByMouse);
}

void CellEditors::onKeyPress(int &keyAscii)
{
    if (m_grid->row() == 0 || m_grid->col() == 0 || m_grid->col() == kBandwidthColumn)
        return;
    // A control character never becomes editor text: Escape is the user's
    // cancel and must change nothing. Backspace starts the edit from an empty
    // frequency, as spreadsheets do; the others open nothing.
    if (isControlCharacter(keyAscii) && keyAscii != kBackspace)
        return;
    openCurrent(keyAscii);
    keyAscii = 0;  // the key now belongs to the editor
}

bool CellEditors::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const bool commandKey = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const bool backTab = key->key() == Qt::Key_Backtab || (key->key() == Qt::Key_Tab && (key->modifiers() & Qt::ShiftModifier));
    const bool tab = !commandKey && (key->key() == Qt::Key_Tab || backTab);
    if (key->key() != Qt::Key_Escape && !tab)
        return false;
    QWidget *editor = m_editors->forColumn(m_grid->col());
    auto *target = qobject_cast<QWidget *>(watched);
    CellChooser *chooser = m_editors->chooserForColumn(m_grid->col());
    const bool inOpenList = chooser && target == chooser->view();
    if (!editor->isVisible() || !target || (target != editor && !editor->isAncestorOf(target) && !inOpenList))
        return false;
    if (!tab) {
        if (inOpenList)
            return false;  // Escape closes the list, as in any drop-down
        restoreCellText();
        return true;
    }
    if (inOpenList) {
        // The item moved to in the open list is the choice, as Enter takes it.
        const int row = chooser->view()->currentIndex().row();
        chooser->hidePopup();
        if (row >= 0)
            chooser->setCurrentIndex(row);
    }
    tabOut(backTab ? -1 : 1);
    return true;
}

void CellEditors::tabOut(int step)
{
    onLeaveCell();  // the grid now has the focus
    int row = m_grid->row();
    int col = m_grid->col() + step;
    if (col > kLastColumn) {
        col = 1;
        ++row;
    } else if (col < 1) {
        col = kLastColumn;
        --row;
    }
    if (row < 1 || row > kLastChannelRow) {
        // Past the first or the last cell: on to the control before or after the grid.
        QKeyEvent key(QEvent::KeyPress, step > 0 ? Qt::Key_Tab : Qt::Key_Backtab, Qt::NoModifier);
        QCoreApplication::sendEvent(m_grid, &key);
        return;
    }
    m_grid->setRow(row);
    m_grid->setCol(col);
}

void CellEditors::restoreCellText()
{
    const QString cellText = m_grid->text();
    if (CellChooser *chooser = m_editors->chooserForColumn(m_grid->col())) {
        chooser->hidePopup();
        chooser->preload(cellText);
        chooser->selectText();
    } else {
        m_editors->frequency()->showCellText(cellText);
    }
}

void CellEditors::openCurrent(int typed)
{
    const int col = m_grid->col();
    if (m_grid->row() == 0 || col == 0)
        return;
    QWidget *editor = m_editors->forColumn(col);
    CellChooser *chooser = m_editors->chooserForColumn(col);
    const QString cellText = m_grid->text();

    // A closed editor starts again from the cell: a new document or a read
    // from the radio may have changed it since the cell became current.
    if (!editor->isVisible())
        preloadCurrent();

    // Only a printable character is put into the editor.
    const bool seeded = typed != kOpenedByMouse && !isControlCharacter(typed);
    if (seeded) {
        const QChar character(static_cast<char16_t>(typed));
        if (chooser)
            m_seeder->seedChooser(chooser, character);
        else
            m_seeder->seedFrequency(m_editors->frequency(), col, character, cellText);
    }

    placeOverCurrentCell(editor);
    if (typed == kBackspace && !chooser)
        m_editors->frequency()->clear();
    else if (!seeded && !chooser)
        m_editors->frequency()->showCellText(cellText);
    if (!seeded && chooser)
        chooser->selectText();

    editor->show();
    editor->raise();
    editor->setFocus(Qt::OtherFocusReason);
    m_grid->repaintNow();
}

void CellEditors::placeOverCurrentCell(QWidget *editor)
{
    const CellTwips cell{m_grid->cellLeft(), m_grid->cellTop(), m_grid->cellWidth(), m_grid->cellHeight()};
    editor->setGeometry(editorRect(cell, m_grid->pixelsPerInchX(), m_grid->pixelsPerInchY()));
}

void CellEditors::placeOpenEditor()
{
    QWidget *editor = m_editors->forColumn(m_grid->col());
    if (editor->isVisible())
        placeOverCurrentCell(editor);
}
