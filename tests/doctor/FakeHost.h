// A machine for the doctor made of a fake file tree (/sys, /dev, /proc, /run,
// /etc, the udev rule folders) in a temporary folder, plus tables for what a
// tree cannot hold: owners and modes, open results, groups, kernel messages
// and the port mapping.
#pragma once

#include "SystemHostView.h"

#include <QHash>
#include <QTemporaryDir>

#include <optional>

namespace tavin::test {

class FakeHost final : public doctor::SystemHostView {
public:
    explicit FakeHost(const QString &root);

    // Tree builders. Paths are absolute inside the fake machine.
    void writeFile(const QString &path, const QByteArray &contents = {}) const;
    void link(const QString &path, const QString &target) const;
    // A USB device at bus name (e.g. "1-2"); interfaceDriver empty: none bound.
    void addUsbDevice(const QString &bus, unsigned vid, unsigned pid, const QString &interfaceDriver) const;
    // A USB serial port ttyName on the device at bus, with its driver and device number.
    void addUsbSerialPort(const QString &bus, unsigned vid, unsigned pid, const QString &ttyName,
                          const QString &driver, const QString &number);
    void addProcess(qint64 pid, const QString &name, const QStringList &openFiles = {}, unsigned uid = 1000) const;

    // Tables
    QHash<QString, doctor::FileStatus> statuses;  // by path; missing: the tree decides
    QHash<QString, int> openErrors;               // by path; missing: 0
    QHash<QString, QList<doctor::AclEntry>> acls;
    QHash<QString, link::PortMapping> mappings;   // by COMn; missing: no device
    unsigned uid = 1000;
    QList<unsigned> active{1000};
    QList<unsigned> member{1000};
    std::optional<QStringList> kernel = QStringList{};

    doctor::FileStatus status(const QString &path) const override;
    QList<doctor::AclEntry> acl(const QString &path) const override;
    int tryOpen(const QString &path) const override;
    unsigned userId() const override { return uid; }
    QString userName(unsigned id) const override;
    QString groupName(unsigned gid) const override;
    QList<unsigned> activeGroups() const override { return active; }
    QList<unsigned> memberGroups() const override { return member; }
    qint64 processId() const override { return 1; }
    std::optional<QStringList> kernelMessages() const override { return kernel; }
    link::PortMapping portMapping(const QString &name) const override { return mappings.value(name); }

    static constexpr unsigned kDialout = 20;

private:
    QString m_root;
};

}  // namespace tavin::test
