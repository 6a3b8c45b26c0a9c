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
        if (!digits) {
            reason("„" + (token.size() <= 20 ? token : token.substr(0, 20) + "…") +
                   "” nie jest liczbą");
        } else if (token.size() > 9) {
            reason("liczba " + (token.size() <= 20 ? token : token.substr(0, 20) + "…") + range);
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
        reasons.push_back(std::to_string(count) + " liczb zamiast " +
                          std::to_string(rules.numbersPerDraw));
    std::string joined;
    for (const std::string& text : reasons) joined += (joined.empty() ? "" : "; ") + text;
    if (moreReasons) joined += "; i jeszcze " + std::to_string(moreReasons) + " błędów";
    return joined;
}

}  // namespace

std::size_t checkHistory(const std::vector<std::string>& lines, const DrawRules& rules,
                         const std::function<bool(const LineProblem&)>& report) {
    std::size_t bad = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string why = problemsOf(lines[i], rules);
        if (why.empty()) continue;
        ++bad;
        if (!report({i + 1, std::move(why)})) break;
    }
    return bad;
}

}  // namespace zestawy
