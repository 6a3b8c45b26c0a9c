// The engine's internals, which search/engine.hpp includes at its end, after
// its declarations, for its templates and for the definition of
// CompletionIndex: include search/engine.hpp, never this file. Code outside
// the engine and its tests needs only what search/engine.hpp declares.
//
// Trying every candidate set is far too slow for the larger searches (29
// thousand million eight-sets), so the engine walks only prefixes that can
// still be completed:
//
//   - numbers are bits of a 128-bit mask;
//   - the completion index holds, for every (k-1)-subset S of the numbers, the
//     mask of numbers y for which S + {y} lies within some draw line;
//   - a depth-first walk in ascending order keeps, per level, the mask of the
//     numbers allowed next: those above the prefix that complete none of the
//     prefix's (k-1)-subsets. It extends a prefix only with allowed numbers,
//     so no prefix holds a recorded k-subset, and every number allowed at the
//     last level completes a qualifying set.
#pragma once

#include <cassert>
#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "combinatorics/number_mask.hpp"

namespace zestawy {

namespace detail {
struct BinomialTable {
    std::uint32_t c[kMaxNumber + 1][kMaxSubsetSize + 1];
    constexpr BinomialTable() : c{} {
        for (int z = 0; z <= kMaxNumber; ++z) {
            c[z][0] = 1;
            for (int j = 1; j <= kMaxSubsetSize && z > 0; ++j)
                c[z][j] = c[z - 1][j - 1] + c[z - 1][j];
        }
    }
};
inline constexpr BinomialTable kBinomials{};
}  // namespace detail

// The binomial coefficient C(z, j), z in 0..128, j in 0..kMaxSubsetSize.
// The engine ranks a j-subset of 1..128 with numbers v1 < ... < vj by
// C(v1 - 1, 1) + ... + C(vj - 1, j): the ranks run from 0 to C(128, j) - 1, and
// adding a number v above all others adds C(v - 1, size after adding).
inline std::uint32_t binomial(int z, int j) {
    return detail::kBinomials.c[z][j];
}

// The entries of the completion index. Each comes to life zeroed, all at once
// or, with zero(), a region at a time: the threads that record lines zero
// their own regions first, and so share the page faults of a fresh table.
class MaskTable {
  public:
    MaskTable() = default;
    // `size` entries, zeroed unless `zeroed` is false; then every entry must
    // be zeroed before it is read or written.
    MaskTable(std::size_t size, bool zeroed) : size_(size), data_(allocate(size)) {
        if (zeroed) zero(0, size);
    }
    MaskTable(const MaskTable& other) : size_(other.size_), data_(allocate(size_)) {
        std::uninitialized_copy(other.data_.get(), other.data_.get() + size_, data_.get());
    }
    MaskTable(MaskTable&&) noexcept = default;
    MaskTable& operator=(MaskTable other) noexcept {
        std::swap(size_, other.size_);
        std::swap(data_, other.data_);
        return *this;
    }

    void zero(std::size_t from, std::size_t to) {
        std::uninitialized_value_construct(data_.get() + from, data_.get() + to);
    }
    std::size_t size() const { return size_; }
    NumberMask& operator[](std::size_t i) { return data_[i]; }
    const NumberMask& operator[](std::size_t i) const { return data_[i]; }

  private:
    struct Free {
        void operator()(NumberMask* p) const { ::operator delete(p); }
    };
    static NumberMask* allocate(std::size_t size) {
        return static_cast<NumberMask*>(::operator new(size * sizeof(NumberMask)));
    }
    std::size_t size_ = 0;
    std::unique_ptr<NumberMask[], Free> data_;
};

// What the walk needs to know about the draw lines, for a subset size k >= 2:
// for every (k-1)-subset of 1..maxNumber, written T + {x} with x above the
// numbers of T, the numbers y for which T + {x, y} lies within one draw line.
// The masks of one T lie side by side for ascending x (its "row"), since the
// walk asks about one T with one x after another.
//
// Numbers outside 1..maxNumber can never be part of a candidate and are left
// out; a line with fewer than k numbers in range adds nothing. Only the
// numbers above x are kept exactly, as the walk asks only about those: a mask
// may also hold numbers of T + {x} and miss numbers below x.
//
// Recording a line of 20 numbers for five-number subsets takes 3,876 writes,
// and a few thousand random lines already rule out nearly every prefix that
// the longer sets could grow from. So an index of many lines may record only
// the first of them and keep the others as "checked lines": the walk then
// checks each group of sets that reaches its last number against them, and a
// set qualifies only when no checked line holds k of its numbers either. The
// answers are the same, and over every Multi Multi draw "5 z 7" takes a third
// less time.
class CompletionIndex {
  public:
    // See search/engine.hpp. The lines are recorded by `threads` threads
    // (1..kMaxWalkThreads); the index answers the same for any count. With
    // setSize, the size of the sets the walks will look for, the index may
    // check lines instead of recording them where that is cheaper.
    CompletionIndex(const std::vector<std::string>& draws, int subsetSize, int maxNumber,
                    int threads = 1, int setSize = 0);
    // An index of no lines yet, which add() then fills.
    CompletionIndex(int subsetSize, int maxNumber);
    // An index that records the first `recorded` lines that hold k numbers of
    // 1..maxNumber and checks the others. REQUIRES subsetSize >= 2.
    static CompletionIndex checking(const std::vector<std::string>& draws, int subsetSize,
                                    int maxNumber, std::size_t recorded, int threads = 1);

