// Where a replaced file's bytes go and what stays after a failure: links saved
// through, mode and owner kept, long names, devices written into, and the old
// file untouched with no temporary file left. (A full disk: tst_clifiles.)
#include "SafeReplace.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace tavin;

class TestSafeReplace : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void replace_data();
    void replace();
};

void TestSafeReplace::replace_data()
{
    QTest::addColumn<QString>("target");   // what is given; %D% the temporary folder
    QTest::addColumn<QString>("changed");  // the file that must hold the new bytes, or empty
    QTest::addColumn<QString>("reason");   // in the message when it fails
    const QString real = QStringLiteral("%D%/data/real.sin");
    QTest::newRow("plain file, mode and owner kept") << real << real << QString();
    QTest::newRow("relative link") << "%D%/rel-link" << real << QString();
    QTest::newRow("absolute link") << "%D%/abs-link" << real << QString();
    QTest::newRow("link to a link") << "%D%/link-link" << real << QString();
    QTest::newRow("link to a file not made yet") << "%D%/new-link" << "%D%/data/new.sin" << QString();
    QTest::newRow("255-byte name") << "%D%/" + QString(251, 'n') + ".sin" << "%D%/" + QString(251, 'n') + ".sin" << QString();
    QTest::newRow("/dev/null stays a device") << "/dev/null" << QString() << QString();
    QTest::newRow("/dev/full") << "/dev/full" << QString() << "No space left on device";
    QTest::newRow("a folder") << "%D%/data" << QString() << "it is a folder";
    QTest::newRow("missing folder") << "%D%/none/x.sin" << QString() << "No such file or directory";
    QTest::newRow("link into a missing folder") << "%D%/dangling" << QString() << "No such file or directory";
    QTest::newRow("link loop") << "%D%/loop" << QString() << "Too many levels of symbolic links";
}

void TestSafeReplace::replace()
{
    QFETCH(QString, target);
    QFETCH(QString, changed);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QByteArray d = QFile::encodeName(dir.path());
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("data")));
    const QByteArray real = d + "/data/real.sin";
    QFile old(QFile::decodeName(real));
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old bytes") == 9);
    old.close();
    QVERIFY(::chmod(real.constData(), 0640) == 0);
    const bool root = ::geteuid() == 0;
    if (root)
        QVERIFY(::chown(real.constData(), 4321, 4322) == 0);
    const std::pair<const char *, const char *> links[] = {{"rel-link", "data/real.sin"}, {"abs-link", ""},
                                                           {"link-link", "rel-link"},     {"new-link", "data/new.sin"},
                                                           {"dangling", "none/x.sin"},    {"loop", "loop"}};
    for (const auto &[name, to] : links)
        QVERIFY(::symlink(*to ? to : real.constData(), (d + '/' + name).constData()) == 0);
    target.replace(QLatin1String("%D%"), dir.path());
    changed.replace(QLatin1String("%D%"), dir.path());
    const auto path = std::filesystem::path(QFile::encodeName(target).toStdString());

    const FileResult checked = checkReplaceable(path, "test file");
    const FileResult result = replaceFileContents(path, "new bytes", "test file");
    QCOMPARE(bool(result), reason.isEmpty());
    if (reason.isEmpty() || target.startsWith(QLatin1String("/dev/")))
        QVERIFY(checked);
    else
        QCOMPARE(checked.error, result.error);
    if (!result)
        QVERIFY2(QString::fromStdString(result.error).contains(target) &&
                     QString::fromStdString(result.error).contains(reason),
                 result.error.c_str());
    if (!changed.isEmpty()) {
        QFile now(changed);
        QVERIFY(now.open(QIODevice::ReadOnly));
        QCOMPARE(now.readAll(), QByteArray("new bytes"));
    }
    struct stat st {};
    QVERIFY(::stat(real.constData(), &st) == 0);
    if (changed == QFile::decodeName(real)) {
        QCOMPARE(st.st_mode & 07777, mode_t(0640));
        if (root)
            QVERIFY(st.st_uid == 4321 && st.st_gid == 4322);
    } else {
        QCOMPARE(st.st_size, off_t(9));  // the old bytes
    }
    if (target.startsWith(QLatin1String("/dev/")))
        QVERIFY(::stat(target.toLatin1().constData(), &st) == 0 && S_ISCHR(st.st_mode));
    else if (target != changed)
        QVERIFY(QFileInfo(target).isSymLink() || !QFileInfo::exists(target) || QFileInfo(target).isDir());
    // No temporary file anywhere.
    const QDir::Filters all = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    for (const QString &folder : {dir.path(), dir.filePath(QStringLiteral("data"))})
        QVERIFY(QDir(folder).entryList({QStringLiteral(".tavin-*")}, all).isEmpty());
}

QTEST_GUILESS_MAIN(TestSafeReplace)
#include "tst_safereplace.moc"
