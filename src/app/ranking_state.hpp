// The ranking screen's state, shared by its table and commands
// (app/ranking_screen.cpp) and its coupon picture (app/coupon.cpp).
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/coupon.hpp"
#include "app/large_answer.hpp"
#include "app/screen_worker.hpp"
#include "app/window_state.hpp"
#include "commands/ranking_text.hpp"
#include "commands/search_command.hpp"
#include "search/never_seen_estimate.hpp"
#include "search/odds.hpp"

// What one ranking found: made by the worker, then read by the UI thread.
struct RankingResult {
    const zestawy::GameRow* game = nullptr;
    const zestawy::SearchCommand* command = nullptr;
    std::string error;  // why there is no ranking, or ""
    bool stopped = false;
    zestawy::RankingDraws taken;
    std::vector<zestawy::RankedSet> ranking;
    std::vector<zestawy::RankingRow> rows;
    zestawy::WaitOdds odds{};
    // The sets that never appeared in the draws, counted where the top set is
    // one of them: at least so many where the count ran out of time (and
    // then estimated from a sample), and not known where "Przerwij" stopped it.
    bool counted = false;
    std::uint64_t neverSeen = 0;
    bool neverSeenAtLeast = false, countStopped = false;
    zestawy::NeverSeenEstimate estimate;
    std::vector<std::size_t> numberWaits;
};

struct RankingScreen : CouponSource {
    std::vector<HWND> controls;
    HWND table = nullptr, coupon = nullptr, odds = nullptr, progress = nullptr;

    std::thread worker;
    std::atomic<bool> stop{false};
    // Counts the rankings started and stopped: progress of any but the one
    // running now (still queued after its stop) moves no bar.
    unsigned generation = 0;
    std::mutex mutex;
    std::unique_ptr<RankingResult> finished;  // left here by the worker

    std::unique_ptr<RankingResult> shown;
    std::vector<std::size_t> order;  // the table's rows: indexes into shown->rows
    int sortColumn = -1;
    bool descending = false;
    int pairsOf = 0;  // the coupon shows the pairs of this number; 0: single numbers
    std::vector<std::size_t> pairWaits;

    ~RankingScreen() override {
        stop = true;
        if (worker.joinable()) worker.join();
    }

    // The coupon: the waits of single numbers, or of the pairs with one
    // number; a click on a number shows its pairs, a click again the numbers.
    CouponPicture picture() const override;
    void click(int number) override;
};

// What the worker ranks.
struct RankingJob {
    const zestawy::GameRow* game;
    const zestawy::SearchCommand* command;
    long long last;
    std::size_t top;
    unsigned generation;  // the screen's when it started
};

// Ranks the job's search over the game's history file, read afresh, posts its
// progress and its end (kRankingMessage) to the main window, and leaves what
// it found in screen.finished; stops soon after screen.stop is set.
void rankInBackground(HWND main, RankingScreen& screen, RankingJob job);

// The line above the table: the odds of the ranking's waits by chance alone.
std::string oddsLine(const RankingResult& result);

// "16,6" below a thousand, whole numbers above.
std::string decimal(double x);
