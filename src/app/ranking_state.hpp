// The ranking screen's state, shared by its table and commands
// (app/ranking_screen.cpp) and its coupon picture (app/coupon.cpp).
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/coupon.hpp"
#include "app/large_answer.hpp"
#include "app/ranking_screen.hpp"
#include "app/screen.hpp"
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

struct RankingScreen : WorkingScreen<RankingResult>, CouponSource {
    RankingScreen() : WorkingScreen(zestawy::kCmdRanking, kRankGame, kRankingMessage) {}
    HWND table = nullptr, coupon = nullptr, odds = nullptr, progress = nullptr;

    std::unique_ptr<RankingResult> shown;
    std::vector<std::size_t> order;  // the table's rows: indexes into shown->rows
    int sortColumn = -1;
    bool descending = false;
    int pairsOf = 0;  // the coupon shows the pairs of this number; 0: single numbers
    std::vector<std::size_t> pairWaits;

    // The coupon: the waits of single numbers, or of the pairs with one
    // number; a click on a number shows its pairs, a click again the numbers.
    CouponPicture picture() const override;
    void click(int number) override;

    bool command(WindowState& state, int id, int code) override;
    // Its table's rows are in `order`, sorted and copied as the player asks.
    bool notify(WindowState& state, const NMHDR& header, LRESULT& result) override;
    void onMessage(WindowState& state, WPARAM what, LPARAM progress) override;
};

// What the worker ranks.
struct RankingJob {
    const zestawy::GameRow* game;
    const zestawy::SearchCommand* command;
    long long last;
    std::size_t top;
};

// Ranks the job's search over the game's history file, read afresh, posting
// its progress, and (stage 2) when the table is done and the sets that never
// appeared are counted; stops soon after a stop. Nothing leaves it: a failure
// is said in the result.
std::unique_ptr<RankingResult> rankInBackground(const RankingJob& job, ProgressPoster& post);

// The line above the table: the odds of the ranking's waits by chance alone.
std::string oddsLine(const RankingResult& result);

// "16,6" below a thousand, whole numbers above.
std::string decimal(double x);
