#include "commands/games.hpp"

namespace zestawy {

// clang-format off
const GameRow kGames[3] = {
    {Game::MultiMulti, "Multi Multi", "multi", "Multi Multi wyniki losowań.txt",
     u8"Multi Multi wyniki losowań.txt", kMultiRules, 250},
    {Game::MiniLotto, "Mini Lotto", "mini", "Mini Lotto wyniki losowań.txt",
     u8"Mini Lotto wyniki losowań.txt", kMiniRules, 150},
    {Game::Lotto, "Lotto", "lotto", "Lotto wyniki losowań.txt",
     u8"Lotto wyniki losowań.txt", kLottoRules, 300},
};
// clang-format on

const GameRow& gameRow(Game game) {
    return kGames[static_cast<int>(game)];
}

}  // namespace zestawy
