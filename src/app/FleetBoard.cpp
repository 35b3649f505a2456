#include "FleetBoard.h"

#include "FleetTexts.h"

#include "NativePath.h"

#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

using tavin::fleet::PortState;
using tavin::fleet::PortStatus;
using tavin::fleet::RadioEnd;
using tavin::fleet::RadioRecord;
using tavin::fleet::RadioResult;

namespace {

enum PortColumn { PortName, PortStateColumn, PortProgressColumn, PortRadiosColumn, PortGoAhead, PortColumnCount };

const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

QTableWidgetItem *textItem(const QString &text = QString())
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

}  // namespace

FleetBoard::FleetBoard(QWidget *parent) : QWidget(parent)
{
    m_portTable = new QTableWidget(0, PortColumnCount, this);
    m_portTable->verticalHeader()->hide();
    m_portTable->setSelectionMode(QAbstractItemView::NoSelection);
    m_portTable->horizontalHeader()->setSectionResizeMode(PortStateColumn, QHeaderView::Stretch);
    // The port's name and its radios so far are always read whole.
    for (int column : {int(PortName), int(PortRadiosColumn)})
        m_portTable->horizontalHeader()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    m_portTable->setColumnWidth(PortProgressColumn, 160);

    m_radioTable = new QTableWidget(0, ColumnCount, this);
    m_radioTable->verticalHeader()->hide();
    m_radioTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_radioTable->setSelectionMode(QAbstractItemView::SingleSelection);
    m_radioTable->setWordWrap(false);
    m_radioTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_radioTable->horizontalHeader()->setSectionResizeMode(Reason, QHeaderView::Stretch);

    m_totals = new QLabel(this);
    m_summary = new QLabel(this);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_summary->hide();
    m_log = new QLabel(this);
    m_log->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_log->hide();
    m_open = new QPushButton(this);
    m_open->setEnabled(false);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_portTable);
    layout->addWidget(m_radioTable, 1);
    layout->addWidget(m_totals);
    layout->addWidget(m_summary);
    layout->addWidget(m_log);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_open);
    layout->addLayout(buttons);

    connect(m_open, &QPushButton::clicked, this, [this] {
        if (const QString path = backupOf(m_radioTable->currentRow()); !path.isEmpty())
            Q_EMIT openBackup(path);
    });
    connect(m_radioTable, &QTableWidget::cellDoubleClicked, this, [this](int row) {
        if (const QString path = backupOf(row); m_ended && !path.isEmpty())
            Q_EMIT openBackup(path);
    });
    connect(m_radioTable, &QTableWidget::currentCellChanged, this, &FleetBoard::updateOpenButton);
    retranslate();
    fitPortTable();
}

void FleetBoard::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslate();
}

void FleetBoard::retranslate()
{
    m_portTable->setHorizontalHeaderLabels({tr("端口"), tr("状态"), tr("进度"), tr("本端口"), QString()});
    m_radioTable->setHorizontalHeaderLabels(
        {tr("编号"), tr("端口"), tr("开始"), tr("结果"), tr("秒"), tr("备份"), tr("原因")});
    m_open->setText(tr("在窗体中打开备份(&O)"));
    for (QPushButton *button : std::as_const(m_goAhead))
        button->setText(tr("继续"));
    for (int i = 0; i < m_status.size(); ++i)
        showPort(i);
    for (int row = 0; row < m_radios.size(); ++row)
        showRadio(row);
    showTotals();
}

