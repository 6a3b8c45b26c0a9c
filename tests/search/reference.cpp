#include "search/reference.hpp"

#include <algorithm>
#include <limits>
#include <set>
#include <utility>

#include "combinatorics/parse.hpp"
#include "combinatorics/random.hpp"

namespace zestawy::reference {

namespace {

using Draws = std::vector<std::string>;
using SetList = std::vector<std::vector<int>>;

constexpr std::size_t kNoLimit = std::numeric_limits<std::size_t>::max();

// The distinct numbers of a line, ascending, as a vector.
std::vector<int> lineNumbers(const std::string& line) {
    const std::set<int> numbers = parseLine(line);
    return std::vector<int>(numbers.begin(), numbers.end());
}

// Nested loops of any depth: x[level], x[level + 1], ... each run from one
// above the value before them (from `first` at level 0) up to `last`, and
// visit(x) is called for every full x, in ascending lexicographic order. Stops
// and returns true as soon as a visit returns true.
template <class Visit>
bool anyAscending(std::vector<int>& x, std::size_t level, int start, int last, Visit& visit) {
    if (level == x.size()) return visit(x);
    for (int v = start; v <= last; ++v) {
        x[level] = v;
        if (anyAscending(x, level + 1, v + 1, last, visit)) return true;
    }
    return false;
}

// Every choice of k positions p1 < ... < pk of 0 .. size-1, in ascending
// lexicographic order of the positions.
std::vector<std::vector<int>> positionChoices(int size, int k) {
    std::vector<std::vector<int>> choices;
    std::vector<int> p(static_cast<std::size_t>(k));
    auto keep = [&](const std::vector<int>& x) {
        choices.push_back(x);
        return false;
    };
    anyAscending(p, 0, 0, size - 1, keep);
    return choices;
}

template <class KeyT, std::size_t... I>
KeyT keyAt(const std::vector<int>& numbers, const std::vector<int>& positions,
           std::index_sequence<I...>) {
    return KeyT(numbers[positions[I]]...);
}

// The key of the numbers at the given positions.
template <class KeyT>
KeyT keyAt(const std::vector<int>& numbers, const std::vector<int>& positions) {
    return keyAt<KeyT>(numbers, positions, std::make_index_sequence<KeyT::size>{});
}

// The exhaustive k-from-n search over 1 to 80, k being the key's size:
// record every k numbers of every line, then walk every n-number candidate and
// keep those none of whose k-subsets (tested by positions, in ascending order
// of the positions, stopping at the first recorded one) was recorded.
template <class KeyT, int N>
SetList exhaustiveKfromN(const Draws& draws, std::size_t maxSets) {
    constexpr int K = KeyT::size;
    std::set<KeyT> recorded;
    for (const std::string& line : draws) {
        const std::vector<int> v = lineNumbers(line);
        if (static_cast<int>(v.size()) > K - 1) {
            for (const std::vector<int>& p : positionChoices(static_cast<int>(v.size()), K))
                recorded.insert(keyAt<KeyT>(v, p));
        }
    }

    SetList result;
    if (maxSets == 0) return result;
    const std::vector<std::vector<int>> subsets = positionChoices(N, K);
    std::vector<int> candidate(N);
    auto test = [&](const std::vector<int>& c) {
        bool qualifies = true;
        for (const std::vector<int>& p : subsets) {
            if (recorded.count(keyAt<KeyT>(c, p)) != 0) {
                qualifies = false;
                break;
            }
        }
        if (qualifies) result.push_back(c);
        return result.size() >= maxSets;
    };
    anyAscending(candidate, 0, 1, 80, test);
    return result;
}

// One random draw of k numbers of 1 to 80: shuffle the pool 1..80 from the
// back with rand(), take its first k positions, sort them.
std::vector<int> randomDraw(int k) {
    std::vector<int> pool(80);
    for (int i = 0; i < 80; ++i) pool[i] = i + 1;
    for (int i = 79; i >= 1; --i) {
        const int r = zestawy::rand() % (i + 1);
        std::swap(pool[i], pool[r]);
    }
    std::vector<int> drawn(pool.begin(), pool.begin() + k);
    std::sort(drawn.begin(), drawn.end());
    return drawn;
}

// Calls visit with the numbers at every six positions p1 < ... < p6 of v, in
// lexicographic order of the positions; true at the first visit that is true.
template <class Visit>
bool anySix(const std::vector<int>& v, Visit visit) {
    const int s = static_cast<int>(v.size());
    for (int p1 = 0; p1 < s; ++p1)
        for (int p2 = p1 + 1; p2 < s; ++p2)
            for (int p3 = p2 + 1; p3 < s; ++p3)
                for (int p4 = p3 + 1; p4 < s; ++p4)
                    for (int p5 = p4 + 1; p5 < s; ++p5)
                        for (int p6 = p5 + 1; p6 < s; ++p6)
                            if (visit(v[p1], v[p2], v[p3], v[p4], v[p5], v[p6])) return true;
    return false;
}

// The same for seven positions.
template <class Visit>
bool anySeven(const std::vector<int>& v, Visit visit) {
    const int s = static_cast<int>(v.size());
    for (int p1 = 0; p1 < s; ++p1)
        for (int p2 = p1 + 1; p2 < s; ++p2)
            for (int p3 = p2 + 1; p3 < s; ++p3)
                for (int p4 = p3 + 1; p4 < s; ++p4)
                    for (int p5 = p4 + 1; p5 < s; ++p5)
                        for (int p6 = p5 + 1; p6 < s; ++p6)
                            for (int p7 = p6 + 1; p7 < s; ++p7)
                                if (visit(v[p1], v[p2], v[p3], v[p4], v[p5], v[p6], v[p7]))
                                    return true;
    return false;
}

}  // namespace

// ---- Multi Multi pair and triple searches ----

std::vector<int> findNeverAppearedPair(const Draws& draws) {
    std::set<Pair> recorded;
    for (const std::string& line : draws) {
        const std::vector<int> v = parseLineForPairs(line);
        if (v.size() > 1) {
            for (std::size_t a = 0; a < v.size(); ++a)
                for (std::size_t b = a + 1; b < v.size(); ++b) recorded.insert(Pair(v[a], v[b]));
        }
    }
    for (int j = 1; j <= 79; ++j)
        for (int k = j + 1; k <= 80; ++k)
            if (recorded.count(Pair(j, k)) == 0) return {j, k};
    return {};
}

TripleC findNeverAppearedTripleFromPairs(const Draws& draws) {
    std::set<std::pair<int, int>> recorded;
    for (const std::string& line : draws) {
        const std::vector<int> v = lineNumbers(line);
        if (v.size() > 1) {
            for (std::size_t a = 0; a < v.size(); ++a)
                for (std::size_t b = a + 1; b < v.size(); ++b)
                    recorded.insert(std::make_pair(std::min(v[a], v[b]), std::max(v[a], v[b])));
        }
    }
    for (int j = 1; j <= 78; ++j)
        for (int k = j + 1; k <= 79; ++k)
            for (int l = k + 1; l <= 80; ++l) {
                if (recorded.count({j, k}) != 0) continue;
                if (recorded.count({j, l}) != 0) continue;
                if (recorded.count({k, l}) != 0) continue;
                return TripleC(j, k, l);
            }
    return TripleC();
}

std::vector<int> findNeverAppearedTripleInFlight(const Draws& draws) {
    std::set<Triple> recorded;
    for (const std::string& line : draws) {
        const std::vector<int> v = lineNumbers(line);
        if (v.size() > 2) {
            for (std::size_t a = 0; a < v.size(); ++a)
                for (std::size_t b = a + 1; b < v.size(); ++b)
                    for (std::size_t c = b + 1; c < v.size(); ++c)
                        recorded.insert(Triple(v[a], v[b], v[c]));
        }
    }

    bool anyAbsent = false;
    for (int j = 1; j <= 78 && !anyAbsent; ++j)
        for (int k = j + 1; k <= 79 && !anyAbsent; ++k)
            for (int l = k + 1; l <= 80 && !anyAbsent; ++l)
                if (recorded.count(Triple(j, k, l)) == 0) anyAbsent = true;
    if (!anyAbsent) return {};

    for (;;) {
        std::vector<int> pool(80);
        for (int i = 0; i < 80; ++i) pool[i] = i + 1;
        for (int i = 79; i >= 1; --i) {
            const int r = zestawy::rand() % (i + 1);
            std::swap(pool[i], pool[r]);
        }
        std::vector<int> three = {pool[0], pool[1], pool[2]};
        std::sort(three.begin(), three.end());
        if (recorded.count(Triple(three[0], three[1], three[2])) == 0) return three;
    }
}

// ---- Multi Multi exhaustive k-from-n list searches ----

SetList findAllNeverAppearedQuads3from4InFlight(const Draws& draws) {
    return findAllNeverAppearedQuads3from4InFlight(draws, kNoLimit);
}
SetList findAllNeverAppearedQuads3from4InFlight(const Draws& draws, std::size_t maxSets) {
    return exhaustiveKfromN<Triplea, 4>(draws, maxSets);
}

SetList findAllNeverAppearedQuad4from4InFlight(const Draws& draws) {
    return findAllNeverAppearedQuad4from4InFlight(draws, kNoLimit);
}
SetList findAllNeverAppearedQuad4from4InFlight(const Draws& draws, std::size_t maxSets) {
    return exhaustiveKfromN<Quad, 4>(draws, maxSets);
}

SetList findAllNeverAppearedQuintuple3from5AnyOrder(const Draws& draws) {
    return findAllNeverAppearedQuintuple3from5AnyOrder(draws, kNoLimit);
}
SetList findAllNeverAppearedQuintuple3from5AnyOrder(const Draws& draws, std::size_t maxSets) {
    return exhaustiveKfromN<Tripleb, 5>(draws, maxSets);
}

SetList findAllNeverAppearedQuint4from5InFlight(const Draws& draws) {
    return findAllNeverAppearedQuint4from5InFlight(draws, kNoLimit);
}
SetList findAllNeverAppearedQuint4from5InFlight(const Draws& draws, std::size_t maxSets) {
    return exhaustiveKfromN<Fourb, 5>(draws, maxSets);
}

SetList findAllNeverAppearedQuintuple5from80(const Draws& draws) {
    return findAllNeverAppearedQuintuple5from80(draws, kNoLimit);
}
SetList findAllNeverAppearedQuintuple5from80(const Draws& draws, std::size_t maxSets) {
    return exhaustiveKfromN<Quint, 5>(draws, maxSets);
}

SetList findAllNeverAppearedSextuple4from6InFlight(const Draws& draws) {
    return findAllNeverAppearedSextuple4from6InFlight(draws, kNoLimit);
}
SetList findAllNeverAppearedSextuple4from6InFlight(const Draws& draws, std::size_t maxSets) {
    return exhaustiveKfromN<Quadb, 6>(draws, maxSets);
}

SetList findAllNeverAppearedSextuple5from6InFlight(const Draws& draws) {
    return findAllNeverAppearedSextuple5from6InFlight(draws, kNoLimit);
}
SetList findAllNeverAppearedSextuple5from6InFlight(const Draws& draws, std::size_t maxSets) {
    return exhaustiveKfromN<Fiveb, 6>(draws, maxSets);
}

SetList findAllNeverAppearedSevens5from7(const Draws& draws) {
    return findAllNeverAppearedSevens5from7(draws, kNoLimit);
}
SetList findAllNeverAppearedSevens5from7(const Draws& draws, std::size_t maxSets) {
    return exhaustiveKfromN<Five7, 7>(draws, maxSets);
}

SetList findAllNeverAppearedOcts5from8InFlight(const Draws& draws) {
    return findAllNeverAppearedOcts5from8InFlight(draws, kNoLimit);
}
SetList findAllNeverAppearedOcts5from8InFlight(const Draws& draws, std::size_t maxSets) {
    return exhaustiveKfromN<Five, 8>(draws, maxSets);
}

// ---- Multi Multi randomised nine- and ten-number searches ----

std::int32_t hashSix(int a, int b, int c, int d, int e, int f) {
    // Unsigned arithmetic wraps modulo 2^32 by definition; the bit pattern is
    // then read back as signed.
    const std::uint32_t m1 = 97u;
    const std::uint32_t m2 = m1 * 97u;
    const std::uint32_t m3 = m2 * 97u;
    const std::uint32_t m4 = m3 * 97u;
    const std::uint32_t m5 = m4 * 97u;
    const std::uint32_t h = static_cast<std::uint32_t>(a) + m1 * static_cast<std::uint32_t>(b) +
                            m2 * static_cast<std::uint32_t>(c) +
                            m3 * static_cast<std::uint32_t>(d) +
                            m4 * static_cast<std::uint32_t>(e) + m5 * static_cast<std::uint32_t>(f);
    return static_cast<std::int32_t>(h);
}

std::vector<int> randomNine6from9() {
    return randomDraw(9);
}

std::vector<int> randomTen7from10() {
    return randomDraw(10);
}

SetList findTenNeverAppearedNine6from9_Hash(const Draws& draws, long long maxDraws) {
    std::set<std::uint32_t> recorded;
    for (const std::string& line : draws) {
        const std::vector<int> v = lineNumbers(line);
        if (v.size() >= 6) {
            anySix(v, [&](int a, int b, int c, int d, int e, int f) {
                recorded.insert(static_cast<std::uint32_t>(hashSix(a, b, c, d, e, f)));
                return false;
            });
        }
    }

    SetList result;
    long long made = 0;
    while (result.size() < 10 && made < maxDraws) {
        const std::vector<int> nine = randomNine6from9();
        ++made;
        const bool rejected = anySix(nine, [&](int a, int b, int c, int d, int e, int f) {
            return recorded.count(static_cast<std::uint32_t>(hashSix(a, b, c, d, e, f))) != 0;
        });
        if (!rejected) result.push_back(nine);
    }
    return result;
}

SetList findTenNeverAppearedTen7from10(const Draws& draws, long long maxDraws) {
    std::set<Sevenb> recorded;
    auto record = [&](int a, int b, int c, int d, int e, int f, int g) {
        recorded.insert(Sevenb(a, b, c, d, e, f, g));
        return false;
    };
    for (const std::string& line : draws) {
        const std::vector<int> v = lineNumbers(line);
        if (v.size() >= 7) anySeven(v, record);
    }

    SetList result;
    long long made = 0;
    while (result.size() < 10 && made < maxDraws) {
        const std::vector<int> ten = randomTen7from10();
        ++made;
        const bool rejected = anySeven(ten, [&](int a, int b, int c, int d, int e, int f, int g) {
            return recorded.count(Sevenb(a, b, c, d, e, f, g)) != 0;
        });
        if (!rejected) {
            result.push_back(ten);
            anySeven(ten, record);
        }
    }
    return result;
}

// ---- Mini Lotto ----

int findNeverAppearedSingle_1_42(const Draws& draws) {
    std::set<int> recorded;
    for (const std::string& line : draws)
        for (int number : parseLine(line)) recorded.insert(number);
    for (int n = 1; n <= 42; ++n)
        if (recorded.count(n) == 0) return n;
    return 0;
}

SetList findAllNeverAppearedPairs_1_42(const Draws& draws) {
    std::set<Pair> recorded;
    for (const std::string& line : draws) {
        const std::vector<int> v = parseLineForPairs(line);
        if (v.size() >= 2) {
            for (std::size_t l = 0; l < v.size(); ++l)
                for (std::size_t m = l + 1; m < v.size(); ++m) recorded.insert(Pair(v[l], v[m]));
        }
    }
    SetList result;
    for (int j = 1; j <= 41; ++j)
        for (int k = j + 1; k <= 42; ++k)
            if (recorded.count(Pair(j, k)) == 0) result.push_back({j, k});
    return result;
}

SetList findAllNeverAppearedTriple2from3AnyOrder42_pairg(const Draws& draws) {
    std::set<Pairg> recorded;
    for (const std::string& line : draws) {
        const std::vector<int> n = lineNumbers(line);
        if (n.size() >= 2) {
            for (std::size_t p = 0; p < n.size(); ++p)
                for (std::size_t q = p + 1; q < n.size(); ++q) recorded.insert(Pairg(n[p], n[q]));
        }
    }
    SetList result;
    for (int a = 1; a <= 42; ++a)
        for (int b = a + 1; b <= 42; ++b)
            for (int c = b + 1; c <= 42; ++c) {
                if (recorded.count(Pairg(a, b)) != 0) continue;
                if (recorded.count(Pairg(a, c)) != 0) continue;
                if (recorded.count(Pairg(b, c)) != 0) continue;
                result.push_back({a, b, c});
            }
    return result;
}

namespace {

std::set<Tripleg> recordTriplesTripleg(const Draws& draws) {
    std::set<Tripleg> recorded;
    for (const std::string& line : draws) {
        const std::vector<int> n = lineNumbers(line);
        if (n.size() >= 3) {
            for (std::size_t p = 0; p < n.size(); ++p)
                for (std::size_t q = p + 1; q < n.size(); ++q)
                    for (std::size_t r = q + 1; r < n.size(); ++r)
                        recorded.insert(Tripleg(n[p], n[q], n[r]));
        }
    }
    return recorded;
}

// True when some three of the first `size` numbers of x, taken by positions
// i < j < k in lexicographic order, are recorded; stops at the first.
bool anyTriplegRecorded(const std::set<Tripleg>& recorded, const int* x, int size) {
    for (int i = 0; i < size; ++i)
        for (int j = i + 1; j < size; ++j)
            for (int k = j + 1; k < size; ++k)
                if (recorded.count(Tripleg(x[i], x[j], x[k])) != 0) return true;
    return false;
}

}  // namespace

SetList findAllNeverAppearedQuad3from4AnyOrder42_tripleg(const Draws& draws) {
    const std::set<Tripleg> recorded = recordTriplesTripleg(draws);
    SetList result;
    for (int a = 1; a <= 42; ++a)
        for (int b = a + 1; b <= 42; ++b)
            for (int c = b + 1; c <= 42; ++c)
                for (int d = c + 1; d <= 42; ++d) {
                    const int x[4] = {a, b, c, d};
                    if (!anyTriplegRecorded(recorded, x, 4)) result.push_back({a, b, c, d});
                }
    return result;
}

SetList findAllNeverAppearedQuintuple3from5AnyOrder42_tripleg(const Draws& draws) {
    const std::set<Tripleg> recorded = recordTriplesTripleg(draws);
    SetList result;
    for (int a = 1; a <= 42; ++a)
        for (int b = a + 1; b <= 42; ++b)
            for (int c = b + 1; c <= 42; ++c)
                for (int d = c + 1; d <= 42; ++d)
                    for (int e = d + 1; e <= 42; ++e) {
                        const int x[5] = {a, b, c, d, e};
                        if (!anyTriplegRecorded(recorded, x, 5)) result.push_back({a, b, c, d, e});
                    }
    return result;
}

// ---- Lotto ----

int findNeverAppearedSingle_1_49(const Draws& draws) {
    std::set<int> recorded;
    for (const std::string& line : draws)
        for (int number : parseLine(line)) recorded.insert(number);
    for (int n = 1; n <= 49; ++n)
        if (recorded.count(n) == 0) return n;
    return 0;
}

Pair2 findNeverAppearedPair_1_49(const Draws& draws) {
    std::set<Pair2> recorded;
    for (const std::string& line : draws) {
        const std::vector<int> n = lineNumbers(line);
        if (n.size() >= 2) {
            for (std::size_t p = 0; p < n.size(); ++p)
                for (std::size_t q = p + 1; q < n.size(); ++q)
                    recorded.insert(Pair2(std::min(n[p], n[q]), std::max(n[p], n[q])));
        }
    }
    for (int j = 1; j <= 48; ++j)
        for (int k = j + 1; k <= 49; ++k)
            if (recorded.count(Pair2(j, k)) == 0) return Pair2(j, k);
    return Pair2(0, 0);
}

TripleD findNeverAppearedTripleFromPairs_1_49(const Draws& draws) {
    std::set<std::pair<int, int>> recorded;
    for (const std::string& line : draws) {
        const std::vector<int> n = lineNumbers(line);
        if (n.size() >= 2) {
            for (std::size_t p = 0; p < n.size(); ++p)
                for (std::size_t q = p + 1; q < n.size(); ++q) {
                    int first = n[p];
                    int second = n[q];
                    if (first > second) std::swap(first, second);
                    recorded.insert(std::make_pair(first, second));
                }
        }
    }
    for (int j = 1; j <= 47; ++j)
        for (int k = j + 1; k <= 48; ++k)
            for (int l = k + 1; l <= 49; ++l) {
                if (recorded.count({j, k}) != 0) continue;
                if (recorded.count({j, l}) != 0) continue;
                if (recorded.count({k, l}) != 0) continue;
                return TripleD(j, k, l);
            }
    return TripleD();
}

TripleE findNeverAppearedTriple_1_49(const Draws& draws) {
    std::set<TripleE> recorded;
    for (const std::string& line : draws) {
        const std::vector<int> n = lineNumbers(line);
        if (n.size() >= 3) {
            for (std::size_t p = 0; p < n.size(); ++p)
                for (std::size_t q = p + 1; q < n.size(); ++q)
                    for (std::size_t r = q + 1; r < n.size(); ++r) {
                        int t[3] = {n[p], n[q], n[r]};
                        std::sort(t, t + 3);
                        recorded.insert(TripleE(t[0], t[1], t[2]));
                    }
        }
    }
    for (int j = 1; j <= 47; ++j)
        for (int k = j + 1; k <= 48; ++k)
            for (int l = k + 1; l <= 49; ++l)
                if (recorded.count(TripleE(j, k, l)) == 0) return TripleE(j, k, l);
    return TripleE();
}

namespace {

std::set<std::vector<int>> recordTripleLists(const Draws& draws) {
    std::set<std::vector<int>> recorded;
    for (const std::string& line : draws) {
        const std::vector<int> n = lineNumbers(line);
        if (n.size() >= 3) {
            for (std::size_t p = 0; p < n.size(); ++p)
                for (std::size_t q = p + 1; q < n.size(); ++q)
                    for (std::size_t r = q + 1; r < n.size(); ++r) {
                        std::vector<int> t = {n[p], n[q], n[r]};
                        std::sort(t.begin(), t.end());
                        recorded.insert(t);
                    }
        }
    }
    return recorded;
}

// Whether the triple of a, b and c, sorted ascending, is recorded.
bool tripleRecorded(const std::set<std::vector<int>>& recorded, int a, int b, int c) {
    std::vector<int> t = {a, b, c};
    std::sort(t.begin(), t.end());
    return recorded.count(t) != 0;
}

}  // namespace

QuadrupleD findNeverAppearedQuadrupleFromTriples_1_49(const Draws& draws) {
    const std::set<std::vector<int>> recorded = recordTripleLists(draws);
    auto seen = [&](int a, int b, int c) { return tripleRecorded(recorded, a, b, c); };
    for (int j = 1; j <= 46; ++j)
        for (int k = j + 1; k <= 47; ++k)
            for (int l = k + 1; l <= 48; ++l)
                for (int m = l + 1; m <= 49; ++m) {
                    // || stops at the first recorded triple.
                    if (seen(j, k, l) || seen(j, k, m) || seen(j, l, m) || seen(k, l, m)) continue;
                    return QuadrupleD(j, k, l, m);
                }
    return QuadrupleD();
}

QuintupleD findNeverAppearedQuintupleFromTriples_1_49(const Draws& draws) {
    const std::set<std::vector<int>> recorded = recordTripleLists(draws);
    auto seen = [&](int a, int b, int c) { return tripleRecorded(recorded, a, b, c); };
    for (int j = 1; j <= 45; ++j)
        for (int k = j + 1; k <= 46; ++k)
            for (int l = k + 1; l <= 47; ++l)
                for (int m = l + 1; m <= 48; ++m)
                    for (int n = m + 1; n <= 49; ++n) {
                        if (seen(j, k, l) || seen(j, k, m) || seen(j, k, n) || seen(j, l, m) ||
                            seen(j, l, n) || seen(j, m, n) || seen(k, l, m) || seen(k, l, n) ||
                            seen(k, m, n) || seen(l, m, n))
                            continue;
                        return QuintupleD(j, k, l, m, n);
                    }
    return QuintupleD();
}

std::uint64_t countMultiSetsWithFewerThanKPerLine(const std::vector<std::string>& draws, int n,
                                                  int k) {
    std::vector<std::vector<std::size_t>> linesOf(81);  // the lines that hold each number
    for (std::size_t line = 0; line < draws.size(); ++line)
        for (int v : parseLine(draws[line]))
            if (v >= 1 && v <= 80) linesOf[static_cast<std::size_t>(v)].push_back(line);
    std::vector<int> hits(draws.size(), 0);
    std::uint64_t count = 0;
    auto extend = [&](auto& self, int from, int depth) -> void {
        if (depth == n) {
            ++count;
            return;
        }
        for (int v = from; v <= 80 - (n - depth - 1); ++v) {
            const std::vector<std::size_t>& lines = linesOf[static_cast<std::size_t>(v)];
            bool fewer = true;
            for (std::size_t line : lines) fewer = fewer && hits[line] + 1 < k;
            if (!fewer) continue;
            for (std::size_t line : lines) ++hits[line];
            self(self, v + 1, depth + 1);
            for (std::size_t line : lines) --hits[line];
        }
    };
    extend(extend, 1, 0);
    return count;
}

}  // namespace zestawy::reference
