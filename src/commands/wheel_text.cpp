#include "commands/wheel_text.hpp"

#include <algorithm>
#include <cctype>

#include "combinatorics/parse.hpp"
#include "history/polish.hpp"
#include "search/odds.hpp"
#include "wheel/designs.hpp"
#include "wheel/generate.hpp"
#include "wheel/subsets.hpp"
#include "wheel/verify.hpp"

namespace zestawy {

int mostWheelNumbers(const GameRow& game) {
    return game.game == Game::MultiMulti ? kMostMultiWheelNumbers : kMostWheelNumbers;
}

std::uint64_t hitsWalk(std::size_t tickets) {
    return std::min(kMostHitsWalk,
                    static_cast<std::uint64_t>(
                        kHitsWork / static_cast<double>(std::max<std::size_t>(tickets, 1))));
}

int hitsSamples(std::size_t tickets) {
    const double fit = kHitsWork / static_cast<double>(std::max<std::size_t>(tickets, 1));
    return static_cast<int>(std::clamp<double>(fit, kFewestHitsSamples, kMostHitsSamples));
}

bool ticketSizeChosen(const GameRow& game) {
    return game.rules.numbersPerDraw > mostTicketNumbers(game.rules);
}

std::string wheelShapeProblem(const GameRow& game, const WheelShape& shape) {
    const std::string named = guaranteeName(shape);
    const int drawn = game.rules.numbersPerDraw;
    auto n = [](int x) { return std::to_string(x); };
    if (shape.t > shape.k)
        return "gwarancja " + named + " wymaga zakładów co najmniej " + n(shape.t) +
               " liczb (zakład ma " + n(shape.k) + ")";
    if (shape.m > drawn)
        return std::string("gra ") + game.name + " losuje " + n(drawn) + " liczb, a gwarancja " +
               named + " zakłada " + n(shape.m) + " trafionych";
    if (shape.m > shape.v)
        return "gwarancja " + named + " dotyczy " + n(shape.m) + " liczb, a typujesz " + n(shape.v);
    if (shape.k > shape.v)
        return "zakład " + n(shape.k) + " liczb nie zmieści się w " + n(shape.v) + " typowanych";
    if (subsets::binomial(shape.v, shape.m) > kMostWheelDraws)
        return "za dużo możliwych losowań do sprawdzenia: " +
               std::to_string(subsets::binomial(shape.v, shape.m)) + " (najwyżej " +
               std::to_string(kMostWheelDraws) + ")";
    return "";
}

bool wheelMakeable(const WheelShape& shape) {
    return findDesign(shippedDesigns(), shape) != nullptr || wheelSearchable(shape);
}

std::vector<WheelShape> offeredGuarantees(const GameRow& game, int v, int k) {
    std::vector<WheelShape> offered;
    for (int m = 1; m <= std::min(v, game.rules.numbersPerDraw); ++m)
        for (int t = 1; t <= std::min(k, m); ++t) {
            const WheelShape shape{v, k, m, t};
            if (wheelShapeProblem(game, shape).empty() && wheelMakeable(shape))
                offered.push_back(shape);
        }
    return offered;
}

std::string guaranteeName(const WheelShape& shape) {
    return std::to_string(shape.t) + " z " + std::to_string(shape.m);
}

WheelMade makeSystem(const WheelShape& shape, double budget, int threads,
                     const std::function<bool(double)>& keepGoing) {
    WheelMade made;
    const WheelDesign* design = findDesign(shippedDesigns(), shape);
    made.searched = !design || budget > 0;
    made.budget = budget > 0 ? budget : kDefaultWheelBudget;
    if (made.searched) {
        WheelSearch request;
        request.shape = shape;
        request.seconds = made.budget;
        request.threads = threads;
        if (design) request.known = design->tickets;
        made.found = findWheel(request, [&](const WheelProgress& p) {
            return !keepGoing || keepGoing(std::min(1.0, p.seconds / made.budget));
        });
    } else {
        made.found.tickets = design->tickets;
        made.found.fromKnown = true;
        made.found.optimal = design->tickets.size() <= wheelLowerBound(shape);
    }
    made.verified =
        !made.found.tickets.empty() && verifyWheel(made.found.tickets, shape, threads).guarantees;
    return made;
}

namespace {

std::string secondsText(double seconds) {
    std::string text = std::to_string(static_cast<long long>(seconds * 10 + 0.5));
    if (text.size() < 2) text.insert(0, "0");
    return text.substr(0, text.size() - 1) + "," + text.back() + " s";
}

}  // namespace

std::string foundHow(const WheelMade& made) {
    const WheelFound& found = made.found;
    std::string how = found.fromKnown
                          ? "z tabeli programu"
                          : "znaleziony w poszukiwaniu po " + secondsText(found.seconds);
    if (found.fromKnown && made.searched && !found.optimal)
        how += " (poszukiwanie nie znalazło mniejszego)";
    if (found.optimal) how += "; mniej zakładów się nie da";
    if (found.stopped)
        how += "; przerwano poszukiwanie";
    else if (made.searched && !found.optimal)
        how += " (szukano " + secondsText(made.budget) + ")";
    return how;
}

std::vector<std::string> wheelLines(const std::vector<WheelMask>& tickets,
                                    const std::vector<int>& numbers) {
    std::vector<std::vector<int>> ordered;
    for (WheelMask ticket : tickets) ordered.push_back(positionsOf(ticket));
    std::sort(ordered.begin(), ordered.end());
    std::vector<std::string> lines;
    for (const std::vector<int>& positions : ordered) {
        std::string line;
        for (int p : positions)
            line +=
                (line.empty() ? "" : ", ") + std::to_string(numbers[static_cast<std::size_t>(p)]);
        lines.push_back(line);
    }
    return lines;
}

std::string ticketsCount(std::size_t n) {
    return grouped(n) + " " + nounForm(n, "zakład", "zakłady", "zakładów");
}

TextTable wheelTable(const std::vector<std::string>& lines) {
    TextTable table{{"Nr", "Zakład"}, {}};
    for (std::size_t i = 0; i < lines.size(); ++i)
        table.rows.push_back({std::to_string(i + 1), lines[i]});
    return table;
}

TextTable sureHitsTable(const std::vector<SureHits>& sure, const GameRow& game, int v, char point) {
    TextTable table{{"Twoich wśród wylosowanych", "Najlepszy zakład trafi co najmniej", "Szansa %"},
                    {}};
    for (std::size_t j = sure.size(); j-- > 0;) {
        const SureHits& s = sure[j];
        const double chance =
            hitsChance(game.rules.maxNumber, game.rules.numbersPerDraw, v, static_cast<int>(j));
        table.rows.push_back(
            {std::to_string(j),
             std::to_string(s.low) + (s.high > s.low ? "–" + std::to_string(s.high) : ""),
             fraction(100 * chance, point)});
    }
    return table;
}

std::vector<WheelMask> drawMasks(const std::vector<std::string>& draws,
                                 const std::vector<int>& numbers) {
    std::vector<WheelMask> masks;
    masks.reserve(draws.size());
    for (const std::string& draw : draws) {
        WheelMask mask = 0;
        forEachNumber(draw, [&](int n) {
            const auto at = std::lower_bound(numbers.begin(), numbers.end(), n);
            if (at != numbers.end() && *at == n) mask |= WheelMask{1} << (at - numbers.begin());
        });
        masks.push_back(mask);
    }
    return masks;
}

TextTable wheelHistoryTable(const std::vector<std::size_t>& counts, const HitsChance& chance,
                            char point) {
    TextTable table{{"Trafień", "Losowań", "Przypadek", "Zwykle od", "do"}, {}};
    std::size_t draws = 0;
    for (std::size_t c : counts) draws += c;
    for (std::size_t h = counts.size(); h-- > 0;) {
        const CountRange range = countRange(draws, chance.chance[h], 0.9);
        table.rows.push_back({std::to_string(h), std::to_string(counts[h]),
                              fraction(range.expected, point), std::to_string(range.low),
                              std::to_string(range.high)});
    }
    return table;
}

long long priceInGrosze(const std::string& text) {
    std::string s;
    for (char c : text)
        if (c != ' ' && c != '\xA0') s += c;
    for (const char* unit : {"zł", "zl", "ZŁ", "Zł", "ZL"})
        if (s.size() >= 2 && s.compare(s.size() - 2, 2, unit) == 0) s.resize(s.size() - 2);
    const std::size_t point = s.find_first_of(",.");
    const std::string whole = s.substr(0, point);
    const std::string part = point == std::string::npos ? "" : s.substr(point + 1);
    auto digits = [](const std::string& d) {
        return std::all_of(d.begin(), d.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (whole.empty() || whole.size() > 4 || part.size() > 2 || !digits(whole) || !digits(part) ||
        (point != std::string::npos && part.empty()))
        return -1;
    const long long grosze = std::stoll(whole) * 100 +
                             (part.empty() ? 0 : std::stoll(part) * (part.size() == 1 ? 10 : 1));
    return grosze > 100000 ? -1 : grosze;
}

std::string zloty(long long grosze) {
    const std::string cents = std::to_string(100 + grosze % 100).substr(1);
    return grouped(static_cast<std::uint64_t>(grosze / 100)) + "," + cents + " zł";
}

std::string costLine(std::size_t tickets, long long grosze) {
    return ticketsCount(tickets) + " × " + zloty(grosze) + " = " +
           zloty(grosze * static_cast<long long>(tickets));
}

std::string honestSentence(const GameRow& game, const WheelShape& shape) {
    double chance = 0;
    for (int j = shape.m; j <= std::min(shape.v, game.rules.numbersPerDraw); ++j)
        chance += hitsChance(game.rules.maxNumber, game.rules.numbersPerDraw, shape.v, j);
    return "System nie zmienia szansy żadnego zakładu, tylko rozkłada zakłady po twoich liczbach. "
           "Gwarancja „" +
           guaranteeName(shape) + "” działa tylko wtedy, gdy co najmniej " +
           std::to_string(shape.m) + " z wylosowanych liczb " +
           nounForm(static_cast<std::uint64_t>(shape.m), "znajdzie", "znajdą", "znajdzie") +
           " się wśród twoich " + std::to_string(shape.v) +
           ", a na to szansa w jednym losowaniu to " + fraction(100 * chance, ',') + "%.";
}

}  // namespace zestawy
