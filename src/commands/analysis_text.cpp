#include "commands/analysis_text.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>

#include "history/encoding.hpp"
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
    std::string text = "\xEF\xBB\xBF";  // UTF-8's byte-order mark: Excel reads it so
    appendUtf8FromCp1250(text, joined(table.header, ";") + "\r\n");
    for (const auto& row : table.rows) appendUtf8FromCp1250(text, joined(row, ";") + "\r\n");
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

std::string fraction(double x, char point, int digits) {
    const int decimals =
        x <= 0 ? 1 : std::clamp(digits - 1 - static_cast<int>(std::floor(std::log10(x))), 1, 10);
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, x);
    std::string s = text;
    std::replace(s.begin(), s.end(), '.', point);
    return s;
}

int mostTicketNumbers(const DrawRules& rules) {
    return std::min(10, rules.numbersPerDraw);
}

TicketNumbers parseTicket(const std::string& text, const DrawRules& rules, int most) {
    TicketNumbers ticket;
    std::set<int> seen;
    std::size_t at = 0;
    const bool aTicket = most == 0;
    if (aTicket) most = mostTicketNumbers(rules);
    const std::string mostText = std::to_string(most);
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
        ticket.error = "Podaj od 1 do " + mostText + " liczb, np. 3, 17, 22.";
    else if (seen.size() > static_cast<std::size_t>(most))
        ticket.error = (aTicket ? "W tej grze typuje się najwyżej " : "Podaj najwyżej ") +
                       mostText + " liczb.";
    else
        ticket.numbers.assign(seen.begin(), seen.end());
    return ticket;
}

std::string toggledNumber(const std::string& text, const DrawRules& rules, int most, int number) {
    std::vector<int> numbers = parseTicket(text, rules, most).numbers;
    const auto at = std::find(numbers.begin(), numbers.end(), number);
    if (at != numbers.end())
        numbers.erase(at);
    else
        numbers.insert(std::upper_bound(numbers.begin(), numbers.end(), number), number);
    std::string toggled;
    for (int v : numbers) toggled += (toggled.empty() ? "" : ", ") + std::to_string(v);
    return toggled;
}

TextTable ticketTable(const TicketCheck& check, const std::vector<std::string>& labels,
                      char point) {
    TextTable table{{"Trafień", "Losowań", "Przypadek daje", "Zwykle od", "do",
                     "Ostatnio w losowaniu", "Losowań temu"},
                    {}};
    for (const HitsRow& row : check.rows) {
        const bool any = row.last >= 0;
        table.rows.push_back({std::to_string(row.hits), count(row.draws),
                              fraction(row.chance.expected, point, row.chance.expected < 1 ? 2 : 3),
                              count(row.chance.low), count(row.chance.high),
                              any ? labels[static_cast<std::size_t>(row.last)] : "-",
                              any ? count(row.ago) : "-"});
    }
    return table;
}

std::string wholeTicketLine(const TicketCheck& check, const std::vector<std::string>& labels) {
    const HitsRow& all = check.rows.front();
    const std::size_t draws = labels.size();
    const bool one = all.hits == 1;
    // The conclusion first: the count against chance's range, then the detail.
    const std::string verdict = all.draws > all.chance.high  ? "częściej, niż daje sam przypadek"
                                : all.draws < all.chance.low ? "rzadziej, niż daje sam przypadek"
                                                             : "nic niezwykłego";
    const std::string times =
        all.last < 0 ? std::string(one ? "nie padła" : "nie padły") + " ani razu"
                     : std::string(one ? "padła " : "razem padły ") + grouped(all.draws) + " " +
                           nounForm(all.draws, "raz", "razy", "razy");
    std::string line = std::string(one ? "Ta liczba" : "Wszystkie te liczby razem") + ": " +
                       verdict + " – " + times + " w " + grouped(draws) + " " +
                       nounForm(draws, "losowaniu", "losowaniach", "losowaniach") +
                       " wobec średnio " +
                       fraction(all.chance.expected, ',', all.chance.expected < 1 ? 2 : 3) +
                       " z samego przypadku (zwykle " + grouped(all.chance.low) + "–" +
                       grouped(all.chance.high) + ")";
    if (all.last >= 0)
        line +=
            "; ostatnio w losowaniu " + labels[static_cast<std::size_t>(all.last)] + ", " +
            (all.ago == 0 ? std::string("ostatnim")
                          : grouped(all.ago) + " " +
                                nounForm(all.ago, "losowanie", "losowania", "losowań") + " temu");
    return line + ".";
}

