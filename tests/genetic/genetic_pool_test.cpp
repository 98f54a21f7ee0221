#include "genetic/genetic_pool.h"
#include "genetic/genetic_random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace wf {
namespace {

TEST(GeneticPool, EveryItemOnceInEveryBatch) {
    for (int threads : {1, 2, 3}) {
        GeneticPool pool(threads);
        EXPECT_EQ(pool.size(), threads);
        for (int n : {0, 1, 47, 48, 49, 1000, 3268}) {
            for (int rep = 0; rep < 20; ++rep) {
                std::vector<std::atomic<int>> hits(static_cast<std::size_t>(n));
                std::atomic<int> badWorker{0};
                pool.forEach(n, [&](int worker, int i) {
                    if (worker < 0 || worker >= threads) ++badWorker;
                    ++hits[static_cast<std::size_t>(i)];
                });
                for (int i = 0; i < n; ++i) ASSERT_EQ(hits[i].load(), 1) << n << " " << i;
                EXPECT_EQ(badWorker.load(), 0);
            }
        }
    }
}

TEST(GeneticPool, ZeroMeansTheMachinesCores) {
    const int cores = static_cast<int>(std::thread::hardware_concurrency());
    EXPECT_EQ(GeneticPool(0).size(), std::clamp(cores, 1, 64));
    EXPECT_EQ(GeneticPool(1000).size(), 64);
}

TEST(GeneticRandom, SeededDrawsRepeatAndStayInRange) {
    GeneticRandom a(5), b(5), c(6);
    bool differs = false;
    for (int i = 0; i < 1000; ++i) {
        const double x = a.next();
        EXPECT_EQ(x, b.next());
        EXPECT_GE(x, 0.0);
        EXPECT_LT(x, 1.0);
        differs = differs || x != c.next();
        if (i % 7 == 0) {
            a.reseed();
            b.reseed();
            c.reseed();
        }
    }
    EXPECT_TRUE(differs);
}

TEST(GeneticRandom, ReseedsFromTheClockNeverRepeatWithinATick) {
    GeneticRandom a, b;
    a.reseed();
    b.reseed(); // same clock tick most likely; the counter still tells them apart
    EXPECT_NE(a.nextBits(), b.nextBits());
    const std::uint64_t first = a.nextBits();
    a.reseed();
    EXPECT_NE(a.nextBits(), first);
}

} // namespace
} // namespace wf
