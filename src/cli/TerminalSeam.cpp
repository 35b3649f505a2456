#include "TerminalSeam.h"

#include "ExitCodes.h"
#include "SafeReplace.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>

#ifdef _WIN32
#include <io.h>
#else
#include <signal.h>
#include <unistd.h>
#endif

namespace tavin::cli {

namespace {
volatile std::sig_atomic_t g_interrupted = 0;
bool g_handlerInstalled = false;

#ifdef _WIN32
extern "C" void onInterrupt(int signalNumber)
{
    g_interrupted = 1;
    std::signal(signalNumber, SIG_DFL);
}
#else
// Every way a user or the system asks a program to stop: Ctrl+C, Ctrl+\,
// kill, and the hang-up of a terminal window closed or a remote session
// dropped.
constexpr int kStopSignals[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM};

void setAction(int signalNumber, void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signalNumber, &action, nullptr);
}

// The first stop signal only sets the flag; after it any other one ends the
// program at once. A hang-up counts once: a closed terminal sends SIGHUP
// twice within a millisecond (the shell passes its own on, and the kernel
// sends one more when the shell ends), which is no second request. Two
// signals may reach two threads at the same moment: the first is decided by
// one atomic exchange.
std::atomic<int> g_firstStop{0};
static_assert(std::atomic<int>::is_always_lock_free, "used in a signal handler");

extern "C" void onStopSignal(int signalNumber)
{
    int first = 0;
    if (g_firstStop.compare_exchange_strong(first, signalNumber)) {
        g_interrupted = 1;
        for (const int s : kStopSignals)
            setAction(s, s == SIGHUP && signalNumber == SIGHUP ? SIG_IGN : SIG_DFL);
        return;
    }
    if (signalNumber == SIGHUP && first == SIGHUP)
        return;
    setAction(signalNumber, SIG_DFL);
    ::raise(signalNumber);
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
    // Once per run: a request that came between two transfers of one verb
    // (the backup read and the write) must not be forgotten.
    if (g_handlerInstalled)
        return;
    g_handlerInstalled = true;
#ifdef _WIN32
    std::signal(SIGINT, onInterrupt);
#else
    for (const int s : kStopSignals)
        setAction(s, onStopSignal);
    // A reader of stdout or stderr that went away (a pager, tee, a closed
    // session) makes a write fail instead of ending the program in the
    // middle of a radio.
    setAction(SIGPIPE, SIG_IGN);
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
    // A list of differences that did not arrive is no finding either.
    return exitCode == kExitOk || exitCode == kExitVerifyMismatch ? kExitFile : exitCode;
}

}  // namespace tavin::cli
