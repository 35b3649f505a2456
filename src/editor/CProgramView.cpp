#include "CProgramView.h"

#include "CMSFlexGrid.h"
#include "CellEditors.h"
#include "DialogUnits.h"
#include "FocusedComboBox.h"
#include "FormLayout.h"
#include "GridTexts.h"
#include "NewDocument.h"
#include "PagePrinter.h"
#include "PageTexts.h"
#include "RadioImage.h"
#include "ShownText.h"
#include "ToneTable.h"
#include "TransferController.h"

#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>

using tavin::SettingBox;

namespace {

constexpr int kFormFontPoints = 9;

// Tab order of the controls that take the focus: 1011, 1017, 1013, 1014, 1016,
// 1012, 1075, 1076, 1077, 1078, then the grid, then 1015.
constexpr SettingBox kTabOrderBeforeGrid[] = {
    SettingBox::Band,   SettingBox::Model,       SettingBox::TxTimeLimit,    SettingBox::Beep,
    SettingBox::SquelchLevel, SettingBox::Monitor, SettingBox::Scan, SettingBox::VoicePrompt,
    SettingBox::EmergencyAlarm, SettingBox::PowerSave,
};

// The band box's list in the form template; the model rule replaces it before
// the form is first shown.
constexpr const char *kTemplateBandEntries[] = {
    "450 - 470MHZ", "470 - 490MHZ", "490 - 512MHZ", "406 - 430MHZ", "400 - 420MHZ",
};

QFont makeFormFont()
{
    QFont font;
    // A metric-compatible face stands in where Times New Roman is not installed.
    font.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                      QStringLiteral("serif")});
    font.setPointSize(kFormFontPoints);
    return font;
}

std::size_t boxIndex(SettingBox box)
{
    return static_cast<std::size_t>(box);
}

}  // namespace

CProgramView::CProgramView(const tavin::ToneTable &tones, bool &formReady, QWidget *parent)
    : QWidget(parent), m_tones(tones), m_formReady(formReady), m_formFont(makeFormFont())
{
    setFont(m_formFont);
    createControls();
    TransferController::Hooks hooks;
    hooks.commitOpenEditor = [this] { commitOpenEditor(); };
    hooks.encodeImage = [this] { EncodeImage(); };
    hooks.decodeAfterRead = [this] { decodeAfterRadioRead(); };
    hooks.image = [this]() -> tavin::RadioImage & { return *m_image; };
    hooks.portName = [this] { return m_portName; };
    hooks.centreOver = [this]() -> QWidget * { return m_grid; };
    m_transfer = std::make_unique<TransferController>(std::move(hooks));
    connect(m_transfer.get(), &TransferController::transferStarted, this, [this] { holdEdits(true); });
    connect(m_transfer.get(), &TransferController::transferFinished, this, [this] { holdEdits(false); });
}

void CProgramView::holdEdits(bool hold)
{
    // A write sends what the form showed at its start and a read replaces the
    // form when it ends: an edit in between would be lost or never reach the
    // radio. The form shows it is out of reach, and gets its focus back after.
    if (hold) {
        QWidget *focus = window()->focusWidget();
        m_focusBeforeTransfer = focus && isAncestorOf(focus) ? focus : nullptr;
    }
    setEnabled(!hold);
    if (!hold && m_focusBeforeTransfer)
        m_focusBeforeTransfer->setFocus(Qt::OtherFocusReason);
}

CProgramView::~CProgramView() = default;

bool CProgramView::isTransferRunning() const
{
    return m_transfer->isTransferRunning();
}

bool CProgramView::mayCloseWindow()
{
    return m_transfer->mayCloseWindow();
}

QStringList CProgramView::templateTexts()
{
    QStringList texts;
    for (const form::TemplateControl &control : form::templateControls()) {
        if (control.text)
            texts << QString::fromUtf8(control.text);
    }
    for (int b = 0; b < tavin::kSettingBoxCount; ++b) {
        for (const std::string &entry : tavin::settingBox(static_cast<SettingBox>(b)).entries)
            texts << QString::fromStdString(entry);
    }
    return texts;
}

