#include "PagePrinter.h"

#include "NativePath.h"
#include "PdfExport.h"
#include "SettingsPage.h"

#include <QAction>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QToolBar>

namespace tavin::print {

namespace {

// The page is one sheet: no page range, no collation choice.
constexpr QAbstractPrintDialog::PrintDialogOptions kOnePageOptions = QAbstractPrintDialog::PrintShowPageSize;

void configureOnePageDialog(QPrintDialog &dialog)
{
    dialog.setOptions(kOnePageOptions);
    dialog.setMinMax(1, 1);
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