    // Records `count` more lines, by `threads` threads: the index then answers
    // for every line it was given. Copies made before answer as they did.
    void add(const std::string* lines, std::size_t count, int threads = 1);

    // k = 1: every number that some line holds.
    const NumberMask& drawnNumbers() const { return drawnNumbers_; }

    // k >= 2: the row of the (k-2)-subset T of the given rank (see binomial()).
    std::uint32_t row(std::uint32_t rank) const { return rows_[rank]; }
    // k >= 3: the row of T = S + {x}, S the (k-3)-subset of the given rank and
    // x above its numbers; from two small tables instead of the large rows_.
    std::uint32_t rowWith(std::uint32_t rank, int x) const {
        return bases_[rank] + offsets_[static_cast<std::size_t>(x)];
    }
    // k >= 2: the numbers y for which T + {x, y} lies within one line.
    // REQUIRES x in 1..maxNumber, above the numbers of T.
    const NumberMask& completions(std::uint32_t row, int x) const {
        // Rows are stored so that row + x wraps round to the right place.
        return table_[static_cast<std::uint32_t>(row + static_cast<std::uint32_t>(x))];
    }

    // The lines to check at the end of a walk (k >= 2), each as its numbers.
    const std::vector<NumberMask>& checkedLines() const { return checked_; }
    // Checking lines one by one costs a walk that meets many groups more than
    // recording them would have. Once the walks have spent that, this is an
    // index of every line, recorded by the first walk that asks (the others
    // wait for it), and the walks look their groups up in it instead; until
    // then nullptr, as always for an index that checks no lines. A build that
    // fails throws its exception to every walk that asks.
    const CompletionIndex* wholeIndex() const;
    // That index of every line once it is there, for walks that start later;
    // otherwise this index.
    const CompletionIndex& latest() const;

  private:
    // The rows laid out; the table zeroed unless `zeroed` is false, when the
    // first record() zeroes it.
    CompletionIndex(int subsetSize, int maxNumber, bool zeroed);
    // The draw lines that count, each as the set of its numbers in range.
    std::vector<NumberMask> linesIn(const std::string* draws, std::size_t count) const;
    void record(const std::vector<NumberMask>& lines, int threads);
    // Where the table's rows of the T with this smallest number begin.
    std::size_t regionStart(int smallest) const;
    // Records lines[0..recorded) and checks the others.
    void recordAndCheck(std::vector<NumberMask> lines, std::size_t recorded, int threads);
    // A fresh, unshared state for the index of every line (see wholeIndex()).
    void startWhole(int threads);

    int subsetSize_, maxNumber_;
    NumberMask drawnNumbers_;
    std::vector<std::uint32_t> rows_;
    std::vector<std::uint32_t> bases_, offsets_;  // see rowWith()
    MaskTable table_;
    bool zeroed_ = true;  // false until the first record() of a fresh table
    std::vector<NumberMask> checked_;
    struct Whole;  // see wholeIndex(); shared by copies of the index
    std::shared_ptr<Whole> whole_;
};

namespace detail {

// The depth-first walk; see forEachNeverDrawn.
// K and N, when not 0, fix the subset and set sizes at compile time, so that
// the compiler can fold the binomials and unroll the loops of each level.
template <class Visit, int K = 0, int N = 0>
class NeverDrawnWalk {
  public:
    NeverDrawnWalk(const CompletionIndex& index, const NeverDrawnQuery& q, Visit& visit,
                   const NumberMask& firstNumbers = NumberMask::upTo(kMaxNumber),
                   const WalkStop* stop = nullptr)
        : index_(&index),
          setSize_(q.setSize),
          subsetSize_(q.subsetSize),
          range_(NumberMask::upTo(q.maxNumber)),
          firstNumbers_(firstNumbers),
          stop_(stop),
          visit_(visit) {
        ranks_[0][0] = 0;  // the empty subset of every prefix
        if (k() == 2) rows_[0] = index_->row(0);
    }

