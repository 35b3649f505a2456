#include "PagePrinter.h"

#include "NativePath.h"
#include "PdfExport.h"
#include "SettingsPage.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScreen>
#include <QToolBar>
#include <QWidgetAction>

namespace tavin::print {

namespace {

// The page is one sheet: no page range, no collation choice.
constexpr QAbstractPrintDialog::PrintDialogOptions kOnePageOptions = QAbstractPrintDialog::PrintShowPageSize;

void configureOnePageDialog(QPrintDialog &dialog)
{
    dialog.setOptions(kOnePageOptions);
    dialog.setMinMax(1, 1);
}

// The printout is one page: the preview's buttons for paging through a
// document and for showing several pages at once only take room, which the
// buttons that matter (print, close) then lack on a small or scaled screen.
void dropMultiPageButtons(QPrintPreviewDialog &dialog, QToolBar &toolBar)
{
    for (const char *name : {"singleModeAction", "facingModeAction", "overviewModeAction"}) {
        if (auto *action = dialog.findChild<QAction *>(QLatin1String(name)))
            action->setVisible(false);
    }
    // First, previous, next and last page: the one group of actions that do
    // not exclude one another.
    for (QActionGroup *group : dialog.findChildren<QActionGroup *>()) {
        if (!group->isExclusive())
            group->setVisible(false);
    }
    bool afterSeparator = true;
    for (QAction *action : toolBar.actions()) {
        // The page number field.
        if (auto *field = qobject_cast<QWidgetAction *>(action)) {
            QWidget *widget = field->defaultWidget();
            if (widget && !qobject_cast<QComboBox *>(widget) && widget->findChild<QLineEdit *>())
                action->setVisible(false);
        }
        if (!action->isVisible())
            continue;
        if (action->isSeparator() && afterSeparator)
            action->setVisible(false);
        afterSeparator = action->isSeparator();
    }
}

bool drawOn(QPrinter &printer, const PageTexts &texts, QString *error)
{
    // Printing into a PDF file (the print dialog's file choice) replaces the
    // file as safely as every other file the program writes.
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        const QString fileName = platform::fromQtPath(printer.outputFileName());
        QString detail;
        if (writeSettingsPdf(texts, fileName, printer.pageLayout(), &detail))
            return true;
        *error = QCoreApplication::translate("PagePrinter", "无法写入文件“%1”。\n\n%2")
                     .arg(printer.outputFileName(), detail);
        return false;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        if (!printer.outputFileName().isEmpty())
            *error = QCoreApplication::translate("PagePrinter", "无法写入文件“%1”。").arg(printer.outputFileName());
        else if (printer.printerName().isEmpty())
            *error = QCoreApplication::translate("PagePrinter", "没有可用的打印机。");
        else
            *error = QCoreApplication::translate("PagePrinter", "无法在打印机“%1”上打印。")
                         .arg(printer.printerName());
        return false;
    }
    drawSettingsPage(painter, texts);
    painter.end();
    return true;
}

}  // namespace

PagePrinter::PagePrinter() = default;

// Asking the system for its printers takes a while: done on first use, not at
// start-up.
QPrinter &PagePrinter::printer()
{
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printer->setFromTo(1, 1);
        m_printer->setDocName(pageTitle());
    }
    return *m_printer;
}

PagePrinter::~PagePrinter() = default;

bool PagePrinter::setup(QWidget *parent)
{
    QPrintDialog dialog(&printer(), parent);
    dialog.setWindowTitle(QCoreApplication::translate("PagePrinter", "打印设置"));
    configureOnePageDialog(dialog);
    // This dialog only chooses; nothing is printed when it closes.
    if (auto *buttons = dialog.findChild<QDialogButtonBox *>()) {
        if (QPushButton *ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QCoreApplication::translate("PagePrinter", "确定"));
    }
    return dialog.exec() == QDialog::Accepted;
}

bool PagePrinter::printWithDialog(QWidget *parent, const TextsSource &texts)
{
    QPrintDialog dialog(&printer(), parent);
    dialog.setWindowTitle(QCoreApplication::translate("PagePrinter", "打印"));
    configureOnePageDialog(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    QString error;
    if (!drawOn(printer(), texts(), &error)) {
        QMessageBox::warning(parent, QCoreApplication::translate("PagePrinter", "打印"), error);
        return false;
    }
    return true;
}

bool PagePrinter::printDirect(const PageTexts &texts, QString *error)
{
    return drawOn(printer(), texts, error);
}

void PagePrinter::preview(QWidget *parent, const TextsSource &texts)
{
    QPrintPreviewDialog dialog(&printer(), parent);
    dialog.setWindowTitle(QCoreApplication::translate("PagePrinter", "打印预览"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&texts](QPrinter *printer) {
        QPainter painter(printer);
        drawSettingsPage(painter, texts());
    });
    if (auto *toolBar = dialog.findChild<QToolBar *>()) {
        toolBar->addSeparator();
        QAction *close = toolBar->addAction(QCoreApplication::translate("PagePrinter", "关闭"));
        close->setToolTip(QCoreApplication::translate("PagePrinter", "取消预阅"));
        close->setStatusTip(QCoreApplication::translate("PagePrinter", "关闭打印预览模式"));
        QObject::connect(close, &QAction::triggered, &dialog, &QDialog::reject);
        dropMultiPageButtons(dialog, *toolBar);
        // Two thirds of the screen for the page, as Qt sizes a window, but
        // never narrower than the toolbar with all its buttons (the screen
        // still bounds it).
        const QSize area = (parent ? parent->screen() : dialog.screen())->availableGeometry().size();
        const QMargins margins = dialog.layout() ? dialog.layout()->contentsMargins() : QMargins();
        dialog.resize(std::max(area.width() * 2 / 3, toolBar->sizeHint().width() + margins.left() + margins.right()),
                      area.height() * 2 / 3);
    }
    dialog.exec();
}

bool PagePrinter::selectPrinter(const QString &name)
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(name);
    if (info.isNull())
        return false;
    printer().setPrinterName(info.printerName());
    return true;
}

}  // namespace tavin::print
