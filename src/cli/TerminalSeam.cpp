#include "TerminalSeam.h"

#include "ExitCodes.h"
#include "SafeReplace.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace tavin::cli {

namespace {
volatile std::sig_atomic_t g_interrupted = 0;
#ifdef _WIN32
// Windows gives a closing console's process about five seconds.
constexpr DWORD kConsoleCloseWaitMs = 10000;
#endif

extern "C" void onInterrupt(int signalNumber)
{
    g_interrupted = 1;
    std::signal(signalNumber, SIG_DFL);
}

#ifdef _WIN32
// The console's events: Ctrl+C and Ctrl+Break as the interrupt, and the
// console window being closed (or its session ending), after which Windows
// ends the process a few seconds later whatever the handler does. Each only
// sets the flag; the transfer stops at its next cancel test, closes the port
// and writes its records, and the process then exits while this handler
// waits. A second Ctrl+C or Ctrl+Break ends the program at once.
BOOL WINAPI onConsoleEvent(DWORD event)
{
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
        if (g_interrupted)
            return FALSE;  // the system's handler ends the process
        g_interrupted = 1;
        return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        g_interrupted = 1;
        // Returning would end the process now: give the transfer the time
        // the system allows to reach its safe point and exit on its own.
        Sleep(kConsoleCloseWaitMs);
        return TRUE;
    default:
        return FALSE;
    }
}

UINT g_savedOutputCodePage = 0;

void restoreConsoleCodePage()
{
    if (g_savedOutputCodePage)
        SetConsoleOutputCP(g_savedOutputCodePage);
}
#endif

// The reason standard output fails, found by writing one byte straight to its
// descriptor: a write that failed earlier (inside a stream that has since
// been closed) has left only the error flag behind, not its reason. The byte
// goes to an output that is already incomplete.
int probeStandardOutput()
{
    errno = 0;
#ifdef _WIN32
    const bool written = _write(_fileno(stdout), "\n", 1) == 1;
#else
    ssize_t n;
    do {
        n = ::write(STDOUT_FILENO, "\n", 1);
    } while (n < 0 && errno == EINTR);
    const bool written = n == 1;
#endif
    return written ? EIO : errno;
}
}  // namespace

bool stderrIsTerminal()
{
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return ::isatty(STDERR_FILENO) != 0;
#endif
}

void installInterruptHandler()
{
    g_interrupted = 0;
    std::signal(SIGINT, onInterrupt);
#ifndef _WIN32
    std::signal(SIGTERM, onInterrupt);
#else
    static const bool installed = SetConsoleCtrlHandler(onConsoleEvent, TRUE) != 0;
    (void)installed;
#endif
}

void prepareConsole()
{
#ifdef _WIN32
    // Output is UTF-8; a console shows it as such only in code page 65001.
    // The console's own code page comes back when the program ends.
    const bool console = _isatty(_fileno(stdout)) || _isatty(_fileno(stderr));
    const UINT current = GetConsoleOutputCP();
    if (console && current != 0 && current != CP_UTF8 && SetConsoleOutputCP(CP_UTF8)) {
        g_savedOutputCodePage = current;
        std::atexit(restoreConsoleCodePage);
    }
#endif
}

bool interruptRequested()
{
    return g_interrupted != 0;
}

int finishStandardOutput(int exitCode)
{
    errno = 0;
    const bool flushed = std::fflush(stdout) == 0;
    int error = errno;
    if (flushed && !std::ferror(stdout))
        return exitCode;
    if (flushed || error == 0)
        error = probeStandardOutput();
    std::fprintf(stderr, "tavin-cli: cannot write standard output: %s\n", systemErrorText(error).c_str());
    return exitCode == kExitOk ? kExitFile : exitCode;
}

}  // namespace tavin::cli
