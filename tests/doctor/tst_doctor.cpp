// The doctor's checks against fake machines: each trouble a user meets with a
// programming cable is found, with the command that fixes it.
#include "Doctor.h"
#include "FakeHost.h"
#include "KnownChips.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <cerrno>
#include <functional>

using namespace tavin;
using tavin::test::FakeHost;

namespace {

constexpr unsigned kWch = 0x1a86;
constexpr unsigned kCh340 = 0x7523;
const QString kUsb0 = QStringLiteral("/dev/ttyUSB0");

void ch340Port(FakeHost &h)
{
    h.addUsbSerialPort(QStringLiteral("1-2"), kWch, kCh340, QStringLiteral("ttyUSB0"), QStringLiteral("ch341-uart"),
                       QStringLiteral("188:0"));
    h.mappings.insert(QStringLiteral("COM1"), {kUsb0, link::PortSource::Found});
}

void notInDialout(FakeHost &h)
{
    ch340Port(h);
    h.openErrors.insert(kUsb0, EACCES);
}

struct Scenario {
    const char *name;
    std::function<void(FakeHost &)> setUp;
    const char *check;       // the finding looked at
    doctor::Verdict verdict;
    const char *summary;     // a part of its summary line
    const char *fix;         // a part of its fix ("" : none expected)
    bool ready;
};

using doctor::Verdict;

const Scenario kScenarios[] = {
    {"CH340 cable: port found and ready", ch340Port, "serial-ports", Verdict::Ok,
     "/dev/ttyUSB0 (USB 1a86:7523 WCH CH340, driver ch341-uart)", "", true},
    {"no port: CH340 plugged in without driver",
     [](FakeHost &h) {
         h.addUsbDevice(QStringLiteral("1-2"), kWch, kCh340, {});
         h.kernel = QStringList{QStringLiteral("usb 1-2: new full-speed USB device number 5 using xhci_hcd"),
                                QStringLiteral("ch341: module not found")};
     },
     "serial-ports", Verdict::Fail, "WCH CH340 cable (USB 1a86:7523, at 1-2) is plugged in without its serial driver",
     "sudo modprobe ch341", false},
    {"no port: CP210x plugged in without driver",
     [](FakeHost &h) { h.addUsbDevice(QStringLiteral("3-1"), 0x10c4, 0xea60, {}); }, "serial-ports", Verdict::Fail,
     "Silicon Labs CP210x", "sudo modprobe cp210x", false},
    {"no port: CH340 held through usbfs",
     [](FakeHost &h) { h.addUsbDevice(QStringLiteral("1-2"), kWch, kCh340, QStringLiteral("usbfs")); }, "serial-ports",
     Verdict::Fail, "(bound: usbfs)", "sudo apt remove brltty", false},
    {"no port and no cable", [](FakeHost &) {}, "serial-ports", Verdict::Fail, "none found",
     "plug the programming cable into a USB port", false},
    {"brltty running takes a CH340",
     [](FakeHost &h) {
         ch340Port(h);
         h.addProcess(321, QStringLiteral("brltty"), {}, 0);
     },
     "brltty", Verdict::Fail, "brltty is running and takes the USB 1a86:7523 WCH CH340 cable", "sudo apt remove brltty",
     true},
    {"brltty's udev rule active with a CH341",
     [](FakeHost &h) {
         h.addUsbDevice(QStringLiteral("1-4"), kWch, 0x5523, {});
         h.writeFile(QStringLiteral("/usr/lib/udev/rules.d/85-brltty.rules"), "# rules\n");
     },
     "brltty", Verdict::Fail, "(udev rule 85-brltty.rules)", "sudo apt remove brltty", false},
    {"brltty's udev rule masked in /etc",
     [](FakeHost &h) {
         ch340Port(h);
         h.writeFile(QStringLiteral("/usr/lib/udev/rules.d/85-brltty.rules"), "# rules\n");
         h.link(QStringLiteral("/etc/udev/rules.d/85-brltty.rules"), QStringLiteral("/dev/null"));
     },
     "brltty", Verdict::Ok, "not in the way", "", true},
    {"brltty installed, no WCH cable",
     [](FakeHost &h) {
         h.addUsbSerialPort(QStringLiteral("1-3"), 0x067b, 0x2303, QStringLiteral("ttyUSB0"), QStringLiteral("pl2303"),
                            QStringLiteral("188:0"));
         h.mappings.insert(QStringLiteral("COM1"), {kUsb0, link::PortSource::Found});
         h.addProcess(321, QStringLiteral("brltty"), {}, 0);
     },
     "brltty", Verdict::Ok, "no CH340/CH341 cable plugged in", "", true},
    {"ModemManager probes a known cable, rule installed",
     [](FakeHost &h) {
         ch340Port(h);
         h.addProcess(400, QStringLiteral("ModemManager"), {}, 0);
         h.writeFile(QStringLiteral("/usr/lib/udev/rules.d/70-tavin-cable.rules"), "#\n");
         h.writeFile(QStringLiteral("/run/udev/data/c188:0"), "E:ID_VENDOR=1a86\n");
     },
     "modemmanager", Verdict::Warn, "may probe /dev/ttyUSB0", "sudo udevadm control --reload-rules", true},
    {"ModemManager probes a known cable, rule missing",
     [](FakeHost &h) {
         ch340Port(h);
         h.addProcess(400, QStringLiteral("ModemManager"), {}, 0);
     },
     "modemmanager", Verdict::Warn, "may probe /dev/ttyUSB0", "sudo apt install tavin", true},
    {"ModemManager probes an unknown chip",
     [](FakeHost &h) {
         h.addUsbSerialPort(QStringLiteral("1-5"), 0x2341, 0x0043, QStringLiteral("ttyACM0"), QStringLiteral("cdc_acm"),
                            QStringLiteral("166:0"));
         h.mappings.insert(QStringLiteral("COM1"), {QStringLiteral("/dev/ttyACM0"), link::PortSource::Found});
         h.addProcess(400, QStringLiteral("ModemManager"), {}, 0);
     },
     "modemmanager", Verdict::Warn, "may probe /dev/ttyACM0",
     "ATTRS{idVendor}==\"2341\", ATTRS{idProduct}==\"0043\", ENV{ID_MM_DEVICE_IGNORE}=\"1\"", true},
    {"ModemManager told to ignore the cable",
     [](FakeHost &h) {
         ch340Port(h);
         h.addProcess(400, QStringLiteral("ModemManager"), {}, 0);
         h.writeFile(QStringLiteral("/run/udev/data/c188:0"), "E:ID_MM_DEVICE_IGNORE=1\nG:uaccess\n");
     },
     "modemmanager", Verdict::Ok, "leaves the cable's port alone", "", true},
    {"permission: not in dialout", notInDialout, "permission", Verdict::Fail,
     "alice cannot open /dev/ttyUSB0: not in group dialout", "sudo usermod -aG dialout alice", false},
    {"permission: in dialout from the next login",
     [](FakeHost &h) {
         notInDialout(h);
         h.member << FakeHost::kDialout;
     },
     "permission", Verdict::Fail, "which counts from the next login", "log out and back in (in this terminal only: newgrp dialout)",
     false},
    {"permission: no group access at all",
     [](FakeHost &h) {
         notInDialout(h);
         h.statuses[kUsb0].mode = 0600;
         h.active << FakeHost::kDialout;
     },
     "permission", Verdict::Fail, "Permission denied (mode crw-------)", "sudo setfacl -m u:alice:rw /dev/ttyUSB0", false},
    {"permission: no hardware behind the node",
     [](FakeHost &h) {
         ch340Port(h);
         h.openErrors.insert(kUsb0, ENXIO);
     },
     "permission", Verdict::Fail, "cannot open /dev/ttyUSB0", "no hardware answers behind /dev/ttyUSB0", false},
    {"COM1 is a file, not a device",
     [](FakeHost &h) {
         ch340Port(h);
         h.writeFile(QStringLiteral("/home/alice/radio.sin"));
         h.mappings.insert(QStringLiteral("COM1"), {QStringLiteral("/home/alice/radio.sin"), link::PortSource::Settings});
         h.openErrors.insert(QStringLiteral("/home/alice/radio.sin"), ENOTTY);
     },
     "permission", Verdict::Fail, "/home/alice/radio.sin is not a serial port (a file, not a device)",
     "tavin-cli ports --set COM1=/dev/ttyUSB0", false},
    {"COM1 is a device that is no terminal",
     [](FakeHost &h) {
         ch340Port(h);
         h.mappings.insert(QStringLiteral("COM1"), {QStringLiteral("/dev/zero"), link::PortSource::Environment});
         h.statuses[QStringLiteral("/dev/zero")] = {true, true, 0, 0, 0666, 5, 4};
         h.openErrors.insert(QStringLiteral("/dev/zero"), ENOTTY);
     },
     "in-use", Verdict::Skip, "no serial device to look at", "", false},
    {"COM1 stands for no device", [](FakeHost &) {}, "permission", Verdict::Fail, "COM1 stands for no device",
     "plug the programming cable in", false},
    {"COM1 set to a device that is gone",
     [](FakeHost &h) {
         ch340Port(h);
         h.mappings.insert(QStringLiteral("COM1"), {QStringLiteral("/dev/ttyUSB5"), link::PortSource::Settings});
     },
     "permission", Verdict::Fail, "/dev/ttyUSB5 does not exist", "tavin-cli ports --set COM1=/dev/ttyUSB0", false},
    {"mapping: a setting names a missing device",
     [](FakeHost &h) {
         ch340Port(h);
         h.mappings.insert(QStringLiteral("COM3"), {QStringLiteral("/dev/ttyUSB5"), link::PortSource::Settings});
     },
     "mapping", Verdict::Warn, "COM3 /dev/ttyUSB5 (setting Ports/COM3, missing)", "tavin-cli ports --set COM3=/dev/ttyUSB0",
     true},
    {"mapping: the environment names a missing device",
     [](FakeHost &h) {
         ch340Port(h);
         h.mappings.insert(QStringLiteral("COM2"), {QStringLiteral("/dev/nothing"), link::PortSource::Environment});
     },
     "mapping", Verdict::Warn, "COM2 /dev/nothing (environment TAVIN_COM2, missing)", "unset TAVIN_COM2", true},
    {"in use: another program has it open",
     [](FakeHost &h) {
         ch340Port(h);
         h.addProcess(4242, QStringLiteral("minicom"), {QStringLiteral("/dev/pts/1"), kUsb0});
     },
     "in-use", Verdict::Fail, "/dev/ttyUSB0 is held by minicom (PID 4242)", "kill 4242", false},
    {"in use: a lock on the device",
     [](FakeHost &h) {
         ch340Port(h);
         h.addProcess(5151, QStringLiteral("tavin"), {}, 1001);
         h.writeFile(QStringLiteral("/proc/locks"), "1: FLOCK  ADVISORY  WRITE 5151 00:05:100 0 EOF\n"
                                                   "2: POSIX  ADVISORY  WRITE 77 00:05:999 0 EOF\n");
     },
     "in-use", Verdict::Fail, "held by tavin (PID 5151)", "kill 5151", false},
    {"in use: a serial lock file",
     [](FakeHost &h) {
         ch340Port(h);
         h.addProcess(6000, QStringLiteral("cutecom"), {}, 1001);
         h.writeFile(QStringLiteral("/run/lock/LCK..ttyUSB0"), "      6000\n");
     },
     "in-use", Verdict::Fail, "held by cutecom (PID 6000)", "kill 6000", false},
    {"in use: a stale lock file does not count",
     [](FakeHost &h) {
         ch340Port(h);
         h.writeFile(QStringLiteral("/var/lock/LCK..ttyUSB0"), "      6001\n");
     },
     "in-use", Verdict::Ok, "/dev/ttyUSB0 is free", "", true},
    {"in use: held where this user cannot see",
     [](FakeHost &h) {
         ch340Port(h);
         h.openErrors.insert(kUsb0, EBUSY);
     },
     "in-use", Verdict::Fail, "held by a program this user cannot see", "sudo fuser -v /dev/ttyUSB0", false},
    {"a pseudo-terminal's own program is not a rival",
     [](FakeHost &h) {
         h.writeFile(QStringLiteral("/dev/pts/7"));
         h.link(QStringLiteral("/tmp/radio"), QStringLiteral("/dev/pts/7"));
         h.mappings.insert(QStringLiteral("COM1"), {QStringLiteral("/tmp/radio"), link::PortSource::Environment});
         h.addProcess(777, QStringLiteral("tavin-sim"), {QStringLiteral("/dev/ptmx"), QStringLiteral("/dev/pts/7")});
     },
     "in-use", Verdict::Ok, "/tmp/radio is free", "", true},
};

}  // namespace

