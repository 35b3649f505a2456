// tavin-cli and the files around it, run as a user would: names that are not
// UTF-8, devices and pipes as channel files, standard output that cannot be
// written, a full disk, empty file names, and Qt's messages kept off stderr.
#include "../model/FullDisk.h"
#include "../platform/ByteNamedFolder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QString err;
};

// The file's bytes, by its native name.
QByteArray readAll(const QByteArray &path)
{
    QByteArray bytes;
    if (FILE *file = std::fopen(path.constData(), "rb")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
            bytes.append(buffer, qsizetype(n));
        std::fclose(file);
    }
    return bytes;
}

// Runs argv (raw bytes, so that file names need not be text) with standard
// output going to stdoutPath (a temporary file when empty).
Run runRaw(const QList<QByteArray> &argv, const QByteArray &workDir, const QByteArray &stdoutPath = {})
{
    const QByteArray outFile = stdoutPath.isEmpty() ? workDir + "/.stdout" : stdoutPath;
    const QByteArray errFile = workDir + "/.stderr";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outFile.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<char *> args;
    for (const QByteArray &a : argv)
        args.push_back(const_cast<char *>(a.constData()));
    args.push_back(nullptr);
    pid_t pid = 0;
    Run run;
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) == 0) {
        int status = 0;
        if (::waitpid(pid, &status, 0) == pid && WIFEXITED(status))
            run.exitCode = WEXITSTATUS(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    if (stdoutPath.isEmpty())
        run.out = readAll(outFile);
    run.err = QString::fromUtf8(readAll(errFile));
    return run;
}

QList<QByteArray> cli(const QList<QByteArray> &args)
{
    return QList<QByteArray>{QByteArray(TAVIN_CLI)} + args;
}

bool exists(const QByteArray &path) { return ::access(path.constData(), F_OK) == 0; }

QStringList namesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

}  // namespace

class TestCliFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void standardOutputIsChecked_data();
    void standardOutputIsChecked();
    void namesAreKeptByteForByte_data();
    void namesAreKeptByteForByte();
    void devicesAndPipesAreRead_data();
    void devicesAndPipesAreRead();
    void emptyFileNamesAreUsageErrors_data();
    void emptyFileNamesAreUsageErrors();
    void fullDiskKeepsTheOldFile_data();
    void fullDiskKeepsTheOldFile();
    void qtMessagesStayOff();

private:
    tavin::test::ByteNamedFolder m_dir;
    QByteArray m_base;  // the temporary folder, with '/'
    QByteArray m_demo;  // a channel file
};

void TestCliFiles::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_base = QFile::encodeName(m_dir.path()) + '/';
    m_demo = m_base + "demo.sin";
    QCOMPARE(runRaw(cli({"new", "-o", m_demo}), m_base).exitCode, 0);
}

void TestCliFiles::standardOutputIsChecked_data()
{
    QTest::addColumn<QList<QByteArray>>("args");  // DEMO stands for a channel file
    QTest::addColumn<QByteArray>("stdoutPath");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("dump into /dev/full") << QList<QByteArray>{"dump", "DEMO"} << QByteArray("/dev/full") << 3;
    QTest::newRow("dump --json into /dev/full") << QList<QByteArray>{"dump", "--json", "DEMO"} << QByteArray("/dev/full") << 3;
    QTest::newRow("ports into /dev/full") << QList<QByteArray>{"ports"} << QByteArray("/dev/full") << 3;
    QTest::newRow("help into /dev/full") << QList<QByteArray>{"--help"} << QByteArray("/dev/full") << 3;
    QTest::newRow("dump into /dev/null") << QList<QByteArray>{"dump", "DEMO"} << QByteArray("/dev/null") << 0;
    // A verb that failed keeps its own code.
    QTest::newRow("dump of a missing file into /dev/full") << QList<QByteArray>{"dump", "missing.sin"}
                                                            << QByteArray("/dev/full") << 3;
}

void TestCliFiles::standardOutputIsChecked()
{
    QFETCH(QList<QByteArray>, args);
    QFETCH(QByteArray, stdoutPath);
    QFETCH(int, exitCode);
    for (QByteArray &a : args) {
        if (a == "DEMO")
            a = m_demo;
    }
    const Run run = runRaw(cli(args), m_base, stdoutPath);
    QCOMPARE(run.exitCode, exitCode);
    const bool outputLost = stdoutPath == "/dev/full" && !args.contains("missing.sin");
    QCOMPARE(run.err.contains(QStringLiteral("tavin-cli: cannot write standard output: No space left on device")),
             outputLost);
}

