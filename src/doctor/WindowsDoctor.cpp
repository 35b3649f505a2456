#include "WindowsDoctor.h"

#ifdef Q_OS_WIN
#include "WinSerialLink.h"
#endif

namespace tavin::doctor {

namespace {

Finding notOnWindows(const QString &check, const QString &what)
{
    return Finding{check, Verdict::Skip, QStringLiteral("%1: does not apply on Windows").arg(what), {}, {}};
}

QString deviceManagerFix()
{
    return QStringLiteral("plug the programming cable in; Device Manager, under \"Ports (COM & LPT)\", "
                          "shows the COM number its driver gave it");
}

}  // namespace

DoctorReport runWindowsDoctor(const WindowsPortView &view, const QString &portName, bool probe, RadioProber *prober)
{
    DoctorReport report;
    report.portName = portName;
    const QString named = link::isPortChoice(portName) ? view.portMapping(portName).device : portName;
    const int number = link::comPortNumber(named);
    report.device = number ? QStringLiteral("COM%1").arg(number) : named;

    const QList<link::SerialPortEntry> ports = view.ports();
    Finding listed{QStringLiteral("serial-ports"), Verdict::Ok, {}, {}, {}};
    QStringList names;
    bool portListed = false;
    for (const link::SerialPortEntry &p : ports) {
        names << (p.description.isEmpty() ? p.location : QStringLiteral("%1 (%2)").arg(p.location, p.description));
        portListed = portListed || p.location == report.device;
    }
    if (ports.isEmpty()) {
        listed.verdict = Verdict::Fail;
        listed.summary = QStringLiteral("serial ports: none found");
        listed.fix = deviceManagerFix();
    } else {
        listed.summary = QStringLiteral("serial ports: ") + names.join(QStringLiteral("; "));
    }
    report.findings << listed << notOnWindows(QStringLiteral("brltty"), QStringLiteral("brltty"))
                    << notOnWindows(QStringLiteral("modemmanager"), QStringLiteral("ModemManager"))
                    << notOnWindows(QStringLiteral("permission"), QStringLiteral("permission (any user may open a port)"));

    Finding inUse{QStringLiteral("in-use"), Verdict::Fail, {}, {}, {}};
    if (number == 0) {
        inUse.summary = QStringLiteral("in use: '%1' is not a serial port name (COM1 to COM%2)").arg(named).arg(link::kMaxComPort);
        inUse.fix = QStringLiteral("tavin-cli doctor --port COMn, with the port's number from Device Manager");
    } else {
        const WindowsPortView::OpenAttempt attempt = view.tryOpen(report.device);
        switch (attempt.result) {
        case WindowsPortView::Open::Opened:
            inUse.verdict = Verdict::Ok;
            inUse.summary = QStringLiteral("in use: %1 is free").arg(report.device);
            if (!portListed)
                inUse.details << QStringLiteral("%1 opens, though the system's list of ports does not name it").arg(report.device);
            break;
        case WindowsPortView::Open::InUse:
            inUse.summary = QStringLiteral("in use: another program holds %1").arg(report.device);
            inUse.fix = QStringLiteral("close the program that has %1 open (another programming tool, a terminal "
                                       "program, a second tavin or tavin-cli)").arg(report.device);
            break;
        case WindowsPortView::Open::Missing:
            inUse.summary = QStringLiteral("in use: %1 does not exist").arg(report.device);
            inUse.fix = names.isEmpty() ? deviceManagerFix()
                                        : QStringLiteral("choose one of the ports found: %1").arg(names.join(QStringLiteral(", ")));
            break;
        case WindowsPortView::Open::Failed:
            inUse.summary = QStringLiteral("in use: cannot open %1: %2").arg(report.device, attempt.error);
            inUse.fix = QStringLiteral("unplug the cable and plug it in again, then run: tavin-cli doctor --port %1")
                            .arg(report.device);
            break;
        }
    }
    report.findings << inUse;

    Finding mapping{QStringLiteral("mapping"), Verdict::Ok, {}, {}, {}};
    QStringList parts;
    for (const QString &name : link::portChoices()) {
        const link::PortMapping m = view.portMapping(name);
        if (m.source == link::PortSource::Itself) {
            parts << name;
            continue;
        }
        parts << QStringLiteral("%1 %2 (%3)").arg(name, m.device, link::portSourceText(name, m.source));
    }
    mapping.summary = QStringLiteral("COM1 to COM4: ") + parts.join(QStringLiteral("; "));
    report.findings << mapping;

    report.portReady = inUse.verdict == Verdict::Ok;
    if (!probe) {
        report.findings << Finding{QStringLiteral("radio"), Verdict::Skip,
                                   QStringLiteral("radio: not asked (add --port to try the handshake; nothing is read or written)"),
                                   {}, {}};
        return report;
    }
    report.probed = true;
    Finding radio{QStringLiteral("radio"), Verdict::Skip, {}, {}, {}};
    if (!report.portReady || !prober) {
        radio.summary = QStringLiteral("radio: not asked, the port is not ready");
        report.findings << radio;
        return report;
    }
    const ProbeResult answer = prober->probe(portName);
    report.portOpenedForProbe = answer.opened;
    report.radioAnswered = answer.answered;
    report.identity = answer.identity;
    if (!answer.opened) {
        radio.verdict = Verdict::Fail;
        radio.summary = QStringLiteral("radio: cannot open %1: %2").arg(report.device, answer.error);
    } else if (answer.answered) {
        radio.verdict = Verdict::Ok;
        radio.summary = QStringLiteral("radio: answered on %1 (identity %2)")
                            .arg(report.device, QString::fromLatin1(answer.identity.toHex(' ')));
    } else {
        radio.verdict = Verdict::Fail;
        radio.summary = QStringLiteral("radio: no answer on %1 to 15 probes").arg(report.device);
        radio.fix = QStringLiteral("switch the radio on, check that the cable sits fully in the radio's socket, "
                                   "then run: tavin-cli doctor --port %1").arg(portName);
    }
    report.findings << radio;
    return report;
}

#ifdef Q_OS_WIN

QList<link::SerialPortEntry> SystemWindowsPortView::ports() const
{
    return link::orderedPorts();
}

link::PortMapping SystemWindowsPortView::portMapping(const QString &name) const
{
    return link::mapPortName(name);
}

WindowsPortView::OpenAttempt SystemWindowsPortView::tryOpen(const QString &port) const
{
    link::WinSerialLink link;
    OpenAttempt attempt;
    if (link.open(port)) {
        link.close();
        attempt.result = Open::Opened;
        return attempt;
    }
    switch (link.openFailure()) {
    case link::WinSerialLink::OpenFailure::InUse:
        attempt.result = Open::InUse;
        break;
    case link::WinSerialLink::OpenFailure::Missing:
        attempt.result = Open::Missing;
        break;
    default:
        attempt.result = Open::Failed;
        attempt.error = link.errorString();
        break;
    }
    return attempt;
}

#endif

}  // namespace tavin::doctor