class TestDoctor : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void scenarios_data();
    void scenarios();
    void kernelMessagesHint();
    void probeThatCannotOpenIsNotReady();
    void cableRuleCoversTheKnownChips();
};

void TestDoctor::scenarios_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < int(std::size(kScenarios)); ++i)
        QTest::newRow(kScenarios[i].name) << i;
}

void TestDoctor::scenarios()
{
    QFETCH(int, index);
    const Scenario &s = kScenarios[index];
    QTemporaryDir root;
    QVERIFY(root.isValid());
    FakeHost host(root.path());
    s.setUp(host);
    doctor::Doctor doctor(host, nullptr);
    const doctor::DoctorReport report = doctor.run({});

    const doctor::Finding *found = nullptr;
    for (const doctor::Finding &f : report.findings) {
        if (f.check == QLatin1String(s.check))
            found = &f;
    }
    QVERIFY2(found, s.check);
    const QString text = report.text();
    QVERIFY2(found->summary.contains(QString::fromUtf8(s.summary)), qPrintable(text));
    QCOMPARE(doctor::verdictName(found->verdict), doctor::verdictName(s.verdict));
    if (*s.fix) {
        QVERIFY2(found->fix.contains(QString::fromUtf8(s.fix)), qPrintable(text));
        // The fix is printed right under the failing line.
        QVERIFY2(text.contains(QStringLiteral("fix: ") + found->fix), qPrintable(text));
    }
    QCOMPARE(report.portReady, s.ready);
    QVERIFY(text.contains(s.ready ? QStringLiteral("is ready") : QStringLiteral("is not ready")));
    // Seven checks, each one line, in a fixed order.
    QCOMPARE(report.findings.size(), 7);
}

