#include "history/history.hpp"

#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "history/file_name.hpp"

namespace zestawy {

// A UTF-8 byte-order mark, as some editors write, is no part of the first line.
LineScanner::LineScanner(std::string_view text, bool fileStart)
    : text_(text), at_(fileStart && text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0) {}

bool LineScanner::next(TextLine& line) {
    if (at_ >= text_.size()) return false;
    const char* const begin = text_.data();
    const char* const stop = begin + text_.size();
    // (Each search below is one memchr: a history of 17,000 lines splits in
    // well under a millisecond.)
    auto find = [&](const char* from, const char* to, char c) {
        const void* at =
            from < to ? std::memchr(from, c, static_cast<std::size_t>(to - from)) : nullptr;
        return at ? static_cast<const char*>(at) : to;
    };
    const char* const start = begin + at_;
    // The end of the line: an LF, or a run of CRs that no LF follows.
    const char* lf = find(start, stop, '\n');
    const char* end = find(start, lf, '\r');
    const char* next = lf < stop ? lf + 1 : stop;
    if (end < lf) {
        const char* after = end;
        while (after < stop && *after == '\r') ++after;
        next = after < stop && *after == '\n' ? after + 1 : after;
    }
    // A zero byte ends the line's text: the boxes could not show past it.
    line.text = std::string_view(start, static_cast<std::size_t>(find(start, end, '\0') - start));
    line.begin = at_;
    line.end = at_ = static_cast<std::size_t>(next - begin);
    return true;
}

std::vector<std::string> splitHistoryLines(std::string_view text) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    LineScanner scanner(text);
    for (TextLine line; scanner.next(line);) lines.emplace_back(line.text);
    return lines;
}

namespace {

// The size of an open regular file; 0 for anything else (a folder, a pipe, a
// device), whose size says nothing.
std::uint64_t regularFileSize(std::FILE* file) {
#ifdef _WIN32
    struct _stat64 st;
    const bool known = _fstat64(_fileno(file), &st) == 0 && (st.st_mode & _S_IFREG);
#else
    struct stat st;
    const bool known = fstat(fileno(file), &st) == 0 && S_ISREG(st.st_mode);
#endif
    return known && st.st_size > 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
}

}  // namespace

HistoryRead forEachLineOf(const std::string& path, std::size_t maxBytes,
                          const std::function<bool(std::string_view)>& visit) {
    std::FILE* file = openFile(path, "rb");
    if (!file) return HistoryRead::CannotOpen;
    if (regularFileSize(file) > maxBytes) {
        std::fclose(file);
        return HistoryRead::TooLarge;
    }
    constexpr std::size_t kPiece = 1 << 20;
    std::string buffer;
    std::size_t total = 0;
    bool start = true, going = true, tooLarge = false;
    // The lines up to `upto` of the buffer: every line that ends by an LF is
    // whole, since nothing after it can change where it ends.
    auto scan = [&](std::size_t upto) {
        LineScanner scanner(std::string_view(buffer).substr(0, upto), start);
        TextLine line;
        while (going && scanner.next(line)) going = visit(line.text);
        buffer.erase(0, upto);
        start = start && upto == 0;
    };
    for (;;) {
        const std::size_t had = buffer.size();
        buffer.resize(had + kPiece);
        const std::size_t n = std::fread(&buffer[had], 1, kPiece, file);
        buffer.resize(had + n);
        total += n;
        if (total > maxBytes) tooLarge = true;
        if (n == 0 || tooLarge) break;
        const std::size_t lastFeed = buffer.rfind('\n');
        if (lastFeed != std::string::npos) scan(lastFeed + 1);
        if (!going) break;
    }
    if (going && !tooLarge) scan(buffer.size());
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    return tooLarge ? HistoryRead::TooLarge : failed ? HistoryRead::ReadError : HistoryRead::Ok;
}

HistoryRead readWholeFile(const std::string& path, std::string& bytes, std::size_t maxBytes) {
    bytes.clear();
    std::FILE* file = openFile(path, "rb");
    if (!file) return HistoryRead::CannotOpen;
    // Room for the whole file at once, where its size is known: a string that
    // doubles as it grows would hold half as much again at its peak.
    const std::uint64_t size = regularFileSize(file);
    if (size <= maxBytes) bytes.reserve(static_cast<std::size_t>(size));
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
