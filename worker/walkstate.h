#pragma once

#include <QDateTime>
#include <QString>

#include <atomic>
#include <chrono>
#include <thread>

// The state that one pass over a folder tree shares between the thread that
// starts it (the window, or the command line) and the worker that walks the tree.
//
// Counters and flags are atomics: the worker raises the counters while the
// starting thread samples them for progress and may raise `cancelRequested`.
// The dates and `shiftSeconds` are written before a worker starts; the dates
// and their paths are read by the starting thread only after the worker has finished.
//
// Capture dates are zone-less wall-clock values, held as QDateTime in Qt::UTC,
// so that comparing and shifting them never meets a daylight-saving gap.
struct WalkState {
    enum Phase { Survey = 0, Dating = 1, Shifting = 2 };

    std::atomic<int> phase{Survey};
    std::atomic<int> pictureCount{0};   // pictures met in the current pass
    std::atomic<int> validCount{0};     // pictures with a usable capture date (dating pass)
    QDateTime oldestDate;               // oldest usable capture date (dating pass)
    QDateTime newestDate;               // newest usable capture date (dating pass)
    QString oldestPath, newestPath;     // the pictures that hold them (of equal dates, the path that sorts first)
    std::atomic<int> folderCount{0};    // folders entered in the current pass
    std::atomic<int> outsideLinks{0};   // links leading outside the top folder, not followed
    // Dating pass: folders that could not be listed and pictures that could
    // not be opened or read (their dates are unknown, they are left alone),
    // and usable pictures that nobody may write (left alone too).
    std::atomic<int> unreadableCount{0};
    std::atomic<int> readOnlyCount{0};
    qint64 shiftSeconds = 0;            // added to every capture date (shifting pass)
    std::atomic<bool> cancelRequested{false};

    // Shifting pass: pictures whose dates were rewritten, and whether their file
    // times follow the new capture time (read afresh for every picture).
    std::atomic<int> changedCount{0};
    std::atomic<bool> adaptFileTimes{true};

    // A pass that writes (shift, undo, resume): the pictures it sets out to
    // change (the chosen usable pictures, or those its journal names), and of
    // them the pictures finished: written, or looked at and left alone. A
    // picture counts once its write has ended, not when it is handed over,
    // so that every face counts what the disk holds.
    std::atomic<int> writingTotal{0};
    std::atomic<int> doneCount{0};

    // Raised while the face asks whether to stop: the pictures in hand are
    // finished and no other is begun until it is lowered (or the pass is
    // cancelled).
    std::atomic<bool> pauseRequested{false};
    void waitWhilePaused() const
    {
        while (pauseRequested && !cancelRequested)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
};
