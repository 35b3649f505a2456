#include "CableCheckDialog.h"

#include "NativePath.h"
#include "ReportDialog.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

using tavin::doctor::DoctorReport;
using tavin::doctor::Finding;
using tavin::doctor::Verdict;

namespace {

QColor verdictColour(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Ok:
        return QColor(0x1b, 0x7a, 0x1b);
    case Verdict::Warn:
        return QColor(0xa0, 0x60, 0x00);
    case Verdict::Fail:
        return QColor(0xc0, 0x10, 0x10);
    case Verdict::Skip:
        break;
    }
    return QColor(0x70, 0x70, 0x70);
}

// Device names and what the checks found, as tavin-cli doctor prints them:
// bytes that are not UTF-8 and control characters as \xNN, line by line.
QString shownLines(const QString &text)
{
    QStringList lines = text.split(u'\n');
    for (QString &line : lines)
        line = tavin::platform::shown(line);
    return lines.join(u'\n');
}

}  // namespace

QString CableCheckDialog::verdictText(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Ok:
        return tr("正常");
    case Verdict::Warn:
        return tr("注意");
    case Verdict::Fail:
        return tr("失败");
    case Verdict::Skip:
        break;
    }
    return tr("未查");
}

QString CableCheckDialog::conclusionText(const DoctorReport &report)
{
    const QString port = tavin::platform::shown(report.portText());
    switch (report.conclusion()) {
    case DoctorReport::Conclusion::PortNotReady:
        return tr("串口 %1 还不能使用，请按下面标为“失败”的各项修正。").arg(port);
    case DoctorReport::Conclusion::PortReady:
        return tr("串口 %1 可以使用。").arg(port);
    case DoctorReport::Conclusion::RadioAnswered:
        return tr("串口 %1 可以使用，对讲机已应答。").arg(port);
    case DoctorReport::Conclusion::NoRadioAnswer:
        break;
    }
    return tr("串口 %1 可以使用，但对讲机没有应答。").arg(port);
}

CableCheckDialog::CableCheckDialog(const DoctorReport &report, QWidget *parent)
    : QDialog(parent), m_reportText(shownLines(report.text()))
{
    setWindowTitle(tr("检查连接"));

    m_conclusion = new QLabel(conclusionText(report), this);
    m_conclusion->setWordWrap(true);
    m_conclusion->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    QFont bold = m_conclusion->font();
    bold.setBold(true);
    m_conclusion->setFont(bold);

    m_findings = new QTreeWidget(this);
    m_findings->setColumnCount(2);
    m_findings->setHeaderLabels({tr("结果"), tr("检查")});
    m_findings->setRootIsDecorated(false);
    m_findings->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_findings->setWordWrap(false);
    QStringList allLines;
    for (const Finding &finding : report.findings) {
        const QString summary = tavin::platform::shown(finding.summary);
        auto *item = new QTreeWidgetItem(m_findings, {verdictText(finding.verdict), summary});
        item->setForeground(0, verdictColour(finding.verdict));
        QFont font = item->font(0);
        font.setBold(finding.verdict == Verdict::Fail);
        item->setFont(0, font);
        allLines << summary;
        QStringList more = finding.details;
        // As the printed report: a fix only for a check that did not pass.
        if (!finding.fix.isEmpty() && finding.verdict != Verdict::Ok)
            more << tr("修正：%1").arg(finding.fix);
        for (QString &line : more) {
            line = tavin::platform::shown(line);
            new QTreeWidgetItem(item, {QString(), line});
            allLines << line;
        }
    }
    m_findings->expandAll();
    m_findings->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_findings->header()->setStretchLastSection(true);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    m_copy = buttons->addButton(tr("复制报告(&C)"), QDialogButtonBox::ActionRole);
    connect(m_copy, &QPushButton::clicked, this, [this] { QGuiApplication::clipboard()->setText(m_reportText); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_conclusion);
    layout->addWidget(m_findings, 1);
    layout->addWidget(buttons);

    // Every line in view where the screen has the room.
    const QFontMetrics metrics(m_findings->font());
    int textWidth = 0;
    for (const QString &line : std::as_const(allLines))
        textWidth = std::max(textWidth, metrics.horizontalAdvance(line));
    const int verdictWidth = metrics.horizontalAdvance(verdictText(Verdict::Fail)) * 2 + 2 * metrics.averageCharWidth();
    const int rowHeight = metrics.height() + 6;
    const QMargins margins = layout->contentsMargins();
    const int width = verdictWidth + textWidth + style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                      4 * m_findings->frameWidth() + margins.left() + margins.right() + 4 * metrics.averageCharWidth();
    const int height = sizeHint().height() - m_findings->sizeHint().height() +
                       (int(allLines.size()) + 2) * rowHeight + style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    fitToScreen(this, QSize(width, height));
    m_findings->setFocus();
}
