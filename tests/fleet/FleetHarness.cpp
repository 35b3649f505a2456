#include "FleetHarness.h"

#include "ChannelFile.h"
#include "QtSerialLink.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>

#include <csignal>

namespace tavin::test {

namespace {
constexpr int kStartTimeoutMs = 10000;
constexpr int kStopTimeoutMs = 10000;
}  // namespace

FleetSim::FleetSim(const QStringList &extraArgs, const RadioImage &memory)
{
    const QString memoryFile = m_dir.filePath(QStringLiteral("memory.sin"));
    if (!writeImageFile(memoryFile, memory) || !QDir(m_dir.path()).mkdir(QStringLiteral("kept")))
        return;
    QStringList args{QStringLiteral("--file"), memoryFile, QStringLiteral("--log"),
                     m_dir.filePath(QStringLiteral("bytes.log")), QStringLiteral("--save-dir"),
                     m_dir.filePath(QStringLiteral("kept"))};
    m_process.start(QStringLiteral(TAVIN_SIM_PATH), args + extraArgs);
    if (!m_process.waitForStarted(kStartTimeoutMs))
        return;
    while (!m_process.canReadLine()) {
        if (!m_process.waitForReadyRead(kStartTimeoutMs))
            return;
    }
    m_device = QString::fromLocal8Bit(m_process.readLine()).trimmed();
}

FleetSim::~FleetSim()
{
    stop();
}

void FleetSim::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(kStopTimeoutMs))
        m_process.kill();
    m_process.waitForFinished(kStopTimeoutMs);
}

QByteArray FleetSim::original(int n) const
{
    return readFile(m_dir.filePath(QStringLiteral("kept/radio-%1-original.sin").arg(n)));
}

QByteArray FleetSim::final(int n) const
{
    return readFile(m_dir.filePath(QStringLiteral("kept/radio-%1.sin").arg(n)));
}

QString FleetSim::errors()
{
    m_errors += m_process.readAllStandardError();
    return QString::fromUtf8(m_errors);
}

CloneProcess::CloneProcess(const QStringList &args)
{
    m_process.start(QStringLiteral(TAVIN_CLI_PATH), QStringList{QStringLiteral("clone")} + args);
    m_process.waitForStarted(kStartTimeoutMs);
}

CloneProcess::~CloneProcess()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(kStopTimeoutMs);
    }
}

void CloneProcess::collect()
{
    m_out += m_process.readAllStandardOutput();
    m_err += m_process.readAllStandardError();
}

int CloneProcess::finish(int timeoutMs)
{
    if (!m_process.waitForFinished(timeoutMs)) {
        collect();
        return -1;
    }
    collect();
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

void CloneProcess::interrupt()
{
    ::kill(static_cast<pid_t>(m_process.processId()), SIGINT);
}

void CloneProcess::type(const QByteArray &bytes)
{
    m_process.write(bytes);
    m_process.waitForBytesWritten(kStopTimeoutMs);
}

bool CloneProcess::waitForError(const QString &text, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        collect();
        if (QString::fromUtf8(m_err).contains(text))
            return true;
        if (deadline.hasExpired() || m_process.state() == QProcess::NotRunning)
            return false;
        m_process.waitForReadyRead(100);
    }
}

QString CloneProcess::out()
{
    collect();
    return QString::fromUtf8(m_out);
}

QString CloneProcess::err()
{
    collect();
    return QString::fromUtf8(m_err);
}

CliResult runClone(const QStringList &args, int timeoutMs)
{
    CloneProcess p(args);
    CliResult r;
    r.exitCode = p.finish(timeoutMs);
    r.out = p.out();
    r.err = p.err();
    return r;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeImageFile(const QString &path, const RadioImage &image)
{
    return static_cast<bool>(storeChannelFile(QFile::encodeName(path).toStdString(), image));
}

QByteArray bytesOf(const RadioImage &image, int from, int to)
{
    return QByteArray(reinterpret_cast<const char *>(image.data() + from), to - from);
}

QByteArray sha256Hex(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

bool portIsFree(const QString &device)
{
    link::QtSerialLink port;
    const bool opened = port.open(device);
    port.close();
    return opened;
}

}  // namespace tavin::test
