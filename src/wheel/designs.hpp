// The table of wheels shipped with the program (data/wheels/designs.txt,
// built into it): for a shape it has, the answer is immediate.
//
// The text: a header line per system, "v=12 k=6 m=3 t=3", then one ticket a
// line, its numbers 1..v separated by blanks or commas, and a blank line
// before the next header; lines starting with '#' are comments.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "wheel/wheel.hpp"

namespace zestawy {

struct WheelDesign {
    WheelShape shape;
    std::vector<WheelMask> tickets;  // positions 0..v-1: number n is bit n-1
};

struct DesignsRead {
    std::vector<WheelDesign> designs;
    std::string error;  // in Polish, naming the line; empty when the text is good
};

// The systems of the text. Checks the layout only (numbers within 1..v,
// k of them, distinct; a valid shape; one system a shape), not the guarantee.
DesignsRead readDesigns(std::string_view text);

// The text of the table as built into the program.
std::string_view shippedDesignsText();
// Its systems, read once.
const std::vector<WheelDesign>& shippedDesigns();

// The system of exactly that shape, or nullptr.
const WheelDesign* findDesign(const std::vector<WheelDesign>& designs, const WheelShape& shape);

}  // namespace zestawy
