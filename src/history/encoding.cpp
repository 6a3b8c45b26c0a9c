#include "history/encoding.hpp"

#include <cstddef>

namespace zestawy {

namespace {

// The characters of Windows-1250 bytes 0x80..0xFF. The five bytes the code
// page leaves undefined map to the control characters of the same value, as
// Windows itself maps them.
const unsigned short kUpperHalf[128] = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, 0x0088, 0x2030, 0x0160, 0x2039,
    0x015A, 0x0164, 0x017D, 0x0179, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141,
    0x00A4, 0x0104, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB,
    0x013D, 0x02DD, 0x013E, 0x017C, 0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3,
    0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB,
    0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

}  // namespace

void appendUtf8FromCp1250(std::string& out, std::string_view text) {
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
            continue;
        }
        const unsigned code = kUpperHalf[byte - 0x80];
        if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
        } else {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        }
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::string utf8FromCp1250(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    appendUtf8FromCp1250(out, text);
    return out;
}

namespace {

// The next character of UTF-8 text at `at`, which moves past it; U+FFFD for
// a byte that starts no well-formed character (an overlong form, a surrogate
// or a value above U+10FFFF too), which is then passed alone.
char32_t nextCharacter(std::string_view utf8, std::size_t& at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(utf8[i]); };
    const unsigned char lead = byte(at++);
    if (lead < 0x80) return lead;
    const int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (more < 0 || lead > 0xF4 || at + static_cast<std::size_t>(more) > utf8.size()) return 0xFFFD;
    char32_t code = lead & (0x3F >> more);
    for (int i = 0; i < more; ++i) {
        if ((byte(at + static_cast<std::size_t>(i)) & 0xC0) != 0x80) return 0xFFFD;
        code = (code << 6) | (byte(at + static_cast<std::size_t>(i)) & 0x3F);
    }
    const char32_t least[] = {0, 0x80, 0x800, 0x10000};
    if (code < least[more] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0xFFFD;
    at += static_cast<std::size_t>(more);
    return code;
}

void appendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
        return;
    }
    const int more = code < 0x800 ? 1 : code < 0x10000 ? 2 : 3;
    out += static_cast<char>((~(0xFF >> (more + 1)) & 0xFF) | (code >> (6 * more)));
    for (int i = more - 1; i >= 0; --i) out += static_cast<char>(0x80 | ((code >> (6 * i)) & 0x3F));
}

}  // namespace

namespace {

char cp1250Byte(char32_t code) {
    if (code < 0x80) return static_cast<char>(code);
    for (int i = 0; i < 128; ++i)
        if (kUpperHalf[i] == code) return static_cast<char>(0x80 + i);
    return '?';
}

}  // namespace

std::string cp1250FromUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) out += cp1250Byte(nextCharacter(utf8, at));
    return out;
}

std::u16string utf16FromCp1250(std::string_view cp1250) {
    std::u16string out(cp1250.size(), u'\0');
    for (std::size_t i = 0; i < cp1250.size(); ++i) {
        const auto byte = static_cast<unsigned char>(cp1250[i]);
        out[i] = static_cast<char16_t>(byte < 0x80 ? byte : kUpperHalf[byte - 0x80]);
    }
    return out;
}

std::string cp1250FromUtf16(std::u16string_view utf16) {
    std::string out(utf16.size(), '\0');
    for (std::size_t i = 0; i < utf16.size(); ++i) out[i] = cp1250Byte(utf16[i]);
    return out;
}

std::u16string utf16FromUtf8(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const char32_t code = nextCharacter(utf8, at);
        if (code < 0x10000) {
            out += static_cast<char16_t>(code);
        } else {
            out += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        }
    }
    return out;
}

std::string utf8FromUtf16(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size() * 3);
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t code = utf16[i];
        const bool high = code >= 0xD800 && code <= 0xDBFF;
        if (high && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF)
            code = 0x10000 + ((code - 0xD800) << 10) + (utf16[++i] - 0xDC00);
        else if (code >= 0xD800 && code <= 0xDFFF)
            code = 0xFFFD;
        appendUtf8(out, code);
    }
    return out;
}

namespace {

void escape(std::string& shown, unsigned char byte) {
    const char hex[] = "0123456789ABCDEF";
    shown += {'\\', 'x', hex[byte >> 4], hex[byte & 15]};
}

bool isControl(unsigned char byte) {
    return byte < 0x20 || byte == 0x7F;
}

}  // namespace

std::string printable(std::string_view text, bool keepLineFeeds) {
    std::string shown;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        // The bytes Windows-1250 leaves undefined become C1 controls in UTF-8.
        const bool c1 =
            byte == 0x81 || byte == 0x83 || byte == 0x88 || byte == 0x90 || byte == 0x98;
        if ((isControl(byte) && !(keepLineFeeds && c == '\n')) || c1)
            escape(shown, byte);
        else
            shown += c;
    }
    return shown;
}

std::string printablePath(std::string_view path) {
    std::string shown;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const auto byte = static_cast<unsigned char>(path[i]);
        const auto next = i + 1 < path.size() ? static_cast<unsigned char>(path[i + 1]) : 0;
        if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {  // U+0080..U+009F
            escape(shown, byte);
            escape(shown, next);
            ++i;
        } else if (isControl(byte)) {
            escape(shown, byte);
        } else {
            shown += path[i];
        }
    }
    return shown;
}

}  // namespace zestawy
