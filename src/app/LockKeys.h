// The state of the caps, num and scroll lock keys, for the status bar.
#pragma once

struct LockKeyState {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

// Where the platform offers no way to read them, all three read as off.
LockKeyState readLockKeys();
