// File names byte for byte: every byte string survives the trip into a path
// text and back, and names that Qt turns into U+FFFD (dialogs, drops,
// settings) reach the file they came from.
#include "ByteNamedFolder.h"
#include "NativePath.h"

#include <QSettings>
#include <QTest>
#include <QUrl>

#include <cstdio>

#include <sys/stat.h>

using namespace tavin::platform;

class TestNativePath : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bytesSurvive_data();
    void bytesSurvive();
    void lostBytesAreFound_data();
    void lostBytesAreFound();
};

void TestNativePath::bytesSurvive_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("plainText");  // valid UTF-8: the usual QString
    QTest::newRow("Chinese and a four-byte character") << QByteArray("车队 \xf0\x9f\x93\xbb.sin") << true;
    QTest::newRow("0xFF 0xFE") << QByteArray("bad\xff\xfename.sin") << false;
    QTest::newRow("cut-off sequence before ASCII") << QByteArray("\xe8\xbd/x\xe8") << false;
    QTest::newRow("overlong slash, encoded surrogate") << QByteArray("\xc0\xaf\xed\xa0\x80") << false;
    QTest::newRow("bytes that look like an escape") << QByteArray("\xed\xb2\xbf") << false;
    QByteArray high;
    for (int b = 0x80; b <= 0xFF; ++b)
        high += char(b);
    QTest::newRow("every high byte") << high << false;
}

void TestNativePath::bytesSurvive()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, plainText);
    const QString text = fromNativeBytes(bytes);
    QCOMPARE(QByteArray::fromStdString(toNative(text).native()), bytes);
    QCOMPARE(fromNative(toNative(text)), text);
    QCOMPARE(text == QString::fromUtf8(bytes), plainText);
    QCOMPARE(toNativeBytes(absolutePath(fromNativeBytes("/tmp/x/../" + bytes))), "/tmp/" + bytes);
}

void TestNativePath::lostBytesAreFound_data()
{
    QTest::addColumn<QString>("source");       // where the path comes from
    QTest::addColumn<QByteArrayList>("files");  // made in a temporary folder ("/" at the end: a folder)
    QTest::addColumn<QByteArray>("chosen");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("dialog: file") << "dialog" << QByteArrayList{"bad\xff\xfename.sin"} << QByteArray("bad\xff\xfename.sin")
                                  << QByteArray("bad\xff\xfename.sin");
    QTest::newRow("dialog: new file in such a folder") << "dialog" << QByteArrayList{"d\xe9j\xe0/"}
                                                       << QByteArray("d\xe9j\xe0/neu.sin") << QByteArray("d\xe9j\xe0/neu.sin");
    // Two names that Qt shows alike: no guess, the text stays as it is.
    QTest::newRow("dialog: two names look alike") << "dialog" << QByteArrayList{"a\xff.sin", "a\xfe.sin"}
                                                  << QByteArray("a\xff.sin") << QByteArray("a\xef\xbf\xbd.sin");
    QTest::newRow("drop: percent-encoded bytes") << "drop" << QByteArrayList{} << QByteArray("K\xf6ln %.sin")
                                                 << QByteArray("K\xf6ln %.sin");
    QTest::newRow("settings: bytes") << "settings" << QByteArrayList{} << QByteArray("K\xf6ln.sin") << QByteArray("K\xf6ln.sin");
    QTest::newRow("settings: text stays text") << "settings" << QByteArrayList{} << QByteArray("车队.sin")
                                               << QByteArray("车队.sin");
}

void TestNativePath::lostBytesAreFound()
{
    QFETCH(QString, source);
    QFETCH(QByteArrayList, files);
    QFETCH(QByteArray, chosen);
    QFETCH(QByteArray, expected);
    tavin::test::ByteNamedFolder dir;
    const QByteArray base = QFile::encodeName(dir.path()) + '/';
    for (const QByteArray &name : files) {
        if (name.endsWith('/'))
            QVERIFY(::mkdir((base + name).constData(), 0755) == 0);
        else if (FILE *f = std::fopen((base + name).constData(), "w"))
            std::fclose(f);
    }
    QString found;
    if (source == QLatin1String("dialog")) {
        found = fromQtPath(QFile::decodeName(base + chosen));  // Qt's text: U+FFFD for each lost byte
    } else if (source == QLatin1String("drop")) {
        found = fromUrl(QUrl(QStringLiteral("file://") + QString::fromLatin1((base + chosen).toPercentEncoding("/"))));
    } else {
        const QString ini = dir.filePath(QStringLiteral("settings.ini"));
        QSettings(ini, QSettings::IniFormat).setValue(QStringLiteral("File1"), toSettingsValue(fromNativeBytes(base + chosen)));
        const QVariant value = QSettings(ini, QSettings::IniFormat).value(QStringLiteral("File1"));
        QCOMPARE(value.typeId() == QMetaType::QString, chosen == expected && QString::fromUtf8(chosen).toUtf8() == chosen);
        found = fromSettingsValue(value);
    }
    QCOMPARE(toNativeBytes(found), base + expected);
}

QTEST_GUILESS_MAIN(TestNativePath)
#include "tst_nativepath.moc"
