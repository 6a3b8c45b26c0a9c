#include "cli/listing.hpp"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <new>
#include <thread>

#ifndef _WIN32
#include <pthread.h>
#include <signal.h>
#endif

#include "search/shared_walk.hpp"

namespace zestawy::cli {

namespace {

char* writeSet(char* p, const int* set, int n) {
    return SetLines(", ", "\n").write(p, set, n);
}

// --all: every set, one per line. The walk is split by the sets' first number
// into parts, which worker threads and this thread take in turn and format
// into buffers of whole lines; this thread writes the parts in order, and
// formats a part of its own only while it has nothing to write. Workers wait
// while too much text is pending, the one on the part being written too, so
// memory stays bounded whatever the number of sets and however slowly the
// output is read.
class SetLister {
  public:
    SetLister(const DrawList& draws, const NeverDrawnQuery& query, Output& out, int threads)
        : query_(query),
          index_(draws, query.subsetSize, query.maxNumber, threads, query.setSize),
          out_(out),
          parts_(static_cast<std::size_t>(query.maxNumber) + 2) {}

    enum class Outcome { Done, WriteFailed, OutOfMemory };

    // `workers` threads besides this one (0: this thread does it all).
    Outcome run(std::FILE* err, int workers) {
        const StopsByItself stops;
        std::vector<std::thread> threads;
        {
            // Ctrl-C must reach this thread, which may wait in a write.
            [[maybe_unused]] const SigintBlocked blocked;
            for (int i = 0; i < workers; ++i) threads.emplace_back([this] { work(); });
        }
        writeInOrder(err);
        {
            // Under the lock, so that no worker can miss it between looking
            // at stopping() and starting to wait.
            std::lock_guard<std::mutex> lock(mutex_);
            quit_ = true;
        }
        changed_.notify_all();
        for (std::thread& thread : threads) thread.join();
        return outOfMemory_    ? Outcome::OutOfMemory
               : out_.failed() ? Outcome::WriteFailed
                               : Outcome::Done;
    }

  private:
    static constexpr std::size_t kBlock = 1 << 20;
    static constexpr std::size_t kPendingLimit = 16u << 20;  // all parts
    static constexpr std::size_t kPartLimit = 8u << 20;      // the part being written
    // How soon this thread, waiting for a part, sees a Ctrl-C (see waitForText).
    static constexpr std::chrono::milliseconds kStopCheck{100};

    // Blocks SIGINT and SIGTERM in this thread for its lifetime, and so in the
    // threads it starts.
    class SigintBlocked {
      public:
#ifndef _WIN32
        SigintBlocked() {
            sigset_t only;
            sigemptyset(&only);
            sigaddset(&only, SIGINT);
            sigaddset(&only, SIGTERM);
            pthread_sigmask(SIG_BLOCK, &only, &before_);
        }
        ~SigintBlocked() {
            pthread_sigmask(SIG_SETMASK, &before_, nullptr);
        }

      private:
        sigset_t before_;
#endif
    };

    // Text of whole lines; blocks go round between the formatting and the writing.
    struct Block {
        std::unique_ptr<char[]> bytes;
        std::size_t size = 0;
    };
    struct Part {
        std::deque<Block> blocks;
        std::size_t bytes = 0;  // in blocks
        bool done = false;
    };

    bool stopping() const {
        return quit_ || stopRequested.load(std::memory_order_relaxed);
    }

    Block takeSpare() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (!spare_.empty()) {
                Block block = std::move(spare_.back());
                spare_.pop_back();
                block.size = 0;
                return block;
            }
        }
        return Block{std::unique_ptr<char[]>(new char[kBlock + SetLines::maxLength(kMaxSetSize)])};
    }

    // The next part nobody has taken, or 0.
    int takePart() {
        std::lock_guard<std::mutex> lock(mutex_);
        return nextFirst_ <= query_.maxNumber && !stopping() ? nextFirst_++ : 0;
    }

    void work() {
        while (const int first = takePart())
            if (!format(first, false)) return;
    }

