// The search for a small wheel of a given shape: a greedy start, then, for a
// fixed number of tickets, a local search that lowers the count of uncovered
// m-subsets by changing one number of one ticket, and drops a ticket each
// time that count reaches zero. Independent seeded runs, one a thread, of
// two kinds: the best swap for a random uncovered subset with a short tabu
// list (kicked by random moves when it stalls), and Nurmela and Östergård's
// simulated annealing. Each, on reaching zero, goes down to one ticket fewer
// than the best system of all runs, and a run left behind by another takes
// over the other's best system.
//
// Made to run in a worker thread: keepGoing reports progress and may stop
// the search, `better` receives each new best system as it is found.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "wheel/wheel.hpp"

namespace zestawy {

// The kinds of run a search starts. On the hard shapes of the table (bench/
// wheel_bench.cpp) tabu runs alone did as well as or better than with annealing
// runs beside them: C(20,6,3) 74 tickets in 10 s on two cores against 77,
// C(15,6,4) 119 against 125; both reach C(12,6,4) = 41 and C(13,5,3) = 34.
enum class WheelRuns {
    Tabu,       // best swaps with a tabu list
    Mixed,      // tabu and annealing in turn, the first a tabu run
    Annealing,  // annealing only
};

struct WheelSearch {
    WheelShape shape;
    double seconds = 10;  // the time budget
    int threads = 0;      // runs at once; 0: the machine's cores
    std::uint64_t seed = 1;
    WheelRuns runs = WheelRuns::Tabu;
    // Steps per run at most (a tabu step weighs every swap that covers one
    // subset, an annealing step tries one); 0: only the time and keepGoing
    // end a run.
    std::uint64_t steps = 0;
    // A system known to guarantee (the table's): the search starts from it
    // and reports only smaller ones.
    std::vector<WheelMask> known;
};

struct WheelProgress {
    double seconds;         // since the start
    std::size_t best;       // tickets of the best system so far; 0: none yet
    std::size_t trying;     // how many tickets one run now tries to do with
    std::size_t uncovered;  // and how many m-subsets they leave uncovered
};

struct WheelFound {
    std::vector<WheelMask> tickets;  // the smallest system found, verified
    bool fromKnown = false;          // nothing smaller than `known` was found
    bool stopped = false;            // keepGoing ended the search
    bool optimal = false;            // as small as a lower bound says can be
    double seconds = 0;              // when the returned system was found
};

// REQUIRES wheelShapeValid(shape) and C(v, m) <= kMostSearchDraws; `known`,
// if any, guarantees. keepGoing and better are called from the search's
// threads, one call at a time; keepGoing a few times a second. With one
// thread and `steps` set, a seed always gives the same system.
WheelFound findWheel(const WheelSearch& search,
                     const std::function<bool(const WheelProgress&)>& keepGoing = {},
                     const std::function<void(const std::vector<WheelMask>&)>& better = {});

// A lower bound on the tickets of any system of the shape: Schönheim's for a
// covering (m = t), otherwise that at most m-t numbers may be left out of
// every ticket.
std::size_t wheelLowerBound(const WheelShape& shape);

// Whether C(v, m) is small enough for findWheel.
bool wheelSearchable(const WheelShape& shape);

}  // namespace zestawy
