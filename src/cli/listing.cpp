#include "cli/listing.hpp"

#include <algorithm>

#ifndef _WIN32
#include <pthread.h>
#include <signal.h>
#endif

#include "search/shared_walk.hpp"

namespace zestawy::cli {

namespace {

char* writeSet(char* p, const int* set, int n) {
    return SetLines(", ", kLineEnd).write(p, set, n);
}

// Blocks SIGINT and SIGTERM in the thread that makes it, for good: the
// threads that make the listing's parts, so that Ctrl-C comes to the thread
// that writes, which may wait in a write.
void blockStopSignals() {
#ifndef _WIN32
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, SIGINT);
    sigaddset(&only, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &only, nullptr);
#endif
}

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
        sharing.stop = &stopRequested;
        sharing.beforePart = [&](int first) {
            progress.done((first - 1.0) / query.maxNumber);
            return true;
        };
        shareFirstNumbers(query.maxNumber, sharing, [&](int, int first, WalkStop& stop) {
            Part& part = parts[static_cast<std::size_t>(first)];
            NumberMask only;
            only.set(first);
            auto group = [&](const int* prefix, const NumberMask& last) {
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
    if (!stopRequested.stopped()) {
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

// Every set, one per line: the parts (first numbers) are formatted into
// blocks of whole lines on every thread, this one among them, and written in
// order by this thread.
int listSets(const Options& o, const DrawList& draws, Output& out, std::FILE* err) {
    const NeverDrawnQuery& query = o.commands[0]->sets;
    const int threads = threadsOf(o);
    const CompletionIndex index(draws, query.subsetSize, query.maxNumber, threads, query.setSize);
    constexpr std::size_t kBlock = 1 << 20;
    const StopsByItself stops;
    Progress progress(err);
    Sharing sharing;
    sharing.threads = threads;
    sharing.stop = &stopRequested;
    sharing.threadStarts = blockStopSignals;
    sharing.beforePart = [&](int first) {
        int set[kMaxSetSize];
        for (int i = 0; i < query.setSize; ++i) set[i] = std::min(first + i, query.maxNumber);
        progress.at(set, query, true);
        return true;
    };
    // The sets come in groups that differ only in their last number.
    auto format = [&](int first, PartMaker& maker) {
        NumberMask only;
        only.set(first);
        SetLines lines(", ", kLineEnd);
        auto group = [&](const int* prefix, const NumberMask& lastNumbers) {
            lines.setPrefix(prefix, query.setSize - 1);
            NumberMask rest = lastNumbers;
            while (!rest.empty()) {
                PartBlock& block = maker.block();
                char* start = block.bytes.get();
                block.size = static_cast<std::size_t>(
                    lines.writeGroup(start + block.size, start + kBlock, rest) - start);
                if (block.size >= kBlock && !maker.handOn()) return false;
            }
            return true;
        };
        return forEachNeverDrawn(index, query, only, group, &maker.stop());
    };
    takeInOrder(query.maxNumber, kBlock + SetLines::maxLength(kMaxSetSize), sharing, format,
                [&](std::string_view text) { return out.writeBytes(text); });
    return finishOutput(out, err);
}

}  // namespace zestawy::cli
