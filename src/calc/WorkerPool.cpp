#include "calc/WorkerPool.h"

#include <system_error>

namespace kadrel {

WorkerPool::WorkerPool(unsigned threads) {
    try {
        threads_.reserve(threads);
        for (unsigned t = 0; t < threads; ++t) threads_.emplace_back([this] { Work(); });
    } catch (const std::system_error& e) {
        // No thread to be had: those started end before the error goes on.
        Close();
        throw std::system_error(e.code(), "cannot start a worker thread");
    }
}

WorkerPool::~WorkerPool() { Close(); }

void WorkerPool::Close() {
    {
        const std::lock_guard lock(mutex_);
        closing_ = true;
    }
    wake_.notify_all();
    for (auto& thread : threads_) thread.join();
}

void WorkerPool::Submit(std::function<void()> task) {
    {
        const std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    wake_.notify_one();
}

void WorkerPool::Work() {
    for (;;) {
        std::function<void()> task;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return closing_ || !tasks_.empty(); });
            if (tasks_.empty()) return;
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
        task();
    }
}

}  // namespace kadrel
