#pragma once

#include <functional>
#include <memory>

#include <QThread>

// Work on many displays at once, on a bounded number of threads.
namespace Parallel {

// How many transfers run at once; the rest wait for a free thread.
inline constexpr int MostAtOnce = 32;

// Starts a thread running `body`; nullptr when the system cannot start one.
using StartThread = std::function<std::unique_ptr<QThread>(std::function<void()> body)>;
std::unique_ptr<QThread> startThread(std::function<void()> body);

// Calls work(0) .. work(count - 1), each once, on at most `limit` threads,
// and returns when every call has returned. When no thread can be started
// the calling thread does the work, one item after the other, so that no
// item is left out.
void forEach(int count, int limit, const std::function<void(int)> &work,
             const StartThread &start = startThread);

} // namespace Parallel