void CProgramView::createControls()
{
    // Measured on the fonts that draw the template's own texts: the Chinese
    // ones come from a fallback face, which is often taller than the form's
    // font. The same units serve every language.
    m_units = std::make_unique<DialogUnits>(m_formFont, templateTexts());

    QList<QGroupBox *> groups;
    for (const form::TemplateControl &control : form::templateControls()) {
        QWidget *widget = nullptr;
        switch (control.kind) {
        case form::Kind::LabelLeft:
        case form::Kind::LabelRight:
        case form::Kind::LabelTwoLinesLeft:
        case form::Kind::LabelTwoLinesRight: {
            auto *label = new QLabel(this);
            label->setAlignment(form::labelAlignment(control.kind));
            label->setWordWrap(form::wraps(control.kind));
            widget = label;
            break;
        }
        case form::Kind::Group: {
            auto *group = new QGroupBox(this);
            groups.append(group);
            widget = group;
            break;
        }
        case form::Kind::Box: {
            auto *box = new FocusedComboBox(this);
            box->setObjectName(QString::number(tavin::settingBox(control.box).controlId));
            box->setEditable(false);
            const int listHeight = m_units->toPixelsY(control.height);
            box->setMaxVisibleItems(std::max(1, (listHeight - box->sizeHint().height()) / box->fontMetrics().height()));
            if (control.box == SettingBox::Band) {
                for (const char *entry : kTemplateBandEntries)
                    box->addItem(QString::fromUtf8(entry));
            } else {
                for (const std::string &entry : tavin::settingBox(control.box).entries)
                    box->addItem(tavin::lang::shownText(QString::fromStdString(entry)));
            }
            box->setCurrentIndex(-1);
            m_boxes[boxIndex(control.box)] = box;
            connect(box, &QComboBox::activated, this, &CProgramView::documentModified);
            widget = box;
            break;
        }
        case form::Kind::Grid:
            m_grid = new CMSFlexGrid(tavin::kGridRowCount, tavin::kGridColumnCount, this);
            m_grid->setObjectName(QString::number(kGridId));
            m_grid->setFont(m_formFont);
            // The grid holds the data's words and shows them in the user's language.
            m_grid->setTextShown(&tavin::lang::shownText);
            widget = m_grid;
            connect(m_grid, &CMSFlexGrid::enterCell, this, [this] {
                const QRect cell = m_grid->visualRect(m_grid->model()->index(m_grid->row(), m_grid->col()));
                Q_EMIT cellInView(QRect(m_grid->viewport()->mapTo(this, cell.topLeft()), cell.size()));
            });
            break;
        }
        m_controls.push_back({&control, widget});
    }
    for (QGroupBox *group : groups)
        group->lower();

    connect(m_boxes[boxIndex(SettingBox::Model)], &QComboBox::activated, this, &CProgramView::onModelBoxActivated);

    QWidget *previous = nullptr;
    auto chain = [&previous](QWidget *next) {
        if (previous)
            QWidget::setTabOrder(previous, next);
        previous = next;
    };
    for (SettingBox box : kTabOrderBeforeGrid)
        chain(m_boxes[boxIndex(box)]);
    chain(m_grid);
    chain(m_boxes[boxIndex(SettingBox::RejectAlarm)]);

    retranslate();
}

void CProgramView::retranslate()
{
    for (const PlacedControl &placed : m_controls) {
        if (auto *label = qobject_cast<QLabel *>(placed.widget))
            label->setText(form::FormLayout::shownText(*placed.control));
        else if (auto *group = qobject_cast<QGroupBox *>(placed.widget))
            group->setTitle(form::FormLayout::shownText(*placed.control));
    }
    for (int b = 0; b < tavin::kSettingBoxCount; ++b) {
        QComboBox *box = m_boxes[std::size_t(b)];
        const std::vector<std::string> &entries = tavin::settingBox(static_cast<SettingBox>(b)).entries;
        // The band box holds the template's list until the model rule first runs.
        if (box->count() != int(entries.size()))
            continue;
        for (int i = 0; i < box->count(); ++i)
            box->setItemText(i, tavin::lang::shownText(QString::fromStdString(entries[std::size_t(i)])));
    }
    layOutControls();
}

