// Replacing a file where the system may refuse it, on Linux and on Windows:
// a read-only file, a file another program holds open (Windows refuses to
// replace it, as when a spreadsheet program has it open), a folder. Every
// refusal leaves the old bytes and no temporary file behind.
#include "SafeReplace.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

using namespace tavin;

namespace {

bool runningAsRoot()
{
#ifdef Q_OS_UNIX
    return ::geteuid() == 0;
#else
    return false;
#endif
}

std::filesystem::path nativePath(const QString &path)
{
#ifdef Q_OS_WIN
    return path.toStdWString();
#else
    return QFile::encodeName(path).toStdString();
#endif
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
}

}  // namespace

class TestReplaceHeld : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void replace_data();
    void replace();
};

enum class Setup { NewFile, Existing, ReadOnly, HeldOpen, Folder };

void TestReplaceHeld::replace_data()
{
    QTest::addColumn<int>("setup");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("a new file") << int(Setup::NewFile) << true;
    QTest::newRow("an existing file") << int(Setup::Existing) << true;
    // root may write any file on Linux; Windows' read-only attribute holds for everyone.
    QTest::newRow("a read-only file") << int(Setup::ReadOnly) << runningAsRoot();
    QTest::newRow("a file another program holds open") << int(Setup::HeldOpen) << false;
    QTest::newRow("a folder") << int(Setup::Folder) << false;
}

void TestReplaceHeld::replace()
{
    QFETCH(int, setup);
    QFETCH(bool, replaced);
#ifndef Q_OS_WIN
    if (Setup(setup) == Setup::HeldOpen)
        QSKIP("POSIX systems let a file be replaced while another program has it open");
#endif
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("radio 频道.sin"));
    if (Setup(setup) == Setup::Folder) {
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("radio 频道.sin")));
    } else if (Setup(setup) != Setup::NewFile) {
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old bytes") == 9);
    }
    if (Setup(setup) == Setup::ReadOnly)
        QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    QFile holder(target);
    if (Setup(setup) == Setup::HeldOpen)
        QVERIFY(holder.open(QIODevice::ReadOnly));

    const FileResult result = replaceFileContents(nativePath(target), "new bytes", "test file");
    holder.close();
    QVERIFY2(bool(result) == replaced, result.error.c_str());
    if (Setup(setup) != Setup::Folder)
        QCOMPARE(contents(target), replaced ? QByteArray("new bytes") : QByteArray("old bytes"));
    if (!replaced) {
        // The message names the file (its Chinese name intact) and the system's reason.
        const QString message = QString::fromStdString(result.error);
        QVERIFY2(message.contains(QStringLiteral("radio 频道.sin")) && message.contains(QLatin1String("': ")),
                 result.error.c_str());
    }
    const QDir::Filters all = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    QVERIFY(QDir(dir.path()).entryList({QStringLiteral(".tavin-*")}, all).isEmpty());
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
}

QTEST_GUILESS_MAIN(TestReplaceHeld)
#include "tst_replaceheld.moc"
