#include "ReportDialog.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Room for the window manager's frame around a window not yet shown.
constexpr int kDecorationAllowance = 48;
// A report is at least this many average characters wide.
constexpr int kLeastWidthChars = 60;

}  // namespace

ReportDialog::ReportDialog(const ToolReport &report, QWidget *parent) : QDialog(parent), m_report(report)
{
    setWindowTitle(report.title);

    auto *icon = new QLabel(this);
    const QStyle::StandardPixmap pixmap =
        report.kind == ToolReport::Kind::Warning ? QStyle::SP_MessageBoxWarning : QStyle::SP_MessageBoxInformation;
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(pixmap, nullptr, this).pixmap(iconSize, iconSize));
    icon->setAlignment(Qt::AlignTop);

    m_summary = new QLabel(report.summary, this);
    m_summary->setWordWrap(true);
    m_summary->setTextFormat(Qt::PlainText);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    m_lines = new QPlainTextEdit(this);
    m_lines->setReadOnly(true);
    m_lines->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_lines->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_lines->setPlainText(report.lines.join(u'\n'));
    m_lines->setVisible(!report.lines.isEmpty());

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    m_copy = buttons->addButton(tr("复制(&C)"), QDialogButtonBox::ActionRole);
    connect(m_copy, &QPushButton::clicked, this, [this] { QGuiApplication::clipboard()->setText(m_report.text()); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(m_summary, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_lines, 1);
    layout->addWidget(buttons);

    // As large as the lines want, within the screen.
    const QFontMetrics metrics(m_lines->font());
    int textWidth = 0;
    for (const QString &line : report.lines)
        textWidth = std::max(textWidth, metrics.horizontalAdvance(line));
    const int chrome = 2 * m_lines->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                       2 * int(m_lines->document()->documentMargin()) + metrics.averageCharWidth();
    const QMargins margins = layout->contentsMargins();
    const int width = std::max(textWidth + chrome + margins.left() + margins.right(),
                               kLeastWidthChars * QFontMetrics(font()).averageCharWidth());
    int height = sizeHint().height();
    if (!report.lines.isEmpty())
        height += (int(report.lines.size()) + 1) * metrics.lineSpacing() + chrome - m_lines->sizeHint().height();
    fitToScreen(this, QSize(width, height));
    m_lines->setFocus();
}

void fitToScreen(QWidget *window, const QSize &wanted)
{
    const QWidget *parent = window->parentWidget();
    const QScreen *screen = parent && parent->screen() ? parent->screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        window->resize(wanted);
        return;
    }
    const QSize area = screen->availableGeometry().size().shrunkBy(
        QMargins(kDecorationAllowance / 2, kDecorationAllowance, kDecorationAllowance / 2, 0));
    window->setMaximumSize(screen->availableGeometry().size());
    window->resize(wanted.expandedTo(window->minimumSizeHint()).boundedTo(area));
}
