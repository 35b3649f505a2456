#include "ChannelFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace tavin;

namespace {

RadioImage patternImage()
{
    RadioImage image;
    for (std::size_t i = 0; i < kImageSize; ++i)
        image[i] = static_cast<std::uint8_t>(i * 31 + 7);
    return image;
}

RadioImage newDocument(HiddenPreset preset)
{
    RadioImage image;
    image.resetToNewDocument(preset);
    return image;
}

}  // namespace

class TestChannelFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void load_data();
    void load();
    void missingFileFailsAndKeepsImage();
    void storeThenLoadGivesSameBytes();
    void storeReplacesOldFileAndLeavesNoTemporary();
    void failedStoreKeepsOldFile();
    void storeIntoMissingFolderFails();
    void nonAsciiFileName();
    void devicesAndPipes_data();
    void devicesAndPipes();

private:
    QString write(const QByteArray &bytes, const QString &name = QStringLiteral("radio.sin"))
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }
    static std::filesystem::path native(const QString &path)
    {
#ifdef Q_OS_WIN
        return std::filesystem::path(path.toStdWString());  // Windows names are UTF-16
#else
        return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
    }

    QTemporaryDir m_dir;
};

void TestChannelFile::load_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("result");  // "file", "unchanged" or "new document"
    QTest::newRow("empty file opens and keeps the image") << 0 << true << "unchanged";
    QTest::newRow("1 byte fails") << 1 << false << "new document";
    QTest::newRow("1000 bytes fail") << 1000 << false << "new document";
    QTest::newRow("1023 bytes fail") << 1023 << false << "new document";
    QTest::newRow("1024 bytes") << 1024 << true << "file";
    QTest::newRow("2000 bytes, the rest ignored") << 2000 << true << "file";
}

void TestChannelFile::load()
{
    QFETCH(int, size);
    QFETCH(bool, ok);
    QFETCH(QString, result);
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char(i * 13 + 1);
    const QString path = write(bytes);

    const RadioImage before = patternImage();
    RadioImage image = before;
    const FileResult loaded = loadChannelFile(native(path), image, HiddenPreset::Vhf);
    QCOMPARE(bool(loaded), ok);
    if (result == QLatin1String("unchanged")) {
        QVERIFY(image == before);
    } else if (result == QLatin1String("new document")) {
        QVERIFY(image == newDocument(HiddenPreset::Vhf));
        // The message names the file and its length.
        QVERIFY2(QString::fromStdString(loaded.error).contains(path), loaded.error.c_str());
        QVERIFY2(QString::fromStdString(loaded.error).contains(QStringLiteral(" %1 bytes").arg(size)), loaded.error.c_str());
    } else {
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(image.data()), int(kImageSize)), bytes.left(int(kImageSize)));
    }
}

void TestChannelFile::missingFileFailsAndKeepsImage()
{
    const RadioImage before = patternImage();
    RadioImage image = before;
    const QString path = m_dir.filePath(QStringLiteral("no such file.sin"));
    const FileResult loaded = loadChannelFile(native(path), image);
    QVERIFY(!loaded);
    QVERIFY(image == before);
    QVERIFY(QString::fromStdString(loaded.error).contains(path));
    QVERIFY(QString::fromStdString(loaded.error).contains(QStringLiteral("No such file")));
}

void TestChannelFile::storeThenLoadGivesSameBytes()
{
    const RadioImage image = patternImage();
    const QString path = m_dir.filePath(QStringLiteral("round.sin"));
    QVERIFY(storeChannelFile(native(path), image));
    QCOMPARE(QFileInfo(path).size(), qint64(kImageSize));
    RadioImage again;
    QVERIFY(loadChannelFile(native(path), again));
    QVERIFY(again == image);
}

void TestChannelFile::storeReplacesOldFileAndLeavesNoTemporary()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.sin"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(3000, 'x'));
    f.close();
    QVERIFY(f.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
    QVERIFY(storeChannelFile(native(path), patternImage()));
    QCOMPARE(QFileInfo(path).size(), qint64(kImageSize));
#ifndef Q_OS_WIN  // Windows files have no group and other bits to keep
    QCOMPARE(QFile(path).permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
#endif
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("old.sin")});
}

void TestChannelFile::failedStoreKeepsOldFile()
{
    // A directory cannot be replaced by a file: the save fails and what was
    // there stays, with no temporary file left behind.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("taken.sin"));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("taken.sin")));
    QFile inner(path + QStringLiteral("/keep"));
    QVERIFY(inner.open(QIODevice::WriteOnly));
    inner.close();
    const FileResult stored = storeChannelFile(native(path), patternImage());
    QVERIFY(!stored);
    QVERIFY(QString::fromStdString(stored.error).contains(path));
    QVERIFY(QFileInfo(path).isDir());
    QVERIFY(QFileInfo::exists(path + QStringLiteral("/keep")));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

void TestChannelFile::storeIntoMissingFolderFails()
{
    const QString path = m_dir.filePath(QStringLiteral("missing/radio.sin"));
    const FileResult stored = storeChannelFile(native(path), patternImage());
    QVERIFY(!stored);
    QVERIFY(QString::fromStdString(stored.error).contains(path));
}

void TestChannelFile::nonAsciiFileName()
{
    const QString path = m_dir.filePath(QStringLiteral("车队 频道.sin"));
    QVERIFY(storeChannelFile(native(path), patternImage()));
    QVERIFY(QFileInfo::exists(path));
    RadioImage image;
    QVERIFY(loadChannelFile(native(path), image));
    QVERIFY(image == patternImage());
}

void TestChannelFile::devicesAndPipes_data()
{
    // A file is judged by the bytes it delivers, not by the size stat reports
    // (0 for devices and pipes; pipes: tst_clifiles).
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("bytesRead");
    QTest::newRow("/dev/zero: more than an image") << "/dev/zero" << true << int(kLongerThanImage);
    QTest::newRow("/dev/null: empty") << "/dev/null" << true << 0;
    QTest::newRow("a folder: a read error") << "." << false << 0;
}

void TestChannelFile::devicesAndPipes()
{
    QFETCH(QString, path);
    QFETCH(bool, ok);
    QFETCH(int, bytesRead);
    if (!QFile::exists(path))
        QSKIP("no such device here");
    RadioImage image = patternImage();
    std::size_t got = 99;
    const FileResult loaded = loadChannelFile(native(path), image, HiddenPreset::Uhf, &got);
    QVERIFY2(bool(loaded) == ok, loaded.error.c_str());
    QCOMPARE(int(got), bytesRead);
    if (bytesRead > 0)
        QVERIFY(std::all_of(image.data(), image.data() + kImageSize, [](std::uint8_t b) { return b == 0; }));
}

QTEST_GUILESS_MAIN(TestChannelFile)
#include "tst_channelfile.moc"
