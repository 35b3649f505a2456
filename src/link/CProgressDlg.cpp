#include "CProgressDlg.h"

#include "TransferUi.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace {

// Template 133: 262 x 70 dialog units in "宋体" 10 pt.
constexpr int kTemplateWidthDu = 262;
constexpr int kTemplateHeightDu = 70;
constexpr int kFontPointSize = 10;

struct DuRect {
    int x, y, w, h;
};
constexpr DuRect kStartRect{7, 7, 40, 15};
constexpr DuRect kCancelRect{205, 48, 40, 15};
constexpr DuRect kProgressRect{7, 28, 239, 11};
constexpr DuRect kValueLabelRect{8, 46, 32, 10};
constexpr DuRect kStatusRect{43, 46, 158, 10};

QFont templateFont()
{
    QFont font(QStringLiteral("SimSun"), kFontPointSize);
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"), QStringLiteral("NSimSun"),
                      QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")});
    return font;
}

// A dialog unit is a quarter of the font's average character width across
// and an eighth of its height down.
QRect toPixels(const QFontMetrics &m, const DuRect &r)
{
    const int alphabet = m.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const int baseX = std::max(1, (alphabet / 26 + 1) / 2);
    const int baseY = std::max(1, m.height());
    const auto sx = [baseX](int v) { return (v * baseX + 2) / 4; };
    const auto sy = [baseY](int v) { return (v * baseY + 4) / 8; };
    return {sx(r.x), sy(r.y), sx(r.w), sy(r.h)};
}

}  // namespace

CProgressDlg::CProgressDlg()
    : QDialog(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setAttribute(Qt::WA_QuitOnClose, false);
    setModal(false);
    m_start = new QPushButton(this);
    m_start->setDefault(true);
    m_start->setAutoDefault(true);
    m_cancelButton = new QPushButton(this);
    m_cancelButton->setAutoDefault(false);
    m_progress = new QProgressBar(this);
    m_progress->setTextVisible(false);
    m_valueLabel = new QLabel(this);
    m_status = new QLabel(this);
    retranslate();
    connect(m_start, &QPushButton::clicked, this, &CProgressDlg::OnOK);
    connect(m_cancelButton, &QPushButton::clicked, this, &CProgressDlg::OnCancel);
}

CProgressDlg::~CProgressDlg() = default;

QString CProgressDlg::title() const
{
    return *m_title ? tr(m_title) : QString();
}

void CProgressDlg::retranslate()
{
    setWindowTitle(*m_title ? title() : tr("进度窗口"));
    m_start->setText(tr("开始"));
    m_cancelButton->setText(tr("取消"));
    m_valueLabel->setText(tr("进度值:"));
    if (m_waiting)
        m_status->setText(tr("等待中......"));
}

void CProgressDlg::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

void CProgressDlg::layOut()
{
    const QFontMetrics m(font());
    m_start->setGeometry(toPixels(m, kStartRect));
    m_cancelButton->setGeometry(toPixels(m, kCancelRect));
    m_progress->setGeometry(toPixels(m, kProgressRect));
    m_valueLabel->setGeometry(toPixels(m, kValueLabelRect));
    m_status->setGeometry(toPixels(m, kStatusRect));
    setFixedSize(toPixels(m, {0, 0, kTemplateWidthDu, kTemplateHeightDu}).size());
}

void CProgressDlg::createWindow()
{
    // The template's font and layout are applied when the window is first
    // made: finding the font costs start-up time otherwise.
    if (!m_laidOut) {
        setFont(templateFont());
        layOut();
        m_laidOut = true;
    }
    OnInitDialog();
    m_windowExists = true;
    show();
    raise();
    activateWindow();
}

void CProgressDlg::OnInitDialog()
{
    m_progress->setRange(0, tavin::link::kProgressMaximum);
    m_progress->setValue(0);
    m_waiting = true;
    m_status->setText(tr("等待中......"));
    m_cancel = 0;
    m_start->setEnabled(true);
    m_start->setFocus();
    setWindowTitle(title());
}

void CProgressDlg::closeWindow()
{
    m_windowExists = false;
    hide();
}

bool CProgressDlg::startEnabled() const
{
    return m_start->isEnabled();
}

void CProgressDlg::setStatusText(const QString &text)
{
    m_waiting = false;
    m_status->setText(text);
}

void CProgressDlg::setProgress(int position)
{
    m_progress->setValue(position);
}

void CProgressDlg::OnOK()
{
    if (!m_windowExists || !m_start->isEnabled())
        return;
    m_start->setEnabled(false);
    QMetaObject::invokeMethod(this, &CProgressDlg::startRequested, Qt::QueuedConnection);
}

void CProgressDlg::OnCancel()
{
    if (!m_windowExists)
        return;
    m_cancel = 1;
    // Before Start: the window goes. After Start the transfer sees the flag
    // at its next cancel test and closes the window itself.
    if (m_start->isEnabled())
        closeWindow();
}

void CProgressDlg::closeEvent(QCloseEvent *event)
{
    event->ignore();
    OnCancel();
}
