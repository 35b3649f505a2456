// What a replaced file looks like after every way a save can go: the old
// file byte for byte after any failure with no temporary file left, links
// saved through, the target's mode and owner kept, long names, devices.
#include "FullDisk.h"
#include "SafeReplace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace tavin;

namespace {

const QByteArray kOldBytes = QByteArray("old contents that must survive\n").repeated(30);
const QByteArray kNewBytes = QByteArray(1024, '\x5a');

std::filesystem::path native(const QString &path) { return std::filesystem::path(QFile::encodeName(path).toStdString()); }

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

FileResult replace(const QString &path, const QByteArray &bytes = kNewBytes)
{
    return replaceFileContents(native(path), std::string_view(bytes.constData(), std::size_t(bytes.size())), "test file");
}

// Names in a folder, hidden ones included: a temporary file would show here.
QStringList namesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

}  // namespace

class TestSafeReplace : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void failureKeepsTheOldFile_data();
    void failureKeepsTheOldFile();
    void fullDisk();
    void savesThroughLinks_data();
    void savesThroughLinks();
    void keepsModeAndOwner();
    void longestNames_data();
    void longestNames();
    void devicesAreWrittenInto();
    void reservedNamesAreNotTakenTwice();
    void quotedPathEscapes_data();
    void quotedPathEscapes();
};

void TestSafeReplace::failureKeepsTheOldFile_data()
{
    QTest::addColumn<QString>("setup");  // how the target is prepared
    QTest::addColumn<QString>("reason");
    QTest::newRow("read-only file") << "readonly" << "Permission denied";
    QTest::newRow("target is a folder") << "folder" << "it is a folder";
    QTest::newRow("folder does not exist") << "missing folder" << "No such file or directory";
    QTest::newRow("link into a missing folder") << "dangling" << "No such file or directory";
    QTest::newRow("link loop") << "loop" << "Too many levels of symbolic links";
}

void TestSafeReplace::failureKeepsTheOldFile()
{
    QFETCH(QString, setup);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QString target = dir.filePath(QStringLiteral("out.bin"));
    if (setup == QLatin1String("readonly")) {
        if (::geteuid() == 0)
            QSKIP("root may write any file; the read-only check is for other users");
        QVERIFY(writeFile(target, kOldBytes));
        QVERIFY(QFile::setPermissions(target, QFile::ReadOwner));
    } else if (setup == QLatin1String("folder")) {
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("out.bin")));
    } else if (setup == QLatin1String("missing folder")) {
        target = dir.filePath(QStringLiteral("no folder/out.bin"));
    } else if (setup == QLatin1String("dangling")) {
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("no folder/x.bin")), target));
    } else if (setup == QLatin1String("loop")) {
        QVERIFY(QFile::link(target, target));
    }
    const QStringList before = namesIn(dir.path());

    for (const bool onlyCheck : {true, false}) {
        const FileResult result = onlyCheck ? checkReplaceable(native(target), "test file") : replace(target);
        QVERIFY(!result);
        QVERIFY2(QString::fromStdString(result.error).contains(target), result.error.c_str());
        QVERIFY2(QString::fromStdString(result.error).contains(reason), result.error.c_str());
        QCOMPARE(namesIn(dir.path()), before);
    }
    if (setup == QLatin1String("readonly"))
        QCOMPARE(readFile(target), kOldBytes);
}

void TestSafeReplace::fullDisk()
{
    test::FullDisk disk;
    QVERIFY(disk.valid());
    const QString target = disk.filePath(QStringLiteral("old.sin"));
    QVERIFY(writeFile(target, kOldBytes));
    disk.fill();
    const QStringList before = namesIn(disk.path());
    FileResult result;
    {
        test::LimitedWrites limit(disk, 512);
        result = replace(target);
    }
    QVERIFY(!result);
    // The file and the system's reason, not a count of bytes.
    QVERIFY2(QString::fromStdString(result.error).contains(target), result.error.c_str());
    QVERIFY2(QString::fromStdString(result.error).contains(disk.expectedReason()), result.error.c_str());
    QCOMPARE(readFile(target), kOldBytes);
    QCOMPARE(namesIn(disk.path()), before);
}

void TestSafeReplace::savesThroughLinks_data()
{
    QTest::addColumn<QString>("linkTo");  // relative to the link's folder, or absolute with %DIR%
    QTest::addColumn<bool>("targetExists");
    QTest::newRow("relative link") << "data/real.sin" << true;
    QTest::newRow("absolute link") << "%DIR%/data/real.sin" << true;
    QTest::newRow("link to a link") << "second-link" << true;
    QTest::newRow("link to a file not made yet") << "data/real.sin" << false;
}

