#include "commands/answer.hpp"

#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace zestawy {

namespace {

// "0".."99" as two characters each, for the numbers the searches give.
struct TwoDigits {
    char text[200];
    TwoDigits() : text{} {
        for (int i = 0; i < 100; ++i) {
            text[2 * i] = static_cast<char>('0' + i / 10);
            text[2 * i + 1] = static_cast<char>('0' + i % 10);
        }
    }
};
const TwoDigits kTwoDigits;

}  // namespace

char* writeNumber(char* out, int v) {
    if (v >= 0 && v < 10) {
        *out++ = static_cast<char>('0' + v);
        return out;
    }
    if (v >= 10 && v < 100) {
        std::memcpy(out, kTwoDigits.text + 2 * v, 2);
        return out + 2;
    }
    unsigned magnitude = v < 0 ? 0u - static_cast<unsigned>(v) : static_cast<unsigned>(v);
    if (v < 0) *out++ = '-';
    char digits[10];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    while (n) *out++ = digits[--n];
    return out;
}

SetLines::SetLines(std::string_view separator, std::string_view end)
    : separatorLength_(static_cast<int>(separator.size())),
      endLength_(static_cast<int>(end.size())) {
    std::memcpy(separator_, separator.data(), separator.size());
    std::memcpy(end_, end.data(), end.size());
    for (int v = 1; v <= kTableTop; ++v) {
        char* p = writeNumber(lastText_[v], v);
        std::memcpy(p, end_, static_cast<std::size_t>(endLength_));
        lastLength_[v] = static_cast<int>(p - lastText_[v]) + endLength_;
    }
}

void SetLines::setPrefix(const int* numbers, int head) {
    // The numbers that stay where they were keep their text.
    int i = 0;
    if (prefixNumbers_ == head)
        while (i < head && prefix_[i] == numbers[i]) ++i;
    // (All of them, when the prefix is the one already set.)
    char* p = prefixText_ + (i < head ? starts_[i] : prefixLength_);
    for (; i < head; ++i) {
        starts_[i] = static_cast<int>(p - prefixText_);
        prefix_[i] = numbers[i];
        p = writeNumber(p, numbers[i]);
        std::memcpy(p, separator_, 4);
        p += separatorLength_;
    }
    prefixNumbers_ = head;
    prefixLength_ = static_cast<int>(p - prefixText_);
}

SetFormat::SetFormat(std::string_view format) {
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c == '%' && format.substr(i, 2) == "%d") {
            literals_ += '\0';
            blankFlag_ += '\0';
            ++conversions_;
            i += 1;
        } else if (c == '%' && format.substr(i, 3) == "% d") {
            // printf's blank flag: a blank before a number that has no sign.
            // One row of the Lotto table writes "%d, %d, %d,% d, %d" and its
            // answers carry that blank; the format is kept as it is.
            literals_ += '\0';
            blankFlag_ += '\1';
            ++conversions_;
            i += 2;
        } else if (c == '%' && format.substr(i, 2) == "%%") {
            literals_ += '%';
            ++literalLength_;
            i += 1;
        } else {
            literals_ += c;
            ++literalLength_;
        }
    }
    literals_ += '\0';
}

char* SetFormat::write(char* out, const int* numbers) const {
    const char* literal = literals_.data();
    for (int i = 0;; ++i) {
        while (*literal) *out++ = *literal++;
        if (i == conversions_) return out;
        ++literal;
        if (blankFlag_[i] && numbers[i] >= 0) *out++ = ' ';
        out = writeNumber(out, numbers[i]);
    }
}

char* TextBuffer::room(std::size_t n) {
    if (capacity_ - size_ < n + 1) {
        std::size_t wanted = capacity_ < 4096 ? 4096 : capacity_ * 2;
        while (wanted - size_ < n + 1) wanted *= 2;
        void* grown = std::realloc(data_, wanted);
        if (!grown) throw std::bad_alloc();
        data_ = static_cast<char*>(grown);
        capacity_ = wanted;
    }
    return data_ + size_;
}

void TextBuffer::append(std::string_view text) {
    char* out = room(text.size());
    std::memcpy(out, text.data(), text.size());
    commit(out + text.size());
}

const char* TextBuffer::c_str() {
    char* end = room(0);
    *end = '\0';
    return data_;
}

namespace {

// The separator and end of a format that is nothing but numbers between one
// separator, then an end ("%d, %d, %d" or "%d, %d\r\n"); false for any other.
bool uniformFormat(std::string_view format, std::string& separator, std::string& end) {
    std::vector<std::string_view> pieces;
    for (std::size_t at = 0;;) {
        const std::size_t next = format.find("%d", at);
        pieces.push_back(format.substr(at, next == std::string_view::npos ? next : next - at));
        if (next == std::string_view::npos) break;
        at = next + 2;
    }
    if (pieces.size() < 2 || !pieces.front().empty() || pieces.back().size() > 3) return false;
    for (std::size_t i = 1; i + 1 < pieces.size(); ++i)
        if (pieces[i] != pieces[1] || pieces[i].size() > 3) return false;
    for (std::string_view piece : pieces)
        if (piece.find('%') != std::string_view::npos) return false;
    separator = pieces.size() > 2 ? std::string(pieces[1]) : "";
    end = std::string(pieces.back());
    return true;
}

}  // namespace

AnswerWriter::AnswerWriter(Layout layout, const char* format, const char* notFound, TextBuffer& out)
    : layout_(layout),
      notFound_(notFound),
      out_(out),
      format_(format ? format : ""),
      start_(out.size()) {
    if (layout == Layout::Joined || layout == Layout::Terminated ||
        layout == Layout::Concatenated) {
        std::string separator, end;
        if (!format || !uniformFormat(format, separator, end))
            throw std::invalid_argument("not a list format");
        if (layout == Layout::Terminated) end += "\r\n";
        if (end.size() > 3) throw std::invalid_argument("list line end too long");
        lines_.emplace(separator, end);
    }
}

bool AnswerWriter::put(const int* numbers, int count) {
    ++sets_;
    switch (layout_) {
        case Layout::Single:
        case Layout::FirstOnly:
            out_.commit(format_.write(out_.room(format_.maxLength()), numbers));
            return false;
        case Layout::Joined:
        case Layout::Terminated:
        case Layout::Concatenated: {
            char* p = out_.room(SetLines::maxLength(count) + 2);
            if (layout_ == Layout::Joined && sets_ > 1) {
                *p++ = '\r';
                *p++ = '\n';
            }
            out_.commit(lines_->write(p, numbers, count));
            break;
        }
        case Layout::FreeLength: {
            char* p = out_.room(14 * static_cast<std::size_t>(count) + 2);
            for (int i = 0; i < count; ++i) {
                if (i > 0) {
                    *p++ = ',';
                    *p++ = ' ';
                }
                p = writeNumber(p, numbers[i]);
            }
            *p++ = '\r';
            *p++ = '\n';
            out_.commit(p);
            if (out_.size() - start_ >= kFreeLengthLimit) {
                out_.truncate(start_ + kFreeLengthLimit);
                return false;
            }
            break;
        }
    }
    if (flush_ && out_.size() >= flushThreshold_) {
        // The flush may take the text, all or some of it, or leave it: the
        // answer's start moves back by what it took.
        const std::size_t before = out_.size();
        const bool goOn = flush_(out_);
        start_ -= std::min(start_, before - std::min(before, out_.size()));
        return goOn;
    }
    return true;
}

void AnswerWriter::finish() {
    if (sets_ == 0) out_.append(notFound_);
}

}  // namespace zestawy
