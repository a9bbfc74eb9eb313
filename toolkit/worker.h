// A thread of its own that runs tasks one after another, in the order given,
// below the window's thread: work the user should not wait for.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace toolkit {

class Worker {
public:
    Worker() = default;
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;
    // Runs what is queued, then ends the thread.
    ~Worker();

    // The thread starts with the first task, with COM for the imaging component.
    void Post(std::function<void()> task);
    // Blocks until every task posted so far has run.
    void Drain();

private:
    void Run();

    std::mutex mutex_;
    std::condition_variable wake_, idle_;
    std::deque<std::function<void()>> tasks_;
    bool busy_ = false, stop_ = false;
    std::thread thread_;
};

}  // namespace toolkit
