// The questions and messages of the document commands, behind one interface so
// that tests can answer them.
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
    // The file dialogs; an empty result means the user cancelled.
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
