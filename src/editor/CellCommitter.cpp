#include "CellCommitter.h"

#include "CMSFlexGrid.h"
#include "CellChooser.h"
#include "EditorMessages.h"
#include "EditorSet.h"
#include "FrequencyEditor.h"
#include "FrequencyEntry.h"

namespace {
// Grid column of the first channel text (column 0 holds the channel number).
constexpr int kFirstTextColumn = 1;

int entryColumn(int gridColumn)
{
    return gridColumn - kFirstTextColumn;
}
}  // namespace

CellCommitter::CellCommitter(CMSFlexGrid *grid, const EditorSet &editors, const tavin::ToneTable &tones,
                             std::function<int()> bandSelection, QWidget *form, CellChanged cellChanged)
    : m_grid(grid),
      m_editors(editors),
      m_tones(tones),
      m_bandSelection(std::move(bandSelection)),
      m_form(form),
      m_cellChanged(std::move(cellChanged))
{
}

tavin::ChannelTexts CellCommitter::readRow(int row) const
{
    tavin::ChannelTexts texts;
    for (int c = 0; c < tavin::kColumnCount; ++c)
        texts[static_cast<std::size_t>(c)] = m_grid->textMatrix(row, c + kFirstTextColumn).toStdString();
    return texts;
}

void CellCommitter::writeRow(int row, const tavin::ChannelTexts &before, const tavin::ChannelTexts &after)
{
    for (int c = 0; c < tavin::kColumnCount; ++c) {
        const auto i = static_cast<std::size_t>(c);
        if (after[i] != before[i])
            writeCell(row, c + kFirstTextColumn, QString::fromStdString(after[i]));
    }
}

void CellCommitter::writeCell(int row, int col, const QString &text)
{
    if (m_grid->textMatrix(row, col) == text)
        return;
    m_grid->setTextMatrix(row, col, text);
    if (m_cellChanged)
        m_cellChanged(row, col);
}

bool CellCommitter::currentChannelEmpty() const
{
    return tavin::isEmptyChannel(readRow(m_grid->row()));
}

void CellCommitter::showMessages(const std::vector<tavin::EntryMessage> &messages)
{
    for (tavin::EntryMessage message : messages) {
        if (m_sink)
            m_sink->show(m_form, frequencyEntryMessage(message));
    }
}

void CellCommitter::commitFrequency(const std::string &entry)
{
    const int row = m_grid->row();
    const tavin::ChannelTexts before = readRow(row);
    tavin::ChannelTexts after = before;
    tavin::commitFrequencyEntry(after, entryColumn(m_grid->col()), entry);
    writeRow(row, before, after);
}

QString CellCommitter::toneValue() const
{
    return QString::fromStdString(
        tavin::toneEntryText(m_tones, m_editors.tone()->chosenWord().toStdString(), currentChannelEmpty()));
}

void CellCommitter::commitLeaving()
{
    const int row = m_grid->row();
    const int col = m_grid->col();
    CellChooser *chooser = m_editors.chooserForColumn(col);
    if (!chooser) {
        const tavin::FrequencyCheck check = tavin::checkFrequencyEntry(
            m_editors.frequency()->text().toStdString(), m_bandSelection(), tavin::EntryTrigger::LeavingCell);
        showMessages(check.messages);
        if (check.refused())
            m_editors.frequency()->showCellText(m_grid->text());
        else
            commitFrequency(check.entry);
    } else if (chooser == m_editors.tone()) {
        writeCell(row, col, toneValue());
    } else {
        writeCell(row, col, currentChannelEmpty() ? QString() : chooser->chosenWord());
    }
}

bool CellCommitter::commitFrequencyOnEnter()
{
    FrequencyEditor *editor = m_editors.frequency();
    const tavin::FrequencyCheck check =
        tavin::checkFrequencyEntry(editor->text().toStdString(), m_bandSelection(), tavin::EntryTrigger::Enter);
    showMessages(check.messages);
    if (check.refused()) {
        editor->showCellText(m_grid->text());
        editor->setFocus(Qt::OtherFocusReason);
        return true;
    }
    commitFrequency(check.entry);
    return false;
}

void CellCommitter::commitListOnEnter(int column)
{
    if (currentChannelEmpty())
        return;
    if (CellChooser *chooser = m_editors.chooserForColumn(column))
        writeCell(m_grid->row(), m_grid->col(), chooser->chosenWord());
}

void CellCommitter::commitToneOnEnter()
{
    writeCell(m_grid->row(), m_grid->col(), toneValue());
}
