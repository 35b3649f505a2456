// The platform calls of the command-line tool: whether stderr is a terminal,
// catching Ctrl+C so a transfer can close the port before exiting, and
// checking that everything written to standard output arrived.
#pragma once

namespace tavin::cli {

bool stderrIsTerminal();

// Installs the stop handler, once per run: Ctrl+C, and on POSIX systems also
// SIGHUP, SIGQUIT and SIGTERM. The first one only sets the flag (the
// transfer stops at its next cancel test, so the records reach the disk); a
// second one ends the program at once. A write to a closed pipe fails
// instead of ending the program.
void installInterruptHandler();
bool interruptRequested();

// Flushes standard output and checks that nothing written to it was lost (a
// full disk, /dev/full, a closed descriptor). Returns exitCode when all went
// out; otherwise reports "tavin-cli: cannot write standard output: <reason>"
// on stderr and returns kExitFile in place of kExitOk and of
// kExitVerifyMismatch (the differences were the output), else exitCode.
int finishStandardOutput(int exitCode);

}  // namespace tavin::cli
