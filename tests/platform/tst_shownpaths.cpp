// Paths as the window shows them: Windows users read '\' between the parts;
// on POSIX a name's bytes that are not UTF-8 show as U+FFFD.
#include "NativePath.h"

#include <QTest>

using tavin::platform::toQtPath;

class TestShownPaths : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void shown_data();
    void shown();
};

void TestShownPaths::shown_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("onWindows");
    QTest::addColumn<QString>("elsewhere");
    QTest::newRow("drive and folders") << "C:/Users/ann/车队.sin" << "C:\\Users\\ann\\车队.sin" << "C:/Users/ann/车队.sin";
    QTest::newRow("already native") << "C:\\radios\\a.sin" << "C:\\radios\\a.sin" << "C:\\radios\\a.sin";
    QTest::newRow("a bare name") << "a.sin" << "a.sin" << "a.sin";
    QTest::newRow("a share") << "//server/radios/a.sin" << "\\\\server\\radios\\a.sin" << "//server/radios/a.sin";
}

void TestShownPaths::shown()
{
    QFETCH(QString, path);
    QFETCH(QString, onWindows);
    QFETCH(QString, elsewhere);
#ifdef Q_OS_WIN
    QCOMPARE(toQtPath(path), onWindows);
#else
    QCOMPARE(toQtPath(path), elsewhere);
    // A byte that is not UTF-8 shows as U+FFFD, the rest as it is.
    QCOMPARE(toQtPath(tavin::platform::fromNativeBytes(QByteArray("/tmp/bad\xff.sin"))), QStringLiteral("/tmp/bad\uFFFD.sin"));
#endif
}

QTEST_GUILESS_MAIN(TestShownPaths)
#include "tst_shownpaths.moc"
