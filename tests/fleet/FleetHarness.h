// Test helpers for fleet runs: tavin-sim processes playing radios one after
// another, and tavin-cli clone as a child process that can be interrupted
// and fed Enter presses.
#pragma once

#include "RadioImage.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace tavin::test {

// A sim with a memory of its own (--file), a byte log and --save-dir; extra
// arguments such as {"--fast", "--radios", "2"}.
class FleetSim {
public:
    FleetSim(const QStringList &extraArgs, const RadioImage &memory);
    ~FleetSim();
    FleetSim(const FleetSim &) = delete;
    FleetSim &operator=(const FleetSim &) = delete;

    bool started() const { return !m_device.isEmpty(); }
    const QString &device() const { return m_device; }
    QString dirPath() const { return m_dir.path(); }
    // Stops the sim (it then keeps the memory of the radio in place).
    void stop();
    // Radio n's memory as it was plugged in, and as it was left.
    QByteArray original(int n) const;
    QByteArray final(int n) const;
    QString errors();

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_device;
    QByteArray m_errors;
};

// tavin-cli clone running in the background.
class CloneProcess {
public:
    explicit CloneProcess(const QStringList &args);
    ~CloneProcess();
    // Waits for it to end; the exit code, or -1 when it hung or crashed.
    int finish(int timeoutMs);
    void interrupt();                    // Ctrl+C
    void type(const QByteArray &bytes);  // on its standard input
    // Waits until its standard error holds text.
    bool waitForError(const QString &text, int timeoutMs);
    QString out();
    QString err();

private:
    void collect();
    QProcess m_process;
    QByteArray m_out;
    QByteArray m_err;
};

// Runs tavin-cli clone with args to its end: exit code, stdout and stderr.
struct CliResult {
    int exitCode = -1;
    QString out;
    QString err;
};
CliResult runClone(const QStringList &args, int timeoutMs = 120000);

// A channel file to program: a new document with two channels.
inline RadioImage fleetChannelFile()
{
    RadioImage image;
    image.resetToNewDocument(HiddenPreset::Uhf);
    image.channel(1).setFrequency(Side::Rx, 46256250);
    image.channel(1).setFrequency(Side::Tx, 46756250);
    image.channel(2).setFrequency(Side::Rx, 46258750);
    image.channel(2).setFrequency(Side::Tx, 46758750);
    return image;
}

QByteArray readFile(const QString &path);
bool writeImageFile(const QString &path, const RadioImage &image);
QByteArray bytesOf(const RadioImage &image, int from = 0, int to = 1024);
QByteArray sha256Hex(const QByteArray &bytes);
// True when the device opens and closes again (no worker holds it).
bool portIsFree(const QString &device);

}  // namespace tavin::test
