#include "SimRadio.h"

#include "ChannelFile.h"

#include <QFile>

namespace tavin::test {

namespace {
constexpr int kStartTimeoutMs = 10000;
constexpr int kStopTimeoutMs = 5000;
}  // namespace

QString SimRadio::simPath()
{
    return QStringLiteral(TAVIN_SIM_PATH);
}

SimRadio::SimRadio(const QStringList &extraArgs, const RadioImage &memory)
{
    const QString memoryFile = m_dir.filePath(QStringLiteral("memory.sin"));
    if (!storeChannelFile(memoryFile.toStdString(), memory))
        return;
    QStringList args{QStringLiteral("--file"), memoryFile, QStringLiteral("--log"), m_dir.filePath(QStringLiteral("bytes.log")),
                     QStringLiteral("--save"), savePath()};
    args += extraArgs;
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(simPath(), args);
    if (!m_process.waitForStarted(kStartTimeoutMs))
        return;
    while (!m_process.canReadLine()) {
        if (!m_process.waitForReadyRead(kStartTimeoutMs))
            return;
    }
    m_device = QString::fromLocal8Bit(m_process.readLine()).trimmed();
}

SimRadio::~SimRadio()
{
    stop();
}

void SimRadio::stop()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(kStopTimeoutMs))
            m_process.kill();
        m_process.waitForFinished(kStopTimeoutMs);
    }
}

QByteArray SimRadio::stream(const QString &direction) const
{
    QFile log(m_dir.filePath(QStringLiteral("bytes.log")));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes;
    const QByteArray tag = direction.toLatin1();
    while (!log.atEnd()) {
        const QList<QByteArray> fields = log.readLine().trimmed().split(' ');
        if (fields.size() < 3 || fields.at(1) != tag)
            continue;
        for (int i = 2; i < fields.size(); ++i)
            bytes += static_cast<char>(fields.at(i).toInt(nullptr, 16));
    }
    return bytes;
}

QByteArray probeFrame()
{
    return QByteArray::fromHex("0250524f4752414d");
}

int countProbes(const QByteArray &programBytes)
{
    return static_cast<int>(programBytes.count(probeFrame()));
}

RadioImage patternImage(int seed)
{
    RadioImage image;
    for (std::size_t i = 0; i < kImageSize; ++i)
        image[i] = static_cast<std::uint8_t>((i * 29 + static_cast<std::size_t>(seed) * 7 + (i >> 8)) & 0xFF);
    return image;
}

QByteArray bytesOf(const RadioImage &image, int from, int to)
{
    return QByteArray(reinterpret_cast<const char *>(image.data() + from), to - from);
}

}  // namespace tavin::test
