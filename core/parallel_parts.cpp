#include "core/parallel_parts.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace {
constexpr int mostThreads = 8;
}  // namespace

// The one process-wide value: the machine does not change while it runs.
int processorCount()
{
    static const int cores = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, mostThreads);
    return cores;
}

ParallelParts::ParallelParts(int threads)
{
    setThreads(threads);
}

void ParallelParts::setThreads(int threads)
{
    const int chosen = std::clamp(threads, 0, mostThreads);
    threadCount = chosen > 0 ? chosen : processorCount();
}

void ParallelParts::run(int parts, const std::function<void(int part)>& work) const
{
    const int threads = std::min(threadCount, parts);
    if (threads <= 1) {
        for (int part = 0; part < parts; ++part)
            work(part);
        return;
    }
    std::atomic<int> nextPart{0};
    std::exception_ptr failure;
    std::mutex failureLock;
    auto takeParts = [&] {
        try {
            for (int part = nextPart++; part < parts; part = nextPart++)
                work(part);
        } catch (...) {
            nextPart = parts;  // the others stop after their current part
            std::lock_guard<std::mutex> hold(failureLock);
            if (!failure)
                failure = std::current_exception();
        }
    };
    std::vector<std::thread> helpers;
    helpers.reserve(threads - 1);
    for (int t = 1; t < threads; ++t) {
        try {
            helpers.emplace_back(takeParts);
        } catch (const std::system_error&) {
            break;  // no more threads to be had: fewer take the parts
        }
    }
    takeParts();
    for (std::thread& helper : helpers)
        helper.join();
    if (failure)
        std::rethrow_exception(failure);
}
