// Fuzzes the text handling of the search command frame: the split of the
// numbers box into draws, and the answer to them, for the commands whose
// searches are quick.
//
// Input: a command byte, two bytes that are not read (the seeds keep them), a
// byte n, n bytes that are not read (once the results box's text), then the
// numbers-box text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "commands/search_command.hpp"

namespace {

using namespace zestawy;

void check(bool ok) {
    if (!ok) __builtin_trap();
}

// The draws are the non-empty LF-separated pieces of the text, in order.
void checkDraws(std::string_view text, const DrawList& draws) {
    std::size_t pos = 0;
    for (const std::string& draw : draws) {
        while (pos < text.size() && text[pos] == '\n') ++pos;
        check(!draw.empty() && draw.find('\n') == std::string::npos);
        check(text.compare(pos, draw.size(), draw) == 0);
        pos += draw.size();
        check(pos == text.size() || text[pos] == '\n');
    }
    while (pos < text.size() && text[pos] == '\n') ++pos;
    check(pos == text.size());
}

// Single sets and small answers; the list searches over 1..80 and the random
// searches are left out for their size and time.
constexpr int kCheapCommands[] = {1, 2, 20, 30, 31, 32, 33, 21, 22};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    const SearchCommand& command =
        *findSearchCommand(kCheapCommands[data[0] % (sizeof kCheapCommands / sizeof(int))]);
    const std::string_view input(reinterpret_cast<const char*>(data) + 4, size - 4);
    const std::string_view box = input.substr(std::min<std::size_t>(data[3], input.size()));

    checkDraws(box, splitDrawList(box));

    // Every command answers: a sentence when it finds no set.
    TextBuffer answer;
    writeAnswer(command, box, answer);
    check(!answer.view().empty());
    return 0;
}
