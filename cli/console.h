#pragma once

// What kelvaro-cli needs to know of the terminal it runs in.
class Console {
public:
    // Whether `fd` is a terminal someone can answer on. On Windows a console,
    // not merely a character device: _isatty() is also true for NUL.
    static bool isTerminal(int fd);
    // Whether `fd` is a terminal that takes the VT sequences the progress
    // line moves the cursor with (a Windows console is asked to take them).
    static bool isVirtualTerminal(int fd);
};
