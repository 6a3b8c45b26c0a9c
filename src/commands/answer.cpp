#include "commands/answer.hpp"

#include <cstring>
#include <new>

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
}

void SetLines::keepPrefix(const int* numbers, int head) {
    char* p = prefixText_;
    for (int i = 0; i < head; ++i) {
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

}  // namespace zestawy
