// The fleet window's questions and messages, behind one interface so tests
// can answer them.
#pragma once

#include <QCoreApplication>
#include <QString>

class QWidget;

class FleetPrompts
{
public:
    virtual ~FleetPrompts() = default;
    // The document has unsaved changes (or was never saved): save it first?
    virtual bool askSaveFirst(const QString &documentName) = 0;
    // Closing the window while radios are being programmed: stop and close?
    virtual bool askStopAndClose() = 0;
    // Why the run cannot start.
    virtual void showProblem(const QString &text) = 0;
    // The folder for the backups and the audit log; empty when cancelled.
    virtual QString chooseFolder(const QString &current) = 0;
    virtual QString chooseLogFile(const QString &current) = 0;
};

class DialogFleetPrompts : public FleetPrompts
{
    Q_DECLARE_TR_FUNCTIONS(DialogFleetPrompts)

public:
    explicit DialogFleetPrompts(QWidget *parent) : m_parent(parent) {}
    bool askSaveFirst(const QString &documentName) override;
    bool askStopAndClose() override;
    void showProblem(const QString &text) override;
    QString chooseFolder(const QString &current) override;
    QString chooseLogFile(const QString &current) override;

private:
    QWidget *m_parent = nullptr;
};