void TestDoctor::kernelMessagesHint()
{
    QTemporaryDir root;
    FakeHost host(root.path());
    host.addUsbDevice(QStringLiteral("1-2"), kWch, kCh340, {});
    host.kernel = QStringList{QStringLiteral("usb 1-2: new full-speed USB device"),
                              QStringLiteral("usbfs: interface 0 claimed by ch341 while 'brltty' sets config #1"),
                              QStringLiteral("eth0: link up")};
    doctor::Doctor doctor(host, nullptr);
    doctor::DoctorReport report = doctor.run({});
    const QStringList details = report.findings.constFirst().details;
    QCOMPARE(details, QStringList{QStringLiteral("kernel: usbfs: interface 0 claimed by ch341 while 'brltty' sets config #1")});

    host.kernel.reset();  // dmesg restricted to root
    report = doctor.run({});
    QVERIFY(report.findings.constFirst().details.constFirst().contains(QStringLiteral("sudo dmesg")));
}

// Every check passed, yet the radio check cannot open the port (another
// program took it in between): the port is not ready, in the text and in
// the JSON alike.
void TestDoctor::probeThatCannotOpenIsNotReady()
{
    struct Refused final : doctor::RadioProber {
        doctor::ProbeResult probe(const QString &) override { return {false, false, {}, QStringLiteral("taken")}; }
    } refused;
    QTemporaryDir root;
    FakeHost host(root.path());
    ch340Port(host);
    doctor::Doctor doctor(host, &refused);
    const doctor::DoctorReport report = doctor.run({QStringLiteral("COM1"), true});
    QVERIFY(!report.portReady);
    QVERIFY(report.text().contains(QStringLiteral("is not ready")));
    QVERIFY(report.json(4).contains("\"ready\": false"));
}

