#include "wheel/cover.hpp"

#include "wheel/subsets.hpp"

namespace zestawy {

namespace {

// Every r-subset of positions 0..n-1, as masks, in increasing order (Gosper's
// next-combination step).
std::vector<WheelMask> choices(int n, int r) {
    std::vector<WheelMask> all;
    if (r < 0 || r > n) return all;
    const WheelMask end = WheelMask{1} << n;
    for (WheelMask c = (WheelMask{1} << r) - 1; c < end;) {
        all.push_back(c);
        if (c == 0) break;
        const WheelMask low = c & (~c + 1), ripple = c + low;
        c = ripple | (((c ^ ripple) >> 2) / low);
    }
    return all;
}

// The positions of a choice taken from the list `from`.
WheelMask spread(WheelMask choice, const int* from) {
    WheelMask mask = 0;
    for (; choice; choice &= choice - 1) mask |= WheelMask{1} << from[subsets::lowest(choice)];
    return mask;
}

int listed(WheelMask mask, int* into) {
    int n = 0;
    for (; mask; mask &= mask - 1) into[n++] = subsets::lowest(mask);
    return n;
}

}  // namespace

WheelCover::WheelCover(const WheelShape& shape)
    : shape_(shape),
      hits_(subsets::binomial(shape.v, shape.m), 0),
      insideChoices_(choices(shape.k - 1, shape.t - 1)),
      outsideChoices_(choices(shape.v - shape.k - 1, shape.m - shape.t)) {
    uncovered_.resize(hits_.size());
    placeOf_.resize(hits_.size());
    for (std::uint32_t i = 0; i < hits_.size(); ++i) uncovered_[i] = placeOf_[i] = i;
}

WheelMask WheelCover::uncoveredAt(std::size_t i) const {
    return subsets::colexSubset(uncovered_[i], shape_.m);
}

template <typename F>
void WheelCover::eachSwapped(WheelMask ticket, int out, int in, F f) const {
    const WheelMask all = (WheelMask{1} << shape_.v) - 1;
    const WheelMask outBit = WheelMask{1} << out, inBit = WheelMask{1} << in;
    int inside[subsets::kMostNumbers], outside[subsets::kMostNumbers];
    listed(ticket & ~outBit, inside);
    listed(all & ~ticket & ~inBit, outside);
    thread_local std::vector<WheelMask> spreadOutside;
    spreadOutside.clear();
    for (WheelMask c : outsideChoices_) spreadOutside.push_back(spread(c, outside));
    for (WheelMask a : insideChoices_) {
        const WheelMask held = spread(a, inside);
        for (WheelMask c : spreadOutside)
            f(static_cast<std::uint32_t>(subsets::colexIndex(held | c | outBit)),
              static_cast<std::uint32_t>(subsets::colexIndex(held | c | inBit)));
    }
}

template <typename F>
void WheelCover::eachHeld(WheelMask ticket, F f) const {
    const WheelMask all = (WheelMask{1} << shape_.v) - 1;
    int inside[subsets::kMostNumbers], outside[subsets::kMostNumbers];
    const int k = listed(ticket, inside), rest = listed(all & ~ticket, outside);
    for (int j = shape_.t; j <= k && j <= shape_.m; ++j) {
        const std::vector<WheelMask> others = choices(rest, shape_.m - j);
        for (WheelMask a : choices(k, j)) {
            const WheelMask held = spread(a, inside);
            for (WheelMask c : others)
                f(static_cast<std::uint32_t>(subsets::colexIndex(held | spread(c, outside))));
        }
    }
}

void WheelCover::covered(std::uint32_t index, int change) {
    const std::uint16_t before = hits_[index];
    hits_[index] = static_cast<std::uint16_t>(before + change);
    if (before == 0) {  // covered now: out of the list, the last one in its place
        const std::uint32_t last = uncovered_.back();
        uncovered_[placeOf_[index]] = last;
        placeOf_[last] = placeOf_[index];
        uncovered_.pop_back();
    } else if (hits_[index] == 0) {
        placeOf_[index] = static_cast<std::uint32_t>(uncovered_.size());
        uncovered_.push_back(index);
    }
}

void WheelCover::add(WheelMask ticket) {
    tickets_.push_back(ticket);
    eachHeld(ticket, [&](std::uint32_t i) { covered(i, +1); });
}

void WheelCover::remove(std::size_t ticket) {
    eachHeld(tickets_[ticket], [&](std::uint32_t i) { covered(i, -1); });
    tickets_[ticket] = tickets_.back();
    tickets_.pop_back();
}

void WheelCover::swap(std::size_t ticket, int out, int in) {
    // Gains first: a subset lost and one gained are never the same one.
    eachSwapped(tickets_[ticket], out, in, [&](std::uint32_t lost, std::uint32_t gained) {
        covered(gained, +1);
        covered(lost, -1);
    });
    tickets_[ticket] ^= (WheelMask{1} << out) | (WheelMask{1} << in);
}

int WheelCover::swapCost(std::size_t ticket, int out, int in) const {
    int cost = 0;
    eachSwapped(tickets_[ticket], out, in, [&](std::uint32_t lost, std::uint32_t gained) {
        cost += (hits_[lost] == 1) - (hits_[gained] == 0);
    });
    return cost;
}

long long WheelCover::gain(WheelMask ticket) const {
    long long gained = 0;
    eachHeld(ticket, [&](std::uint32_t i) { gained += hits_[i] == 0; });
    return gained;
}

int WheelCover::gainChange(WheelMask ticket, int out, int in) const {
    int change = 0;
    eachSwapped(ticket, out, in, [&](std::uint32_t lost, std::uint32_t gained) {
        change += (hits_[gained] == 0) - (hits_[lost] == 0);
    });
    return change;
}

long long WheelCover::onlyBy(std::size_t ticket) const {
    long long only = 0;
    eachHeld(tickets_[ticket], [&](std::uint32_t i) { only += hits_[i] == 1; });
    return only;
}

}  // namespace zestawy
