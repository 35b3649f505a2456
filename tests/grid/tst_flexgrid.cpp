// The channel grid's operations and events as the form and the in-place
// editors rely on them.

#include "CMSFlexGrid.h"

#include <QtTest>

class TestFlexGrid : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void moveEvents_data();
    void moveEvents();
    void fixedCellsNeverCurrent();
    void textOperations();
    void widthsInTwips_data();
    void widthsInTwips();
    void keyPressCanSwallow_data();
    void keyPressCanSwallow();
    void mouseDownAfterMove_data();
    void mouseDownAfterMove();
    void doubleClickOnCell();

private:
    struct Event {
        QString name;
        int row;
        int col;
    };
    void record();

    std::unique_ptr<CMSFlexGrid> m_grid;
    QList<Event> m_events;
};

void TestFlexGrid::init()
{
    m_grid = std::make_unique<CMSFlexGrid>(17, 9);
    m_grid->resize(700, 400);
    m_grid->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_grid.get()));
    m_events.clear();
    record();
}

void TestFlexGrid::cleanup()
{
    m_grid.reset();
}

void TestFlexGrid::record()
{
    CMSFlexGrid *grid = m_grid.get();
    connect(grid, &CMSFlexGrid::leaveCell, grid, [this, grid] { m_events.append({"leave", grid->row(), grid->col()}); });
    connect(grid, &CMSFlexGrid::enterCell, grid, [this, grid] { m_events.append({"enter", grid->row(), grid->col()}); });
}

void TestFlexGrid::moveEvents_data()
{
    QTest::addColumn<int>("how");  // 0 setRow, 1 setCol, 2 right arrow, 3 down arrow
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::newRow("setRow(5)") << 0 << 5 << 1;
    QTest::newRow("setCol(4)") << 1 << 1 << 4;
    QTest::newRow("right arrow moves one column") << 2 << 1 << 2;
    QTest::newRow("down arrow moves one row") << 3 << 2 << 1;
}

void TestFlexGrid::moveEvents()
{
    QFETCH(int, how);
    QFETCH(int, row);
    QFETCH(int, col);
    QCOMPARE(m_grid->row(), 1);
    QCOMPARE(m_grid->col(), 1);
    switch (how) {
    case 0:
        m_grid->setRow(5);
        break;
    case 1:
        m_grid->setCol(4);
        break;
    case 2:
        QTest::keyClick(m_grid.get(), Qt::Key_Right);
        break;
    default:
        QTest::keyClick(m_grid.get(), Qt::Key_Down);
        break;
    }
    QCOMPARE(m_events.size(), 2);
    // LeaveCell still names the old cell, EnterCell the new one.
    QCOMPARE(m_events[0].name, QStringLiteral("leave"));
    QCOMPARE(m_events[0].row, 1);
    QCOMPARE(m_events[0].col, 1);
    QCOMPARE(m_events[1].name, QStringLiteral("enter"));
    QCOMPARE(m_events[1].row, row);
    QCOMPARE(m_events[1].col, col);
    QCOMPARE(m_grid->colSel(), col);
    // Setting the same cell again raises nothing.
    m_grid->setRow(row);
    QCOMPARE(m_events.size(), 2);
}

void TestFlexGrid::fixedCellsNeverCurrent()
{
    QTest::keyClick(m_grid.get(), Qt::Key_Left);
    QTest::keyClick(m_grid.get(), Qt::Key_Up);
    QTest::keyClick(m_grid.get(), Qt::Key_Home);
    m_grid->setRow(0);
    m_grid->setCol(0);
    QCOMPARE(m_grid->row(), 1);
    QCOMPARE(m_grid->col(), 1);
    QVERIFY(m_events.isEmpty());
}

void TestFlexGrid::textOperations()
{
    m_grid->setTextMatrix(0, 3, QStringLiteral("QT/DQT解码"));
    m_grid->setTextMatrix(7, 3, QStringLiteral("D023N"));
    m_grid->setRow(7);
    m_grid->setCol(3);
    QCOMPARE(m_grid->text(), QStringLiteral("D023N"));
    m_grid->setText(QStringLiteral("67.0"));
    QCOMPARE(m_grid->textMatrix(7, 3), QStringLiteral("67.0"));
    QCOMPARE(m_grid->textMatrix(0, 3), QStringLiteral("QT/DQT解码"));
    QCOMPARE(m_grid->textMatrix(16, 8), QString());
}

