// The two platform calls the radio verbs need: whether stderr is a terminal,
// and catching Ctrl+C so a transfer can close the port before exiting.
#pragma once

namespace tavin::cli {

bool stderrIsTerminal();

// Installs the Ctrl+C handler. The first Ctrl+C only sets the flag (the
// transfer stops at its next cancel test); a second one ends the program.
void installInterruptHandler();
bool interruptRequested();

}  // namespace tavin::cli
