// The cable check's findings for the current port: what they add up to, then
// each check with its verdict, what it found and, for a check that did not
// pass, the command that fixes it. A button copies the report as
// tavin-cli doctor prints it.
#pragma once

#include "DoctorReport.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTreeWidget;

class CableCheckDialog : public QDialog
{
    Q_OBJECT

public:
    CableCheckDialog(const tavin::doctor::DoctorReport &report, QWidget *parent = nullptr);

    // The window's words for a verdict and for what the checks add up to.
    static QString verdictText(tavin::doctor::Verdict verdict);
    static QString conclusionText(const tavin::doctor::DoctorReport &report);

    QLabel *conclusionLabel() const { return m_conclusion; }
    QTreeWidget *findingsView() const { return m_findings; }
    QPushButton *copyButton() const { return m_copy; }

private:
    QString m_reportText;
    QLabel *m_conclusion = nullptr;
    QTreeWidget *m_findings = nullptr;
    QPushButton *m_copy = nullptr;
};