void TestFlexGrid::widthsInTwips_data()
{
    QTest::addColumn<int>("twips");
    QTest::newRow("one inch") << 1440;
    QTest::newRow("w x 1.25 of a 960-twip column") << 1200;
    QTest::newRow("half of it") << 480;
}

void TestFlexGrid::widthsInTwips()
{
    QFETCH(int, twips);
    const int before = m_grid->colWidth(2);
    QCOMPARE(before, m_grid->defaultColWidth());
    m_grid->setColWidth(2, twips);
    const int onePixel = CMSFlexGrid::kTwipsPerInch / m_grid->pixelsPerInchX() + 1;
    QVERIFY(qAbs(m_grid->colWidth(2) - twips) <= onePixel);
    QCOMPARE(m_grid->columnWidth(2), twips * m_grid->pixelsPerInchX() / CMSFlexGrid::kTwipsPerInch);
    // The current cell's rectangle follows, also in twips.
    m_grid->setCol(2);
    QVERIFY(qAbs(m_grid->cellWidth() - twips) <= onePixel);
    QVERIFY(m_grid->cellLeft() > 0);
    QVERIFY(m_grid->cellTop() > 0);
    QVERIFY(m_grid->cellHeight() > 0);
}

void TestFlexGrid::keyPressCanSwallow_data()
{
    QTest::addColumn<bool>("swallow");
    QTest::newRow("handler keeps the key") << false;
    QTest::newRow("handler sets the code to 0") << true;
}

void TestFlexGrid::keyPressCanSwallow()
{
    QFETCH(bool, swallow);
    QList<int> codes;
    connect(m_grid.get(), &CMSFlexGrid::keyPress, this, [&](int &code) {
        codes.append(code);
        if (swallow)
            code = 0;
    });
    QTest::keyClick(m_grid.get(), Qt::Key_4);
    QTest::keyClick(m_grid.get(), Qt::Key_Right, Qt::NoModifier);  // no character: no event
    QTest::keyClick(m_grid.get(), Qt::Key_C, Qt::ControlModifier);  // a command key: no event
    QCOMPARE(codes, QList<int>{'4'});
    QCOMPARE(m_grid->col(), 2);
}

void TestFlexGrid::mouseDownAfterMove_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("code");
    QTest::newRow("left button is 1") << int(Qt::LeftButton) << 1;
    QTest::newRow("right button is 2") << int(Qt::RightButton) << 2;
    QTest::newRow("middle button is 4") << int(Qt::MiddleButton) << 4;
}

void TestFlexGrid::mouseDownAfterMove()
{
    QFETCH(int, button);
    QFETCH(int, code);
    QList<QList<int>> presses;
    CMSFlexGrid *grid = m_grid.get();
    connect(grid, &CMSFlexGrid::mouseDown, this, [&](int b, int shift, int x, int y) {
        presses.append({b, shift, x, y, grid->row(), grid->col()});
    });
    const QRect cell = grid->visualRect(grid->model()->index(4, 3));
    QTest::mouseClick(grid->viewport(), Qt::MouseButton(button), Qt::NoModifier, cell.center());
    QCOMPARE(presses.size(), 1);
    QCOMPARE(presses[0][0], code);
    if (button == Qt::LeftButton) {
        QCOMPARE(presses[0][4], 4);
        QCOMPARE(presses[0][5], 3);
    }
    // A press on the fixed header row reports nothing and moves nothing.
    const int rowBefore = grid->row();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier,
                      grid->visualRect(grid->model()->index(0, 5)).center());
    QCOMPARE(presses.size(), 1);
    QCOMPARE(grid->row(), rowBefore);
}

void TestFlexGrid::doubleClickOnCell()
{
    int clicks = 0;
    connect(m_grid.get(), &CMSFlexGrid::dblClick, this, [&] { ++clicks; });
    const QRect cell = m_grid->visualRect(m_grid->model()->index(9, 6));
    QTest::mouseDClick(m_grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    QCOMPARE(clicks, 1);
    QCOMPARE(m_grid->row(), 9);
    QCOMPARE(m_grid->col(), 6);
}

QTEST_MAIN(TestFlexGrid)
#include "tst_flexgrid.moc"
