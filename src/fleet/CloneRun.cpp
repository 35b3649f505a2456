#include "CloneRun.h"

#include "DurableAppend.h"
#include "LineInput.h"
#include "NativePath.h"
#include "PortWorker.h"

#include "PortNames.h"
#include "SystemSerialLink.h"
#include "SafeReplace.h"

#include <QFileInfo>
#include <QThread>

#include <filesystem>
#include <vector>

namespace tavin::fleet {

namespace {
constexpr int kWatchMs = 50;

QString labelFor(const QString &port, const QString &device)
{
    return device == port ? port : QStringLiteral("%1 (%2)").arg(port, device);
}
}  // namespace

CloneRun::CloneRun(CloneOptions options, CloneObserver &observer)
    : m_options(std::move(options)), m_observer(observer), m_control(m_options.count, m_options.logPath)
{
}

CloneRun::~CloneRun() = default;

std::optional<Problem> CloneRun::prepare()
{
    m_labels.clear();
    if (m_options.ports.isEmpty())
        return Problem{Problem::Kind::Usage, QStringLiteral("no port given")};
    QStringList devices;
    for (const QString &port : m_options.ports) {
        const QString device = link::mapPortName(port).device;
        if (device.isEmpty())
            return Problem{Problem::Kind::Port,
                           QStringLiteral("no serial device found for %1 (see 'tavin-cli ports')").arg(port)};
        const QString label = labelFor(port, device);
        // Two names for one device would have two workers talking over each other.
        const QString canonical = QFileInfo(device).canonicalFilePath();
        QString same = canonical.isEmpty() ? device : canonical;
#ifdef Q_OS_WIN
        // A Windows port is one port in any letter case, with or without "\\.\".
        if (const int number = link::comPortNumber(device))
            same = QStringLiteral("COM%1").arg(number);
#endif
        if (const qsizetype earlier = devices.indexOf(same); earlier >= 0)
            return Problem{Problem::Kind::Usage, QStringLiteral("%1 and %2 are the same device; give each port once")
                                                     .arg(m_labels.at(earlier), label)};
        link::SystemSerialLink probe;
        if (!probe.open(port))
            return Problem{Problem::Kind::Port, QStringLiteral("cannot open %1: %2").arg(label, probe.errorString())};
        probe.close();
        devices += same;
        m_labels += label;
    }

    std::error_code ec;
    if (std::filesystem::equivalent(platform::toNative(m_options.logPath), platform::toNative(m_options.fileName), ec))
        return Problem{Problem::Kind::Usage, QStringLiteral("the audit log would be written into the channel file")};
    std::filesystem::create_directories(platform::toNative(m_options.backupDir), ec);
    if (ec)
        return Problem{Problem::Kind::File, QStringLiteral("cannot make the backup folder %1: %2")
                                                .arg(platform::quoted(m_options.backupDir),
                                                     QString::fromStdString(ec.message()))};
    const FileResult backups =
        checkReplaceable(platform::toNative(m_options.backupDir + QStringLiteral("/radio-0000.sin")), "backup file");
    if (!backups)
        return Problem{Problem::Kind::File, QString::fromStdString(backups.error)};
    const FileResult log = checkAppendable(m_options.logPath, "audit log");
    if (!log)
        return Problem{Problem::Kind::File, QString::fromStdString(log.error)};
    return std::nullopt;
}

void CloneRun::run(const std::function<bool()> &interrupted)
{
    std::vector<std::unique_ptr<PortWorker>> workers;
    std::vector<std::unique_ptr<QThread>> threads;
    for (qsizetype i = 0; i < m_options.ports.size(); ++i) {
        workers.push_back(std::make_unique<PortWorker>(static_cast<int>(i), m_options.ports.at(i), m_labels.value(i),
                                                       m_options, m_control, m_observer));
        PortWorker *worker = workers.back().get();
        threads.emplace_back(QThread::create([worker] { worker->run(); }));
        threads.back()->start();
    }

    bool cancelSent = false;
    bool inputOpen = m_options.confirm;
    const bool echoes = inputOpen && inputIsTerminal();
    const auto running = [&threads] {
        for (const auto &t : threads) {
            if (!t->isFinished())
                return true;
        }
        return false;
    };
    while (running()) {
        if (!cancelSent && interrupted()) {
            cancelSent = true;
            m_control.cancel();
            m_observer.note(QStringLiteral("clone: stopping; every port ends its radio at the next safe point "
                                           "(Ctrl+C again ends at once)"));
        }
        if (!inputOpen) {
            QThread::msleep(kWatchMs);
            continue;
        }
        switch (waitForInputLine(kWatchMs)) {
        case LineEvent::Line:
            if (echoes)
                m_observer.enterEchoed();
            if (!m_control.goAhead())
                m_observer.note(QStringLiteral("clone: no port is waiting for Enter"));
            break;
        case LineEvent::End:
            inputOpen = false;
            m_control.finish();
            m_observer.note(QStringLiteral("clone: the input has ended; no new radio starts"));
            break;
        case LineEvent::None:
            break;
        }
    }
    for (const auto &t : threads)
        t->wait();
}

}  // namespace tavin::fleet
