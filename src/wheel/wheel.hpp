// Reduced systems ("wheels"): a player's v numbers, a list of tickets of k of
// them each, and the guarantee "t z m": whatever m of the v numbers are drawn,
// some ticket holds at least t of them. The engine of src/wheel/ knows the
// player's numbers only as positions 0..v-1 (ascending numbers) and never
// does I/O.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace zestawy {

// A ticket or a draw as a set of positions: bit i is the player's i-th number.
using WheelMask = std::uint64_t;

struct WheelShape {
    int v;  // the player's numbers, 1..40
    int k;  // the numbers of a ticket, 1..v
    int m;  // the numbers drawn among the player's, t..v
    int t;  // the hits guaranteed, 1..min(k, m)
};

// The most m-subsets (C(v, m)) the verifier walks, and the most the generator
// keeps a cover count for: C(40, 6) is within both.
constexpr std::uint64_t kMostWheelDraws = 200'000'000;
constexpr std::uint64_t kMostSearchDraws = 4'000'000;

// Whether the shape is one the engine takes: the bounds above, t <= k <= v,
// t <= m <= v.
bool wheelShapeValid(const WheelShape& shape);

// The tickets as ascending positions, for printing and tests; and back.
std::vector<int> positionsOf(WheelMask ticket);
WheelMask maskOf(const std::vector<int>& positions);

}  // namespace zestawy
