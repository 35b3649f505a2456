#include "QtSerialLink.h"

#include "PortDrain.h"
#include "PortNames.h"

#include <algorithm>
#include <chrono>

namespace tavin::link {

namespace {
using Clock = std::chrono::steady_clock;

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
    m_device = mapPortName(portName).device;
    if (m_device.isEmpty())
        return false;
    m_port.setPortName(m_device);
    // The line format is applied by open(); settings the port refuses are
    // not fatal, the port is used with whatever it has.
    m_port.setBaudRate(kBaudRate);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port.open(QIODevice::ReadWrite))
        return false;
    m_port.clear();
    return true;
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
        if (waitMs <= 0 && Clock::now() >= limit)
            break;
        const int sliceMs = m_idleHook ? std::min(waitMs, kIdleSliceMs) : waitMs;
        if (!m_port.waitForReadyRead(std::max(sliceMs, 1))) {
            const QSerialPort::SerialPortError e = m_port.error();
            if (e != QSerialPort::TimeoutError && e != QSerialPort::NoError) {
                // A failing port (unplugged cable): the call itself fails.
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
            m_port.clearError();
            m_outputPending = true;
            return false;
        }
    }
    // handle() is an int descriptor on POSIX and a HANDLE on Windows.
    if (!drainOutput(qintptr(m_port.handle()))) {
        m_outputPending = true;
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
}

bool QtSerialLink::isOpen() const
{
    return m_port.isOpen();
}

}  // namespace tavin::link
