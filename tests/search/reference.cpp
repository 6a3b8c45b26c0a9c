#include "search/reference.hpp"

#include <algorithm>
#include <set>
#include <utility>

#include "combinatorics/parse.hpp"
#include "combinatorics/random.hpp"

namespace zestawy::reference {

namespace {

// The distinct numbers of a line, ascending, as a vector.
std::vector<int> lineNumbers(const std::string& line) {
    const std::set<int> numbers = parseLine(line);
    return std::vector<int>(numbers.begin(), numbers.end());
}

// Calls visit(subset) for every `k` of the numbers, in lexicographic order of
// their positions; true at the first visit that is true.
template <class Visit>
bool anySubset(const std::vector<int>& numbers, int k, Visit&& visit) {
    std::vector<int> subset;
    auto walk = [&](auto& self, std::size_t from) -> bool {
        if (static_cast<int>(subset.size()) == k) return visit(subset);
        for (std::size_t i = from; i < numbers.size(); ++i) {
            subset.push_back(numbers[i]);
            const bool done = self(self, i + 1);
            subset.pop_back();
            if (done) return true;
        }
        return false;
    };
    return walk(walk, 0);
}

// Every k numbers of every line.
std::set<std::vector<int>> recordSubsets(const Draws& draws, int k) {
    std::set<std::vector<int>> recorded;
    for (const std::string& line : draws)
        anySubset(lineNumbers(line), k, [&](const std::vector<int>& subset) {
            recorded.insert(subset);
            return false;
        });
    return recorded;
}

bool anyRecorded(const std::set<std::vector<int>>& recorded, const std::vector<int>& set, int k) {
    return anySubset(set, k, [&](const std::vector<int>& s) { return recorded.count(s) != 0; });
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

}  // namespace

SetList neverDrawn(const Draws& draws, const NeverDrawnQuery& q, std::size_t limit) {
    const std::set<std::vector<int>> recorded = recordSubsets(draws, q.subsetSize);
    SetList found;
    std::vector<int> candidate;
    auto walk = [&](auto& self, int from) -> void {
        if (static_cast<int>(candidate.size()) == q.setSize) {
            if (!anyRecorded(recorded, candidate, q.subsetSize)) found.push_back(candidate);
            return;
        }
        for (int v = from; v <= q.maxNumber && found.size() < limit; ++v) {
            candidate.push_back(v);
            self(self, v + 1);
            candidate.pop_back();
        }
    };
    walk(walk, 1);
    return found;
}

std::vector<int> findNeverAppearedTripleInFlight(const Draws& draws) {
    const std::set<std::vector<int>> recorded = recordSubsets(draws, 3);
    if (neverDrawn(draws, {3, 3, 80}, 1).empty()) return {};
    for (;;) {
        const std::vector<int> three = randomDraw(3);
        if (recorded.count(three) == 0) return three;
    }
}

std::int32_t hashSix(int a, int b, int c, int d, int e, int f) {
    // Unsigned arithmetic wraps modulo 2^32 by definition; the bit pattern is
    // then read back as signed.
    std::uint32_t h = 0;
    for (int v : {f, e, d, c, b, a}) h = h * 97u + static_cast<std::uint32_t>(v);
    return static_cast<std::int32_t>(h);
}

std::vector<int> randomNine6from9() {
    return randomDraw(9);
}

std::vector<int> randomTen7from10() {
    return randomDraw(10);
}

SetList findTenNeverAppearedNine6from9_Hash(const Draws& draws, long long maxDraws) {
    auto hashOf = [](const std::vector<int>& s) {
        return static_cast<std::uint32_t>(hashSix(s[0], s[1], s[2], s[3], s[4], s[5]));
    };
    std::set<std::uint32_t> recorded;
    for (const std::string& line : draws)
        anySubset(lineNumbers(line), 6, [&](const std::vector<int>& six) {
            recorded.insert(hashOf(six));
            return false;
        });
    SetList result;
    for (long long made = 0; result.size() < 10 && made < maxDraws; ++made) {
        const std::vector<int> nine = randomNine6from9();
        if (!anySubset(nine, 6, [&](const auto& six) { return recorded.count(hashOf(six)) != 0; }))
            result.push_back(nine);
    }
    return result;
}

SetList findTenNeverAppearedTen7from10(const Draws& draws, long long maxDraws) {
    std::set<std::vector<int>> recorded = recordSubsets(draws, 7);
    SetList result;
    for (long long made = 0; result.size() < 10 && made < maxDraws; ++made) {
        const std::vector<int> ten = randomTen7from10();
        if (anyRecorded(recorded, ten, 7)) continue;
        result.push_back(ten);
        anySubset(ten, 7, [&](const std::vector<int>& seven) {
            recorded.insert(seven);
            return false;
        });
    }
    return result;
}

std::uint64_t countMultiSetsWithFewerThanKPerLine(const Draws& draws, int n, int k) {
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
