// The twenty combination key types of the literal searches (search/reference.hpp):
// small value types of two to seven ints in which those searches record the
// sets of numbers that have appeared, and in which some return a fixed-size
// answer.
//
// All of them are one template, Key<Traits>, told apart by a traits struct per
// type, so that each stays a distinct type with exactly the abilities listed
// in its traits:
//   - construction: Sorted types store their numbers ascending whatever order
//     they are given in; Plain types store them as given (the caller orders).
//   - answer types have a default constructor that zeroes every field (the
//     "nothing found" value); the others can only be built from numbers.
//   - ordered types have operator<, lexicographic over the fields with signed
//     comparison, so that std::set<T> holds each combination once.
#pragma once

#include <algorithm>
#include <cstddef>
#include <type_traits>

namespace zestawy {

enum class Construction {
    SmallerFirst,  // two numbers: swapped unless the first is less
    ExchangeSort,  // three numbers: pairwise exchange sort
    StandardSort,  // std::sort
    Plain,         // stored in argument order
};

template <class Traits>
struct Key {
    static constexpr int size = Traits::size;
    int n[size];

    // Builds a key from exactly `size` numbers.
    template <class... Ints,
              std::enable_if_t<sizeof...(Ints) == size && (std::is_convertible_v<Ints, int> && ...),
                               int> = 0>
    constexpr Key(Ints... numbers) : n{static_cast<int>(numbers)...} {
        if constexpr (Traits::construction == Construction::SmallerFirst) {
            if (!(n[0] < n[1])) std::swap(n[0], n[1]);
        } else if constexpr (Traits::construction == Construction::ExchangeSort) {
            for (int i = 0; i < size - 1; ++i)
                for (int j = i + 1; j < size; ++j)
                    if (n[j] < n[i]) std::swap(n[i], n[j]);
        } else if constexpr (Traits::construction == Construction::StandardSort) {
            std::sort(n, n + size);
        }
    }

    // Answer types only: every field 0, which means "nothing found".
    template <bool A = Traits::answer, std::enable_if_t<A, int> = 0>
    constexpr Key() : n{} {}

    // Ordered types only: lexicographic, the first differing field decides.
    template <bool O = Traits::ordered>
    constexpr std::enable_if_t<O, bool> operator<(const Key& other) const {
        for (int i = 0; i < size; ++i)
            if (n[i] != other.n[i]) return n[i] < other.n[i];
        return false;
    }

    constexpr bool allZero() const {
        for (int v : n)
            if (v != 0) return false;
        return true;
    }
};

namespace key_traits {
template <int K, Construction C, bool Answer, bool Ordered>
struct Base {
    static constexpr int size = K;
    static constexpr Construction construction = C;
    static constexpr bool answer = Answer;
    static constexpr bool ordered = Ordered;
};
using C = Construction;
// One struct per type keeps the types distinct even where traits coincide.
struct Pair : Base<2, C::SmallerFirst, false, true> {};
struct Pairg : Base<2, C::SmallerFirst, false, true> {};
struct Pair2 : Base<2, C::Plain, false, true> {};
struct Triple : Base<3, C::ExchangeSort, false, true> {};
struct Triplea : Base<3, C::StandardSort, false, true> {};
struct Tripleb : Base<3, C::StandardSort, false, true> {};
struct Tripleg : Base<3, C::StandardSort, false, true> {};
struct TripleC : Base<3, C::Plain, true, false> {};
struct TripleD : Base<3, C::Plain, true, false> {};
struct TripleE : Base<3, C::Plain, true, true> {};
struct Quad : Base<4, C::StandardSort, false, true> {};
struct Fourb : Base<4, C::StandardSort, false, true> {};
struct Quadb : Base<4, C::StandardSort, false, true> {};
struct QuadrupleD : Base<4, C::Plain, true, false> {};
struct Quint : Base<5, C::StandardSort, false, true> {};
struct Fiveb : Base<5, C::StandardSort, false, true> {};
struct Five7 : Base<5, C::StandardSort, false, true> {};
struct Five : Base<5, C::StandardSort, false, true> {};
struct QuintupleD : Base<5, C::Plain, true, false> {};
struct Sevenb : Base<7, C::StandardSort, false, true> {};
}  // namespace key_traits

using Pair = Key<key_traits::Pair>;
using Pairg = Key<key_traits::Pairg>;
using Pair2 = Key<key_traits::Pair2>;
using Triple = Key<key_traits::Triple>;
using Triplea = Key<key_traits::Triplea>;
using Tripleb = Key<key_traits::Tripleb>;
using Tripleg = Key<key_traits::Tripleg>;
using TripleC = Key<key_traits::TripleC>;
using TripleD = Key<key_traits::TripleD>;
using TripleE = Key<key_traits::TripleE>;
using Quad = Key<key_traits::Quad>;
using Fourb = Key<key_traits::Fourb>;
using Quadb = Key<key_traits::Quadb>;
using QuadrupleD = Key<key_traits::QuadrupleD>;
using Quint = Key<key_traits::Quint>;
using Fiveb = Key<key_traits::Fiveb>;
using Five7 = Key<key_traits::Five7>;
using Five = Key<key_traits::Five>;
using QuintupleD = Key<key_traits::QuintupleD>;
using Sevenb = Key<key_traits::Sevenb>;

}  // namespace zestawy
