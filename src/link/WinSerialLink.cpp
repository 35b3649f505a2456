#include "WinSerialLink.h"

#include "PortNames.h"

#include <windows.h>

#include <algorithm>
#include <chrono>

namespace tavin::link {

namespace {
using Clock = std::chrono::steady_clock;

HANDLE handleOf(void *h) { return static_cast<HANDLE>(h); }

int msUntil(Clock::time_point t)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(t - Clock::now()).count();
    return static_cast<int>(std::max<long long>(0, left));
}

QString inUseText() { return QStringLiteral("the device is in use by another program"); }

// The system's text for a Win32 error code, in English where the system has it.
QString systemText(DWORD error)
{
    wchar_t *buffer = nullptr;
    const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    DWORD n = FormatMessageW(flags, nullptr, error, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                             reinterpret_cast<wchar_t *>(&buffer), 0, nullptr);
    if (n == 0)
        n = FormatMessageW(flags, nullptr, error, 0, reinterpret_cast<wchar_t *>(&buffer), 0, nullptr);
    QString text = n ? QString::fromWCharArray(buffer, int(n)).trimmed() : QString();
    LocalFree(buffer);
    while (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text.isEmpty() ? QStringLiteral("system error %1").arg(error) : text;
}

// What a failed CreateFile on a port means.
WinSerialLink::OpenFailure openFailureOf(DWORD error)
{
    if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION)
        return WinSerialLink::OpenFailure::InUse;
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return WinSerialLink::OpenFailure::Missing;
    return WinSerialLink::OpenFailure::System;
}
}  // namespace

WinSerialLink::WinSerialLink() = default;

WinSerialLink::~WinSerialLink()
{
    close();
}

bool WinSerialLink::open(const QString &portName)
{
    close();
    m_error.clear();
    m_openFailure = OpenFailure::None;
    m_failed = false;
    m_timeoutSet = -1;
    const QString named = mapPortName(portName).device;
    const int number = comPortNumber(named);
    if (number == 0) {
        m_device.clear();
        m_openFailure = OpenFailure::NotAPortName;
        m_error = QStringLiteral("'%1' is not a serial port name (COM1 to COM%2)").arg(named).arg(kMaxComPort);
        return false;
    }
    m_device = QStringLiteral("COM%1").arg(number);
    if (!claimPort()) {
        m_openFailure = OpenFailure::InUse;
        m_error = inUseText();
        return false;
    }
    // Every port through the device namespace: COM10 and above have no other name.
    const std::wstring path = (QStringLiteral("\\\\.\\") + m_device).toStdWString();
    // No sharing: the system refuses a second program the port while we hold it.
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        releaseClaim();
        m_openFailure = openFailureOf(error);
        switch (m_openFailure) {
        case OpenFailure::InUse:
            m_error = inUseText();
            break;
        case OpenFailure::Missing:
            m_error = QStringLiteral("no such serial port");
            break;
        default:
            m_error = systemText(error);
            break;
        }
        return false;
    }
    m_handle = h;
    // The queues and the line format are applied as far as the port takes
    // them; a port that refuses one is used with whatever it has.
    SetupComm(h, kInputQueueBytes, kOutputQueueBytes);
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (GetCommState(h, &dcb)) {
        dcb.BaudRate = kBaudRate;
        dcb.ByteSize = 8;
        dcb.Parity = NOPARITY;
        dcb.StopBits = ONESTOPBIT;
        dcb.fBinary = TRUE;
        dcb.fParity = FALSE;
        // No flow control: the cable has only the data lines.
        dcb.fOutxCtsFlow = FALSE;
        dcb.fOutxDsrFlow = FALSE;
        dcb.fDsrSensitivity = FALSE;
        dcb.fOutX = FALSE;
        dcb.fInX = FALSE;
        dcb.fDtrControl = DTR_CONTROL_ENABLE;
        dcb.fRtsControl = RTS_CONTROL_ENABLE;
        dcb.fAbortOnError = FALSE;
        SetCommState(h, &dcb);
    }
    QByteArray none;
    readSlice(0, kReadTotalBaseMs, none);  // sets the time-outs (nothing is read)
    PurgeComm(h, PURGE_RXCLEAR | PURGE_RXABORT | PURGE_TXABORT);
    return true;
}

bool WinSerialLink::claimPort()
{
    // A semaphore of one per port and login session: unlike a mutex it is not
    // taken twice by one thread, and it goes away with the last program that
    // has it, so a program that crashed leaves nothing behind.
    const std::wstring name = (QStringLiteral("Local\\tavin-serial-port-") + m_device).toStdWString();
    HANDLE claim = CreateSemaphoreW(nullptr, 1, 1, name.c_str());
    if (!claim)
        return true;  // no claim to be had: the port's own exclusive open still applies
    if (WaitForSingleObject(claim, 0) != WAIT_OBJECT_0) {
        CloseHandle(claim);
        return false;
    }
    m_claim = claim;
    return true;
}

void WinSerialLink::releaseClaim()
{
    if (!m_claim)
        return;
    ReleaseSemaphore(handleOf(m_claim), 1, nullptr);
    CloseHandle(handleOf(m_claim));
    m_claim = nullptr;
}

QString WinSerialLink::errorString() const
{
    return m_error;
}

