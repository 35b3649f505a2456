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

namespace tavin::cli {

class ConsoleBoard final : public fleet::CloneObserver {
public:
    // confirm: the ports wait for Enter between radios.
    ConsoleBoard(std::FILE *out, bool terminal, bool confirm);

    // The ports, in the order of their indexes; before the first change.
    void setPorts(const QStringList &labels);

    void portChanged(int index, const fleet::PortStatus &status) override;
    void radioEnded(int index, const fleet::RadioEnd &end) override;

    // A line to keep in the scroll-back: an error, a prompt.
    void note(const QString &line);
    // The terminal echoed an Enter typed for --confirm: the cursor is a line lower.
    void enterEchoed();

    // Draws the status lines a last time and leaves the cursor below them.
    void finish();

private:
    void noteLocked(const QString &line);
    void drawLocked();
    void eraseLocked();
    void writeLocked(const QString &text);

    std::FILE *m_out;
    const bool m_terminal;
    const bool m_confirm;
    QMutex m_mutex;
    std::vector<fleet::PortStatus> m_ports;
    std::vector<fleet::PortState> m_shownStates;
    int m_drawnLines = 0;
    QElapsedTimer m_sinceDraw;
};

// The one-line outcome of a radio: "programmed and verified", "FAILED: ...", ...
QString outcomeText(fleet::RadioResult result, const QString &message);

// The status as one line: "waiting for a radio on COM1 (/dev/ttyUSB0)",
// "radio 4 on COM1 (/dev/ttyUSB0): writing, block 57 of 123", ..., with the
// port's counts. Without withBlock the line names the step only ("writing").
QString statusLine(const fleet::PortStatus &status, bool withBlock = true);

}  // namespace tavin::cli
