// The serial port on QSerialPort, with the protocol's fixed line settings
// and time-out rules.
#pragma once

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

    // The device the last open() used (for messages); empty before.
    QString device() const { return m_device; }
    // The port's own error text after a failed open.
    QString errorString() const { return m_port.errorString(); }

    static constexpr int kBaudRate = 9600;
    static constexpr int kReadTotalBaseMs = 500;
    static constexpr int kReadTotalPerByteMs = 50;
    static constexpr int kReadIntervalMs = 50;
    static constexpr int kWriteTotalBaseMs = 50;
    static constexpr int kWriteTotalPerByteMs = 50;
    static constexpr int kIdleSliceMs = 20;

private:
    QSerialPort m_port;
    QString m_device;
    bool m_outputPending = false;  // a write failed: its bytes may still be queued
    IdleHook m_idleHook;
};

}  // namespace tavin::link
