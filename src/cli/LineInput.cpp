#include "LineInput.h"

#ifdef _WIN32
#include <conio.h>
#include <cstdio>
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <poll.h>
#include <unistd.h>
#endif

namespace tavin::cli {

#ifdef _WIN32

LineEvent waitForInputLine(int ms)
{
    if (_isatty(_fileno(stdin))) {
        const DWORD until = GetTickCount() + static_cast<DWORD>(ms);
        do {
            while (_kbhit()) {
                if (_getch() == '\r')
                    return LineEvent::Line;
            }
            Sleep(10);
        } while (static_cast<int>(until - GetTickCount()) > 0);
        return LineEvent::None;
    }
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD available = 0;
    if (!PeekNamedPipe(input, nullptr, 0, nullptr, &available, nullptr))
        return GetLastError() == ERROR_BROKEN_PIPE ? LineEvent::End : LineEvent::None;
    if (available == 0) {
        Sleep(static_cast<DWORD>(ms));
        return LineEvent::None;
    }
    char c = 0;
    DWORD got = 0;
    while (available-- > 0 && ReadFile(input, &c, 1, &got, nullptr) && got == 1) {
        if (c == '\n')
            return LineEvent::Line;
    }
    return LineEvent::None;
}

bool inputIsTerminal()
{
    return _isatty(_fileno(stdin)) != 0;
}

#else

LineEvent waitForInputLine(int ms)
{
    pollfd input{STDIN_FILENO, POLLIN, 0};
    const int ready = ::poll(&input, 1, ms);
    if (ready <= 0)
        return LineEvent::None;
    // Byte by byte, so that nothing after the line's end is taken from the next one.
    for (;;) {
        char c = 0;
        const ssize_t n = ::read(STDIN_FILENO, &c, 1);
        if (n == 0)
            return LineEvent::End;
        if (n < 0)
            return errno == EINTR || errno == EAGAIN ? LineEvent::None : LineEvent::End;
        if (c == '\n')
            return LineEvent::Line;
        pollfd more{STDIN_FILENO, POLLIN, 0};
        if (::poll(&more, 1, 0) <= 0)
            return LineEvent::None;
    }
}

bool inputIsTerminal()
{
    return ::isatty(STDIN_FILENO) != 0;
}

#endif

}  // namespace tavin::cli
