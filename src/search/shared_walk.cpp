#include "search/shared_walk.hpp"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "combinatorics/choose.hpp"

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
            others.emplace_back([&, worker] {
                if (sharing.threadStarts) sharing.threadStarts();
                run(worker, next.fetch_add(1, std::memory_order_relaxed), false);
            });
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

BoundedCount countNeverDrawnWithin(const std::vector<std::string>& draws,
                                   const NeverDrawnQuery& query, int threads,
                                   std::chrono::milliseconds budget,
                                   const std::function<bool()>& keepGoing,
                                   const std::function<void(double)>& progress) {
    const CompletionIndex index(draws, query.subsetSize, query.maxNumber, threads, query.setSize);
    // The count ends when the budget runs out or keepGoing says no, whichever
    // comes first: seen before each part and, within the parts, by a thread
    // of its own.
    WalkStop ended;
    std::atomic<bool> asked{false};
    const auto end = std::chrono::steady_clock::now() + budget;
    auto over = [&] {
        if (keepGoing && !keepGoing()) asked = true;
        if (asked || std::chrono::steady_clock::now() >= end) ended.stop();
        return ended.stopped();
    };
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::thread watch([&] {
        std::unique_lock<std::mutex> lock(mutex);
        while (!done && !over()) finished.wait_for(lock, std::chrono::milliseconds(20));
    });
    // The sets whose first number is `first` or more are
    // C(maxNumber - first + 1, setSize) of them.
    const double all = choose(query.maxNumber, query.setSize);
    Sharing sharing;
    sharing.threads = threads;
    sharing.stop = &ended;
    sharing.beforePart = [&](int first) {
        if (progress) progress(1 - choose(query.maxNumber - first + 1, query.setSize) / all);
        return !over();
    };
    BoundedCount count;
    count.sets = countNeverDrawn(index, query, sharing);
    {
        std::lock_guard<std::mutex> lock(mutex);
        done = true;
    }
    finished.notify_all();
    watch.join();
    count.stopped = asked;
    count.atLeast = !asked && ended.stopped();
    return count;
}

namespace {

// The state of takeInOrder: parts made on several threads, taken in order by
// the calling thread. Everything below the mutex is guarded by it.
class OrderedParts {
  public:
    using Make = std::function<bool(int part, PartMaker& maker)>;
    using Take = std::function<bool(std::string_view bytes)>;

    OrderedParts(int count, std::size_t capacity, const Sharing& sharing, const Make& make,
                 const Take& take)
        : count_(count),
          capacity_(capacity),
          sharing_(sharing),
          make_(make),
          take_(take),
          stop_(sharing.stop),
          parts_(static_cast<std::size_t>(count) + 2) {}

    bool run() {
        if (sharing_.beforePart && !sharing_.beforePart(1)) return false;
        std::vector<std::thread> workers;
        // Should a thread fail to start, the threads there are do the work.
        try {
            for (int i = 1; i < std::clamp(sharing_.threads, 1, kMaxWalkThreads); ++i)
                workers.emplace_back([this] {
                    if (sharing_.threadStarts) sharing_.threadStarts();
                    while (const int part = nextPart())
                        if (!makePart(part, false)) return;
                });
        } catch (const std::system_error&) {
        }
        try {
            takeAll();
        } catch (...) {
            fail(std::current_exception());
        }
        const bool whole = taking_ > count_;  // only this thread moves it
        quit();
        for (std::thread& worker : workers) worker.join();
        if (failed_) std::rethrow_exception(failed_);
        return whole;
    }

  private:
    static constexpr std::size_t kPendingLimit = 16u << 20;  // all parts
    static constexpr std::size_t kPartLimit = 8u << 20;      // the part being taken
    static constexpr std::chrono::milliseconds kStopCheck{100};

    struct Part {
        std::deque<PartBlock> blocks;
        std::size_t bytes = 0;  // in blocks
        bool done = false;
    };

    class Maker : public PartMaker {
      public:
        Maker(OrderedParts& parts, int part, bool caller)
            : parts_(parts), part_(part), caller_(caller) {
            stop_ = &parts.stop_;
            block_ = parts.spare();
        }
        bool handOn() override { return handOn(false); }
        bool handOn(bool done) {
            parts_.hand(part_, std::move(block_), done, !caller_);
            if (!done) block_ = parts_.spare();
            return caller_ ? parts_.makeRoom(part_) : !parts_.stop_.stopped();
        }

      private:
        OrderedParts& parts_;
        const int part_;
        const bool caller_;
    };

