#include "TransferController.h"

#include "CProgressDlg.h"
#include "DialogTransferUi.h"
#include "SystemSerialLink.h"
#include "ReadBackups.h"
#include "ScreenFit.h"
#include "TransferPrompts.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

using tavin::link::Direction;
using tavin::link::TransferOutcome;


QString TransferController::partlyWrittenText(int newBlocks)
{
    return tr("写入未完成。对讲机中前 %1 块（共 %2 块）已是新数据，其余仍是原来的数据。"
              "请再次向对讲机写入数据以完成写频。")
        .arg(newBlocks)
        .arg(tavin::link::wire::kWriteBlockCount);
}

TransferController::TransferController(Hooks hooks, QObject *parent)
    : QObject(parent), m_hooks(std::move(hooks)), m_dialog(new CProgressDlg()),
      // The transfer's questions stay above the progress window.
      m_prompts(std::make_unique<MessageBoxTransferPrompts>(m_dialog)),
      m_backupFolder(tavin::link::ReadBackups::defaultFolder())
{
    connect(m_dialog, &CProgressDlg::startRequested, this, &TransferController::runTransfer);
}

TransferController::~TransferController()
{
    delete m_dialog.data();
}

void TransferController::setPrompts(std::unique_ptr<TransferPrompts> prompts)
{
    m_prompts = std::move(prompts);
}

CProgressDlg *TransferController::dialog() const
{
    return m_dialog.data();
}

bool TransferController::dialogExists() const
{
    return m_dialog->windowExists();
}

void TransferController::onReadCommand()
{
    startCommand(Direction::Read);
}

void TransferController::onWriteCommand()
{
    startCommand(Direction::Write);
}

void TransferController::onCheckCommand()
{
    startCommand(Direction::Read, true);
}

void TransferController::startCommand(Direction direction, bool checkOnly)
{
    if (m_hooks.commitOpenEditor)
        m_hooks.commitOpenEditor();
    // One dialog at a time: a second command does not change the direction
    // under the first one's caption.
    if (m_dialog->windowExists()) {
        m_dialog->raise();
        m_dialog->activateWindow();
        return;
    }
    m_direction = direction;
    m_checkOnly = checkOnly;
    m_dialog->setTitle(direction == Direction::Read ? CProgressDlg::kReadTitle : CProgressDlg::kWriteTitle);
    QWidget *anchor = m_hooks.centreOver ? m_hooks.centreOver() : nullptr;
    // A transient window of the main window: it stays above it and comes
    // back to the front with it, whatever the user clicks or answers.
    if (anchor && m_dialog->parentWidget() != anchor->window())
        m_dialog->setParent(anchor->window(), m_dialog->windowFlags());
    m_dialog->createWindow();
    if (anchor) {
        const QPoint centre = anchor->mapToGlobal(anchor->rect().center());
        m_dialog->move(centre - QPoint(m_dialog->width() / 2, m_dialog->height() / 2));
        // The grid may lie partly beyond the screen (a scrolled form on a
        // small one): the dialog stays on it.
        screenfit::fitToScreen(m_dialog);
    }
}

void TransferController::runTransfer()
{
    if (m_running || !m_dialog->windowExists())
        return;
    m_running = true;
    m_lastBackup.clear();
    // An editor opened while the dialog waited holds text that a write must
    // send and a read must not silently drop: it is committed first.
    if (m_hooks.commitOpenEditor)
        m_hooks.commitOpenEditor();
    Q_EMIT transferStarted();
    // Keyboard shortcuts do not act while the transfer pumps events.
    qApp->installEventFilter(this);

    tavin::RadioImage &document = m_hooks.image();
    if (m_direction == Direction::Write)
        m_hooks.encodeImage();
    // The transfer works on its own copy: whatever the still-live menus do to
    // the document meanwhile (a save encodes the editor into it) cannot mix
    // into the bytes sent or received.
    tavin::RadioImage working = document;

    const QString portName = m_hooks.portName();
    if (const QString taken = portTakenReason(portName); !taken.isEmpty()) {
        m_prompts->showMessage(taken);
        m_lastResult = tavin::link::TransferResult{TransferOutcome::PortOpenFailed, 0, -1};
    } else {
        DialogTransferUi ui(*m_dialog, *m_prompts);
        tavin::link::SystemSerialLink port;
        port.setIdleHook([&ui] { ui.pumpEvents(); });
        tavin::link::RadioProtocol protocol(port, ui);
        m_lastResult = protocol.run(m_direction, portName, working);
    }

    m_dialog->closeWindow();
    qApp->removeEventFilter(this);
    if (m_direction == Direction::Write && m_lastResult.leftRadioPartlyWritten())
        m_prompts->showMessage(partlyWrittenText(m_lastResult.blocksDone));
    const bool checked = m_checkOnly && m_direction == Direction::Read && m_lastResult.completed();
    if (m_direction == Direction::Read) {
        // Every block whose reply arrived replaces the document's bytes.
        const std::size_t received = std::size_t(m_lastResult.blocksDone) * tavin::link::wire::kBlockSize;
        if (!m_checkOnly)
            std::copy_n(working.data(), received, document.data());
        if (m_lastResult.completed()) {
            // The backup holds the radio's bytes as read, before decoding
            // applies the model rule to them.
            if (!m_backupFolder.isEmpty())
                m_lastBackup = tavin::link::ReadBackups(m_backupFolder).store(working);
            if (!m_checkOnly)
                m_hooks.decodeAfterRead();
        }
    }
    m_running = false;
    Q_EMIT transferFinished(m_lastResult.outcome);
    if (checked)
        Q_EMIT radioChecked(working);
    if (std::exchange(m_closeRequested, false))
        Q_EMIT closeWhenDone();
}

bool TransferController::mayCloseWindow()
{
    if (!m_dialog->windowExists())
        return true;
    if (!m_running) {
        m_dialog->OnCancel();
        return true;
    }
    if (m_prompts->askCancelToClose()) {
        m_closeRequested = true;
        m_dialog->OnCancel();
    }
    return false;
}

bool TransferController::eventFilter(QObject *watched, QEvent *event)
{
    if (m_running && event->type() == QEvent::ShortcutOverride) {
        // Claimed here, the key never becomes a shortcut (Ctrl+S, Ctrl+R...).
        event->accept();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
