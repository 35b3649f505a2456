// The dialogs of the Tools menu, behind one interface so that tests can answer
// them: the file dialogs, the result of an import, export, comparison or
// check, and the cable check's findings.
#pragma once

#include "ListFormat.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

class QWidget;

namespace tavin::doctor {
struct DoctorReport;
}

// What a tool has to say: a summary in the window's words, then the lines
// that the shared code words (errors, notices, differences), one each.
struct ToolReport {
    enum class Kind { Information, Warning };
    Kind kind = Kind::Information;
    QString title;
    QString summary;
    QStringList lines;

    // The summary, a blank line and the lines: what the copy button copies.
    QString text() const;
};

class ToolPrompts
{
public:
    struct ExportTarget {
        QString path;  // empty when the user cancelled
        tavin::lists::ListFormat format = tavin::lists::ListFormat::Native;
    };

    virtual ~ToolPrompts() = default;
    // The file dialogs; an empty path means the user cancelled. Paths are kept
    // as NativePath.h keeps them.
    virtual QString importFileName() = 0;
    virtual ExportTarget exportTarget(const QString &suggestedPath) = 0;
    virtual QString compareFileName() = 0;
    virtual void showReport(const ToolReport &report) = 0;
    virtual void showCableCheck(const tavin::doctor::DoctorReport &report) = 0;
    // A few words that a tool did its work, where they need no answer.
    virtual void showDone(const QString &text) = 0;
};

// File dialogs and the report windows over the main window.
class DialogToolPrompts : public ToolPrompts
{
    Q_DECLARE_TR_FUNCTIONS(DialogToolPrompts)

public:
    explicit DialogToolPrompts(QWidget *parent) : m_parent(parent) {}

    QString importFileName() override;
    ExportTarget exportTarget(const QString &suggestedPath) override;
    QString compareFileName() override;
    void showReport(const ToolReport &report) override;
    void showCableCheck(const tavin::doctor::DoctorReport &report) override;
    // In the main window's status bar, for a few seconds.
    void showDone(const QString &text) override;

    // The save dialog's file types, in the order of ListFormat.
    static QStringList exportFilters();

private:
    QWidget *m_parent = nullptr;
};
