// The editor form: eleven setting boxes and the 16-channel grid, laid out from
// form template 101. It shows the document's radio image decoded and encodes
// it back; between the two the grid texts and box selections are the edits.
#pragma once

#include "Codec.h"
#include "SettingBoxes.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <memory>
#include <vector>

class CMSFlexGrid;
class CellEditors;
class DialogUnits;
class TransferController;
class QComboBox;

namespace tavin {
class RadioImage;
class ToneTable;
}  // namespace tavin

namespace form {
struct TemplateControl;
}

namespace tavin::print {
class PagePrinter;
struct PageTexts;
}  // namespace tavin::print

class CProgramView : public QWidget
{
    Q_OBJECT

public:
    // Control ids of the form.
    static constexpr int kGridId = 1007;

    // tones and formReady belong to the application object and outlive the form.
    CProgramView(const tavin::ToneTable &tones, bool &formReady, QWidget *parent = nullptr);
    ~CProgramView() override;

    // The document's image; set once by the application before the first
    // initial update.
    void setDocumentImage(tavin::RadioImage *image) { m_image = image; }
    tavin::RadioImage *documentImage() const { return m_image; }

    // Run after every new or opened document: one-time set-up, hide the
    // editors, decode, headers and channel numbers, focus in the model box.
    void OnInitialUpdate();

    void DecodeImage();
    void EncodeImage();
    void ApplyModelRule();

    // The document as Save would store it: an open cell editor committed, the
    // form encoded over a copy of the document's image (which stays as it is).
    tavin::RadioImage imageAsSaved();

    // After a complete read from the radio: decode the new image and mark the
    // document modified.
    void decodeAfterRadioRead();

    // Commit an open in-place editor into its cell (before a save or a transfer).
    void commitOpenEditor();

    CMSFlexGrid *grid() const { return m_grid; }
    CellEditors *cellEditors() const { return m_cellEditors; }
    QComboBox *settingBoxWidget(tavin::SettingBox box) const;
    // The entry of a box's selection as the model spells it (in every
    // language), or the empty text for none.
    QString settingBoxText(tavin::SettingBox box) const;
    int settingBoxSelection(tavin::SettingBox box) const;
    int bandSelection() const { return settingBoxSelection(tavin::SettingBox::Band); }
    tavin::BoxSelections boxSelections() const;

    // The printer chosen in print setup, owned by the application; set once
    // before the first print command.
    void setPagePrinter(tavin::print::PagePrinter *printer) { m_pagePrinter = printer; }
    // The printed page's texts: the six printed boxes' choices and the grid
    // cells as the form shows them now (committed edits included, saved or not).
    tavin::print::PageTexts printedPage() const;

    // Reading and writing the radio (the progress dialog and the transfer).
    TransferController *transferController() const { return m_transfer.get(); }
    // New, Open, recent files, dropped files and closing wait while this is true.
    bool isTransferRunning() const;
    // Closing the main window: false while a transfer runs (the user may
    // cancel it; the window then closes when it has ended).
    bool mayCloseWindow();

    // The port a transfer uses: "COM1" to "COM4".
    QString portName() const { return m_portName; }
    void setPortName(const QString &name);

    // The band-limit table, counts of 10 Hz units, by band box selection.
    struct BandLimits {
        quint32 lowest;
        quint32 highest;
    };
    static constexpr std::array<BandLimits, 4> kBandLimits{{
        {13'600'000, 17'400'000},
        {35'000'000, 40'000'000},
        {40'000'000, 47'000'000},
        {43'000'000, 50'000'000},
    }};

    // The labels' texts and the setting boxes' entries of form template 101,
    // as written (Chinese).
    static QStringList templateTexts();

    // The form's size in pixels, from the template's 485 x 221 dialog units,
    // wider where the texts shown in the user's language need it.
    QSize formSize() const { return m_formSize; }
    // How much wider than the template the form is for the texts it shows in
    // the user's language (0 in Chinese), pixels.
    int textWidening() const;
    QFont formFont() const { return m_formFont; }

public Q_SLOTS:
    // Programming menu and toolbar (the transfer is wired in by the radio link).
    void onReadFromRadio();
    void onWriteToRadio();
    // Port menu.
    void onPortCom1() { setPortName(QStringLiteral("COM1")); }
    void onPortCom2() { setPortName(QStringLiteral("COM2")); }
    void onPortCom3() { setPortName(QStringLiteral("COM3")); }
    void onPortCom4() { setPortName(QStringLiteral("COM4")); }
    // File menu printing (the printout is wired in by the print module).
    void onFilePrint();
    void onFilePrintPreview();
    void onFilePrintDirect();

Q_SIGNALS:
    // The user changed a cell or a setting box, or a read from the radio
    // brought new data: the document now differs from its file.
    void documentModified();
    void portNameChanged(const QString &name);
    // Asks the frame to shrink to the form where it is larger.
    void formSizeKnown(const QSize &size);
    // Another cell became current (a click, the keyboard, the Enter or Tab
    // walk): where a small screen shows only part of the form, the frame
    // brings this rectangle of the form into view.
    void cellInView(const QRect &formRect);
    // The form was laid out anew for texts in another language.
    void formSizeChanged(const QSize &oldSize, const QSize &newSize);

protected:
    void changeEvent(QEvent *event) override;

private:
    struct PlacedControl {
        const form::TemplateControl *control;
        QWidget *widget;
    };

    void createControls();
    // The texts of the labels, groups and boxes in the current language, and
    // the layout that holds them.
    void retranslate();
    void layOutControls();
    void placeGrid(const QRect &rect);
    void createCellEditors();
    void setColumnWidths();
    void writeFixedTexts();
    void selectBox(tavin::SettingBox box, int index);
    void onModelBoxActivated();
    void encodeInto(tavin::RadioImage &image) const;
    // While a transfer runs the form takes no edits.
    void holdEdits(bool hold);

    const tavin::ToneTable &m_tones;
    bool &m_formReady;
    tavin::RadioImage *m_image = nullptr;

    QFont m_formFont;
    std::unique_ptr<DialogUnits> m_units;
    std::vector<PlacedControl> m_controls;
    QSize m_formSize;
    CMSFlexGrid *m_grid = nullptr;
    std::array<QComboBox *, tavin::kSettingBoxCount> m_boxes{};
    CellEditors *m_cellEditors = nullptr;
    tavin::print::PagePrinter *m_pagePrinter = nullptr;

    QString m_portName = QStringLiteral("COM1");
    std::unique_ptr<TransferController> m_transfer;
    QPointer<QWidget> m_focusBeforeTransfer;
};
