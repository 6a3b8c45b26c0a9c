// The program's texts are Windows-1250 bytes; the tool prints them for a
// terminal or a script in UTF-8 (a Windows console takes UTF-16), and file
// names are kept in UTF-8 (opened on Windows by their UTF-16 names).
#pragma once

#include <string>
#include <string_view>

namespace zestawy {

// Appends the UTF-8 form of Windows-1250 text to out.
void appendUtf8FromCp1250(std::string& out, std::string_view text);
std::string utf8FromCp1250(std::string_view text);

// Windows-1250 text from UTF-8: a character the code page lacks, and a byte
// that is no part of a UTF-8 character, becomes '?'.
std::string cp1250FromUtf8(std::string_view utf8);

// UTF-16 from Windows-1250 and back, as the window hands its texts to the
// system: every byte but zero comes back as it went (the five bytes the code
// page leaves undefined travel as the control characters of their value); a
// character the code page lacks becomes '?'.
std::u16string utf16FromCp1250(std::string_view cp1250);
std::string cp1250FromUtf16(std::u16string_view utf16);

// UTF-16 from UTF-8 and back: what cannot be converted (a byte that is no part
// of a UTF-8 character, a lone surrogate) becomes U+FFFD.
std::u16string utf16FromUtf8(std::string_view utf8);
std::string utf8FromUtf16(std::u16string_view utf16);

// Control bytes shown as \xNN, so that a crafted line cannot steer the
// terminal it is printed on: C0 controls (line feeds too, unless kept), DEL
// and the five bytes that Windows-1250 leaves undefined, which would reach
// the terminal as C1 controls. For Windows-1250 text.
std::string printable(std::string_view text, bool keepLineFeeds = false);

// The same for a path as the system gives it (UTF-8 on Linux): C0 controls,
// DEL and the two-byte sequences of U+0080..U+009F.
std::string printablePath(std::string_view path);

}  // namespace zestawy
