// A small form for the in-place editors: a band box, the channel grid and one
// more box after it in the tab order, with the editors' warnings recorded.
#pragma once

#include "CMSFlexGrid.h"
#include "CellEditors.h"
#include "RecordingMessageSink.h"

#include <QApplication>
#include <QComboBox>
#include <QStringList>
#include <QTest>
#include <QWidget>

class EditorHarness : public QWidget
{
public:
    explicit EditorHarness(const tavin::ToneTable &tones)
    {
        resize(900, 520);
        bandBox = new QComboBox(this);
        bandBox->addItems({"136 - 174MHZ", "350 - 400MHZ", "400 - 470MHZ", "430 - 500MHZ"});
        bandBox->setCurrentIndex(0);
        bandBox->setGeometry(0, 0, 150, 24);
        grid = new CMSFlexGrid(17, 9, this);
        grid->setGeometry(160, 0, 730, 500);
        afterBox = new QComboBox(this);
        afterBox->addItems({"on", "off"});
        afterBox->setGeometry(0, 40, 150, 24);
        QWidget::setTabOrder(bandBox, grid);
        QWidget::setTabOrder(grid, afterBox);
        for (int n = 1; n <= 16; ++n)
            grid->setTextMatrix(n, 0, QString::number(n));
        editors = new CellEditors(grid, tones, [this] { return bandBox->currentIndex(); }, this);
        editors->setMessageSink(&messages);
    }

    void setRow(int row, const QStringList &texts)
    {
        for (int c = 0; c < texts.size(); ++c)
            grid->setTextMatrix(row, c + 1, texts[c]);
    }
    QStringList rowTexts(int row) const
    {
        QStringList texts;
        for (int c = 1; c <= 8; ++c)
            texts << grid->textMatrix(row, c);
        return texts;
    }

    QPoint cellCenter(int row, int col) const
    {
        return grid->visualRect(grid->model()->index(row, col)).center();
    }
    void click(int row, int col, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(grid->viewport(), button, {}, cellCenter(row, col));
    }
    void doubleClick(int row, int col)
    {
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cellCenter(row, col));
    }
    // Makes (row, col) current without opening an editor, the grid focused.
    void goTo(int row, int col)
    {
        grid->setRow(row);
        grid->setCol(col);
        grid->setFocus(Qt::OtherFocusReason);
    }
    static QWidget *focus() { return QApplication::focusWidget(); }
    static void typeInFocus(const QString &text) { QTest::keyClicks(focus(), text); }
    static void pressEnter() { QTest::keyClick(focus(), Qt::Key_Return); }
    QWidget *openEditor() const
    {
        for (int c = 1; c <= 8; ++c) {
            if (editors->editorForColumn(c)->isVisible())
                return editors->editorForColumn(c);
        }
        return nullptr;
    }

    QComboBox *bandBox = nullptr;
    CMSFlexGrid *grid = nullptr;
    QComboBox *afterBox = nullptr;
    CellEditors *editors = nullptr;
    RecordingMessageSink messages;
};
