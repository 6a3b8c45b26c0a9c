#include "commands/analysis_text.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>

#include "history/polish.hpp"

namespace zestawy {

namespace {

std::string joined(const std::vector<std::string>& cells, const char* between) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) line += (i ? between : "") + cells[i];
    return line;
}

// Whether a cell reads as a number (right-aligned): digits, separators, '-'.
bool numeric(const std::string& cell) {
    return !cell.empty() && cell.find_first_not_of("0123456789,.-\xA0 ") == std::string::npos;
}

// A share in percent with one decimal, two significant digits below 1%:
// "6,0%", "0,11%".
std::string percent(double share) {
    char text[32];
    const double percent = share * 100;
    const int decimals =
        percent >= 1 || percent <= 0 ? 1 : 1 - static_cast<int>(std::floor(std::log10(percent)));
    std::snprintf(text, sizeof text, "%.*f%%", std::min(decimals, 8), percent);
    std::string s = text;
    std::replace(s.begin(), s.end(), '.', ',');
    return s;
}

std::string count(std::uint64_t n) {
    return std::to_string(n);
}

}  // namespace

std::string tabbed(const TextTable& table, const char* lineEnd) {
    std::string text;
    for (const auto& row : table.rows) text += joined(row, "\t") + lineEnd;
    return text;
}

std::string csv(const TextTable& table) {
    std::string text = joined(table.header, ";") + "\r\n";
    for (const auto& row : table.rows) text += joined(row, ";") + "\r\n";
    return text;
}

std::string aligned(const TextTable& table, const char* lineEnd) {
    std::vector<std::size_t> width(table.header.size());
    for (std::size_t c = 0; c < width.size(); ++c) {
        width[c] = table.header[c].size();
        for (const auto& row : table.rows) width[c] = std::max(width[c], row[c].size());
    }
    auto line = [&](const std::vector<std::string>& cells, bool header) {
        std::string text;
        for (std::size_t c = 0; c < cells.size(); ++c) {
            const std::string pad(width[c] - cells[c].size(), ' ');
            // Numbers to the right; the first column names its row.
            const bool right = !header && c > 0 && numeric(cells[c]);
            text += (c ? "  " : "") + (right ? pad + cells[c] : cells[c] + pad);
        }
        while (!text.empty() && text.back() == ' ') text.pop_back();
        return text + lineEnd;
    };
    std::string text = line(table.header, true);
    for (const auto& row : table.rows) text += line(row, false);
    return text;
}

std::string fraction(double x, char point) {
    const int decimals =
        x <= 0 ? 1 : std::clamp(2 - static_cast<int>(std::floor(std::log10(x))), 1, 10);
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, x);
    std::string s = text;
    std::replace(s.begin(), s.end(), '.', point);
    return s;
}

int mostTicketNumbers(const DrawRules& rules) {
    return std::min(10, rules.numbersPerDraw);
}

TicketNumbers parseTicket(const std::string& text, const DrawRules& rules) {
    TicketNumbers ticket;
    std::set<int> seen;
    std::size_t at = 0;
    const std::string most = std::to_string(mostTicketNumbers(rules));
    while (at < text.size()) {
        const char c = text[at];
        if (c == ',' || c == ';' || c == ' ' || c == '\t') {
            ++at;
            continue;
        }
        const std::size_t end = text.find_first_not_of("0123456789", at);
        const std::string token = text.substr(at, end == std::string::npos ? end : end - at);
        if (token.empty() || token.size() > 3) {
            ticket.error = token.empty() ? "Liczby oddziel przecinkami, np. 3, 17, 22."
                                         : "Liczba " + token + " jest spoza gry.";
            return ticket;
        }
        const int v = std::stoi(token);
        if (v < 1 || v > rules.maxNumber) {
            ticket.error =
                "Liczba " + token + " jest spoza gry (1–" + std::to_string(rules.maxNumber) + ").";
            return ticket;
        }
        if (!seen.insert(v).second) {
            ticket.error = "Liczba " + token + " jest podana dwa razy.";
            return ticket;
        }
        at += token.size();
    }
    if (seen.empty())
        ticket.error = "Podaj od 1 do " + most + " liczb, np. 3, 17, 22.";
    else if (seen.size() > static_cast<std::size_t>(mostTicketNumbers(rules)))
        ticket.error = "W tej grze typuje się najwyżej " + most + " liczb.";
    else
        ticket.numbers.assign(seen.begin(), seen.end());
    return ticket;
}

TextTable ticketTable(const TicketCheck& check, const std::vector<std::string>& labels,
                      char point) {
    TextTable table{{"Trafień", "Losowań", "Przypadek daje", "Zwykle od", "do",
                     "Ostatnio w losowaniu", "Losowań temu"},
                    {}};
    for (const HitsRow& row : check.rows) {
        const bool any = row.last >= 0;
        table.rows.push_back(
            {std::to_string(row.hits), count(row.draws), fraction(row.chance.expected, point),
             count(row.chance.low), count(row.chance.high),
             any ? labels[static_cast<std::size_t>(row.last)] : "-", any ? count(row.ago) : "-"});
    }
    return table;
}

