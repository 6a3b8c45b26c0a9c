#include "search/backtest_walk.hpp"

#include <algorithm>
#include <cmath>
#include <exception>
#include <system_error>
#include <thread>

#include "combinatorics/parse.hpp"
#include "search/shared_walk.hpp"

namespace zestawy::backtest_walk {

namespace {

// Below this many sets a part is not worth a thread.
constexpr std::uint64_t kFewestSetsPerThread = 4096;

// The draws among one word's 64 in which at least K of the set's n numbers
// were drawn.
template <int K>
std::uint64_t appearances(const std::uint8_t* set, int n, const std::uint64_t* words) {
    if (K == n) {
        std::uint64_t all = ~0ull;
        for (int i = 0; i < n; ++i) all &= words[set[i]];
        return all;
    }
    if (K == 1) {
        std::uint64_t any = 0;
        for (int i = 0; i < n; ++i) any |= words[set[i]];
        return any;
    }
    // atLeast[j]: the draws with at least j of the numbers so far.
    std::uint64_t atLeast[K + 1] = {~0ull};
    for (int i = 0; i < n; ++i) {
        const std::uint64_t drawn = words[set[i]];
        for (int j = K; j >= 1; --j) atLeast[j] |= atLeast[j - 1] & drawn;
    }
    return atLeast[K];
}

}  // namespace

GroupStarts::GroupStarts(double gap, std::int64_t beyond) {
    auto inOrAbove = [&](std::int64_t w, double from) {
        return static_cast<double>(w) / gap >= from;
    };
    for (int g = 0; g <= kWaitGroupCount; ++g) {
        const double from = g < kWaitGroupCount ? kWaitGroups[g].from : 1e300;
        const double guess = std::ceil(from * gap);
        if (!(guess < static_cast<double>(beyond))) {
            at[g] = beyond;
            continue;
        }
        std::int64_t w = std::max<std::int64_t>(0, static_cast<std::int64_t>(guess));
        while (w > 0 && inOrAbove(w - 1, from)) --w;
        while (w < beyond && !inOrAbove(w, from)) ++w;
        at[g] = w;
    }
}

// The draws as bitsets: word w of number v at w * (maxNumber + 1) + v.
std::vector<std::uint64_t> drawBits(const std::vector<std::string>& draws,
                                    const NeverDrawnQuery& query) {
    const std::size_t lines = draws.size(), words = (lines + 63) / 64;
    const auto width = static_cast<std::size_t>(query.maxNumber + 1);
    std::vector<std::uint64_t> bits(words * width, 0);
    for (std::size_t t = 0; t < lines; ++t)
        forEachNumber(draws[t], [&](int v) {
            if (v >= 1 && v <= query.maxNumber)
                bits[t / 64 * width + static_cast<std::size_t>(v)] |= 1ull << (t % 64);
        });
    return bits;
}

std::uint64_t appearances(const Walk& walk, std::uint32_t s, std::size_t word) {
    const std::uint8_t* set = walk.set(s);
    const int n = walk.query.setSize;
    const std::uint64_t* words = walk.wordsAt(word);
    switch (walk.query.subsetSize) {
        case 1:
            return appearances<1>(set, n, words);
        case 2:
            return appearances<2>(set, n, words);
        case 3:
            return appearances<3>(set, n, words);
        case 4:
            return appearances<4>(set, n, words);
        default:
            return appearances<5>(set, n, words);
    }
}

void Part::addChances(const GroupStarts& starts, std::size_t lines, std::int64_t last,
                      std::int64_t end) {
    // Every group but the first starts at a wait of one or more, so no
    // range reaches back to draw 0, which is never judged.
    const std::int64_t base = last + 1;
    for (int g = 1; g < kWaitGroupCount; ++g) {
        const std::int64_t low = base + starts.at[g];
        const std::int64_t high = std::min(end + 1, base + starts.at[g + 1]);
        if (low > end) break;
        if (low >= high) continue;
        std::int32_t* row = &change[static_cast<std::size_t>(g) * (lines + 1)];
        ++row[low];
        --row[high];
    }
}

void Part::walk(const Walk& w, std::vector<std::int32_t>& lastSeen, std::size_t firstWord,
                std::size_t endWord) {
    const std::size_t chunkStart = firstWord * 64;
    for (std::uint32_t s = from; s < to; ++s) {
        std::int64_t last = lastSeen[s];
        for (std::size_t word = firstWord; word < endWord; ++word) {
            for (std::uint64_t hits = appearances(w, s, word); hits != 0; hits &= hits - 1) {
                const std::size_t t = word * 64 + static_cast<std::size_t>(__builtin_ctzll(hits));
                byDraw[t - chunkStart].push_back(s);
                // A run within the first group: the draw's count of
                // appearing sets counts it. (Draw 0 ends a run of no
                // draws, so it is never counted here.)
                const auto at = static_cast<std::int64_t>(t);
                if (at - last - 1 >= w.starts.at[1]) {
                    addChances(w.starts, w.lines, last, at);
                    const int g = w.starts.groupOf(at - last - 1);
                    ++appeared[static_cast<std::size_t>(g) * w.lines + t];
                }
                last = at;
            }
        }
        lastSeen[s] = static_cast<std::int32_t>(last);
    }
}

std::vector<Part> partsOf(std::uint32_t followed, int threads, std::size_t lines,
                          std::size_t chunkDraws) {
    const std::uint64_t most = std::max<std::uint64_t>(1, followed / kFewestSetsPerThread);
    const auto partCount = static_cast<std::uint32_t>(std::min<std::uint64_t>(
        most, static_cast<std::uint64_t>(std::clamp(threads, 1, kMaxWalkThreads))));
    std::vector<Part> parts(partCount);
    for (std::uint32_t i = 0; i < partCount; ++i) {
        Part& part = parts[i];
        part.from = static_cast<std::uint32_t>(std::uint64_t{followed} * i / partCount);
        part.to = static_cast<std::uint32_t>(std::uint64_t{followed} * (i + 1) / partCount);
        part.appeared.assign(kWaitGroupCount * lines, 0);
        part.change.assign(kWaitGroupCount * (lines + 1), 0);
        part.byDraw.resize(chunkDraws);
    }
    return parts;
}

// Runs every part's walk over the words, part 0 in the calling thread.
void walkParts(const Walk& walk, std::vector<Part>& parts, std::vector<std::int32_t>& lastSeen,
               std::size_t firstWord, std::size_t endWord) {
    std::vector<std::thread> others;
    std::vector<std::exception_ptr> failed(parts.size());
    std::size_t started = 1;
    try {
        for (; started < parts.size(); ++started)
            others.emplace_back([&, started] {
                try {
                    parts[started].walk(walk, lastSeen, firstWord, endWord);
                } catch (...) {
                    failed[started] = std::current_exception();
                }
            });
    } catch (const std::system_error&) {
        // A thread that would not start: its parts are walked here.
    }
    try {
        for (std::size_t p = 0; p < parts.size(); ++p)
            if (p == 0 || p >= started) parts[p].walk(walk, lastSeen, firstWord, endWord);
    } catch (...) {
        failed[0] = std::current_exception();
    }
    for (std::thread& thread : others) thread.join();
    for (const std::exception_ptr& e : failed)
        if (e) std::rethrow_exception(e);
}

}  // namespace zestawy::backtest_walk
