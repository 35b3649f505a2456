// tavin-cli doctor --port against tavin-sim over a real pseudo-terminal: the
// radio's answer decides the exit code, and the probe never reaches the
// radio's memory.
#include "SimRadio.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using tavin::test::SimRadio;

namespace {

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QString err;
};

}  // namespace

class TestDoctorSim : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void probe_data();
    void probe();
    void missingPortIsExit4();

private:
    CliRun doctor(const QStringList &args);
    QTemporaryDir m_config;  // the mapping is read from here, never from the user's settings
};

CliRun TestDoctorSim::doctor(const QStringList &args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_config.path());
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(TAVIN_CLI_PATH), QStringList{QStringLiteral("doctor")} + args);
    CliRun r;
    if (!p.waitForFinished(90000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

void TestDoctorSim::probe_data()
{
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<bool>("answered");
    QTest::newRow("radio answers: exit 0") << QStringList{QStringLiteral("--fast")} << 0 << true;
    QTest::newRow("radio silent: exit 5")
        << QStringList{QStringLiteral("--fast"), QStringLiteral("--fault"), QStringLiteral("silent")} << 5 << false;
}

void TestDoctorSim::probe()
{
    QFETCH(QStringList, simArgs);
    QFETCH(int, exitCode);
    QFETCH(bool, answered);
    tavin::RadioImage memory;
    memory.resetToNewDocument(tavin::HiddenPreset::Uhf);
    SimRadio sim(simArgs, memory);
    QVERIFY(sim.started());

    const CliRun run = doctor({QStringLiteral("--port"), sim.device(), QStringLiteral("--json")});
    QCOMPARE(run.exitCode, exitCode);
    QJsonParseError error;
    const QJsonObject report = QJsonDocument::fromJson(run.out, &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(report.value(QStringLiteral("ready")).toBool(), true);
    QCOMPARE(report.value(QStringLiteral("radioAnswered")).toBool(), answered);
    QCOMPARE(report.value(QStringLiteral("exitCode")).toInt(), exitCode);
    const QJsonArray checks = report.value(QStringLiteral("checks")).toArray();
    QCOMPARE(checks.size(), 7);
    const QJsonObject radio = checks.last().toObject();
    QCOMPARE(radio.value(QStringLiteral("check")).toString(), QStringLiteral("radio"));
    QCOMPARE(radio.value(QStringLiteral("verdict")).toString(), answered ? QStringLiteral("ok") : QStringLiteral("fail"));
    if (answered) {
        // The identity as the radio sent it, after the handshake's STX.
        const QByteArray radioBytes = sim.radioBytes();
        QVERIFY(radioBytes.size() >= 9);
        QCOMPARE(report.value(QStringLiteral("identity")).toString().toLatin1(), radioBytes.mid(1, 8).toHex(' '));
    } else {
        QVERIFY(!radio.value(QStringLiteral("fix")).toString().isEmpty());
    }
    // Only the handshake reached the radio: probe frames and at most the STX
    // that asks for the identity; no read or write command, no confirmation.
    QByteArray sent = sim.programBytes();
    sent.replace(tavin::test::probeFrame(), QByteArray());
    QVERIFY2(sent.size() <= 1, sent.toHex(' ').constData());
}

void TestDoctorSim::missingPortIsExit4()
{
    const CliRun run = doctor({QStringLiteral("--port"), m_config.filePath(QStringLiteral("no-such-tty"))});
    QCOMPARE(run.exitCode, 4);
    QVERIFY2(run.out.contains("no-such-tty does not exist"), run.out.constData());
    QVERIFY(run.out.contains("is not ready"));
}

QTEST_GUILESS_MAIN(TestDoctorSim)
#include "tst_doctorsim.moc"
