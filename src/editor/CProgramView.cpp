#include "CProgramView.h"

#include "CMSFlexGrid.h"
#include "CellEditors.h"
#include "DialogUnits.h"
#include "FocusedComboBox.h"
#include "GridTexts.h"
#include "NewDocument.h"
#include "PagePrinter.h"
#include "PageTexts.h"
#include "RadioImage.h"
#include "ToneTable.h"
#include "TransferController.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>

using tavin::SettingBox;

namespace {

constexpr int kFormWidthDlu = 485;
constexpr int kFormHeightDlu = 221;
constexpr int kFormFontPoints = 9;

enum class Kind { LabelLeft, LabelRight, LabelTwoLinesLeft, LabelTwoLinesRight, Group, Box, Grid };

struct TemplateControl {
    Kind kind;
    const char *text;  // label text, or nullptr
    SettingBox box;    // for Kind::Box
    int x, y, width, height;
};

// Form template 101, in template order.
constexpr TemplateControl kTemplate[] = {
    {Kind::LabelLeft, "机型", SettingBox::Model, 20, 20, 16, 9},
    {Kind::LabelLeft, "频率", SettingBox::Model, 20, 36, 15, 9},
    {Kind::Box, nullptr, SettingBox::Band, 42, 34, 61, 59},
    {Kind::Group, "机型设置", SettingBox::Model, 8, 8, 109, 43},
    {Kind::Box, nullptr, SettingBox::Model, 42, 18, 61, 52},
    {Kind::Group, "功能设置", SettingBox::Model, 8, 54, 109, 160},
    {Kind::LabelRight, "发射限时", SettingBox::Model, 13, 68, 29, 8},
    {Kind::Box, nullptr, SettingBox::TxTimeLimit, 48, 66, 64, 52},
    {Kind::LabelRight, "提示音", SettingBox::Model, 13, 84, 29, 8},
    {Kind::Box, nullptr, SettingBox::Beep, 48, 82, 64, 52},
    {Kind::LabelRight, "静噪电平", SettingBox::Model, 13, 100, 29, 8},
    {Kind::LabelRight, "监听", SettingBox::Model, 29, 197, 13, 8},
    {Kind::Box, nullptr, SettingBox::SquelchLevel, 48, 98, 64, 52},
    {Kind::Box, nullptr, SettingBox::Monitor, 48, 195, 64, 52},
    {Kind::LabelRight, "扫描", SettingBox::Model, 22, 132, 20, 8},
    {Kind::Box, nullptr, SettingBox::Scan, 48, 130, 64, 42},
    {Kind::LabelRight, " 报号选择", SettingBox::Model, 13, 147, 29, 8},
    {Kind::Box, nullptr, SettingBox::VoicePrompt, 48, 146, 64, 46},
    {Kind::LabelTwoLinesLeft, "紧急呼叫          开关", SettingBox::Model, 13, 161, 29, 15},
    {Kind::Box, nullptr, SettingBox::EmergencyAlarm, 48, 162, 64, 57},
    {Kind::LabelRight, "省电开关", SettingBox::Model, 13, 117, 29, 8},
    {Kind::Box, nullptr, SettingBox::PowerSave, 48, 114, 64, 30},
    {Kind::Grid, nullptr, SettingBox::Model, 124, 33, 352, 167},
    {Kind::LabelLeft, "信道设置", SettingBox::Model, 125, 16, 40, 8},
    {Kind::LabelTwoLinesRight, "拒绝紧急报警", SettingBox::Model, 11, 177, 31, 17},
    {Kind::Box, nullptr, SettingBox::RejectAlarm, 48, 178, 64, 52},
};

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

// Column widths as multiples of w, in the order they are set.
struct ColumnWidthRule {
    int column;
    double factor;
};
const ColumnWidthRule kColumnWidths[] = {
    {2, 1.25}, {1, 1.25}, {0, 0.5}, {3, 1.25}, {4, 1.25}, {6, 1.0 / 1.4}, {5, 1.0 / 1.2}, {7, 1.0 / 1.4}, {8, 1.0 / 1.4},
};
constexpr double kColumnWidthSum = 0.5 + 4 * 1.25 + 1.0 / 1.2 + 3 * (1.0 / 1.4);

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
    for (const TemplateControl &control : kTemplate) {
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
    // Measured on the fonts that draw the form's texts: the Chinese ones come
    // from a fallback face, which is often taller than the form's font.
    const DialogUnits units(m_formFont, templateTexts());
    m_formSize = QSize(units.toPixelsX(kFormWidthDlu), units.toPixelsY(kFormHeightDlu));
    setFixedSize(m_formSize);

    QList<QGroupBox *> groups;
    for (const TemplateControl &control : kTemplate) {
        const QRect rect = units.toPixels(control.x, control.y, control.width, control.height);
        switch (control.kind) {
        case Kind::LabelLeft:
        case Kind::LabelRight:
        case Kind::LabelTwoLinesLeft:
        case Kind::LabelTwoLinesRight: {
            auto *label = new QLabel(QString::fromUtf8(control.text), this);
            const bool twoLines = control.kind == Kind::LabelTwoLinesLeft || control.kind == Kind::LabelTwoLinesRight;
            const bool right = control.kind == Kind::LabelRight || control.kind == Kind::LabelTwoLinesRight;
            Qt::Alignment alignment = right ? Qt::AlignRight : Qt::AlignLeft;
            if (control.kind == Kind::LabelRight)
                alignment |= Qt::AlignVCenter;
            else
                alignment |= Qt::AlignTop;
            label->setAlignment(alignment);
            label->setWordWrap(twoLines);
            // Every label shows whole, whatever face draws it.
            label->setGeometry(units.textRect(control.x, control.y, control.width, control.height, label->text(),
                                              alignment, twoLines));
            break;
        }
        case Kind::Group: {
            auto *group = new QGroupBox(QString::fromUtf8(control.text), this);
            group->setGeometry(rect);
            groups.append(group);
            break;
        }
        case Kind::Box: {
            auto *box = new FocusedComboBox(this);
            box->setObjectName(QString::number(tavin::settingBox(control.box).controlId));
            box->setEditable(false);
            box->setMaxVisibleItems(std::max(1, (rect.height() - box->sizeHint().height()) / box->fontMetrics().height()));
            if (control.box == SettingBox::Band) {
                for (const char *entry : kTemplateBandEntries)
                    box->addItem(QString::fromUtf8(entry));
            } else {
                for (const std::string &entry : tavin::settingBox(control.box).entries)
                    box->addItem(QString::fromStdString(entry));
            }
            box->setCurrentIndex(-1);
            box->setGeometry(rect.x(), rect.y(), rect.width(), box->sizeHint().height());
            m_boxes[boxIndex(control.box)] = box;
            connect(box, &QComboBox::activated, this, &CProgramView::documentModified);
            break;
        }
        case Kind::Grid:
            m_grid = new CMSFlexGrid(tavin::kGridRowCount, tavin::kGridColumnCount, this);
            m_grid->setObjectName(QString::number(kGridId));
            m_grid->setGeometry(rect);
            m_grid->setFont(m_formFont);
            {
                // The grid's own column width: wide enough that the nine columns
                // fill its width at the fixed ratios.
                const int clientPixels = rect.width() - 2 * m_grid->frameWidth() - 2;
                const int clientTwips = clientPixels * CMSFlexGrid::kTwipsPerInch / m_grid->pixelsPerInchX();
                m_grid->setDefaultColWidth(static_cast<int>(clientTwips / kColumnWidthSum));
                // All seventeen rows in view, as tall as the font allows.
                const int clientHeight = rect.height() - 2 * m_grid->frameWidth();
                const int rowHeight = std::min(units.baseHeight() + 4, clientHeight / tavin::kGridRowCount);
                m_grid->verticalHeader()->setMinimumSectionSize(1);
                m_grid->verticalHeader()->setDefaultSectionSize(rowHeight);
            }
            connect(m_grid, &CMSFlexGrid::enterCell, this, [this] {
                const QRect cell = m_grid->visualRect(m_grid->model()->index(m_grid->row(), m_grid->col()));
                Q_EMIT cellInView(QRect(m_grid->viewport()->mapTo(this, cell.topLeft()), cell.size()));
            });
            break;
        }
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
}

void CProgramView::createCellEditors()
{
    m_cellEditors = new CellEditors(
        m_grid, m_tones, [this] { return bandSelection(); }, this);
    connect(m_cellEditors, &CellEditors::cellEdited, this, &CProgramView::documentModified);
}

void CProgramView::setColumnWidths()
{
    const double w = m_grid->colWidth(2);
    for (const ColumnWidthRule &rule : kColumnWidths)
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
    if (!m_image)
        return;
    tavin::ChannelTable channels;
    for (int n = 1; n <= tavin::kChannelCount; ++n) {
        for (int c = 0; c < tavin::kColumnCount; ++c)
            channels[static_cast<std::size_t>(n - 1)][static_cast<std::size_t>(c)] =
                m_grid->textMatrix(n, c + 1).toStdString();
    }
    tavin::encodeImage(channels, boxSelections(), *m_image);
}

void CProgramView::ApplyModelRule()
{
    if (m_cellEditors)
        m_cellEditors->hideForModelChange();
    QComboBox *band = m_boxes[boxIndex(SettingBox::Band)];
    band->clear();
    for (const std::string &entry : tavin::settingBox(SettingBox::Band).entries)
        band->addItem(QString::fromStdString(entry));
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
    const QComboBox *combo = m_boxes[boxIndex(box)];
    return combo->currentIndex() < 0 ? QString() : combo->currentText();
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
        QMessageBox::warning(this, QStringLiteral("打印"), error);
}
