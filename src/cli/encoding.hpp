// The program's texts are Windows-1250 bytes; tools that print them for a
// terminal or a script convert them to UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace zestawy {

// Appends the UTF-8 form of Windows-1250 text to out.
void appendUtf8FromCp1250(std::string& out, std::string_view text);
std::string utf8FromCp1250(std::string_view text);

// Control bytes shown as \xNN, so that a crafted line cannot steer the
// terminal it is printed on: C0 controls (line feeds too, unless kept), DEL
// and the five bytes that Windows-1250 leaves undefined, which would reach
// the terminal as C1 controls. For Windows-1250 text.
std::string printable(std::string_view text, bool keepLineFeeds = false);

// The same for a path as the system gives it (UTF-8 on Linux): C0 controls,
// DEL and the two-byte sequences of U+0080..U+009F.
std::string printablePath(std::string_view path);

}  // namespace zestawy
