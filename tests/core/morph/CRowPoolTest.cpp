#include "morph/CRowPool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

namespace {

TEST(CRowPool, EveryRowOnceWithWorkerNumbersInRange)
{
    for (int32_t threads : {1, 2, 3, 5}) {
        CRowPool pool(threads);
        EXPECT_EQ(pool.GetThreadCount(), threads);
        for (int32_t count : {0, 1, 2, 7, 100, 1081}) {
            for (int32_t grain : {1, 3, 64}) {
                std::vector<std::atomic<int32_t>> hits(static_cast<size_t>(count));
                std::atomic<bool> badWorker{false};
                std::atomic<bool> badSlice{false};
                // No more threads take part than there are slices.
                const int32_t participants = pool.Participants(count, grain);
                EXPECT_EQ(participants, std::max(1, std::min(threads, (count + grain - 1) / grain)));
                pool.Run(count, grain, [&](int32_t first, int32_t last, int32_t worker) {
                    if (worker < 0 || worker >= participants) badWorker = true;
                    if (first >= last || last - first > grain) badSlice = true;
                    for (int32_t i = first; i < last; ++i) {
                        hits[static_cast<size_t>(i)].fetch_add(1);
                    }
                });
                for (int32_t i = 0; i < count; ++i) {
                    ASSERT_EQ(hits[static_cast<size_t>(i)].load(), 1)
                        << "row " << i << " of " << count << ", grain " << grain << ", " << threads << " threads";
                }
                EXPECT_FALSE(badWorker);
                EXPECT_FALSE(badSlice);
            }
        }
    }
}

// Threads far beyond the hardware's only cost memory: a pool takes a few
// per hardware thread at most.
TEST(CRowPool, TakesAFewThreadsPerHardwareThreadAtMost)
{
    const int32_t most = CRowPool::MaxThreadCount();
    EXPECT_GE(most, 8);
    EXPECT_LE(most, std::max(8, 4 * CRowPool::DefaultThreadCount()));
    CRowPool pool(1024);
    EXPECT_EQ(pool.GetThreadCount(), most);
    std::atomic<int32_t> rows{0};
    EXPECT_TRUE(pool.Run(1000, 1, [&](int32_t first, int32_t last, int32_t) { rows.fetch_add(last - first); }));
    EXPECT_EQ(rows.load(), 1000);
}

TEST(CRowPool, SpreadsOverItsThreads)
{
    CRowPool pool(3);
    std::vector<std::atomic<int32_t>> byWorker(3);
    // A thread's first slice waits (for at most ten seconds) until every thread
    // holds one, so a busy machine cannot let two threads take them all.
    std::atomic<int32_t> started{0};
    pool.Run(60, 1, [&](int32_t, int32_t, int32_t worker) {
        if (byWorker[static_cast<size_t>(worker)].fetch_add(1) == 0) {
            started.fetch_add(1);
            const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (started.load() < 3 && std::chrono::steady_clock::now() < until)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    });
    int32_t total = 0;
    for (auto& n : byWorker) {
        EXPECT_GT(n.load(), 0);
        total += n.load();
    }
    EXPECT_EQ(total, 60);
}

TEST(CRowPool, RunsFromSeveralThreadsOneAfterAnother)
{
    CRowPool pool(2);
    std::mutex mutex;
    std::vector<int32_t> order;
    auto caller = [&](int32_t id) {
        for (int32_t rep = 0; rep < 20; ++rep) {
            const int32_t run = id * 100 + rep;
            pool.Run(6, 1, [&, run](int32_t, int32_t, int32_t) {
                std::this_thread::sleep_for(std::chrono::microseconds(100));
                std::lock_guard<std::mutex> lock(mutex);
                order.push_back(run);
            });
        }
    };
    std::thread a(caller, 1), b(caller, 2), c(caller, 3);
    a.join();
    b.join();
    c.join();
    ASSERT_EQ(order.size(), 3u * 20u * 6u);
    // The slices of one run are never interleaved with another's.
    for (size_t i = 0; i < order.size(); i += 6) {
        for (size_t j = 1; j < 6; ++j) {
            ASSERT_EQ(order[i + j], order[i]) << "at " << i + j;
        }
    }
}

TEST(CRowPool, AnAbandonedTicketSkipsTheRestAndAFreshOneRunsAll)
{
    for (int32_t threads : {1, 2, 3}) {
        CRowPool pool(threads);
        CCancelToken token;
        std::atomic<int32_t> rows{0};
        // Cancelled from another thread once ten slices have run; the
        // slices are slow enough that most are still to come.
        std::thread canceller([&] {
            while (rows.load() < 10)
                std::this_thread::yield();
            token.Cancel();
        });
        const bool whole = pool.Run(
            1000, 1,
            [&](int32_t, int32_t, int32_t) {
                rows.fetch_add(1);
                std::this_thread::sleep_for(std::chrono::microseconds(500));
            },
            token.Issue());
        canceller.join();
        EXPECT_FALSE(whole) << threads << " threads";
        EXPECT_LT(rows.load(), 500) << threads << " threads";

        // Abandoned before it starts: nothing runs.
        const CCancelToken::Ticket old = token.Issue();
        token.Cancel();
        rows = 0;
        EXPECT_FALSE(pool.Run(
            50, 1, [&](int32_t, int32_t, int32_t) { rows.fetch_add(1); }, old));
        EXPECT_EQ(rows.load(), 0);

        rows = 0;
        EXPECT_TRUE(pool.Run(
            50, 1, [&](int32_t, int32_t, int32_t) { rows.fetch_add(1); }, token.Issue()));
        EXPECT_EQ(rows.load(), 50);
    }
}

} // namespace