void FleetBoard::startRun(const QStringList &ports, const QStringList &labels, bool confirm)
{
    m_ports = ports;
    m_ended = m_stopping = false;
    m_status.clear();
    m_radios.clear();
    m_goAhead.clear();
    m_radioTable->setRowCount(0);
    m_portTable->setRowCount(int(labels.size()));
    m_portTable->setColumnHidden(PortGoAhead, !confirm);
    for (int i = 0; i < labels.size(); ++i) {
        PortStatus status;
        status.label = labels.at(i);
        m_status << status;
        for (int column : {int(PortName), int(PortStateColumn), int(PortRadiosColumn)})
            m_portTable->setItem(i, column, textItem());
        auto *bar = new QProgressBar(m_portTable);
        bar->setRange(0, 100);
        m_portTable->setCellWidget(i, PortProgressColumn, bar);
        auto *button = new QPushButton(tr("继续"), m_portTable);
        connect(button, &QPushButton::clicked, this, [this, i] {
            m_goAhead.at(i)->setEnabled(false);
            Q_EMIT goAhead(i);
        });
        m_portTable->setCellWidget(i, PortGoAhead, button);
        m_goAhead << button;
        showPort(i);
    }
    fitPortTable();
    m_summary->hide();
    m_log->hide();
    showTotals();
    updateOpenButton();
}

void FleetBoard::fitPortTable()
{
    // Every port in view: the table is as tall as its rows.
    int height = m_portTable->horizontalHeader()->sizeHint().height() + 2 * m_portTable->frameWidth();
    for (int i = 0; i < m_portTable->rowCount(); ++i)
        height += m_portTable->rowHeight(i);
    m_portTable->setFixedHeight(height);
}

void FleetBoard::portChanged(int index, const PortStatus &status)
{
    if (index < 0 || index >= m_status.size())
        return;
    m_status[index] = status;
    showPort(index);
}

void FleetBoard::showPort(int index)
{
    const PortStatus &status = m_status.at(index);
    m_portTable->item(index, PortName)->setText(status.label);
    m_portTable->item(index, PortStateColumn)->setText(FleetTexts::portState(status));
    m_portTable->item(index, PortRadiosColumn)->setText(FleetTexts::portRadios(status.verified, status.failed));
    auto *bar = static_cast<QProgressBar *>(m_portTable->cellWidget(index, PortProgressColumn));
    const bool transfer = status.state == PortState::Backup || status.state == PortState::Writing
                          || status.state == PortState::ReadingBack;
    if (transfer)
        bar->setValue(status.blocks > 0 ? status.block * 100 / status.blocks : 0);
    else  // full only for a radio finished well, not for one that failed part way
        bar->setValue((status.state == PortState::RadioDone || status.state == PortState::Confirm)
                              && status.lastResult == RadioResult::Verified
                          ? 100
                          : 0);
    m_goAhead.at(index)->setEnabled(!m_ended && status.state == PortState::Confirm);
}

void FleetBoard::radioStarted(int index, int radio)
{
    const int row = m_radioTable->rowCount();
    m_radioTable->insertRow(row);
    for (int column = 0; column < ColumnCount; ++column)
        m_radioTable->setItem(row, column, textItem());
    m_radios.append({radio, index, QDateTime::currentDateTime(), std::nullopt});
    showRadio(row);
    m_radioTable->scrollToBottom();
}

void FleetBoard::radioEnded(int, const RadioEnd &end)
{
    for (int row = 0; row < m_radios.size(); ++row) {
        if (m_radios.at(row).number == end.record.radio) {
            m_radios[row].record = end.record;
            showRadio(row);
        }
    }
    showTotals();
    updateOpenButton();
}

void FleetBoard::showRadio(int row)
{
    const Radio &radio = m_radios.at(row);
    const auto set = [this, row](Column column, const QString &text) { m_radioTable->item(row, column)->setText(text); };
    set(Number, QString::number(radio.number));
    set(Port, m_ports.value(radio.port));
    if (!radio.record) {
        set(Start, radio.started.toString(kTimeFormat));
        set(Result, FleetTexts::inProgress());
        return;
    }
    const RadioRecord &r = *radio.record;
    set(Start, r.start.toString(kTimeFormat));
    set(Result, FleetTexts::result(r.result));
    set(Seconds, QString::number(double(r.start.msecsTo(r.end)) / 1000.0, 'f', 1));
    set(Backup, r.backupFile.isEmpty() ? QStringLiteral("-") : tavin::platform::fileNameOf(r.backupFile));
    m_radioTable->item(row, Backup)->setToolTip(tavin::platform::toQtPath(r.backupFile));
    const QString reason = FleetTexts::reason(r);
    set(Reason, reason);
    // The whole reason, however narrow the column, and the differences in
    // the words of the comparison, as verify gives them.
    m_radioTable->item(row, Reason)->setToolTip((QStringList{reason} + r.differences).join(QLatin1Char('\n')).trimmed());
}

