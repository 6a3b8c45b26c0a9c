#include "search/shared_walk.hpp"

#include <algorithm>
#include <atomic>
#include <system_error>

namespace zestawy {

int machineThreads() {
    return static_cast<int>(
        std::clamp(std::thread::hardware_concurrency(), 1u, unsigned{kMostMachineThreads}));
}

bool shareFirstNumbers(int maxNumber, const Sharing& sharing,
                       const std::function<void(int worker, int first, WalkStop& stop)>& part) {
    WalkStop stop(sharing.stop);
    std::atomic<int> next{1};
    std::mutex failedMutex;
    std::exception_ptr failed;
    // `told`: beforePart has been called for `first` already.
    auto run = [&](int worker, int first, bool told) {
        try {
            for (; !stop.stopped() && first <= maxNumber; told = false) {
                if (worker == 0 && !told && sharing.beforePart && !sharing.beforePart(first)) {
                    stop.stop();
                    return;
                }
                part(worker, first, stop);
                first = next.fetch_add(1, std::memory_order_relaxed);
            }
        } catch (...) {
            std::lock_guard<std::mutex> lock(failedMutex);
            if (!failed) failed = std::current_exception();
            stop.stop();
        }
    };
    // The calling thread takes the first part, and is told of it, before any
    // other thread starts: beforePart comes at least once per walk, so a stop
    // is seen however the threads share the parts.
    const int first = next.fetch_add(1, std::memory_order_relaxed);
    if (sharing.beforePart && !sharing.beforePart(first)) return false;
    const int threads = std::clamp(sharing.threads, 1, kMaxWalkThreads);
    std::vector<std::thread> others;
    // Should a thread fail to start, the threads there are do the walk.
    try {
        for (int worker = 1; worker < threads; ++worker)
            others.emplace_back(
                [&, worker] { run(worker, next.fetch_add(1, std::memory_order_relaxed), false); });
    } catch (const std::system_error&) {
    }
    run(0, first, true);
    for (std::thread& thread : others) thread.join();
    if (failed) std::rethrow_exception(failed);
    // Every part ran unless the walk was stopped: a part that ran to its end
    // cannot tell, so the stop itself does.
    return !stop.stopped();
}

std::uint64_t countNeverDrawn(const CompletionIndex& index, const NeverDrawnQuery& query,
                              const Sharing& sharing, std::uint64_t limit) {
    // Each part counts on its own and adds its count every few thousand sets,
    // so that the threads rarely touch the shared total.
    constexpr std::uint64_t kBatch = 4096;
    std::atomic<std::uint64_t> total{0};
    WalkStop reached(sharing.stop);
    Sharing counting = sharing;
    counting.stop = &reached;
    shareFirstNumbers(query.maxNumber, counting, [&](int, int first, WalkStop& stop) {
        std::uint64_t mine = 0;
        NumberMask only;
        only.set(first);
        auto add = [&] {
            if (total.fetch_add(mine, std::memory_order_relaxed) + mine >= limit) reached.stop();
            mine = 0;
        };
        forEachNeverDrawn(
            index, query, only,
            [&](const int*, const NumberMask& last) {
                mine += static_cast<std::uint64_t>(last.count());
                if (mine < kBatch) return true;
                add();
                return !stop.stopped();
            },
            &stop);
        add();
    });
    return std::min(total.load(), limit);
}

}  // namespace zestawy
