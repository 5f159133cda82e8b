#include "vq/WorkerPool.h"

#include <atomic>
#include <gtest/gtest.h>
#include <new>
#include <stdexcept>

namespace fenwold {
namespace {

// Memory running out in a task, on whichever thread runs it, reaches the caller of Run once
// every thread has left the batch; the pool goes on working.
TEST(WorkerPool, AFailingTaskEndsTheBatchAndReachesTheCaller) {
    WorkerPool pool(3);
    for (const std::size_t failing : {std::size_t{0}, std::size_t{5}, std::size_t{999}}) {
        std::atomic<int> ran{0};
        EXPECT_THROW(pool.Run(1000,
                              [&](std::size_t i) {
                                  if (i == failing) {
                                      throw std::bad_alloc();
                                  }
                                  ran.fetch_add(1);
                              }),
                     std::bad_alloc)
            << failing;
        EXPECT_LT(ran.load(), 1000);
    }
    std::atomic<int> ran{0};
    pool.Run(100, [&](std::size_t) { ran.fetch_add(1); });
    EXPECT_EQ(ran.load(), 100);
    EXPECT_THROW(
        pool.ForChunks(10, 3, [](std::size_t, std::size_t) { throw std::runtime_error("chunk"); }),
        std::runtime_error);
}

} // namespace
} // namespace fenwold
