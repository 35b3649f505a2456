// What a tool of the Tools menu found: a summary, then its lines (every error
// of a refused list, every difference) in a text box that scrolls, so the
// window fits the screen however many there are. The text can be selected,
// and a button copies all of it.
#pragma once

#include "ToolPrompts.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

class ReportDialog : public QDialog
{
    Q_OBJECT

public:
    ReportDialog(const ToolReport &report, QWidget *parent = nullptr);

    QLabel *summaryLabel() const { return m_summary; }
    QPlainTextEdit *linesView() const { return m_lines; }
    QPushButton *copyButton() const { return m_copy; }

private:
    ToolReport m_report;
    QLabel *m_summary = nullptr;
    QPlainTextEdit *m_lines = nullptr;
    QPushButton *m_copy = nullptr;
};

// Sizes a window to wanted, but never beyond the available area of the
// screen it will show on (that of parent, else the primary screen); what
// does not fit then scrolls inside it.
void fitToScreen(QWidget *window, const QSize &wanted);
