// The ids of the main window's controls and menu items besides the search
// buttons, whose ids are their commands' numbers (commands/games.hpp).
#pragma once

namespace zestawy {

enum ControlId : int {
    // The other buttons of each panel, and the game buttons that open them.
    kMultiClear = 12,
    kMultiLoad = 13,
    kMultiGame = 14,
    kMultiOtherGames = 15,
    kMultiSave = 43,
    kMultiOpen = 44,
    kMiniLoad = 25,
    kMiniClear = 26,
    kMiniGame = 27,
    kMiniOtherGames = 28,
    kMiniSave = 47,
    kMiniOpen = 48,
    kLottoLoad = 36,
    kLottoClear = 37,
    kLottoGame = 38,
    kLottoOtherGames = 39,
    kLottoSave = 45,
    kLottoOpen = 46,
    // The work boxes.
    kIdNumbersBox = 51,
    kIdResultsBox = 401,
    kIdDatesBox = 53,
    kIdCountBox = 54,
    // The menu items.
    kCmdPrepareSearch = 1001,  // "Plik" -> "Przygotuj wyszukiwanie"
    kCmdOpenHelp = 1003,       // "Pomoc" -> "Otwórz okno pomocy..."
    kCmdCloseHelp = 1004,      // "Pomoc" -> "Zamknij okno pomocy..."
    kCmdRanking = 1005,        // "Analiza" -> "Ranking oczekiwania..."
    kCmdUpdateHistory = 1006,  // "Plik" -> "Uzupełnij wyniki losowań..."
    kCmdDownload = 1007,       // "Plik" -> "Pobierz najnowsze wyniki"
    kCmdTicket = 1008,         // "Analiza" -> "Sprawdź swoje liczby..."
    kCmdBacktest = 1009,       // "Analiza" -> "Czy czekanie pomaga?"
    kCmdWheel = 1010,          // "Analiza" -> "System skrócony..."
};

}  // namespace zestawy
