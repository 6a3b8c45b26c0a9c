// Fuzzes the two draw-line parsers: both must agree with each other and with a
// plain stream tokenizer on any line.
#include <cstddef>
#include <cstdint>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "combinatorics/parse.hpp"

namespace {

// The line read as the parsers' contract states it: tokens between commas,
// each read by `>> int`, the failed ones skipped.
std::vector<int> streamTokens(const std::string& line) {
    std::vector<int> numbers;
    std::istringstream in(line);
    std::string token;
    while (std::getline(in, token, ',')) {
        std::istringstream tokenIn(token);
        int value;
        if (tokenIn >> value) numbers.push_back(value);
    }
    return numbers;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    const std::vector<int> inOrder = zestawy::parseLineForPairs(line);
    if (inOrder != streamTokens(line)) __builtin_trap();
    if (zestawy::parseLine(line) != std::set<int>(inOrder.begin(), inOrder.end())) __builtin_trap();
    return 0;
}
