// A drop-down list as the form's setting boxes and the grid's choosers use
// it: the mouse wheel changes it only while it has the keyboard focus (as on
// Windows), so a wheel turn meant for something else changes no setting; and
// the box that has the focus shows it plainly, its choice highlighted, so an
// arrow key never changes a setting unseen.
#pragma once

#include <QComboBox>

class FocusedComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit FocusedComboBox(QWidget *parent = nullptr);

    // The box itself or its text field has the keyboard focus.
    bool hasInputFocus() const;

protected:
    void wheelEvent(QWheelEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
};
