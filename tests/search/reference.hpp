// Slow, literal versions of the program's searches, kept in the tests so that
// the real searches can be checked against them on the same draw lists.
//
// The exhaustive searches are one plain walk: record every k numbers of every
// line in a std::set, then try every n-set in ascending lexicographic order.
// Nothing here is tuned for speed; the Multi Multi walks of five or more
// numbers take minutes to hours when run to the end, so the walk stops after
// a given number of found sets.
//
// The random searches draw from zestawy::rand() exactly as the program does
// (79 calls per random draw), so given the same generator state they answer
// the same sets as the real searches.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "search/engine.hpp"

namespace zestawy::reference {

using Draws = std::vector<std::string>;
using SetList = std::vector<std::vector<int>>;

// The q.setSize-sets of 1..q.maxNumber, each ascending, in ascending
// lexicographic order, no q.subsetSize of whose numbers any line holds; the
// first `limit` of them.
SetList neverDrawn(const Draws& draws, const NeverDrawnQuery& q, std::size_t limit = SIZE_MAX);

// A random triple of 1..80 never drawn together; empty, without drawing, when
// every triple was drawn together.
std::vector<int> findNeverAppearedTripleInFlight(const Draws& draws);

// a + 97 b + 97^2 c + 97^3 d + 97^4 e + 97^5 f, wrapping modulo 2^32.
std::int32_t hashSix(int a, int b, int c, int d, int e, int f);
// Nine (ten) distinct numbers of 1 to 80, ascending; takes 79 values of rand().
std::vector<int> randomNine6from9();
std::vector<int> randomTen7from10();
// Up to ten random nine-number sets none of whose six-number subsets hashes
// like a six-number subset of a draw line; fewer only when maxDraws random
// draws have been made.
SetList findTenNeverAppearedNine6from9_Hash(const Draws& draws, long long maxDraws = 1000000);
// Up to ten random ten-number sets none of whose seven-number subsets lies in
// a draw line or in a set accepted before; fewer only when maxDraws random
// draws have been made.
SetList findTenNeverAppearedTen7from10(const Draws& draws, long long maxDraws = 1000000);

// How many n-sets of 1..80 hold fewer than k numbers of every line: a plain
// depth-first count with a hit counter per line, which drops a prefix as soon
// as one line holds k of its numbers. Seconds to a minute where the full
// lists would take hours.
std::uint64_t countMultiSetsWithFewerThanKPerLine(const Draws& draws, int n, int k);

}  // namespace zestawy::reference
