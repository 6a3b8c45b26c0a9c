// Answers too long for the results box. A list search over few draws can find
// hundreds of millions of sets, gigabytes of text; the window measures such an
// answer first and asks whether it goes to a file, to the box, or nowhere.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "commands/search_command.hpp"
#include "history/polish.hpp"

namespace zestawy {

// Longer answers are not put into the results box without asking: Wine's edit
// control takes in about 0.8 MB a second, so this is some 2.5 s of waiting.
constexpr std::uint64_t kAskAbove = 2'000'000;

// The most text the results box is let hold, earlier answers included. Wine's
// edit control takes about 80 s for it and, while it does, some 500 MB of
// memory; a longer answer can only go to a file.
constexpr std::uint64_t kResultsBoxLimit = 64'000'000;

// "1 zestaw", "3 zestawy", "23 955 408 zestawów", with no-break spaces.
std::string setCount(std::uint64_t sets);

// "950 kB", "2,3 MB", "464 MB", "5,1 GB": decimal units, rounded, with a
// no-break space.
std::string textSize(std::uint64_t bytes);

// The question for an answer of more than kAskAbove characters. When the box
// can take it (boxTakesIt), Tak puts it into a file, Nie into the box and
// Anuluj nowhere; otherwise it says why only Tak (a file) and Anuluj are left.
std::string largeAnswerQuestion(const SearchCommand& command, const AnswerSize& size,
                                bool boxTakesIt);
extern const char kLargeAnswerCaption[];

// The line the results box gets in place of an answer saved to a file.
std::string savedAnswerNote(const SearchCommand& command, const AnswerSize& size,
                            std::string_view path);

}  // namespace zestawy
