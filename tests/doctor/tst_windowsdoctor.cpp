// The doctor on Windows against tables of ports: what the system lists, what
// opens, what another program holds, and the radio's answer.
#include "SystemDoctor.h"
#include "WindowsDoctor.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace tavin;
using doctor::Verdict;
using doctor::WindowsPortView;

namespace {

class TablePorts final : public WindowsPortView {
public:
    QList<link::SerialPortEntry> listed;
    QHash<QString, OpenAttempt> opens;              // by port; missing ones do not exist
    QHash<QString, link::PortMapping> mappings;     // by choice; others are the port itself

    QList<link::SerialPortEntry> ports() const override { return listed; }
    link::PortMapping portMapping(const QString &name) const override
    {
        return mappings.value(name, {name, link::PortSource::Itself});
    }
    OpenAttempt tryOpen(const QString &port) const override
    {
        ++opened;
        return opens.value(port, {Open::Missing, {}});
    }
    mutable int opened = 0;
};

class ScriptedProber final : public doctor::RadioProber {
public:
    doctor::ProbeResult result;
    int asked = 0;
    doctor::ProbeResult probe(const QString &) override
    {
        ++asked;
        return result;
    }
};

link::SerialPortEntry listedPort(const QString &port, const QString &kernelName)
{
    link::SerialPortEntry e;
    e.location = port;
    e.description = kernelName;
    return e;
}

const doctor::Finding *finding(const doctor::DoctorReport &r, const QString &check)
{
    for (const doctor::Finding &f : r.findings) {
        if (f.check == check)
            return &f;
    }
    return nullptr;
}

}  // namespace

class TestWindowsDoctor : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void checks_data();
    void checks();
    void linuxChecksDoNotApply();
    void systemDoctorFitsThePlatform();
    void comPortNames_data();
    void comPortNames();
};

enum class Radio { NotAsked, Answers, Silent, CannotOpen };

void TestWindowsDoctor::checks_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("mappedTo");           // COM1's mapping ("" : itself)
    QTest::addColumn<int>("open");                   // WindowsPortView::Open of the port asked
    QTest::addColumn<int>("radio");
    QTest::addColumn<int>("inUseVerdict");
    QTest::addColumn<QString>("inUseSummary");
    QTest::addColumn<QString>("fixPart");
    QTest::addColumn<bool>("ready");
    QTest::addColumn<int>("radioVerdict");
    QTest::addColumn<QString>("device");

    const auto ok = int(Verdict::Ok), fail = int(Verdict::Fail), skip = int(Verdict::Skip);
    const auto opened = int(WindowsPortView::Open::Opened), inUse = int(WindowsPortView::Open::InUse),
               missing = int(WindowsPortView::Open::Missing), failed = int(WindowsPortView::Open::Failed);
    QTest::newRow("COM1 free, radio answers") << "COM1" << "" << opened << int(Radio::Answers) << ok
        << "COM1 is free" << "" << true << ok << "COM1";
    QTest::newRow("COM1 free, no radio") << "COM1" << "" << opened << int(Radio::Silent) << ok << "COM1 is free"
        << "switch the radio on" << true << fail << "COM1";
    QTest::newRow("COM1 held by another program") << "COM1" << "" << inUse << int(Radio::Answers) << fail
        << "another program holds COM1" << "close the program that has COM1 open" << false << skip << "COM1";
    QTest::newRow("COM1 does not exist") << "COM1" << "" << missing << int(Radio::Answers) << fail
        << "COM1 does not exist" << "COM3" << false << skip << "COM1";
    QTest::newRow("COM1 fails to open") << "COM1" << "" << failed << int(Radio::Answers) << fail
        << "cannot open COM1: The device does not recognize the command" << "unplug the cable" << false << skip << "COM1";
    QTest::newRow("COM1 mapped to COM3") << "COM1" << "COM3" << opened << int(Radio::Answers) << ok
        << "COM3 is free" << "" << true << ok << "COM3";
    QTest::newRow("COM12 given as itself, any case") << "com12" << "" << opened << int(Radio::NotAsked) << ok
        << "COM12 is free" << "" << true << skip << "COM12";
    QTest::newRow("a file name is no port") << "C:\\radio.sin" << "" << opened << int(Radio::Answers) << fail
        << "'C:\\radio.sin' is not a serial port name" << "--port COMn" << false << skip << "C:\\radio.sin";
    QTest::newRow("port opens, radio port held at the probe") << "COM1" << "" << opened << int(Radio::CannotOpen)
        << ok << "COM1 is free" << "" << true << fail << "COM1";
}

