#include "TypedCharacterSeeder.h"

#include "CellChooser.h"
#include "EditorMessages.h"
#include "FrequencyEditor.h"

namespace {
constexpr int kRxFrequencyGridColumn = 1;
constexpr int kTxFrequencyGridColumn = 2;
constexpr char16_t kFirstPrintable = 32;

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}
}  // namespace

void TypedCharacterSeeder::seedFrequency(FrequencyEditor *editor, int column, QChar typed, const QString &cellText)
{
    const bool digit = isDigit(typed);
    const bool frequencyColumn = column == kRxFrequencyGridColumn || column == kTxFrequencyGridColumn;
    if (!digit && typed.unicode() >= kFirstPrintable && frequencyColumn && m_sink)
        m_sink->show(m_form, pleaseInputNumberMessage());

    editor->setText(digit || !cellText.isEmpty() ? QString(typed) : QString());
    editor->deselect();
    editor->end(false);
}

void TypedCharacterSeeder::seedChooser(CellChooser *chooser, QChar typed)
{
    chooser->seed(typed);
}
