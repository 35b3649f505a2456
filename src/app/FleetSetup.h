// The fleet window before a run: the ports (COM1 to COM4 as mapped, and each
// serial device found), the number of radios, the backup folder and the
// audit log (empty: the defaults of tavin-cli clone), and whether each radio
// is confirmed with a button instead of waiting for the unplugging.
#pragma once

#include <QStringList>
#include <QWidget>

#include <functional>

class FleetPrompts;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QLineEdit;
class QSpinBox;
class QVBoxLayout;

class FleetSetup : public QWidget
{
    Q_OBJECT

public:
    // prompts: the window's prompts of the moment (tests replace them).
    FleetSetup(std::function<FleetPrompts &()> prompts, QWidget *parent = nullptr);

    // Lists the ports again (a cable plugged in since); checked ones stay checked.
    void refreshPorts();
    // The names a run is given ("COM1", "/dev/ttyUSB0"), in the order shown.
    QStringList portNames() const;
    QStringList checkedPorts() const;
    void setPortChecked(const QString &port, bool checked);

    // 0: until stopped.
    int count() const;
    void setCount(int count);
    // Empty: the default (shown greyed in the field).
    QString backupDir() const;
    void setBackupDir(const QString &dir);
    QString logPath() const;
    void setLogPath(const QString &path);
    bool confirmEachRadio() const;
    void setConfirmEachRadio(bool confirm);

    // The defaults shown for the channel file at path (empty: not saved yet).
    void showDefaultsFor(const QString &documentPath);

protected:
    void changeEvent(QEvent *event) override;

private:
    struct Port {
        QString name;
        QCheckBox *box = nullptr;
    };

    QLineEdit *pathRow(QWidget **row, bool folder);
    void showDefaults();
    void retranslate();

    std::function<FleetPrompts &()> m_prompts;
    QGroupBox *m_portBox = nullptr;
    QVBoxLayout *m_portList = nullptr;
    QList<QLabel *> m_labels;             // of the count, the backup folder and the log
    QList<QPushButton *> m_browse;
    QList<Port> m_ports;
    QSpinBox *m_count = nullptr;
    QLineEdit *m_backupDir = nullptr;
    QLineEdit *m_logPath = nullptr;
    QCheckBox *m_confirm = nullptr;
    QString m_documentPath;
};
