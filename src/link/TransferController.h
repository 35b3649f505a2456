// Reading and writing the radio from the desktop program: the two transfer
// commands, the progress dialog, and the transfer itself, which runs on the
// user-interface thread inside the handler of the dialog's Start request.
#pragma once

#include "RadioProtocol.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class CProgressDlg;
class QWidget;
class TransferPrompts;

namespace tavin {
class RadioImage;
}

class TransferController : public QObject
{
    Q_OBJECT

public:
    // What the controller needs of the form.
    struct Hooks {
        std::function<void()> commitOpenEditor;    // store an open cell editor's text
        std::function<void()> encodeImage;         // editor -> image, before a write
        std::function<void()> decodeAfterRead;     // image -> editor, after a complete read
        std::function<tavin::RadioImage &()> image;
        std::function<QString()> portName;         // "COM1" to "COM4"
        std::function<QWidget *()> centreOver;     // the dialog is centred over this widget and
                                                   // stays above the window that holds it
    };

    explicit TransferController(Hooks hooks, QObject *parent = nullptr);
    ~TransferController() override;

    // Message boxes; by default over the given parent.
    void setPrompts(std::unique_ptr<TransferPrompts> prompts);
    // Where complete reads are kept; empty turns the backups off.
    void setBackupFolder(const QString &folder) { m_backupFolder = folder; }
    QString lastBackup() const { return m_lastBackup; }
    // Asked at Start: why the port may not be used now, because another part
    // of this program programs radios on it; empty lets the transfer go on.
    // The reason is shown in place of opening the port, which ends the
    // transfer as a port that failed to open.
    void setPortCheck(std::function<QString(const QString &port)> check) { m_portCheck = std::move(check); }
    // Why port may not be used now (the check above), or empty.
    QString portTakenReason(const QString &port) const { return m_portCheck ? m_portCheck(port) : QString(); }

    // The two commands (32771, 32772). While the dialog exists they only
    // bring it to the front.
    void onReadCommand();
    void onWriteCommand();
    // A read that only checks the radio: its bytes go to radioChecked after a
    // complete read; the document, the form and the modified mark stay as
    // they are. The usual read window shows it.
    void onCheckCommand();

    bool isTransferRunning() const { return m_running; }
    bool dialogExists() const;
    CProgressDlg *dialog() const;
    tavin::link::TransferResult lastResult() const { return m_lastResult; }

    // The main window wants to close. True when it may: no dialog, or a waiting
    // dialog (which is cancelled). During a transfer the user is asked; on yes
    // the transfer is cancelled and closeWhenDone is emitted once it has ended.
    bool mayCloseWindow();

    // After a write that ended part way: how many of the radio's blocks are
    // new, and that writing again completes it.
    static QString partlyWrittenText(int newBlocks);

Q_SIGNALS:
    void transferStarted();
    void transferFinished(tavin::link::TransferOutcome outcome);
    void closeWhenDone();
    // After a complete read of onCheckCommand (once transferFinished is out).
    void radioChecked(const tavin::RadioImage &radio);

private:
    void startCommand(tavin::link::Direction direction, bool checkOnly = false);
    void runTransfer();  // the Start request's handler
    bool eventFilter(QObject *watched, QEvent *event) override;

    Hooks m_hooks;
    std::function<QString(const QString &)> m_portCheck;
    // Owned here; while it is shown it is also a child window of the main
    // window, which may be destroyed first and take it along.
    QPointer<CProgressDlg> m_dialog;
    std::unique_ptr<TransferPrompts> m_prompts;
    tavin::link::Direction m_direction = tavin::link::Direction::Read;
    bool m_checkOnly = false;  // the read of onCheckCommand
    bool m_running = false;
    bool m_closeRequested = false;
    QString m_backupFolder;
    QString m_lastBackup;
    tavin::link::TransferResult m_lastResult;
};
