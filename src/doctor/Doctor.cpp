#include "Doctor.h"

#include "KnownChips.h"
#include "SafeReplace.h"

#include <QRegularExpression>

#include <cerrno>

namespace tavin::doctor {

namespace {

const QString kProc = QStringLiteral("/proc/");
const QStringList kUdevRuleFolders{QStringLiteral("/usr/lib/udev/rules.d"), QStringLiteral("/lib/udev/rules.d")};
const QString kLocalRuleFolder = QStringLiteral("/etc/udev/rules.d");
const QString kCableRule = QStringLiteral("70-tavin-cable.rules");
const QStringList kLockFolders{QStringLiteral("/run/lock"), QStringLiteral("/var/lock"), QStringLiteral("/tmp")};
constexpr int kKernelLinesShown = 6;
constexpr unsigned kGroupReadWrite = 060;
constexpr unsigned kPermReadWrite = 6;

QString errorText(int error)
{
    return QString::fromStdString(systemErrorText(error));
}

QString modeText(const FileStatus &st)
{
    QString text = st.isCharDevice ? QStringLiteral("c") : QStringLiteral("-");
    const char letters[] = "rwx";
    for (int shift = 8; shift >= 0; --shift)
        text += (st.mode >> shift) & 1U ? QLatin1Char(letters[(8 - shift) % 3]) : QLatin1Char('-');
    return text;
}

// A device number as /proc/locks writes it: major and minor in hex.
QString lockDeviceText(quint64 dev)
{
    const quint64 major = ((dev >> 8) & 0xfff) | ((dev >> 32) & ~quint64(0xfff));
    const quint64 minor = (dev & 0xff) | ((dev >> 12) & ~quint64(0xff));
    return QStringLiteral("%1:%2").arg(major, 2, 16, QLatin1Char('0')).arg(minor, 2, 16, QLatin1Char('0'));
}

QString chipText(const UsbDevice &usb)
{
    QString text = QStringLiteral("USB ") + usbIdText(usb.vendorId, usb.productId);
    if (const KnownChip *chip = findKnownChip(usb.vendorId, usb.productId))
        text += QLatin1Char(' ') + QString::fromLatin1(chip->name);
    else if (!usb.product.isEmpty())
        text += QLatin1Char(' ') + usb.product;
    return text;
}

QString portText(const SerialPort &port)
{
    QStringList parts;
    if (port.usb)
        parts << chipText(*port.usb);
    if (!port.driver.isEmpty())
        parts << QStringLiteral("driver ") + port.driver;
    return parts.isEmpty() ? port.device : QStringLiteral("%1 (%2)").arg(port.device, parts.join(QStringLiteral(", ")));
}

}  // namespace

Doctor::Doctor(const HostView &host, RadioProber *prober) : m_host(host), m_prober(prober) {}

DoctorReport Doctor::run(const DoctorOptions &options)
{
    m_ports = findSerialPorts(m_host);
    m_usbDevices = findUsbDevices(m_host);
    m_processes.clear();
    for (const QString &entry : m_host.listDir(kProc)) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (number)
            m_processes << Process{pid, processName(pid)};
    }

    DoctorReport report;
    report.portName = options.port;
    report.device = link::isPortChoice(options.port) ? m_host.portMapping(options.port).device : options.port;

    report.findings << checkSerialPorts() << checkBrltty() << checkModemManager(report.device);
    int openError = 0;
    const Finding permission = checkPermission(options.port, report.device, openError);
    const Finding inUse = checkInUse(report.device, openError);
    report.findings << permission << inUse << checkMapping();
    report.portReady = permission.verdict == Verdict::Ok && inUse.verdict == Verdict::Ok;
    if (options.probe)
        report.findings << probeRadio(options.port, report.device, report);
    else
        report.findings << Finding{QStringLiteral("radio"), Verdict::Skip,
                                   QStringLiteral("radio: not asked (add --port to try the handshake; nothing is read or written)"),
                                   {}, {}};
    return report;
}