    bool run() {
        NumberMask allowed = range_;
        // With k = 1 the empty prefix already rules out every drawn number.
        if (k() == 1) allowed -= index_->drawnNumbers();
        if (n() == 1) return visitEach(0, allowed & firstNumbers_);
        return descend(0, allowed, allowed.count());
    }

  private:
    // numbers_[0..depth) is the prefix, which holds no recorded k-subset, and
    // `allowed` (of `count` numbers) the numbers above it that would not
    // complete one; depth < n - 1. Returns false when the visitor stopped.
    bool descend(int depth, NumberMask allowed, int count) {
        // Adding x to the prefix creates the (k-1)-subsets T + {x} for every
        // (k-2)-subset T of the prefix; their completions are ruled out next.
        // A prefix is dropped as soon as too few numbers are left to fill the
        // set, which with many draws spares most of the look-ups.
        const int toFill = n() - depth;
        const int lookups = k() >= 2 ? static_cast<int>(binomial(depth, k() - 2)) : 0;
        const bool lastBut = toFill == 2;
        for (int left = count; left >= toFill; --left) {
            const int x = allowed.lowest();
            allowed.removeLowest();
            if (depth == 0 && !firstNumbers_.test(x)) continue;
            // Looked at a few hundred thousand times per walk at most: a stop
            // from another thread is seen within milliseconds at no cost.
            if (depth <= 2 && stop_ && stop_->stopped()) return false;
            // Where no look-up has been made yet, a walk that checks lines moves
            // to the index of every line as soon as there is one.
            if (depth <= k() - 2 && !index_->checkedLines().empty()) index_ = &index_->latest();
            numbers_[depth] = x;

            NumberMask next = allowed;
            if (lastBut) {
                // Only whether any number is left matters.
                for (int t = 0; t < lookups; ++t) next -= index_->completions(rows_[t], x);
                if (!visitEach(depth + 1, next)) return false;
                continue;
            }
            // Whether enough numbers are left is hard to foretell, and each
            // wrong guess of the processor costs about as much as a look-up:
            // the first four look-ups are taken together, without a test
            // between them, and only the rest stop as soon as too few are
            // left. (Up to depth 4 of a five-number subset that is all of
            // them; "5 z 8" over 1,100 draws takes a third less time.)
            NumberMask gone;
            int t = 0;
            for (; t < lookups && t < 4; ++t) gone |= index_->completions(rows_[t], x);
            next -= gone;
            bool enough = next.hasAtLeast(toFill - 1);
            for (; t < lookups && enough; ++t) {
                next -= index_->completions(rows_[t], x);
                enough = next.hasAtLeast(toFill - 1);
            }
            if (!enough) continue;
            addSubsetsWith(depth, x);
            if (!descend(depth + 1, next, next.count())) return false;
        }
        return true;
    }

    // A visitor that takes (prefix, last numbers) gets each group of sets that
    // share all but their last number at once.
    static constexpr bool kGroups = std::is_invocable_v<Visit&, const int*, const NumberMask&>;

    // Completes the prefix numbers_[0..last) with each number of `allowed`.
    bool visitEach(int last, NumberMask allowed) {
        if (!index_->checkedLines().empty()) allowed = checked(last, allowed);
        if constexpr (kGroups) {
            return allowed.empty() || visit_(static_cast<const int*>(numbers_), allowed);
        } else {
            for (int w = 0; w < 2; ++w) {
                for (std::uint64_t bits = allowed.word[w]; bits; bits &= bits - 1) {
                    numbers_[last] = __builtin_ctzll(bits) + 1 + 64 * w;
                    if (!visit_(static_cast<const int*>(numbers_))) return false;
                }
            }
            return true;
        }
    }

