// The generator's state: a list of tickets and, for every m-subset of the v
// numbers (by colexicographic index), how many tickets hold t of its numbers,
// with the list of those no ticket does. A ticket changes by one swap (a
// number out, another in), and the counts change only for the subsets that
// hold exactly one of the two: those are walked directly, as in Nurmela and
// Östergård's search for covering designs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "wheel/wheel.hpp"

namespace zestawy {

class WheelCover {
  public:
    // REQUIRES wheelShapeValid(shape) and C(v, m) <= kMostSearchDraws.
    explicit WheelCover(const WheelShape& shape);

    const WheelShape& shape() const { return shape_; }
    const std::vector<WheelMask>& tickets() const { return tickets_; }
    std::size_t uncovered() const { return uncovered_.size(); }
    // The i-th uncovered subset, i < uncovered(), in no particular order.
    WheelMask uncoveredAt(std::size_t i) const;

    void add(WheelMask ticket);
    void remove(std::size_t ticket);  // the last ticket takes its place
    // REQUIRES `out` in the ticket and `in` not.
    void swap(std::size_t ticket, int out, int in);

    // How many subsets more would be uncovered after swap(ticket, out, in).
    int swapCost(std::size_t ticket, int out, int in) const;
    // How many uncovered subsets a ticket not (yet) in the list would cover,
    // and how that changes when `out` is swapped for `in` in it.
    long long gain(WheelMask ticket) const;
    int gainChange(WheelMask ticket, int out, int in) const;
    // The subsets only this ticket covers: what removing it uncovers.
    long long onlyBy(std::size_t ticket) const;

  private:
    // Calls f(lostIndex, gainedIndex) for every pair of subsets A + {out} and
    // A + {in}, where A holds t-1 numbers of the ticket other than `out` and
    // m-t numbers outside it other than `in`: the subsets whose hits by the
    // ticket go from t to t-1, and from t-1 to t.
    template <typename F>
    void eachSwapped(WheelMask ticket, int out, int in, F f) const;
    // Calls f(index) for every subset the ticket holds t numbers of.
    template <typename F>
    void eachHeld(WheelMask ticket, F f) const;
    void covered(std::uint32_t index, int change);

    WheelShape shape_;
    std::vector<WheelMask> tickets_;
    std::vector<std::uint16_t> hits_;        // tickets that hold t of each subset
    std::vector<std::uint32_t> uncovered_;   // subsets that none does
    std::vector<std::uint32_t> placeOf_;     // where each is in uncovered_
    std::vector<WheelMask> insideChoices_;   // t-1 of k-1 positions
    std::vector<WheelMask> outsideChoices_;  // m-t of v-k-1 positions
};

}  // namespace zestawy
