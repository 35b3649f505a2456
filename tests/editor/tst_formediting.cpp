// Channel editing through the real form and document: channels filled from the
// keyboard alone and saved, the Enter key among the setting boxes, the band
// box feeding the frequency checks, and a model change closing editors.
#include "RecordingMessageSink.h"

#include "CMSFlexGrid.h"
#include "CProgramDoc.h"
#include "CProgramView.h"
#include "CellEditors.h"
#include "RadioImage.h"
#include "ToneTable.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <memory>

using tavin::SettingBox;

Q_DECLARE_METATYPE(tavin::SettingBox)

namespace {

QWidget *focus()
{
    return QApplication::focusWidget();
}
void type(const QString &text)
{
    QTest::keyClicks(focus(), text);
}
void press(Qt::Key key, int times = 1)
{
    for (int i = 0; i < times; ++i)
        QTest::keyClick(focus(), key);
}

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray array;
    for (int value : values)
        array.append(static_cast<char>(value));
    return array;
}

QByteArray toneBytes(const char *name)
{
    const tavin::ToneField field = tavin::encodeToneText(name);
    return bytes({field.low, field.high});
}

}  // namespace

class TestFormEditing : public QObject
{
    Q_OBJECT

private:
    tavin::ToneTable m_tones;
    bool m_formReady = false;
    RecordingMessageSink m_messages;
    std::unique_ptr<CProgramDoc> m_doc;
    std::unique_ptr<CProgramView> m_view;

    CMSFlexGrid *grid() const { return m_view->grid(); }
    QComboBox *box(SettingBox which) const { return m_view->settingBoxWidget(which); }
    QWidget *openEditor() const
    {
        for (int c = 1; c <= 8; ++c) {
            if (m_view->cellEditors()->editorForColumn(c)->isVisible())
                return m_view->cellEditors()->editorForColumn(c);
        }
        return nullptr;
    }
    void clickCell(int row, int col)
    {
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {},
                          grid()->visualRect(grid()->model()->index(row, col)).center());
    }
    QStringList rowTexts(int row) const
    {
        QStringList texts;
        for (int c = 1; c <= 8; ++c)
            texts << grid()->textMatrix(row, c);
        return texts;
    }

