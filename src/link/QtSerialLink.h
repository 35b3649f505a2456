// The serial port on QSerialPort, with the protocol's fixed line settings
// and time-out rules.
#pragma once

#include "DeviceLock.h"
#include "SerialLink.h"

#include <QSerialPort>

namespace tavin::link {

class QtSerialLink final : public SerialLink {
public:
    QtSerialLink();
    ~QtSerialLink() override;

    // Called while a read waits, in slices of at most kIdleSliceMs.
    void setIdleHook(IdleHook hook) { m_idleHook = std::move(hook); }

    bool open(const QString &portName) override;
    void clear() override;
    void clearAndAbort() override;
    ReadResult read(int count) override;
    bool write(const QByteArray &bytes) override;
    void close() override;
    bool isOpen() const override;
    bool needsReopen(const QString &portName) override;

    // The device the last open() used, every symbolic link followed (for
    // messages); empty before, or when no device was found for the name.
    QString device() const { return m_device; }
    // Why the last open() failed: "the device is in use by another program"
    // when another program holds the device under whatever name, otherwise
    // the system's reason.
    QString errorString() const;
    // True when the last open() failed because another program holds the device.
    bool inUse() const { return m_inUse; }

    static constexpr int kBaudRate = 9600;
    static constexpr int kReadTotalBaseMs = 500;
    static constexpr int kReadTotalPerByteMs = 50;
    static constexpr int kReadIntervalMs = 50;
    static constexpr int kWriteTotalBaseMs = 50;
    static constexpr int kWriteTotalPerByteMs = 50;
    static constexpr int kIdleSliceMs = 20;

private:
    // A read or write found the port itself broken: it is closed at once, so
    // the device is free when the cable comes back, and stays closed until
    // the next open().
    void markFailed();

    QSerialPort m_port;
    DeviceLock m_lock;
    QString m_device;
    QString m_error;
    bool m_failed = false;
    bool m_inUse = false;
    bool m_outputPending = false;  // a write failed: its bytes may still be queued
    IdleHook m_idleHook;
};

}  // namespace tavin::link
