#include "QtSerialLink.h"

#include "PortDrain.h"
#include "PortNames.h"

#include <algorithm>
#include <chrono>

namespace tavin::link {

namespace {
using Clock = std::chrono::steady_clock;

// A timed-out wait is no failure of the port; anything else the port reports is.
bool isPortFailure(QSerialPort::SerialPortError error)
{
    return error != QSerialPort::NoError && error != QSerialPort::TimeoutError;
}

int msUntil(Clock::time_point t)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(t - Clock::now()).count();
    return static_cast<int>(std::max<long long>(0, left));
}
}  // namespace

QtSerialLink::QtSerialLink() = default;

QtSerialLink::~QtSerialLink()
{
    close();
}

bool QtSerialLink::open(const QString &portName)
{
    close();
    m_error.clear();
    m_failed = false;
    m_inUse = false;
    const QString named = mapPortName(portName).device;
    if (named.isEmpty()) {
        m_device.clear();
        return false;
    }
    // Whatever name was given, the device itself is opened and held: a second
    // program that reaches it through another name finds it taken.
    m_device = DeviceLock::resolve(named);
    if (const DeviceLock::Result locked = m_lock.acquire(m_device); locked != DeviceLock::Result::Locked) {
        m_error = m_lock.errorString();
        m_inUse = locked == DeviceLock::Result::InUse;
        return false;
    }
    m_port.setPortName(m_device);
    // The line format is applied by open(); settings the port refuses are
    // not fatal, the port is used with whatever it has.
    m_port.setBaudRate(kBaudRate);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port.open(QIODevice::ReadWrite)) {
        // The device is ours, yet the port refuses it: another program holds
        // it in a way of its own (a lock file, the terminal's exclusive mode).
        if (m_port.error() == QSerialPort::PermissionError) {
            m_error = QStringLiteral("the device is in use by another program");
            m_inUse = true;
        }
        m_lock.release();
        return false;
    }
    m_port.clear();
    return true;
}

QString QtSerialLink::errorString() const
{
    return m_error.isEmpty() ? m_port.errorString() : m_error;
}

bool QtSerialLink::needsReopen(const QString &portName)
{
    if (m_failed || !m_port.isOpen())
        return true;
    // A device that went away while nobody read from it shows it now.
    if (!m_port.waitForReadyRead(0) && isPortFailure(m_port.error())) {
        markFailed();
        return true;
    }
    m_port.clearError();
    const QString named = mapPortName(portName).device;
    return named.isEmpty() || !m_lock.isNamedBy(named);
}

void QtSerialLink::markFailed()
{
    m_failed = true;
    if (m_error.isEmpty())
        m_error = m_port.errorString();
    if (m_port.isOpen())
        m_port.close();
    m_port.clearError();
    m_outputPending = false;
    m_lock.release();
}

void QtSerialLink::clear()
{
    if (!m_port.isOpen())
        return;
    // Every write waits until its bytes have left, so normally no output is
    // pending here and only the input is discarded. Flushing the output
    // anyway would be harmless on a UART, but on a pseudo-terminal it throws
    // away bytes the other side has not read yet.
    if (m_outputPending || m_port.bytesToWrite() > 0) {
        m_port.clear(QSerialPort::AllDirections);
        m_outputPending = false;
    } else {
        m_port.clear(QSerialPort::Input);
    }
}

void QtSerialLink::clearAndAbort()
{
    // Every call here is synchronous, so nothing is pending besides the queues.
    clear();
    m_port.clearError();
}

ReadResult QtSerialLink::read(int count)
{
    ReadResult result;
    if (!m_port.isOpen() || count < 0)
        return result;
    const Clock::time_point deadline =
        Clock::now() + std::chrono::milliseconds(kReadTotalBaseMs + kReadTotalPerByteMs * count);
    Clock::time_point lastByte{};
    for (;;) {
        if (m_port.bytesAvailable() > 0) {
            const QByteArray got = m_port.read(count - result.bytes.size());
            if (!got.isEmpty()) {
                result.bytes += got;
                lastByte = Clock::now();
            }
        }
        if (result.bytes.size() >= count)
            break;
        Clock::time_point limit = deadline;
        if (!result.bytes.isEmpty())
            limit = std::min(deadline, lastByte + std::chrono::milliseconds(kReadIntervalMs));
        const int waitMs = msUntil(limit);
        if (waitMs <= 0 && Clock::now() >= limit) {
            // A program kept from running past the limit (a busy machine)
            // first takes what the driver already holds: those bytes came
            // in time, only the program was late to look.
            if (m_port.waitForReadyRead(0) && m_port.bytesAvailable() > 0)
                continue;
            m_port.clearError();
            break;
        }
        const int sliceMs = m_idleHook ? std::min(waitMs, kIdleSliceMs) : waitMs;
        if (!m_port.waitForReadyRead(std::max(sliceMs, 1))) {
            if (isPortFailure(m_port.error())) {
                // A failing port (unplugged cable, hang-up): the call itself fails.
                markFailed();
                result.ok = false;
                return result;
            }
            m_port.clearError();
        }
        if (m_idleHook)
            m_idleHook();
    }
    result.ok = true;
    return result;
}

bool QtSerialLink::write(const QByteArray &bytes)
{
    if (!m_port.isOpen())
        return false;
    if (m_port.write(bytes) != bytes.size()) {
        if (isPortFailure(m_port.error()))
            markFailed();
        else
            m_outputPending = true;
        return false;
    }
    const Clock::time_point deadline =
        Clock::now() + std::chrono::milliseconds(kWriteTotalBaseMs + kWriteTotalPerByteMs * bytes.size());
    while (m_port.bytesToWrite() > 0) {
        const int waitMs = msUntil(deadline);
        if (waitMs <= 0 || !m_port.waitForBytesWritten(waitMs)) {
            if (m_port.bytesToWrite() == 0)
                break;
            if (isPortFailure(m_port.error())) {
                markFailed();
                return false;
            }
            m_port.clearError();
            m_outputPending = true;
            return false;
        }
    }
    // handle() is an int descriptor on POSIX and a HANDLE on Windows.
    if (!drainOutput(qintptr(m_port.handle()))) {
        // The driver refuses to wait for the line: the device is gone.
        markFailed();
        return false;
    }
    return true;
}

void QtSerialLink::close()
{
    if (m_port.isOpen())
        m_port.close();
    m_port.clearError();
    m_outputPending = false;
    // The port goes first: the device stays held until nothing of ours has it open.
    m_lock.release();
}

bool QtSerialLink::isOpen() const
{
    return m_port.isOpen();
}

}  // namespace tavin::link
