// The counting walk of the backtest (search/backtest.cpp), in one pass over
// the draws, some multiple of 64 at a time.
//
// Each number's draws are a bitset over the draw list, 64 draws a word; a
// set's appearances among 64 draws are then one word, "at least k of its
// numbers' words have the bit", counted bit-sliced. For each word of draws
// each part of the followed sets (a contiguous range, one per thread) walks
// its sets in order and each set's appearances in time order: an appearance
// at t closes the run of draws since the set's previous one, over which its
// wait rose by one a draw, so the draws at which the wait stood in a group
// are one range per group, added to that group's difference array over the
// draws. Only runs that reach past the first group are counted so: at every
// draw the first group holds whatever sets and appearances the others do
// not, and most appearances end a short run. The part also lists its
// appearing sets draw by draw, in set order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "search/backtest.hpp"

namespace zestawy::backtest_walk {

// The waits at which each group starts: group g holds the waits
// starts[g] <= w < starts[g + 1], as w / gap compares with its bounds. Past
// the longest possible wait (the length of the list) every start is the same.
// Every group but the first starts at a wait of one or more.
struct GroupStarts {
    std::int64_t at[kWaitGroupCount + 1];

    GroupStarts(double gap, std::int64_t beyond);
    int groupOf(std::int64_t wait) const {
        int g = 0;
        while (g + 1 < kWaitGroupCount && at[g + 1] <= wait) ++g;
        return g;
    }
};

// What the walk reads: the draws as bitsets and the followed sets.
struct Walk {
    const NeverDrawnQuery& query;
    std::size_t lines;                  // L
    std::vector<std::uint64_t> bits;    // drawBits
    std::vector<std::uint8_t> numbers;  // setSize per followed set
    GroupStarts starts;

    const std::uint64_t* wordsAt(std::size_t word) const {
        return &bits[word * static_cast<std::size_t>(query.maxNumber + 1)];
    }
    const std::uint8_t* set(std::uint32_t s) const {
        return &numbers[static_cast<std::size_t>(s) * static_cast<std::size_t>(query.setSize)];
    }
};

// The draws as bitsets: word w of number v at w * (maxNumber + 1) + v.
std::vector<std::uint64_t> drawBits(const std::vector<std::string>& draws,
                                    const NeverDrawnQuery& query);

// The draws among the word's 64 in which followed set s appeared.
std::uint64_t appearances(const Walk& walk, std::uint32_t s, std::size_t word);

// One thread's contiguous range of the followed sets and its own counts.
struct Part {
    std::uint32_t from = 0, to = 0;
    std::vector<std::uint32_t> appeared;             // group g, draw t at g * L + t
    std::vector<std::int32_t> change;                // chances: difference array, g * (L + 1) + t
    std::vector<std::vector<std::uint32_t>> byDraw;  // the chunk's draws: the sets that appeared

    // The set that last appeared in draw `last` (-1: never) waited in every
    // draw from last + 1 to `end`: its chances there, judged draws only, in
    // every group but the first (which gets what the others leave).
    void addChances(const GroupStarts& starts, std::size_t lines, std::int64_t last,
                    std::int64_t end);
    // The part's sets over the words [firstWord, endWord) of the draws; lastSeen[s]: the
    // draw in which set s last appeared (-1: none yet).
    void walk(const Walk& w, std::vector<std::int32_t>& lastSeen, std::size_t firstWord,
              std::size_t endWord);
};

// The parts of `followed` sets: nearly equal ranges, in order, one a thread
// where there are enough sets for it, each with room for `chunkDraws` draws.
std::vector<Part> partsOf(std::uint32_t followed, int threads, std::size_t lines,
                          std::size_t chunkDraws);

// Runs every part's walk over the words, part 0 in the calling thread.
void walkParts(const Walk& walk, std::vector<Part>& parts, std::vector<std::int32_t>& lastSeen,
               std::size_t firstWord, std::size_t endWord);

}  // namespace zestawy::backtest_walk
