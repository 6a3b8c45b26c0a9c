#include "search/engine.hpp"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>

#include "combinatorics/parse.hpp"
#include "search/shared_walk.hpp"

namespace zestawy {

namespace {

// Calls f(rank, last) for every subset of `size` numbers taken from
// numbers[from..count) (ascending) and added to `chosen` numbers already
// taken, whose rank is `rank`; `last` is the position in `numbers` of the
// subset's largest number (-1 for the empty subset). Subsets come in
// lexicographic order.
template <class F>
void forEachSubset(const int* numbers, int count, int from, int chosen, int size,
                   std::uint32_t rank, int last, F& f) {
    // (size <= kMaxSubsetSize; the second test tells the compiler so.)
    if (chosen == size || chosen == kMaxSubsetSize) {
        f(rank, last);
        return;
    }
    for (int i = from; i <= count - (size - chosen); ++i)
        forEachSubset(numbers, count, i + 1, chosen + 1, size,
                      rank + binomial(numbers[i] - 1, chosen + 1), i, f);
}

}  // namespace

// What the walks have spent on checking lines one by one, against what
// recording them would have cost; and, once they spent that, the index of
// every line.
struct CompletionIndex::Whole {
    std::uint64_t budget = 0;  // the writes that recording the checked lines takes
    int threads = 1;
    std::atomic<std::uint64_t> spent{0};  // lines checked so far, by every walk
    std::atomic<bool> ready{false};
    std::once_flag once;
    std::unique_ptr<const CompletionIndex> index;
    std::exception_ptr failed;  // the build's, for every walk that asks
};

namespace {

// The table writes that recording a line takes: one for each (k-1)-subset of
// its numbers but the largest.
std::uint64_t recordingWrites(const NumberMask& line, int subsetSize) {
    return binomial(line.count() - 1, subsetSize - 1);
}

// Up to these writes an index records every line: over every Multi Multi draw
// (16,962 lines of 20 numbers, 3,876 writes each for five-number subsets) it
// records the first 5,200 and checks the others.
constexpr std::uint64_t kRecordedWrites = 20'000'000;

}  // namespace

CompletionIndex::CompletionIndex(const std::vector<std::string>& draws, int subsetSize,
                                 int maxNumber, int threads, int setSize)
    : CompletionIndex(subsetSize, maxNumber, false) {
    std::vector<NumberMask> lines = linesIn(draws.data(), draws.size());
    // Checking pays only when almost no group reaches the last number: when
    // each set's prefix holds several k-subsets that the recorded lines rule
    // out. With n <= k + 1 a prefix holds one at most, most groups reach the
    // end, and each would be checked against thousands of lines.
    std::size_t recorded = lines.size();
    std::uint64_t writes = 0;
    if (subsetSize >= 2 && setSize >= subsetSize + 2) {
        for (const NumberMask& line : lines) writes += recordingWrites(line, subsetSize);
        if (writes > 2 * kRecordedWrites) {
            writes = 0;
            for (recorded = 0; writes < kRecordedWrites; ++recorded)
                writes += recordingWrites(lines[recorded], subsetSize);
        }
    }
    recordAndCheck(std::move(lines), recorded, threads);
}

CompletionIndex CompletionIndex::checking(const std::vector<std::string>& draws, int subsetSize,
                                          int maxNumber, std::size_t recorded, int threads) {
    assert(subsetSize >= 2);
    CompletionIndex index(subsetSize, maxNumber, false);
    std::vector<NumberMask> lines = index.linesIn(draws.data(), draws.size());
    recorded = std::min(recorded, lines.size());
    index.recordAndCheck(std::move(lines), recorded, threads);
    return index;
}

void CompletionIndex::recordAndCheck(std::vector<NumberMask> lines, std::size_t recorded,
                                     int threads) {
    checked_.assign(lines.begin() + static_cast<std::ptrdiff_t>(recorded), lines.end());
    lines.resize(recorded);
    record(lines, threads);
    if (!checked_.empty()) startWhole(threads);
}

void CompletionIndex::startWhole(int threads) {
    whole_ = std::make_shared<Whole>();
    whole_->threads = threads;
    for (const NumberMask& line : checked_) whole_->budget += recordingWrites(line, subsetSize_);
}

const CompletionIndex* CompletionIndex::wholeIndex() const {
    if (!whole_) return nullptr;
    Whole& whole = *whole_;
    if (!whole.ready.load(std::memory_order_acquire)) {
        const std::uint64_t lines = checked_.size();
        if (whole.spent.fetch_add(lines, std::memory_order_relaxed) + lines <= whole.budget)
            return nullptr;
        // Built once: a build that fails (for memory) fails every walk that
        // waited for it, rather than being tried again by each of them.
        std::call_once(whole.once, [&] {
            try {
                auto index = std::make_unique<CompletionIndex>(*this);
                index->checked_.clear();
                index->whole_.reset();
                index->record(checked_, whole.threads);
                whole.index = std::move(index);
            } catch (...) {
                whole.failed = std::current_exception();
            }
            whole.ready.store(true, std::memory_order_release);
        });
    }
    if (whole.failed) std::rethrow_exception(whole.failed);
    return whole.index.get();
}

const CompletionIndex& CompletionIndex::latest() const {
    if (whole_ && whole_->ready.load(std::memory_order_acquire) && whole_->index)
        return *whole_->index;
    return *this;
}

CompletionIndex::CompletionIndex(int subsetSize, int maxNumber)
    : CompletionIndex(subsetSize, maxNumber, true) {}

CompletionIndex::CompletionIndex(int subsetSize, int maxNumber, bool zeroed)
    : subsetSize_(subsetSize), maxNumber_(maxNumber), zeroed_(zeroed) {
    if (subsetSize == 1) return;
    // Rows follow each other in lexicographic order of T, each as long as the
    // count of numbers above T. So a walk that moves the last number of T up,
    // as the depth-first walk does, reads its rows front to back. Each row is
    // stored as its start minus (T's largest number + 1), so that row + x is
    // the place of x. (The empty T, for k = 2, counts its largest number as 0.)
    const int tSize = subsetSize - 2;
    int all[kMaxNumber];
    for (int v = 1; v <= maxNumber; ++v) all[v - 1] = v;
    rows_.resize(binomial(maxNumber, tSize));
    std::uint32_t start = 0;
    auto layOut = [&](std::uint32_t rank, int last) {
        const int largest = last < 0 ? 0 : all[last];
        rows_[rank] = start - static_cast<std::uint32_t>(largest) - 1;
        start += static_cast<std::uint32_t>(maxNumber - largest);
    };
    forEachSubset(all, maxNumber, 0, 0, tSize, 0, -1, layOut);
    table_ = MaskTable(start, zeroed);
    if (subsetSize == 2) return;
    // The rows of S + {x} for one S follow each other, one number shorter each
    // time: row(S + {x + 1}) = row(S + {x}) + maxNumber - x - 1. So the row is
    // a base of S plus an offset of x.
    offsets_.assign(static_cast<std::size_t>(maxNumber) + 1, 0);
    for (int x = 1; x < maxNumber; ++x)
        offsets_[static_cast<std::size_t>(x) + 1] =
            offsets_[static_cast<std::size_t>(x)] + static_cast<std::uint32_t>(maxNumber - x - 1);
    bases_.resize(binomial(maxNumber, tSize - 1));
    auto base = [&](std::uint32_t rank, int last) {
        const int largest = last < 0 ? 0 : all[last];
        if (largest == maxNumber) return;
        bases_[rank] = rows_[rank + binomial(largest, tSize)] -
                       offsets_[static_cast<std::size_t>(largest) + 1];
    };
    forEachSubset(all, maxNumber, 0, 0, tSize - 1, 0, -1, base);
}

std::vector<NumberMask> CompletionIndex::linesIn(const std::string* draws,
                                                 std::size_t count) const {
    std::vector<NumberMask> lines;
    for (std::size_t i = 0; i < count; ++i) {
        NumberMask drawn;
        forEachNumber(draws[i], [&](int v) {
            if (v >= 1 && v <= maxNumber_) drawn.set(v);
        });
        if (drawn.count() >= subsetSize_) lines.push_back(drawn);
    }
    return lines;
}

void CompletionIndex::add(const std::string* draws, std::size_t count, int threads) {
    record(linesIn(draws, count), threads);
    // An index of every line made before, and shared with copies of this
    // one, lacks these: this index goes on with one of its own, to be made
    // when needed.
    if (!checked_.empty()) startWhole(threads);
}

namespace {

// Every (k-1)-subset T + {x} of a line is completed by every other number of
// the line. OR-ing in the whole line also sets the subset's own numbers, which
// the walk never asks about, and saves a mask operation per subset. Each
// line's numbers are listed once, a byte each: line i's are
// listed[starts[i]..starts[i + 1]). With the lines' masks that is some 40
// bytes a line, so that the lines stay in the cache while the table is
// written. linesWith[v] are the lines that hold v.
struct ListedLines {
    // A line's numbers and mask, the mask a copy kept in registers across the
    // writes.
    struct Line {
        NumberMask drawn;
        const std::uint8_t* numbers;
        int count;
    };