// The udev rule shipped with the package and the doctor know the same chips.
void TestDoctor::cableRuleCoversTheKnownChips()
{
    const QString path = QStringLiteral(TAVIN_CABLE_RULE);
    QVERIFY(QFile::exists(path));
    // Seat access is granted by 73-seat-late.rules: the rule must come before it.
    QVERIFY(QFileInfo(path).fileName() < QStringLiteral("73-seat-late.rules"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    static const QRegularExpression ids(QStringLiteral("ATTRS\\{idVendor\\}==\"([0-9a-f]{4})\", ATTRS\\{idProduct\\}==\"([0-9a-f]{4})\"(.*)"));
    QStringList inRule;
    for (const QByteArray &raw : file.readAll().split('\n')) {
        const QRegularExpressionMatch m = ids.match(QString::fromUtf8(raw));
        if (!m.hasMatch())
            continue;
        inRule << m.captured(1) + QLatin1Char(':') + m.captured(2);
        QVERIFY2(m.captured(3).contains(QStringLiteral("TAG+=\"uaccess\"")), raw.constData());
        QVERIFY2(m.captured(3).contains(QStringLiteral("ENV{ID_MM_DEVICE_IGNORE}=\"1\"")), raw.constData());
    }
    QStringList known;
    for (const doctor::KnownChip &chip : doctor::knownChips())
        known << doctor::usbIdText(chip.vendorId, chip.productId);
    inRule.sort();
    known.sort();
    QCOMPARE(inRule, known);
}

QTEST_GUILESS_MAIN(TestDoctor)
#include "tst_doctor.moc"
