// The engine's walk shared among threads.
//
// The walk of search/engine.hpp splits by the sets' first number: each first
// number is one part, and threads take the next part as they finish one. A
// caller gets the sets in the same order as from the walk on one thread, or
// their count, or adds up its own per-part sums. Still no I/O; threads are the
// engine's own, started and joined within each call.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <type_traits>

#include "search/engine.hpp"

namespace zestawy {

// The most threads a walk is shared among.
constexpr int kMaxWalkThreads = 64;

// The machine's cores, 1..kMostMachineThreads: what a walk shares itself
// among when the user did not say.
constexpr int kMostMachineThreads = 16;
int machineThreads();

// How a walk is shared.
struct Sharing {
    int threads = 1;                 // threads that walk: 1..kMaxWalkThreads; 1 is the
                                     // calling thread alone, as the plain walk
    const WalkStop* stop = nullptr;  // set from any thread, it ends the walk early
    // Called in the calling thread only, before each part it starts or (for
    // the ordered walk) takes, with the part's first number; returns false
    // to end the walk. Comes at least once per walk (the calling thread takes
    // the first part). May be empty.
    std::function<bool(int first)> beforePart;
    // Called first in each thread the walk starts (not the calling one), for
    // what is the thread's own, such as the signals it takes. May be empty.
    std::function<void()> threadStarts;
};

// Runs part(worker, first, stop) once for every first number 1..maxNumber on
// sharing.threads threads, the calling thread (worker 0) among them; worker is
// 0..threads - 1 and tells a thread's own state apart. A part walks with
// `stop`, which follows sharing.stop and is stopped when beforePart says so or
// a part throws; then no further part starts. An exception of a part is
// thrown again here, after every thread has ended.
// Returns false when the walk was stopped, true when every part ran.
bool shareFirstNumbers(int maxNumber, const Sharing& sharing,
                       const std::function<void(int worker, int first, WalkStop& stop)>& part);

// How many sets qualify, counting no further than limit: the parts' counts
// added up, at most limit. Parts stop starting once limit is reached.
// REQUIRES the index built for the query, limit >= 1. A count that
// sharing.stop or beforePart ended is too low: the caller that stops it knows.
std::uint64_t countNeverDrawn(const CompletionIndex& index, const NeverDrawnQuery& query,
                              const Sharing& sharing, std::uint64_t limit = UINT64_MAX);

// A count of the sets that never appeared, given at most `budget` of time.
struct BoundedCount {
    std::uint64_t sets = 0;
    bool atLeast = false;  // the budget ran out first: `sets` is a lower bound
    bool stopped = false;  // keepGoing said no first: `sets` means nothing
};

// countNeverDrawn over the draws on `threads` threads, for at most `budget`.
// keepGoing is asked before each part and every few hundredths of a second,
// from any thread; progress(done) on the calling thread, done rising from 0
// towards 1, as the parts start. No I/O.
BoundedCount countNeverDrawnWithin(const std::vector<std::string>& draws,
                                   const NeverDrawnQuery& query, int threads,
                                   std::chrono::milliseconds budget,
                                   const std::function<bool()>& keepGoing,
                                   const std::function<void(double done)>& progress);

// A block of a part's output: `size` bytes filled of the pipeline's block
// capacity.
struct PartBlock {
    std::unique_ptr<char[]> bytes;
    std::size_t size = 0;
};

// What a part is made with: the block it fills and how it hands it on.
class PartMaker {
  public:
    virtual ~PartMaker() = default;
    // The block being filled, of the capacity the pipeline was given.
    PartBlock& block() { return block_; }
    // Hands the block on and gives a fresh, empty one. A thread other than
    // the calling one waits here while too much is pending; the calling one
    // takes what is ready meanwhile. False once the pipeline stops.
    virtual bool handOn() = 0;
    // Stopped once the pipeline stops for any reason; a part's walk follows it.
    const WalkStop& stop() const { return *stop_; }

  protected:
    PartBlock block_;
    const WalkStop* stop_ = nullptr;
};

// The ordered pipeline: make(part, maker) runs once for every part
// 1..count on sharing.threads threads (the calling one among them, which
// makes a part only while it has nothing to take), filling maker.block() with
// at most `capacity` bytes at a time and calling maker.handOn() as it likes;
// it returns true when the part is whole (its last block is then handed on)
// or false to stop the pipeline. take(bytes) runs in the calling thread with
// every block, part by part in order; it returns false to stop.
// sharing.beforePart comes in the calling thread before each part is taken,
// and sharing.threadStarts in each thread the pipeline starts.
// Memory stays bounded (a few tens of megabytes) however much the parts make
// and however slowly it is taken: a thread that made too much waits. Waits
// look at sharing.stop every kStopCheck, so that a stop that cannot notify
// (set by a signal handler) is seen too.
// An exception of make or take is thrown again here, after every thread has
// ended. Returns true when every part was taken whole, false when stopped.
bool takeInOrder(int count, std::size_t capacity, const Sharing& sharing,
                 const std::function<bool(int part, PartMaker& maker)>& make,
                 const std::function<bool(std::string_view bytes)>& take);

// Calls visit(const int* numbers) in the calling thread with every qualifying
// set, in the order of the walk on one thread, the walk shared as `sharing`
// says. visit returns false to stop.
// REQUIRES the index built for the query.
// Returns false when visit, sharing.stop or sharing.beforePart stopped the
// walk, true when every set was visited.
template <class Visit>
bool forEachNeverDrawn(const CompletionIndex& index, const NeverDrawnQuery& query,
                       const Sharing& sharing, Visit&& visit) {
    static_assert(std::is_invocable_r_v<bool, Visit&, const int*>);
    if (sharing.threads <= 1) {
        // The plain walk, part by part only as far as beforePart needs it.
        if (!sharing.beforePart)
            return forEachNeverDrawn(index, query, NumberMask::upTo(kMaxNumber), visit,
                                     sharing.stop);
        for (int first = 1; first <= query.maxNumber; ++first) {
            if (!sharing.beforePart(first)) return false;
            NumberMask only;
            only.set(first);
            if (!forEachNeverDrawn(index, query, only, visit, sharing.stop)) return false;
        }
        return true;
    }
    // Each part's sets go packed a byte a number.
    const int n = query.setSize;
    const auto setBytes = static_cast<std::size_t>(n);
    constexpr std::size_t kBlock = 1 << 16;
    auto make = [&](int first, PartMaker& maker) {
        NumberMask only;
        only.set(first);
        return forEachNeverDrawn(
            index, query, only,
            [&](const int* set) {
                PartBlock& block = maker.block();
                for (int i = 0; i < n; ++i) block.bytes[block.size++] = static_cast<char>(set[i]);
                return block.size + setBytes <= kBlock || maker.handOn();
            },
            &maker.stop());
    };
    auto take = [&](std::string_view bytes) {
        int set[kMaxSetSize];
        for (std::size_t at = 0; at < bytes.size(); at += setBytes) {
            for (int i = 0; i < n; ++i) set[i] = static_cast<unsigned char>(bytes[at + i]);
            if (!visit(static_cast<const int*>(set))) return false;
        }
        return true;
    };
    return takeInOrder(query.maxNumber, kBlock, sharing, make, take);
}

}  // namespace zestawy
