// The questions and messages of the document commands, behind one interface so
// that tests can answer them and runs without a window never wait for a click.
#pragma once

#include <QString>

class QWidget;

class UserPrompts
{
public:
    enum class SaveAnswer { Save, Discard, Cancel };

    virtual ~UserPrompts() = default;
    // The document has unsaved changes: save them first?
    virtual SaveAnswer askSaveChanges(const QString &documentName) = 0;
    // A file could not be opened or saved; text says which file and why.
    virtual void showFileError(const QString &text) = 0;
    // The file dialogs; an empty result means the user cancelled. The paths
    // are kept as NativePath.h keeps them.
    virtual QString openFileName() = 0;
    virtual QString saveFileName(const QString &suggestedPath) = 0;
};

// Message boxes and file dialogs over the main window.
class DialogUserPrompts : public UserPrompts
{
public:
    explicit DialogUserPrompts(QWidget *parent) : m_parent(parent) {}

    SaveAnswer askSaveChanges(const QString &documentName) override;
    void showFileError(const QString &text) override;
    QString openFileName() override;
    QString saveFileName(const QString &suggestedPath) override;

private:
    QWidget *m_parent = nullptr;
};

// For runs without anyone at a window (--print, --print-to, --screenshot):
// messages go to stderr as "tavin: <text>" on one line, the save question is
// answered Discard and the file dialogs are cancelled. The run's exit code
// tells a script what happened.
class StderrUserPrompts : public UserPrompts
{
public:
    SaveAnswer askSaveChanges(const QString &documentName) override;
    void showFileError(const QString &text) override;
    QString openFileName() override { return {}; }
    QString saveFileName(const QString &) override { return {}; }
};
