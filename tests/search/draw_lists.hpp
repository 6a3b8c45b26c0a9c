// Draw lists for search tests: seeded random lists with every kind of line the
// numbers box can hand a search, and the latest draws of the real histories in
// the data folder, cut as the load command cuts them.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "commands/games.hpp"

namespace zestawy::draw_lists {

// "1,2,3": the numbers joined by commas, as the history files write them.
inline std::string joinLine(const std::vector<int>& numbers) {
    std::string line;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i != 0) line += ',';
        line += std::to_string(numbers[i]);
    }
    return line;
}

// The line "from,from+1,...,to".
inline std::string rangeLine(int from, int to) {
    std::vector<int> numbers;
    for (int n = from; n <= to; ++n) numbers.push_back(n);
    return joinLine(numbers);
}

struct DrawListShape {
    std::size_t lines = 30;  // lines in the list; 0 gives the empty list
    int top = 80;            // the game's highest number
    int drawSize = 20;       // numbers in a regular line
    int longExtra = 4;       // a long line has up to this many numbers more than drawSize
    int oddPercent = 30;     // chance, in percent, that a line is irregular
};

// A reproducible random draw list: the same seed and shape give the same list.
// Regular lines hold drawSize distinct numbers of 1..top, mostly ascending and
// sometimes shuffled. An irregular line has one or more of: fewer numbers
// (down to none), more numbers, repeated numbers, numbers out of range (0,
// negative, above top), blanks and tabs around numbers, a trailing CR, empty
// tokens, a trailing comma, tokens that are not numbers or have junk after the
// digits; or it is a line of only a CR, blanks, tabs or a comma.
inline std::vector<std::string> randomDrawList(std::uint32_t seed,
                                               const DrawListShape& shape = DrawListShape()) {
    std::mt19937 gen(seed);
    // Plain modulo keeps the lists the same under every standard library.
    auto below = [&](int n) {
        return n <= 0 ? 0 : static_cast<int>(gen() % static_cast<unsigned>(n));
    };
    auto chance = [&](int percent) { return below(100) < percent; };

    std::vector<std::string> draws;
    for (std::size_t i = 0; i < shape.lines; ++i) {
        const bool odd = chance(shape.oddPercent);
        if (odd && chance(8)) {
            static const char* const blanks[] = {"\r", " ", "\t", " \t\r", ","};
            draws.push_back(blanks[below(5)]);
            continue;
        }

        int count = shape.drawSize;
        if (odd && chance(40)) {
            count =
                chance(50) ? below(shape.drawSize) : shape.drawSize + 1 + below(shape.longExtra);
        }
        if (count > shape.top) count = shape.top;

        // Distinct numbers of 1..top: the first `count` of a shuffled pool.
        std::vector<int> pool(static_cast<std::size_t>(shape.top));
        for (int n = 0; n < shape.top; ++n) pool[n] = n + 1;
        for (int n = shape.top - 1; n >= 1; --n) std::swap(pool[n], pool[below(n + 1)]);
        std::vector<int> numbers(pool.begin(), pool.begin() + count);
        if (!(odd && chance(30))) std::sort(numbers.begin(), numbers.end());

        if (odd && !numbers.empty() && chance(30)) {  // repeats
            for (int r = 1 + below(3); r > 0; --r) {
                const int value = numbers[below(static_cast<int>(numbers.size()))];
                numbers.insert(numbers.begin() + below(static_cast<int>(numbers.size()) + 1),
                               value);
            }
        }
        if (odd && chance(30)) {  // out of range
            static const int strange[] = {0, -1, -7, 81, 99, 1000, 43, 50};
            for (int r = 1 + below(3); r > 0; --r) {
                int value = strange[below(8)];
                if (value > 0 && value <= shape.top) value = shape.top + 1 + below(20);
                numbers.insert(numbers.begin() + below(static_cast<int>(numbers.size()) + 1),
                               value);
            }
        }

        const bool spaced = odd && chance(30);
        const bool junk = odd && chance(25);
        std::string line;
        for (std::size_t t = 0; t < numbers.size(); ++t) {
            if (t != 0) line += ',';
            if (junk && chance(10)) line += chance(50) ? "," : "x,";  // empty or letter token
            if (spaced && chance(50)) line += chance(50) ? " " : "\t ";
            line += std::to_string(numbers[t]);
            if (junk && chance(10)) line += chance(50) ? "abc" : ".9";
            if (spaced && chance(50)) line += chance(50) ? "\t" : " ";
        }
        if (junk && chance(30)) line += ',';
        if (odd && chance(30)) line += '\r';
        draws.push_back(line);
    }
    return draws;
}

using zestawy::Game;

// The folder of the real histories: given to the test build, otherwise the
// "data" folder under the current one.
#ifdef ZESTAWY_DATA_DIR
inline const std::string dataDir = ZESTAWY_DATA_DIR;
#else
inline const std::string dataDir = "data";
#endif

// The game's draw-history file in the data folder, by its UTF-8 name.
inline std::string historyPath(Game game) {
    return dataDir + "/" + gameRow(game).historyFileUtf8;
}

// The numbers parts of the last `count` lines of the game's history, oldest
// first: as the load command does, each line is cut after its second blank,
// lines with fewer than two blanks and empty numbers parts are left out.
// The lines carry no CR (the searches read a trailing CR as white space).
// Throws std::runtime_error when the file cannot be read.
inline std::vector<std::string> lastDraws(Game game, std::size_t count) {
    const std::string path = historyPath(game);
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error("cannot open " + path);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(file, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
        lines.push_back(line);
    }

    std::vector<std::string> draws;
    const std::size_t start = lines.size() > count ? lines.size() - count : 0;
    for (std::size_t i = start; i < lines.size(); ++i) {
        const std::size_t first = lines[i].find(' ');
        if (first == std::string::npos) continue;
        const std::size_t second = lines[i].find(' ', first + 1);
        if (second == std::string::npos) continue;
        std::string numbers = lines[i].substr(second + 1);
        if (!numbers.empty()) draws.push_back(std::move(numbers));
    }
    return draws;
}

// The whole history of the game, read once and kept for the program's run.
inline const std::vector<std::string>& wholeHistory(Game game) {
    static std::vector<std::string> histories[3];
    std::vector<std::string>& draws = histories[static_cast<int>(game)];
    if (draws.empty()) draws = lastDraws(game, SIZE_MAX);
    return draws;
}

}  // namespace zestawy::draw_lists
