// The rules of the three games' draws: what every layer above may know of a
// game without knowing the games' table (commands/games.hpp).
#pragma once

namespace zestawy {

struct DrawRules {
    int numbersPerDraw;  // 20, 5 or 6
    int maxNumber;       // 80, 42 or 49
    // The most draws the game has had on one day: a bound on how far the draw
    // numbers can move on between two dates.
    int drawsPerDay;
};

// Multi Multi is drawn twice a day, Mini Lotto once; Lotto had two draws on
// many days of 1965-1991.
constexpr DrawRules kMultiRules{20, 80, 2}, kMiniRules{5, 42, 1}, kLottoRules{6, 49, 2};

}  // namespace zestawy
