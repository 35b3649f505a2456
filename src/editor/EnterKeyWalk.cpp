#include "EnterKeyWalk.h"

#include "CMSFlexGrid.h"
#include "CellChooser.h"
#include "CellCommitter.h"
#include "CellEditors.h"
#include "EditorSet.h"
#include "FrequencyEditor.h"

#include <QApplication>
#include <QKeyEvent>

namespace {
constexpr int kLastChannelRow = 16;
constexpr int kBandwidthColumn = 6;
constexpr int kRxFrequencyColumn = 1;
constexpr int kOpenedByEnter = 13;
}  // namespace

EnterKeyWalk::EnterKeyWalk(CellEditors &editors, QWidget *form)
    : QObject(&editors), m_editors(editors), m_form(form)
{
    // Key events go to the focused window first; only an application-wide
    // filter sees them before any window inside the form does.
    qApp->installEventFilter(this);
}

bool EnterKeyWalk::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || !m_form || (widget != m_form && !m_form->isAncestorOf(widget)))
        return false;

    switch (handleEnter()) {
    case Outcome::Consumed:
        break;
    case Outcome::Tab:
        sendKey(QApplication::focusWidget() ? QApplication::focusWidget() : m_form, Qt::Key_Tab);
        break;
    case Outcome::RightArrow:
        sendKey(m_editors.m_grid, Qt::Key_Right);
        break;
    }
    return true;
}

EnterKeyWalk::Outcome EnterKeyWalk::handleEnter()
{
    CMSFlexGrid *grid = m_editors.m_grid;
    const EditorSet &set = *m_editors.m_editors;
    CellCommitter &committer = *m_editors.m_committer;
    QWidget *focus = QApplication::focusWidget();

    if (focus == set.frequency()) {
        if (committer.commitFrequencyOnEnter())
            return Outcome::Consumed;
        m_editors.hideEditor(set.frequency());
        grid->setCol(grid->col() + 1);
        m_editors.openCurrent(kOpenedByEnter);
        return Outcome::Consumed;
    }
    if (focus == set.busyLock() || focus == set.bandwidth() || focus == set.scan()) {
        committer.commitListOnEnter(grid->col());
        m_editors.hideEditor(focus);
        return moveRight();
    }
    if (focus == set.power()) {
        committer.commitListOnEnter(grid->col());
        m_editors.hideEditor(focus);
        return moveToNextChannel();
    }
    if (focus == grid)
        return grid->col() == kBandwidthColumn ? Outcome::Tab : Outcome::RightArrow;
    if (set.tone()->isVisible()) {
        committer.commitToneOnEnter();
        m_editors.hideEditor(set.tone());
        grid->setCol(grid->col() + 1);
        m_editors.openCurrent(kOpenedByEnter);
        return Outcome::Consumed;
    }
    return Outcome::Tab;
}

EnterKeyWalk::Outcome EnterKeyWalk::moveRight()
{
    CMSFlexGrid *grid = m_editors.m_grid;
    if (grid->row() >= kLastChannelRow)
        return Outcome::Tab;
    grid->setCol(grid->col() + 1);
    m_editors.openCurrent(kOpenedByEnter);
    return Outcome::Consumed;
}

EnterKeyWalk::Outcome EnterKeyWalk::moveToNextChannel()
{
    CMSFlexGrid *grid = m_editors.m_grid;
    if (grid->row() >= kLastChannelRow)
        return Outcome::Tab;
    grid->setRow(grid->row() + 1);
    grid->setCol(kRxFrequencyColumn);
    m_editors.openCurrent(kOpenedByEnter);
    return Outcome::Consumed;
}

void EnterKeyWalk::sendKey(QWidget *target, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
}
