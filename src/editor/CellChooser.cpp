#include "CellChooser.h"

#include "ShownText.h"

#include <QEvent>
#include <QLineEdit>

CellChooser::CellChooser(int controlId, bool editable, const QFont &font, const QStringList &words, QWidget *grid)
    : FocusedComboBox(grid), m_controlId(controlId), m_words(words)
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
    for (const QString &word : std::as_const(m_words))
        addItem(tavin::lang::shownText(word), word);
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
        if (m_words.at(i).startsWith(cellText, Qt::CaseInsensitive)) {
            index = i;
            break;
        }
    }
    setCurrentIndex(index);
    if (isEditable())
        setEditText(itemText(index));
}

QString CellChooser::chosenWord() const
{
    if (!isEditable())
        return currentIndex() < 0 ? QString() : m_words.value(currentIndex());
    // A word shown in another language than it is stored (the tone name "无")
    // stores as the data spell it, however it was typed or chosen.
    const QString typed = currentText();
    for (int i = 0; i < count(); ++i) {
        if (itemText(i) != m_words.at(i) && itemText(i).compare(typed, Qt::CaseInsensitive) == 0)
            return m_words.at(i);
    }
    return typed;
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

void CellChooser::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange && m_filled)
        retranslate();
    FocusedComboBox::changeEvent(event);
}

void CellChooser::retranslate()
{
    // The text field keeps what it holds: a word of the list is shown in the
    // new language, anything typed stays as typed.
    QString editText = isEditable() ? currentText() : QString();
    const int cursor = isEditable() ? lineEdit()->cursorPosition() : 0;
    for (int i = 0; i < count(); ++i) {
        const QString shown = tavin::lang::shownText(m_words.at(i));
        if (isEditable() && itemText(i) != shown && itemText(i).compare(editText, Qt::CaseInsensitive) == 0)
            editText = shown;
        setItemText(i, shown);
    }
    if (isEditable()) {
        setEditText(editText);
        lineEdit()->setCursorPosition(std::min(cursor, int(editText.size())));
    }
}
