#include "commands/draw_line.hpp"

#include <algorithm>

#include "combinatorics/parse.hpp"

namespace zestawy {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Letters of any script: ASCII ones, and every byte of a UTF-8 or Windows-1250
// letter.
bool isLetter(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return ((u | 0x20) >= 'a' && (u | 0x20) <= 'z') || u >= 0x80;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// The blanks around a field.
constexpr std::string_view kBlanks = " \t";

bool allDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), isDigit);
}

std::string_view withoutZeros(std::string_view s) {
    if (!allDigits(s)) return s;
    const std::size_t first = s.find_first_not_of('0');
    return first == std::string_view::npos ? s.substr(s.size() - 1) : s.substr(first);
}

// The value of a decimal number of at most 9 digits after its leading zeros;
// -1 for anything else.
long valueOf(std::string_view s) {
    if (s.empty()) return -1;
    long value = 0;
    int digits = 0;
    for (const char c : s) {
        if (!isDigit(c)) return -1;
        value = value * 10 + (c - '0');
        if ((digits += value > 0) > 9) return -1;
    }
    return value;
}

// Calls take(field) for each field of s between separators, trimmed.
template <class Take>
void forEachField(std::string_view s, char separator, Take take) {
    std::size_t start = 0;
    for (std::size_t i = 0; i <= s.size(); ++i) {
        if (i < s.size() && s[i] != separator) continue;
        take(trimmed(s.substr(start, i - start), kBlanks));
        start = i + 1;
    }
}

}  // namespace

DrawLine DrawLine::read(std::string_view line) {
    DrawLine d;
    d.text = trimmed(line, kBlanks);
    if (d.text.empty()) return d;
    if (std::any_of(d.text.begin(), d.text.end(), isLetter)) {
        d.kind = Letters;
        return d;
    }
    d.kind = Stray;
    std::size_t digits = 0;
    while (digits < d.text.size() && isDigit(d.text[digits])) ++digits;
    if (digits == 0) return d;
    d.numberText = d.text.substr(0, digits);
    d.number = static_cast<std::uint64_t>(std::max(0L, valueOf(d.numberText)));
    const std::string_view rest = trimmed(d.text.substr(digits), kBlanks);
    auto token = [&](std::string_view field) {
        if (d.count < kMostNumbers) {
            d.tokens[static_cast<std::size_t>(d.count)] = field;
            d.values[static_cast<std::size_t>(d.count)] = static_cast<std::int32_t>(valueOf(field));
        }
        ++d.count;
    };
    if (rest.size() > 1 && rest[0] == '.' && isBlank(rest[1])) {
        // "16978. 22.08.2026 5,7,16,...": the date, a blank, the numbers.
        const std::string_view after = trimmed(rest.substr(1), kBlanks);
        const std::size_t blank = std::min(after.find(' '), after.find('\t'));
        d.date = after.substr(0, blank);
        const std::string_view numbers = blank == std::string_view::npos
                                             ? std::string_view()
                                             : trimmed(after.substr(blank), kBlanks);
        if (!numbers.empty())
            forEachField(numbers, numbers.find(';') != std::string_view::npos ? ';' : ',', token);
    } else if (!rest.empty() && (rest[0] == ',' || rest[0] == ';')) {
        // "16978,22.08.2026[,14:00],05,07,...[,78]": a time means a Plus at the end.
        d.commas = true;
        int field = 0;
        bool timed = false;
        forEachField(rest.substr(1), rest[0], [&](std::string_view text) {
            if (field++ == 0)
                d.date = text;
            else if (field == 2 && text.find(':') != std::string_view::npos)
                timed = true;
            else
                token(text);
        });
        if (timed && d.count > 0 && d.count <= kMostNumbers)
            d.plus = d.tokens[std::size_t(--d.count)];
    } else {
        return d;
    }
    d.kind = Draw;
    d.day = dayNumber(d.date);
    return d;
}

