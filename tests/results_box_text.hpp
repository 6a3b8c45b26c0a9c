// The results box as the tests model it: each command's answer on a line of
// its own after the earlier ones, CR LF between them. The window's tests hold
// the real box to it, and the tool's tests its output.
#pragma once

#include <string>
#include <string_view>

#include "commands/search_command.hpp"

namespace zestawy {

// The results box's text after the command ran on the numbers box.
inline std::string runSearchCommand(const SearchCommand& command, std::string_view numbersBox,
                                    std::string_view resultsBox) {
    TextBuffer answer;
    writeAnswer(command, numbersBox, answer);
    return std::string(resultsBox) + (resultsBox.empty() ? "" : "\r\n") +
           std::string(answer.view());
}

}  // namespace zestawy
