#include "CloneRun.h"

#include "DeviceLock.h"
#include "DurableAppend.h"
#include "NativePath.h"
#include "PortNames.h"
#include "SafeReplace.h"

#include <QDeadlineTimer>
#include <QThread>

#include <filesystem>

namespace tavin::fleet {

namespace {

QString labelFor(const QString &port, const QString &device)
{
    return device == port ? port : QStringLiteral("%1 (%2)").arg(port, device);
}

// What tells the device apart from any other, whatever name leads to it.
QString identityOf(const QString &device)
{
    const QString resolved = link::DeviceLock::resolve(device);
    const QString identity = link::DeviceLock::identity(resolved);
    return identity.isEmpty() ? resolved : identity;
}

}  // namespace

CloneRun::CloneRun(CloneOptions options, CloneObserver &observer, WorkerSetup setup)
    : m_options(std::move(options)), m_observer(observer), m_setup(std::move(setup)),
      m_control(m_options.count, m_options.logPath)
{
}

CloneRun::~CloneRun()
{
    stop();
    wait();
}

std::optional<Problem> CloneRun::prepare()
{
    using Cause = Problem::Cause;
    m_labels.clear();
    m_identities.clear();
    if (m_options.ports.isEmpty())
        return Problem{Problem::Kind::Usage, QStringLiteral("no port given"), Cause::NoPort, {}, {}};
    for (const QString &port : m_options.ports) {
        const QString device = link::mapPortName(port).device;
        if (device.isEmpty())
            return Problem{Problem::Kind::Port,
                           QStringLiteral("no serial device found for %1 (see 'tavin-cli ports')").arg(port),
                           Cause::NoDevice, {port}, {}};
        const QString label = labelFor(port, device);
        // Two names for one device (a link, a bind mount) would have two
        // workers talking over each other, or one locked out for the whole run.
        const QString identity = identityOf(device);
        if (const qsizetype earlier = m_identities.indexOf(identity); earlier >= 0)
            return Problem{Problem::Kind::Usage,
                           QStringLiteral("%1 and %2 are the same device; give each port once")
                               .arg(m_labels.at(earlier), label),
                           Cause::SameDevice, {m_labels.at(earlier), label}, {}};
        const std::unique_ptr<WorkerPort> probe = m_setup.makePort();
        if (!probe->link().open(port))
            return Problem{Problem::Kind::Port, QStringLiteral("cannot open %1: %2").arg(label, probe->errorString()),
                           Cause::PortOpen, {label}, probe->errorString()};
        probe->link().close();
        m_identities += identity;
        m_labels += label;
    }

    std::error_code ec;
    if (std::filesystem::equivalent(platform::toNative(m_options.logPath), platform::toNative(m_options.fileName), ec))
        return Problem{Problem::Kind::Usage, QStringLiteral("the audit log would be written into the channel file"),
                       Cause::LogIsFile, {}, {}};
    std::filesystem::create_directories(platform::toNative(m_options.backupDir), ec);
    if (ec) {
        const QString reason = QString::fromStdString(ec.message());
        return Problem{Problem::Kind::File,
                       QStringLiteral("cannot make the backup folder %1: %2")
                           .arg(platform::quoted(m_options.backupDir), reason),
                       Cause::BackupFolder, {}, reason};
    }
    const FileResult backups =
        checkReplaceable(platform::toNative(m_options.backupDir + QStringLiteral("/radio-0000.sin")), "backup file");
    if (!backups)
        return Problem{Problem::Kind::File, QString::fromStdString(backups.error), Cause::BackupFiles, {},
                       QString::fromStdString(backups.error)};
    const FileResult log = checkAppendable(platform::toNative(m_options.logPath), "audit log");
    if (!log)
        return Problem{Problem::Kind::File, QString::fromStdString(log.error), Cause::Log, {},
                       QString::fromStdString(log.error)};
    return std::nullopt;
}

int CloneRun::portIndexOf(const QString &name) const
{
    const QString device = link::mapPortName(name).device;
    return device.isEmpty() ? -1 : int(m_identities.indexOf(identityOf(device)));
}

void CloneRun::start()
{
    if (!m_threads.empty())
        return;
    m_running = int(m_options.ports.size());
    for (qsizetype i = 0; i < m_options.ports.size(); ++i) {
        m_workers.push_back(std::make_unique<PortWorker>(static_cast<int>(i), m_options.ports.at(i), m_labels.value(i),
                                                         m_options, m_setup, m_control, m_observer));
        PortWorker *worker = m_workers.back().get();
        m_threads.emplace_back(QThread::create([this, worker] {
            worker->run();
            if (--m_running == 0)
                m_observer.runEnded();
        }));
        m_threads.back()->start();
    }
}

void CloneRun::stop()
{
    m_control.cancel();
}

void CloneRun::finish()
{
    m_control.finish();
}

bool CloneRun::wait(int ms)
{
    const QDeadlineTimer until = ms < 0 ? QDeadlineTimer(QDeadlineTimer::Forever) : QDeadlineTimer(ms);
    for (const auto &thread : m_threads) {
        if (!thread->wait(until))
            return false;
    }
    return true;
}

bool CloneRun::isRunning() const
{
    return m_running.load() > 0;
}

}  // namespace tavin::fleet
