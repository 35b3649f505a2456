#include "UserPrompts.h"

#include "CommandTexts.h"
#include "NativePath.h"
#include "ScreenFit.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTextStream>

#include <cstdio>

UserPrompts::SaveAnswer DialogUserPrompts::askSaveChanges(const QString &documentName)
{
    const auto answer = QMessageBox::question(
        m_parent, tavin::lang::applicationTitle(),
        QCoreApplication::translate("UserPrompts", "是否保存对 %1 的更改？").arg(documentName),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    switch (answer) {
    case QMessageBox::Save:
        return SaveAnswer::Save;
    case QMessageBox::Discard:
        return SaveAnswer::Discard;
    default:
        return SaveAnswer::Cancel;
    }
}

void DialogUserPrompts::showFileError(const QString &text)
{
    // It may list many problems of a file: the box fits the screen, the list scrolls.
    screenfit::message(m_parent, QMessageBox::Warning, tavin::lang::applicationTitle(), text);
}

QString DialogUserPrompts::openFileName()
{
    return tavin::platform::fromQtPath(QFileDialog::getOpenFileName(
        m_parent, QCoreApplication::translate("UserPrompts", "打开"), QString(),
        texts::fileFilter() + QStringLiteral(";;") + QCoreApplication::translate("UserPrompts", "所有文件 (*)")));
}

QString DialogUserPrompts::saveFileName(const QString &suggestedPath)
{
    QFileDialog dialog(m_parent, QCoreApplication::translate("UserPrompts", "另存为"),
                       tavin::platform::toQtPath(suggestedPath), texts::fileFilter());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(texts::kDefaultExtension);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return tavin::platform::fromQtPath(dialog.selectedFiles().constFirst());
}

UserPrompts::SaveAnswer StderrUserPrompts::askSaveChanges(const QString &)
{
    return SaveAnswer::Discard;
}

void StderrUserPrompts::showFileError(const QString &text)
{
    // "无法打开文件。\n\n<reason>" on one line.
    QTextStream(stderr) << "tavin: " << text.simplified() << '\n';
}
