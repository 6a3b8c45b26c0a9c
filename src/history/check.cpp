#include "history/check.hpp"

#include <set>

#include "history/history.hpp"
#include "history/polish.hpp"

namespace zestawy {

namespace {

bool allDigits(std::string_view s) {
    return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
}

// Shown as it is, at most 20 characters of it.
std::string quoted(std::string_view text) {
    return "„" + std::string(text.substr(0, 20)) + (text.size() > 20 ? "…" : "") + "”";
}

}  // namespace

long dayNumber(std::string_view s) {
    if (s.size() != 10 || s[2] != '.' || s[5] != '.' || !allDigits(s.substr(0, 2)) ||
        !allDigits(s.substr(3, 2)) || !allDigits(s.substr(6)))
        return -1;
    const int day = (s[0] - '0') * 10 + (s[1] - '0');
    const int month = (s[3] - '0') * 10 + (s[4] - '0');
    const long year = std::stol(std::string(s.substr(6)));
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int days[] = {31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1 || day > days[month - 1]) return -1;
    // Days before this year, then before this month, then this month's.
    long count = year * 365 + (year + 3) / 4 - (year + 99) / 100 + (year + 399) / 400;
    for (int m = 1; m < month; ++m) count += days[m - 1];
    return count + day - 1;
}

std::string lineProblems(std::string_view line, const DrawRules& rules) {
    if (line.empty()) return "pusty wiersz";
    const std::size_t first = line.find(' ');
    const std::size_t second = first == std::string::npos ? first : line.find(' ', first + 1);
    if (second == std::string::npos)
        return "mniej niż dwie spacje: brak numeru losowania, daty albo liczb";
    const std::string numbers(line.substr(second + 1));
    if (numbers.empty()) return "brak liczb po dacie";

    // A line of garbage can hold millions of tokens: a few reasons say enough.
    constexpr std::size_t kReasons = 5;
    std::vector<std::string> reasons;
    std::size_t moreReasons = 0;
    auto reason = [&](std::string text) {
        if (reasons.size() < kReasons)
            reasons.push_back(std::move(text));
        else
            ++moreReasons;
    };
    const std::string_view number = line.substr(0, first);
    const std::string_view digits = number.substr(0, number.size() - 1);
    if (number.size() < 2 || number.back() != '.' || !allDigits(digits)) {
        reason(quoted(number) + " nie jest numerem losowania z kropką");
    } else {
        // One rule for the check and the update: 1 to 999 999 999.
        const std::size_t significant = digits.find_first_not_of('0');
        if (significant == std::string_view::npos)
            reason("numer losowania 0");
        else if (digits.size() - significant > 9)
            reason("numer losowania ma ponad 9 cyfr");
    }
    const std::string_view date = line.substr(first + 1, second - first - 1);
    if (dayNumber(date) < 0) reason(quoted(date) + " nie jest datą dd.mm.rrrr");
    std::set<int> seen;
    int count = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = numbers.find(',', start);
        const std::string token = numbers.substr(start, comma - start);
        ++count;
        const bool digits =
            !token.empty() && token.find_first_not_of("0123456789") == std::string::npos;
        const std::string range = " spoza zakresu 1–" + std::to_string(rules.maxNumber);
        if (token.empty()) {
            reason("puste pole zamiast liczby");
        } else if (!digits) {
            reason(quoted(token) + " nie jest liczbą");
        } else if (token.size() > 9) {
            reason("liczba " + token.substr(0, 20) + (token.size() > 20 ? "…" : "") + range);
        } else {
            const int value = std::stoi(token);
            if (value < 1 || value > rules.maxNumber)
                reason("liczba " + token + range);
            else if (!seen.insert(value).second)
                reason("liczba " + std::to_string(value) + " powtórzona");
        }
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    if (count != rules.numbersPerDraw)
        reasons.push_back(std::to_string(count) + " " +
                          nounForm(count, "liczba", "liczby", "liczb") + " zamiast " +
                          std::to_string(rules.numbersPerDraw));
    std::string joined;
    for (const std::string& text : reasons) joined += (joined.empty() ? "" : "; ") + text;
    if (moreReasons)
        joined += "; i jeszcze " + std::to_string(moreReasons) + " " +
                  nounForm(moreReasons, "błąd", "błędy", "błędów");
    return joined;
}

HistoryCheck checkHistoryFile(const std::string& path, std::size_t maxBytes, const DrawRules& rules,
                              const std::function<bool(const LineProblem&)>& report,
                              const std::function<bool()>& keepGoing) {
    HistoryCheck check;
    check.read = forEachLineOf(path, maxBytes, [&](std::string_view line) {
        if (keepGoing && check.lines % 4096 == 0 && !keepGoing()) return false;
        ++check.lines;
        std::string why = lineProblems(line, rules);
        if (why.empty()) return true;
        ++check.bad;
        return report({check.lines, std::move(why)});
    });
    return check;
}

}  // namespace zestawy
