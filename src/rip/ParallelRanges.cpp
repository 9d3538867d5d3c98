#include "rip/ParallelRanges.h"
#include <algorithm>
#include <thread>
#include <vector>

int ParallelRanges::Threads(int threads)
{
    return threads > 0 ? threads : std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

void ParallelRanges::Run(int64_t count, int threads, const std::function<void(int64_t first, int64_t end)>& work)
{
    const int64_t ranges = std::max<int64_t>(1, std::min<int64_t>(Threads(threads), count));
    const auto bound = [&](int64_t range) { return count * range / ranges; };
    std::vector<std::thread> others;
    for (int64_t range = 1; range < ranges; ++range)
        others.emplace_back(work, bound(range), bound(range + 1));
    work(0, bound(1));
    for (std::thread& t : others)
        t.join();
}
