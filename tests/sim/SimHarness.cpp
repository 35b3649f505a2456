#include "SimHarness.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int kStartTimeoutMs = 20000;
constexpr int kStopTimeoutMs = 10000;
constexpr int kReplyTimeoutMs = 3000;
constexpr int kSilenceMs = 150;

}  // namespace

SimProcess::SimProcess(const QStringList &arguments, const QStringList &extraEnvironment)
    : m_arguments(arguments), m_process(std::make_unique<QProcess>())
{
    m_process->setProgram(QStringLiteral(TAVIN_SIM));
    QStringList environment = QProcess::systemEnvironment();
    environment += extraEnvironment;
    m_process->setEnvironment(environment);
}

SimProcess::~SimProcess()
{
    if (m_process->state() != QProcess::NotRunning)
        stop();
}

bool SimProcess::start()
{
    m_process->setArguments(m_arguments);
    m_process->start();
    if (!m_process->waitForStarted(kStartTimeoutMs))
        return false;
    QDeadlineTimer deadline(kStartTimeoutMs);
    while (!m_process->canReadLine()) {
        if (m_process->state() == QProcess::NotRunning || deadline.hasExpired())
            return false;
        m_process->waitForReadyRead(100);
    }
    m_device = QString::fromLocal8Bit(m_process->readLine()).trimmed();
    return !m_device.isEmpty();
}

int SimProcess::stop()
{
    if (m_process->state() == QProcess::NotRunning)
        return m_process->exitStatus() == QProcess::NormalExit ? m_process->exitCode() : -1;
    ::kill(static_cast<pid_t>(m_process->processId()), SIGTERM);
    if (!m_process->waitForFinished(kStopTimeoutMs)) {
        m_process->kill();
        m_process->waitForFinished(kStopTimeoutMs);
        return -1;
    }
    return m_process->exitStatus() == QProcess::NormalExit ? m_process->exitCode() : -1;
}

QString SimProcess::errors()
{
    m_errors += m_process->readAllStandardError();
    return QString::fromLocal8Bit(m_errors);
}

int runSimToFailure(const QStringList &arguments, QString *errors)
{
    QProcess process;
    process.start(QStringLiteral(TAVIN_SIM), arguments);
    if (!process.waitForFinished(kStopTimeoutMs)) {
        process.kill();
        process.waitForFinished(kStopTimeoutMs);
        return -1;
    }
    *errors = QString::fromLocal8Bit(process.readAllStandardError());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

RawPort::~RawPort()
{
    close();
}

bool RawPort::open(const QString &device)
{
    close();
    m_fd = ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_fd < 0)
        return false;
    termios settings{};
    if (::tcgetattr(m_fd, &settings) != 0) {
        close();
        return false;
    }
    ::cfmakeraw(&settings);
    ::cfsetispeed(&settings, B9600);
    ::cfsetospeed(&settings, B9600);
    ::tcsetattr(m_fd, TCSANOW, &settings);
    ::tcflush(m_fd, TCIOFLUSH);
    return true;
}

void RawPort::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool RawPort::send(const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno != EINTR && errno != EAGAIN)
            return false;
        if (n > 0)
            done += n;
    }
    return true;
}

QByteArray RawPort::receive(int count, int timeoutMs)
{
    QByteArray bytes;
    QDeadlineTimer deadline(timeoutMs);
    while (bytes.size() < count) {
        pollfd input{m_fd, POLLIN, 0};
        const int ready = ::poll(&input, 1, static_cast<int>(deadline.remainingTime()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;
        char chunk[256];
        const ssize_t n = ::read(m_fd, chunk, std::min<qsizetype>(sizeof chunk, count - bytes.size()));
        if (n > 0)
            bytes.append(chunk, n);
        else if (n < 0 && errno != EAGAIN && errno != EINTR)
            break;
    }
    return bytes;
}

QByteArray RawPort::receiveAll(int quietMs)
{
    QByteArray bytes;
    for (;;) {
        const QByteArray more = receive(4096, quietMs);
        if (more.isEmpty())
            return bytes;
        bytes += more;
    }
}

QByteArray RawPort::exchange(const QByteArray &bytes, int expectedCount)
{
    if (!send(bytes))
        return QByteArrayLiteral("<send failed>");
    if (expectedCount == 0)
        return receiveAll(kSilenceMs);
    QByteArray reply = receive(expectedCount, kReplyTimeoutMs);
    // A fast radio writes a whole answer at once: anything beyond it is there now.
    reply += receiveAll(5);
    return reply;
}

QByteArray probeFrame()
{
    return QByteArrayLiteral("\x02PROGRAM");
}

QByteArray readCommand(int address)
{
    QByteArray command("R");
    command += char(address >> 8);
    command += char(address & 0xFF);
    command += char(8);
    return command;
}

QByteArray writeFrame(int address, const QByteArray &data)
{
    QByteArray frame("W");
    frame += char(address >> 8);
    frame += char(address & 0xFF);
    frame += char(8);
    return frame + data;
}

QByteArray readReply(int address, const QByteArray &memory)
{
    return writeFrame(address, memory.mid(address, 8));
}

LogStreams readLog(const QString &path)
{
    LogStreams streams;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        streams.wellFormed = false;
        streams.badLine = QStringLiteral("<cannot open %1>").arg(path);
        return streams;
    }
    static const QRegularExpression kLine(QStringLiteral("^(\\d+\\.\\d{6}) (in|out)((?: [0-9a-f]{2})+)$"));
    double previous = 0;
    while (!file.atEnd()) {
        const QString line = QString::fromLatin1(file.readLine()).chopped(1);
        const QRegularExpressionMatch match = kLine.match(line);
        if (!match.hasMatch() || match.captured(1).toDouble() < previous) {
            streams.wellFormed = false;
            streams.badLine = line;
            continue;
        }
        previous = match.captured(1).toDouble();
        const QByteArray bytes = QByteArray::fromHex(match.captured(3).toLatin1());
        const bool in = match.captured(2) == QLatin1String("in");
        (in ? streams.in : streams.out) += bytes;
        for (qsizetype i = 0; i < bytes.size(); ++i)
            (in ? streams.inTimes : streams.outTimes).append(previous);
    }
    return streams;
}
