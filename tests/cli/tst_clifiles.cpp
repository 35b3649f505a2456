// tavin-cli and its files, run from a shell as a user would: names that are
// not UTF-8, devices and pipes as channel files, standard output that cannot
// be written, empty names, a full disk, and Qt's messages kept off stderr.
#include "../platform/ByteNamedFolder.h"
#include "SafeReplace.h"

#include <QDir>
#include <QProcess>
#include <QTest>

#include <csignal>

#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QString err;
};

// Runs a bash command line in folder; CLI stands for tavin-cli. $'..' quoting
// passes any bytes as file names.
Run runShell(QString command, const QString &folder, QProcess *process = nullptr)
{
    QProcess own;
    QProcess &p = process ? *process : own;
    p.setWorkingDirectory(folder);
    p.start(QStringLiteral("/bin/bash"), {QStringLiteral("-c"), command.replace(QLatin1String("CLI"), QStringLiteral(TAVIN_CLI))});
    if (!p.waitForFinished(60000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            QString::fromUtf8(p.readAllStandardError())};
}

QStringList namesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

}  // namespace

class TestCliFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void commands_data();
    void commands();
    void fullDiskKeepsTheOldFile_data();
    void fullDiskKeepsTheOldFile();
    void qtMessagesStayOff();
};

void TestCliFiles::commands_data()
{
    QTest::addColumn<QString>("command");  // run in a folder holding demo.sin and a link.sin -> target.sin
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("stderrHas");
    QTest::addColumn<QString>("check");    // a bash test that must hold afterwards
    const QString lost = QStringLiteral("tavin-cli: cannot write standard output: No space left on device");
    QTest::newRow("dump into /dev/full") << "CLI dump demo.sin >/dev/full" << 3 << lost << "";
    QTest::newRow("dump --json into /dev/full") << "CLI dump --json demo.sin >/dev/full" << 3 << lost << "";
    QTest::newRow("ports into /dev/full") << "CLI ports >/dev/full" << 3 << lost << "";
    QTest::newRow("a failed verb keeps its code") << "CLI dump none.sin >/dev/full" << 3 << "No such file" << "";
    QTest::newRow("new makes exactly the name given") << "CLI new -o $'new\\xffx.sin'" << 0 << "" << "-s $'new\\xffx.sin'";
    QTest::newRow("dump and print such names") << "cp demo.sin $'b\\xfe.sin' && CLI dump $'b\\xfe.sin' >/dev/null && "
                                                   "CLI print $'b\\xfe.sin' -o $'K\\xf6ln.pdf'"
                                                << 0 << "" << "-s $'K\\xf6ln.pdf'";
    QTest::newRow("a missing name, escaped") << "CLI dump $'no\\xfe.sin'" << 3 << "'no\\xfe.sin': No such file" << "";
    QTest::newRow("new through a link writes its target") << "CLI new -o link.sin" << 0 << "" << "-L link.sin -a -s target.sin";
    QTest::newRow("a 250-byte name") << "CLI new -o " + QString(246, 'n') + ".sin" << 0 << "" << "-s " + QString(246, 'n') + ".sin";
    QTest::newRow("process substitution") << "CLI dump <(cat demo.sin) | grep -q 信道" << 0 << "" << "";
    QTest::newRow("/dev/zero is longer") << "CLI dump /dev/zero >/dev/null" << 0 << "is longer than 1024 bytes" << "";
    QTest::newRow("a short pipe") << "CLI dump <(head -c 100 demo.sin)" << 3 << "is 100 bytes long" << "";
    QTest::newRow("new -o ''") << "CLI new -o ''" << 2 << "" << "";
    QTest::newRow("read -o ''") << "CLI read --port /dev/null -o ''" << 2 << "" << "";
    QTest::newRow("print -o ''") << "CLI print demo.sin -o ''" << 2 << "" << "";
    QTest::newRow("write --backup ''") << "CLI write --port /dev/null --backup '' demo.sin" << 2 << "" << "";
}

