// The program's texts are Windows-1250 bytes; tools that print them for a
// terminal or a script convert them to UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace zestawy {

// Appends the UTF-8 form of Windows-1250 text to out.
void appendUtf8FromCp1250(std::string& out, std::string_view text);
std::string utf8FromCp1250(std::string_view text);

}  // namespace zestawy