Finding Doctor::checkSerialPorts() const
{
    Finding f{QStringLiteral("serial-ports"), Verdict::Ok, {}, {}, {}};
    if (!m_ports.isEmpty()) {
        QStringList names;
        for (const SerialPort &p : m_ports)
            names << portText(p);
        f.summary = QStringLiteral("serial ports: ") + names.join(QStringLiteral("; "));
        return f;
    }
    f.verdict = Verdict::Fail;
    // No port: is a cable there whose serial driver is missing?
    for (const UsbDevice &usb : m_usbDevices) {
        const KnownChip *chip = findKnownChip(usb.vendorId, usb.productId);
        if (!chip)
            continue;
        const QString drivers = usb.interfaceDrivers.join(QLatin1Char(',')).isEmpty()
            ? QStringLiteral("none") : usb.interfaceDrivers.join(QLatin1Char(','));
        f.summary = QStringLiteral("serial ports: none; a %1 cable (USB %2, at %3) is plugged in without its serial driver (bound: %4)")
                        .arg(QString::fromLatin1(chip->name), usbIdText(usb.vendorId, usb.productId), usb.busName, drivers);
        f.fix = usb.interfaceDrivers.contains(QStringLiteral("usbfs"))
            ? QStringLiteral("sudo apt remove brltty   (a program holds the cable through usbfs; see the brltty check)")
            : QStringLiteral("sudo modprobe %1").arg(QString::fromLatin1(chip->module));
        break;
    }
    if (f.summary.isEmpty()) {
        f.summary = QStringLiteral("serial ports: none found, and no known programming cable is plugged in");
        f.fix = QStringLiteral("plug the programming cable into a USB port, then run: tavin-cli doctor");
    }
    const std::optional<QStringList> kernel = m_host.kernelMessages();
    if (!kernel) {
        f.details << QStringLiteral("the kernel messages need root: sudo dmesg | grep -iE 'tty|ch341|pl2303|cp210x|ftdi|brltty'");
    } else {
        static const QRegularExpression hint(QStringLiteral("ttyUSB|ttyACM|ch341|ch34x|pl2303|cp210x|ftdi|brltty|usbfs"),
                                             QRegularExpression::CaseInsensitiveOption);
        QStringList hints;
        for (const QString &line : *kernel) {
            if (hint.match(line).hasMatch())
                hints << line;
        }
        if (hints.size() > kKernelLinesShown)
            hints = hints.mid(hints.size() - kKernelLinesShown);
        for (const QString &line : hints)
            f.details << QStringLiteral("kernel: ") + line.trimmed();
    }
    return f;
}

Finding Doctor::checkBrltty() const
{
    Finding f{QStringLiteral("brltty"), Verdict::Ok, {}, {}, {}};
    const UsbDevice *wch = nullptr;
    for (const UsbDevice &usb : m_usbDevices) {
        if (isWchChip(usb.vendorId, usb.productId)) {
            wch = &usb;
            break;
        }
    }
    QStringList activeRules;
    for (const QString &folder : kUdevRuleFolders) {
        for (const QString &name : m_host.listDir(folder)) {
            if (!name.contains(QStringLiteral("brltty")) || !name.endsWith(QStringLiteral(".rules")) ||
                activeRules.contains(name))
                continue;
            // A rule is switched off by a link to /dev/null (or an empty file) of the same name in /etc.
            const QString local = kLocalRuleFolder + QLatin1Char('/') + name;
            const bool masked = m_host.linkTarget(local) == QLatin1String("/dev/null") ||
                                m_host.readFile(local).value_or(QByteArray("x")).trimmed().isEmpty();
            if (!masked)
                activeRules << name;
        }
    }
    const bool running = processRunning(QStringLiteral("brltty"));
    if (!wch) {
        f.summary = QStringLiteral("brltty: not in the way (no CH340/CH341 cable plugged in)");
        if (running || !activeRules.isEmpty())
            f.details << QStringLiteral("brltty is installed and would take a CH340/CH341 cable for a braille display");
        return f;
    }
    if (!running && activeRules.isEmpty()) {
        f.summary = QStringLiteral("brltty: not in the way");
        return f;
    }
    f.verdict = Verdict::Fail;
    f.summary = QStringLiteral("brltty %1 takes the %2 cable for a braille display: its port appears and disappears at once")
                    .arg(running ? QStringLiteral("is running and") : QStringLiteral("(udev rule %1)").arg(activeRules.join(QStringLiteral(", "))),
                         chipText(*wch));
    f.fix = QStringLiteral("sudo apt remove brltty   (then plug the cable in again)");
    if (!activeRules.isEmpty())
        f.details << QStringLiteral("to keep brltty for a braille display: sudo ln -s /dev/null %1/%2 && "
                                    "sudo systemctl mask brltty-udev.service, then plug the cable in again")
                         .arg(kLocalRuleFolder, activeRules.constFirst());
    return f;
}

