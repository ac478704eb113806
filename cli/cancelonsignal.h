#pragma once

#include <atomic>

// While it lives, the ways of asking kelvaro-cli to stop raise `flag`
// instead of ending the process, so that a writing pass stops after the
// picture in hand, its journal is closed and what can be reported is:
// SIGINT, SIGTERM, SIGHUP (the terminal was closed) and SIGPIPE (the reader
// of the report went away); on Windows Ctrl-C, Ctrl-Break and closing the
// console window. One lives at a time.
class CancelOnSignal {
public:
    explicit CancelOnSignal(std::atomic<bool> &flag);
    ~CancelOnSignal();
    CancelOnSignal(const CancelOnSignal &) = delete;
    CancelOnSignal &operator=(const CancelOnSignal &) = delete;

private:
#ifndef _WIN32
    using Handler = void (*)(int);
    static constexpr int caughtCount = 4;
    Handler old[caughtCount] = {};   // the handlers put back at the end
#endif
};
