// The serial port on the Win32 communications API, with the protocol's fixed
// line settings and time-out rules. The program's Windows build uses it in
// place of QtSerialLink; both keep the same timing.
#pragma once

#include "SerialLink.h"

namespace tavin::link {

class WinSerialLink final : public SerialLink {
public:
    WinSerialLink();
    ~WinSerialLink() override;
    WinSerialLink(const WinSerialLink &) = delete;
    WinSerialLink &operator=(const WinSerialLink &) = delete;

    // Called while a read waits, in slices of at most kIdleSliceMs.
    void setIdleHook(IdleHook hook) { m_idleHook = std::move(hook); }

    // portName: "COM1".."COM256" (any letter case, or with the "\\.\" prefix),
    // or another name that mapPortName() gives for it.
    bool open(const QString &portName) override;
    void clear() override;
    void clearAndAbort() override;
    ReadResult read(int count) override;
    bool write(const QByteArray &bytes) override;
    void close() override;
    bool isOpen() const override;
    bool needsReopen(const QString &portName) override;

    // The port the last open() used ("COM7"); empty before, or when no port
    // was found for the name.
    QString device() const { return m_device; }
    // Why the last open() failed: "the device is in use by another program"
    // when another program holds the port, otherwise the system's reason.
    QString errorString() const;
    // What kind of failure the last open() met.
    enum class OpenFailure { None, NotAPortName, InUse, Missing, System };
    OpenFailure openFailure() const { return m_openFailure; }
    // The last open() failed because another program holds the port.
    bool inUse() const { return m_openFailure == OpenFailure::InUse; }

    static constexpr int kBaudRate = 9600;
    static constexpr int kInputQueueBytes = 1024;
    static constexpr int kOutputQueueBytes = 512;
    static constexpr int kReadTotalBaseMs = 500;
    static constexpr int kReadTotalPerByteMs = 50;
    static constexpr int kReadIntervalMs = 50;
    static constexpr int kWriteTotalBaseMs = 50;
    static constexpr int kWriteTotalPerByteMs = 50;
    static constexpr int kIdleSliceMs = 20;
    // Once a byte of a read has arrived, the program looks at least this
    // often whether the next one keeps within the inter-byte limit.
    static constexpr int kIntervalSliceMs = 10;

private:
    // One ReadFile that waits at most waitMs for the bytes still missing.
    bool readSlice(int wanted, int waitMs, QByteArray &into);
    // The port itself failed (a cable pulled out): it is closed at once and
    // stays closed until the next open().
    void markFailed(unsigned long systemError);

    // Held while the port is open: one program of ours per port, also where
    // the driver lets a second program open it (some virtual ports, Wine).
    bool claimPort();
    void releaseClaim();

    void *m_handle = nullptr;  // HANDLE; nullptr when closed
    void *m_claim = nullptr;   // the port's named semaphore while claimed
    QString m_device;
    QString m_error;
    OpenFailure m_openFailure = OpenFailure::None;
    bool m_failed = false;
    bool m_outputPending = false;  // a write timed out: its bytes may still be queued
    int m_timeoutSet = -1;         // the read slice the port's time-outs hold now
    IdleHook m_idleHook;
};

}  // namespace tavin::link
