// The Enter key inside the form, looked at before the focused window sees it:
// it commits the open editor and walks on through the channel (receive and
// transmit frequency, the two tones, busy lock, bandwidth, scan, power, then
// the next channel's receive frequency), or acts as Tab or Right arrow.
#pragma once

#include <QObject>

class CellEditors;
class QWidget;

class EnterKeyWalk final : public QObject
{
    Q_OBJECT

public:
    // Watches every Enter key sent to form or a window inside it.
    EnterKeyWalk(CellEditors &editors, QWidget *form);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Outcome { Consumed, Tab, RightArrow };

    Outcome handleEnter();
    // Hide the editor that took the Enter, then open the next one, or end the
    // walk (Tab) in the last channel.
    Outcome moveRight();
    Outcome moveToNextChannel();
    void sendKey(QWidget *target, int key);

    CellEditors &m_editors;
    QWidget *m_form = nullptr;
};
