#pragma once
#include <cstdint>
#include <functional>

// Work on independent items shared out between threads.
class ParallelRanges {
public:
    // threads 0: one per processor.
    static int Threads(int threads);

    // Splits 0 … count − 1 into one range per thread and runs
    // work(first, end) on each, the calling thread taking the first range;
    // returns when all are done.
    static void Run(int64_t count, int threads, const std::function<void(int64_t first, int64_t end)>& work);
};
