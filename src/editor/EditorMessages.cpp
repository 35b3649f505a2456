#include "EditorMessages.h"

#include <QMessageBox>

void MessageBoxSink::show(QWidget *parent, const EditorMessage &message)
{
    const QMessageBox::Icon icon =
        message.icon == EditorMessage::Icon::Information ? QMessageBox::Information : QMessageBox::Warning;
    QMessageBox box(icon, message.caption, message.text, QMessageBox::Ok, parent);
    box.exec();
}

QString applicationTitle()
{
    return QStringLiteral("Tavin写频软件");
}

EditorMessage frequencyEntryMessage(tavin::EntryMessage message)
{
    const QString text = QString::fromUtf8(tavin::entryMessageText(message));
    if (message == tavin::EntryMessage::BandRange)
        return {EditorMessage::Icon::Information, QStringLiteral("Prompt"), text};
    return {EditorMessage::Icon::Warning, applicationTitle(), text};
}

EditorMessage pleaseInputNumberMessage()
{
    return {EditorMessage::Icon::Warning, applicationTitle(), QStringLiteral("Please input Number")};
}
