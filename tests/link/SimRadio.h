// A tavin-sim process for one test: started with the given options and a
// byte log, stopped when the object goes. The log is parsed into the two
// byte streams (program to radio, radio to program).
#pragma once

#include "RadioImage.h"

#include <QByteArray>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

namespace tavin::test {

class SimRadio {
public:
    // extraArgs: e.g. {"--fast", "--fault", "stray1"}. memory: loaded with --file.
    SimRadio(const QStringList &extraArgs, const RadioImage &memory);
    ~SimRadio();
    SimRadio(const SimRadio &) = delete;
    SimRadio &operator=(const SimRadio &) = delete;

    bool started() const { return !m_device.isEmpty(); }
    // Ends the sim as Ctrl+C would (its --link goes with it).
    void stop();
    QString device() const { return m_device; }
    QString savePath() const { return m_dir.filePath(QStringLiteral("saved.sin")); }
    QString dirPath() const { return m_dir.path(); }

    // Bytes the program sent ("in") and the radio sent ("out"), from the log.
    QByteArray programBytes() const { return stream(QStringLiteral("in")); }
    QByteArray radioBytes() const { return stream(QStringLiteral("out")); }

    static QString simPath();

private:
    QByteArray stream(const QString &direction) const;

    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_device;
};

// The program's 8-byte probe frame.
QByteArray probeFrame();
// How often the probe frame occurs in a stream.
int countProbes(const QByteArray &programBytes);
// A 1024-byte image with a recognisable pattern.
RadioImage patternImage(int seed);
QByteArray bytesOf(const RadioImage &image, int from = 0, int to = 1024);

}  // namespace tavin::test
