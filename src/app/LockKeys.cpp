#include "LockKeys.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

LockKeyState readLockKeys()
{
    LockKeyState state;
#ifdef Q_OS_WIN
    state.caps = (GetKeyState(VK_CAPITAL) & 1) != 0;
    state.num = (GetKeyState(VK_NUMLOCK) & 1) != 0;
    state.scroll = (GetKeyState(VK_SCROLL) & 1) != 0;
#endif
    return state;
}