void TestCliFiles::commands()
{
    QFETCH(QString, command);
    QFETCH(int, exitCode);
    QFETCH(QString, stderrHas);
    QFETCH(QString, check);
    tavin::test::ByteNamedFolder dir;
    QCOMPARE(runShell(QStringLiteral("CLI new -o demo.sin && ln -s target.sin link.sin"), dir.path()).exitCode, 0);
    const Run run = runShell(command, dir.path());
    QVERIFY2(run.exitCode == exitCode, qPrintable(run.err));
    QVERIFY2(run.err.contains(stderrHas), qPrintable(run.err));
    if (!check.isEmpty())
        QVERIFY2(runShell(QStringLiteral("test ") + check, dir.path()).exitCode == 0, qPrintable(check));
}

void TestCliFiles::fullDiskKeepsTheOldFile_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("fill");  // use up the room left first
    QTest::newRow("PDF on a nearly full disk") << "CLI print DEMO -o old" << false;
    QTest::newRow("channel file on a full disk") << "head -c 1M /dev/zero >filler; CLI new -o old" << true;
}

void TestCliFiles::fullDiskKeepsTheOldFile()
{
    QFETCH(QString, command);
    QFETCH(bool, fill);
    tavin::test::ByteNamedFolder demo;
    QCOMPARE(runShell(QStringLiteral("CLI new -o demo.sin"), demo.path()).exitCode, 0);
    command.replace(QLatin1String("DEMO"), demo.filePath(QStringLiteral("demo.sin")));
    // As root, a 12 KiB tmpfs: "No space left on device". Elsewhere a file
    // size limit in the child makes the writes fail alike ("File too large").
    QTemporaryDir disk;
    const QByteArray where = QFile::encodeName(disk.path());
    const bool tmpfs = ::mount("tmpfs", where.constData(), "tmpfs", 0, "size=12k") == 0;
    const QByteArray oldBytes = QByteArray("the old file must survive\n").repeated(38);
    QFile old(disk.filePath(QStringLiteral("old")));
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write(oldBytes) == oldBytes.size());
    old.close();
    QProcess process;
    if (!tmpfs) {
        const rlim_t limit = fill ? 512 : 12 * 1024;
        process.setChildProcessModifier([limit] {
            rlimit r{};
            ::getrlimit(RLIMIT_FSIZE, &r);
            r.rlim_cur = limit;
            ::setrlimit(RLIMIT_FSIZE, &r);
            ::signal(SIGXFSZ, SIG_IGN);
        });
    }
    const Run run = runShell(command, disk.path(), &process);
    const QStringList left = namesIn(disk.path());
    QCOMPARE(old.open(QIODevice::ReadOnly) ? old.readAll() : QByteArray(), oldBytes);
    if (tmpfs)
        ::umount2(where.constData(), MNT_DETACH);
    QVERIFY2(run.exitCode == 3, qPrintable(run.err));
    const QString reason = QString::fromStdString(tavin::systemErrorText(tmpfs ? ENOSPC : EFBIG));
    QVERIFY2(run.err.contains(QStringLiteral("'old': ") + reason), qPrintable(run.err));
    QCOMPARE(left.filter(QStringLiteral(".tavin")), QStringList());
}

void TestCliFiles::qtMessagesStayOff()
{
    // Without XDG_RUNTIME_DIR Qt complains while it draws the page.
    tavin::test::ByteNamedFolder dir;
    const QString print = QStringLiteral("CLI new -o d.sin && unset XDG_RUNTIME_DIR && %1 CLI print d.sin -o d.pdf");
    const Run quiet = runShell(print.arg(QStringLiteral("env -u TAVIN_QT_MESSAGES")), dir.path());
    QCOMPARE(quiet.exitCode, 0);
    QCOMPARE(quiet.err, QString());
    const Run shown = runShell(print.arg(QStringLiteral("TAVIN_QT_MESSAGES=1")), dir.path());
    QCOMPARE(shown.exitCode, 0);
    QVERIFY(shown.err.contains(QStringLiteral("XDG_RUNTIME_DIR")));
}

QTEST_GUILESS_MAIN(TestCliFiles)
#include "tst_clifiles.moc"
