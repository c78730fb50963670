// ParallelParts: large passes split into parts that run on the machine's
// cores at once. Every part writes what no other part writes, in the order
// a single thread would, so the result has the same bits whatever the
// number of threads.
#pragma once

#include <cstdint>
#include <functional>

// The machine's cores, no more than eight; counted once.
int processorCount();

class ParallelParts {
public:
    // threads 0 means processorCount(); more than eight counts as eight.
    explicit ParallelParts(int threads = 0);

    // Threads a pass uses at most; 1 runs everything on the calling thread.
    int threads() const { return threadCount; }
    // Sets the number for the passes that follow; 0 goes back to the cores.
    void setThreads(int threads);

    // Calls work(part) for every part 0 .. parts - 1 and returns when all
    // are done. Parts are taken in turn by up to threads() threads, the
    // calling thread among them; the first failure is rethrown.
    void run(int parts, const std::function<void(int part)>& work) const;

private:
    int threadCount;
};

// The first of count items that part takes when parts share them evenly
// in order; part parts gives count.
inline int32_t partStart(int32_t count, int part, int parts)
{
    return static_cast<int32_t>(int64_t(count) * part / parts);
}
