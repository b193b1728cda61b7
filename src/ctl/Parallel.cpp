#include "Parallel.h"

#include <atomic>
#include <vector>

namespace Parallel {

std::unique_ptr<QThread> startThread(std::function<void()> body)
{
    std::unique_ptr<QThread> thread(QThread::create(std::move(body)));
    thread->start();
    // A thread that could not be created neither runs nor has finished.
    if (!thread->isRunning() && !thread->isFinished())
        return nullptr;
    return thread;
}

void forEach(int count, int limit, const std::function<void(int)> &work, const StartThread &start)
{
    std::atomic<int> next{0};
    const auto takeAll = [&] {
        for (int item = next++; item < count; item = next++)
            work(item);
    };
    std::vector<std::unique_ptr<QThread>> threads;
    for (int k = 0; k < qMin(count, limit); ++k) {
        std::unique_ptr<QThread> thread = start(takeAll);
        if (!thread)
            break;
        threads.push_back(std::move(thread));
    }
    if (threads.empty())
        takeAll();
    // Every item ends by itself: each wait inside a transfer has a bound.
    for (const auto &thread : threads)
        thread->wait();
}

} // namespace Parallel
