#include "FleetWindow.h"

#include "FleetBoard.h"
#include "FleetPrompts.h"
#include "FleetSetup.h"
#include "FleetTexts.h"

#include "ChannelFile.h"
#include "CloneRun.h"
#include "NativePath.h"

#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using tavin::fleet::CloneObserver;
using tavin::fleet::PortStatus;
using tavin::fleet::RadioEnd;

// Brings the run's events from the ports' threads to the window's.
class FleetWindow::Bridge final : public CloneObserver
{
public:
    explicit Bridge(FleetWindow &window) : m_window(window) {}

    void portChanged(int index, const PortStatus &status) override
    {
        post([this, index, status] { m_window.m_board->portChanged(index, status); });
    }
    void radioStarted(int index, int radio) override
    {
        post([this, index, radio] { m_window.m_board->radioStarted(index, radio); });
    }
    void radioEnded(int index, const RadioEnd &end) override
    {
        post([this, index, end] { m_window.m_board->radioEnded(index, end); });
    }
    void runEnded() override
    {
        post([this] { m_window.onRunEnded(); });
    }

private:
    // The window outlives the run (its destructor stops the run and waits).
    template <typename F>
    void post(F &&f)
    {
        QMetaObject::invokeMethod(&m_window, std::forward<F>(f), Qt::QueuedConnection);
    }

    FleetWindow &m_window;
};

FleetWindow::FleetWindow(Document document, QWidget *parent)
    : QWidget(parent, Qt::Dialog), m_document(std::move(document)),
      m_prompts(std::make_unique<DialogFleetPrompts>(this)), m_bridge(std::make_unique<Bridge>(*this))
{
    setWindowModality(Qt::NonModal);
    setAttribute(Qt::WA_DeleteOnClose);

    m_file = new QLabel(this);
    m_file->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_setup = new FleetSetup([this]() -> FleetPrompts & { return *m_prompts; }, this);
    m_note = new QLabel(this);
    m_note->setWordWrap(true);
    m_notice = new QLabel(this);
    m_notice->setWordWrap(true);
    m_notice->hide();
    m_board = new FleetBoard(this);
    m_start = new QPushButton(this);
    m_start->setDefault(true);
    m_stop = new QPushButton(this);
    m_close = new QPushButton(this);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_start);
    buttons->addWidget(m_stop);
    buttons->addStretch(1);
    buttons->addWidget(m_close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_file);
    layout->addWidget(m_setup);
    layout->addWidget(m_note);
    layout->addWidget(m_notice);
    layout->addWidget(m_board, 1);
    layout->addLayout(buttons);

    connect(m_start, &QPushButton::clicked, this, &FleetWindow::startRun);
    connect(m_stop, &QPushButton::clicked, this, &FleetWindow::stopRun);
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_board, &FleetBoard::goAhead, this, [this](int index) {
        if (m_run)
            m_run->goAhead(index);
    });
    connect(m_board, &FleetBoard::openBackup, this, [this](const QString &path) {
        m_document.openInForm(path);
        showDocument();
    });
    retranslate();
    setRunning(false);
    resize(900, 640);
}

void FleetWindow::retranslate()
{
    setWindowTitle(tr("批量写频"));
    m_note->setText(tr("主窗口仍可使用；但同一个端口不能同时用于批量写频和主窗口的读写频，"
                       "正在使用的端口会被拒绝。"));
    m_notice->setText(tr("主窗口正在读写频，结束后才能开始或关闭批量写频。"));
    m_start->setText(tr("开始(&S)"));
    m_stop->setText(tr("停止(&T)"));
    m_close->setText(tr("关闭"));
    showDocument();
}

FleetWindow::~FleetWindow()
{
    // Every port stops at its next safe point and is closed before the
    // window's parts go.
    m_run.reset();
}

void FleetWindow::setPrompts(std::unique_ptr<FleetPrompts> prompts)
{
    m_prompts = std::move(prompts);
}

bool FleetWindow::isRunning() const
{
    return m_run && m_run->isRunning();
}

void FleetWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (isRunning())
        return;
    m_setup->refreshPorts();
    showDocument();
}

void FleetWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    // Back from the main window, where another file may have been opened.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !isRunning())
        showDocument();
}

void FleetWindow::showDocument()
{
    if (isRunning()) {
        m_file->setText(tr("写入：%1").arg(tavin::platform::toQtPath(m_run->options().fileName)));
        return;
    }
    const QString path = m_document.path();
    m_file->setText(path.isEmpty() ? tr("写入：窗体中的数据（开始前须先保存为文件）")
                                   : tr("写入：%1（窗体中的数据）").arg(tavin::platform::toQtPath(path)));
    m_setup->showDefaultsFor(path);
}

