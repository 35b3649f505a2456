#include "FleetSetup.h"

#include "FleetPrompts.h"

#include "CloneOptions.h"
#include "DeviceLock.h"
#include "NativePath.h"
#include "PortNames.h"

#include <QCheckBox>
#include <QDate>
#include <QFormLayout>
#include <QGroupBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace {
constexpr int kMostRadios = 9999;
}  // namespace

FleetSetup::FleetSetup(std::function<FleetPrompts &()> prompts, QWidget *parent)
    : QWidget(parent), m_prompts(std::move(prompts))
{
    m_portBox = new QGroupBox(this);
    m_portList = new QVBoxLayout(m_portBox);

    auto *form = new QFormLayout;
    m_count = new QSpinBox(this);
    m_count->setRange(0, kMostRadios);
    QWidget *row = nullptr;
    m_backupDir = pathRow(&row, true);
    QWidget *logRow = nullptr;
    m_logPath = pathRow(&logRow, false);
    for (QWidget *field : {static_cast<QWidget *>(m_count), row, logRow}) {
        m_labels << new QLabel(this);
        form->addRow(m_labels.constLast(), field);
    }
    m_confirm = new QCheckBox(this);
    form->addRow(m_confirm);
    connect(m_backupDir, &QLineEdit::textChanged, this, &FleetSetup::showDefaults);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_portBox);
    layout->addLayout(form, 1);
    retranslate();
}

void FleetSetup::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslate();
}

void FleetSetup::retranslate()
{
    m_portBox->setTitle(tr("端口"));
    m_count->setSpecialValueText(tr("不限（直到停止）"));
    m_count->setSuffix(tr(" 台"));
    const QString labels[] = {tr("对讲机数量："), tr("备份文件夹："), tr("审计日志：")};
    for (int i = 0; i < m_labels.size(); ++i)
        m_labels.at(i)->setText(labels[i]);
    for (QPushButton *browse : std::as_const(m_browse))
        browse->setText(tr("浏览..."));
    m_confirm->setText(tr("逐台确认：每接好一台，按该端口的“继续”按钮（不等待拔下上一台）"));
    refreshPorts();
    showDefaults();
}

QLineEdit *FleetSetup::pathRow(QWidget **row, bool folder)
{
    *row = new QWidget(this);
    auto *edit = new QLineEdit(*row);
    auto *browse = new QPushButton(*row);
    m_browse << browse;
    auto *layout = new QHBoxLayout(*row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(edit, 1);
    layout->addWidget(browse);
    connect(browse, &QPushButton::clicked, this, [this, edit, folder] {
        const QString current = edit->text().isEmpty() ? edit->placeholderText() : edit->text();
        const QString chosen = folder ? m_prompts().chooseFolder(current) : m_prompts().chooseLogFile(current);
        if (!chosen.isEmpty())
            edit->setText(chosen);
    });
    return edit;
}

void FleetSetup::refreshPorts()
{
    const QStringList checked = checkedPorts();
    for (const Port &port : std::as_const(m_ports))
        delete port.box;
    m_ports.clear();
    const auto add = [this, &checked](const QString &name, const QString &label, bool enabled) {
        auto *box = new QCheckBox(label, this);
        box->setEnabled(enabled);
        box->setChecked(enabled && checked.contains(name));
        m_portList->addWidget(box);
        m_ports.append({name, box});
    };
    // COM1 to COM4 as mapped; then the devices found that none of them stands for.
    QStringList mapped;
    for (const QString &name : tavin::link::portChoices()) {
        const QString device = tavin::link::mapPortName(name).device;
        if (device.isEmpty()) {
            add(name, tr("%1（未找到设备）").arg(name), false);
            continue;
        }
        mapped << tavin::link::DeviceLock::resolve(device);
        add(name, device == name ? name : QStringLiteral("%1 (%2)").arg(name, device), true);
    }
    for (const tavin::link::SerialPortEntry &info : tavin::link::orderedPorts()) {
        const QString device = info.location;
        if (mapped.contains(tavin::link::DeviceLock::resolve(device)))
            continue;
        const QString description = info.description;
        add(device, description.isEmpty() ? device : tr("%1（%2）").arg(device, description), true);
    }
}

QStringList FleetSetup::portNames() const
{
    QStringList names;
    for (const Port &port : m_ports)
        names << port.name;
    return names;
}

QStringList FleetSetup::checkedPorts() const
{
    QStringList names;
    for (const Port &port : m_ports) {
        if (port.box->isChecked())
            names << port.name;
    }
    return names;
}

void FleetSetup::setPortChecked(const QString &name, bool checked)
{
    for (const Port &port : std::as_const(m_ports)) {
        if (port.name == name)
            port.box->setChecked(checked);
    }
}

int FleetSetup::count() const
{
    return m_count->value();
}

void FleetSetup::setCount(int count)
{
    m_count->setValue(count);
}

QString FleetSetup::backupDir() const
{
    return m_backupDir->text().trimmed();
}

void FleetSetup::setBackupDir(const QString &dir)
{
    m_backupDir->setText(dir);
}

QString FleetSetup::logPath() const
{
    return m_logPath->text().trimmed();
}

void FleetSetup::setLogPath(const QString &path)
{
    m_logPath->setText(path);
}

bool FleetSetup::confirmEachRadio() const
{
    return m_confirm->isChecked();
}

void FleetSetup::setConfirmEachRadio(bool confirm)
{
    m_confirm->setChecked(confirm);
}

void FleetSetup::showDefaultsFor(const QString &documentPath)
{
    m_documentPath = documentPath;
    showDefaults();
}

void FleetSetup::showDefaults()
{
    // The log's default follows the backup folder, whichever it is.
    QString dir = backupDir();
    if (dir.isEmpty() && !m_documentPath.isEmpty())
        dir = tavin::fleet::defaultBackupDir(m_documentPath, QDate::currentDate());
    m_backupDir->setPlaceholderText(m_documentPath.isEmpty()
                                        ? tr("默认：信道文件旁，以文件名和日期命名")
                                        : tavin::platform::toQtPath(
                                              tavin::fleet::defaultBackupDir(m_documentPath, QDate::currentDate())));
    m_logPath->setPlaceholderText(dir.isEmpty() ? tr("默认：备份文件夹中的 clone-log.jsonl")
                                                : tavin::platform::toQtPath(tavin::fleet::defaultLogPath(dir)));
}
