#include "DialogTransferUi.h"

#include "CProgressDlg.h"
#include "LinkTexts.h"
#include "TransferPrompts.h"

#include <QCoreApplication>

DialogTransferUi::DialogTransferUi(CProgressDlg &dialog, TransferPrompts &prompts)
    : m_dialog(dialog), m_prompts(prompts)
{
    m_sinceLastPump.start();
}

QString DialogTransferUi::shown(const QString &text)
{
    // The protocol's texts are Chinese; the block count reads the same in
    // every language.
    return QCoreApplication::translate(tavin::link::text::kContext, text.toUtf8().constData());
}

void DialogTransferUi::setStatusText(const QString &text)
{
    m_dialog.setStatusText(shown(text));
}

void DialogTransferUi::setProgress(int position)
{
    m_dialog.setProgress(position);
}

bool DialogTransferUi::cancelRequested()
{
    return m_dialog.cancelRequested();
}

void DialogTransferUi::pumpOnce()
{
    if (m_sinceLastPump.nsecsElapsed() < qint64(kPumpIntervalUs) * 1000)
        return;
    pumpEvents();
}

void DialogTransferUi::pumpEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    m_sinceLastPump.restart();
}

void DialogTransferUi::showMessage(const QString &text)
{
    m_prompts.showMessage(shown(text));
}

bool DialogTransferUi::askRetry(const QString &text)
{
    return m_prompts.askRetry(shown(text));
}