    // The numbers of `allowed` that complete the prefix numbers_[0..last) to a
    // set holding no k numbers of any checked line: none when the prefix
    // itself holds k of one.
    NumberMask checked(int last, NumberMask allowed) const {
        if (allowed.empty()) return allowed;
        NumberMask prefix;
        for (int i = 0; i < last; ++i) prefix.set(numbers_[i]);
        if (const CompletionIndex* whole = index_->wholeIndex()) {
            // The walk's own look-ups, in the index of every line: each
            // (k-1)-subset of the prefix, by its largest number x, rules out
            // its completions, and any completion within the prefix rules out
            // the group.
            NumberMask above = prefix;
            for (int d = 0; d < last; ++d) {
                above.removeLowest();
                const int lookups = static_cast<int>(binomial(d, k() - 2));
                for (int t = 0; t < lookups; ++t) {
                    const NumberMask& completing = whole->completions(rows_[t], numbers_[d]);
                    if (!(completing & above).empty()) return {};
                    allowed -= completing;
                }
            }
            return allowed;
        }
        for (const NumberMask& line : index_->checkedLines()) {
            const int shared = (line & prefix).count();
            if (shared >= k()) return {};
            if (shared == k() - 1) allowed -= line;
        }
        return allowed;
    }

    // Appends to ranks_ and rows_ the subsets of the prefix + x that hold x:
    // each (j-1)-subset of the prefix with x on top. They follow the prefix's
    // own j-subsets, whose count is C(depth, j).
    void addSubsetsWith(int depth, int x) {
        for (int j = 1; j <= k() - 3; ++j) {
            const int first = static_cast<int>(binomial(depth, j));
            const int added = static_cast<int>(binomial(depth, j - 1));
            const std::uint32_t offset = binomial(x - 1, j);
            for (int t = 0; t < added; ++t) ranks_[j][first + t] = ranks_[j - 1][t] + offset;
        }
        if (k() >= 3) {
            const int first = static_cast<int>(binomial(depth, k() - 2));
            const int added = static_cast<int>(binomial(depth, k() - 3));
            for (int t = 0; t < added; ++t)
                rows_[first + t] = index_->rowWith(ranks_[k() - 3][t], x);
        }
    }

    // Room for the j-subsets of a prefix of up to kMaxSetSize - 1 numbers.
    static constexpr int kMaxSubsets = 35;

    const CompletionIndex* index_;  // see descend()
    const int setSize_;
    const int subsetSize_;
    // n and k of the query: constants when the walk was made for them.
    int n() const {
        if constexpr (N > 0) return N;
        return setSize_;
    }
    int k() const {
        if constexpr (K > 0) return K;
        return subsetSize_;
    }
    const NumberMask range_;
    const NumberMask firstNumbers_;  // the walk visits only sets that begin with one of these
    const WalkStop* const stop_;     // nullptr: the walk ends only when visit_ says so
    Visit& visit_;
    int numbers_[kMaxSetSize] = {};
    // Ranks of the prefix's j-subsets for j = 0..k-3, and the rows of its
    // (k-2)-subsets, in the order they were added.
    std::uint32_t ranks_[kMaxSubsetSize - 2][kMaxSubsets] = {};
    std::uint32_t rows_[kMaxSubsets] = {};
};

}  // namespace detail

template <class Visit>
bool forEachNeverDrawn(const CompletionIndex& index, const NeverDrawnQuery& query,
                       const NumberMask& firstNumbers, Visit&& visit, const WalkStop* stop) {
    // The walks that take longest, of five-number subsets in sets of seven
    // and eight, run about 15% faster with their sizes fixed.
    if (query.subsetSize == 5 && query.setSize == 8)
        return detail::NeverDrawnWalk<Visit, 5, 8>(index, query, visit, firstNumbers, stop).run();
    if (query.subsetSize == 5 && query.setSize == 7)
        return detail::NeverDrawnWalk<Visit, 5, 7>(index, query, visit, firstNumbers, stop).run();
    return detail::NeverDrawnWalk<Visit>(index, query, visit, firstNumbers, stop).run();
}

template <class Visit>
bool forEachNeverDrawn(const std::vector<std::string>& draws, const NeverDrawnQuery& query,
                       Visit&& visit) {
    assert(query.subsetSize >= 1 && query.subsetSize <= query.setSize &&
           query.subsetSize <= kMaxSubsetSize && query.setSize <= kMaxSetSize &&
           query.maxNumber >= 1 && query.maxNumber <= kMaxNumber);
    const CompletionIndex index(draws, query.subsetSize, query.maxNumber);
    return forEachNeverDrawn(index, query, NumberMask::upTo(kMaxNumber), visit);
}

template <class VisitGroup>
bool forEachNeverDrawnGroup(const std::vector<std::string>& draws, const NeverDrawnQuery& query,
                            VisitGroup&& visit) {
    static_assert(std::is_invocable_r_v<bool, VisitGroup&, const int*, const NumberMask&>);
    return forEachNeverDrawn(draws, query, visit);
}

}  // namespace zestawy
