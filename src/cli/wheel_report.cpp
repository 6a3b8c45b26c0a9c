#include "cli/wheel_report.hpp"

#include <algorithm>
#include <set>

#include "commands/wheel_text.hpp"
#include "history/history.hpp"
#include "wheel/designs.hpp"
#include "wheel/generate.hpp"
#include "wheel/subsets.hpp"
#include "wheel/verify.hpp"

namespace zestawy::cli {

namespace {

// The numbers of a list ("1, 5, 9" or "1 5 9"), as given; `what` names the
// list in a message.
std::vector<int> numbersOf(const std::string& text, const GameRow& game, const std::string& what) {
    std::vector<int> numbers;
    for (std::size_t at = 0; at < text.size();) {
        if (text.find_first_of(",; \t\r", at) == at) {
            ++at;
            continue;
        }
        const std::size_t end = std::min(text.size(), text.find_first_not_of("0123456789", at));
        if (end == at) throw UsageError{what + ": liczby oddziel przecinkami, np. 1, 5, 9, 12"};
        const std::string token = text.substr(at, end - at);
        const int n = token.size() > 3 ? 0 : std::stoi(token);
        if (n < 1 || n > game.rules.maxNumber)
            throw UsageError{what + ": liczba " + token + " jest spoza gry (1-" +
                             std::to_string(game.rules.maxNumber) + ")"};
        if (std::find(numbers.begin(), numbers.end(), n) != numbers.end())
            throw UsageError{what + ": liczba " + token + " jest podana dwa razy"};
        numbers.push_back(n);
        at = end;
    }
    return numbers;
}

std::vector<int> playerNumbers(const Options& o) {
    std::vector<int> numbers = numbersOf(o.wheelText, *o.game, "--wheel");
    const int most = mostWheelNumbers(*o.game);
    if (numbers.empty()) throw UsageError{"--wheel: podaj liczby, np. \"1, 5, 9, 12, 20, 33, 41\""};
    if (static_cast<int>(numbers.size()) > most)
        throw UsageError{"--wheel: za dużo liczb: " + std::to_string(numbers.size()) + " (w grze " +
                         o.game->name + " najwyżej " + std::to_string(most) + ")"};
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

WheelShape shapeOf(const Options& o, int v) {
    const std::string& g = o.guaranteeText;
    const std::size_t z = g.find('z');
    auto digits = [](std::string s) {
        s.erase(0, s.find_first_not_of(' '));
        s.erase(s.find_last_not_of(' ') + 1);
        return !s.empty() && s.size() <= 2 && s.find_first_not_of("0123456789") == s.npos
                   ? std::stoi(s)
                   : 0;
    };
    WheelShape shape{v, 0, 0, 0};
    if (z != std::string::npos) {
        shape.t = digits(g.substr(0, z));
        shape.m = digits(g.substr(z + 1));
    }
    if (shape.t < 1 || shape.m < shape.t)
        throw UsageError{"--guarantee: podaj gwarancję jak \"3 z 4\" (trafione z wylosowanych)"};
    const bool multi = o.game->game == Game::MultiMulti;
    const int own = o.game->rules.numbersPerDraw;
    if (multi && o.size == 0)
        throw UsageError{"--wheel w grze Multi Multi wymaga --size (1-" +
                         std::to_string(kMostWheelSize) + ")"};
    if (!multi && o.size != 0 && o.size != own)
        throw UsageError{std::string("--size: w grze ") + o.game->name + " zakład ma " +
                         std::to_string(own) + " liczb"};
    shape.k = multi ? o.size : own;
    const std::string problem = wheelShapeProblem(*o.game, shape);
    if (!problem.empty()) throw UsageError{problem};
    return shape;
}

// The tickets of a file, a line each, every number one of the player's.
std::vector<WheelMask> ticketsOf(const Options& o, const std::vector<int>& numbers) {
    std::string text;
    if (readWholeFile(o.checkWheelPath, text, kMaxHistoryBytes) != HistoryRead::Ok)
        throw UsageError{"nie można przeczytać pliku " + o.checkWheelPath};
    std::vector<WheelMask> tickets;
    std::size_t line = 0;
    for (std::size_t at = 0; at < text.size(); ++line) {
        const std::size_t end = std::min(text.size(), text.find('\n', at));
        const std::string where = o.checkWheelPath + ", wiersz " + std::to_string(line + 1);
        WheelMask ticket = 0;
        for (int n : numbersOf(text.substr(at, end - at), *o.game, where)) {
            const auto p = std::lower_bound(numbers.begin(), numbers.end(), n);
            if (p == numbers.end() || *p != n)
                throw UsageError{where + ": liczby " + std::to_string(n) +
                                 " nie ma wśród typowanych"};
            ticket |= WheelMask{1} << (p - numbers.begin());
        }
        if (ticket) tickets.push_back(ticket);
        at = end + 1;
    }
    if (tickets.empty()) throw UsageError{"w pliku " + o.checkWheelPath + " nie ma zakładów"};
    return tickets;
}

int checkWheel(const Options& o, const std::vector<int>& numbers, const WheelShape& shape,
               Output& out, std::FILE* err) {
    const std::vector<WheelMask> tickets = ticketsOf(o, numbers);
    WheelVerdict verdict;
    {
        const StopsByItself stops;
        verdict =
            verifyWheel(tickets, shape, threadsOf(o), [] { return !stopRequested.stopped(); });
    }
    if (verdict.stopped) {
        say(err, "zestawy-cli: przerwano\n");
        return kExitStopped;
    }
    if (verdict.guarantees)
        out.write("gwarantuje " + guaranteeName(shape) + ": " + ticketsCount(tickets.size()) +
                  "\n");
    else
        out.write("nie gwarantuje " + guaranteeName(shape) + ": losowanie " +
                  wheelLines({verdict.missed}, numbers).front() + " nie ma " +
                  std::to_string(shape.t) + " trafień w żadnym zakładzie\n");
    const int code = finishOutput(out, err);
    return code != 0 ? code : verdict.guarantees ? 0 : kExitFailed;
}

int makeWheel(const Options& o, const std::vector<int>& numbers, const WheelShape& shape,
              Output& out, std::FILE* err) {
    if ((o.budget > 0 || !findDesign(shippedDesigns(), shape)) && !wheelSearchable(shape))
        throw UsageError{"za dużo możliwych losowań, by szukać systemu: " +
                         std::to_string(subsets::binomial(shape.v, shape.m)) + " (najwyżej " +
                         std::to_string(kMostSearchDraws) + "); --check-wheel sprawdzi gotowy"};
    WheelMade made;
    {
        const StopsByItself stops;
        Progress progress(err);
        made = makeSystem(shape, o.budget, threadsOf(o), [&](double done) {
            progress.done(done);
            return !stopRequested.stopped();
        });
    }
    if (made.found.tickets.empty()) {  // stopped before even the greedy start was done
        say(err, "zestawy-cli: przerwano\n");
        return kExitStopped;
    }
    const std::vector<std::string> lines = wheelLines(made.found.tickets, numbers);
    if (o.csv)
        out.writeBytes(csv(wheelTable(lines)));
    else
        for (const std::string& line : lines) out.write(line + "\n");
    say(err, "zestawy-cli: " + ticketsCount(lines.size()) + " po " + std::to_string(shape.k) +
                 " liczb z " + std::to_string(shape.v) + " typowanych, gwarancja " +
                 guaranteeName(shape) + "\n");
    say(err, std::string("zestawy-cli: sprawdzono: ") +
                 (made.verified ? "gwarantuje" : "NIE gwarantuje") + "\nzestawy-cli: " +
                 foundHow(made) + "\nzestawy-cli: " + honestSentence(*o.game, shape) + "\n");
    const int code = finishOutput(out, err);
    return code != 0 ? code : made.verified ? 0 : kExitFailed;
}

}  // namespace

int wheelReport(const Options& o, Output& out, std::FILE* err) {
    try {
        const std::vector<int> numbers = playerNumbers(o);
        const WheelShape shape = shapeOf(o, static_cast<int>(numbers.size()));
        if (!o.checkWheelPath.empty()) return checkWheel(o, numbers, shape, out, err);
        return makeWheel(o, numbers, shape, out, err);
    } catch (const UsageError& e) {
        say(err, "zestawy-cli: " + e.message + "\n");
        return kExitUsage;
    }
}

}  // namespace zestawy::cli
