// tavin-sim: a virtual radio on a pseudo-terminal, for trying the programming
// tool without a radio and for testing the link against a radio that
// misbehaves on purpose.
#include "DemoProgramming.h"
#include "DeviceLink.h"
#include "SimOptions.h"
#include "VirtualRadio.h"

#include <ChannelFile.h>
#include <SafeReplace.h>

#include <NativePath.h>
#include <QtMessageFilter.h>

#include <QCoreApplication>
#include <QStringList>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

int g_stopWriteFd = -1;

extern "C" void onStopSignal(int)
{
    const int savedErrno = errno;
    const char byte = 0;
    [[maybe_unused]] const ssize_t n = ::write(g_stopWriteFd, &byte, 1);
    errno = savedErrno;
}

// SIGINT, SIGTERM and SIGHUP make the returned descriptor readable.
bool catchStopSignals(int &stopReadFd)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return false;
    for (const int fd : fds) {
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
    g_stopWriteFd = fds[1];
    stopReadFd = fds[0];
    struct sigaction action{};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        if (::sigaction(signal, &action, nullptr) != 0)
            return false;
    }
    return true;
}

int fail(const std::string &message)
{
    std::fprintf(stderr, "tavin-sim: %s\n", message.c_str());
    return kExitFailure;
}

bool loadMemory(const tavin::sim::SimOptions &options, tavin::RadioImage &memory, std::string &error)
{
    if (!options.memoryFile) {
        memory = tavin::sim::demoProgramming();
        return true;
    }
    // Judged by what the file delivers, as tavin-cli judges it: an empty
    // file, a device or pipe with nothing in it, is not a radio's memory.
    std::size_t bytesRead = 0;
    const tavin::FileResult loaded =
        tavin::loadChannelFile(*options.memoryFile, memory, tavin::HiddenPreset::Uhf, &bytesRead);
    if (loaded && bytesRead == 0) {
        error = "channel file " + tavin::quotedPath(*options.memoryFile) + " is empty, expected 1024 bytes";
        return false;
    }
    if (!loaded)
        error = loaded.error;
    return loaded.ok;
}

}  // namespace

int main(int argc, char *argv[])
{
    tavin::platform::installQtMessageFilter();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tavin-sim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TAVIN_VERSION));

    tavin::sim::SimOptions options;
    std::string message;
    switch (tavin::sim::parseOptions(tavin::platform::arguments(argc, argv), options, message)) {
    case tavin::sim::ParseOutcome::Exit:
        std::fputs(message.c_str(), stdout);
        return kExitOk;
    case tavin::sim::ParseOutcome::UsageError:
        std::fprintf(stderr, "tavin-sim: %s\nTry 'tavin-sim --help'.\n", message.c_str());
        return kExitUsage;
    case tavin::sim::ParseOutcome::Run:
        break;
    }

    const tavin::sim::Clock::time_point start = tavin::sim::Clock::now();
    tavin::RadioImage memory;
    std::string error;
    if (!loadMemory(options, memory, error))
        return fail(error);
    if (options.radio.savePath) {
        // Found out now rather than after the user's first complete write.
        const std::filesystem::path folder = options.radio.savePath->parent_path();
        std::error_code ec;
        if (!folder.empty() && !std::filesystem::is_directory(folder, ec))
            return fail("cannot save to " + options.radio.savePath->string() + ": no folder " + folder.string());
    }
    if (options.radio.saveDir) {
        std::error_code ec;
        if (!std::filesystem::is_directory(*options.radio.saveDir, ec))
            return fail("cannot keep the radios' memories in " + options.radio.saveDir->string() + ": no such folder");
    }
    tavin::sim::ByteLog log;
    if (options.logPath && !log.open(*options.logPath, start, error))
        return fail(error);
    int stopFd = -1;
    if (!catchStopSignals(stopFd))
        return fail(std::string("cannot catch the stop signals: ") + std::strerror(errno));
    const std::unique_ptr<tavin::sim::PseudoTerminal> line = tavin::sim::PseudoTerminal::create(error);
    if (!line)
        return fail(error);
    std::unique_ptr<tavin::sim::DeviceLink> link;
    if (options.linkPath) {
        link = tavin::sim::DeviceLink::create(*options.linkPath, line->devicePath(), error);
        if (!link)
            return fail(error);
    }

    std::printf("%s\n", line->devicePath().c_str());
    std::fflush(stdout);
    std::fprintf(stderr, "tavin-sim: radio ready on %s%s%s (%s, fault %s, %s)\n", line->devicePath().c_str(),
                 link ? " as " : "", link ? options.linkPath->c_str() : "",
                 options.memoryFile ? options.memoryFile->c_str() : "demo programming",
                 options.radio.fault.text().c_str(), options.radio.paced ? "9600-baud timing" : "fast");
    if (options.radio.radioCount > 0)
        std::fprintf(stderr, "tavin-sim: %d radios one after another, %lld ms to swap; radio 1 plugged in\n",
                     options.radio.radioCount, static_cast<long long>(options.radio.swapTime.count()));

#ifdef __linux__
    // Answers are timed to a fraction of a byte time; the default timer slack
    // of 50 us would add up over a transfer's thousand exchanges.
    ::prctl(PR_SET_TIMERSLACK, 1UL);
#endif
    tavin::sim::VirtualRadio radio(*line, memory, options.radio, log);
    return radio.run(stopFd) ? kExitOk : kExitFailure;
}