std::string wholeTicketLine(const TicketCheck& check, const std::vector<std::string>& labels) {
    const HitsRow& all = check.rows.front();
    const std::size_t draws = labels.size();
    const std::string numbers = all.hits == 1 ? "Ta liczba" : "Wszystkie te liczby razem";
    if (all.last < 0)
        return numbers + ": nigdy w " + grouped(draws) + " " +
               nounForm(draws, "losowaniu", "losowaniach", "losowaniach") + " historii.";
    return numbers + ": ostatnio w losowaniu " + labels[static_cast<std::size_t>(all.last)] + ", " +
           (all.ago == 0 ? std::string("ostatnim")
                         : grouped(all.ago) + " " +
                               nounForm(all.ago, "losowanie", "losowania", "losowań") + " temu") +
           "; " + (all.hits == 1 ? "padła " : "razem padły ") + grouped(all.draws) + " " +
           nounForm(all.draws, "raz", "razy", "razy") + " w " + grouped(draws) + " " +
           nounForm(draws, "losowaniu", "losowaniach", "losowaniach") + ".";
}

TextTable backtestTable(const Backtest& result, char point) {
    TextTable table{{"Czeka (razy średnio)", "Szans", "Pojawień", "Odsetek", "95% od", "do"}, {}};
    for (int g = 0; g < kWaitGroupCount; ++g) {
        const GroupCount& group = result.groups[g];
        table.rows.push_back({kWaitGroups[g].label, count(group.chances), count(group.appearances),
                              fraction(group.rate, point), fraction(group.low, point),
                              fraction(group.high, point)});
    }
    table.rows.push_back({"top" + std::to_string(kTopSets), count(result.topChances),
                          count(result.topAppearances),
                          fraction(result.topExpected.expected, point),
                          count(result.topExpected.low), count(result.topExpected.high)});
    return table;
}

std::string backtestSentence(const Backtest& r) {
    if (r.judged == 0) return "Za mało losowań: potrzeba co najmniej dwóch.";
    std::string above, below;
    int outside = 0;
    for (int g = 0; g < kWaitGroupCount; ++g) {
        const GroupCount& group = r.groups[g];
        if (group.chances == 0) continue;
        if (group.low <= r.perDraw && group.high >= r.perDraw) continue;
        std::string& to = group.low > r.perDraw ? above : below;
        ++outside;
        to += std::string(to.empty() ? "" : ", ") + "„" + kWaitGroups[g].label + "”";
    }
    auto groups = [](const std::string& labels) {
        return (labels.find(',') == std::string::npos ? "zestawy z grupy " : "zestawy z grup ") +
               labels;
    };
    const std::string chance = "(szansa " + percent(r.perDraw) + " na losowanie)";
    const std::string top =
        std::to_string(kTopSets) + " najdłużej czekających zestawów przed każdym losowaniem " +
        nounForm(r.topAppearances, "pojawiło", "pojawiły", "pojawiło") + " się łącznie " +
        grouped(r.topAppearances) + " " + nounForm(r.topAppearances, "raz", "razy", "razy") +
        " wobec średnio " +
        grouped(static_cast<std::uint64_t>(std::llround(r.topExpected.expected))) +
        " z samego przypadku (zwykle " + grouped(r.topExpected.low) + "–" +
        grouped(r.topExpected.high) + ")";
    const bool topOutside =
        r.topAppearances < r.topExpected.low || r.topAppearances > r.topExpected.high;
    std::string text;
    if (outside == 0 && !topOutside) {
        text =
            "Czekanie nie pomaga: zestawy z każdej grupy oczekiwania pojawiały się tak często, "
            "jak daje sam przypadek " +
            chance + ", a " + top;
    } else {
        text = "W " + grouped(r.judged) + " " +
               nounForm(r.judged, "losowaniu", "losowaniach", "losowaniach") + " ";
        if (!above.empty()) text += groups(above) + " pojawiały się częściej";
        if (!above.empty() && !below.empty()) text += ", a ";
        if (!below.empty())
            text += groups(below) + (above.empty() ? " pojawiały się" : "") + " rzadziej";
        if (outside > 0)
            text += ", niż daje sam przypadek " + chance +
                    ", co przy pięciu grupach zdarza się i bez przyczyny mniej więcej w co "
                    "czwartej historii; ";
        text += top;
        if (topOutside) text += ", poza zwykłym zakresem";
    }
    if (r.sampled)
        text +=
            "; zbadano losową próbę " + grouped(r.followed) + " z " + grouped(r.sets) + " zestawów";
    return text + ".";
}

}  // namespace zestawy
