#include "vq/WorkerPool.h"

#include <algorithm>
#include <utility>

namespace fenwold {

WorkerPool::WorkerPool(int threadCount) {
    if (threadCount <= 0) {
        threadCount = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    }
    for (int i = 1; i < threadCount; ++i) {
        helpers_.emplace_back([this] { HelperLoop(); });
    }
}

WorkerPool::~WorkerPool() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (auto& helper : helpers_) {
        helper.join();
    }
}

void WorkerPool::RunTasks() {
    for (std::size_t i = next_.fetch_add(1); i < count_; i = next_.fetch_add(1)) {
        if (!RunTask(*task_, i)) {
            return;
        }
        finished_.fetch_add(1);
    }
}

bool WorkerPool::RunTask(const std::function<void(std::size_t)>& task, std::size_t i) {
    try {
        task(i);
        return true;
    } catch (...) {
        // The batch stops: no task is handed out any more, and Run raises the first failure.
        std::lock_guard lock(mutex_);
        if (!failure_) {
            failure_ = std::current_exception();
        }
        next_.store(count_);
        return false;
    }
}

void WorkerPool::HelperLoop() {
    std::size_t seen = 0;
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [&] { return stopping_ || generation_ != seen; });
            if (stopping_) {
                return;
            }
            seen = generation_;
        }
        RunTasks();
        {
            std::lock_guard lock(mutex_);
            ++helpersDone_;
        }
        done_.notify_all();
    }
}

void WorkerPool::Run(std::size_t count, const std::function<void(std::size_t)>& task,
                     const std::function<void(std::size_t)>& onOwnTaskDone) {
    if (count == 0) {
        return;
    }
    {
        std::lock_guard lock(mutex_);
        task_ = &task;
        count_ = count;
        next_ = 0;
        finished_ = 0;
        helpersDone_ = 0;
        failure_ = nullptr;
        ++generation_;
    }
    wake_.notify_all();
    for (std::size_t i = next_.fetch_add(1); i < count; i = next_.fetch_add(1)) {
        if (!RunTask(task, i)) {
            break;
        }
        const std::size_t done = finished_.fetch_add(1) + 1;
        if (onOwnTaskDone) {
            onOwnTaskDone(done);
        }
    }
    // Every helper passes through each batch, even one that finds no task left, so that none
    // still reads this batch's task when the next one is set up.
    std::unique_lock lock(mutex_);
    done_.wait(lock, [&] { return helpersDone_ == static_cast<int>(helpers_.size()); });
    task_ = nullptr;
    if (failure_) {
        std::rethrow_exception(std::exchange(failure_, nullptr));
    }
}

void WorkerPool::ForChunks(std::size_t size, std::size_t chunkSize,
                           const std::function<void(std::size_t, std::size_t)>& body,
                           const std::function<void(std::size_t)>& onOwnChunkDone) {
    const std::size_t chunks = (size + chunkSize - 1) / chunkSize;
    Run(
        chunks,
        [&](std::size_t chunk) {
            body(chunk * chunkSize, std::min(size, (chunk + 1) * chunkSize));
        },
        [&](std::size_t done) {
            if (onOwnChunkDone) {
                onOwnChunkDone(std::min(size, done * chunkSize));
            }
        });
}

} // namespace fenwold
