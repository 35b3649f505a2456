// tavin-cli ports --set/--unset: the mapping lands in the settings store that
// the desktop program's transfers read, the environment still comes first,
// and bad requests change nothing.
#include "NativePath.h"
#include "PortNames.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

}  // namespace

class TestPortMapping : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void changes_data();
    void changes();
    void desktopProgramReadsTheSetting();
    void unwritableSettingsFail();
    void deviceNameKeptByteForByte();

private:
    CliRun runCli(const QStringList &args, const QStringList &extraEnv = {});
    QString settingsFile() const;
    QString portsLine(const CliRun &listing, int n) const;

    QTemporaryDir m_home;
};

void TestPortMapping::initTestCase()
{
    QVERIFY(m_home.isValid());
    // This process reads the same store as the tavin-cli it starts; never the user's.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(QStringLiteral("config"))));
    qputenv("HOME", QFile::encodeName(m_home.path()));
    for (const QString &name : tavin::link::portChoices())
        qunsetenv(qPrintable(QStringLiteral("TAVIN_") + name));
}

void TestPortMapping::init()
{
    QFile::remove(settingsFile());
}

CliRun TestPortMapping::runCli(const QStringList &args, const QStringList &extraEnv)
{
    QProcess p;
    QStringList env = QProcess::systemEnvironment();  // carries this process's XDG_CONFIG_HOME and HOME
    env += extraEnv;
    p.setEnvironment(env);
    p.setWorkingDirectory(m_home.path());
    p.start(QStringLiteral(TAVIN_CLI_PATH), args);
    CliRun r;
    if (!p.waitForFinished(30000))
        return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

QString TestPortMapping::settingsFile() const
{
    return m_home.filePath(QStringLiteral("config/Local AppWizard-Generated Applications/Tavin写频软件.conf"));
}

QString TestPortMapping::portsLine(const CliRun &listing, int n) const
{
    return listing.out.split(QLatin1Char('\n')).value(n - 1);
}

void TestPortMapping::changes_data()
{
    QTest::addColumn<QList<QStringList>>("commands");  // run in order; the last one's exit code counts
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("env");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("listed");  // the port's line of 'ports' afterwards; the device part
    QTest::addColumn<QString>("source");

    using L = QList<QStringList>;
    const QStringList none;
    QTest::newRow("set COM1")
        << L{{"--set", "COM1=/dev/ttyUSB1"}} << 0 << none << 1 << "/dev/ttyUSB1" << "setting Ports/COM1";
    QTest::newRow("set two at once")
        << L{{"--set", "COM3=/dev/ttyS4", "--set", "COM4=/dev/ttyACM0"}} << 0 << none << 4 << "/dev/ttyACM0"
        << "setting Ports/COM4";
    QTest::newRow("set again replaces")
        << L{{"--set", "COM2=/dev/ttyUSB1"}, {"--set", "COM2=/dev/ttyUSB7"}} << 0 << none << 2 << "/dev/ttyUSB7"
        << "setting Ports/COM2";
    QTest::newRow("relative device made absolute")
        << L{{"--set", "COM1=radio-link"}} << 0 << none << 1 << "@HOME@/radio-link" << "setting Ports/COM1";
    QTest::newRow("by-id link kept as given")
        << L{{"--set", "COM1=/dev/serial/by-id/usb-1a86_USB_Serial-if00-port0"}} << 0 << none << 1
        << "/dev/serial/by-id/usb-1a86_USB_Serial-if00-port0" << "setting Ports/COM1";
    QTest::newRow("environment comes before the setting")
        << L{{"--set", "COM1=/dev/ttyUSB1"}} << 0 << QStringList{"TAVIN_COM1=/dev/from-env"} << 1 << "/dev/from-env"
        << "environment TAVIN_COM1";
    QTest::newRow("unset removes it")
        << L{{"--set", "COM2=/dev/ttyUSB1"}, {"--unset", "COM2"}} << 0 << none << 2 << "" << "";
    QTest::newRow("unset of an unmapped port is fine") << L{{"--unset", "COM3"}} << 0 << none << 3 << "" << "";
    QTest::newRow("unset then set: in that order")
        << L{{"--set", "COM2=/dev/ttyUSB1"}, {"--unset", "COM2", "--set", "COM2=/dev/ttyUSB6"}} << 0 << none << 2
        << "/dev/ttyUSB6" << "setting Ports/COM2";
    QTest::newRow("set then unset: in that order")
        << L{{"--set=COM2=/dev/ttyUSB6", "--unset=COM2"}} << 0 << none << 2 << "" << "";
    QTest::newRow("COM5 refused") << L{{"--set", "COM5=/dev/ttyUSB1"}} << 2 << none << 1 << "" << "";
    QTest::newRow("lower-case name refused") << L{{"--unset", "com1"}} << 2 << none << 1 << "" << "";
    QTest::newRow("no device refused") << L{{"--set", "COM1="}} << 2 << none << 1 << "" << "";
    QTest::newRow("no equals sign refused") << L{{"--set", "COM1"}} << 2 << none << 1 << "" << "";
    QTest::newRow("one bad request stores none of them")
        << L{{"--set", "COM1=/dev/ttyUSB1", "--set", "COM9=/dev/ttyUSB2"}} << 2 << none << 1 << "" << "";
    QTest::newRow("set with an argument refused") << L{{"--set", "COM1=/dev/ttyUSB1", "extra"}} << 2 << none << 1 << ""
                                                  << "";
}

void TestPortMapping::changes()
{
    QFETCH(QList<QStringList>, commands);
    QFETCH(int, exitCode);
    QFETCH(QStringList, env);
    QFETCH(int, port);
    QFETCH(QString, listed);
    QFETCH(QString, source);
    listed.replace(QStringLiteral("@HOME@"), m_home.path());

    CliRun last;
    for (const QStringList &command : commands)
        last = runCli(QStringList{QStringLiteral("ports")} + command);
    QCOMPARE(last.exitCode, exitCode);
    if (exitCode != 0)
        QVERIFY2(last.err.contains(QStringLiteral("tavin-cli ports")), qPrintable(last.err));

    const CliRun listing = runCli({QStringLiteral("ports")}, env);
    QCOMPARE(listing.exitCode, 0);
    const QString line = portsLine(listing, port);
    if (source.isEmpty()) {
        // Not mapped: whatever the machine detects, never a setting.
        QVERIFY2(!line.contains(QStringLiteral("setting")), qPrintable(line));
    } else {
        QCOMPARE(line, QStringLiteral("COM%1  %2  (%3)").arg(port).arg(listed, source));
    }
}

// The desktop program opens a port through mapPortName, as QtSerialLink does.
void TestPortMapping::desktopProgramReadsTheSetting()
{
    QCOMPARE(runCli({QStringLiteral("ports"), QStringLiteral("--set"), QStringLiteral("COM2=/dev/ttyUSB3")}).exitCode, 0);
    const tavin::link::PortMapping mapped = tavin::link::mapPortName(QStringLiteral("COM2"));
    QCOMPARE(mapped.device, QStringLiteral("/dev/ttyUSB3"));
    QCOMPARE(mapped.source, tavin::link::PortSource::Settings);

    QCOMPARE(runCli({QStringLiteral("ports"), QStringLiteral("--unset"), QStringLiteral("COM2")}).exitCode, 0);
    QVERIFY(tavin::link::mapPortName(QStringLiteral("COM2")).source != tavin::link::PortSource::Settings);
}

void TestPortMapping::unwritableSettingsFail()
{
    // A settings folder that cannot exist, whoever runs the test (root too).
    const CliRun r = runCli({QStringLiteral("ports"), QStringLiteral("--set"), QStringLiteral("COM1=/dev/ttyUSB0")},
                            {QStringLiteral("XDG_CONFIG_HOME=/dev/null/config")});
    QCOMPARE(r.exitCode, 3);
    QVERIFY2(r.err.contains(QStringLiteral("cannot write the settings file")), qPrintable(r.err));
}

// A device name that is not UTF-8 is stored and read back byte for byte, by
// --set and by the environment alike, and listed with \xNN.
void TestPortMapping::deviceNameKeptByteForByte()
{
    QProcess shell;
    shell.setWorkingDirectory(m_home.path());
    shell.start(QStringLiteral("/bin/bash"),
                {QStringLiteral("-c"), QStringLiteral("%1 ports --set COM2=$'/tmp/ra\\xffdio' && "
                                                      "TAVIN_COM3=$'/tmp/b\\xfe' %1 ports")
                                           .arg(QStringLiteral(TAVIN_CLI_PATH))});
    QVERIFY(shell.waitForFinished(30000));
    QCOMPARE(shell.exitCode(), 0);
    const QString listing = QString::fromUtf8(shell.readAllStandardOutput());
    QVERIFY2(listing.contains(QStringLiteral("COM2  /tmp/ra\\xffdio  (setting Ports/COM2)")), qPrintable(listing));
    QVERIFY2(listing.contains(QStringLiteral("COM3  /tmp/b\\xfe  (environment TAVIN_COM3)")), qPrintable(listing));
    QCOMPARE(tavin::link::mapPortName(QStringLiteral("COM2")).device,
             tavin::platform::fromNativeBytes(QByteArray("/tmp/ra\xff" "dio")));
}

QTEST_GUILESS_MAIN(TestPortMapping)
#include "tst_portmapping.moc"
