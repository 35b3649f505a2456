// Answers the program's questions from a script and records its messages.
#pragma once

#include "UserPrompts.h"

#include <QQueue>
#include <QStringList>

class RecordingPrompts : public UserPrompts
{
public:
    SaveAnswer askSaveChanges(const QString &documentName) override
    {
        saveQuestions.append(documentName);
        return saveAnswers.isEmpty() ? SaveAnswer::Cancel : saveAnswers.dequeue();
    }
    void showFileError(const QString &text) override { errors.append(text); }
    QString openFileName() override { return openNames.isEmpty() ? QString() : openNames.dequeue(); }
    QString saveFileName(const QString &suggestedPath) override
    {
        suggestedSaveNames.append(suggestedPath);
        return saveNames.isEmpty() ? QString() : saveNames.dequeue();
    }

    QQueue<SaveAnswer> saveAnswers;
    QQueue<QString> openNames;
    QQueue<QString> saveNames;
    QStringList saveQuestions;
    QStringList suggestedSaveNames;
    QStringList errors;
};