void CProgramView::layOutControls()
{
    const form::FormLayout layout(*m_units, *m_boxes[0], *m_grid, m_tones);
    const QSize size = layout.formSize();
    for (const PlacedControl &placed : m_controls) {
        const QRect rect = layout.rect(*placed.control);
        if (placed.control->kind == form::Kind::Box)
            placed.widget->setGeometry(rect.x(), rect.y(), rect.width(), placed.widget->sizeHint().height());
        else if (placed.widget == m_grid)
            placeGrid(rect);
        else
            placed.widget->setGeometry(rect);
    }
    if (size == m_formSize)
        return;
    const QSize before = m_formSize;
    m_formSize = size;
    setFixedSize(m_formSize);
    if (before.isValid())
        Q_EMIT formSizeChanged(before, m_formSize);
}

int CProgramView::textWidening() const
{
    return m_formSize.width() - m_units->toPixelsX(form::kWidthDlu);
}

void CProgramView::placeGrid(const QRect &rect)
{
    m_grid->setGeometry(rect);
    // The grid's own column width: wide enough that the nine columns fill its
    // width at the fixed ratios.
    const int clientPixels = rect.width() - 2 * m_grid->frameWidth() - 2;
    const int clientTwips = clientPixels * CMSFlexGrid::kTwipsPerInch / m_grid->pixelsPerInchX();
    const int defaultWidth = static_cast<int>(clientTwips / form::kColumnWidthSum);
    const bool changed = defaultWidth != m_grid->defaultColWidth();
    m_grid->setDefaultColWidth(defaultWidth);
    // All seventeen rows in view, as tall as the font allows.
    const int clientHeight = rect.height() - 2 * m_grid->frameWidth();
    const int rowHeight = std::min(m_units->baseHeight() + 4, clientHeight / tavin::kGridRowCount);
    m_grid->verticalHeader()->setMinimumSectionSize(1);
    m_grid->verticalHeader()->setDefaultSectionSize(rowHeight);
    // Widths already set follow a grid that has grown for its texts.
    if (changed && m_formReady) {
        setColumnWidths();
        if (m_cellEditors)
            m_cellEditors->placeOpenEditor();
    }
}

void CProgramView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void CProgramView::createCellEditors()
{
    m_cellEditors = new CellEditors(
        m_grid, m_tones, [this] { return bandSelection(); }, this);
    connect(m_cellEditors, &CellEditors::cellEdited, this, &CProgramView::documentModified);
}

void CProgramView::setColumnWidths()
{
    // w is the width column 2 has before any width is set: the grid's default.
    const double w = m_grid->defaultColWidth();
    for (const form::ColumnWidthRule &rule : form::columnWidthRules())
        m_grid->setColWidth(rule.column, static_cast<int>(w * rule.factor));
}

void CProgramView::writeFixedTexts()
{
    for (int c = 0; c < tavin::kGridColumnCount; ++c)
        m_grid->setTextMatrix(0, c, QString::fromUtf8(tavin::kGridHeaderTexts[static_cast<std::size_t>(c)]));
    for (int n = 1; n <= tavin::kChannelCount; ++n)
        m_grid->setTextMatrix(n, 0, QString::fromStdString(tavin::channelNumberText(n)));
}

void CProgramView::OnInitialUpdate()
{
    Q_EMIT formSizeKnown(m_formSize);

    if (!m_formReady) {
        createCellEditors();
        for (int c = 0; c < tavin::kGridColumnCount; ++c)
            m_grid->setColAlignment(c, CMSFlexGrid::kAlignCenterCenter);
        m_formReady = true;
        setColumnWidths();
        const tavin::BoxSelections start = tavin::initialFormSelections();
        for (int b = 0; b < tavin::kSettingBoxCount; ++b) {
            const auto box = static_cast<SettingBox>(b);
            if (start[box] >= 0)
                selectBox(box, start[box]);
        }
    }

    m_cellEditors->hideAll();
    DecodeImage();
    writeFixedTexts();
    m_boxes[boxIndex(SettingBox::Model)]->setFocus(Qt::OtherFocusReason);
}

