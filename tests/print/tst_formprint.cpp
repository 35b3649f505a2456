// Printing from the desktop program: the page shows the form as it is now,
// preview has a way back, and the print switches print a file and end.

#include "RecordingDevice.h"

#include "CMSFlexGrid.h"
#include "CMainFrame.h"
#include "CProgramApp.h"
#include "CProgramDoc.h"
#include "CProgramView.h"
#include "ChannelFile.h"
#include "Codec.h"
#include "LanguageChoice.h"
#include "NewDocument.h"
#include "PagePrinter.h"
#include "SettingsPage.h"
#include "UserPrompts.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

using namespace tavin;

namespace {

class SilentPrompts : public UserPrompts
{
public:
    explicit SilentPrompts(QStringList *errors) : m_errors(errors) {}
    SaveAnswer askSaveChanges(const QString &) override { return SaveAnswer::Discard; }
    void showFileError(const QString &text) override { m_errors->append(text); }
    QString openFileName() override { return {}; }
    QString saveFileName(const QString &) override { return {}; }

private:
    QStringList *m_errors;
};

QStringList printedTexts(const print::PageTexts &texts)
{
    RecordingDevice device(2330, 3358, 300, 300);
    QPainter painter(&device);
    print::drawSettingsPage(painter, texts);
    painter.end();
    QStringList result;
    for (const RecordedText &r : device.runs())
        result.append(r.text);
    return result;
}

int pdfPageCount(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return QString::fromLatin1(file.readAll()).count(QRegularExpression(QStringLiteral("/Type\\s*/Page\\b")));
}

QByteArray fileBytes(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class TestFormPrint : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void committedEditsArePrinted_data();
    void committedEditsArePrinted();
    void boxChoicesArePrinted_data();
    void boxChoicesArePrinted();
    void printWithoutDialogGivesOnePage();
    void printToFileReplacesSafely_data();
    void printToFileReplacesSafely();
    void previewShowsOnePageWithAWayBack();
    void printSwitches_data();
    void printSwitches();
    void openedFileStaysOutOfTheUsersSettings();

private:
    // A started program with the test file open, window hidden.
    std::unique_ptr<CProgramApp> startApp();

    QTemporaryDir m_dir;
    QString m_file;
    QStringList m_errors;
};

void TestFormPrint::initTestCase()
{
    QVERIFY(m_dir.isValid());
    RadioImage image = savedNewDocument();
    ChannelTable channels;
    BoxSelections selections = initialFormSelections();
    decodeImage(image, channels, selections);
    channels[0] = {"145.12500", "145.72500", "88.5", "88.5", "否", "宽带", "添加", "高"};
    encodeImage(channels, selections, image);
    m_file = m_dir.filePath(QStringLiteral("radio.sin"));
    QVERIFY(storeChannelFile(m_file.toStdString(), image));
}

std::unique_ptr<CProgramApp> TestFormPrint::startApp()
{
    auto app = std::make_unique<CProgramApp>();
    app->setPrompts(std::make_unique<SilentPrompts>(&m_errors));
    if (!app->InitInstance(m_file, false))
        return nullptr;
    return app;
}

void TestFormPrint::committedEditsArePrinted_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("text");
    QTest::newRow("receive frequency of an empty channel") << 5 << 1 << QStringLiteral("146.52000");
    QTest::newRow("transmit frequency changed") << 1 << 2 << QStringLiteral("145.62500");
    QTest::newRow("decode tone changed") << 1 << 3 << QStringLiteral("D754I");
    QTest::newRow("busy lock changed") << 1 << 5 << QStringLiteral("是");
    QTest::newRow("last channel") << 16 << 4 << QStringLiteral("D023N");
}

void TestFormPrint::committedEditsArePrinted()
{
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(QString, text);
    const auto app = startApp();
    QVERIFY(app);
    const RadioImage before = app->document()->image();
    const QByteArray fileBefore = fileBytes(m_file);

    // What an in-place editor leaves in its cell when it commits.
    app->view()->grid()->setTextMatrix(row, col, text);

    const QStringList printed = printedTexts(app->view()->printedPage());
    QVERIFY2(printed.contains(text), qPrintable(printed.join(QLatin1Char('|'))));
    QVERIFY(printed.contains(QStringLiteral("145.12500")) || (row == 1 && col == 1));
    // Printing neither encodes nor saves.
    QVERIFY(app->document()->image() == before);
    QCOMPARE(fileBytes(m_file), fileBefore);
}

void TestFormPrint::boxChoicesArePrinted_data()
{
    QTest::addColumn<bool>("english");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("Chinese") << false
                             << QStringList{"Moni: 监听锁定", "Squelch Level: 9",
                                            "信道    Rx(MHz)  Tx(MHz)     QT/DQT解码  QT/DQT编码     繁忙锁定"};
    // The form's Chinese words printed in English, the page's headings too.
    QTest::newRow("English") << true << QStringList{"Monitor: Latched", "Squelch Level: 9", "Key Beep: On",
                                                    "Band: 136 - 174 MHz", "Channel Settings:"};
}

