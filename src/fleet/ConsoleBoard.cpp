#include "ConsoleBoard.h"

#include <QStringList>

namespace tavin::fleet {

namespace {
// Percentages are redrawn at most this often; state changes at once.
constexpr qint64 kRedrawMs = 100;
constexpr const char *kNoWrap = "\x1b[?7l";  // long lines are cut at the edge, so
constexpr const char *kWrap = "\x1b[?7h";    // each status takes exactly one line
}  // namespace

ConsoleBoard::ConsoleBoard(std::FILE *out, bool terminal) : m_out(out), m_terminal(terminal)
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

void ConsoleBoard::note(const QString &line)
{
    QMutexLocker lock(&m_mutex);
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

}  // namespace tavin::fleet