Finding Doctor::checkModemManager(const QString &device) const
{
    Finding f{QStringLiteral("modemmanager"), Verdict::Ok, {}, {}, {}};
    if (!processRunning(QStringLiteral("ModemManager"))) {
        f.summary = QStringLiteral("ModemManager: not running");
        return f;
    }
    QList<const SerialPort *> ports;
    if (const SerialPort *port = serialPortFor(device))
        ports << port;
    else
        for (const SerialPort &p : m_ports)
            ports << &p;
    QStringList probed;
    const SerialPort *first = nullptr;
    for (const SerialPort *p : ports) {
        if (!p->usb)
            continue;  // it looks only at USB ports
        const QByteArray udev = m_host.readFile(QStringLiteral("/run/udev/data/c") + p->number).value_or(QByteArray());
        if (udev.contains("E:ID_MM_DEVICE_IGNORE=1"))
            continue;
        probed << p->device;
        if (!first)
            first = p;
    }
    if (!first) {
        f.summary = QStringLiteral("ModemManager: running, and leaves the cable's port alone");
        return f;
    }
    f.verdict = Verdict::Warn;
    f.summary = QStringLiteral("ModemManager: running, and may probe %1 with modem commands when the cable is plugged in")
                    .arg(probed.join(QStringLiteral(", ")));
    const bool known = findKnownChip(first->usb->vendorId, first->usb->productId) != nullptr;
    bool ruleInstalled = false;
    for (const QString &folder : kUdevRuleFolders)
        ruleInstalled = ruleInstalled || m_host.readFile(folder + QLatin1Char('/') + kCableRule).has_value();
    if (known && ruleInstalled) {
        f.fix = QStringLiteral("sudo udevadm control --reload-rules && sudo udevadm trigger --subsystem-match=tty --action=change");
    } else if (known) {
        f.fix = QStringLiteral("sudo apt install tavin   (its udev rule tells ModemManager to leave programming cables alone)");
    } else {
        f.fix = QStringLiteral("echo 'ATTRS{idVendor}==\"%1\", ATTRS{idProduct}==\"%2\", ENV{ID_MM_DEVICE_IGNORE}=\"1\"' | "
                               "sudo tee /etc/udev/rules.d/70-tavin-local.rules && sudo udevadm control --reload-rules "
                               "&& sudo udevadm trigger --subsystem-match=tty --action=change")
                    .arg(first->usb->vendorId, 4, 16, QLatin1Char('0'))
                    .arg(first->usb->productId, 4, 16, QLatin1Char('0'));
    }
    return f;
}

