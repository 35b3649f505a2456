// The Chinese texts of the main window draw with real glyphs, never as the
// empty boxes of a font that lacks them: every text the menus, the form's
// labels and boxes and the grid show is laid out in the font that draws it
// (with Qt's fallback fonts), and no character comes out as the missing-glyph
// box. On Windows this goes through Windows' own font database.
#include "CMSFlexGrid.h"
#include "CMainFrame.h"
#include "CProgramApp.h"
#include "CProgramView.h"
#include "IsolatedSettings.h"
#include "RecordingPrompts.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGlyphRun>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTextLayout>
#include <QtTest>

namespace {

bool hasHan(const QString &text)
{
    for (const QChar c : text) {
        if (c.script() == QChar::Script_Han)
            return true;
    }
    return false;
}

// The characters of text that the font (and its fallbacks) draw as the box.
QString missingGlyphs(const QString &text, const QFont &font)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    while (layout.createLine().isValid()) {
    }
    layout.endLayout();
    QString missing;
    for (const QGlyphRun &run : layout.glyphRuns()) {
        const QList<quint32> glyphs = run.glyphIndexes();
        if (std::find(glyphs.begin(), glyphs.end(), 0u) != glyphs.end())
            missing += QStringLiteral("[%1] ").arg(run.rawFont().familyName());
    }
    return missing;
}

}  // namespace

class TestChineseTexts : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void textsDrawWithGlyphs();

private:
    tavin::test::IsolatedSettings m_settings;
};

void TestChineseTexts::textsDrawWithGlyphs()
{
    CProgramApp app;
    app.setPrompts(std::make_unique<RecordingPrompts>());
    QVERIFY(app.InitInstance(QString(), false));
    CMainFrame *frame = app.mainFrame();

    // (text, font) of everything a user reads in the window.
    QList<std::pair<QString, QFont>> texts{{frame->windowTitle(), frame->font()}};
    for (QAction *menu : frame->menuBar()->actions()) {
        texts.append({menu->text(), frame->menuBar()->font()});
        if (menu->menu()) {
            for (QAction *item : menu->menu()->actions())
                texts.append({item->text(), menu->menu()->font()});
        }
    }
    for (QLabel *label : frame->findChildren<QLabel *>())
        texts.append({label->text(), label->font()});
    for (QAbstractButton *button : frame->findChildren<QAbstractButton *>())
        texts.append({button->text(), button->font()});
    for (QComboBox *box : frame->findChildren<QComboBox *>()) {
        for (int i = 0; i < box->count(); ++i)
            texts.append({box->itemText(i), box->font()});
    }
    const CMSFlexGrid *grid = app.view()->grid();
    for (int col = 1; col <= 8; ++col)
        texts.append({grid->textMatrix(0, col), grid->font()});

    int chinese = 0;
    QStringList failures;
    for (const auto &[text, font] : texts) {
        if (!hasHan(text))
            continue;
        ++chinese;
        const QString missing = missingGlyphs(text, font);
        if (!missing.isEmpty())
            failures << QStringLiteral("'%1' in %2: boxes from %3").arg(text, font.family(), missing);
    }
    // The menus, the eleven boxes' labels and the grid's headers at least.
    QVERIFY2(chinese >= 30, qPrintable(QString::number(chinese)));
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TestChineseTexts)
#include "tst_chinesetexts.moc"
