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

    // The captions of a read and of a write.
    static constexpr const char *kReadTitle = QT_TRANSLATE_NOOP("CProgressDlg", "数据读取进度");
    static constexpr const char *kWriteTitle = QT_TRANSLATE_NOOP("CProgressDlg", "数据写入进度");

    // The caption of the next window, kReadTitle or kWriteTitle; shown in
    // the current language.
    void setTitle(const char *title) { m_title = title; }
    QString title() const;

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
    void changeEvent(QEvent *event) override;

private:
    void layOut();
    // The texts of the controls in the current language.
    void retranslate();

    const char *m_title = "";
    bool m_waiting = true;  // the status text is the waiting text
    int m_cancel = 0;
    bool m_windowExists = false;
    bool m_laidOut = false;
    QPushButton *m_start = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_valueLabel = nullptr;
    QLabel *m_status = nullptr;
};
