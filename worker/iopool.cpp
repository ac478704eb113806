#include "iopool.h"

#include <algorithm>

IoPool::IoPool(int jobs)
{
    const int helpers = std::clamp(jobs, 1, maximumJobs) - 1;
    threads.reserve(size_t(helpers));
    for (int i = 0; i < helpers; ++i)
        threads.emplace_back([this] { serve(); });
}

IoPool::~IoPool()
{
    {
        std::lock_guard<std::mutex> hold(mutex);
        stopping = true;
    }
    wake.notify_all();
    for (std::thread &t : threads)
        t.join();
}

void IoPool::forEach(size_t count, const std::function<void(size_t)> &work)
{
    if (threads.empty() || count <= 1) {
        for (size_t i = 0; i < count; ++i)
            work(i);
        return;
    }
    {
        std::lock_guard<std::mutex> hold(mutex);
        task = &work;
        total = count;
        next = 0;
        done = 0;
        ++round;
    }
    wake.notify_all();
    drain();
    std::unique_lock<std::mutex> hold(mutex);
    finished.wait(hold, [this] { return done == total; });
    task = nullptr;
}

// Takes indices of the current round until none is left.
void IoPool::drain()
{
    std::unique_lock<std::mutex> hold(mutex);
    while (task && next < total) {
        const size_t i = next++;
        const std::function<void(size_t)> *work = task;
        hold.unlock();
        (*work)(i);
        hold.lock();
        if (++done == total)
            finished.notify_all();
    }
}

void IoPool::serve()
{
    unsigned seen = 0;
    for (;;) {
        {
            std::unique_lock<std::mutex> hold(mutex);
            wake.wait(hold, [&] { return stopping || (round != seen && task); });
            if (stopping)
                return;
            seen = round;
        }
        drain();
    }
}
