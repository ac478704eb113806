#include "cancelonsignal.h"

#include <csignal>
#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// Setting a lock-free atomic is safe in a signal handler.
static_assert(std::atomic<bool>::is_always_lock_free, "the cancel flag must be lock-free");
std::atomic<bool> *cancelFlag = nullptr;

extern "C" void requestCancel(int)
{
    if (cancelFlag)
        cancelFlag->store(true);
}

#ifdef _WIN32
// Windows has no SIGTERM from outside; Ctrl-C, Ctrl-Break and closing the
// console window arrive as console control events, on a thread of their own.
// Closing the window ends the process once the handler returns, so the handler
// then waits a little for the picture in hand.
std::atomic<bool> passRunning{false};

BOOL WINAPI consoleEvent(DWORD event)
{
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
        requestCancel(0);
        return TRUE;
    case CTRL_CLOSE_EVENT:
        requestCancel(0);
        for (int i = 0; i < 40 && passRunning.load(); ++i)
            Sleep(100);
        return TRUE;
    default:
        return FALSE;
    }
}
#else
constexpr int caught[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};
#endif

} // namespace

#ifdef _WIN32
CancelOnSignal::CancelOnSignal(std::atomic<bool> &flag)
{
    cancelFlag = &flag;
    passRunning = true;
    SetConsoleCtrlHandler(consoleEvent, TRUE);
}

CancelOnSignal::~CancelOnSignal()
{
    SetConsoleCtrlHandler(consoleEvent, FALSE);
    passRunning = false;
    cancelFlag = nullptr;
}
#else
CancelOnSignal::CancelOnSignal(std::atomic<bool> &flag)
{
    static_assert(sizeof caught / sizeof caught[0] == caughtCount, "one old handler for each signal caught");
    cancelFlag = &flag;
    for (int i = 0; i < caughtCount; ++i)
        old[i] = std::signal(caught[i], requestCancel);
}

CancelOnSignal::~CancelOnSignal()
{
    for (int i = 0; i < caughtCount; ++i)
        std::signal(caught[i], old[i] == SIG_ERR ? SIG_DFL : old[i]);
    cancelFlag = nullptr;
}
#endif
