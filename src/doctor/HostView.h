// Everything the doctor learns about the machine comes through here: the
// system's files (/sys, /dev, /proc, /run, /etc, the udev rule folders), a
// try at opening a device, the user's groups, the kernel messages and the
// port mapping. The real view reads the running system; tests give it fake
// trees and tables.
#pragma once

#include "PortNames.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace tavin::doctor {

struct FileStatus {
    bool exists = false;
    bool isCharDevice = false;
    unsigned uid = 0;
    unsigned gid = 0;
    unsigned mode = 0;         // permission bits (07777)
    quint64 device = 0;        // the file system the node lives on (st_dev)
    quint64 inode = 0;
};

// One entry of a POSIX access control list.
struct AclEntry {
    enum class Tag { User, Group, Mask, Other, OwnerUser, OwnerGroup };
    Tag tag = Tag::Other;
    unsigned id = 0;     // for User and Group
    unsigned perm = 0;   // 4 read, 2 write, 1 execute
};

class HostView {
public:
    virtual ~HostView() = default;

    // Files by absolute path. readFile: the contents (small files only), or
    // nothing when the file cannot be read.
    virtual std::optional<QByteArray> readFile(const QString &path) const = 0;
    // The names in a folder, sorted; empty when it cannot be listed.
    virtual QStringList listDir(const QString &path) const = 0;
    // A symbolic link's target as stored; empty when path is not a link.
    virtual QString linkTarget(const QString &path) const = 0;
    // The path with every link resolved; empty when it does not exist.
    virtual QString resolve(const QString &path) const = 0;
    // Follows links.
    virtual FileStatus status(const QString &path) const = 0;
    // The extra entries of a file's access control list (none: empty).
    virtual QList<AclEntry> acl(const QString &path) const = 0;
    // Opens the device for reading and writing, as a transfer does, and
    // closes it at once: 0, or the errno of the failure (ENOTTY when it
    // opened but is no terminal device, so no serial port).
    virtual int tryOpen(const QString &path) const = 0;

    virtual unsigned userId() const = 0;
    virtual QString userName(unsigned uid) const = 0;
    virtual QString groupName(unsigned gid) const = 0;
    // The groups of this login session (in force now).
    virtual QList<unsigned> activeGroups() const = 0;
    // The groups the group database gives the user (in force from the next login).
    virtual QList<unsigned> memberGroups() const = 0;
    virtual qint64 processId() const = 0;

    // The kernel's messages, oldest first; nothing when they may not be read.
    virtual std::optional<QStringList> kernelMessages() const = 0;
    // The device a port name stands for, as the programs map it.
    virtual link::PortMapping portMapping(const QString &name) const = 0;
};

}  // namespace tavin::doctor
