#include "TerminalSeam.h"

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

}  // namespace tavin::cli