void TestCliFiles::namesAreKeptByteForByte_data()
{
    QTest::addColumn<QList<QByteArray>>("args");  // names relative to the temporary folder
    QTest::addColumn<QByteArray>("created");      // the file that must exist afterwards
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("stderrHas");
    QTest::newRow("new makes exactly the name given") << QList<QByteArray>{"new", "-o", "@new\xffx.sin"}
                                                      << QByteArray("new\xffx.sin") << 0 << QString();
    QTest::newRow("dump opens such a name") << QList<QByteArray>{"dump", "@bad\xff\xfename.sin"} << QByteArray() << 0
                                            << QString();
    QTest::newRow("print writes the PDF under such a name")
        << QList<QByteArray>{"print", "@bad\xff\xfename.sin", "-o", "@K\xf6ln.pdf"} << QByteArray("K\xf6ln.pdf") << 0
        << QString();
    QTest::newRow("a missing name is shown escaped") << QList<QByteArray>{"dump", "@nope\xfe.sin"} << QByteArray() << 3
                                                     << QStringLiteral("nope\\xfe.sin': No such file or directory");
    QTest::newRow("new through a symbolic link writes its target")
        << QList<QByteArray>{"new", "-o", "@link.sin"} << QByteArray("link-target.sin") << 0 << QString();
    QTest::newRow("a 250-byte name") << QList<QByteArray>{"new", "-o", "@" + QByteArray(246, 'n') + ".sin"}
                                     << QByteArray(246, 'n') + ".sin" << 0 << QString();
}

void TestCliFiles::namesAreKeptByteForByte()
{
    QFETCH(QList<QByteArray>, args);
    QFETCH(QByteArray, created);
    QFETCH(int, exitCode);
    QFETCH(QString, stderrHas);
    QVERIFY(::link(m_demo.constData(), (m_base + "bad\xff\xfename.sin").constData()) == 0 || errno == EEXIST);
    ::symlink("link-target.sin", (m_base + "link.sin").constData());
    for (QByteArray &a : args) {
        if (a.startsWith('@'))
            a = m_base + a.mid(1);
    }
    const Run run = runRaw(cli(args), m_base);
    QVERIFY2(run.exitCode == exitCode, qPrintable(run.err));
    QVERIFY2(run.err.contains(stderrHas), qPrintable(run.err));
    if (!created.isEmpty()) {
        QVERIFY(exists(m_base + created));
        QVERIFY(readAll(m_base + created).size() >= 1024);
    }
    if (args.contains(m_base + "link.sin")) {
        QVERIFY(QFileInfo(m_dir.filePath(QStringLiteral("link.sin"))).isSymLink());
    }
    // No stray file under a name Qt made up.
    for (const QString &name : namesIn(m_dir.path()))
        QVERIFY2(!name.contains(QChar(0xFFFD)) || !QFile::exists(m_dir.filePath(name)), qPrintable(name));
}

void TestCliFiles::devicesAndPipesAreRead_data()
{
    QTest::addColumn<QByteArray>("command");  // run by bash; CLI and DEMO are filled in
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("stderrHas");
    QTest::newRow("process substitution") << QByteArray("CLI dump <(cat DEMO)") << 0 << QString();
    QTest::newRow("standard input as a file") << QByteArray("CLI dump /dev/stdin < DEMO") << 0 << QString();
    QTest::newRow("/dev/zero is longer than a channel file")
        << QByteArray("CLI dump /dev/zero") << 0 << QStringLiteral("is longer than 1024 bytes");
    QTest::newRow("/dev/null is empty") << QByteArray("CLI dump /dev/null") << 3 << QStringLiteral("is empty");
    QTest::newRow("a short pipe") << QByteArray("CLI dump <(head -c 100 DEMO)") << 3 << QStringLiteral("is 100 bytes long");
}

void TestCliFiles::devicesAndPipesAreRead()
{
    QFETCH(QByteArray, command);
    QFETCH(int, exitCode);
    QFETCH(QString, stderrHas);
    command.replace("CLI", TAVIN_CLI).replace("DEMO", m_demo);
    const Run run = runRaw({"/bin/bash", "-c", command}, m_base);
    QVERIFY2(run.exitCode == exitCode, qPrintable(run.err));
    QVERIFY2(run.err.contains(stderrHas), qPrintable(run.err));
    if (exitCode == 0)
        QVERIFY(run.out.startsWith("信道"));
}