void TestSafeReplace::savesThroughLinks()
{
    QFETCH(QString, linkTo);
    QFETCH(bool, targetExists);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("data")));
    const QString real = dir.filePath(QStringLiteral("data/real.sin"));
    if (targetExists) {
        QVERIFY(writeFile(real, kOldBytes));
        QVERIFY(QFile::setPermissions(real, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    }
    QVERIFY(::symlink("data/real.sin", QFile::encodeName(dir.filePath(QStringLiteral("second-link"))).constData()) == 0);
    const QString link = dir.filePath(QStringLiteral("link.sin"));
    linkTo.replace(QLatin1String("%DIR%"), dir.path());
    QVERIFY(::symlink(QFile::encodeName(linkTo).constData(), QFile::encodeName(link).constData()) == 0);

    const FileResult result = replace(link);
    QVERIFY2(result, result.error.c_str());
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(readFile(real), kNewBytes);
    struct stat st {};
    QVERIFY(::stat(QFile::encodeName(real).constData(), &st) == 0);
    if (targetExists)
        QCOMPARE(st.st_mode & 07777, mode_t(0640));
    // The temporary file was beside the target, and is gone.
    QCOMPARE(namesIn(dir.filePath(QStringLiteral("data"))), QStringList{QStringLiteral("real.sin")});
}

void TestSafeReplace::keepsModeAndOwner()
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("owned.sin"));
    QVERIFY(writeFile(target, kOldBytes));
    QVERIFY(::chmod(QFile::encodeName(target).constData(), 0640) == 0);
    const bool root = ::geteuid() == 0;
    if (root)
        QVERIFY(::chown(QFile::encodeName(target).constData(), 4321, 4322) == 0);
    QVERIFY(replace(target));
    struct stat st {};
    QVERIFY(::stat(QFile::encodeName(target).constData(), &st) == 0);
    QCOMPARE(st.st_mode & 07777, mode_t(0640));
    if (root) {
        QCOMPARE(st.st_uid, uid_t(4321));
        QCOMPARE(st.st_gid, gid_t(4322));
    }
    QCOMPARE(readFile(target), kNewBytes);
}

void TestSafeReplace::longestNames_data()
{
    QTest::addColumn<int>("length");
    QTest::newRow("250-byte name") << 250;
    QTest::newRow("255-byte name, the most a folder entry holds") << 255;
}

void TestSafeReplace::longestNames()
{
    QFETCH(int, length);
    QTemporaryDir dir;
    const QString target = dir.filePath(QString(length - 4, QLatin1Char('n')) + QStringLiteral(".sin"));
    QVERIFY(writeFile(target, kOldBytes));
    QVERIFY(checkReplaceable(native(target), "test file"));
    const FileResult result = replace(target);
    QVERIFY2(result, result.error.c_str());
    QCOMPARE(readFile(target), kNewBytes);
    QCOMPARE(namesIn(dir.path()).size(), 1);
}

void TestSafeReplace::devicesAreWrittenInto()
{
    // /dev/null takes the bytes and stays the device it is.
    QVERIFY(replaceFileContents("/dev/null", "bytes", "test file"));
    QVERIFY(QFileInfo(QStringLiteral("/dev/null")).exists());
    struct stat st {};
    QVERIFY(::stat("/dev/null", &st) == 0 && S_ISCHR(st.st_mode));
    // /dev/full reports the reason, not a success.
    const FileResult full = replaceFileContents("/dev/full", "bytes", "test file");
    QVERIFY(!full);
    QVERIFY2(QString::fromStdString(full.error).contains(QString::fromStdString(systemErrorText(ENOSPC))), full.error.c_str());
}

void TestSafeReplace::reservedNamesAreNotTakenTwice()
{
    QTemporaryDir dir;
    const auto path = native(dir.filePath(QStringLiteral("radio.sin")));
    QVERIFY(reserveNewFile(path));
    const FileResult second = reserveNewFile(path);
    QVERIFY(!second);
    QCOMPARE(second.systemError, EEXIST);
}

void TestSafeReplace::quotedPathEscapes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");
    QTest::newRow("plain") << QByteArray("/tmp/a.sin") << "'/tmp/a.sin'";
    QTest::newRow("UTF-8 kept") << QByteArray("车队.sin") << "'车队.sin'";
    QTest::newRow("bytes that are not UTF-8") << QByteArray("bad\xff\xfe.sin") << "'bad\\xff\\xfe.sin'";
    QTest::newRow("control characters") << QByteArray("a\nb\x1b\x7f") << "'a\\x0ab\\x1b\\x7f'";
    QTest::newRow("encoded surrogate") << QByteArray("\xed\xa0\x80") << "'\\xed\\xa0\\x80'";
}

void TestSafeReplace::quotedPathEscapes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    QCOMPARE(QString::fromStdString(quotedPath(std::filesystem::path(bytes.toStdString()))), shown);
}

QTEST_GUILESS_MAIN(TestSafeReplace)
#include "tst_safereplace.moc"
