#include "CliTransferUi.h"

#include "TerminalSeam.h"

#include <QTextStream>

#include <cstdio>

namespace tavin::cli {

namespace {
constexpr int kBarWidthChars = 30;
constexpr int kPlainStepsPerTransfer = 4;  // plain progress lines at 25, 50, 75, 100 %

bool isNumber(const QString &text)
{
    bool ok = false;
    text.toInt(&ok);
    return ok;
}
}  // namespace

CliTransferUi::CliTransferUi(QString what, int retries, bool drawBar)
    : m_what(std::move(what)), m_retriesLeft(retries), m_drawBar(drawBar)
{
}

CliTransferUi::~CliTransferUi()
{
    finish();
}

void CliTransferUi::setStatusText(const QString &text)
{
    if (isNumber(text))
        return;  // the block count: shown by the progress
    if (text == m_status)
        return;
    m_status = text;
    if (m_drawBar)
        drawBar();
    else
        QTextStream(stderr) << m_what << ": " << text << '\n';
}

void CliTransferUi::setProgress(int position)
{
    m_position = position;
    if (m_drawBar) {
        drawBar();
        return;
    }
    const int quarter = position * kPlainStepsPerTransfer / link::kProgressMaximum;
    if (quarter > m_lastQuarter) {
        m_lastQuarter = quarter;
        QTextStream(stderr) << m_what << ": " << quarter * 100 / kPlainStepsPerTransfer << "%\n";
    }
}

bool CliTransferUi::cancelRequested()
{
    return interruptRequested();
}

void CliTransferUi::showMessage(const QString &text)
{
    finish();
    QTextStream(stderr) << text.trimmed() << '\n';
}

bool CliTransferUi::askRetry(const QString &text)
{
    finish();
    QTextStream err(stderr);
    err << text << '\n';
    if (m_retriesLeft > 0 && !interruptRequested()) {
        --m_retriesLeft;
        err << m_what << ": retrying (" << m_retriesLeft << " more retries)\n";
        return true;
    }
    err << m_what << ": giving up (use --retries N to try again automatically)\n";
    return false;
}

void CliTransferUi::drawBar()
{
    const int filled = m_position * kBarWidthChars / link::kProgressMaximum;
    const int percent = m_position * 100 / link::kProgressMaximum;
    QTextStream err(stderr);
    err << '\r' << m_what << " [" << QString(filled, QLatin1Char('#'))
        << QString(kBarWidthChars - filled, QLatin1Char('.')) << "] "
        << QString::number(percent).rightJustified(3) << "% " << (m_position == 0 ? m_status : QString())
        << "\x1b[K";
    m_barShown = true;
}

void CliTransferUi::finish()
{
    if (m_barShown) {
        QTextStream(stderr) << '\n';
        m_barShown = false;
    }
}

}  // namespace tavin::cli
