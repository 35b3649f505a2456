// Dialog units measured on the fonts that really draw a template's texts:
// the form's labels show whole with every common font set, Chinese texts
// included (they come from a fallback face, often taller than the form's).
#include "DialogUnits.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QTest>

namespace {

const QString kEmergency = QStringLiteral("紧急呼叫          开关");
const QString kRejectAlarm = QStringLiteral("拒绝紧急报警");
const QString kSquelch = QStringLiteral("静噪电平");

// The lines a label draws its text in, as the label lays it out.
int linesIn(const QFont &font, const QRect &rect, const QString &text, int flags)
{
    const QFontMetrics metrics(font);
    const int oneLine = metrics.boundingRect(QRect(0, 0, 1 << 20, 1 << 20), Qt::TextSingleLine, QStringLiteral("中")).height();
    return metrics.boundingRect(QRect(0, 0, rect.width(), 1 << 20), flags, text).height() / std::max(1, oneLine);
}

}  // namespace

class TestDialogUnits : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void labelsShowWhole_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("points");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QRect>("templateRect");
        QTest::addColumn<bool>("wrap");
        QTest::addColumn<int>("lines");

        const QStringList families{QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Sans"),
                                   QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                                   QStringLiteral("Noto Serif CJK SC")};
        for (const QString &family : families) {
            for (int points : {9, 12}) {
                const QByteArray name = QStringLiteral("%1 %2pt").arg(family).arg(points).toUtf8();
                QTest::newRow((name + ": emergency switch, two lines").constData())
                    << family << points << kEmergency << QRect(13, 161, 29, 15) << true << 2;
                QTest::newRow((name + ": reject alarm, two lines").constData())
                    << family << points << kRejectAlarm << QRect(11, 177, 31, 17) << true << 2;
                QTest::newRow((name + ": squelch level, one line").constData())
                    << family << points << kSquelch << QRect(13, 100, 29, 8) << false << 1;
            }
        }
    }
    void labelsShowWhole()
    {
        QFETCH(QString, family);
        QFETCH(int, points);
        QFETCH(QString, text);
        QFETCH(QRect, templateRect);
        QFETCH(bool, wrap);
        QFETCH(int, lines);
        if (!QFontDatabase::hasFamily(family))
            QSKIP("font not installed");

        QFont font;
        font.setFamilies({family, QStringLiteral("serif")});
        font.setPointSize(points);
        const DialogUnits units(font, {kEmergency, kRejectAlarm, kSquelch, QStringLiteral("QD-T310K")});
        const Qt::Alignment alignment = Qt::AlignRight | (wrap ? Qt::AlignTop : Qt::AlignVCenter);
        const QRect rect = units.textRect(templateRect.x(), templateRect.y(), templateRect.width(),
                                          templateRect.height(), text, alignment, wrap);
        const int flags = int(alignment) | (wrap ? Qt::TextWordWrap : Qt::TextSingleLine);
        const QRect needed = QFontMetrics(font).boundingRect(QRect(0, 0, rect.width(), 1 << 20), flags, text);
        QVERIFY2(needed.height() <= rect.height() && needed.width() <= rect.width(),
                 qPrintable(QStringLiteral("needs %1x%2 in %3x%4")
                                .arg(needed.width()).arg(needed.height()).arg(rect.width()).arg(rect.height())));
        QCOMPARE(linesIn(font, rect, text, flags), lines);
        // Grown from the template's box, never shrunk, and no more than the text needs.
        const QRect plain = units.toPixels(templateRect.x(), templateRect.y(), templateRect.width(), templateRect.height());
        QVERIFY(rect.contains(plain));
        QVERIFY(rect.height() <= std::max(plain.height(), needed.height()));
    }
};

QTEST_MAIN(TestDialogUnits)
#include "tst_dialogunits.moc"
