// A fleet run on a text console. On a terminal: one status line per port,
// redrawn in place below the notes that scroll up. Otherwise (a file, a
// pipe): plain lines, one for every change of a port's state and every note.
#pragma once

#include "CloneObserver.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QString>

#include <cstdio>
#include <vector>

namespace tavin::fleet {

class ConsoleBoard final : public CloneObserver {
public:
    ConsoleBoard(std::FILE *out, bool terminal);

    // The ports, in the order of their indexes; before the first change.
    void setPorts(const QStringList &labels);

    void portChanged(int index, const PortStatus &status) override;
    void note(const QString &line) override;
    void enterEchoed() override;

    // Draws the status lines a last time and leaves the cursor below them.
    void finish();

private:
    void drawLocked();
    void eraseLocked();
    void writeLocked(const QString &text);

    std::FILE *m_out;
    const bool m_terminal;
    QMutex m_mutex;
    std::vector<PortStatus> m_ports;
    std::vector<PortState> m_shownStates;
    int m_drawnLines = 0;
    QElapsedTimer m_sinceDraw;
};

}  // namespace tavin::fleet
