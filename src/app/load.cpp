#include "app/load.hpp"

#include <new>
#include <string>
#include <vector>

#include "app/controls.hpp"
#include "app/panels.hpp"
#include "history/history.hpp"

namespace {

struct LoadCommand {
    int id;
    const char* fileName;  // in the working folder, Windows-1250
    // Button changes at the start and after the boxes are filled, as each
    // game's panel has always done them.
    std::vector<int> enableFirst, disableFirst, enableAfter;
};

const LoadCommand kLoadCommands[] = {
    {13, "Multi Multi wyniki losowań.txt", {}, {15}, {}},
    {25, "Mini Lotto wyniki losowań.txt", {20, 21, 22, 23, 24, 25}, {28}, {47, 48}},
    {36, "Lotto wyniki losowań.txt", {}, {}, {}},
};

// Each game's lines, read from its own file on that game's first load and kept
// for the rest of the run.
std::vector<std::string> cache[sizeof kLoadCommands / sizeof kLoadCommands[0]];

std::string windowText(HWND hwnd, int capacity) {
    std::string text(static_cast<std::size_t>(capacity), '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(hwnd, &text[0], capacity)));
    return text;
}

}  // namespace

bool handleLoadCommand(HWND main, int id) {
    int game = 0;
    while (game < 3 && kLoadCommands[game].id != id) ++game;
    if (game == 3) return false;
    const LoadCommand& command = kLoadCommands[game];
    std::vector<std::string>& lines = cache[game];

    enableButtons(command.enableFirst, true);
    enableButtons(command.disableFirst, false);

    if (lines.empty() && !zestawy::readHistoryLines(command.fileName, lines)) {
        // Name the file that was tried, so the user knows what to put where.
        const std::string message =
            std::string("Nie udało się otworzyć pliku '") + command.fileName + "'.";
        MessageBoxA(main, message.c_str(), "Błąd", MB_ICONERROR);
        return true;
    }

    // The count box: its first 19 characters.
    const long long count = zestawy::parseCount(windowText(hPole4, 20));
    if (count <= 0) return true;

    try {
        const zestawy::LoadedDraws shown = zestawy::latestDraws(lines, count);
        SetWindowTextA(hPole1, shown.numbers.c_str());
        SetWindowTextA(hPole3, shown.dates.c_str());
    } catch (const std::bad_alloc&) {
        MessageBoxA(main, "Za mało pamięci, by pokazać tyle losowań.", "Błąd", MB_ICONERROR);
        return true;
    }
    enableButtons(command.enableAfter, true);
    return true;
}