    const std::vector<NumberMask>& lines;
    std::vector<std::uint8_t> listed;
    std::vector<std::uint32_t> starts{0};
    std::vector<std::vector<std::uint32_t>> linesWith;

    ListedLines(const std::vector<NumberMask>& masks, int maxNumber)
        : lines(masks), linesWith(static_cast<std::size_t>(maxNumber) + 1) {
        for (const NumberMask& drawn : lines) {
            for (NumberMask rest = drawn; !rest.empty(); rest.removeLowest()) {
                listed.push_back(static_cast<std::uint8_t>(rest.lowest()));
                linesWith[static_cast<std::size_t>(rest.lowest())].push_back(
                    static_cast<std::uint32_t>(starts.size() - 1));
            }
            starts.push_back(static_cast<std::uint32_t>(listed.size()));
        }
    }
    Line at(std::uint32_t line) const {
        return Line{lines[line], listed.data() + starts[line],
                    static_cast<int>(starts[line + 1] - starts[line])};
    }
};

}  // namespace

// Where the rows of the T whose smallest number is `smallest` begin in the
// table: they follow each other and start with T = {m, m + 1, ...},
// x = m + tSize; the end of the table past the last.
std::size_t CompletionIndex::regionStart(int smallest) const {
    const int tSize = subsetSize_ - 2;
    if (smallest + tSize - 1 > maxNumber_) return table_.size();
    std::uint32_t rank = 0;
    for (int i = 0; i < tSize; ++i) rank += binomial(smallest + i - 1, i + 1);
    return rows_[rank] + static_cast<std::uint32_t>(smallest + tSize);
}

void CompletionIndex::record(const std::vector<NumberMask>& lines, int threads) {
    const int subsetSize = subsetSize_, maxNumber = maxNumber_;
    if (subsetSize == 1) {
        for (const NumberMask& drawn : lines) drawnNumbers_ |= drawn;
        return;
    }
    const int tSize = subsetSize - 2;
    // T has at most three numbers: one explicit loop for each size below.
    static_assert(kMaxSubsetSize - 2 <= 3);
    const ListedLines listed(lines, maxNumber);
    using Line = ListedLines::Line;
    // Records the line for T + {x}, each x of its numbers from `from` on;
    // `row` is T's. The line's largest number is left out: the walk asks only
    // for completions above x, and the line has none above it. That spares a
    // fifth of the writes of a Multi Multi line.
    auto recordFrom = [&](std::uint32_t row, const Line& line, int from) {
        for (int i = from; i < line.count - 1; ++i) table_[row + line.numbers[i]] |= line.drawn;
    };
    // A fresh table is zeroed here, region by region where threads share the
    // work: the rows of the T whose smallest number is m, for each m.
    const bool fresh = !zeroed_;
    zeroed_ = true;
    if (tSize == 0) {
        if (fresh) table_.zero(0, table_.size());
        for (std::uint32_t line = 0; line < lines.size(); ++line)
            recordFrom(rows_[0], listed.at(line), 0);
        return;
    }
    // Lines are taken by the smallest number m of T, and then by its second
    // smallest b, which keeps the writes within the rows of one m and b (a
    // hundred kilobytes at most, at hand in the cache) instead of spreading
    // each line's writes over the whole table. The rows of different m are
    // apart, so threads can take an m each.
    struct Place {
        std::uint32_t line;
        int at;  // the position of b among the line's numbers
    };
    Sharing sharing;
    sharing.threads = threads;
    shareFirstNumbers(maxNumber, sharing, [&](int, int m, WalkStop&) {
        if (fresh) table_.zero(regionStart(m), regionStart(m + 1));
        std::vector<std::vector<Place>> bySecond(static_cast<std::size_t>(maxNumber) + 1);
        for (const std::uint32_t index : listed.linesWith[static_cast<std::size_t>(m)]) {
            const Line line = listed.at(index);
            int from = 0;
            while (line.numbers[from] != m) ++from;
            if (tSize == 1) {  // T = {m}
                recordFrom(rows_[binomial(m - 1, 1)], line, from + 1);
                continue;
            }
            // (b below the line's largest number: there is no x above it.)
            for (int at = from + 1; at < line.count - 1; ++at)
                bySecond[line.numbers[at]].push_back({index, at});
        }
        if (tSize == 1) return;
        for (int b = m + 1; b <= maxNumber; ++b) {
            const std::uint32_t rank = binomial(m - 1, 1) + binomial(b - 1, 2);
            const std::uint32_t row = tSize == 2 ? rows_[rank] : bases_[rank];
            for (const Place& place : bySecond[static_cast<std::size_t>(b)]) {
                const Line line = listed.at(place.line);
                if (tSize == 2) {  // T = {m, b}
                    recordFrom(row, line, place.at + 1);
                    continue;
                }
                // T = {m, b, c}: its row is the base of {m, b} and the offset of c.
                for (int c = place.at + 1; c < line.count - 1; ++c)
                    recordFrom(row + offsets_[line.numbers[c]], line, c + 1);
            }
        }
    });
}

std::vector<std::vector<int>> allNeverDrawn(const std::vector<std::string>& draws,
                                            const NeverDrawnQuery& query) {
    std::vector<std::vector<int>> sets;
    forEachNeverDrawn(draws, query, [&](const int* numbers) {
        sets.emplace_back(numbers, numbers + query.setSize);
        return true;
    });
    return sets;
}

std::vector<int> firstNeverDrawn(const std::vector<std::string>& draws,
                                 const NeverDrawnQuery& query) {
    std::vector<int> first;
    forEachNeverDrawn(draws, query, [&](const int* numbers) {
        first.assign(numbers, numbers + query.setSize);
        return false;
    });
    return first;
}

}  // namespace zestawy