Finding Doctor::checkPermission(const QString &portName, const QString &device, int &openError) const
{
    Finding f{QStringLiteral("permission"), Verdict::Fail, {}, {}, {}};
    openError = ENOENT;
    const QString suggestion = suggestedDevice();
    const QString mapFix = link::isPortChoice(portName) && !suggestion.isEmpty()
        ? QStringLiteral("tavin-cli ports --set %1=%2").arg(portName, suggestion)
        : QStringLiteral("plug the programming cable in, then run: tavin-cli doctor");
    if (device.isEmpty()) {
        f.summary = QStringLiteral("permission: %1 stands for no device").arg(portName);
        f.fix = mapFix;
        return f;
    }
    const FileStatus st = m_host.status(device);
    if (!st.exists) {
        f.summary = QStringLiteral("permission: %1 does not exist").arg(device);
        f.fix = mapFix;
        return f;
    }
    openError = m_host.tryOpen(device);
    const QString user = m_host.userName(m_host.userId());
    if (openError == 0) {
        f.verdict = Verdict::Ok;
        f.summary = QStringLiteral("permission: %1 can open %2").arg(user, device);
        return f;
    }
    if (openError == ENOTTY) {
        f.summary = QStringLiteral("permission: %1 is not a serial port (%2)")
                        .arg(device, st.isCharDevice ? QStringLiteral("a device, but not a terminal device")
                                                     : QStringLiteral("a file, not a device"));
        f.fix = suggestion.isEmpty() || suggestion == device ? mapFix
            : link::isPortChoice(portName) ? QStringLiteral("tavin-cli ports --set %1=%2").arg(portName, suggestion)
                                           : QStringLiteral("tavin-cli doctor --port %1").arg(suggestion);
        return f;
    }
    if (openError != EACCES && openError != EPERM) {
        f.summary = QStringLiteral("permission: cannot open %1: %2").arg(device, errorText(openError));
        if (openError == EBUSY)
            f.fix = QStringLiteral("close the program that holds it (see the next check)");
        else if (openError == ENXIO || openError == ENODEV || openError == EIO)
            f.fix = link::isPortChoice(portName) && !suggestion.isEmpty() && suggestion != device
                ? QStringLiteral("no hardware answers behind %1: plug the cable in again, or: %2").arg(device, mapFix)
                : QStringLiteral("no hardware answers behind %1: plug the cable in again").arg(device);
        else
            f.fix = mapFix;
        return f;
    }

    const QString group = m_host.groupName(st.gid);
    f.details << QStringLiteral("%1: owner %2, group %3, mode %4").arg(device, m_host.userName(st.uid), group, modeText(st));
    bool aclForUser = false;
    for (const AclEntry &e : m_host.acl(device)) {
        if (e.tag == AclEntry::Tag::User && e.id == m_host.userId())
            aclForUser = (e.perm & kPermReadWrite) == kPermReadWrite;
    }
    f.details << (aclForUser ? QStringLiteral("an access list entry gives %1 read and write, but the open still failed").arg(user)
                             : QStringLiteral("no access list entry for %1: the desktop's seat access (udev uaccess) does not cover this port").arg(user));
    const bool groupMayUse = (st.mode & kGroupReadWrite) == kGroupReadWrite;
    const bool memberNow = m_host.activeGroups().contains(st.gid);
    const bool memberLater = m_host.memberGroups().contains(st.gid);
    if (groupMayUse && memberLater && !memberNow) {
        f.summary = QStringLiteral("permission: %1 cannot open %2: added to group %3 after this login began, which counts from the next login")
                        .arg(user, device, group);
        f.fix = QStringLiteral("log out and back in (in this terminal only: newgrp %1)").arg(group);
    } else if (groupMayUse && !memberNow) {
        f.summary = QStringLiteral("permission: %1 cannot open %2: not in group %3").arg(user, device, group);
        f.fix = QStringLiteral("sudo usermod -aG %1 %2   (then log out and back in)").arg(group, user);
    } else {
        f.summary = QStringLiteral("permission: %1 cannot open %2: %3 (mode %4)").arg(user, device, errorText(openError), modeText(st));
        f.fix = QStringLiteral("sudo setfacl -m u:%1:rw %2   (until the cable is plugged in again)").arg(user, device);
    }
    return f;
}