void TestWindowsDoctor::checks()
{
    QFETCH(QString, port);
    QFETCH(QString, mappedTo);
    QFETCH(int, open);
    QFETCH(int, radio);
    QFETCH(int, inUseVerdict);
    QFETCH(QString, inUseSummary);
    QFETCH(QString, fixPart);
    QFETCH(bool, ready);
    QFETCH(int, radioVerdict);
    QFETCH(QString, device);

    TablePorts ports;
    ports.listed = {listedPort(QStringLiteral("COM3"), QStringLiteral("\\Device\\VCP0"))};
    if (!mappedTo.isEmpty())
        ports.mappings.insert(QStringLiteral("COM1"), {mappedTo, link::PortSource::Settings});
    const QString opened = link::comPortNumber(device) ? device : QString();
    ports.opens.insert(opened, {WindowsPortView::Open(open),
                                QStringLiteral("The device does not recognize the command")});
    ScriptedProber prober;
    prober.result.opened = Radio(radio) != Radio::CannotOpen;
    prober.result.answered = Radio(radio) == Radio::Answers;
    prober.result.identity = prober.result.answered ? QByteArray("\x01\x02", 2) : QByteArray();
    prober.result.error = QStringLiteral("the device is in use by another program");

    const bool probe = Radio(radio) != Radio::NotAsked;
    const doctor::DoctorReport report = doctor::runWindowsDoctor(ports, port, probe, &prober);

    QCOMPARE(report.device, device);
    const doctor::Finding *inUse = finding(report, QStringLiteral("in-use"));
    QVERIFY(inUse);
    QCOMPARE(int(inUse->verdict), inUseVerdict);
    QVERIFY2(inUse->summary.contains(inUseSummary), qPrintable(inUse->summary));
    if (!fixPart.isEmpty()) {
        const doctor::Finding *radioFinding = finding(report, QStringLiteral("radio"));
        QVERIFY2(inUse->fix.contains(fixPart) || (radioFinding && radioFinding->fix.contains(fixPart)),
                 qPrintable(inUse->fix));
    }
    QCOMPARE(report.portReady, ready);
    const doctor::Finding *radioFinding = finding(report, QStringLiteral("radio"));
    QVERIFY(radioFinding);
    QCOMPARE(int(radioFinding->verdict), radioVerdict);
    // The radio is asked only through a port that is ready.
    QCOMPARE(prober.asked, probe && ready ? 1 : 0);
    QCOMPARE(report.probed, probe);
    if (probe && ready)
        QCOMPARE(report.radioAnswered, Radio(radio) == Radio::Answers);
    // The JSON tells a script the same.
    const QJsonObject json = QJsonDocument::fromJson(report.json(0)).object();
    QCOMPARE(json.value(QStringLiteral("ready")).toBool(), ready);
    QCOMPARE(json.value(QStringLiteral("device")).toString(), device);
}

void TestWindowsDoctor::linuxChecksDoNotApply()
{
    TablePorts ports;
    const doctor::DoctorReport report = doctor::runWindowsDoctor(ports, QStringLiteral("COM1"), false, nullptr);
    for (const char *check : {"brltty", "modemmanager", "permission"}) {
        const doctor::Finding *f = finding(report, QString::fromLatin1(check));
        QVERIFY(f);
        QCOMPARE(f->verdict, Verdict::Skip);
        QVERIFY2(f->summary.contains(QLatin1String("does not apply on Windows")), qPrintable(f->summary));
    }
    // No port listed: said, with where to find its number.
    const doctor::Finding *listed = finding(report, QStringLiteral("serial-ports"));
    QCOMPARE(listed->verdict, Verdict::Fail);
    QVERIFY(listed->fix.contains(QLatin1String("Device Manager")));
    QVERIFY(report.text().contains(QLatin1String("The port COM1 is not ready.")));
}

// What tavin-cli doctor and the window's cable check run: Windows' checks on
// Windows (never a Linux device or fix), the Linux ones elsewhere.
void TestWindowsDoctor::systemDoctorFitsThePlatform()
{
    const doctor::DoctorReport report = doctor::runSystemDoctor({QStringLiteral("COM9"), false}, nullptr);
    const doctor::Finding *brltty = finding(report, QStringLiteral("brltty"));
    QVERIFY(brltty);
#ifdef Q_OS_WIN
    QVERIFY2(brltty->summary.contains(QLatin1String("does not apply on Windows")), qPrintable(brltty->summary));
    QVERIFY2(!report.text().contains(QLatin1String("/dev/")), qPrintable(report.text()));
#else
    QVERIFY2(!brltty->summary.contains(QLatin1String("does not apply")), qPrintable(brltty->summary));
#endif
    QVERIFY(!report.portReady);
}

void TestWindowsDoctor::comPortNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("number");
    QTest::newRow("COM1") << "COM1" << 1;
    QTest::newRow("lower case") << "com7" << 7;
    QTest::newRow("device prefix") << "\\\\.\\COM10" << 10;
    QTest::newRow("the last one") << "COM256" << 256;
    QTest::newRow("past the last") << "COM257" << 0;
    QTest::newRow("COM0") << "COM0" << 0;
    QTest::newRow("leading zero") << "COM01" << 0;
    QTest::newRow("no number") << "COM" << 0;
    QTest::newRow("trailing text") << "COM1:" << 0;
    QTest::newRow("a sign") << "COM+1" << 0;
    QTest::newRow("a device path") << "/dev/ttyUSB0" << 0;
    QTest::newRow("a file of that name") << "C:\\COM1" << 0;
}

void TestWindowsDoctor::comPortNames()
{
    QFETCH(QString, name);
    QFETCH(int, number);
    QCOMPARE(link::comPortNumber(name), number);
}

QTEST_GUILESS_MAIN(TestWindowsDoctor)
#include "tst_windowsdoctor.moc"
