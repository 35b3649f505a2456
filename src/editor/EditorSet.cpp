#include "EditorSet.h"

#include "CellChooser.h"
#include "ChannelEntry.h"
#include "Codec.h"
#include "FrequencyEditor.h"
#include "ToneTable.h"

#include <QApplication>

namespace {
constexpr int kFirstToneColumn = 3;
constexpr int kLastToneColumn = 4;
constexpr int kFirstListColumn = 5;
constexpr int kLastListColumn = 8;

// The chooser's words of a switch column, as the model lists them.
QStringList words(int column)
{
    QStringList texts;
    for (std::string_view word : tavin::chooserEntries(column))
        texts << QString::fromUtf8(word.data(), static_cast<qsizetype>(word.size()));
    return texts;
}
}  // namespace

EditorSet::EditorSet(QWidget *grid, const tavin::ToneTable &tones, const QFont &font)
{
    m_frequency = new FrequencyEditor(grid);
    m_frequency->setFont(font);
    QStringList toneNames;
    for (const std::string &name : tones.names())
        toneNames << QString::fromStdString(name);
    m_lists[0] = new CellChooser(CellChooser::kBusyLockId, false, font, words(tavin::kBusyLockColumn), grid);
    m_lists[1] = new CellChooser(CellChooser::kBandwidthId, false, font, words(tavin::kBandwidthColumn), grid);
    m_lists[2] = new CellChooser(CellChooser::kScanId, false, font, words(tavin::kScanColumn), grid);
    m_lists[3] = new CellChooser(CellChooser::kPowerId, false, font, words(tavin::kPowerColumn), grid);
    m_tone = new CellChooser(CellChooser::kToneId, true, font, toneNames, grid);
}

QWidget *EditorSet::forColumn(int column) const
{
    if (CellChooser *chooser = chooserForColumn(column))
        return chooser;
    return m_frequency;
}

CellChooser *EditorSet::chooserForColumn(int column) const
{
    if (column >= kFirstToneColumn && column <= kLastToneColumn)
        return m_tone;
    if (column >= kFirstListColumn && column <= kLastListColumn)
        return m_lists[static_cast<std::size_t>(column - kFirstListColumn)];
    return nullptr;
}

QList<QWidget *> EditorSet::all() const
{
    return {m_frequency, m_tone, m_lists[0], m_lists[1], m_lists[2], m_lists[3]};
}

QWidget *EditorSet::withFocus() const
{
    QWidget *focus = QApplication::focusWidget();
    if (!focus)
        return nullptr;
    for (QWidget *editor : all()) {
        if (focus == editor || editor->isAncestorOf(focus))
            return editor;
    }
    return nullptr;
}
