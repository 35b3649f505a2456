#include "EditorMessages.h"

#include "Language.h"

#include <QCoreApplication>
#include <QMessageBox>

#include <string>

void MessageBoxSink::show(QWidget *parent, const EditorMessage &message)
{
    const QMessageBox::Icon icon =
        message.icon == EditorMessage::Icon::Information ? QMessageBox::Information : QMessageBox::Warning;
    QMessageBox box(icon, message.caption, message.text, QMessageBox::Ok, parent);
    box.exec();
}

EditorMessage frequencyEntryMessage(tavin::EntryMessage message)
{
    // The model's texts, marked there for the translations.
    const std::string source(tavin::entryMessageText(message));
    const QString text = QCoreApplication::translate("FrequencyEntry", source.c_str());
    if (message == tavin::EntryMessage::BandRange)
        return {EditorMessage::Icon::Information, QCoreApplication::translate("EditorMessages", "Prompt"), text};
    return {EditorMessage::Icon::Warning, tavin::lang::applicationTitle(), text};
}

EditorMessage pleaseInputNumberMessage()
{
    return {EditorMessage::Icon::Warning, tavin::lang::applicationTitle(),
            QCoreApplication::translate("EditorMessages", "Please input Number")};
}
