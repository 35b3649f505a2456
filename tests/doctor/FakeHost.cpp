#include "FakeHost.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tavin::test {

FakeHost::FakeHost(const QString &root) : doctor::SystemHostView(root), m_root(root) {}

void FakeHost::writeFile(const QString &path, const QByteArray &contents) const
{
    QDir().mkpath(QFileInfo(m_root + path).absolutePath());
    QFile file(m_root + path);
    if (file.open(QIODevice::WriteOnly))
        file.write(contents);
}

void FakeHost::link(const QString &path, const QString &target) const
{
    QDir().mkpath(QFileInfo(m_root + path).absolutePath());
    QFile::link(target, m_root + path);
}

void FakeHost::addUsbDevice(const QString &bus, unsigned vid, unsigned pid, const QString &interfaceDriver) const
{
    const QString dir = QStringLiteral("/sys/devices/pci0000:00/usb1/") + bus;
    writeFile(dir + QStringLiteral("/idVendor"), QByteArray::number(vid, 16).rightJustified(4, '0') + '\n');
    writeFile(dir + QStringLiteral("/idProduct"), QByteArray::number(pid, 16).rightJustified(4, '0') + '\n');
    writeFile(dir + QStringLiteral("/product"), "USB Serial\n");
    QDir().mkpath(m_root + dir + QLatin1Char('/') + bus + QStringLiteral(":1.0"));
    if (!interfaceDriver.isEmpty())
        link(dir + QLatin1Char('/') + bus + QStringLiteral(":1.0/driver"), QStringLiteral("../../../../../bus/usb/drivers/") + interfaceDriver);
    link(QStringLiteral("/sys/bus/usb/devices/") + bus, QStringLiteral("../../../devices/pci0000:00/usb1/") + bus);
    link(QStringLiteral("/sys/bus/usb/devices/") + bus + QStringLiteral(":1.0"),
         QStringLiteral("../../../devices/pci0000:00/usb1/") + bus + QLatin1Char('/') + bus + QStringLiteral(":1.0"));
}

void FakeHost::addUsbSerialPort(const QString &bus, unsigned vid, unsigned pid, const QString &ttyName,
                                const QString &driver, const QString &number)
{
    addUsbDevice(bus, vid, pid, driver.section(QLatin1Char('-'), 0, 0));
    const QString portDir = QStringLiteral("/sys/devices/pci0000:00/usb1/%1/%1:1.0/%2").arg(bus, ttyName);
    QDir().mkpath(m_root + portDir);
    link(portDir + QStringLiteral("/driver"), QStringLiteral("../../../../../../bus/usb-serial/drivers/") + driver);
    const QString classDir = QStringLiteral("/sys/class/tty/") + ttyName;
    writeFile(classDir + QStringLiteral("/dev"), number.toUtf8() + '\n');
    link(classDir + QStringLiteral("/device"), QStringLiteral("../../../..") + portDir);
    writeFile(QStringLiteral("/dev/") + ttyName);
    statuses.insert(QStringLiteral("/dev/") + ttyName, doctor::FileStatus{true, true, 0, kDialout, 0660, 5, 100});
}

void FakeHost::addProcess(qint64 pid, const QString &name, const QStringList &openFiles, unsigned owner) const
{
    const QString dir = QStringLiteral("/proc/") + QString::number(pid);
    writeFile(dir + QStringLiteral("/comm"), name.toUtf8() + '\n');
    writeFile(dir + QStringLiteral("/status"), "Name:\t" + name.toUtf8() + "\nUid:\t" + QByteArray::number(owner) + '\t' +
                                                   QByteArray::number(owner) + "\n");
    QDir().mkpath(m_root + dir + QStringLiteral("/fd"));
    for (int i = 0; i < openFiles.size(); ++i)
        link(dir + QStringLiteral("/fd/") + QString::number(i + 3), openFiles.at(i));
}

doctor::FileStatus FakeHost::status(const QString &path) const
{
    const auto it = statuses.constFind(path);
    return it != statuses.constEnd() ? *it : SystemHostView::status(path);
}

QList<doctor::AclEntry> FakeHost::acl(const QString &path) const
{
    return acls.value(path);
}

int FakeHost::tryOpen(const QString &path) const
{
    return openErrors.value(path, 0);
}

QString FakeHost::userName(unsigned id) const
{
    return id == 0 ? QStringLiteral("root") : id == uid ? QStringLiteral("alice") : QString::number(id);
}

QString FakeHost::groupName(unsigned gid) const
{
    return gid == kDialout ? QStringLiteral("dialout") : gid == 0 ? QStringLiteral("root") : QString::number(gid);
}

}  // namespace tavin::test