    // Formats the part of the sets that begin with `first`. A worker hands
    // each block over and waits while too much is pending; this thread keeps
    // its blocks without waiting and then writes what it can (see makeRoom).
    // Returns false when the listing stops.
    bool format(int first, bool writer) {
        try {
            NumberMask only;
            only.set(first);
            SetLines lines(", ", "\n");
            Block block = takeSpare();
            auto handOver = [&](bool done) {
                hand(first, std::move(block), done, !writer);
                return writer ? makeRoom(first) : !stopping();
            };
            // The sets come in groups that differ only in their last number.
            auto group = [&](const int* prefix, const NumberMask& lastNumbers) {
                lines.setPrefix(prefix, query_.setSize - 1);
                NumberMask rest = lastNumbers;
                while (true) {
                    char* start = block.bytes.get();
                    char* end = lines.writeGroup(start + block.size, start + kBlock, rest);
                    block.size = static_cast<std::size_t>(end - start);
                    if (block.size < kBlock) return true;
                    if (!handOver(false)) return false;
                    block = takeSpare();
                    if (rest.empty()) return true;
                }
            };
            return forEachNeverDrawn(index_, query_, only, group) && handOver(true);
        } catch (const std::bad_alloc&) {
            std::lock_guard<std::mutex> lock(mutex_);
            outOfMemory_ = true;
            quit_ = true;
            changed_.notify_all();
            return false;
        }
    }

    void hand(int first, Block&& block, bool done, bool wait) {
        std::unique_lock<std::mutex> lock(mutex_);
        Part& part = parts_[static_cast<std::size_t>(first)];
        auto full = [&] {
            return first == writing_ ? part.bytes >= kPartLimit : pending_ >= kPendingLimit;
        };
        // This thread notifies whenever it takes a block or moves on to the
        // next part, and run() when the listing ends for any reason, a Ctrl-C too.
        if (wait) changed_.wait(lock, [&] { return !full() || stopping(); });
        pending_ += block.size;
        part.bytes += block.size;
        part.blocks.push_back(std::move(block));
        part.done = done;
        changed_.notify_all();
    }

    // Writes every block that is ready, in order. False once the listing stops.
    bool writeReady() {
        while (true) {
            Block block;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                if (stopping()) return false;
                if (writing_ > query_.maxNumber) return true;
                Part& part = parts_[static_cast<std::size_t>(writing_)];
                if (part.blocks.empty() && !part.done) return true;
                if (!part.blocks.empty()) {
                    block = std::move(part.blocks.front());
                    part.blocks.pop_front();
                    pending_ -= block.size;
                    part.bytes -= block.size;
                }
                if (part.done && part.blocks.empty()) ++writing_;
                changed_.notify_all();
            }
            if (writing_ != shown_) showProgress();
            if (!block.bytes) continue;
            if (!out_.writeBytes({block.bytes.get(), block.size})) {
                quit_ = true;
                return false;
            }
            std::lock_guard<std::mutex> lock(mutex_);
            spare_.push_back(std::move(block));
        }
    }

    // Waits until a block of the part being written is handed over, or the
    // part is done. Workers notify whenever they hand a block or give up for
    // want of memory. A Ctrl-C cannot notify: its handler only sets
    // stopRequested (a handler must not touch a mutex or a condition
    // variable), and the signal, which comes to this thread, does not end a
    // wait on a condition variable. So this wait, the only one a Ctrl-C has to
    // end, also wakes every kStopCheck to look at stopRequested.
    void waitForText(std::unique_lock<std::mutex>& lock) {
        const Part& part = parts_[static_cast<std::size_t>(writing_)];
        if (part.blocks.empty() && !part.done && !stopping()) changed_.wait_for(lock, kStopCheck);
    }

    // After this thread kept a block of its part `first`: writes what is
    // ready, and while too much is pending and the part being written is
    // another, waits for that one's text and writes it. False once the
    // listing stops.
    bool makeRoom(int first) {
        while (true) {
            if (!writeReady()) return false;
            std::unique_lock<std::mutex> lock(mutex_);
            if (stopping()) return false;
            if (writing_ == first || pending_ < kPendingLimit) return true;
            waitForText(lock);
        }
    }

    void writeInOrder(std::FILE* err) {
        Progress progress(err);
        progress_ = &progress;
        while (writeReady()) {
            int first = 0;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                if (writing_ > query_.maxNumber || stopping()) break;
                const Part& part = parts_[static_cast<std::size_t>(writing_)];
                // Nothing to write yet: format a part meanwhile, while memory allows.
                if (part.blocks.empty() && !part.done && nextFirst_ <= query_.maxNumber &&
                    pending_ < kPendingLimit)
                    first = nextFirst_++;
                else
                    waitForText(lock);
            }
            if (first && !format(first, true)) break;
        }
        progress_ = nullptr;
    }

    // Progress as the part being written starts.
    void showProgress() {
        shown_ = writing_;
        if (!progress_ || shown_ > query_.maxNumber) return;
        int set[kMaxSetSize];
        for (int i = 0; i < query_.setSize; ++i) set[i] = std::min(shown_ + i, query_.maxNumber);
        progress_->at(set, query_, true);
    }

    const NeverDrawnQuery query_;
    const CompletionIndex index_;
    Output& out_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Part> parts_;  // by first number
    std::vector<Block> spare_;
    int nextFirst_ = 1;  // the next part to be taken
    int writing_ = 1;    // the part being written
    int shown_ = 0;      // the part whose progress was shown last
    Progress* progress_ = nullptr;
    std::size_t pending_ = 0;  // bytes handed over and not yet written
    std::atomic<bool> quit_{false};
    bool outOfMemory_ = false;
};

}  // namespace