TextTable backtestTable(const Backtest& result, char point) {
    TextTable table{{"Czeka (razy średnio)", "Szans", "Pojawień", "Średnio", "Odsetek %",
                     std::to_string(kBacktestRangePercent) + "% od", "do"},
                    {}};
    for (int g = 0; g < kWaitGroupCount; ++g) {
        const GroupCount& group = result.groups[g];
        table.rows.push_back({kWaitGroups[g].label, count(group.chances), count(group.appearances),
                              fraction(static_cast<double>(group.chances) * result.perDraw, point),
                              fraction(group.rate * 100, point), fraction(group.low * 100, point),
                              fraction(group.high * 100, point)});
    }
    // The ten longest-waiting sets: their expected count in its own column,
    // their rate and range in per cent as the groups'.
    const double chances = std::max<double>(1, static_cast<double>(result.topChances));
    table.rows.push_back(
        {"top" + std::to_string(kTopSets), count(result.topChances), count(result.topAppearances),
         fraction(result.topExpected.expected, point),
         fraction(static_cast<double>(result.topAppearances) / chances * 100, point),
         fraction(static_cast<double>(result.topExpected.low) / chances * 100, point),
         fraction(static_cast<double>(result.topExpected.high) / chances * 100, point)});
    return table;
}

namespace {

// "grupy „>5”", "grup „2-3”, „>5”" (or "grupę", "grupy" as the object).
std::string groupsOf(const std::vector<int>& groups, bool object = false) {
    std::string labels;
    for (int g : groups)
        labels += std::string(labels.empty() ? "" : ", ") + "„" + kWaitGroups[g].label + "”";
    const char* noun =
        groups.size() == 1 ? (object ? "grupę " : "grupy ") : (object ? "grupy " : "grup ");
    return noun + labels;
}

}  // namespace

namespace {

// How often chance alone puts as many groups outside, where the simulation ran
// and more than one comparison is judged.
std::string chanceSentence(const ChanceOutside& chance, int judged) {
    if (chance.histories == 0 || judged < 2) return "";
    return " Sam przypadek wyrzuca " +
           (chance.least == 1 ? std::string("choć jedną z ocenianych grup poza jej zakres")
                              : "co najmniej " + std::to_string(chance.least) +
                                    " z ocenianych grup poza ich zakresy") +
           " w " + grouped(static_cast<std::uint64_t>(chance.outside)) + " z " +
           grouped(static_cast<std::uint64_t>(chance.histories)) +
           " symulowanych historii tej gry i długości.";
}

// The smallest change of the chance that the longest-waiting judged group
// would have shown: half its interval's width either side of p.
std::string effectSentence(const Backtest& r, int longest) {
    const GroupCount& group = r.groups[longest];
    const double half = (group.high - group.low) / 2, p = r.perDraw;
    return std::string(" Tyle losowań wykazałoby w grupie „") + kWaitGroups[longest].label +
           "” szansę poniżej " + fraction((p - half) * 100, ',') + "% lub powyżej " +
           fraction((p + half) * 100, ',') + "% na losowanie (o około " + percent(half / p) +
           " inną niż przypadek).";
}

}  // namespace

