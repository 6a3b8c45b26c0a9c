#include "history/check.hpp"

#include <set>

namespace zestawy {

namespace {

std::string problemsOf(const std::string& line, const DrawRules& rules) {
    if (line.empty()) return "pusty wiersz";
    const std::size_t first = line.find(' ');
    const std::size_t second = first == std::string::npos ? first : line.find(' ', first + 1);
    if (second == std::string::npos)
        return "mniej niż dwie spacje: brak numeru losowania, daty albo liczb";
    const std::string numbers = line.substr(second + 1);
    if (numbers.empty()) return "brak liczb po dacie";

    std::vector<std::string> reasons;
    std::set<int> seen;
    int count = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = numbers.find(',', start);
        const std::string token = numbers.substr(start, comma - start);
        ++count;
        const bool digits = !token.empty() && token.size() <= 9 &&
                            token.find_first_not_of("0123456789") == std::string::npos;
        if (!digits) {
            reasons.push_back("„" + token + "” nie jest liczbą");
        } else {
            const int value = std::stoi(token);
            if (value < 1 || value > rules.maxNumber)
                reasons.push_back("liczba " + token + " spoza zakresu 1–" +
                                  std::to_string(rules.maxNumber));
            else if (!seen.insert(value).second)
                reasons.push_back("liczba " + std::to_string(value) + " powtórzona");
        }
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    if (count != rules.numbersPerDraw)
        reasons.push_back(std::to_string(count) + " liczb zamiast " +
                          std::to_string(rules.numbersPerDraw));
    std::string joined;
    for (const std::string& reason : reasons) joined += (joined.empty() ? "" : "; ") + reason;
    return joined;
}

}  // namespace

std::vector<LineProblem> checkHistory(const std::vector<std::string>& lines, const DrawRules& rules) {
    std::vector<LineProblem> problems;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string why = problemsOf(lines[i], rules);
        if (!why.empty()) problems.push_back({i + 1, std::move(why)});
    }
    return problems;
}

}  // namespace zestawy