private Q_SLOTS:
    void init()
    {
        m_formReady = false;
        m_messages.shown.clear();
        m_doc = std::make_unique<CProgramDoc>(m_formReady);
        m_doc->OnNewDocument();
        m_view = std::make_unique<CProgramView>(m_tones, m_formReady);
        m_view->setDocumentImage(&m_doc->image());
        m_doc->setView(m_view.get());
        m_view->show();
        m_view->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_view.get()));
        m_view->OnInitialUpdate();
        m_view->cellEditors()->setMessageSink(&m_messages);
    }
    void cleanup()
    {
        m_view.reset();
        m_doc.reset();
    }

    void threeChannelsFromTheKeyboardSaved()
    {
        QCOMPARE(focus(), box(SettingBox::Model));
        for (int i = 0; i < 12 && focus() != grid(); ++i)
            press(Qt::Key_Tab);
        QCOMPARE(focus(), grid());
        QCOMPARE(grid()->row(), 1);
        QCOMPARE(grid()->col(), 1);

        // Channel 1: 145.5 both ways, tones 67.0 and d023n, narrow, middle power.
        QTest::keyClick(grid(), '1');
        type("45.5");
        press(Qt::Key_Return, 2);  // receive, then transmit as copied
        type("67.0");
        press(Qt::Key_Return);
        type("d023n");
        press(Qt::Key_Return, 2);  // encode tone, busy lock
        press(Qt::Key_Down);       // 窄带
        press(Qt::Key_Return, 2);  // bandwidth, scan
        press(Qt::Key_Down);       // 中
        press(Qt::Key_Return);
        QCOMPARE(grid()->row(), 2);

        // Channel 2: split frequencies, defaults otherwise.
        type("146.0125");
        press(Qt::Key_Return);
        type("146.5");
        press(Qt::Key_Return, 7);
        QCOMPARE(grid()->row(), 3);

        // Channel 3: one frequency, all defaults.
        type("147");
        press(Qt::Key_Return, 8);
        QCOMPARE(grid()->row(), 4);
        QCOMPARE(openEditor(), m_view->cellEditors()->editorForColumn(1));

        // Channel 4 typed but not committed: saving commits it.
        type("148");

        QCOMPARE(rowTexts(1), (QStringList{"145.50000", "145.50000", "67.0", "D023N", "否", "窄带", "添加", "中"}));
        QCOMPARE(rowTexts(2), (QStringList{"146.01250", "146.50000", "无", "无", "否", "宽带", "添加", "高"}));
        QCOMPARE(rowTexts(3), (QStringList{"147.00000", "147.00000", "无", "无", "否", "宽带", "添加", "高"}));

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath("three.sin");
        QString error;
        QVERIFY2(m_doc->OnSaveDocument(path, &error), qPrintable(error));
        QVERIFY(m_messages.shown.isEmpty());
        QCOMPARE(openEditor(), nullptr);
        QCOMPARE(rowTexts(4), (QStringList{"148.00000", "148.00000", "无", "无", "否", "宽带", "添加", "高"}));

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray image = file.readAll();
        QCOMPARE(image.size(), 1024);
        auto record = [&image](int channel) { return image.mid(16 * channel, 16); };
        constexpr quint8 kEditedFlags = 0x01 | 0x04 | 0x10 | 0x60;  // busy lock, narrow, scan, power

        QCOMPARE(record(1).mid(0, 8), bytes({0x00, 0x00, 0x55, 0x14, 0x00, 0x00, 0x55, 0x14}));
        QCOMPARE(record(1).mid(8, 2), toneBytes("67.0"));
        QCOMPARE(record(1).mid(10, 2), toneBytes("D023N"));
        QCOMPARE(quint8(record(1)[12]) & kEditedFlags, 0x01 | 0x04 | 0x10 | 0x20);

        QCOMPARE(record(2).mid(0, 8), bytes({0x50, 0x12, 0x60, 0x14, 0x00, 0x00, 0x65, 0x14}));
        QCOMPARE(record(2).mid(8, 4), bytes({0xFF, 0xFF, 0xFF, 0xFF}));
        QCOMPARE(quint8(record(2)[12]) & kEditedFlags, 0x01 | 0x10 | 0x40);

        QCOMPARE(record(3).mid(0, 8), bytes({0x00, 0x00, 0x70, 0x14, 0x00, 0x00, 0x70, 0x14}));
        QCOMPARE(quint8(record(3)[12]) & kEditedFlags, 0x01 | 0x10 | 0x40);
        QCOMPARE(record(4).mid(0, 8), bytes({0x00, 0x00, 0x80, 0x14, 0x00, 0x00, 0x80, 0x14}));

        const auto *raw = reinterpret_cast<const std::uint8_t *>(image.constData());
        QVERIFY(!tavin::ConstChannelRecord(raw + 16 * 5).inUse());
    }

    void enterInASettingBoxActsAsTab_data()
    {
        QTest::addColumn<SettingBox>("from");
        QTest::addColumn<SettingBox>("to");
        QTest::newRow("model box to transmit limit") << SettingBox::Model << SettingBox::TxTimeLimit;
        QTest::newRow("band box to model box") << SettingBox::Band << SettingBox::Model;
        QTest::newRow("squelch to monitor") << SettingBox::SquelchLevel << SettingBox::Monitor;
    }
    void enterInASettingBoxActsAsTab()
    {
        QFETCH(SettingBox, from);
        QFETCH(SettingBox, to);
        const int selected = box(from)->currentIndex();
        box(from)->setFocus(Qt::OtherFocusReason);
        press(Qt::Key_Return);
        QCOMPARE(focus(), box(to));
        QCOMPARE(box(from)->currentIndex(), selected);
    }

    void walkLeavesTheGridAfterChannelSixteen()
    {
        clickCell(16, 1);
        type("145.5");
        press(Qt::Key_Return, 4);  // transmit, both tones: now in the busy-lock chooser
        QCOMPARE(grid()->col(), 5);
        press(Qt::Key_Return);
        QCOMPARE(openEditor(), nullptr);
        QCOMPARE(focus(), box(SettingBox::RejectAlarm));  // the control after the grid
        QCOMPARE(rowTexts(16)[4], QStringLiteral("否"));
    }

    void enterOnTheBandwidthColumnLeavesTheGrid()
    {
        grid()->setRow(3);
        grid()->setCol(6);
        grid()->setFocus(Qt::OtherFocusReason);
        press(Qt::Key_Return);
        QCOMPARE(focus(), box(SettingBox::RejectAlarm));
        QCOMPARE(openEditor(), nullptr);
    }

    void bandBoxFeedsTheChecks_data()
    {
        QTest::addColumn<int>("band");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("messages");
        QTest::newRow("145 in 136 - 174") << 0 << "145" << "145.00000" << 0;
        QTest::newRow("145 in 400 - 470") << 2 << "145" << "" << 1;
        QTest::newRow("462.5625 in 400 - 470") << 2 << "462.5625" << "462.56250" << 0;
        QTest::newRow("462.5625 in 430 - 500") << 3 << "462.5625" << "462.56250" << 0;
        QTest::newRow("462.5625 in 350 - 400") << 1 << "462.5625" << "" << 1;
    }
    void bandBoxFeedsTheChecks()
    {
        QFETCH(int, band);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(int, messages);
        box(SettingBox::Band)->setCurrentIndex(band);
        clickCell(5, 1);
        type(typed);
        clickCell(6, 1);
        QCOMPARE(grid()->textMatrix(5, 1), stored);
        QCOMPARE(m_messages.shown.size(), messages);
    }

    void modelChangeClosesEditorsWithoutCommitting()
    {
        clickCell(2, 1);
        type("150");
        box(SettingBox::Model)->setFocus(Qt::OtherFocusReason);
        press(Qt::Key_Down);  // another model: the model rule runs
        QCOMPARE(openEditor(), nullptr);
        clickCell(7, 1);
        clickCell(8, 1);
        QCOMPARE(grid()->textMatrix(2, 1), QString());
        QVERIFY(m_messages.shown.isEmpty());
    }

    void newDocumentClosesTheEditorWithoutCommitting()
    {
        clickCell(2, 1);
        type("150");
        m_doc->OnNewDocument();
        m_view->OnInitialUpdate();
        QCOMPARE(openEditor(), nullptr);
        clickCell(7, 1);
        QCOMPARE(grid()->textMatrix(2, 1), QString());
    }

    // A wheel turn over a box or chooser changes it only while it has the
    // focus (the model box has it at start, a turn over the transmit time
    // limit beside it must change nothing).
    void wheelNeedsTheFocus_data()
    {
        QTest::addColumn<SettingBox>("settingBox");
        QTest::addColumn<int>("chooserColumn");  // 0: the setting box; else an open cell chooser
        QTest::addColumn<bool>("focused");
        QTest::addColumn<bool>("changes");
        const SettingBox none = SettingBox::Model;
        QTest::newRow("transmit time limit without the focus") << SettingBox::TxTimeLimit << 0 << false << false;
        QTest::newRow("transmit time limit with the focus") << SettingBox::TxTimeLimit << 0 << true << true;
        QTest::newRow("model box without the focus") << SettingBox::Model << 0 << false << false;
        QTest::newRow("open power chooser, focus in a setting box") << none << 8 << false << false;
        QTest::newRow("open power chooser with the focus") << none << 8 << true << true;
        QTest::newRow("open tone chooser, focus in a setting box") << none << 3 << false << false;
    }
    void wheelNeedsTheFocus()
    {
        QFETCH(SettingBox, settingBox);
        QFETCH(int, chooserColumn);
        QFETCH(bool, focused);
        QFETCH(bool, changes);

        QComboBox *combo = box(settingBox);
        if (chooserColumn == 0) {
            if (focused)
                combo->setFocus(Qt::OtherFocusReason);
            else
                grid()->setFocus(Qt::OtherFocusReason);
        } else {
            grid()->setTextMatrix(4, 1, QStringLiteral("150.00000"));
            grid()->setTextMatrix(4, 3, QStringLiteral("67.0"));
            grid()->setTextMatrix(4, 8, QStringLiteral("中"));
            clickCell(4, chooserColumn);
            combo = qobject_cast<QComboBox *>(openEditor());
            QVERIFY(combo);
            if (!focused)
                box(SettingBox::Beep)->setFocus(Qt::OtherFocusReason);
        }
        QVERIFY(combo->isVisible());
        const int before = combo->currentIndex();
        const int bandBefore = box(SettingBox::Band)->currentIndex();
        const QPointF at = QRectF(combo->rect()).center();
        QWheelEvent turn(at, combo->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                         Qt::NoScrollPhase, false);
        QApplication::sendEvent(combo, &turn);
        QCOMPARE(combo->currentIndex() != before, changes);
        QCOMPARE(box(SettingBox::Band)->currentIndex(), bandBefore);
    }

    // Every label of the form shows its whole text with the fonts of this
    // system, the Chinese fallback face included.
    void labelsShowWhole()
    {
        const QList<QLabel *> labels = m_view->findChildren<QLabel *>(Qt::FindDirectChildrenOnly);
        QCOMPARE(labels.size(), 12);
        for (const QLabel *label : labels) {
            const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : Qt::TextSingleLine);
            const QRect needed = label->fontMetrics().boundingRect(QRect(0, 0, label->width(), 1 << 20), flags, label->text());
            QVERIFY2(needed.height() <= label->height() && needed.width() <= label->width(), qPrintable(label->text()));
            QVERIFY2(m_view->rect().contains(label->geometry()), qPrintable(label->text()));
        }
    }

    void editingMarksTheFormModified()
    {
        int modified = 0;
        connect(m_view.get(), &CProgramView::documentModified, this, [&modified] { ++modified; });
        clickCell(2, 1);
        type("150");
        clickCell(3, 1);
        QVERIFY(modified > 0);
    }
};

QTEST_MAIN(TestFormEditing)
#include "tst_formediting.moc"
