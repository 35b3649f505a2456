#include "FormLayout.h"

#include "ChannelEntry.h"
#include "FrequencyEntry.h"
#include "GridTexts.h"
#include "ShownText.h"
#include "ToneTable.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <algorithm>
#include <cmath>

using tavin::SettingBox;

namespace form {

namespace {

constexpr TemplateControl kTemplate[] = {
    {Kind::LabelLeft, QT_TRANSLATE_NOOP("CProgramView", "机型"), SettingBox::Model, 20, 20, 16, 9},
    {Kind::LabelLeft, QT_TRANSLATE_NOOP("CProgramView", "频率"), SettingBox::Model, 20, 36, 15, 9},
    {Kind::Box, nullptr, SettingBox::Band, 42, 34, 61, 59},
    {Kind::Group, QT_TRANSLATE_NOOP("CProgramView", "机型设置"), SettingBox::Model, 8, 8, 109, 43},
    {Kind::Box, nullptr, SettingBox::Model, 42, 18, 61, 52},
    {Kind::Group, QT_TRANSLATE_NOOP("CProgramView", "功能设置"), SettingBox::Model, 8, 54, 109, 160},
    {Kind::LabelRight, QT_TRANSLATE_NOOP("CProgramView", "发射限时"), SettingBox::Model, 13, 68, 29, 8},
    {Kind::Box, nullptr, SettingBox::TxTimeLimit, 48, 66, 64, 52},
    {Kind::LabelRight, QT_TRANSLATE_NOOP("CProgramView", "提示音"), SettingBox::Model, 13, 84, 29, 8},
    {Kind::Box, nullptr, SettingBox::Beep, 48, 82, 64, 52},
    {Kind::LabelRight, QT_TRANSLATE_NOOP("CProgramView", "静噪电平"), SettingBox::Model, 13, 100, 29, 8},
    {Kind::LabelRight, QT_TRANSLATE_NOOP("CProgramView", "监听"), SettingBox::Model, 29, 197, 13, 8},
    {Kind::Box, nullptr, SettingBox::SquelchLevel, 48, 98, 64, 52},
    {Kind::Box, nullptr, SettingBox::Monitor, 48, 195, 64, 52},
    {Kind::LabelRight, QT_TRANSLATE_NOOP("CProgramView", "扫描"), SettingBox::Model, 22, 132, 20, 8},
    {Kind::Box, nullptr, SettingBox::Scan, 48, 130, 64, 42},
    {Kind::LabelRight, QT_TRANSLATE_NOOP("CProgramView", " 报号选择"), SettingBox::Model, 13, 147, 29, 8},
    {Kind::Box, nullptr, SettingBox::VoicePrompt, 48, 146, 64, 46},
    {Kind::LabelTwoLinesLeft, QT_TRANSLATE_NOOP("CProgramView", "紧急呼叫          开关"), SettingBox::Model,
     13, 161, 29, 15},
    {Kind::Box, nullptr, SettingBox::EmergencyAlarm, 48, 162, 64, 57},
    {Kind::LabelRight, QT_TRANSLATE_NOOP("CProgramView", "省电开关"), SettingBox::Model, 13, 117, 29, 8},
    {Kind::Box, nullptr, SettingBox::PowerSave, 48, 114, 64, 30},
    {Kind::Grid, nullptr, SettingBox::Model, 124, 33, 352, 167},
    {Kind::LabelLeft, QT_TRANSLATE_NOOP("CProgramView", "信道设置"), SettingBox::Model, 125, 16, 40, 8},
    {Kind::LabelTwoLinesRight, QT_TRANSLATE_NOOP("CProgramView", "拒绝紧急报警"), SettingBox::Model, 11, 177, 31, 17},
    {Kind::Box, nullptr, SettingBox::RejectAlarm, 48, 178, 64, 52},
};

const ColumnWidthRule kColumnWidths[] = {
    {2, 1.25}, {1, 1.25}, {0, 0.5}, {3, 1.25}, {4, 1.25}, {6, 1.0 / 1.4}, {5, 1.0 / 1.2}, {7, 1.0 / 1.4}, {8, 1.0 / 1.4},
};

// Controls at or right of the grid's left edge move with the grid.
constexpr int kGridLeftDlu = 124;
// A right-aligned label may reach this far left (the template's leftmost label).
constexpr int kLabelsLeftmostDlu = 11;
// Room kept between a left-aligned label and the box beside it.
constexpr int kLabelGapDlu = 2;
// The height of a closed setting box (the template's heights include the list).
constexpr int kClosedBoxDlu = 12;

bool rightAligned(Kind kind)
{
    return kind == Kind::LabelRight || kind == Kind::LabelTwoLinesRight;
}

QString shownWord(const QString &word)
{
    return tavin::lang::shownText(word);
}

// The width a closed drop-down list needs to show the widest of the texts.
int comboWidth(const QComboBox &box, const QStringList &texts)
{
    const QFontMetrics metrics = box.fontMetrics();
    int textWidth = 0;
    for (const QString &text : texts)
        textWidth = std::max(textWidth, metrics.horizontalAdvance(text));
    QStyleOptionComboBox option;
    option.initFrom(&box);
    option.editable = false;
    option.frame = true;
    const QSize contents(textWidth, std::max(metrics.height(), 14) + 2);
    return box.style()->sizeFromContents(QStyle::CT_ComboBox, &option, contents, &box).width();
}

// The left edge of the setting box beside a left-aligned label, dialog units.
int boxBeside(const TemplateControl &label)
{
    for (const TemplateControl &c : kTemplate) {
        if (c.kind == Kind::Box && c.y < label.y + label.height && label.y < c.y + kClosedBoxDlu)
            return c.x;
    }
    return label.x + label.width + kLabelGapDlu;
}

}  // namespace

std::span<const TemplateControl> templateControls()
{
    return kTemplate;
}

std::span<const ColumnWidthRule> columnWidthRules()
{
    return kColumnWidths;
}

bool isLabel(Kind kind)
{
    return kind == Kind::LabelLeft || kind == Kind::LabelRight || kind == Kind::LabelTwoLinesLeft
        || kind == Kind::LabelTwoLinesRight;
}

bool wraps(Kind kind)
{
    return kind == Kind::LabelTwoLinesLeft || kind == Kind::LabelTwoLinesRight;
}

Qt::Alignment labelAlignment(Kind kind)
{
    Qt::Alignment alignment = rightAligned(kind) ? Qt::AlignRight : Qt::AlignLeft;
    return alignment | (kind == Kind::LabelRight ? Qt::AlignVCenter : Qt::AlignTop);
}

QString FormLayout::shownText(const TemplateControl &control)
{
    return control.text ? QCoreApplication::translate("CProgramView", control.text) : QString();
}

FormLayout::FormLayout(const DialogUnits &units, const QComboBox &box, const QFrame &grid,
                       const tavin::ToneTable &tones)
    : m_units(units)
{
    m_widening.labels = labelWidening();
    m_widening.boxes = boxWidening(box);
    m_widening.grid = gridWidening(grid, tones);
}

// Each label of the setting boxes may take the room its template gives it, or
// what its own text takes; the label column widens by the most any label
// needs beyond that.
int FormLayout::labelWidening() const
{
    int widening = 0;
    for (const TemplateControl &c : kTemplate) {
        if (!isLabel(c.kind) || c.x >= kGridLeftDlu)
            continue;
        const int room = rightAligned(c.kind) ? m_units.toPixelsX(c.x + c.width - kLabelsLeftmostDlu)
                                              : m_units.toPixelsX(boxBeside(c) - kLabelGapDlu - c.x);
        const int own = m_units.widthNeeded(QString::fromUtf8(c.text), wraps(c.kind));
        widening = std::max(widening, m_units.widthNeeded(shownText(c), wraps(c.kind)) - std::max(room, own));
    }
    return widening;
}

int FormLayout::boxWidening(const QComboBox &box) const
{
    int widening = 0;
    for (const TemplateControl &c : kTemplate) {
        if (c.kind != Kind::Box)
            continue;
        QStringList source;
        for (const std::string &entry : tavin::settingBox(c.box).entries)
            source << QString::fromStdString(entry);
        QStringList shown;
        for (const QString &entry : std::as_const(source))
            shown << shownWord(entry);
        const int room = std::max(m_units.toPixelsX(c.width), comboWidth(box, source));
        widening = std::max(widening, comboWidth(box, shown) - room);
    }
    return widening;
}

// The grid's columns keep their ratios: the grid widens until the column that
// is shortest of room for its heading and its words has what it needs.
int FormLayout::gridWidening(const QFrame &grid, const tavin::ToneTable &tones) const
{
    const QFontMetrics metrics = grid.fontMetrics();
    const int padding = 2 * (grid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &grid) + 1);
    const auto texts = [&tones](int column) {
        QStringList list{QString::fromUtf8(tavin::kGridHeaderTexts[std::size_t(column)].data(),
                                           qsizetype(tavin::kGridHeaderTexts[std::size_t(column)].size()))};
        if (column == 0) {
            list << QString::fromStdString(tavin::channelNumberText(tavin::kChannelCount));
        } else if (column <= 2) {
            list << QStringLiteral("888.88888");
        } else if (column <= 4) {
            // The widest names, and every name the window shows otherwise.
            list << QStringLiteral("888.8") << QStringLiteral("D888N") << QStringLiteral("D888I")
                 << QString::fromUtf8(tavin::kUnknownToneText.data(), qsizetype(tavin::kUnknownToneText.size()));
            for (const std::string &name : tones.names()) {
                const QString text = QString::fromStdString(name);
                if (shownWord(text) != text)
                    list << text;
            }
        } else {
            for (std::string_view word : tavin::chooserEntries(column - 1))
                list << QString::fromUtf8(word.data(), qsizetype(word.size()));
        }
        return list;
    };