    void quit() {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_.stop();
        changed_.notify_all();
    }
    void fail(std::exception_ptr failure) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (!failed_) failed_ = failure;
        }
        quit();
    }

    PartBlock spare() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (!spare_.empty()) {
                PartBlock block = std::move(spare_.back());
                spare_.pop_back();
                block.size = 0;
                return block;
            }
        }
        return PartBlock{std::unique_ptr<char[]>(new char[capacity_])};
    }

    // The next part nobody has taken, or 0.
    int nextPart() {
        std::lock_guard<std::mutex> lock(mutex_);
        return next_ <= count_ && !stop_.stopped() ? next_++ : 0;
    }

    // False when the part stopped the pipeline or failed.
    bool makePart(int part, bool caller) {
        try {
            Maker maker(*this, part, caller);
            if (make_(part, maker) && maker.handOn(true)) return true;
        } catch (...) {
            fail(std::current_exception());
        }
        quit();
        return false;
    }

    void hand(int part, PartBlock&& block, bool done, bool wait) {
        std::unique_lock<std::mutex> lock(mutex_);
        Part& into = parts_[static_cast<std::size_t>(part)];
        auto full = [&] {
            return part == taking_ ? into.bytes >= kPartLimit : pending_ >= kPendingLimit;
        };
        while (wait && full() && !stop_.stopped()) changed_.wait_for(lock, kStopCheck);
        pending_ += block.size;
        into.bytes += block.size;
        into.blocks.push_back(std::move(block));
        into.done = done;
        changed_.notify_all();
    }

    // Takes every block that is ready, in order. False once the pipeline stops.
    bool takeReady() {
        while (true) {
            PartBlock block;
            bool next = false;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                if (stop_.stopped()) return false;
                if (taking_ > count_) return true;
                Part& part = parts_[static_cast<std::size_t>(taking_)];
                if (part.blocks.empty() && !part.done) return true;
                if (!part.blocks.empty()) {
                    block = std::move(part.blocks.front());
                    part.blocks.pop_front();
                    pending_ -= block.size;
                    part.bytes -= block.size;
                }
                next = part.done && part.blocks.empty();
                changed_.notify_all();
            }
            if (block.size && !take_({block.bytes.get(), block.size})) return stopped();
            if (block.bytes) {
                std::lock_guard<std::mutex> lock(mutex_);
                spare_.push_back(std::move(block));
            }
            if (!next) continue;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                ++taking_;
                changed_.notify_all();
            }
            if (taking_ <= count_ && sharing_.beforePart && !sharing_.beforePart(taking_))
                return stopped();
        }
    }
    bool stopped() {
        quit();
        return false;
    }

    // Waits a moment for a block of the part being taken: makers notify as
    // they hand one on, but a stop set by a signal handler cannot.
    void waitForBlocks(std::unique_lock<std::mutex>& lock) {
        const Part& part = parts_[static_cast<std::size_t>(taking_)];
        if (part.blocks.empty() && !part.done && !stop_.stopped())
            changed_.wait_for(lock, kStopCheck);
    }

    // After the calling thread handed on a block of its part `part`: takes
    // what is ready, and while too much is pending and the part being taken
    // is another, waits for that one's blocks and takes them. False once the
    // pipeline stops.
    bool makeRoom(int part) {
        while (true) {
            if (!takeReady()) return false;
            std::unique_lock<std::mutex> lock(mutex_);
            if (stop_.stopped()) return false;
            if (taking_ == part || pending_ < kPendingLimit) return true;
            waitForBlocks(lock);
        }
    }

    // The calling thread: takes blocks as they come, and makes a part of its
    // own while it has nothing to take and memory allows.
    void takeAll() {
        while (takeReady()) {
            int part = 0;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                if (taking_ > count_ || stop_.stopped()) return;
                const Part& taken = parts_[static_cast<std::size_t>(taking_)];
                if (taken.blocks.empty() && !taken.done && next_ <= count_ &&
                    pending_ < kPendingLimit)
                    part = next_++;
                else
                    waitForBlocks(lock);
            }
            if (part && !makePart(part, true)) return;
        }
    }

    const int count_;
    const std::size_t capacity_;
    const Sharing& sharing_;
    const Make& make_;
    const Take& take_;
    WalkStop stop_;  // follows sharing.stop; stopped when the pipeline ends for any reason
    std::exception_ptr failed_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Part> parts_;  // by number
    std::vector<PartBlock> spare_;
    int next_ = 1;             // the next part to be made
    int taking_ = 1;           // the part being taken
    std::size_t pending_ = 0;  // bytes handed on and not yet taken
};

}  // namespace

bool takeInOrder(int count, std::size_t capacity, const Sharing& sharing,
                 const std::function<bool(int part, PartMaker& maker)>& make,
                 const std::function<bool(std::string_view bytes)>& take) {
    return OrderedParts(count, capacity, sharing, make, take).run();
}

}  // namespace zestawy