bool WinSerialLink::needsReopen(const QString &portName)
{
    if (m_failed || !m_handle)
        return true;
    // A port whose device went away (a USB cable pulled out) fails this.
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(handleOf(m_handle), &errors, &status)) {
        markFailed(GetLastError());
        return true;
    }
    // The name may now stand for another port (its mapping was changed).
    const int number = comPortNumber(mapPortName(portName).device);
    return number == 0 || QStringLiteral("COM%1").arg(number) != m_device;
}

void WinSerialLink::markFailed(unsigned long systemError)
{
    m_failed = true;
    if (m_error.isEmpty())
        m_error = systemText(systemError);
    if (m_handle)
        CloseHandle(handleOf(m_handle));
    m_handle = nullptr;
    m_outputPending = false;
    releaseClaim();
}

void WinSerialLink::clear()
{
    if (!m_handle)
        return;
    // Every write waits until its bytes have left, so normally only the input
    // is discarded; discarding output too would throw away bytes the other
    // side has not taken yet on some drivers (a pseudo-terminal under Wine).
    DWORD flags = PURGE_RXCLEAR;
    if (m_outputPending) {
        flags |= PURGE_TXCLEAR;
        m_outputPending = false;
    }
    PurgeComm(handleOf(m_handle), flags);
}

void WinSerialLink::clearAndAbort()
{
    if (!m_handle)
        return;
    // Every call here is synchronous: nothing of ours is pending, but the
    // abort flags end whatever the driver still holds for us.
    DWORD flags = PURGE_RXCLEAR | PURGE_RXABORT | PURGE_TXABORT;
    if (m_outputPending) {
        flags |= PURGE_TXCLEAR;
        m_outputPending = false;
    }
    PurgeComm(handleOf(m_handle), flags);
    DWORD errors = 0;
    ClearCommError(handleOf(m_handle), &errors, nullptr);
}

bool WinSerialLink::readSlice(int wanted, int waitMs, QByteArray &into)
{
    HANDLE h = handleOf(m_handle);
    if (waitMs != m_timeoutSet) {
        // The slice's wait as the total time-out; the inter-byte limit as the
        // interval time-out, so the driver ends a read when the line pauses.
        COMMTIMEOUTS timeouts{};
        timeouts.ReadIntervalTimeout = kReadIntervalMs;
        timeouts.ReadTotalTimeoutMultiplier = 0;
        timeouts.ReadTotalTimeoutConstant = DWORD(std::max(waitMs, 1));
        timeouts.WriteTotalTimeoutMultiplier = kWriteTotalPerByteMs;
        timeouts.WriteTotalTimeoutConstant = kWriteTotalBaseMs;
        SetCommTimeouts(h, &timeouts);
        m_timeoutSet = waitMs;
    }
    if (wanted <= 0)
        return true;
    char buffer[256];
    const DWORD asked = DWORD(std::min<int>(wanted, int(sizeof buffer)));
    DWORD got = 0;
    if (!ReadFile(h, buffer, asked, &got, nullptr))
        return false;
    into.append(buffer, qsizetype(got));
    return true;
}

ReadResult WinSerialLink::read(int count)
{
    ReadResult result;
    if (!m_handle || count < 0)
        return result;
    const Clock::time_point deadline =
        Clock::now() + std::chrono::milliseconds(kReadTotalBaseMs + kReadTotalPerByteMs * count);
    Clock::time_point lastByte{};
    while (result.bytes.size() < count) {
        Clock::time_point limit = deadline;
        if (!result.bytes.isEmpty())
            limit = std::min(deadline, lastByte + std::chrono::milliseconds(kReadIntervalMs));
        const int waitMs = msUntil(limit);
        int sliceMs = waitMs;
        if (m_idleHook)
            sliceMs = std::min(sliceMs, kIdleSliceMs);
        if (!result.bytes.isEmpty())
            sliceMs = std::min(sliceMs, kIntervalSliceMs);
        const qsizetype before = result.bytes.size();
        // A program kept from running past the limit (a busy machine) still
        // takes what the driver already holds: those bytes came in time.
        if (!readSlice(int(count - before), waitMs <= 0 ? 0 : sliceMs, result.bytes)) {
            markFailed(GetLastError());
            result.ok = false;
            return result;
        }
        if (result.bytes.size() > before)
            lastByte = Clock::now();
        else if (waitMs <= 0 && Clock::now() >= limit)
            break;
        if (m_idleHook)
            m_idleHook();
    }
    result.ok = true;
    return result;
}

bool WinSerialLink::write(const QByteArray &bytes)
{
    if (!m_handle)
        return false;
    HANDLE h = handleOf(m_handle);
    DWORD written = 0;
    if (!WriteFile(h, bytes.constData(), DWORD(bytes.size()), &written, nullptr)) {
        markFailed(GetLastError());
        return false;
    }
    if (written != DWORD(bytes.size())) {
        // The write time-out ended it: the rest may still sit in the driver.
        m_outputPending = true;
        return false;
    }
    // The drain: back only once the driver has handed every byte to the line,
    // so a following clear cannot discard them.
    if (!FlushFileBuffers(h)) {
        markFailed(GetLastError());
        return false;
    }
    return true;
}

void WinSerialLink::close()
{
    // The port first: the claim goes once nothing of ours has it open.
    if (m_handle)
        CloseHandle(handleOf(m_handle));
    m_handle = nullptr;
    m_outputPending = false;
    releaseClaim();
}

bool WinSerialLink::isOpen() const
{
    return m_handle != nullptr;
}

}  // namespace tavin::link