Finding Doctor::checkInUse(const QString &device, int openError) const
{
    Finding f{QStringLiteral("in-use"), Verdict::Ok, {}, {}, {}};
    if (device.isEmpty() || !m_host.status(device).exists || openError == ENOTTY) {
        f.verdict = Verdict::Skip;
        f.summary = QStringLiteral("in use: no serial device to look at");
        return f;
    }
    int unreadable = 0;
    const QList<Process> holders = holdersOf(device, unreadable);
    if (!holders.isEmpty()) {
        QStringList names;
        QStringList pids;
        for (const Process &p : holders) {
            names << QStringLiteral("%1 (PID %2)").arg(p.name.isEmpty() ? QStringLiteral("?") : p.name).arg(p.pid);
            pids << QString::number(p.pid);
        }
        f.verdict = Verdict::Fail;
        f.summary = QStringLiteral("in use: %1 is held by %2").arg(device, names.join(QStringLiteral(", ")));
        f.fix = QStringLiteral("close that program (or: kill %1)").arg(pids.join(QLatin1Char(' ')));
        return f;
    }
    if (openError == EBUSY) {
        f.verdict = Verdict::Fail;
        f.summary = QStringLiteral("in use: %1 is held by a program this user cannot see").arg(device);
        f.fix = QStringLiteral("sudo fuser -v %1").arg(device);
        return f;
    }
    f.summary = QStringLiteral("in use: %1 is free").arg(device);
    if (unreadable > 0)
        f.details << QStringLiteral("%1 processes of other users could not be looked at (as root they can: sudo fuser -v %2)")
                         .arg(unreadable)
                         .arg(device);
    return f;
}

Finding Doctor::checkMapping() const
{
    Finding f{QStringLiteral("mapping"), Verdict::Ok, {}, {}, {}};
    QStringList parts;
    const QString suggestion = suggestedDevice();
    for (const QString &name : link::portChoices()) {
        const link::PortMapping m = m_host.portMapping(name);
        const QString source = link::portSourceText(name, m.source);
        if (m.device.isEmpty()) {
            parts << QStringLiteral("%1 -").arg(name);
            continue;
        }
        const bool exists = m_host.status(m.device).exists;
        parts << QStringLiteral("%1 %2 (%3%4)").arg(name, m.device, source, exists ? QString() : QStringLiteral(", missing"));
        if (exists || m.source == link::PortSource::Itself)
            continue;
        f.verdict = Verdict::Warn;
        if (m.source == link::PortSource::Environment) {
            f.details << QStringLiteral("%1 stands for %2, which does not exist; it comes from TAVIN_%1").arg(name, m.device);
            if (f.fix.isEmpty())
                f.fix = QStringLiteral("unset TAVIN_%1").arg(name);
        } else {
            f.details << QStringLiteral("%1 stands for %2, which does not exist").arg(name, m.device);
            if (f.fix.isEmpty())
                f.fix = suggestion.isEmpty() ? QStringLiteral("tavin-cli ports --unset %1").arg(name)
                                             : QStringLiteral("tavin-cli ports --set %1=%2").arg(name, suggestion);
        }
    }
    f.summary = QStringLiteral("COM1 to COM4: ") + parts.join(QStringLiteral("; "));
    return f;
}

Finding Doctor::probeRadio(const QString &portName, const QString &device, DoctorReport &report) const
{
    Finding f{QStringLiteral("radio"), Verdict::Fail, {}, {}, {}};
    report.probed = true;
    if (!report.portReady || !m_prober) {
        f.verdict = Verdict::Skip;
        f.summary = QStringLiteral("radio: not asked, the port is not ready");
        return f;
    }
    const ProbeResult probe = m_prober->probe(portName);
    report.portOpenedForProbe = probe.opened;
    report.radioAnswered = probe.answered;
    report.identity = probe.identity;
    if (!probe.opened) {
        // Ready by every check, yet not for the transfer: it is not ready.
        report.portReady = false;
        f.summary = QStringLiteral("radio: cannot open %1: %2").arg(device, probe.error);
        f.fix = QStringLiteral("tavin-cli doctor --port %1   (again, once the port is free)").arg(portName);
        return f;
    }
    if (!probe.answered) {
        f.summary = QStringLiteral("radio: no answer on %1 to 15 probes at 9600 baud").arg(device);
        f.fix = QStringLiteral("switch the radio on, push the cable's plug fully into the radio, then: tavin-cli doctor --port %1")
                    .arg(portName);
        return f;
    }
    QString printable;
    for (const char c : probe.identity)
        printable += c >= 0x20 && c < 0x7f ? QLatin1Char(c) : QLatin1Char('.');
    f.verdict = Verdict::Ok;
    f.summary = QStringLiteral("radio: answered on %1, identity \"%2\" (%3)")
                    .arg(device, printable, QString::fromLatin1(probe.identity.toHex(' ')));
    return f;
}

