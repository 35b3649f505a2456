// File names byte for byte: every byte string survives the trip into a path
// text and back, and the names Qt loses (dialogs, drops, settings) are found
// again.
#include "ByteNamedFolder.h"
#include "NativePath.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tavin::platform;

namespace {

// Creates a file whose name is the given bytes, in folder (bytes too).
bool createNative(const QByteArray &path)
{
    const int fd = ::open(path.constData(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    return fd >= 0 && ::write(fd, "x", 1) == 1 && ::close(fd) == 0;
}

}  // namespace

class TestNativePath : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bytesSurvive_data();
    void bytesSurvive();
    void dialogNamesAreFoundAgain_data();
    void dialogNamesAreFoundAgain();
    void droppedUrlsKeepTheirBytes_data();
    void droppedUrlsKeepTheirBytes();
    void settingsKeepTheBytes_data();
    void settingsKeepTheBytes();
    void pathsForMessagesAndDocuments();
};

void TestNativePath::bytesSurvive_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("plainText");  // valid UTF-8: the usual QString
    QTest::newRow("ASCII") << QByteArray("/tmp/radio.sin") << true;
    QTest::newRow("Chinese") << QByteArray("/tmp/车队 频道.sin") << true;
    QTest::newRow("four-byte character") << QByteArray("\xf0\x9f\x93\xbb.sin") << true;
    QTest::newRow("lone 0xFF") << QByteArray("bad\xff.sin") << false;
    QTest::newRow("0xFF 0xFE") << QByteArray("bad\xff\xfename.sin") << false;
    QTest::newRow("Latin-1 name") << QByteArray("K\xf6ln.sin") << false;
    QTest::newRow("cut-off sequence at the end") << QByteArray("x\xe8\xbd") << false;
    QTest::newRow("cut-off sequence before ASCII") << QByteArray("\xe8\xbd/x") << false;
    QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << false;
    QTest::newRow("encoded surrogate") << QByteArray("\xed\xa0\x80") << false;
    QTest::newRow("bytes that look like an escape") << QByteArray("\xed\xb2\xbf") << false;
    QTest::newRow("beyond U+10FFFF") << QByteArray("\xf4\x90\x80\x80") << false;
    QTest::newRow("every high byte") << [] {
        QByteArray all;
        for (int b = 0x80; b <= 0xFF; ++b)
            all += char(b);
        return all;
    }() << false;
}

void TestNativePath::bytesSurvive()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, plainText);
    const QString text = fromNativeBytes(bytes);
    QCOMPARE(toNativeBytes(text), bytes);
    QCOMPARE(QByteArray::fromStdString(toNative(text).native()), bytes);
    QCOMPARE(fromNative(toNative(text)), text);
    QCOMPARE(text == QString::fromUtf8(bytes), plainText);
}

void TestNativePath::dialogNamesAreFoundAgain_data()
{
    QTest::addColumn<QByteArrayList>("existing");  // created in a temporary folder
    QTest::addColumn<QByteArray>("chosen");        // what the user picked
    QTest::addColumn<QByteArray>("expected");      // what the program must open
    QTest::newRow("file with a byte Qt cannot show")
        << QByteArrayList{"bad\xff\xfename.sin"} << QByteArray("bad\xff\xfename.sin") << QByteArray("bad\xff\xfename.sin");
    QTest::newRow("folder and file both")
        << QByteArrayList{"d\xe9j\xe0/", "d\xe9j\xe0/r\xfc.sin"} << QByteArray("d\xe9j\xe0/r\xfc.sin") << QByteArray("d\xe9j\xe0/r\xfc.sin");
    QTest::newRow("new file in such a folder")
        << QByteArrayList{"d\xe9j\xe0/"} << QByteArray("d\xe9j\xe0/neu.sin") << QByteArray("d\xe9j\xe0/neu.sin");
    // Two names Qt shows alike: no guess; the text stays as it is.
    QTest::newRow("two names that look alike")
        << QByteArrayList{"a\xff.sin", "a\xfe.sin"} << QByteArray("a\xff.sin") << QByteArray("a\xef\xbf\xbd.sin");
    QTest::newRow("a real U+FFFD in the name") << QByteArrayList{"a\xef\xbf\xbd.sin"} << QByteArray("a\xef\xbf\xbd.sin")
                                                << QByteArray("a\xef\xbf\xbd.sin");
}

