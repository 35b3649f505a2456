// The running system as the doctor sees it. Files are read below a root
// folder ("/" for the real system, a fake tree in tests).
#pragma once

#include "HostView.h"

namespace tavin::doctor {

class SystemHostView : public HostView {
public:
    explicit SystemHostView(QString root = QStringLiteral("/"));

    std::optional<QByteArray> readFile(const QString &path) const override;
    QStringList listDir(const QString &path) const override;
    QString linkTarget(const QString &path) const override;
    QString resolve(const QString &path) const override;
    FileStatus status(const QString &path) const override;
    QList<AclEntry> acl(const QString &path) const override;
    int tryOpen(const QString &path) const override;

    unsigned userId() const override;
    QString userName(unsigned uid) const override;
    QString groupName(unsigned gid) const override;
    QList<unsigned> activeGroups() const override;
    QList<unsigned> memberGroups() const override;
    qint64 processId() const override;

    std::optional<QStringList> kernelMessages() const override;
    link::PortMapping portMapping(const QString &name) const override;

protected:
    // The path inside the root folder.
    QString hostPath(const QString &path) const;
    // The same for a device node or file that is opened or looked at: on the
    // host, the system follows its links; below a root, resolve() does.
    QString nodePath(const QString &path) const;

private:
    QString m_root;  // without a trailing slash; empty for "/"
};

}  // namespace tavin::doctor