bool FleetWindow::startRun()
{
    if (isRunning() || m_mainWindowBusy)
        return false;
    const QStringList ports = m_setup->checkedPorts();
    if (ports.isEmpty()) {
        tavin::fleet::Problem none{tavin::fleet::Problem::Kind::Usage, {}, tavin::fleet::Problem::Cause::NoPort, {}, {}};
        m_prompts->showProblem(FleetTexts::problem(none));
        return false;
    }
    // The audit log names a file and its hash: what the form shows must be in that file.
    if (m_document.hasUnsavedChanges()) {
        if (!m_prompts->askSaveFirst(m_document.name()) || !m_document.save())
            return false;
    }
    tavin::fleet::CloneOptions options;
    options.fileName = tavin::platform::absolutePath(m_document.path());
    std::size_t got = 0;
    const tavin::FileResult loaded =
        tavin::loadChannelFile(tavin::platform::toNative(options.fileName), options.image, tavin::HiddenPreset::Uhf, &got);
    if (!loaded || got < tavin::kImageSize) {
        m_prompts->showProblem(tr("无法读取要写入的信道文件。\n\n%1")
                                   .arg(loaded ? tr("%1 不是完整的信道文件").arg(tavin::platform::quoted(options.fileName))
                                               : QString::fromStdString(loaded.error)));
        return false;
    }
    options.ports = ports;
    options.count = m_setup->count();
    options.confirm = m_setup->confirmEachRadio();
    // A folder or log typed without its folder goes beside the channel file.
    const QString beside = options.fileName.left(options.fileName.lastIndexOf(QLatin1Char('/')) + 1);
    const auto placed = [&beside](const QString &path) {
        return tavin::platform::absolutePath(QDir::isRelativePath(path) ? beside + path : path);
    };
    options.backupDir = m_setup->backupDir().isEmpty()
                            ? tavin::fleet::defaultBackupDir(options.fileName, QDate::currentDate())
                            : placed(m_setup->backupDir());
    options.logPath =
        m_setup->logPath().isEmpty() ? tavin::fleet::defaultLogPath(options.backupDir) : placed(m_setup->logPath());

    auto run = std::make_unique<tavin::fleet::CloneRun>(options, *m_bridge);
    if (const std::optional<tavin::fleet::Problem> problem = run->prepare()) {
        m_prompts->showProblem(FleetTexts::problem(*problem));
        return false;
    }
    m_run.reset();  // the last run, ended
    m_run = std::move(run);
    m_board->startRun(ports, m_run->portLabels(), options.confirm);
    m_run->start();
    setRunning(true);
    showDocument();
    return true;
}

void FleetWindow::stopRun()
{
    if (!isRunning() || m_run->stopping())
        return;
    m_run->stop();
    m_stop->setEnabled(false);
    m_board->showStopping();
}

void FleetWindow::onRunEnded()
{
    if (!m_run)
        return;
    m_run->wait();
    m_board->showEnd(m_run->records(), m_run->options().logPath);
    setRunning(false);
    Q_EMIT runEnded();
    if (m_closeWhenStopped)
        close();
}

void FleetWindow::setRunning(bool running)
{
    m_setup->setEnabled(!running && !m_mainWindowBusy);
    m_start->setEnabled(!running && !m_mainWindowBusy);
    m_stop->setEnabled(running && !(m_run && m_run->stopping()));
}

void FleetWindow::setMainWindowBusy(bool busy)
{
    m_mainWindowBusy = busy;
    m_notice->setVisible(busy);
    setRunning(isRunning());
}

QString FleetWindow::portTakenReason(const QString &port) const
{
    if (!isRunning())
        return {};
    const int index = m_run->portIndexOf(port);
    if (index < 0)
        return {};
    return tr("批量写频正在使用 %1。同一个端口不能同时用于批量写频和读写频：请等批量写频结束，"
              "或在“端口”菜单中选择其他端口。")
        .arg(m_run->portLabels().value(index));
}

void FleetWindow::closeEvent(QCloseEvent *event)
{
    if (!isRunning()) {
        event->accept();
        return;
    }
    event->ignore();
    if (m_closeWhenStopped || m_mainWindowBusy || !m_prompts->askStopAndClose())
        return;
    m_closeWhenStopped = true;
    stopRun();
}
