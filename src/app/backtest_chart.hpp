// The backtest screen's bar chart: each group's rate with its 95% interval,
// and the line of chance p across them; painted off screen (and into any
// device context that WM_PRINTCLIENT brings), scaled as the window is.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/window_state.hpp"
#include "commands/analysis_text.hpp"
#include "commands/ranking_text.hpp"
#include "commands/search_command.hpp"
#include "search/backtest.hpp"
#include "search/backtest_chance.hpp"

// What one backtest found: made by the worker, then read by the UI thread.
struct BacktestShown {
    const zestawy::GameRow* game = nullptr;
    const zestawy::SearchCommand* command = nullptr;
    std::string error;  // why there is no result, or ""
    zestawy::RankingDraws taken;
    zestawy::Backtest result;
    zestawy::ChanceOutside chance;  // how often chance alone gives as much
    zestawy::TextTable table;       // as the tool writes it, with decimal commas
};

// The backtest the screen shows, or nullptr (app/backtest_screen.cpp).
const BacktestShown* shownBacktest(const WindowState& state);

extern const char kBacktestChartClass[];
void registerBacktestChartClass(HINSTANCE instance);

// A text of the chart: what it says, the box it is drawn in, and the room the
// text takes. A label that would not leave a text's height free in its box is
// said shorter ("2,17 mld szans" for "2 172 151 170 szans"), so that
// neighbours never touch.
struct ChartText {
    std::string text;
    RECT box;
    SIZE size;
};
// The chart's texts as it paints them at its present size.
std::vector<ChartText> chartTexts(HWND chart);
