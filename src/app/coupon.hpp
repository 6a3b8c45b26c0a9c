// The coupon picture: a game's numbers laid out as on its coupon, each
// coloured by its wait against the mean gap, with some numbers chosen; a
// child window painted off screen. Its screen gives it what to show and takes
// its clicks.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "commands/games.hpp"

struct CouponPicture {
    const zestawy::GameRow* game = nullptr;  // nullptr: the hint alone
    std::string hint;                        // shown when there is no game
    std::string heading;                     // above the numbers
    std::vector<std::size_t> waits;          // waits[v] for v in 1..maxNumber
    double gap = 1;                          // the mean gap the colours compare waits with
    std::vector<bool> chosen;                // chosen[v]: drawn in the chosen colour
    bool waitOfChosen = false;               // whether a chosen number shows its wait too
    bool legend = true;                      // the bands of wait below the numbers
};

class CouponSource {
  public:
    virtual ~CouponSource() = default;
    virtual CouponPicture picture() const = 0;
    // A click on the number (1..maxNumber), or beside the numbers (0).
    virtual void click(int number) = 0;
};

// The class of the coupon pictures, registered once.
extern const char kCouponClassName[];
void registerCouponClass(HINSTANCE instance);
// What the coupon shows and who takes its clicks; the source outlives it.
void setCouponSource(HWND coupon, CouponSource* source);
