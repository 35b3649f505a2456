// Form template 101 and where its controls go. The template is laid out in
// dialog units for the form's own (Chinese) texts. Where the texts the form
// shows in the user's language need more room than those, the form widens:
// the label column for a longer label, the setting boxes for a longer entry,
// the grid for a longer heading or word. With the Chinese texts nothing moves.
#pragma once

#include "DialogUnits.h"
#include "SettingBoxes.h"

#include <QRect>
#include <QSize>

#include <span>

class QComboBox;
class QFrame;

namespace tavin {
class ToneTable;
}

namespace form {

inline constexpr int kWidthDlu = 485;
inline constexpr int kHeightDlu = 221;

enum class Kind { LabelLeft, LabelRight, LabelTwoLinesLeft, LabelTwoLinesRight, Group, Box, Grid };

struct TemplateControl {
    Kind kind;
    const char *text;          // label or group text as written (shown translated), or nullptr
    tavin::SettingBox box;     // for Kind::Box
    int x, y, width, height;   // dialog units
};

// The controls of the template, in template order.
std::span<const TemplateControl> templateControls();

bool isLabel(Kind kind);
bool wraps(Kind kind);
Qt::Alignment labelAlignment(Kind kind);

// Grid column widths as multiples of w, the grid's default column width, in
// the order they are set.
struct ColumnWidthRule {
    int column;
    double factor;
};
std::span<const ColumnWidthRule> columnWidthRules();
inline constexpr double kColumnWidthSum = 0.5 + 4 * 1.25 + 1.0 / 1.2 + 3 * (1.0 / 1.4);

// Pixels the form's parts are widened by for the texts shown now.
struct Widening {
    int labels = 0;  // the label column: the boxes and everything right of them move
    int boxes = 0;   // the setting boxes: the grid moves
    int grid = 0;    // the grid
};

class FormLayout
{
public:
    // box: one of the form's setting boxes and grid: the channel grid, whose
    // fonts and styles measure the texts they show; tones: the tone names.
    FormLayout(const DialogUnits &units, const QComboBox &box, const QFrame &grid, const tavin::ToneTable &tones);

    const Widening &widening() const { return m_widening; }
    QSize formSize() const;
    // Where a control goes; a label's rectangle holds its shown text whole.
    QRect rect(const TemplateControl &control) const;

    // A label's or a group's text in the current language.
    static QString shownText(const TemplateControl &control);

private:
    int labelWidening() const;
    int boxWidening(const QComboBox &box) const;
    int gridWidening(const QFrame &grid, const tavin::ToneTable &tones) const;

    const DialogUnits &m_units;
    Widening m_widening;
};

}  // namespace form
