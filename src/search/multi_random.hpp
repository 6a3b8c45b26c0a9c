// The randomised Multi Multi searches (numbers 1 to 80): a random triple never
// drawn together, and ten random nine- or ten-number sets that share too few
// numbers with every draw line.
//
// All randomness comes from zestawy::rand(). One random draw shuffles the pool
// 1..80 from the back (position i = 79 down to 1 exchanged with position
// rand() % (i + 1)), takes its first k numbers and sorts them: exactly 79
// values of the generator per draw, whatever k is. The sets a search answers
// are therefore fixed by the generator state on entry, and a call leaves the
// state advanced by 79 values per draw it made, so successive random searches
// continue one sequence.
//
// Draw lines are read as parseLine reads them; numbers outside 1..80 are
// recorded like any other and never match a drawn set (except through
// hashSix, see below).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zestawy {

// The bound on random draws per call of the nine- and ten-number searches.
// Over real draw lines they need a few dozen draws; the bound ends only calls
// whose lines leave next to nothing to find. A rejected draw costs little more
// than its 79 values of rand(), and the bound keeps a call that runs into it
// well below two seconds of processor time, with room for a busy or slower
// machine (bench/random_bench.cpp times such calls and the cost per draw);
// lines that let even one draw in 100,000 pass still give their ten sets well
// within it.
inline constexpr long long kMaxRandomDraws = 3'000'000;

// A random triple of 1..80, ascending, that no draw line holds in full; empty,
// without drawing at all, when every triple of 1..80 lies within some line.
// Draws until it finds one: no bound, since an absent triple exists.
std::vector<int> findNeverAppearedTripleInFlight(const std::vector<std::string>& draws);

// a + 97 b + 97^2 c + 97^3 d + 97^4 e + 97^5 f modulo 2^32, as a signed value.
// Not one-to-one on six-number sets of 1..80: different sets may share a hash.
std::int32_t hashSix(int a, int b, int c, int d, int e, int f);

// One random draw of nine (ten) distinct numbers of 1..80, ascending.
std::vector<int> randomNine6from9();
std::vector<int> randomTen7from10();

// Random nine-number sets, in the order drawn, none of whose 84 six-number
// subsets has the hashSix of a six-number subset of a draw line (of any
// numbers the line holds, in range or not). Accepted sets are not compared
// with one another, so a set may come twice. Ten sets, fewer only when
// maxDraws draws have been made.
// Throws std::bad_alloc when a draw has to be checked against more than 2^30
// six-number subsets of the draw lines (lines of a hundred numbers and more).
// `keepGoing`, when given, is asked every few thousand draws; once it says
// no, the sets accepted so far are returned.
std::vector<std::vector<int>> findTenNeverAppearedNine6from9_Hash(
    const std::vector<std::string>& draws, long long maxDraws = kMaxRandomDraws,
    const std::function<bool()>& keepGoing = {});

// Random ten-number sets, in the order accepted, none of which holds seven
// numbers of one draw line or seven numbers of a set accepted before it. Ten
// sets, fewer only when maxDraws draws have been made.
// sets, fewer only when maxDraws draws have been made or keepGoing said no.
std::vector<std::vector<int>> findTenNeverAppearedTen7from10(
    const std::vector<std::string>& draws, long long maxDraws = kMaxRandomDraws,
    const std::function<bool()>& keepGoing = {});

}  // namespace zestawy
