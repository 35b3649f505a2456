// Test helpers: tavin-sim as a child process, and a raw client of the test's
// own on the pseudo-terminal (plain POSIX calls, nothing from the link library,
// so the two sides of the protocol are checked independently).
#pragma once

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

class SimProcess {
public:
    explicit SimProcess(const QStringList &arguments, const QStringList &extraEnvironment = {});
    ~SimProcess();

    // Starts the sim and waits for the device path on its first line.
    bool start();
    const QString &device() const { return m_device; }
    // SIGTERM, then waits: the exit code, or -1 when it crashed or hung.
    int stop();
    // Everything the sim wrote to stderr so far.
    QString errors();
    QProcess &process() { return *m_process; }

private:
    QStringList m_arguments;
    std::unique_ptr<QProcess> m_process;
    QString m_device;
    QByteArray m_errors;
};

// Runs tavin-sim with arguments that should make it give up at once; returns
// the exit code (-1 when it did not end) and its stderr.
int runSimToFailure(const QStringList &arguments, QString *errors);

class RawPort {
public:
    RawPort() = default;
    ~RawPort();
    RawPort(const RawPort &) = delete;
    RawPort &operator=(const RawPort &) = delete;

    // Opens the device raw (no echo, no translation) and clears what waits.
    bool open(const QString &device);
    void close();
    bool isOpen() const { return m_fd >= 0; }

    bool send(const QByteArray &bytes);
    // Reads until count bytes are in or timeoutMs has passed.
    QByteArray receive(int count, int timeoutMs);
    // Whatever arrives within quietMs.
    QByteArray receiveAll(int quietMs);
    // send(), then the reply: expectedCount bytes, or, when expectedCount is 0,
    // whatever comes within a short silence.
    QByteArray exchange(const QByteArray &bytes, int expectedCount);

private:
    int m_fd = -1;
};

// The conversation's frames.
QByteArray probeFrame();
QByteArray readCommand(int address);
QByteArray writeFrame(int address, const QByteArray &data);
QByteArray readReply(int address, const QByteArray &memory);
inline const QByteArray kAckByte("\x06", 1);
inline const QByteArray kStxByte("\x02", 1);

// The log's two byte streams, and whether every line kept the format.
struct LogStreams {
    QByteArray in;
    QByteArray out;
    QList<double> inTimes;   // one per byte
    QList<double> outTimes;  // one per byte
    bool wellFormed = true;
    QString badLine;
};
LogStreams readLog(const QString &path);
