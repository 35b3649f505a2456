// The in-place editors driven by real mouse and key events on a grid harness:
// frequency entries and their warnings, tones, switches, typing on a cell and
// the Enter walk.
#include "EditorHarness.h"

#include "CellChooser.h"
#include "EditorPlacement.h"
#include "FrequencyEditor.h"
#include "ToneTable.h"

#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

const QString kFormat = QStringLiteral(u"Error Data Format\uFF0CPlease input again");
const QString kBand = QStringLiteral("Out of range!");
const QString kStep = QStringLiteral(u"Error data Value\uFF0CPlease input according the step value(6.25K/5k)");
const QString kNumber = QStringLiteral("Please input Number");

// "F" format, "B" band range, "S" step, "N" please input a number.
QStringList messageTexts(const QString &codes)
{
    QStringList texts;
    for (QChar code : codes) {
        switch (code.unicode()) {
        case 'F': texts << kFormat; break;
        case 'B': texts << kBand; break;
        case 'S': texts << kStep; break;
        case 'N': texts << kNumber; break;
        }
    }
    return texts;
}

const QStringList kEmpty{"", "", "", "", "", "", "", ""};
const QStringList kInUse{"150.00000", "150.00000", "67.0", "D023N", "是", "窄带", "删除", "低"};
const QStringList kDefaults145{"145.50000", "145.50000", "无", "无", "否", "宽带", "添加", "高"};
const QStringList kRxCleared{"", "150.00000", "", "D023N", "是", "窄带", "删除", "低"};
const QStringList kUhfInUse{"464.93750", "464.93750", "67.0", "D023N", "是", "窄带", "删除", "低"};
// A transmit frequency with an encode tone that a refused entry must not take along.
const QStringList kSplitUhf{"462.58750", "467.58750", "无", "100.0", "否", "宽带", "添加", "高"};

constexpr int kRow = 3;
constexpr int kElsewhereRow = 10;

}  // namespace

class TestCellEditors : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<EditorHarness> m_form;
    tavin::ToneTable m_tones;

    EditorHarness &form() { return *m_form; }
    FrequencyEditor *frequencyEditor() { return qobject_cast<FrequencyEditor *>(form().editors->editorForColumn(1)); }
    CellChooser *chooser(int col) { return qobject_cast<CellChooser *>(form().editors->editorForColumn(col)); }

