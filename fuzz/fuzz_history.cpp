// Fuzzes the history reader: the split of a file's text into lines, the count
// box and the texts the load command shows; and the update of a history from
// a download.
//
// Input: one byte n, then n % 24 bytes of count-box text, then the file's text.
// For the update, the text up to its first form feed is the history and the
// rest the download (without one, the text is both), of the game n % 3.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "commands/update.hpp"
#include "history/check.hpp"
#include "history/history.hpp"

namespace {

void check(bool ok) {
    if (!ok) __builtin_trap();
}

// The lines as a plain model reads them, after a UTF-8 byte-order mark: every run of CRs, with the
// LF after it if there is one, and every lone LF becomes one line end; each line is cut at its
// first zero byte; a line end at the very end adds no empty line.
void checkLines(std::string_view text, const std::vector<std::string>& lines) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // a UTF-8 BOM is no text
    std::string ends;  // the text with each line end as one '\n'
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') {
            ends += text[i];
            continue;
        }
        while (i + 1 < text.size() && text[i + 1] == '\r') ++i;
        if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        ends += '\n';
    }
    std::vector<std::string> model;
    for (std::size_t start = 0; start < ends.size();) {
        std::size_t end = ends.find('\n', start);
        if (end == std::string::npos) end = ends.size();
        const std::string line = ends.substr(start, end - start);
        model.push_back(line.substr(0, line.find('\0')));
        start = end + 1;
    }
    check(model == lines);
}

std::vector<std::string_view> splitCrLf(std::string_view text) {
    std::vector<std::string_view> parts;
    if (text.empty()) return parts;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find("\r\n", start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos) return parts;
        start = end + 2;
    }
}

// The shown lines are the last `count` lines with at least two blanks: the
// date box holds each one up to its second blank, the numbers box the rest of
// each, less the empty ones before the first non-empty one.
void checkShown(const std::vector<std::string>& lines, long long count) {
    const zestawy::LoadedDraws shown = zestawy::latestDraws(lines, count);
    const std::size_t total = lines.size();
    const auto wanted = static_cast<unsigned long long>(count);
    const std::size_t first = wanted >= total ? 0 : total - static_cast<std::size_t>(wanted);
    std::vector<std::string_view> source;
    for (std::size_t i = first; i < lines.size(); ++i) {
        const std::size_t blank = lines[i].find(' ');
        if (blank != std::string::npos && lines[i].find(' ', blank + 1) != std::string::npos)
            source.push_back(lines[i]);
    }
    const std::vector<std::string_view> dates = splitCrLf(shown.dates);
    const std::vector<std::string_view> numbers = splitCrLf(shown.numbers);
    check(dates.size() == source.size() && numbers.size() <= dates.size());
    check(numbers.empty() || !numbers.front().empty());
    const std::size_t skipped = dates.size() - numbers.size();
    for (std::size_t i = 0; i < source.size(); ++i) {
        const std::string_view rest = i < skipped ? std::string_view{} : numbers[i - skipped];
        check(dates[i].find(' ') != std::string_view::npos &&
              dates[i].find(' ') == dates[i].rfind(' '));
        check(source[i] == std::string(dates[i]) + ' ' + std::string(rest));
    }
}

bool blank(const std::string& line) {
    return line.find_first_not_of(" \t") == std::string::npos;
}

// A merge keeps every line of the history but the blank ones at its end, in
// order and byte for byte, and adds well-formed draws; the history it makes
// passes the line check whenever the history did, is as long as the plan
// said, and has nothing new to take from the same download.
void checkUpdate(std::string_view history, std::string_view download,
                 const zestawy::GameRow& game) {
    using namespace zestawy;
    const UpdatePlan plan = planUpdate(history, download, game);
    check(!plan.message.empty());
    if (plan.kind != UpdateKind::Added) return;
    const std::string merged = mergedHistory(history, download, game);
    check(merged.size() == plan.bytes);
    const std::vector<std::string> before = splitHistoryLines(history);
    const std::vector<std::string> after = splitHistoryLines(merged);
    std::size_t kept = before.size();
    while (kept > 0 && blank(before[kept - 1])) --kept;
    std::size_t old = 0;
    for (const std::string& line : after) {
        if (old < kept && line == before[old])
            ++old;
        else
            check(lineProblems(line, game.rules).empty());
    }
    check(old == kept && after.size() == kept + plan.added);
    const auto bad = [&](const std::vector<std::string>& lines) {
        return std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
            return !lineProblems(line, game.rules).empty();
        });
    };
    if (bad(before) == 0) check(bad(after) == 0);
    check(planUpdate(merged, download, game).kind == UpdateKind::NothingNew);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string_view box = input.substr(0, data[0] % 24);
    const std::string_view text = input.substr(box.size());

    // The count box reads as strtoll reads its first 19 characters.
    const long long count = zestawy::parseCount(box);
    check(count == std::strtoll(std::string(box.substr(0, 19)).c_str(), nullptr, 10));

    const std::vector<std::string> lines = zestawy::splitHistoryLines(text);
    checkLines(text, lines);
    if (count > 0) checkShown(lines, count);

    const std::size_t feed = text.find('\f');
    checkUpdate(text.substr(0, feed), feed == text.npos ? text : text.substr(feed + 1),
                zestawy::kGames[data[0] % 3]);
    return 0;
}
