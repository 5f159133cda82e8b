#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace fenwold {

// A fixed set of threads that run numbered tasks; the thread that calls Run takes part. Results
// must not depend on which thread ran a task, so the thread count never changes an output.
class WorkerPool {
public:
    // 0 threads means one per hardware thread.
    explicit WorkerPool(int threadCount);
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    int ThreadCount() const { return static_cast<int>(helpers_.size()) + 1; }

    // Calls task(i) for every i below count and returns when all have returned; a task that
    // throws stops the batch, and Run throws the first such exception once every thread is out
    // of the batch (memory running out on a helper ends the run, not the program). After each task
    // it ran itself, the calling thread calls onOwnTaskDone with the number of tasks finished so
    // far, so that progress is only ever reported from that thread.
    void Run(std::size_t count, const std::function<void(std::size_t)>& task,
             const std::function<void(std::size_t)>& onOwnTaskDone = {});

    // Splits [0, size) into chunks of chunkSize and calls body(begin, end) for each;
    // onOwnChunkDone receives the number of items finished so far.
    void ForChunks(std::size_t size, std::size_t chunkSize,
                   const std::function<void(std::size_t, std::size_t)>& body,
                   const std::function<void(std::size_t)>& onOwnChunkDone = {});

private:
    void HelperLoop();
    void RunTasks();
    // False when the task threw (the exception is kept for Run).
    bool RunTask(const std::function<void(std::size_t)>& task, std::size_t i);

    std::vector<std::thread> helpers_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    const std::function<void(std::size_t)>* task_ = nullptr;
    std::size_t count_ = 0;
    std::atomic<std::size_t> next_{0};
    std::atomic<std::size_t> finished_{0};
    std::size_t generation_ = 0;
    int helpersDone_ = 0; // helpers that have left the current batch
    bool stopping_ = false;
    std::exception_ptr failure_; // the batch's first exception, under mutex_
};

} // namespace fenwold