void TestFormPrint::boxChoicesArePrinted()
{
    QFETCH(bool, english);
    QFETCH(QStringList, lines);
    LanguageChoice::apply(english ? std::optional(LanguageChoice::Language::English) : std::nullopt);
    const auto app = startApp();
    QVERIFY(app);
    app->view()->settingBoxWidget(SettingBox::Monitor)->setCurrentIndex(2);
    app->view()->settingBoxWidget(SettingBox::SquelchLevel)->setCurrentIndex(9);
    const QStringList printed = printedTexts(app->view()->printedPage());
    LanguageChoice::apply(std::nullopt);
    for (const QString &line : std::as_const(lines))
        QVERIFY2(printed.contains(line), qPrintable(printed.join(QLatin1Char('|'))));
    QVERIFY(printed.contains(QStringLiteral("16")));
}

void TestFormPrint::printWithoutDialogGivesOnePage()
{
    const auto app = startApp();
    QVERIFY(app);
    const QString pdf = m_dir.filePath(QStringLiteral("direct.pdf"));
    QPrinter &printer = app->pagePrinter().printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    app->view()->onFilePrintDirect();
    QCOMPARE(pdfPageCount(pdf), 1);
}

void TestFormPrint::printToFileReplacesSafely_data()
{
    QTest::addColumn<QString>("target");  // what the print dialog was given
    QTest::addColumn<bool>("printed");
    QTest::newRow("over an old file") << QStringLiteral("old.pdf") << true;
    QTest::newRow("through a symbolic link: the link stays") << QStringLiteral("link.pdf") << true;
    QTest::newRow("into a missing folder: old file kept") << QStringLiteral("missing/old.pdf") << false;
}

void TestFormPrint::printToFileReplacesSafely()
{
    QFETCH(QString, target);
    QFETCH(bool, printed);
    const auto app = startApp();
    QVERIFY(app);
    QTemporaryDir dir;
    const QString old = dir.filePath(QStringLiteral("old.pdf"));
    {
        QFile f(old);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("old contents");
    }
    QVERIFY(QFile::link(old, dir.filePath(QStringLiteral("link.pdf"))));
    QPrinter &printer = app->pagePrinter().printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(target));
    QString error;
    QCOMPARE(app->pagePrinter().printDirect(app->view()->printedPage(), &error), printed);
    if (printed)
        QCOMPARE(pdfPageCount(old), 1);
    else
        QCOMPARE(fileBytes(old), QByteArray("old contents"));
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("link.pdf"))).isSymLink());
    if (!printed)
        QVERIFY2(error.contains(QStringLiteral("No such file or directory")), qPrintable(error));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Hidden | QDir::Files).size(), 2);  // no temporary file left
}

void TestFormPrint::previewShowsOnePageWithAWayBack()
{
    const auto app = startApp();
    QVERIFY(app);
    app->pagePrinter().printer().setOutputFormat(QPrinter::PdfFormat);
    int pages = -1;
    bool closedByButton = false;
    QTimer::singleShot(0, this, [&] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog)
            return;
        if (auto *preview = dialog->findChild<QPrintPreviewWidget *>()) {
            preview->updatePreview();
            pages = preview->pageCount();
        }
        const auto *toolBar = dialog->findChild<QToolBar *>();
        for (QAction *action : toolBar ? toolBar->actions() : QList<QAction *>()) {
            if (action->text() == QStringLiteral("关闭")) {
                closedByButton = true;
                action->trigger();
                return;
            }
        }
        dialog->close();
    });
    app->view()->onFilePrintPreview();
    QCOMPARE(pages, 1);
    QVERIFY(closedByButton);
}

void TestFormPrint::printSwitches_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("printerName");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<bool>("printed");
    QTest::newRow("--print FILE") << QStringLiteral("radio.sin") << QString() << 0 << true;
    QTest::newRow("--print missing file") << QStringLiteral("absent.sin") << QString() << 3 << false;
    QTest::newRow("--print-to unknown printer") << QStringLiteral("radio.sin")
                                                << QStringLiteral("no such printer 4711") << 1 << false;
}

void TestFormPrint::printSwitches()
{
    QFETCH(QString, file);
    QFETCH(QString, printerName);
    QFETCH(int, exitCode);
    QFETCH(bool, printed);
    const QString pdf = m_dir.filePath(QStringLiteral("switch.pdf"));
    QFile::remove(pdf);
    m_errors.clear();

    CProgramApp app;
    app.setPrompts(std::make_unique<SilentPrompts>(&m_errors));
    app.pagePrinter().printer().setOutputFormat(QPrinter::PdfFormat);
    app.pagePrinter().printer().setOutputFileName(pdf);
    QCOMPARE(app.PrintFileAndExit(m_dir.filePath(file), printerName), exitCode);
    QCOMPARE(QFile::exists(pdf), printed);
    if (printed) {
        QCOMPARE(pdfPageCount(pdf), 1);
        QVERIFY(!app.mainFrame()->isVisible());
    }
    if (file == QLatin1String("absent.sin"))
        QVERIFY(!m_errors.isEmpty() && m_errors.constFirst().contains(file));
}

// The program puts the file it opened into the recent-file list: into this
// test's own settings, never the user's.
void TestFormPrint::openedFileStaysOutOfTheUsersSettings()
{
    const std::unique_ptr<CProgramApp> app = startApp();
    QVERIFY(app);
    const QSettings settings(QStringLiteral("Local AppWizard-Generated Applications"), QStringLiteral("Tavin写频软件"));
    QVERIFY2(settings.fileName().contains(QStringLiteral("/tavin-test-settings-")), qPrintable(settings.fileName()));
    QVERIFY(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).contains(QStringLiteral("/tavin-test-settings-")));
}

QTEST_MAIN(TestFormPrint)
#include "tst_formprint.moc"