bool DrawLine::valid(const DrawRules& rules) {
    if (kind != Draw || number == 0 || day < 0 || count != rules.numbersPerDraw) return false;
    std::array<bool, 128> seen{};
    for (int i = 0; i < count; ++i) {
        const std::int32_t value = values[static_cast<std::size_t>(i)];
        if (value < 1 || value > rules.maxNumber || seen[static_cast<std::size_t>(value)])
            return false;
        seen[static_cast<std::size_t>(value)] = true;
    }
    if (commas && !rising()) return false;
    if (!plus.empty() && (valueOf(plus) < 0 || valueOf(plus) > rules.maxNumber)) return false;
    std::sort(values.begin(), values.begin() + count);
    return true;
}

bool DrawLine::rising() const {
    for (int i = 1; i < std::min(count, kMostNumbers); ++i)
        if (values[static_cast<std::size_t>(i)] <= values[static_cast<std::size_t>(i - 1)])
            return false;
    return true;
}

std::string DrawLine::problems(const DrawRules& rules) const {
    std::string why;
    auto add = [&](const std::string& reason) {
        if (!reason.empty()) why += (why.empty() ? "" : "; ") + reason;
    };
    add(lineProblems(ownLine(false), rules));
    if (commas && !rising())
        add("liczby nie rosną, jak zawsze w tym układzie (czy wiersz nie został ucięty?)");
    if (!plus.empty() && (valueOf(plus) < 0 || valueOf(plus) > rules.maxNumber))
        add("liczba Plus " + std::string(plus.substr(0, 20)) + " spoza zakresu 0–" +
            std::to_string(rules.maxNumber));
    return why;
}

std::string DrawLine::ownLine(bool ascending) const {
    const std::string_view number = withoutZeros(numberText);
    std::string own;
    own.reserve(number.size() + date.size() + 4 * static_cast<std::size_t>(count) + 3);
    own.append(number).append(". ").append(date).push_back(' ');
    const int kept = std::min(count, kMostNumbers);
    for (int i = 0; i < kept; ++i) {
        const std::size_t at = static_cast<std::size_t>(i);
        if (ascending) {
            char digits[12];
            char* end = digits + sizeof digits;
            char* first = end;
            for (std::uint32_t v = static_cast<std::uint32_t>(values[at]); first == end || v;
                 v /= 10)
                *--first = static_cast<char>('0' + v % 10);
            own.append(first, static_cast<std::size_t>(end - first));
        } else {
            own.append(withoutZeros(tokens[at]));
        }
        own.push_back(',');
    }
    if (kept > 0) own.pop_back();
    return own;
}

std::size_t DrawLine::ownLineSize() const {
    std::size_t size = withoutZeros(numberText).size() + date.size() + 3 + std::size_t(count) - 1;
    for (int i = 0; i < count; ++i) {
        const std::int32_t v = values[static_cast<std::size_t>(i)];
        size += v >= 100000000  ? 9
                : v >= 10000000 ? 8
                : v >= 1000000  ? 7
                : v >= 100000   ? 6
                : v >= 10000    ? 5
                : v >= 1000     ? 4
                : v >= 100      ? 3
                : v >= 10       ? 2
                                : 1;
    }
    return size;
}

std::string DrawLine::label() const {
    return std::string(withoutZeros(numberText)) + ". " + std::string(date);
}

bool DrawLine::sameDraw(const DrawLine& other) const {
    return day == other.day && count == other.count &&
           std::equal(values.begin(), values.begin() + count, other.values.begin());
}

// FNV-1a over the day and the numbers, 64 bits.
constexpr std::uint64_t kFnvOffsetBasis = 1469598103934665603ull;
constexpr std::uint64_t kFnvPrime = 1099511628211ull;

std::uint64_t DrawLine::contentKey() const {
    std::uint64_t hash = kFnvOffsetBasis ^ static_cast<std::uint64_t>(day);
    for (int i = 0; i < count; ++i) {
        hash ^= static_cast<std::uint32_t>(values[static_cast<std::size_t>(i)]);
        hash *= kFnvPrime;
    }
    return hash;
}

}  // namespace zestawy