std::string backtestSentence(const Backtest& r, const ChanceOutside& chance) {
    if (r.judged == 0) return "Za mało losowań: potrzeba co najmniej dwóch.";
    std::vector<int> above, below, unjudged;
    int longest = -1;
    for (int g = 0; g < kWaitGroupCount; ++g) {
        if (!judgedGroup(r, g)) {
            unjudged.push_back(g);
            continue;
        }
        longest = g;
        const int side = sideOfGroup(r, g);
        if (side > 0) above.push_back(g);
        if (side < 0) below.push_back(g);
    }
    if (longest < 0) return "Za mało losowań, by ocenić którąkolwiek grupę oczekiwania.";
    const int judged = kWaitGroupCount - static_cast<int>(unjudged.size()) + judgedTop(r);
    const int outside = outsideCount(r);
    const std::string chanceText = chanceSentence(chance, judged);
    const std::string few =
        unjudged.empty() ? "" : " Za mało losowań, by ocenić " + groupsOf(unjudged, true) + ".";
    const std::string sample = r.sampled ? " Zbadano losową próbę " + grouped(r.followed) + " z " +
                                               grouped(r.sets) + " zestawów."
                                         : "";
    const std::string chanceOf = "(szansa " + percent(r.perDraw) + " na losowanie)";
    // The subject is the ten sets: the verb agrees with their count.
    const std::string top =
        std::to_string(kTopSets) + " najdłużej czekających zestawów przed każdym losowaniem " +
        nounForm(kTopSets, "pojawił", "pojawiły", "pojawiło") + " się łącznie " +
        grouped(r.topAppearances) + " " + nounForm(r.topAppearances, "raz", "razy", "razy") +
        " wobec średnio " +
        grouped(static_cast<std::uint64_t>(std::llround(r.topExpected.expected))) +
        " z samego przypadku (zwykle " + grouped(r.topExpected.low) + "–" +
        grouped(r.topExpected.high) + ")" + (sideOfTop(r) != 0 ? ", poza zwykłym zakresem" : "");
    if (outside == 0)
        return "Nic nie wskazuje, że czekanie pomaga: każda oceniona grupa oczekiwania mieści się "
               "w zakresie samego przypadku " +
               chanceOf + ", a " + top + "." + effectSentence(r, longest) + chanceText + few +
               sample;
    // Waiting helped only where sets that had waited long (twice the mean gap
    // and more) came up more often than chance, and chance alone seldom
    // (under one history in twenty) puts as many outside; a lone excursion
    // among several is never a finding.
    const bool longAbove =
        std::any_of(above.begin(), above.end(), [](int g) { return g >= 2; }) || sideOfTop(r) > 0;
    const bool seldom = chance.histories > 0 ? chance.outside * 20 < chance.histories : outside > 1;
    const bool finding = longAbove && seldom;
    std::string detail;
    if (!above.empty())
        detail += "zestawy z " + groupsOf(above) + (finding ? "" : " pojawiały się") + " częściej";
    if (!above.empty() && !below.empty()) detail += ", a ";
    if (!below.empty())
        detail +=
            "zestawy z " + groupsOf(below) + (above.empty() ? " pojawiały się" : "") + " rzadziej";
    if (!detail.empty()) detail += (finding ? "" : ", niż daje sam przypadek " + chanceOf) + "; ";
    const std::string verdict =
        finding ? "Długo czekające zestawy pojawiały się częściej, niż daje sam przypadek " +
                      chanceOf + ": "
        : longAbove ? "Nic nie wskazuje wyraźnie, że czekanie pomaga: "
                    : "Czekanie nie pomogło: ";
    const std::string lone = chance.histories == 0 && outside == 1 && judged > 1
                                 ? " Jedna grupa poza swoim zakresem, gdy ocenia się kilka, "
                                   "zdarza się i bez przyczyny."
                                 : "";
    return verdict + detail + top + "." + lone + chanceText + few + sample;
}

}  // namespace zestawy
