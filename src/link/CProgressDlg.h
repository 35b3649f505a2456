// The transfer dialog (template 133): Start, a progress bar from 0 to 123,
// the status text and Cancel. Modeless, above the main window; the same
// object serves every transfer, its window exists from a transfer command
// until the end of that transfer (or Cancel before Start).
#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

class CProgressDlg : public QDialog
{
    Q_OBJECT

public:
    CProgressDlg();
    ~CProgressDlg() override;

    // The caption of the next window ("数据读取进度" or "数据写入进度").
    void setTitle(const QString &title) { m_title = title; }
    QString title() const { return m_title; }

    // Creates (shows) the window in its waiting state.
    void createWindow();
    bool windowExists() const { return m_windowExists; }
    // Ends the window; the object stays for the next transfer.
    void closeWindow();

    // While a transfer runs.
    bool cancelRequested() const { return m_cancel != 0; }
    void setStatusText(const QString &text);
    void setProgress(int position);
    bool startEnabled() const;

    // The controls, for the view and for tests.
    QPushButton *startButton() const { return m_start; }
    QPushButton *cancelButton() const { return m_cancelButton; }
    QProgressBar *progressBar() const { return m_progress; }
    QLabel *statusLabel() const { return m_status; }

    static constexpr int kStartId = 1;
    static constexpr int kCancelId = 2;
    static constexpr int kProgressId = 1003;
    static constexpr int kStatusId = 1005;

public Q_SLOTS:
    void OnOK();      // Start
    void OnCancel();  // Cancel, Esc, the close box

Q_SIGNALS:
    // Start was pressed; delivered through the event queue, as a posted message.
    void startRequested();

protected:
    void OnInitDialog();
    void accept() override { OnOK(); }
    void reject() override { OnCancel(); }
    void closeEvent(QCloseEvent *event) override;

private:
    void layOut();

    QString m_title;
    int m_cancel = 0;
    bool m_windowExists = false;
    bool m_laidOut = false;
    QPushButton *m_start = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_valueLabel = nullptr;
    QLabel *m_status = nullptr;
};