void TestNativePath::dialogNamesAreFoundAgain()
{
    QFETCH(QByteArrayList, existing);
    QFETCH(QByteArray, chosen);
    QFETCH(QByteArray, expected);
    tavin::test::ByteNamedFolder dir;
    const QByteArray base = QFile::encodeName(dir.path()) + '/';
    for (const QByteArray &name : existing) {
        if (name.endsWith('/'))
            QVERIFY(::mkdir((base + name).constData(), 0755) == 0);
        else
            QVERIFY(createNative(base + name));
    }
    // The dialog returns Qt's text for the name: U+FFFD for each lost byte.
    const QString fromDialog = QFile::decodeName(base + chosen);
    QCOMPARE(toNativeBytes(fromQtPath(fromDialog)), base + expected);
}

void TestNativePath::droppedUrlsKeepTheirBytes_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("percent-encoded byte") << "file:///tmp/bad%FF%FEname.sin" << QByteArray("/tmp/bad\xff\xfename.sin");
    QTest::newRow("UTF-8 name") << "file:///tmp/%E8%BD%A6.sin" << QByteArray("/tmp/\xe8\xbd\xa6.sin");
    QTest::newRow("space and percent sign") << "file:///tmp/a%20b%25.sin" << QByteArray("/tmp/a b%.sin");
    QTest::newRow("not a local file") << "https://example.invalid/a.sin" << QByteArray();
}

void TestNativePath::droppedUrlsKeepTheirBytes()
{
    QFETCH(QString, url);
    QFETCH(QByteArray, expected);
    QCOMPARE(toNativeBytes(fromUrl(QUrl(url))), expected);
}

void TestNativePath::settingsKeepTheBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("storedAsText");  // how other programs reading the settings see it
    QTest::newRow("plain path stays text") << QByteArray("/home/ann/radio.sin") << true;
    QTest::newRow("Chinese path stays text") << QByteArray("/home/ann/车队.sin") << true;
    QTest::newRow("path with a lost byte") << QByteArray("/home/ann/bad\xff.sin") << false;
}

void TestNativePath::settingsKeepTheBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, storedAsText);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("settings.ini"));
    const QString path = fromNativeBytes(bytes);
    {
        QSettings settings(file, QSettings::IniFormat);
        settings.setValue(QStringLiteral("Recent File List/File1"), toSettingsValue(path));
    }
    QSettings settings(file, QSettings::IniFormat);
    const QVariant value = settings.value(QStringLiteral("Recent File List/File1"));
    QCOMPARE(value.typeId() == QMetaType::QString, storedAsText);
    QCOMPARE(toNativeBytes(fromSettingsValue(value)), bytes);
}

void TestNativePath::pathsForMessagesAndDocuments()
{
    const QString bad = fromNativeBytes("/tmp/x/../bad\xff\x01.sin");
    QCOMPARE(quoted(bad), QStringLiteral("'/tmp/x/../bad\\xff\\x01.sin'"));
    QCOMPARE(toNativeBytes(absolutePath(bad)), QByteArray("/tmp/bad\xff\x01.sin"));
    QCOMPARE(toNativeBytes(fileNameOf(bad)), QByteArray("bad\xff\x01.sin"));
    QCOMPARE(toQtPath(bad), QStringLiteral("/tmp/x/../bad\uFFFD\x01.sin"));
    tavin::test::ByteNamedFolder dir;
    const QByteArray name = QFile::encodeName(dir.path()) + "/\xfe.sin";
    QVERIFY(!pathExists(fromNativeBytes(name)));
    QVERIFY(createNative(name));
    QVERIFY(pathExists(fromNativeBytes(name)));
}

QTEST_GUILESS_MAIN(TestNativePath)
#include "tst_nativepath.moc"