int countSets(const Options& o, const DrawList& draws, Output& out, std::FILE* err) {
    const NeverDrawnQuery& query = o.commands[0]->sets;
    const int n = query.setSize;
    const int threads = o.threads > 0 ? o.threads : machineThreads();
    // Each part (first number) counts its sets and keeps its first and last;
    // the count is their sum, the first and last those of the outermost parts
    // that hold sets.
    struct Part {
        unsigned long long sets = 0;
        int first[kMaxSetSize] = {}, last[kMaxSetSize] = {};
    };
    std::vector<Part> parts(static_cast<std::size_t>(query.maxNumber) + 1);
    {
        const StopsByItself stops;
        Progress progress(err);
        const CompletionIndex index(draws, query.subsetSize, query.maxNumber, threads, n);
        Sharing sharing;
        sharing.threads = threads;
        sharing.beforePart = [&](int first) {
            progress.done((first - 1.0) / query.maxNumber);
            return !stopRequested.load(std::memory_order_relaxed);
        };
        shareFirstNumbers(query.maxNumber, sharing, [&](int, int first, WalkStop& stop) {
            Part& part = parts[static_cast<std::size_t>(first)];
            NumberMask only;
            only.set(first);
            auto group = [&](const int* prefix, const NumberMask& last) {
                if (stopRequested.load(std::memory_order_relaxed)) return false;
                if (part.sets == 0) {
                    std::copy(prefix, prefix + n - 1, part.first);
                    part.first[n - 1] = last.lowest();
                }
                std::copy(prefix, prefix + n - 1, part.last);
                part.last[n - 1] = 128 - (last.word[1] ? __builtin_clzll(last.word[1])
                                                       : 64 + __builtin_clzll(last.word[0]));
                part.sets += static_cast<unsigned long long>(last.count());
                return true;
            };
            forEachNeverDrawn(index, query, only, group, &stop);
        });
    }
    unsigned long long found = 0;
    const int *first = nullptr, *last = nullptr;
    for (const Part& part : parts) {
        if (part.sets == 0) continue;
        found += part.sets;
        if (!first) first = part.first;
        last = part.last;
    }
    if (!stopRequested) {
        std::string text = std::to_string(found) + "\n";
        if (found) {
            char line[256];
            text += "pierwszy: " + std::string(line, writeSet(line, first, n));
            text += "ostatni: " + std::string(line, writeSet(line, last, n));
        }
        out.write(text);
    }
    return finishOutput(out, err);
}

int listSets(const Options& o, const DrawList& draws, Output& out, std::FILE* err) {
    const int threads = threadsOf(o);
    SetLister lister(draws, o.commands[0]->sets, out, threads);
    // This thread, which writes and formats between writes, is one of them.
    if (lister.run(err, threads - 1) == SetLister::Outcome::OutOfMemory) {
        say(err, "zestawy-cli: za mało pamięci\n");
        return 1;
    }
    return finishOutput(out, err);
}

}  // namespace zestawy::cli