void TestCliFiles::emptyFileNamesAreUsageErrors_data()
{
    QTest::addColumn<QList<QByteArray>>("args");
    QTest::newRow("new -o ''") << QList<QByteArray>{"new", "-o", ""};
    QTest::newRow("read -o ''") << QList<QByteArray>{"read", "--port", "/dev/null", "-o", ""};
    QTest::newRow("print -o ''") << QList<QByteArray>{"print", "DEMO", "-o", ""};
    QTest::newRow("write --backup ''") << QList<QByteArray>{"write", "--port", "/dev/null", "--backup", "", "DEMO"};
}

void TestCliFiles::emptyFileNamesAreUsageErrors()
{
    QFETCH(QList<QByteArray>, args);
    for (QByteArray &a : args) {
        if (a == "DEMO")
            a = m_demo;
    }
    const Run run = runRaw(cli(args), m_base);
    QVERIFY2(run.exitCode == 2, qPrintable(run.err));
}

void TestCliFiles::fullDiskKeepsTheOldFile_data()
{
    QTest::addColumn<QStringList>("args");  // OLD stands for the file to replace
    QTest::addColumn<QString>("oldName");
    QTest::addColumn<bool>("fill");
    QTest::newRow("PDF on a nearly full disk") << QStringList{"print", "DEMO", "-o", "OLD"} << "old.pdf" << false;
    QTest::newRow("channel file on a full disk") << QStringList{"new", "-o", "OLD"} << "old.sin" << true;
}

void TestCliFiles::fullDiskKeepsTheOldFile()
{
    QFETCH(QStringList, args);
    QFETCH(QString, oldName);
    QFETCH(bool, fill);
    tavin::test::FullDisk disk;
    QVERIFY(disk.valid());
    const QString old = disk.filePath(oldName);
    QByteArray oldBytes(1000, '\0');
    for (int i = 0; i < oldBytes.size(); ++i)
        oldBytes[i] = char(i * 37 + 11);
    {
        QFile f(old);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(oldBytes) == oldBytes.size());
    }
    if (fill)
        disk.fill();
    const QStringList before = namesIn(disk.path());
    for (QString &a : args)
        a.replace(QLatin1String("DEMO"), QFile::decodeName(m_demo)).replace(QLatin1String("OLD"), old);

    QProcess process;
    disk.limitChild(process, fill ? 512 : tavin::test::FullDisk::kSizeBytes);
    process.start(QStringLiteral(TAVIN_CLI), args);
    QVERIFY(process.waitForFinished(60000));
    const QString err = QString::fromUtf8(process.readAllStandardError());
    QVERIFY2(process.exitCode() == 3, qPrintable(err));
    QVERIFY2(err.contains(old) && err.contains(disk.expectedReason()), qPrintable(err));
    QCOMPARE(readAll(QFile::encodeName(old)), oldBytes);
    QCOMPARE(namesIn(disk.path()), before);
}

void TestCliFiles::qtMessagesStayOff()
{
    // Without XDG_RUNTIME_DIR, Qt complains while drawing the page.
    const QString pdf = m_dir.filePath(QStringLiteral("quiet.pdf"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    env.remove(QStringLiteral("TAVIN_QT_MESSAGES"));
    QProcess quiet;
    quiet.setProcessEnvironment(env);
    quiet.start(QStringLiteral(TAVIN_CLI), {QStringLiteral("print"), QFile::decodeName(m_demo), QStringLiteral("-o"), pdf});
    QVERIFY(quiet.waitForFinished(60000));
    QCOMPARE(quiet.exitCode(), 0);
    QCOMPARE(quiet.readAllStandardError(), QByteArray());

    // Developers can still see them.
    env.insert(QStringLiteral("TAVIN_QT_MESSAGES"), QStringLiteral("1"));
    QProcess loud;
    loud.setProcessEnvironment(env);
    loud.start(QStringLiteral(TAVIN_CLI), {QStringLiteral("print"), QFile::decodeName(m_demo), QStringLiteral("-o"), pdf});
    QVERIFY(loud.waitForFinished(60000));
    QCOMPARE(loud.exitCode(), 0);
    QVERIFY(loud.readAllStandardError().contains("XDG_RUNTIME_DIR"));
}

QTEST_GUILESS_MAIN(TestCliFiles)
#include "tst_clifiles.moc"