    const TemplateControl &gridControl = *std::find_if(std::begin(kTemplate), std::end(kTemplate),
                                                       [](const TemplateControl &c) { return c.kind == Kind::Grid; });
    const int client = m_units.toPixelsX(gridControl.width) - 2 * grid.frameWidth() - 2;
    double factor = 1.0;
    for (const ColumnWidthRule &rule : kColumnWidths) {
        int own = 0;
        int shown = 0;
        for (const QString &text : texts(rule.column)) {
            const int width = metrics.horizontalAdvance(text);
            own = std::max(own, width);
            const QString inLanguage = shownWord(text);
            shown = std::max(shown, inLanguage == text ? width : metrics.horizontalAdvance(inLanguage));
        }
        const double room = std::max(client * rule.factor / kColumnWidthSum, double(own + padding));
        factor = std::max(factor, (shown + padding) / room);
    }
    return static_cast<int>(std::ceil(client * (factor - 1.0)));
}

QSize FormLayout::formSize() const
{
    return {m_units.toPixelsX(kWidthDlu) + m_widening.labels + m_widening.boxes + m_widening.grid,
            m_units.toPixelsY(kHeightDlu)};
}

QRect FormLayout::rect(const TemplateControl &c) const
{
    const int shift = m_widening.labels + m_widening.boxes;
    QRect r = m_units.toPixels(c.x, c.y, c.width, c.height);
    switch (c.kind) {
    case Kind::LabelLeft:
    case Kind::LabelRight:
    case Kind::LabelTwoLinesLeft:
    case Kind::LabelTwoLinesRight:
        r = m_units.textRect(c.x, c.y, c.width, c.height, shownText(c), labelAlignment(c.kind), wraps(c.kind));
        if (c.x >= kGridLeftDlu)
            r.translate(shift, 0);
        else if (rightAligned(c.kind))
            r.translate(m_widening.labels, 0);
        break;
    case Kind::Group:
        r.setWidth(r.width() + shift);
        break;
    case Kind::Box:
        r.translate(m_widening.labels, 0);
        r.setWidth(r.width() + m_widening.boxes);
        break;
    case Kind::Grid:
        r.translate(shift, 0);
        r.setWidth(r.width() + m_widening.grid);
        break;
    }
    return r;
}

}  // namespace form
