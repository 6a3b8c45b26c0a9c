// Reduced systems as text, one source for the tool and the window: the
// player's numbers and guarantee checked for a game, the guarantees offered,
// the tickets as lines and tables, what the best ticket surely hits and how it
// did on a history, the cost, and the sentence that says what a guarantee is
// worth.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "commands/analysis_text.hpp"
#include "commands/games.hpp"
#include "wheel/generate.hpp"
#include "wheel/hits.hpp"
#include "wheel/wheel.hpp"

namespace zestawy {

// The most numbers a player may give: Multi Multi's 20 drawn of 80 leave
// room for more.
constexpr int kMostWheelNumbers = 30;       // Lotto, Mini Lotto
constexpr int kMostMultiWheelNumbers = 40;  // Multi Multi
int mostWheelNumbers(const GameRow& game);
// The time a search for a system takes unless told otherwise, in seconds.
constexpr double kDefaultWheelBudget = 10;
// The j-subsets walked for a row of the sure hits, and for a share of the
// chance of the best ticket's hits (beyond it those are sampled).
constexpr std::uint64_t kMostHitsWalk = 3'000'000;
// For the chance of the best ticket's hits, the subsets walked for a count
// and the random draws that stand in for the counts beyond: as many as keep
// the comparisons of a subset with every ticket near kHitsWork each.
constexpr double kHitsWork = 1e8;
constexpr int kFewestHitsSamples = 20'000, kMostHitsSamples = 200'000;
std::uint64_t hitsWalk(std::size_t tickets);
int hitsSamples(std::size_t tickets);

// Whether the player chooses the numbers of a ticket (Multi Multi: 1-10);
// otherwise a ticket has as many as a draw.
bool ticketSizeChosen(const GameRow& game);

// What is wrong with a system of that shape in the game, in Polish with no
// capital or full stop ("gwarancja 3 z 4 dotyczy 4 liczb, a typujesz 3"); ""
// when it is one the program can check. shape.k 0: no size chosen.
std::string wheelShapeProblem(const GameRow& game, const WheelShape& shape);
// Whether the program can make it: the table has it or the search can.
bool wheelMakeable(const WheelShape& shape);
// The guarantees offered for v numbers and tickets of k: every "t z m" of a
// shape with no problem that the program can make, by m, then t.
std::vector<WheelShape> offeredGuarantees(const GameRow& game, int v, int k);
// "3 z 4".
std::string guaranteeName(const WheelShape& shape);

// A system made for a shape: the table's at once where it has one and no
// budget is given; otherwise a search of `budget` seconds (0: the default),
// from the table's system where there is one. keepGoing gets the share of
// the budget spent, from the search's threads, and may stop it; the system
// then is the best found so far (none where the greedy start was not done).
// The system found is verified. REQUIRES a shape with no problem that the
// program can make.
struct WheelMade {
    WheelFound found;
    bool searched = false;
    double budget = 0;  // of the search
    bool verified = false;
};
WheelMade makeSystem(const WheelShape& shape, double budget, int threads,
                     const std::function<bool(double)>& keepGoing);
// Where the system came from, in Polish: "z tabeli programu", "znaleziony w
// poszukiwaniu po 2,4 s (szukano 10,0 s)", "; mniej zakładów się nie da".
std::string foundHow(const WheelMade& made);

// The tickets as lines of the player's numbers ("3, 8, 17, 22, 41, 49"),
// ordered by their numbers. `numbers` ascending, as the positions are.
std::vector<std::string> wheelLines(const std::vector<WheelMask>& tickets,
                                    const std::vector<int>& numbers);
// "1 zakład", "4 zakłady", "15 zakładów".
std::string ticketsCount(std::size_t n);
// The tickets in a table: their number and their numbers.
TextTable wheelTable(const std::vector<std::string>& lines);

// For each count of drawn numbers among the player's (0 up to v or the
// draw): the fewest hits of the best ticket, and the chance of that count in
// one draw, in per cent.
TextTable sureHitsTable(const std::vector<SureHits>& sure, const GameRow& game, int v, char point);

// The draws' numbers (as parseLine reads them) as masks of the player's
// positions; numbers the player did not choose are left out.
std::vector<WheelMask> drawMasks(const std::vector<std::string>& draws,
                                 const std::vector<int>& numbers);
// Per number of hits of the best ticket, from k down to 0: the draws that
// gave it so many, and what chance gives over as many draws with its 90%
// range.
TextTable wheelHistoryTable(const std::vector<std::size_t>& counts, const HitsChance& chance,
                            char point);

// A ticket's price as typed ("3", "2,50", "2.5 zł") in grosze; -1 where it
// is none or above 1000 zł. And back: "2,50 zł".
long long priceInGrosze(const std::string& text);
std::string zloty(long long grosze);
// "15 zakładów × 3,00 zł = 45,00 zł".
std::string costLine(std::size_t tickets, long long grosze);

// The sentence under every system: it changes no ticket's chance, only
// spreads the tickets, and its guarantee holds only when m of the drawn
// numbers are the player's, with the chance of that in one draw.
std::string honestSentence(const GameRow& game, const WheelShape& shape);

}  // namespace zestawy
