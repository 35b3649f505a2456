// The serial port as the programming protocol sees it: six synchronous
// operations with fixed time-out rules. The desktop program and the
// command-line tool use QtSerialLink; the tests also plug in scripted ports.
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace tavin::link {

struct ReadResult {
    bool ok = false;    // false only when the port itself failed
    QByteArray bytes;   // what arrived, possibly fewer than asked (a time-out)
};

class SerialLink {
public:
    virtual ~SerialLink() = default;

    // Opens the port named "COM1".."COM4" (or a device path), exclusively, at
    // 9600 baud, 8 data bits, no parity, 1 stop bit. Only the open itself can
    // fail; line settings a port refuses are not reported.
    virtual bool open(const QString &portName) = 0;
    // Discards input received and not yet read, and output not yet sent.
    virtual void clear() = 0;
    // As clear(), and ends pending operations.
    virtual void clearAndAbort() = 0;
    // Reads up to count bytes. Returns as soon as count bytes are in; at the
    // latest 500 + 50 * count ms after the call; and 50 ms after the last byte
    // once one has arrived. A short read is still a successful call.
    virtual ReadResult read(int count) = 0;
    // Returns once the bytes have left the computer (so a following clear()
    // cannot discard them), at the latest 50 + 50 * size ms after the call.
    virtual bool write(const QByteArray &bytes) = 0;
    // Frees the port for other programs at once. Closing a closed port is harmless.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Asked when the user answers Retry: true when the port itself failed (a
    // read or write error, a hang-up, the device gone) or portName now leads
    // to another device (a cable plugged in again, a link re-pointed), so the
    // port must be closed and opened again by name before probing.
    virtual bool needsReopen(const QString &portName)
    {
        Q_UNUSED(portName);
        return false;
    }
};

// Called repeatedly while a read waits for bytes, at most about every 20 ms,
// so a window can repaint. It must not start another transfer.
using IdleHook = std::function<void()>;

}  // namespace tavin::link
