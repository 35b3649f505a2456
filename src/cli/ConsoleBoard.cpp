#include "ConsoleBoard.h"

#include <QStringList>

namespace tavin::cli {

namespace {
// Percentages are redrawn at most this often; state changes at once.
constexpr qint64 kRedrawMs = 100;
constexpr const char *kNoWrap = "\x1b[?7l";  // long lines are cut at the edge, so
constexpr const char *kWrap = "\x1b[?7h";    // each status takes exactly one line
}  // namespace

using fleet::PortState;
using fleet::PortStatus;
using fleet::RadioResult;

ConsoleBoard::ConsoleBoard(std::FILE *out, bool terminal, bool confirm)
    : m_out(out), m_terminal(terminal), m_confirm(confirm)
{
    m_sinceDraw.start();
}

void ConsoleBoard::setPorts(const QStringList &labels)
{
    QMutexLocker lock(&m_mutex);
    m_ports.clear();
    m_shownStates.clear();
    for (const QString &label : labels) {
        PortStatus status;
        status.label = label;
        m_ports.push_back(status);
        m_shownStates.push_back(PortState::Stopped);
    }
}

void ConsoleBoard::portChanged(int index, const PortStatus &status)
{
    QMutexLocker lock(&m_mutex);
    if (index < 0 || static_cast<std::size_t>(index) >= m_ports.size())
        return;
    const auto i = static_cast<std::size_t>(index);
    const bool newState = status.state != m_shownStates[i] || status.radio != m_ports[i].radio;
    m_ports[i] = status;
    if (!m_terminal) {
        // A finished radio has its note already.
        const bool noted = status.state == PortState::RadioDone || status.state == PortState::Confirm;
        if (newState && !noted)
            writeLocked(statusLine(status, false) + QLatin1Char('\n'));
        m_shownStates[i] = status.state;
        return;
    }
    if (newState || m_sinceDraw.elapsed() >= kRedrawMs) {
        m_shownStates[i] = status.state;
        drawLocked();
    }
}

void ConsoleBoard::radioEnded(int index, const fleet::RadioEnd &end)
{
    QMutexLocker lock(&m_mutex);
    const fleet::RadioRecord &record = end.record;
    const QString label = index >= 0 && std::size_t(index) < m_ports.size() ? m_ports[std::size_t(index)].label
                                                                            : record.port;
    QString line =
        QStringLiteral("radio %1 on %2: %3").arg(record.radio).arg(label, outcomeText(record.result, record.message));
    if (end.portGoesOn)
        line += m_confirm ? QStringLiteral(" — connect the next radio and press Enter")
                          : QStringLiteral(" — connect the next radio");
    for (const QString &difference : record.differences)
        line += QStringLiteral("\n    ") + difference;
    noteLocked(line);
    if (!end.logError.isEmpty())
        noteLocked(QStringLiteral("clone: %1; no new radio starts").arg(end.logError));
}

void ConsoleBoard::note(const QString &line)
{
    QMutexLocker lock(&m_mutex);
    noteLocked(line);
}

void ConsoleBoard::noteLocked(const QString &line)
{
    if (!m_terminal) {
        writeLocked(line + QLatin1Char('\n'));
        return;
    }
    eraseLocked();
    writeLocked(line + QLatin1Char('\n'));
    drawLocked();
}

void ConsoleBoard::enterEchoed()
{
    QMutexLocker lock(&m_mutex);
    // The echoed line is erased with the status lines at the next redraw.
    if (m_terminal && m_drawnLines > 0)
        ++m_drawnLines;
}

void ConsoleBoard::finish()
{
    QMutexLocker lock(&m_mutex);
    if (m_terminal) {
        drawLocked();
        m_drawnLines = 0;  // they stay on the screen
    }
}

void ConsoleBoard::eraseLocked()
{
    if (m_drawnLines > 0)
        writeLocked(QStringLiteral("\x1b[%1A\r\x1b[J").arg(m_drawnLines));
    m_drawnLines = 0;
}

void ConsoleBoard::drawLocked()
{
    QString text = QString::fromLatin1(kNoWrap);
    if (m_drawnLines > 0)
        text += QStringLiteral("\x1b[%1A").arg(m_drawnLines);
    for (const PortStatus &status : m_ports)
        text += QStringLiteral("\r\x1b[2K") + statusLine(status) + QLatin1Char('\n');
    text += QStringLiteral("\x1b[J") + QString::fromLatin1(kWrap);  // and whatever was typed below
    writeLocked(text);
    m_drawnLines = static_cast<int>(m_ports.size());
    m_sinceDraw.restart();
}

void ConsoleBoard::writeLocked(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), m_out);
    std::fflush(m_out);
}

namespace {

QString radioOn(const PortStatus &s)
{
    return QStringLiteral("radio %1 on %2").arg(s.radio).arg(s.label);
}

QString counts(const PortStatus &s)
{
    if (s.verified == 0 && s.failed == 0)
        return {};
    QString text = QStringLiteral("  [%1 verified").arg(s.verified);
    if (s.failed > 0)
        text += QStringLiteral(", %1 failed").arg(s.failed);
    return text + QLatin1Char(']');
}

QString lastOutcome(const PortStatus &s)
{
    return s.lastResult ? outcomeText(*s.lastResult, s.lastMessage) : QString();
}

}  // namespace

QString outcomeText(RadioResult result, const QString &message)
{
    switch (result) {
    case RadioResult::Verified:
        return QStringLiteral("programmed and verified");
    case RadioResult::VerifyMismatch:
        return QStringLiteral("VERIFY MISMATCH: ") + message;
    case RadioResult::Failed:
        return QStringLiteral("FAILED: ") + message;
    case RadioResult::Cancelled:
        return QStringLiteral("CANCELLED: ") + message;
    }
    return {};
}

QString statusLine(const PortStatus &s, bool withBlock)
{
    const QString block = withBlock && s.block > 0 ? QStringLiteral(", block %1 of %2").arg(s.block).arg(s.blocks)
                                                     : QString();
    QString line;
    switch (s.state) {
    case PortState::Waiting:
        line = QStringLiteral("waiting for a radio on %1").arg(s.label);
        break;
    case PortState::Backup:
        line = radioOn(s) + QStringLiteral(": reading the backup") + block;
        break;
    case PortState::Writing:
        line = radioOn(s) + QStringLiteral(": writing") + block;
        break;
    case PortState::ReadingBack:
        line = radioOn(s) + QStringLiteral(": reading back") + block;
        break;
    case PortState::RadioDone:
        line = radioOn(s) + QStringLiteral(": %1 — connect the next radio").arg(lastOutcome(s));
        break;
    case PortState::Confirm:
        line = radioOn(s) + QStringLiteral(": %1 — connect the next radio and press Enter").arg(lastOutcome(s));
        break;
    case PortState::PortMissing: {
        const QString reason =
            s.problem == fleet::PortProblem::NoDevice ? QStringLiteral("no serial device found") : s.portError;
        line = QStringLiteral("%1: cannot open the port (%2); trying again").arg(s.label, reason);
        break;
    }
    case PortState::Stopped:
        line = QStringLiteral("%1: stopped").arg(s.label);
        break;
    }
    return line + counts(s);
}

}  // namespace tavin::cli
