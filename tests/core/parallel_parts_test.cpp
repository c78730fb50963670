// The split of a pass into parts on several threads: every part runs once
// whatever the threads, the count is held to 1..8, and a failure reaches
// the caller.
#include "core/parallel_parts.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

namespace {

TEST(ParallelParts, EveryPartRunsExactlyOnceWhateverTheThreads)
{
    for (int threads : {1, 2, 3, 8}) {
        const ParallelParts parallel(threads);
        EXPECT_EQ(parallel.threads(), threads);
        for (int parts : {0, 1, 2, 5, 64}) {
            std::vector<std::atomic<int>> runs(parts);
            parallel.run(parts, [&](int part) { ++runs[part]; });
            for (int part = 0; part < parts; ++part)
                ASSERT_EQ(runs[part].load(), 1) << threads << " threads, part " << part << " of " << parts;
        }
    }
}

TEST(ParallelParts, ThreadCountIsTheCoresUnlessChosenAndAtMostEight)
{
    ParallelParts parallel;
    EXPECT_EQ(parallel.threads(), processorCount());
    EXPECT_GE(processorCount(), 1);
    EXPECT_LE(processorCount(), 8);
    parallel.setThreads(100);
    EXPECT_EQ(parallel.threads(), 8);
    parallel.setThreads(0);
    EXPECT_EQ(parallel.threads(), processorCount());
}

TEST(ParallelParts, AFailingPartReachesTheCallerAfterTheOthersStop)
{
    for (int threads : {1, 3}) {
        std::atomic<int> started{0};
        EXPECT_THROW(ParallelParts(threads).run(20, [&](int part) {
                         ++started;
                         if (part == 2)
                             throw std::runtime_error("part 2");
                     }),
                     std::runtime_error);
        EXPECT_LE(started.load(), 20);
        EXPECT_GE(started.load(), 3);
    }
}

}  // namespace
