#include "console.h"

#ifdef _WIN32
#include <windows.h>
#include <io.h>
#else
#include <unistd.h>
#endif

#ifdef _WIN32
bool Console::isTerminal(int fd)
{
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}

// A console that cannot take VT sequences gets no progress line.
bool Console::isVirtualTerminal(int fd)
{
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    DWORD mode = 0;
    if (handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode))
        return false;
#ifndef ENABLE_VIRTUAL_TERMINAL_PROCESSING
#define ENABLE_VIRTUAL_TERMINAL_PROCESSING 0x0004
#endif
    return (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING)
        || SetConsoleMode(handle, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}
#else
bool Console::isTerminal(int fd)
{
    return isatty(fd) == 1;
}

bool Console::isVirtualTerminal(int fd)
{
    return isatty(fd) == 1;
}
#endif
