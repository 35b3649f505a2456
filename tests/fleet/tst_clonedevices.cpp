// tavin-cli clone against tavin-sim, where ports and radios meet: a radio
// swapped for the next one in half a second is noticed, and one device under
// two names (a bind mount, which no link resolution sees through) is refused
// before any radio is touched.
#include "FleetHarness.h"

#include "CloneReport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace tavin;
using namespace tavin::test;

namespace {

constexpr int kRunTimeoutMs = 120000;

RadioImage radioMemory()
{
    RadioImage image;
    for (std::size_t i = 0; i < kImageSize; ++i)
        image[i] = static_cast<std::uint8_t>(i * 29 + 3);
    return image;
}

// A second name for a file, made by a bind mount; removed with the object.
class BindMount {
public:
    BindMount(const QString &source, const QString &target) : m_target(target)
    {
        QFile(target).open(QIODevice::WriteOnly);
        m_mounted = QProcess::execute(QStringLiteral("mount"), {QStringLiteral("--bind"), source, target}) == 0;
    }
    ~BindMount()
    {
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), {m_target});
    }
    bool mounted() const { return m_mounted; }

private:
    QString m_target;
    bool m_mounted = false;
};

}  // namespace

class TestCloneDevices : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void quickSwapIsNoticed();
    void bindMountedSecondNameRefused();

private:
    QTemporaryDir m_dir;
    QString m_file;
};

void TestCloneDevices::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_file = m_dir.filePath(QStringLiteral("fleet.sin"));
    QVERIFY(writeImageFile(m_file, fleetChannelFile()));
}

void TestCloneDevices::quickSwapIsNoticed()
{
    // The sim unplugs each radio once it is written and read back, and the
    // next one answers half a second later.
    FleetSim sim({QStringLiteral("--fast"), QStringLiteral("--radios"), QStringLiteral("2"), QStringLiteral("--swap-ms"),
                  QStringLiteral("500")},
                 radioMemory());
    QVERIFY(sim.started());
    const QString backups = m_dir.filePath(QStringLiteral("swap"));
    const CliResult r = runClone({m_file, QStringLiteral("--port"), sim.device(), QStringLiteral("--count"),
                                  QStringLiteral("2"), QStringLiteral("--backup-dir"), backups},
                                 kRunTimeoutMs);
    QVERIFY2(r.exitCode == 0, qPrintable(QStringLiteral("exit %1\n%2").arg(r.exitCode).arg(r.err)));
    QVERIFY2(r.out.startsWith(QStringLiteral("2 radios: 2 programmed and verified\n")), qPrintable(r.out));
    sim.stop();
    // Two radios, each programmed once, each backup its own.
    const fleet::LogContents log = fleet::readLog(readFile(backups + QStringLiteral("/clone-log.jsonl")));
    QCOMPARE(log.records.size(), 2);
    QCOMPARE(readFile(log.records.at(0).backupFile), sim.original(1));
    QCOMPARE(readFile(log.records.at(1).backupFile), sim.original(2));
    QVERIFY(sim.original(1) != sim.original(2));
}

void TestCloneDevices::bindMountedSecondNameRefused()
{
    FleetSim sim({QStringLiteral("--fast")}, radioMemory());
    QVERIFY(sim.started());
    const QString second = m_dir.filePath(QStringLiteral("second-name"));
    const BindMount mount(sim.device(), second);
    if (!mount.mounted())
        QSKIP("bind mounts need root (CAP_SYS_ADMIN); run the tests as root to check two names of one device");
    const CliResult r = runClone({m_file, QStringLiteral("--port"), sim.device(), QStringLiteral("--port"), second,
                                  QStringLiteral("--count"), QStringLiteral("1"), QStringLiteral("--backup-dir"),
                                  m_dir.filePath(QStringLiteral("bind"))},
                                 30000);
    QVERIFY2(r.err.contains(QStringLiteral("are the same device")), qPrintable(r.err));
    QCOMPARE(r.exitCode, 2);
    sim.stop();
    // The radio was never asked anything.
    QVERIFY(readFile(sim.dirPath() + QStringLiteral("/bytes.log")).isEmpty());
}

QTEST_GUILESS_MAIN(TestCloneDevices)
#include "tst_clonedevices.moc"