bool Doctor::processRunning(const QString &name) const
{
    for (const Process &p : m_processes) {
        if (p.name == name)
            return true;
    }
    return false;
}

QString Doctor::processName(qint64 pid) const
{
    return QString::fromUtf8(m_host.readFile(kProc + QString::number(pid) + QStringLiteral("/comm")).value_or(QByteArray()))
        .trimmed();
}

QList<Doctor::Process> Doctor::holdersOf(const QString &device, int &unreadable) const
{
    QList<Process> holders;
    const QString resolved = m_host.resolve(device);
    const qint64 self = m_host.processId();
    auto add = [&](qint64 pid) {
        if (pid == self)
            return;
        for (const Process &p : holders) {
            if (p.pid == pid)
                return;
        }
        holders << Process{pid, processName(pid)};
    };

    // Open descriptors, for the processes this user may look at.
    for (const Process &p : m_processes) {
        const QString fdFolder = kProc + QString::number(p.pid) + QStringLiteral("/fd");
        const QStringList fds = m_host.listDir(fdFolder);
        if (fds.isEmpty()) {
            // Kernel threads have no descriptors; other users' processes cannot be looked into.
            if (m_host.userId() != 0 && processOwner(p.pid) != m_host.userId())
                ++unreadable;
            continue;
        }
        bool holds = false;
        bool holdsMaster = false;
        for (const QString &fd : fds) {
            const QString target = m_host.linkTarget(fdFolder + QLatin1Char('/') + fd);
            holds = holds || (!target.isEmpty() && (target == device || target == resolved));
            holdsMaster = holdsMaster || target == QLatin1String("/dev/ptmx");
        }
        // A pseudo-terminal's own program (a virtual radio) keeps its far end open too: not a rival.
        if (holds && !(holdsMaster && resolved.startsWith(QStringLiteral("/dev/pts/"))))
            add(p.pid);
    }

    // Locks on the device, whoever holds them: "1: FLOCK ADVISORY WRITE <pid> <maj:min:inode> 0 EOF".
    const FileStatus st = m_host.status(device);
    const QString lockId = lockDeviceText(st.device) + QLatin1Char(':') + QString::number(st.inode);
    const QString locks = QString::fromUtf8(m_host.readFile(QStringLiteral("/proc/locks")).value_or(QByteArray()));
    for (const QString &line : locks.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList fields = line.simplified().split(QLatin1Char(' '));
        if (fields.size() >= 6 && fields.at(1) != QLatin1String("->") && fields.at(5) == lockId)
            add(fields.at(4).toLongLong());
    }

    // Lock files of the serial-port convention (Qt's serial port writes them too).
    const QString lockName = QStringLiteral("LCK..") + resolved.section(QLatin1Char('/'), -1);
    for (const QString &folder : kLockFolders) {
        const std::optional<QByteArray> content = m_host.readFile(folder + QLatin1Char('/') + lockName);
        if (!content)
            continue;
        const qint64 pid = QString::fromLatin1(*content).simplified().section(QLatin1Char(' '), 0, 0).toLongLong();
        if (pid > 0 && m_host.readFile(kProc + QString::number(pid) + QStringLiteral("/comm")))
            add(pid);
    }
    return holders;
}

unsigned Doctor::processOwner(qint64 pid) const
{
    // "Uid:\t<real>\t<effective>\t..."
    const QString status =
        QString::fromUtf8(m_host.readFile(kProc + QString::number(pid) + QStringLiteral("/status")).value_or(QByteArray()));
    for (const QString &line : status.split(QLatin1Char('\n'))) {
        if (line.startsWith(QStringLiteral("Uid:")))
            return line.simplified().section(QLatin1Char(' '), 1, 1).toUInt();
    }
    return 0;
}

QString Doctor::suggestedDevice() const
{
    return m_ports.isEmpty() ? QString() : m_ports.constFirst().device;
}

const SerialPort *Doctor::serialPortFor(const QString &device) const
{
    const QString resolved = m_host.resolve(device);
    for (const SerialPort &p : m_ports) {
        if (p.device == device || p.device == resolved)
            return &p;
    }
    return nullptr;
}

}  // namespace tavin::doctor