void FleetBoard::showStopping()
{
    m_stopping = true;
    showTotals();
}

void FleetBoard::showEnd(const QList<RadioRecord> &records, const QString &logPath)
{
    m_ended = true;
    m_stopping = false;
    m_logPath = logPath;
    for (QPushButton *button : std::as_const(m_goAhead))
        button->setEnabled(false);
    // The rows as the audit log has the radios.
    for (const RadioRecord &r : records) {
        for (Radio &radio : m_radios) {
            if (radio.number == r.radio)
                radio.record = r;
        }
    }
    for (int row = 0; row < m_radios.size(); ++row)
        showRadio(row);
    m_summary->show();
    m_log->show();
    showTotals();
    updateOpenButton();
}

void FleetBoard::showTotals()
{
    QList<RadioRecord> records;
    for (const Radio &radio : std::as_const(m_radios)) {
        if (radio.record)
            records << *radio.record;
    }
    const auto verified = int(std::count_if(records.begin(), records.end(),
                                            [](const RadioRecord &r) { return r.result == RadioResult::Verified; }));
    QString totals = FleetTexts::totals(verified, int(records.size()) - verified);
    if (m_stopping)
        totals += tr("　正在停止：每个端口在下一个安全处结束……");
    m_totals->setText(totals);
    if (m_ended) {
        QStringList labels;
        for (const PortStatus &status : std::as_const(m_status))
            labels << status.label;
        m_summary->setText(FleetTexts::summary(records, m_ports, labels).trimmed());
        m_log->setText(tr("审计日志：%1").arg(tavin::platform::toQtPath(m_logPath)));
    }
}

void FleetBoard::updateOpenButton()
{
    m_open->setEnabled(m_ended && !backupOf(m_radioTable->currentRow()).isEmpty());
}

int FleetBoard::portRows() const
{
    return m_portTable->rowCount();
}

QString FleetBoard::portState(int index) const
{
    const QTableWidgetItem *item = m_portTable->item(index, PortStateColumn);
    return item ? item->text() : QString();
}

int FleetBoard::portProgress(int index) const
{
    const auto *bar = static_cast<QProgressBar *>(m_portTable->cellWidget(index, PortProgressColumn));
    return bar ? bar->value() : 0;
}

QString FleetBoard::portRadios(int index) const
{
    const QTableWidgetItem *item = m_portTable->item(index, PortRadiosColumn);
    return item ? item->text() : QString();
}

bool FleetBoard::goAheadEnabled(int index) const
{
    return index >= 0 && index < m_goAhead.size() && m_goAhead.at(index)->isEnabled();
}

void FleetBoard::clickGoAhead(int index)
{
    if (goAheadEnabled(index))
        m_goAhead.at(index)->click();
}

int FleetBoard::radioRows() const
{
    return m_radioTable->rowCount();
}

QString FleetBoard::radioCell(int row, Column column) const
{
    const QTableWidgetItem *item = m_radioTable->item(row, column);
    return item ? item->text() : QString();
}

QString FleetBoard::totals() const
{
    return m_totals->text();
}

QString FleetBoard::summary() const
{
    return m_ended ? m_summary->text() : QString();
}

QString FleetBoard::backupOf(int row) const
{
    if (row < 0 || row >= m_radios.size() || !m_radios.at(row).record)
        return {};
    return m_radios.at(row).record->backupFile;
}

void FleetBoard::selectRadioRow(int row)
{
    m_radioTable->setCurrentCell(row, Number);
    updateOpenButton();
}

bool FleetBoard::openBackupEnabled() const
{
    return m_open->isEnabled();
}