private Q_SLOTS:
    void init()
    {
        m_form = std::make_unique<EditorHarness>(m_tones);
        m_form->show();
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }
    void cleanup() { m_form.reset(); }

    void placement_data()
    {
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("whole inches at 96 dpi") << 1440 << 720 << 2880 << 360 << 96 << QRect(93, 45, 192, 24);
        QTest::newRow("fractions cut toward zero") << 1000 << 1000 << 1000 << 250 << 96 << QRect(63, 63, 66, 16);
        QTest::newRow("120 dpi") << 1440 << 1440 << 1200 << 300 << 120 << QRect(117, 117, 100, 25);
        QTest::newRow("cell at the origin overlaps the frame") << 0 << 0 << 960 << 300 << 96 << QRect(-3, -3, 64, 20);
    }
    void placement()
    {
        QFETCH(int, left);
        QFETCH(int, top);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, dpi);
        QFETCH(QRect, expected);
        QCOMPARE(editorRect(CellTwips{left, top, width, height}, dpi, dpi), expected);
    }

    void leavingFrequency_data()
    {
        QTest::addColumn<int>("band");
        QTest::addColumn<int>("col");
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QString>("messages");

        QTest::newRow("145.5 on an empty channel gets the defaults") << 0 << 1 << kEmpty << "145.5" << kDefaults145 << "";
        QTest::newRow("transmit typed first: defaults, no copy")
            << 0 << 2 << kEmpty << "145.5" << QStringList{"", "145.50000", "无", "无", "否", "宽带", "添加", "高"} << "";
        QTest::newRow("145.5abc stored as 145.50000") << 0 << 1 << kEmpty << "145.5abc" << kDefaults145 << "";
        QTest::newRow("abc: format, channel stays empty") << 0 << 1 << kEmpty << "abc" << kEmpty << "F";
        QTest::newRow("60: band range in band 0") << 0 << 1 << kEmpty << "60" << kEmpty << "B";
        QTest::newRow("60: band range in band 3") << 3 << 1 << kEmpty << "60" << kEmpty << "B";
        QTest::newRow("600.00001: format") << 0 << 1 << kEmpty << "600.00001" << kEmpty << "F";
        QTest::newRow("-145: format") << 0 << 1 << kEmpty << "-145" << kEmpty << "F";
        QTest::newRow("136 accepted in band 0")
            << 0 << 1 << kEmpty << "136" << QStringList{"136.00000", "136.00000", "无", "无", "否", "宽带", "添加", "高"}
            << "";
        QTest::newRow("174 accepted in band 0")
            << 0 << 1 << kEmpty << "174" << QStringList{"174.00000", "174.00000", "无", "无", "否", "宽带", "添加", "高"}
            << "";
        QTest::newRow("174.00625 refused in band 0") << 0 << 1 << kEmpty << "174.00625" << kEmpty << "B";
        QTest::newRow("146.0033: step only, the frequency is kept")
            << 0 << 1 << kInUse << "146.0033" << kInUse << "S";
        QTest::newRow("500.0033: band range then step, the frequency is kept")
            << 0 << 1 << kInUse << "500.0033" << kInUse << "BS";
        QTest::newRow("600 on a transmit cell: band range, frequency and tone kept")
            << 2 << 2 << kSplitUhf << "600" << kSplitUhf << "B";
        QTest::newRow("abc on a transmit cell: format, frequency and tone kept")
            << 2 << 2 << kSplitUhf << "abc" << kSplitUhf << "F";
        QTest::newRow("467.5833 on a transmit cell: step, frequency and tone kept")
            << 2 << 2 << kSplitUhf << "467.5833" << kSplitUhf << "S";
        QTest::newRow("145.0062599 stored as the count it was checked on")
            << 0 << 1 << kInUse << "145.0062599"
            << QStringList{"145.00625", "150.00000", "67.0", "D023N", "是", "窄带", "删除", "低"} << "";
        QTest::newRow("136.0125 lies on the raster")
            << 0 << 2 << kInUse << "136.0125"
            << QStringList{"150.00000", "136.01250", "67.0", "D023N", "是", "窄带", "删除", "低"} << "";
        QTest::newRow("462.5625 in band 2")
            << 2 << 1 << kEmpty << "462.5625"
            << QStringList{"462.56250", "462.56250", "无", "无", "否", "宽带", "添加", "高"} << "";
        QTest::newRow("emptied receive clears its tone") << 0 << 1 << kInUse << "" << kRxCleared << "";
        QTest::newRow("emptied transmit clears its tone")
            << 0 << 2 << kInUse << "" << QStringList{"150.00000", "", "67.0", "", "是", "窄带", "删除", "低"} << "";
    }
    void leavingFrequency()
    {
        QFETCH(int, band);
        QFETCH(int, col);
        QFETCH(QStringList, before);
        QFETCH(QString, typed);
        QFETCH(QStringList, after);
        QFETCH(QString, messages);

        form().bandBox->setCurrentIndex(band);
        form().setRow(kRow, before);
        form().click(kRow, col);
        QCOMPARE(form().openEditor(), frequencyEditor());
        QCOMPARE(form().focus(), frequencyEditor());
        QTest::keyClick(frequencyEditor(), Qt::Key_Backspace);  // the cell's text is selected
        form().typeInFocus(typed);
        form().click(kElsewhereRow, col);

        QCOMPARE(form().rowTexts(kRow), after);
        QCOMPARE(form().messages.texts(), messageTexts(messages));
    }

    void messageCaptionsAndIcons_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("information");
        QTest::newRow("format: program title, exclamation") << "abc" << "Tavin写频软件" << false;
        QTest::newRow("band range: Prompt, information") << "400" << "Prompt" << true;
        QTest::newRow("step: program title, exclamation") << "146.0033" << "Tavin写频软件" << false;
    }
    void messageCaptionsAndIcons()
    {
        QFETCH(QString, typed);
        QFETCH(QString, caption);
        QFETCH(bool, information);
        form().click(kRow, 1);
        form().typeInFocus(typed);
        form().click(kElsewhereRow, 1);
        QCOMPARE(form().messages.shown.size(), 1);
        QCOMPARE(form().messages.shown[0].caption, caption);
        QCOMPARE(form().messages.shown[0].icon == EditorMessage::Icon::Information, information);
    }

    void enterOnFrequency_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QString>("messages");
        QTest::addColumn<bool>("keepsEditing");

        QTest::newRow("500.0033: band range only, cell kept, editor open") << kInUse << "500.0033" << kInUse << "B" << true;
        QTest::newRow("146.0033: step, cell kept, editor open") << kInUse << "146.0033" << kInUse << "S" << true;
        QTest::newRow("174.00625: band range, cell kept") << kInUse << "174.00625" << kInUse << "B" << true;
        QTest::newRow("abc: format, cell kept, editor open") << kInUse << "abc" << kInUse << "F" << true;
        QTest::newRow("600 on an empty channel: band range, editor open and empty") << kEmpty << "600" << kEmpty << "B"
                                                                                   << true;
        QTest::newRow("145.5 on an empty channel: defaults, walk goes on") << kEmpty << "145.5" << kDefaults145 << ""
                                                                          << false;
    }
    void enterOnFrequency()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, typed);
        QFETCH(QStringList, after);
        QFETCH(QString, messages);
        QFETCH(bool, keepsEditing);

        form().setRow(kRow, before);
        form().click(kRow, 1);
        QTest::keyClick(frequencyEditor(), Qt::Key_Backspace);
        form().typeInFocus(typed);
        form().pressEnter();

        QCOMPARE(form().rowTexts(kRow), after);
        QCOMPARE(form().messages.texts(), messageTexts(messages));
        QCOMPARE(form().grid->row(), kRow);
        if (keepsEditing) {
            // The cell's text again, selected: typing replaces it, leaving keeps it.
            QCOMPARE(form().grid->col(), 1);
            QCOMPARE(form().openEditor(), frequencyEditor());
            QCOMPARE(form().focus(), frequencyEditor());
            QCOMPARE(frequencyEditor()->text(), before[0]);
            QCOMPARE(frequencyEditor()->selectedText(), before[0]);
        } else {
            // On to the transmit frequency, its text selected for replacing.
            QCOMPARE(form().grid->col(), 2);
            QCOMPARE(form().openEditor(), frequencyEditor());
            QCOMPARE(frequencyEditor()->text(), after[1]);
            QCOMPARE(frequencyEditor()->selectedText(), after[1]);
        }
    }

    // After a refused Enter the user retypes, leaves, or empties the cell on purpose.
    void afterARefusedEnter_data()
    {
        QTest::addColumn<QString>("then");  // typed into the editor before leaving
        QTest::addColumn<QStringList>("after");
        QStringList retyped = kInUse;
        retyped[0] = "151.00000";
        QTest::newRow("leaving keeps the cell") << "" << kInUse;
        QTest::newRow("typing replaces the text") << "151" << retyped;
        QTest::newRow("Backspace then leaving clears the cell") << "\b" << kRxCleared;
    }
    void afterARefusedEnter()
    {
        QFETCH(QString, then);
        QFETCH(QStringList, after);
        form().setRow(kRow, kInUse);
        form().click(kRow, 1);
        form().typeInFocus("500.0033");
        form().pressEnter();
        QCOMPARE(form().rowTexts(kRow), kInUse);
        form().typeInFocus(then);
        form().click(kElsewhereRow, 1);
        QCOMPARE(form().rowTexts(kRow), after);
        QCOMPARE(form().messages.texts(), messageTexts("B"));
    }

    void clearingOneSideThenTheOther()
    {
        const QStringList receiveOnly{"145.50000", "", "无", "无", "否", "宽带", "添加", "高"};
        form().setRow(kRow, receiveOnly);
        form().click(kRow, 1);
        QTest::keyClick(frequencyEditor(), Qt::Key_Backspace);
        form().click(kElsewhereRow, 1);
        // The transmit tone still holds its name, so the settings stay.
        QCOMPARE(form().rowTexts(kRow), (QStringList{"", "", "", "无", "否", "宽带", "添加", "高"}));
        form().click(kRow, 2);
        form().click(kElsewhereRow, 1);
        QCOMPARE(form().rowTexts(kRow), kEmpty);
        QVERIFY(form().messages.shown.isEmpty());
    }

    void leavingWithoutAnOpenEditorCommitsNothing()
    {
        const QStringList invalid{"999.00000", "", "", "", "", "", "", ""};
        form().setRow(kRow, invalid);
        form().goTo(kRow, 1);
        QTest::keyClick(form().grid, Qt::Key_Right);
        QCOMPARE(form().grid->col(), 2);
        QTest::keyClick(form().grid, Qt::Key_Down);
        QCOMPARE(form().rowTexts(kRow), invalid);
        QVERIFY(form().messages.shown.isEmpty());
        QCOMPARE(form().openEditor(), nullptr);
    }

    void cellEditedReportsChangedCells()
    {
        QSignalSpy edited(form().editors, &CellEditors::cellEdited);
        form().click(kRow, 1);
        form().typeInFocus("145.5");
        form().click(kElsewhereRow, 1);
        QCOMPARE(edited.size(), 8);  // both frequencies and the six defaults
        edited.clear();
        form().click(kRow, 1);
        form().typeInFocus("145.5");
        form().click(kElsewhereRow, 1);
        QCOMPARE(edited.size(), 0);
    }

    void mouseOpening_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("opens");
        QTest::newRow("left button opens") << Qt::LeftButton << true;
        QTest::newRow("middle button opens") << Qt::MiddleButton << true;
        QTest::newRow("right button opens nothing") << Qt::RightButton << false;
    }
    void mouseOpening()
    {
        QFETCH(Qt::MouseButton, button);
        QFETCH(bool, opens);
        form().setRow(kRow, kInUse);
        form().click(kRow, 8, button);
        QCOMPARE(form().openEditor(), opens ? chooser(8) : nullptr);
        if (opens)
            QCOMPARE(chooser(8)->currentText(), QStringLiteral("低"));
    }

    void doubleClickOpens_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::newRow("empty frequency cell: empty editor") << "";
        QTest::newRow("145.50000: all of it selected") << "145.50000";
    }
    void doubleClickOpens()
    {
        QFETCH(QString, cell);
        form().grid->setTextMatrix(kRow, 1, cell);
        form().doubleClick(kRow, 1);
        QCOMPARE(form().openEditor(), frequencyEditor());
        QCOMPARE(frequencyEditor()->text(), cell);
        QCOMPARE(frequencyEditor()->selectedText(), cell);
    }

    void toneChooserOpens_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("shown");
        QTest::newRow("a tone name shows that name") << "D023N" << "D023N";
        QTest::newRow("an empty cell shows no tone") << "" << "无";
        QTest::newRow("OFF matches no name: no tone") << "OFF" << "无";
    }
    void toneChooserOpens()
    {
        QFETCH(QString, cell);
        QFETCH(QString, shown);
        form().setRow(kRow, kInUse);
        form().grid->setTextMatrix(kRow, 4, cell);
        form().click(kRow, 4);
        QCOMPARE(form().openEditor(), chooser(4));
        QCOMPARE(chooser(4)->currentText(), shown);
        QCOMPARE(chooser(4)->lineEdit()->selectedText(), shown);  // typing replaces it
    }

    void toneCommit_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("xyz on a channel in use: OFF") << kInUse << "xyz" << "OFF";
        QTest::newRow("xyz on an empty channel: empty") << kEmpty << "xyz" << "";
        QTest::newRow("d023n stored as D023N") << kInUse << "d023n" << "D023N";
        QTest::newRow("67.0 stored as typed") << kInUse << "67.0" << "67.0";
        QTest::newRow("empty text on a channel in use: OFF") << kInUse << "" << "OFF";
    }
    void toneCommit()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        form().setRow(kRow, before);
        form().click(kRow, 3);
        QLineEdit *field = chooser(3)->lineEdit();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, typed);
        form().click(kElsewhereRow, 1);
        QCOMPARE(form().grid->textMatrix(kRow, 3), stored);
        QVERIFY(!chooser(3)->isVisible());
    }

    void reopeningAfterTheCellChangedShowsTheNewText()
    {
        // As after a new document or a read from the radio: the cell stays
        // current while decoding rewrites its text.
        form().setRow(kRow, kInUse);
        form().goTo(kRow, 5);
        form().grid->setTextMatrix(kRow, 5, QStringLiteral("否"));
        form().click(kRow, 5);
        QCOMPARE(chooser(5)->currentText(), QStringLiteral("否"));
        form().click(kElsewhereRow, 1);
        QCOMPARE(form().grid->textMatrix(kRow, 5), QStringLiteral("否"));
    }

    void switchOnEmptyChannelStaysEmpty()
    {
        form().click(kRow, 6);
        QCOMPARE(form().openEditor(), chooser(6));
        QTest::keyClick(chooser(6), Qt::Key_Down);
        QCOMPARE(chooser(6)->currentText(), QStringLiteral("窄带"));
        form().click(kElsewhereRow, 1);
        QCOMPARE(form().grid->textMatrix(kRow, 6), QString());
    }

    void typingOnACell_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<char>("key");
        QTest::addColumn<QString>("editorText");
        QTest::addColumn<QString>("messages");

        QTest::newRow("4 on an empty receive cell") << 1 << "" << '4' << "4" << "";
        QTest::newRow("4 on 145.50000 replaces it") << 1 << "145.50000" << '4' << "4" << "";
        QTest::newRow("4 on an empty transmit cell") << 2 << "" << '4' << "4" << "";
        QTest::newRow("letter on an empty cell: warning, empty editor") << 1 << "" << 'a' << "" << "N";
        QTest::newRow("letter on 145.50000: warning, editor holds it") << 1 << "145.50000" << 'a' << "a" << "N";
        QTest::newRow("7 on a tone cell") << 3 << "67.0" << '7' << "7" << "";
        QTest::newRow("letter on a tone cell: no warning") << 4 << "D023N" << 'x' << "x" << "";
        QTest::newRow("letter on the busy-lock cell keeps its choice") << 5 << "是" << 'x' << "是" << "";
        QTest::newRow("digit on the power cell keeps its choice") << 8 << "中" << '3' << "中" << "";
    }
    void typingOnACell()
    {
        QFETCH(int, col);
        QFETCH(QString, cell);
        QFETCH(char, key);
        QFETCH(QString, editorText);
        QFETCH(QString, messages);

        QGuiApplication::clipboard()->setText(QStringLiteral("copied before"));
        QStringList row = kInUse;
        row[col - 1] = cell;
        form().setRow(kRow, row);
        form().goTo(kRow, col);
        QTest::keyClick(form().grid, key);

        QWidget *editor = form().editors->editorForColumn(col);
        QCOMPARE(form().openEditor(), editor);
        QCOMPARE(form().messages.texts(), messageTexts(messages));
        if (auto *frequency = qobject_cast<FrequencyEditor *>(editor)) {
            QCOMPARE(frequency->text(), editorText);
            QCOMPARE(frequency->cursorPosition(), editorText.size());
            QVERIFY(!frequency->hasSelectedText());
        } else {
            auto *list = qobject_cast<CellChooser *>(editor);
            QCOMPARE(list->currentText(), editorText);
            if (list->isEditable())
                QCOMPARE(list->lineEdit()->cursorPosition(), editorText.size());
        }
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("copied before"));
        QCOMPARE(form().grid->textMatrix(kRow, col), cell);  // nothing committed yet
    }

    void typingOpensNothing_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("text");
        QTest::newRow("letter on the bandwidth cell") << 6 << "a";
        QTest::newRow("delete on a frequency cell") << 1 << "\x7f";
    }
    void typingOpensNothing()
    {
        QFETCH(int, col);
        QFETCH(QString, text);
        form().setRow(kRow, kInUse);
        form().goTo(kRow, col);
        QKeyEvent press(QEvent::KeyPress, text == "a" ? Qt::Key_A : Qt::Key_Delete, Qt::NoModifier, text);
        QApplication::sendEvent(form().grid, &press);
        QCOMPARE(form().openEditor(), nullptr);
        QCOMPARE(form().rowTexts(kRow), kInUse);
        QVERIFY(form().messages.shown.isEmpty());
    }

    // Control keys on a cell of a channel in band 2: none becomes editor
    // text, so leaving the cell never empties it behind the user's back.
    void controlKeysOnACell_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("opensWith");  // the open editor's text; "-" for no editor
        QTest::addColumn<QString>("typedAfter");
        QTest::addColumn<QStringList>("after");

        const QStringList uhf = kUhfInUse;
        QStringList rxCleared = uhf;
        rxCleared[0] = "";
        rxCleared[2] = "";
        QStringList rxRetyped = uhf;
        rxRetyped[0] = "462.56250";
        QTest::newRow("Escape on a frequency opens nothing, keeps it") << 1 << int(Qt::Key_Escape) << "-" << "" << uhf;
        QTest::newRow("Escape on a tone opens nothing") << 3 << int(Qt::Key_Escape) << "-" << "" << uhf;
        QTest::newRow("Escape on the power cell opens nothing") << 8 << int(Qt::Key_Escape) << "-" << "" << uhf;
        QTest::newRow("Backspace on a frequency opens it empty; leaving clears it")
            << 1 << int(Qt::Key_Backspace) << "" << "" << rxCleared;
        QTest::newRow("Backspace, then a new frequency that is stored")
            << 1 << int(Qt::Key_Backspace) << "" << "462.5625" << rxRetyped;
        QTest::newRow("Backspace on a tone opens its choice") << 4 << int(Qt::Key_Backspace) << "D023N" << "" << uhf;
        QTest::newRow("Backspace on the busy-lock cell opens its choice") << 5 << int(Qt::Key_Backspace) << "是" << "" << uhf;
        QTest::newRow("Backspace on the bandwidth cell opens nothing") << 6 << int(Qt::Key_Backspace) << "-" << "" << uhf;
        QTest::newRow("Ctrl+A's character on a frequency opens nothing") << 1 << 0x01 << "-" << "" << uhf;
    }
    void controlKeysOnACell()
    {
        QFETCH(int, col);
        QFETCH(int, key);
        QFETCH(QString, opensWith);
        QFETCH(QString, typedAfter);
        QFETCH(QStringList, after);

        form().bandBox->setCurrentIndex(2);
        form().setRow(kRow, kUhfInUse);
        form().goTo(kRow, col);
        if (key < 0x20) {
            // A character without a key of its own, as some keyboards deliver.
            QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QString(QChar(key)));
            QApplication::sendEvent(form().grid, &press);
        } else {
            QTest::keyClick(form().grid, Qt::Key(key));
        }
        QWidget *editor = form().editors->editorForColumn(col);
        if (opensWith == "-") {
            QCOMPARE(form().openEditor(), nullptr);
        } else {
            QCOMPARE(form().openEditor(), editor);
            QCOMPARE(form().focus() == editor || editor->isAncestorOf(form().focus()), true);
            if (auto *frequency = qobject_cast<FrequencyEditor *>(editor))
                QCOMPARE(frequency->text(), opensWith);
            else
                QCOMPARE(qobject_cast<CellChooser *>(editor)->currentText(), opensWith);
        }
        if (!typedAfter.isEmpty())
            form().typeInFocus(typedAfter);
        form().click(kElsewhereRow, 1);
        QCOMPARE(form().rowTexts(kRow), after);
        QVERIFY(form().messages.shown.isEmpty());
    }

    // Escape in an open editor gives back the cell's text; the editor stays
    // open, and leaving the cell then keeps what it held.
    void escapeInAnOpenEditor_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("typed");   // into the open editor
        QTest::addColumn<int>("arrowDowns");  // or moves through a list
        QTest::addColumn<QString>("restored");
        QTest::newRow("frequency retyped") << 1 << "1" << 0 << "464.93750";
        QTest::newRow("tone chooser retyped") << 3 << "xyz" << 0 << "67.0";
        QTest::newRow("busy-lock chooser moved") << 5 << "" << 1 << "是";
        QTest::newRow("power chooser moved") << 8 << "" << 2 << "低";
    }
    void escapeInAnOpenEditor()
    {
        QFETCH(int, col);
        QFETCH(QString, typed);
        QFETCH(int, arrowDowns);
        QFETCH(QString, restored);

        form().bandBox->setCurrentIndex(2);
        form().setRow(kRow, kUhfInUse);
        form().click(kRow, col);
        QWidget *editor = form().openEditor();
        QCOMPARE(editor, form().editors->editorForColumn(col));
        if (!typed.isEmpty())
            form().typeInFocus(typed);
        for (int i = 0; i < arrowDowns; ++i)
            QTest::keyClick(form().focus(), arrowDowns == 1 ? Qt::Key_Down : Qt::Key_Up);
        QTest::keyClick(form().focus(), Qt::Key_Escape);

        QCOMPARE(form().openEditor(), editor);
        QCOMPARE(form().focus() == editor || editor->isAncestorOf(form().focus()), true);
        if (auto *frequency = qobject_cast<FrequencyEditor *>(editor)) {
            QCOMPARE(frequency->text(), restored);
            QCOMPARE(frequency->selectedText(), restored);  // typing replaces it
        } else {
            QCOMPARE(qobject_cast<CellChooser *>(editor)->currentText(), restored);
        }
        form().click(kElsewhereRow, 1);
        QCOMPARE(form().rowTexts(kRow), kUhfInUse);
        QVERIFY(form().messages.shown.isEmpty());
    }

    void escapeAfterAFailedEnterGivesTheCellBack()
    {
        form().bandBox->setCurrentIndex(2);
        form().setRow(kRow, kUhfInUse);
        form().click(kRow, 1);
        form().typeInFocus("500");
        form().pressEnter();  // out of range: the editor stays open with the cell's text
        QCOMPARE(frequencyEditor()->text(), QStringLiteral("464.93750"));
        form().typeInFocus("4");
        QTest::keyClick(frequencyEditor(), Qt::Key_Escape);
        QCOMPARE(frequencyEditor()->text(), QStringLiteral("464.93750"));
        form().pressEnter();
        QCOMPARE(form().rowTexts(kRow), kUhfInUse);
        QCOMPARE(form().grid->col(), 2);
    }

    // Tab in each kind of editor commits it as leaving the cell does and makes
    // the next cell of the walk current (Shift+Tab: the previous one), with the
    // grid focused; past the last or first cell the focus goes on to the
    // control after or before the grid.
    void tabInAnOpenEditor_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("typed");  // into the editor; "up" moves a list's choice, "list up" in its open list
        QTest::addColumn<bool>("backwards");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QPoint>("next");  // (row, col) afterwards; (0, 0): the focus left the grid
        QTest::addColumn<QString>("messages");

        QTest::newRow("frequency: on to the transmit cell") << kRow << 1 << "151" << false << "151.00000" << QPoint(kRow, 2) << "";
        QTest::newRow("refused frequency: kept, on to the transmit cell")
            << kRow << 1 << "500" << false << "150.00000" << QPoint(kRow, 2) << "B";
        QTest::newRow("tone chooser: on to the encode tone") << kRow << 3 << "d754i" << false << "D754I" << QPoint(kRow, 4) << "";
        QTest::newRow("scan chooser: on to the power") << kRow << 7 << "up" << false << "添加" << QPoint(kRow, 8) << "";
        QTest::newRow("power chooser: on to the next channel") << kRow << 8 << "up" << false << "中" << QPoint(kRow + 1, 1) << "";
        QTest::newRow("power chooser, its list open: the item moved to, on to the next channel")
            << kRow << 8 << "list up" << false << "中" << QPoint(kRow + 1, 1) << "";
        QTest::newRow("tone chooser, its list open: Shift+Tab back to the transmit cell")
            << kRow << 3 << "list up" << true << "无" << QPoint(kRow, 2) << "";
        QTest::newRow("power chooser of channel 16: on to the next control")
            << 16 << 8 << "up" << false << "中" << QPoint(0, 0) << "";
        QTest::newRow("Shift+Tab in the tone chooser: back to the transmit cell")
            << kRow << 3 << "d754i" << true << "D754I" << QPoint(kRow, 2) << "";
        QTest::newRow("Shift+Tab in a receive cell: the power cell of the channel before")
            << kRow << 1 << "151" << true << "151.00000" << QPoint(kRow - 1, 8) << "";
        QTest::newRow("Shift+Tab in channel 1's receive cell: the control before the grid")
            << 1 << 1 << "151" << true << "151.00000" << QPoint(0, 0) << "";
    }
    void tabInAnOpenEditor()
    {
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(QString, typed);
        QFETCH(bool, backwards);
        QFETCH(QString, stored);
        QFETCH(QPoint, next);
        QFETCH(QString, messages);

        form().setRow(row, kInUse);
        form().click(row, col);
        QWidget *editor = form().openEditor();
        QCOMPARE(editor, form().editors->editorForColumn(col));
        QWidget *keys = form().focus();
        if (typed == "list up") {
            auto *chooser = qobject_cast<QComboBox *>(editor);
            chooser->showPopup();
            QVERIFY(QTest::qWaitForWindowExposed(chooser->view()->window()));
            keys = chooser->view();
            QTest::keyClick(keys, Qt::Key_Up);
        } else if (typed == "up") {
            QTest::keyClick(keys, Qt::Key_Up);
        } else {
            form().typeInFocus(typed);  // replaces the selected text
        }
        QTest::keyClick(keys, Qt::Key_Tab, backwards ? Qt::ShiftModifier : Qt::NoModifier);
        if (auto *chooser = qobject_cast<QComboBox *>(editor))
            QVERIFY(!chooser->view()->isVisible());

        QCOMPARE(form().grid->textMatrix(row, col), stored);
        QCOMPARE(form().messages.texts(), messageTexts(messages));
        QCOMPARE(form().openEditor(), nullptr);
        if (next.isNull()) {
            QCOMPARE(form().focus(), backwards ? form().bandBox : form().afterBox);
        } else {
            QCOMPARE(form().focus(), form().grid);
            QCOMPARE(QPoint(form().grid->row(), form().grid->col()), next);
            QCOMPARE(form().grid->currentIndex(), form().grid->model()->index(next.x(), next.y()));
            // Typing goes on in the new cell.
            QTest::keyClick(form().grid, '1');
            QCOMPARE(form().openEditor(), form().editors->editorForColumn(next.y()));
        }
    }

    void typedSevenOnToneThenEnterStoresOff()
    {
        form().setRow(kRow, kInUse);
        form().goTo(kRow, 3);
        QTest::keyClick(form().grid, '7');
        form().pressEnter();
        QCOMPARE(form().grid->textMatrix(kRow, 3), QStringLiteral("OFF"));
        QCOMPARE(form().grid->col(), 4);
        QCOMPARE(form().openEditor(), chooser(4));
        form().pressEnter();
        QCOMPARE(form().grid->textMatrix(kRow, 4), QStringLiteral("D023N"));
        QCOMPARE(form().openEditor(), chooser(5));
        QCOMPARE(form().focus(), chooser(5));
    }

    void enterWalksChannelFiveToSix()
    {
        form().goTo(5, 1);
        QTest::keyClick(form().grid, '1');
        form().typeInFocus("45.5");
        const int expectedColumns[] = {2, 3, 4, 5, 6, 7, 8};
        for (int col : expectedColumns) {
            form().pressEnter();
            QCOMPARE(form().grid->row(), 5);
            QCOMPARE(form().grid->col(), col);
            QCOMPARE(form().openEditor(), form().editors->editorForColumn(col));
            QCOMPARE(form().focus() == form().openEditor() || form().openEditor()->isAncestorOf(form().focus()), true);
        }
        QTest::keyClick(chooser(8), Qt::Key_Down);  // 中
        form().pressEnter();
        QCOMPARE(form().grid->row(), 6);
        QCOMPARE(form().grid->col(), 1);
        QCOMPARE(form().openEditor(), frequencyEditor());
        QCOMPARE(form().focus(), frequencyEditor());
        QCOMPARE(form().rowTexts(5), (QStringList{"145.50000", "145.50000", "无", "无", "否", "宽带", "添加", "中"}));
        QVERIFY(form().messages.shown.isEmpty());
    }

    void walkEndsInChannelSixteen_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<QString>("stored");
        QTest::newRow("busy-lock chooser") << 5 << Qt::Key_Down << "否";
        QTest::newRow("scan chooser") << 7 << Qt::Key_Up << "添加";
        QTest::newRow("power chooser") << 8 << Qt::Key_Up << "中";
    }
    void walkEndsInChannelSixteen()
    {
        QFETCH(int, col);
        QFETCH(Qt::Key, key);
        QFETCH(QString, stored);
        form().setRow(16, kInUse);
        form().click(16, col);
        QCOMPARE(form().openEditor(), chooser(col));
        QTest::keyClick(chooser(col), key);
        form().pressEnter();
        QCOMPARE(form().grid->textMatrix(16, col), stored);
        QCOMPARE(form().openEditor(), nullptr);
        QCOMPARE(form().grid->row(), 16);
        QCOMPARE(form().grid->col(), col);
        QCOMPARE(form().focus(), form().afterBox);
    }

    void enterOnSwitchOfEmptyChannelWritesNothing()
    {
        form().setRow(kRow, QStringList{"", "", "", "", "是", "", "", ""});
        form().click(kRow, 5);
        QTest::keyClick(chooser(5), Qt::Key_Down);
        form().pressEnter();
        QCOMPARE(form().grid->textMatrix(kRow, 5), QStringLiteral("是"));
        QCOMPARE(form().grid->col(), 6);
    }

    void enterOnTheGrid_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("colAfter");
        QTest::addColumn<bool>("leavesGrid");
        QTest::newRow("receive column: on to the right") << 1 << 2 << false;
        QTest::newRow("tone column: on to the right") << 3 << 4 << false;
        QTest::newRow("bandwidth column: acts as Tab") << 6 << 6 << true;
        QTest::newRow("last column: stays") << 8 << 8 << false;
    }
    void enterOnTheGrid()
    {
        QFETCH(int, col);
        QFETCH(int, colAfter);
        QFETCH(bool, leavesGrid);
        form().setRow(kRow, kInUse);
        form().goTo(kRow, col);
        form().pressEnter();
        QCOMPARE(form().grid->col(), colAfter);
        QCOMPARE(form().openEditor(), nullptr);
        QCOMPARE(form().focus(), leavesGrid ? static_cast<QWidget *>(form().afterBox) : form().grid);
    }

    void enterInASettingBoxActsAsTab()
    {
        form().bandBox->setFocus(Qt::OtherFocusReason);
        form().pressEnter();
        QCOMPARE(form().focus(), form().grid);
        QCOMPARE(form().bandBox->currentIndex(), 0);
    }

    void enterInASettingBoxCommitsAnOpenToneChooser()
    {
        form().setRow(kRow, kInUse);
        form().click(kRow, 3);
        chooser(3)->lineEdit()->selectAll();
        QTest::keyClicks(chooser(3)->lineEdit(), "d754i");
        form().bandBox->setFocus(Qt::OtherFocusReason);
        form().pressEnter();
        QCOMPARE(form().grid->textMatrix(kRow, 3), QStringLiteral("D754I"));
        QCOMPARE(form().openEditor(), chooser(4));
    }

    void commitCurrentWritesTheOpenEditor()
    {
        form().click(kRow, 1);
        form().typeInFocus("145.5");
        form().editors->commitCurrent();
        QCOMPARE(form().rowTexts(kRow), kDefaults145);
        QCOMPARE(form().openEditor(), nullptr);
        form().editors->commitCurrent();  // nothing open: nothing happens
        QCOMPARE(form().rowTexts(kRow), kDefaults145);
    }

    void hidingDoesNotCommit_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<bool>("all");
        QTest::addColumn<bool>("hidden");
        QTest::newRow("model change hides the frequency editor") << 1 << false << true;
        QTest::newRow("model change hides the tone chooser") << 3 << false << true;
        QTest::newRow("model change hides the busy-lock chooser") << 5 << false << true;
        QTest::newRow("model change leaves the power chooser") << 8 << false << false;
        QTest::newRow("new document hides the power chooser") << 8 << true << true;
    }
    void hidingDoesNotCommit()
    {
        QFETCH(int, col);
        QFETCH(bool, all);
        QFETCH(bool, hidden);
        form().setRow(kRow, kInUse);
        form().click(kRow, col);
        QWidget *editor = form().editors->editorForColumn(col);
        QTest::keyClick(form().focus(), Qt::Key_Down);
        if (auto *frequency = qobject_cast<FrequencyEditor *>(editor))
            frequency->setText("999");
        if (all)
            form().editors->hideAll();
        else
            form().editors->hideForModelChange();
        QCOMPARE(editor->isVisible(), !hidden);
        form().click(kElsewhereRow, 1);
        if (hidden)
            QCOMPARE(form().rowTexts(kRow), kInUse);
        QVERIFY(form().messages.shown.isEmpty());
    }
};

QTEST_MAIN(TestCellEditors)
#include "tst_celleditors.moc"
