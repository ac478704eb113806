#pragma once

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// A few threads that keep several files in flight: on a cold disk, a card or
// a network share every open and read waits for the device, and waiting for
// several at once takes about as long as waiting for one.
//
// forEach() hands the indices of one chunk of work to the threads and to the
// calling thread, and returns when every index is done. With one job it runs
// everything on the calling thread, in order.
class IoPool {
public:
    explicit IoPool(int jobs);
    ~IoPool();
    IoPool(const IoPool &) = delete;
    IoPool &operator=(const IoPool &) = delete;

    int jobs() const { return int(threads.size()) + 1; }
    void forEach(size_t count, const std::function<void(size_t)> &work);

    // The number of jobs when nobody chose one.
    static constexpr int defaultJobs = 8;
    static constexpr int maximumJobs = 64;

private:
    void serve();
    void drain();

    std::vector<std::thread> threads;
    std::mutex mutex;
    std::condition_variable wake, finished;
    const std::function<void(size_t)> *task = nullptr;
    size_t total = 0, next = 0, done = 0;
    unsigned round = 0;
    bool stopping = false;
};
