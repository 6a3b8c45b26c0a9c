// The engine behind every exhaustive search of the three games.
//
// An exhaustive k-from-n search records every k numbers that stood together in
// one draw line and lists, in ascending lexicographic order, every set of n
// numbers from 1..maxNumber none of whose k-subsets was recorded (for k = n:
// the set itself was not recorded). How it gets there without trying every
// candidate is told in search/engine_detail.hpp.
//
// The engine reads draw lines but does no other I/O.
#pragma once

#include <atomic>
#include <climits>
#include <string>
#include <vector>

#include "combinatorics/number_mask.hpp"

namespace zestawy {

constexpr int kMaxSetSize = 8;
constexpr int kMaxSubsetSize = 5;
constexpr int kMaxNumber = 128;

// What an exhaustive search looks for.
// Written as the buttons' captions read: "3 z 4" of 1..80 is {3, 4, 80}.
struct NeverDrawnQuery {
    int subsetSize;  // k: 1..kMaxSubsetSize and at most n; a set qualifies when no
                     // k of its numbers ever stood together in one draw line
    int setSize;     // n: numbers in a set, 1..kMaxSetSize
    int maxNumber;   // sets are made of the numbers 1..maxNumber, maxNumber <= kMaxNumber
};

// What the walks need to know about the draw lines, built once for a subset
// size and a largest number and then read by any number of walks at once:
//   CompletionIndex(draws, subsetSize, maxNumber[, threads, setSize])
// (with setSize, the size of the sets that the walks will look for, an index
// of many lines may record only some of them; the answers are the same).
// REQUIRES 1 <= subsetSize <= kMaxSubsetSize, 1 <= maxNumber <= kMaxNumber.
// Memory: 16 * C(maxNumber, subsetSize - 1) bytes (25 MB for 5-subsets of 1..80, 1.3 MB
// for 4-subsets), twice that when an index that checks lines (see
// search/engine_detail.hpp) records them after all.
class CompletionIndex;

// Ends walks early, from any thread: a walk that watches it returns false
// within a step of its third number once stop() was called. One stop may be
// made to follow another (`outer`): it then stops whenever that one stops.
class WalkStop {
  public:
    explicit WalkStop(const WalkStop* outer = nullptr) : outer_(outer) {}
    void stop() { stopped_.store(true, std::memory_order_relaxed); }
    bool stopped() const {
        return stopped_.load(std::memory_order_relaxed) || (outer_ && outer_->stopped());
    }

  private:
    std::atomic<bool> stopped_{false};
    const WalkStop* outer_;
};

// Calls visit(const int* numbers) with every qualifying set of the query, its
// query.setSize numbers ascending, the sets in ascending lexicographic order.
// visit returns true to go on, false to stop the walk; the pointer is valid only
// during the call. Numbers of the draw lines are read as parseLine reads them.
// REQUIRES 1 <= subsetSize <= min(setSize, kMaxSubsetSize), setSize <= kMaxSetSize,
//          1 <= maxNumber <= kMaxNumber.
// Returns false when visit stopped the walk, true when every set was visited.
template <class Visit>
bool forEachNeverDrawn(const std::vector<std::string>& draws, const NeverDrawnQuery& query,
                       Visit&& visit);

// The same walk over an index built once, restricted to the sets whose first
// number is in firstNumbers, so that one walk can be shared among threads.
// REQUIRES index built with query.subsetSize and query.maxNumber.
// With a stop, the walk also ends, returning false, once stop->stopped().
template <class Visit>
bool forEachNeverDrawn(const CompletionIndex& index, const NeverDrawnQuery& query,
                       const NumberMask& firstNumbers, Visit&& visit,
                       const WalkStop* stop = nullptr);

// The walk of forEachNeverDrawn in groups: calls visit(const int* prefix,
// const NumberMask& last) once for every prefix of query.setSize - 1 numbers
// that some qualifying sets share, with the non-empty set of their last
// numbers; the prefix + each number of `last` is one qualifying set. Much
// cheaper than visiting each set where there are hundreds of millions.
template <class VisitGroup>
bool forEachNeverDrawnGroup(const std::vector<std::string>& draws, const NeverDrawnQuery& query,
                            VisitGroup&& visit);

// Every qualifying set, in the order of forEachNeverDrawn.
std::vector<std::vector<int>> allNeverDrawn(const std::vector<std::string>& draws,
                                            const NeverDrawnQuery& query);

// The first qualifying set, or an empty vector when there is none.
std::vector<int> firstNeverDrawn(const std::vector<std::string>& draws,
                                 const NeverDrawnQuery& query);

}  // namespace zestawy

// The index and the walk behind the templates above.
#include "search/engine_detail.hpp"
