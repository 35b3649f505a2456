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
    void outputsAndMessages_data();
    void outputsAndMessages();
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

void TestCliFiles::outputsAndMessages_data()
{
    QTest::addColumn<QString>("command");  // run in a folder holding demo.sin
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("stdoutHas");
    QTest::addColumn<QString>("stderrHas");
    QTest::addColumn<int>("stderrLines");  // at most; -1: any

    const QString lost = QStringLiteral("tavin-cli: cannot write standard output: No space left on device");
    const QString otherSin = QStringLiteral("cp demo.sin other.sin && printf '\\x05' | dd of=other.sin bs=1 seek=%1 "
                                            "conv=notrunc 2>/dev/null && ")
                                 .arg(0x3C1);
    QTest::newRow("export -o /dev/stdout into a pipe")
        << "CLI export demo.sin -o /dev/stdout | grep -c '^[0-9]*,'" << 0 << "16" << "" << 0;
    QTest::newRow("new -o /dev/stdout into a pipe") << "CLI new -o /dev/stdout | cmp - demo.sin && echo same" << 0
                                                     << "same" << "" << 0;
    QTest::newRow("import -o /dev/stdout into a pipe")
        << "CLI export demo.sin -o l.csv && CLI import l.csv -o /dev/stdout | cmp - demo.sin && echo same" << 0 << "same"
        << "" << -1;
    QTest::newRow("-o /dev/stdout appended to a file keeps what it held")
        << "echo first >all.csv && CLI export demo.sin -o /dev/stdout >>all.csv && head -1 all.csv" << 0 << "first\n"
        << "" << 0;
    QTest::newRow("diff into /dev/full gives 3") << otherSin + "CLI diff demo.sin other.sin >/dev/full" << 3 << ""
                                                 << lost << 2;
    QTest::newRow("export into /dev/full is said once") << "CLI export demo.sin >/dev/full" << 3 << "" << lost << 1;
    QTest::newRow("diff names a name that is not UTF-8 with \\xNN")
        << otherSin + "cp demo.sin $'b\\xff.sin' && CLI diff $'b\\xff.sin' other.sin" << 7 << "b\\xff.sin" << "" << 1;
    QTest::newRow("diff --json too") << "cp demo.sin $'b\\xff.sin' && CLI diff --json $'b\\xff.sin' demo.sin" << 0
                                     << "\"a\": \"b\\\\xff.sin\"" << "" << 1;
    QTest::newRow("import shows a NUL and an escape of the list as \\xNN")
        << "printf '信道,接收频率(MHz),发射频率(MHz),QT/DQT解码\\n1,462.5625,462.5625,D\\x00\\x1b[2JX\\n' >nul.csv && "
           "CLI import nul.csv -o n.sin"
        << 10 << "" << "('D\\x00\\x1b[2JX')" << -1;
    QTest::newRow("clone --summary of a file beyond 64 MiB is refused")
        << "head -c 65M /dev/zero | tr '\\0' x >big.log && CLI clone --summary big.log" << 3 << ""
        << "larger than 64 MiB" << 1;
    QTest::newRow("clone --summary names ten lines that are not records, then counts")
        << "seq 1 5000 | sed 's/^/not a record /' >noise.log && CLI clone --summary noise.log" << 3 << ""
        << "4990 more lines that are not radio records" << 12;
    QTest::newRow("doctor on a file: not a serial port, not ready")
        << "CLI doctor --port demo.sin --json" << 4 << "\"ready\": false" << "" << 0;
    QTest::newRow("doctor on /dev/zero: one verdict")
        << "CLI doctor --port /dev/zero | grep -E '^(ok|FAIL|skip) +(permission|in use|radio)'" << 0
        << "FAIL  permission: /dev/zero is not a serial port (a device, but not a terminal device)\n"
           "skip  in use: no serial device to look at\n"
           "skip  radio: not asked, the port is not ready\n"
        << "" << 0;
    QTest::newRow("doctor --json names a device that is not UTF-8 with \\xNN")
        << "ln -s /dev/zero $'z\\xff' && CLI doctor --json --port $'z\\xff'" << 4 << "\"port\": \"z\\\\xff\"" << "" << 0;
    QTest::newRow("read from a file: not a serial port")
        << "CLI read --port demo.sin -o r.sin" << 4 << "" << "demo.sin): it is not a serial port (not a terminal device)"
        << -1;
}

void TestCliFiles::outputsAndMessages()
{
    QFETCH(QString, command);
    QFETCH(int, exitCode);
    QFETCH(QString, stdoutHas);
    QFETCH(QString, stderrHas);
    QFETCH(int, stderrLines);
    tavin::test::ByteNamedFolder dir;
    QCOMPARE(runShell(QStringLiteral("CLI new -o demo.sin"), dir.path()).exitCode, 0);
    const Run run = runShell(command, dir.path());
    const QString out = QString::fromUtf8(run.out);
    QVERIFY2(run.exitCode == exitCode, qPrintable(out + run.err));
    QVERIFY2(out.contains(stdoutHas), qPrintable(out));
    QVERIFY2(run.err.contains(stderrHas), qPrintable(run.err));
    // Nothing from a file reaches the terminal as a control character.
    QVERIFY2(!run.err.contains(QChar(0x1b)) && !run.err.contains(QChar(0)), qPrintable(run.err));
    if (stderrLines >= 0)
        QVERIFY2(run.err.count(QLatin1Char('\n')) <= stderrLines, qPrintable(run.err));
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
