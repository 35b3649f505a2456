#include "FleetBoard.h"

#include "FleetTexts.h"

#include "NativePath.h"

#include <QDateTime>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using tavin::fleet::PortState;
using tavin::fleet::PortStatus;
using tavin::fleet::RadioEnd;
using tavin::fleet::RadioRecord;
using tavin::fleet::RadioResult;

namespace {

enum PortColumn { PortName, PortStateColumn, PortProgressColumn, PortRadiosColumn, PortGoAhead, PortColumnCount };

QTableWidgetItem *textItem(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

}  // namespace

FleetBoard::FleetBoard(QWidget *parent) : QWidget(parent)
{
    m_portTable = new QTableWidget(0, PortColumnCount, this);
    m_portTable->setHorizontalHeaderLabels({tr("端口"), tr("状态"), tr("进度"), tr("本端口"), QString()});
    m_portTable->verticalHeader()->hide();
    m_portTable->setSelectionMode(QAbstractItemView::NoSelection);
    m_portTable->horizontalHeader()->setSectionResizeMode(PortStateColumn, QHeaderView::Stretch);
    m_portTable->setColumnWidth(PortProgressColumn, 160);

    m_radioTable = new QTableWidget(0, ColumnCount, this);
    m_radioTable->setHorizontalHeaderLabels(
        {tr("编号"), tr("端口"), tr("开始"), tr("结果"), tr("秒"), tr("备份"), tr("原因")});
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
    m_open = new QPushButton(tr("在窗体中打开备份(&O)"), this);
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
    updateTotals();
}

void FleetBoard::startRun(const QStringList &ports, const QStringList &labels, bool confirm)
{
    m_ports = ports;
    m_ended = false;
    m_verified = m_failed = 0;
    m_goAhead.clear();
    m_radioTable->setRowCount(0);
    m_portTable->setRowCount(int(labels.size()));
    m_portTable->setColumnHidden(PortGoAhead, !confirm);
    for (int i = 0; i < labels.size(); ++i) {
        m_portTable->setItem(i, PortName, textItem(labels.at(i)));
        m_portTable->setItem(i, PortStateColumn, textItem(tr("等待对讲机")));
        m_portTable->setItem(i, PortRadiosColumn, textItem(FleetTexts::portRadios(0, 0)));
        auto *bar = new QProgressBar(m_portTable);
        bar->setRange(0, 100);
        bar->setValue(0);
        m_portTable->setCellWidget(i, PortProgressColumn, bar);
        auto *button = new QPushButton(tr("继续"), m_portTable);
        button->setEnabled(false);
        connect(button, &QPushButton::clicked, this, [this, i] {
            m_goAhead.at(i)->setEnabled(false);
            Q_EMIT goAhead(i);
        });
        m_portTable->setCellWidget(i, PortGoAhead, button);
        m_goAhead << button;
    }
    m_portTable->resizeColumnToContents(PortName);
    // Every port in view: the table is as tall as its rows.
    int height = m_portTable->horizontalHeader()->height() + 2 * m_portTable->frameWidth();
    for (int i = 0; i < m_portTable->rowCount(); ++i)
        height += m_portTable->rowHeight(i);
    m_portTable->setFixedHeight(height);
    m_summary->hide();
    m_log->hide();
    updateTotals();
    updateOpenButton();
}

void FleetBoard::portChanged(int index, const PortStatus &status)
{
    if (index < 0 || index >= m_portTable->rowCount())
        return;
    m_portTable->item(index, PortStateColumn)->setText(FleetTexts::portState(status));
    m_portTable->item(index, PortRadiosColumn)->setText(FleetTexts::portRadios(status.verified, status.failed));
    auto *bar = static_cast<QProgressBar *>(m_portTable->cellWidget(index, PortProgressColumn));
    const bool transfer = status.state == PortState::Backup || status.state == PortState::Writing
                          || status.state == PortState::ReadingBack;
    if (transfer)
        bar->setValue(status.blocks > 0 ? status.block * 100 / status.blocks : 0);
    else
        bar->setValue(status.state == PortState::RadioDone || status.state == PortState::Confirm ? 100 : 0);
    m_goAhead.at(index)->setEnabled(status.state == PortState::Confirm);
}

void FleetBoard::radioStarted(int index, int radio)
{
    const int row = m_radioTable->rowCount();
    m_radioTable->insertRow(row);
    m_radioTable->setItem(row, Number, textItem(QString::number(radio)));
    m_radioTable->setItem(row, Port, textItem(m_ports.value(index)));
    m_radioTable->setItem(row, Start,
                          textItem(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))));
    m_radioTable->setItem(row, Result, textItem(FleetTexts::inProgress()));
    for (int column : {int(Seconds), int(Backup), int(Reason)})
        m_radioTable->setItem(row, column, textItem(QString()));
    m_radioTable->scrollToBottom();
}

void FleetBoard::radioEnded(int, const RadioEnd &end)
{
    const RadioRecord &r = end.record;
    const int row = rowOfRadio(r.radio);
    if (row < 0)
        return;
    m_radioTable->item(row, Start)->setText(r.start.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    m_radioTable->item(row, Result)->setText(FleetTexts::result(r.result));
    m_radioTable->item(row, Seconds)->setText(QString::number(double(r.start.msecsTo(r.end)) / 1000.0, 'f', 1));
    QTableWidgetItem *backup = m_radioTable->item(row, Backup);
    backup->setText(r.backupFile.isEmpty() ? QStringLiteral("-") : tavin::platform::fileNameOf(r.backupFile));
    backup->setData(Qt::UserRole, r.backupFile);
    backup->setToolTip(tavin::platform::toQtPath(r.backupFile));
    QTableWidgetItem *reason = m_radioTable->item(row, Reason);
    reason->setText(FleetTexts::reason(r));
    // The differences in the words of the comparison, as verify gives them.
    reason->setToolTip(r.differences.join(QLatin1Char('\n')));
    if (r.result == RadioResult::Verified)
        ++m_verified;
    else
        ++m_failed;
    updateTotals();
    updateOpenButton();
}

void FleetBoard::showStopping()
{
    m_totals->setText(FleetTexts::totals(m_verified, m_failed) + tr("　正在停止：每个端口在下一个安全处结束……"));
}

void FleetBoard::showEnd(const QList<RadioRecord> &records, const QString &logPath)
{
    m_ended = true;
    m_logPath = logPath;
    QStringList labels;
    for (int i = 0; i < m_portTable->rowCount(); ++i)
        labels << m_portTable->item(i, PortName)->text();
    m_summary->setText(FleetTexts::summary(records, m_ports, labels).trimmed());
    m_summary->show();
    m_log->setText(tr("审计日志：%1").arg(tavin::platform::toQtPath(logPath)));
    m_log->show();
    for (QPushButton *button : std::as_const(m_goAhead))
        button->setEnabled(false);
    updateTotals();
    updateOpenButton();
}

int FleetBoard::rowOfRadio(int radio) const
{
    for (int row = 0; row < m_radioTable->rowCount(); ++row) {
        if (m_radioTable->item(row, Number)->text() == QString::number(radio))
            return row;
    }
    return -1;
}

void FleetBoard::updateTotals()
{
    m_totals->setText(FleetTexts::totals(m_verified, m_failed));
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
    return m_summary->isVisibleTo(this) ? m_summary->text() : QString();
}

QString FleetBoard::backupOf(int row) const
{
    const QTableWidgetItem *item = row >= 0 ? m_radioTable->item(row, Backup) : nullptr;
    return item ? item->data(Qt::UserRole).toString() : QString();
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
