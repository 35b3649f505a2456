#include "FocusedComboBox.h"

#include <QLineEdit>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QWheelEvent>

FocusedComboBox::FocusedComboBox(QWidget *parent) : QComboBox(parent)
{
    // A wheel turn does not take the focus either: the next turn would
    // change the box.
    setFocusPolicy(Qt::StrongFocus);
}

bool FocusedComboBox::hasInputFocus() const
{
    return hasFocus() || (lineEdit() && lineEdit()->hasFocus());
}

void FocusedComboBox::wheelEvent(QWheelEvent *event)
{
    if (!hasInputFocus()) {
        // Left to the windows around it: the form scrolls, nothing changes.
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
}

void FocusedComboBox::paintEvent(QPaintEvent *event)
{
    if (isEditable()) {
        // The text field shows the focus with its caret.
        QComboBox::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const bool focused = hasFocus();
    if (focused)
        option.state |= QStyle::State_KeyboardFocusChange;  // the style's focus frame, however the focus came
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    if (focused) {
        const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
        painter.fillRect(field.adjusted(1, 1, -1, -1), palette().brush(QPalette::Highlight));
        const QColor text = palette().color(QPalette::HighlightedText);
        painter.setPen(text);
        for (QPalette::ColorRole role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
            option.palette.setColor(role, text);
    } else {
        painter.setPen(palette().color(QPalette::Text));
    }
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

void FocusedComboBox::focusInEvent(QFocusEvent *event)
{
    QComboBox::focusInEvent(event);
    update();
}

void FocusedComboBox::focusOutEvent(QFocusEvent *event)
{
    QComboBox::focusOutEvent(event);
    update();
}
