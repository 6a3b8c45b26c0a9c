#include "history/history.hpp"

#include <climits>
#include <cstdint>
#include <cstdio>

namespace zestawy {

std::vector<std::string> splitHistoryLines(std::string_view text) {
    // A UTF-8 byte-order mark, as some editors write, is no part of the first line.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        // The end of the line: an LF, or a run of CRs that no LF follows.
        std::size_t end = start, next = text.size();
        for (; end < text.size(); ++end) {
            if (text[end] == '\n') {
                next = end + 1;
                break;
            }
            if (text[end] != '\r') continue;
            std::size_t after = end;
            while (after < text.size() && text[after] == '\r') ++after;
            if (after < text.size() && text[after] == '\n') {
                next = after + 1;
                break;
            }
            next = after;
            break;
        }
        // A zero byte ends the line's text: the boxes could not show past it.
        std::string_view line = text.substr(start, end - start);
        line = line.substr(0, line.find('\0'));
        lines.emplace_back(line);
        start = next;
    }
    return lines;
}

HistoryRead readWholeFile(const std::string& path, std::string& bytes, std::size_t maxBytes) {
    bytes.clear();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return HistoryRead::CannotOpen;
    char buffer[1 << 16];
    bool tooLarge = false;
    for (std::size_t n; !tooLarge && (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
        tooLarge = n > maxBytes - bytes.size();
        if (!tooLarge) bytes.append(buffer, n);
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (tooLarge) {
        bytes.clear();
        return HistoryRead::TooLarge;
    }
    return failed ? HistoryRead::ReadError : HistoryRead::Ok;
}

HistoryRead readHistoryFile(const std::string& path, std::vector<std::string>& lines,
                            std::size_t maxBytes) {
    std::string text;
    const HistoryRead read = readWholeFile(path, text, maxBytes);
    if (read != HistoryRead::CannotOpen) lines = splitHistoryLines(text);
    return read;
}

bool readHistoryLines(const std::string& path, std::vector<std::string>& lines) {
    return readHistoryFile(path, lines, SIZE_MAX) != HistoryRead::CannotOpen;
}

long long parseCount(std::string_view box) {
    box = box.substr(0, 19);
    std::size_t i = 0;
    while (i < box.size() && (box[i] == ' ' || (box[i] >= '\t' && box[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < box.size() && (box[i] == '+' || box[i] == '-')) negative = box[i++] == '-';
    long long value = 0;
    for (; i < box.size() && box[i] >= '0' && box[i] <= '9'; ++i) {
        const int digit = box[i] - '0';
        if (value > (LLONG_MAX - digit) / 10) return negative ? LLONG_MIN : LLONG_MAX;
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

std::vector<LoadedLine> loadedLines(const std::vector<std::string>& lines, long long count) {
    std::vector<LoadedLine> loaded;
    const long long total = static_cast<long long>(lines.size());
    const long long start = count >= total ? 0 : total - count;
    for (long long i = start; i < total; ++i) {
        const std::string_view line = lines[static_cast<std::size_t>(i)];
        const std::size_t first = line.find(' ');
        if (first == std::string_view::npos) continue;
        const std::size_t second = line.find(' ', first + 1);
        if (second == std::string_view::npos) continue;
        loaded.push_back({line.substr(0, second), line.substr(second + 1)});
    }
    return loaded;
}

LoadedDraws latestDraws(const std::vector<std::string>& lines, long long count) {
    LoadedDraws shown;
    for (const LoadedLine& line : loadedLines(lines, count)) {
        // An empty numbers part adds an empty line, or nothing while the
        // numbers text is still empty.
        if (!shown.numbers.empty()) shown.numbers += "\r\n";
        shown.numbers += line.numbers;
        if (!shown.dates.empty()) shown.dates += "\r\n";
        shown.dates += line.dates;
    }
    return shown;
}

}  // namespace zestawy
