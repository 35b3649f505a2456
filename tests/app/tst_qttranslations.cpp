// Qt's own dialog texts follow the user's language; English stays English.
#include "QtTranslations.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTest>
#include <QTranslator>

class TestQtTranslations : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup()
    {
        // Each row starts from Qt's English texts.
        for (QTranslator *t : qApp->findChildren<QTranslator *>()) {
            QCoreApplication::removeTranslator(t);
            delete t;
        }
    }

    void standardButtons_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<bool>("loaded");
        QTest::addColumn<QString>("ok");
        QTest::addColumn<QString>("cancel");
        QTest::newRow("Chinese desktop: 确定 and 取消")
            << QLocale(QLocale::Chinese, QLocale::China) << true << QStringLiteral("确定") << QStringLiteral("取消");
        QTest::newRow("German desktop: Abbrechen")
            << QLocale(QLocale::German, QLocale::Germany) << true << QStringLiteral("OK") << QStringLiteral("Abbrechen");
        QTest::newRow("English desktop: Qt's own texts")
            << QLocale(QLocale::English, QLocale::UnitedStates) << false << QStringLiteral("OK") << QStringLiteral("Cancel");
        QTest::newRow("C locale: Qt's own texts") << QLocale::c() << false << QStringLiteral("OK") << QStringLiteral("Cancel");
    }

    void standardButtons()
    {
        QFETCH(QLocale, locale);
        QFETCH(bool, loaded);
        QFETCH(QString, ok);
        QFETCH(QString, cancel);
        QCOMPARE(installQtTranslations(*qApp, locale) != nullptr, loaded);
        QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QCOMPARE(box.button(QDialogButtonBox::Ok)->text().remove(QLatin1Char('&')), ok);
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&')), cancel);
    }
};

QTEST_MAIN(TestQtTranslations)
#include "tst_qttranslations.moc"
