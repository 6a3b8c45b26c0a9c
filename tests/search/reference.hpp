// Slow, literal versions of every search of the program, kept in the tests so
// that the real searches can be checked against them on the same draw lists.
//
// Each function records the combinations of every draw line in a std::set of
// the same key type as the real search, walks its candidates with plain nested
// loops in ascending lexicographic order and stops where the real search
// stops. Nothing here is tuned for speed; the exhaustive Multi Multi walks of
// five or more numbers take minutes to hours when run to the end, so they
// have overloads that stop after a given number of found sets.
//
// The random searches draw from zestawy::rand() exactly as the program does
// (79 calls per random draw), so given the same generator state they answer
// the same sets as the real searches.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "combinatorics/keys.hpp"

namespace zestawy::reference {

// ---- Multi Multi (1 to 80): pair and triple searches ----

// The first pair (j, k), j < k, never drawn together; empty when none.
std::vector<int> findNeverAppearedPair(const std::vector<std::string>& draws);
// The first triple none of whose pairs was drawn together; all zero when none.
TripleC findNeverAppearedTripleFromPairs(const std::vector<std::string>& draws);
// A random triple never drawn together; empty, without drawing, when every
// triple of 1 to 80 was drawn together.
std::vector<int> findNeverAppearedTripleInFlight(const std::vector<std::string>& draws);

// ---- Multi Multi exhaustive k-from-n list searches ----
// Every n-number set of 1 to 80 no k of whose numbers were drawn together
// (k = n: the set itself never drawn), each ascending, in ascending
// lexicographic order. The two-argument overloads stop the walk as soon as
// maxSets sets have been found and return those (the first maxSets of the
// full answer).

std::vector<std::vector<int>> findAllNeverAppearedQuads3from4InFlight(
    const std::vector<std::string>& draws);
std::vector<std::vector<int>> findAllNeverAppearedQuads3from4InFlight(
    const std::vector<std::string>& draws, std::size_t maxSets);
std::vector<std::vector<int>> findAllNeverAppearedQuad4from4InFlight(
    const std::vector<std::string>& draws);
std::vector<std::vector<int>> findAllNeverAppearedQuad4from4InFlight(
    const std::vector<std::string>& draws, std::size_t maxSets);
std::vector<std::vector<int>> findAllNeverAppearedQuintuple3from5AnyOrder(
    const std::vector<std::string>& draws);
std::vector<std::vector<int>> findAllNeverAppearedQuintuple3from5AnyOrder(
    const std::vector<std::string>& draws, std::size_t maxSets);
std::vector<std::vector<int>> findAllNeverAppearedQuint4from5InFlight(
    const std::vector<std::string>& draws);
std::vector<std::vector<int>> findAllNeverAppearedQuint4from5InFlight(
    const std::vector<std::string>& draws, std::size_t maxSets);
std::vector<std::vector<int>> findAllNeverAppearedQuintuple5from80(
    const std::vector<std::string>& draws);
std::vector<std::vector<int>> findAllNeverAppearedQuintuple5from80(
    const std::vector<std::string>& draws, std::size_t maxSets);
std::vector<std::vector<int>> findAllNeverAppearedSextuple4from6InFlight(
    const std::vector<std::string>& draws);
std::vector<std::vector<int>> findAllNeverAppearedSextuple4from6InFlight(
    const std::vector<std::string>& draws, std::size_t maxSets);
std::vector<std::vector<int>> findAllNeverAppearedSextuple5from6InFlight(
    const std::vector<std::string>& draws);
std::vector<std::vector<int>> findAllNeverAppearedSextuple5from6InFlight(
    const std::vector<std::string>& draws, std::size_t maxSets);
std::vector<std::vector<int>> findAllNeverAppearedSevens5from7(
    const std::vector<std::string>& draws);
std::vector<std::vector<int>> findAllNeverAppearedSevens5from7(
    const std::vector<std::string>& draws, std::size_t maxSets);
std::vector<std::vector<int>> findAllNeverAppearedOcts5from8InFlight(
    const std::vector<std::string>& draws);
std::vector<std::vector<int>> findAllNeverAppearedOcts5from8InFlight(
    const std::vector<std::string>& draws, std::size_t maxSets);

// ---- Multi Multi randomised nine- and ten-number searches ----

// a + 97 b + 97^2 c + 97^3 d + 97^4 e + 97^5 f, wrapping modulo 2^32.
std::int32_t hashSix(int a, int b, int c, int d, int e, int f);
// Nine (ten) distinct numbers of 1 to 80, ascending; takes 79 values of rand().
std::vector<int> randomNine6from9();
std::vector<int> randomTen7from10();
// Up to ten random nine-number sets none of whose six-number subsets hashes
// like a six-number subset of a draw line; fewer only when maxDraws random
// draws have been made.
std::vector<std::vector<int>> findTenNeverAppearedNine6from9_Hash(
    const std::vector<std::string>& draws, long long maxDraws = 1000000);
// Up to ten random ten-number sets none of whose seven-number subsets lies in
// a draw line or in a set accepted before; fewer only when maxDraws random
// draws have been made.
std::vector<std::vector<int>> findTenNeverAppearedTen7from10(const std::vector<std::string>& draws,
                                                             long long maxDraws = 1000000);

// How many n-sets of 1..80 hold fewer than k numbers of every line: a plain
// depth-first count with a hit counter per line, which drops a prefix as soon
// as one line holds k of its numbers. Seconds to a minute where the full
// lists would take hours.
std::uint64_t countMultiSetsWithFewerThanKPerLine(const std::vector<std::string>& draws, int n,
                                                  int k);

// ---- Mini Lotto (1 to 42) ----

// The smallest number of 1 to 42 in no line; 0 when none.
int findNeverAppearedSingle_1_42(const std::vector<std::string>& draws);
// Every qualifying set, each ascending, in ascending lexicographic order.
std::vector<std::vector<int>> findAllNeverAppearedPairs_1_42(const std::vector<std::string>& draws);
std::vector<std::vector<int>> findAllNeverAppearedTriple2from3AnyOrder42_pairg(
    const std::vector<std::string>& draws);
std::vector<std::vector<int>> findAllNeverAppearedQuad3from4AnyOrder42_tripleg(
    const std::vector<std::string>& draws);
std::vector<std::vector<int>> findAllNeverAppearedQuintuple3from5AnyOrder42_tripleg(
    const std::vector<std::string>& draws);

// ---- Lotto (1 to 49): the first qualifying set; 0 or all zero when none ----

int findNeverAppearedSingle_1_49(const std::vector<std::string>& draws);
Pair2 findNeverAppearedPair_1_49(const std::vector<std::string>& draws);
TripleD findNeverAppearedTripleFromPairs_1_49(const std::vector<std::string>& draws);
TripleE findNeverAppearedTriple_1_49(const std::vector<std::string>& draws);
QuadrupleD findNeverAppearedQuadrupleFromTriples_1_49(const std::vector<std::string>& draws);
QuintupleD findNeverAppearedQuintupleFromTriples_1_49(const std::vector<std::string>& draws);

}  // namespace zestawy::reference
