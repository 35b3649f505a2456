// One program per radio: the serial device itself is held exclusively while a
// transfer has it open, whatever name led to it (a symbolic link such as
// /dev/serial/by-id/..., the virtual radio's --link path, or the device path).
// The one place with platform calls for naming and locking devices.
#pragma once

#include <QString>

namespace tavin::link {

class DeviceLock {
public:
    enum class Result {
        Locked,   // the device is ours until release()
        InUse,    // another program holds it
        Failed,   // it cannot be opened at all (errorString() says why)
    };

    DeviceLock() = default;
    ~DeviceLock();
    DeviceLock(const DeviceLock &) = delete;
    DeviceLock &operator=(const DeviceLock &) = delete;

    // The device a name stands for, every symbolic link followed; the name
    // itself where it cannot be resolved (it does not exist). On Windows
    // "COMn" for any spelling of a port name ("com7", "\\.\COM7").
    static QString resolve(const QString &name);

    // What tells a device apart from every other, whatever name leads to it
    // (a symbolic link, a bind mount, a second device node): the device
    // number of a character device, else the file's own identity; empty when
    // nothing is found under the name. On Windows the port's "COMn".
    static QString identity(const QString &name);

    // Takes the device (a resolved path). Releases whatever was held before.
    Result acquire(const QString &device);
    void release();
    bool isHeld() const;
    QString errorString() const { return m_error; }

    // True while name still leads to the device held: false once the name
    // stands for another device (a link re-pointed, a cable plugged in again)
    // or for none.
    bool isNamedBy(const QString &name) const;

private:
    qintptr m_handle = -1;
    QString m_error;
};

}  // namespace tavin::link
