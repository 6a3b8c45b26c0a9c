#include "commands/games.hpp"

namespace zestawy {

// clang-format off
const GameRow kGames[3] = {
    {Game::MultiMulti, "Multi Multi", "multi", "Multi Multi wyniki losowań.txt",
     u8"Multi Multi wyniki losowań.txt", {20, 80},
     kMultiGame, kMultiLoad, kMultiClear, kMultiSave, kMultiOpen, kMultiOtherGames},
    {Game::MiniLotto, "Mini Lotto", "mini", "Mini Lotto wyniki losowań.txt",
     u8"Mini Lotto wyniki losowań.txt", {5, 42},
     kMiniGame, kMiniLoad, kMiniClear, kMiniSave, kMiniOpen, kMiniOtherGames},
    {Game::Lotto, "Lotto", "lotto", "Lotto wyniki losowań.txt",
     u8"Lotto wyniki losowań.txt", {6, 49},
     kLottoGame, kLottoLoad, kLottoClear, kLottoSave, kLottoOpen, kLottoOtherGames},
};
// clang-format on

const GameRow& gameRow(Game game) {
    return kGames[static_cast<int>(game)];
}

}  // namespace zestawy
