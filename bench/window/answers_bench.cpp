// How long typical answers take to appear in the results box of the real
// window under Wine, and which ask first (they are answered with Nie: into the
// box, where it can take them). Run by bench/window.sh.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/app_fixture.hpp"
#include "commands/search_command.hpp"
#include "history/encoding.hpp"
#include "history/history.hpp"

using namespace apptest;

int main() {
    std::vector<std::string> lines;
    const std::string path = std::string(ZESTAWY_DATA_DIR) + "/Multi Multi wyniki losowań.txt";
    if (!readHistoryLines(utf8FromCp1250(path), lines)) return 1;  // paths are UTF-8
    for (long long draws : {1000LL, 100LL}) {
        const std::string numbers = latestDraws(lines, draws).numbers;
        for (int id : searchButtonsOf(Game::MultiMulti)) {
            resetToStartState();
            command(kCmdPrepareSearch);
            SetWindowTextA(state().numbersBox, numbers.c_str());
            const auto start = std::chrono::steady_clock::now();
            const std::string seen = runCommand(id, answerBox(IDNO), 600000);
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            std::printf("N=%lld id %2d: %8.3f s, %10d characters%s\n", draws, id, seconds,
                        GetWindowTextLengthA(state().resultsBox),
                        seen.empty() ? "" : ", asked first");
            std::fflush(stdout);
        }
    }
    return 0;
}
