// Backups of complete reads: names from the time stamp, no file ever
// overwritten, the newest 50 kept.
#include "ReadBackups.h"

#include "ChannelFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using tavin::RadioImage;
using tavin::link::ReadBackups;

class TestReadBackups : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void namesAndContents_data();
    void namesAndContents();
    void keepsTheNewest50();
    void unwritableFolderGivesNoPath();
    void nameTakenMeanwhileIsKept();
};

void TestReadBackups::namesAndContents_data()
{
    QTest::addColumn<int>("sameSecond");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("one read") << 1 << QStringList{"radio-20261207-093005.sin"};
    QTest::newRow("three reads in one second get -2 and -3")
        << 3 << QStringList{"radio-20261207-093005-2.sin", "radio-20261207-093005-3.sin", "radio-20261207-093005.sin"};
}

void TestReadBackups::namesAndContents()
{
    QFETCH(int, sameSecond);
    QFETCH(QStringList, names);
    QTemporaryDir dir;
    ReadBackups backups(dir.filePath(QStringLiteral("nested/backups")));
    const QDateTime when(QDate(2026, 12, 7), QTime(9, 30, 5));
    QStringList paths;
    for (int i = 0; i < sameSecond; ++i) {
        RadioImage image;
        image[0] = static_cast<std::uint8_t>(i);
        paths << backups.store(image, when);
        QVERIFY(!paths.last().isEmpty());
    }
    QCOMPARE(QDir(backups.folder()).entryList(QDir::Files, QDir::Name), names);
    for (int i = 0; i < sameSecond; ++i) {
        RadioImage loaded;
        QVERIFY(tavin::loadChannelFile(paths.at(i).toStdString(), loaded));
        QCOMPARE(int(loaded[0]), i);
    }
}

void TestReadBackups::keepsTheNewest50()
{
    QTemporaryDir dir;
    ReadBackups backups(dir.path());
    const QDateTime start(QDate(2026, 1, 31), QTime(23, 59, 0));
    QStringList paths;
    for (int i = 0; i < 55; ++i)
        paths << backups.store(RadioImage(), start.addSecs(i / 2));  // two per second
    const QStringList left = QDir(dir.path()).entryList(QDir::Files);
    QCOMPARE(left.size(), ReadBackups::kKept);
    for (int i = 0; i < 55; ++i)
        QCOMPARE(QFile::exists(paths.at(i)), i >= 5);
}

void TestReadBackups::unwritableFolderGivesNoPath()
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("file")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ReadBackups backups(dir.filePath(QStringLiteral("file/backups")));
    QVERIFY(backups.store(RadioImage()).isEmpty());
}

void TestReadBackups::nameTakenMeanwhileIsKept()
{
    // Another program stored a read under the same name a moment ago: this
    // read gets the next name and the other file stays as it was.
    QTemporaryDir dir;
    const QDateTime when(QDate(2026, 12, 7), QTime(9, 30, 5));
    const QString taken = dir.filePath(QStringLiteral("radio-20261207-093005.sin"));
    QFile other(taken);
    QVERIFY(other.open(QIODevice::WriteOnly) && other.write("another program's read") > 0);
    other.close();
    const QString path = ReadBackups(dir.path()).store(RadioImage(), when);
    QCOMPARE(path, dir.filePath(QStringLiteral("radio-20261207-093005-2.sin")));
    QFile check(taken);
    QVERIFY(check.open(QIODevice::ReadOnly));
    QCOMPARE(check.readAll(), QByteArray("another program's read"));
}

QTEST_GUILESS_MAIN(TestReadBackups)
#include "tst_readbackups.moc"
