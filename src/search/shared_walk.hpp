// The engine's walk shared among threads.
//
// The walk of search/engine.hpp splits by the sets' first number: each first
// number is one part, and threads take the next part as they finish one. A
// caller gets the sets in the same order as from the walk on one thread, or
// their count, or adds up its own per-part sums. Still no I/O; threads are the
// engine's own, started and joined within each call.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <type_traits>
#include <vector>

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
    // the ordered walk) hands on, with the part's first number; returns false
    // to end the walk. Comes at least once per walk (the calling thread takes
    // the first part). May be empty.
    std::function<bool(int first)> beforePart;
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

namespace detail {

// The sets of each part, packed a byte a number, go from the threads that walk
// to the calling thread, which visits them part by part in order. A thread
// waits while too many sets are pending, so memory stays bounded (a few tens
// of megabytes) however many sets there are and however slowly they are
// visited.
template <class Visit>
class OrderedWalk {
  public:
    OrderedWalk(const CompletionIndex& index, const NeverDrawnQuery& query, const Sharing& sharing,
                Visit& visit)
        : index_(index),
          query_(query),
          sharing_(sharing),
          visit_(visit),
          stop_(sharing.stop),
          parts_(static_cast<std::size_t>(query.maxNumber) + 2) {}

    bool run() {
        Sharing walkers = sharing_;
        walkers.stop = &stop_;
        walkers.beforePart = nullptr;
        bool whole = true;
        std::exception_ptr failed;
        std::thread walking([&] {
            try {
                shareFirstNumbers(query_.maxNumber, walkers,
                                  [this](int, int first, WalkStop& stop) { walk(first, stop); });
            } catch (...) {
                failed = std::current_exception();
            }
            std::lock_guard<std::mutex> lock(mutex_);
            walked_ = true;
            changed_.notify_all();
        });
        try {
            whole = visitInOrder();
        } catch (...) {
            stopAll();
            walking.join();
            throw;
        }
        stopAll();
        walking.join();
        if (failed) std::rethrow_exception(failed);
        return whole;
    }

  private:
    static constexpr std::size_t kChunk = 1 << 16;           // bytes of sets handed at once
    static constexpr std::size_t kPendingLimit = 16u << 20;  // all parts
    static constexpr std::size_t kPartLimit = 8u << 20;      // the part being visited

    struct Part {
        std::deque<std::vector<std::uint8_t>> chunks;
        std::size_t bytes = 0;
        bool done = false;
    };

    void stopAll() {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_.stop();
        changed_.notify_all();
    }

    void walk(int first, WalkStop& stop) {
        const int n = query_.setSize;
        std::vector<std::uint8_t> chunk;
        chunk.reserve(kChunk);
        NumberMask only;
        only.set(first);
        const bool whole = forEachNeverDrawn(
            index_, query_, only,
            [&](const int* set) {
                for (int i = 0; i < n; ++i) chunk.push_back(static_cast<std::uint8_t>(set[i]));
                if (chunk.size() + static_cast<std::size_t>(n) <= kChunk) return true;
                hand(first, std::move(chunk), false);
                chunk = std::vector<std::uint8_t>();
                chunk.reserve(kChunk);
                return !stop.stopped();
            },
            &stop);
        // A part cut short is never marked done: the visit then ends at it.
        if (whole) hand(first, std::move(chunk), true);
    }

    void hand(int first, std::vector<std::uint8_t>&& chunk, bool done) {
        std::unique_lock<std::mutex> lock(mutex_);
        Part& part = parts_[static_cast<std::size_t>(first)];
        auto full = [&] {
            return first == visiting_ ? part.bytes >= kPartLimit : pending_ >= kPendingLimit;
        };
        changed_.wait(lock, [&] { return !full() || stop_.stopped(); });
        pending_ += chunk.size();
        part.bytes += chunk.size();
        if (!chunk.empty()) part.chunks.push_back(std::move(chunk));
        part.done = done;
        changed_.notify_all();
    }

    bool visitInOrder() {
        const int n = query_.setSize;
        for (int first = 1; first <= query_.maxNumber; ++first) {
            if (sharing_.beforePart && !sharing_.beforePart(first)) return false;
            for (bool last = false; !last;) {
                std::vector<std::uint8_t> chunk;
                {
                    std::unique_lock<std::mutex> lock(mutex_);
                    Part& part = parts_[static_cast<std::size_t>(first)];
                    changed_.wait(lock, [&] {
                        return !part.chunks.empty() || part.done || walked_ || stop_.stopped();
                    });
                    if (stop_.stopped() || (part.chunks.empty() && !part.done)) return false;
                    if (!part.chunks.empty()) {
                        chunk = std::move(part.chunks.front());
                        part.chunks.pop_front();
                        pending_ -= chunk.size();
                        part.bytes -= chunk.size();
                    }
                    last = part.done && part.chunks.empty();
                    if (last) visiting_ = first + 1;
                    changed_.notify_all();
                }
                int set[kMaxSetSize];
                for (std::size_t at = 0; at < chunk.size(); at += static_cast<std::size_t>(n)) {
                    for (int i = 0; i < n; ++i) set[i] = chunk[at + static_cast<std::size_t>(i)];
                    if (!visit_(static_cast<const int*>(set))) return false;
                }
            }
        }
        return true;
    }

    const CompletionIndex& index_;
    const NeverDrawnQuery query_;
    const Sharing& sharing_;
    Visit& visit_;
    WalkStop stop_;  // follows sharing.stop; stopped when the visit ends for any reason
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Part> parts_;  // by first number
    int visiting_ = 1;         // the part being visited
    std::size_t pending_ = 0;  // bytes handed over and not yet visited
    bool walked_ = false;      // every walking thread has ended
};

}  // namespace detail

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
    detail::OrderedWalk<Visit> walk(index, query, sharing, visit);
    return walk.run();
}

}  // namespace zestawy
