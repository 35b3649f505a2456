// Printing the page on paper: the printer and paper chosen in print setup,
// kept for every later print of the run, the print dialog, print preview and
// printing without a dialog.
#pragma once

#include "PageTexts.h"

#include <QString>

#include <functional>
#include <memory>

class QPrinter;
class QWidget;

namespace tavin::print {

class PagePrinter
{
public:
    // The page's texts, read each time the page is drawn (the form's display).
    using TextsSource = std::function<PageTexts()>;

    PagePrinter();
    ~PagePrinter();
    PagePrinter(const PagePrinter &) = delete;
    PagePrinter &operator=(const PagePrinter &) = delete;

    QPrinter &printer();

    // Print setup: choose the printer and its paper; the choice is kept.
    // Returns false when the user cancels.
    bool setup(QWidget *parent);

    // Print: the print dialog for the chosen printer, then the page. Returns
    // false when the user cancels or printing fails (a message has been shown).
    bool printWithDialog(QWidget *parent, const TextsSource &texts);

    // Print without a dialog on the chosen printer. On failure returns false
    // with the reason in *error.
    bool printDirect(const PageTexts &texts, QString *error);

    // Print preview: a window showing the page as the chosen printer prints
    // it, with a way to print and a way back.
    void preview(QWidget *parent, const TextsSource &texts);

    // Chooses a printer by name (the --print-to start-up switch). Returns
    // false, keeping the current one, when no printer has that name.
    bool selectPrinter(const QString &name);

private:
    std::unique_ptr<QPrinter> m_printer;
};

}  // namespace tavin::print
