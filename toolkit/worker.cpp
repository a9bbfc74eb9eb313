#include "toolkit/worker.h"

#include <windows.h>
#include <objbase.h>

namespace toolkit {

Worker::~Worker() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void Worker::Post(std::function<void()> task) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        tasks_.push_back(std::move(task));
        if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
    }
    wake_.notify_one();
}

void Worker::Drain() {
    std::unique_lock<std::mutex> lock(mutex_);
    idle_.wait(lock, [this] { return tasks_.empty() && !busy_; });
}

void Worker::Run() {
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
    const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    for (;;) {
        std::function<void()> task;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [this] { return stop_ || !tasks_.empty(); });
            if (tasks_.empty()) break;
            task = std::move(tasks_.front());
            tasks_.pop_front();
            busy_ = true;
        }
        try {
            task();
        } catch (...) {
            // Out of memory: that task's work is lost; the program goes on.
        }
        task = nullptr;  // what it held goes before the queue says it is idle
        {
            std::lock_guard<std::mutex> lock(mutex_);
            busy_ = false;
        }
        idle_.notify_all();
    }
    if (SUCCEEDED(com)) CoUninitialize();
}

}  // namespace toolkit