void CProgramView::DecodeImage()
{
    if (!m_image)
        return;
    for (int n = 1; n <= tavin::kChannelCount; ++n) {
        const tavin::ChannelTexts texts = tavin::decodeChannel(*m_image, n);
        for (int c = 0; c < tavin::kColumnCount; ++c)
            m_grid->setTextMatrix(n, c + 1, QString::fromStdString(texts[static_cast<std::size_t>(c)]));
    }
    tavin::BoxSelections selections = boxSelections();
    tavin::decodeSettings(*m_image, selections);
    for (int b = 0; b < tavin::kSettingBoxCount; ++b) {
        const auto box = static_cast<SettingBox>(b);
        if (box != SettingBox::Band)
            selectBox(box, selections[box]);
    }
    ApplyModelRule();
    selectBox(SettingBox::Band, tavin::decodeBandSelection(*m_image));
}

void CProgramView::EncodeImage()
{
    if (m_image)
        encodeInto(*m_image);
}

tavin::RadioImage CProgramView::imageAsSaved()
{
    commitOpenEditor();
    tavin::RadioImage image = m_image ? *m_image : tavin::RadioImage();
    encodeInto(image);
    return image;
}

void CProgramView::encodeInto(tavin::RadioImage &image) const
{
    tavin::ChannelTable channels;
    for (int n = 1; n <= tavin::kChannelCount; ++n) {
        for (int c = 0; c < tavin::kColumnCount; ++c)
            channels[static_cast<std::size_t>(n - 1)][static_cast<std::size_t>(c)] =
                m_grid->textMatrix(n, c + 1).toStdString();
    }
    tavin::encodeImage(channels, boxSelections(), image);
}

void CProgramView::ApplyModelRule()
{
    if (m_cellEditors)
        m_cellEditors->hideForModelChange();
    QComboBox *band = m_boxes[boxIndex(SettingBox::Band)];
    band->clear();
    for (const std::string &entry : tavin::settingBox(SettingBox::Band).entries)
        band->addItem(tavin::lang::shownText(QString::fromStdString(entry)));
    band->setCurrentIndex(0);
    if (m_image)
        tavin::applyModelRule(*m_image, settingBoxSelection(SettingBox::Model));
}

void CProgramView::onModelBoxActivated()
{
    ApplyModelRule();
}

void CProgramView::decodeAfterRadioRead()
{
    DecodeImage();
    Q_EMIT documentModified();
}

void CProgramView::commitOpenEditor()
{
    if (m_cellEditors)
        m_cellEditors->commitCurrent();
}

QComboBox *CProgramView::settingBoxWidget(SettingBox box) const
{
    return m_boxes[boxIndex(box)];
}

int CProgramView::settingBoxSelection(SettingBox box) const
{
    return m_boxes[boxIndex(box)]->currentIndex();
}

QString CProgramView::settingBoxText(SettingBox box) const
{
    return QString::fromStdString(tavin::selectionText(box, settingBoxSelection(box)));
}

tavin::BoxSelections CProgramView::boxSelections() const
{
    tavin::BoxSelections selections;
    for (int b = 0; b < tavin::kSettingBoxCount; ++b)
        selections.index[static_cast<std::size_t>(b)] = m_boxes[static_cast<std::size_t>(b)]->currentIndex();
    return selections;
}

void CProgramView::selectBox(SettingBox box, int index)
{
    QComboBox *combo = m_boxes[boxIndex(box)];
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

void CProgramView::setPortName(const QString &name)
{
    if (m_portName == name)
        return;
    m_portName = name;
    Q_EMIT portNameChanged(name);
}

void CProgramView::onReadFromRadio()
{
    m_transfer->onReadCommand();
}

void CProgramView::onWriteToRadio()
{
    m_transfer->onWriteCommand();
}

tavin::print::PageTexts CProgramView::printedPage() const
{
    return tavin::print::PageTexts::collect([this](SettingBox box) { return settingBoxText(box); },
                                            [this](int row, int col) { return m_grid->textMatrix(row, col); });
}

void CProgramView::onFilePrint()
{
    if (m_pagePrinter)
        m_pagePrinter->printWithDialog(this, [this] { return printedPage(); });
}

void CProgramView::onFilePrintPreview()
{
    if (m_pagePrinter)
        m_pagePrinter->preview(this, [this] { return printedPage(); });
}

void CProgramView::onFilePrintDirect()
{
    QString error;
    if (m_pagePrinter && !m_pagePrinter->printDirect(printedPage(), &error))
        QMessageBox::warning(this, tr("打印"), error);
}
