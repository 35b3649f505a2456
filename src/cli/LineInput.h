// Enter presses on standard input, without blocking the caller for long: the
// one place with the platform's console calls (used by --confirm).
#pragma once

namespace tavin::cli {

enum class LineEvent {
    None,  // nothing complete within the time
    Line,  // a line ended (Enter)
    End,   // the input is closed: no line will ever come
};

// Waits up to ms for the end of a line on standard input.
LineEvent waitForInputLine(int ms);

// True when standard input is a terminal (it echoes the Enter as a new line).
bool inputIsTerminal();

}  // namespace tavin::cli
