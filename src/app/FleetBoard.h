// The fleet window during and after a run: a row per port (its state in
// words, a progress bar for the current transfer, its radios so far, and a
// "继续" button when each radio is confirmed), a table of radios, the totals,
// and at the end the summary and the audit log's path.
#pragma once

#include "CloneObserver.h"
#include "RadioRecord.h"

#include <QDateTime>
#include <QStringList>
#include <QWidget>

#include <optional>

class QLabel;
class QPushButton;
class QTableWidget;

class FleetBoard : public QWidget
{
    Q_OBJECT

public:
    // The radio table's columns.
    enum Column { Number, Port, Start, Result, Seconds, Backup, Reason, ColumnCount };

    explicit FleetBoard(QWidget *parent = nullptr);

    // A new run on these ports (its labels); clears the last run's rows.
    void startRun(const QStringList &ports, const QStringList &labels, bool confirm);

    void portChanged(int index, const tavin::fleet::PortStatus &status);
    void radioStarted(int index, int radio);
    void radioEnded(int index, const tavin::fleet::RadioEnd &end);
    // The run is stopping at the next safe point.
    void showStopping();
    // The run has ended: the summary of its records and where the log is.
    void showEnd(const QList<tavin::fleet::RadioRecord> &records, const QString &logPath);

    // What the board shows, for tests and status lines.
    int portRows() const;
    QString portState(int index) const;
    int portProgress(int index) const;  // percent of the current transfer
    QString portRadios(int index) const;
    bool goAheadEnabled(int index) const;
    void clickGoAhead(int index);
    int radioRows() const;
    QString radioCell(int row, Column column) const;
    QString totals() const;
    QString summary() const;
    QString logPath() const { return m_logPath; }
    // The backup of the radio in row, or empty.
    QString backupOf(int row) const;
    // Opens the selected radio's backup (after the run).
    void selectRadioRow(int row);
    bool openBackupEnabled() const;

Q_SIGNALS:
    void goAhead(int index);
    void openBackup(const QString &path);

protected:
    void changeEvent(QEvent *event) override;

private:
    // A radio's row: its number and port until it ends, then its record.
    struct Radio {
        int number = 0;
        int port = 0;
        QDateTime started;
        std::optional<tavin::fleet::RadioRecord> record;
    };

    void retranslate();
    void fitPortTable();
    void showPort(int index);
    void showRadio(int row);
    void showTotals();
    void updateOpenButton();

    QStringList m_ports;
    QList<tavin::fleet::PortStatus> m_status;
    QList<Radio> m_radios;
    QTableWidget *m_portTable = nullptr;
    QTableWidget *m_radioTable = nullptr;
    QLabel *m_totals = nullptr;
    QLabel *m_summary = nullptr;
    QLabel *m_log = nullptr;
    QPushButton *m_open = nullptr;
    QList<QPushButton *> m_goAhead;
    QString m_logPath;
    bool m_stopping = false;
    bool m_ended = false;
};
