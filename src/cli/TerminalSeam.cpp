#include "TerminalSeam.h"

#include "ExitCodes.h"
#include "SafeReplace.h"

#include <cerrno>
#include <csignal>
#include <cstdio>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace tavin::cli {

namespace {
volatile std::sig_atomic_t g_interrupted = 0;

extern "C" void onInterrupt(int signalNumber)
{
    g_interrupted = 1;
    std::signal(signalNumber, SIG_DFL);
}

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
