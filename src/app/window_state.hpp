// Everything the main window keeps while it runs: the handles of its boxes
// and labels, the brush and fonts made for them, the scale of its layout, and
// each game's history lines. The window owns one, made with it and freed when
// it goes; the command handlers get it from the window. Buttons are found by
// their control ids.
#pragma once

#include <windows.h>

#include <cmath>
#include <cstddef>
#include <memory>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/ids.hpp"
#include "app/wide.hpp"
#include "commands/games.hpp"
#include "history/locked_file.hpp"

struct RankingScreen;   // app/ranking_screen.cpp
struct TicketScreen;    // app/ticket_screen.cpp
struct BacktestScreen;  // app/backtest_screen.cpp
struct WheelScreen;     // app/wheel_screen.cpp
class AnalysisScreen;   // app/screen.hpp

// The program's colours: the grey of the window's background and of its
// labels, black text, the backtest's bars and its line of chance.
constexpr COLORREF kGrey = RGB(169, 169, 169);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kBarColour = RGB(70, 130, 180);
constexpr COLORREF kChanceColour = RGB(200, 30, 30);

struct WindowState {
    WindowState() = default;
    WindowState(const WindowState&) = delete;
    WindowState& operator=(const WindowState&) = delete;
    ~WindowState();

    HWND main = nullptr;
    HWND numbersBox = nullptr, resultsBox = nullptr, datesBox = nullptr, countBox = nullptr;
    HWND helpBox = nullptr, aboutBox = nullptr;
    HWND dateLabel = nullptr, numbersLabel = nullptr, resultsLabel = nullptr, countLabel = nullptr;
    HFONT helpFont = nullptr, aboutFont = nullptr;  // 30-unit Arial, one each
    HFONT controlFont = nullptr;  // the other controls', only when the scale is not 1
    HBRUSH greyBrush = nullptr;   // behind the labels, help and about

    // Pixels per design unit: the control table and the fonts are in design
    // units, which are pixels when the window opens at its full size.
    double scale = 1.0;
    int scaled(int units) const { return static_cast<int>(std::lround(units * scale)); }

    // Each game's lines, read from its own file on that game's first load and
    // kept while the file stays as it was then (its identity beside them).
    std::vector<std::string> histories[3];
    zestawy::FileIdentity historyRead[3];

    // The game whose "Wczytaj" filled the numbers box, and the hash of the text
    // it put there: while the box still holds that text, the searches of the
    // other games are refused. Text that came otherwise is searched as it is.
    std::optional<zestawy::Game> numbersGame;
    std::size_t numbersHash = 0;

    // The screens of the "Analiza" menu: their controls, workers and what
    // they show; and their labels, painted grey.
    std::shared_ptr<RankingScreen> ranking;
    std::shared_ptr<TicketScreen> ticket;
    std::shared_ptr<BacktestScreen> backtest;
    std::shared_ptr<WheelScreen> wheel;
    std::vector<AnalysisScreen*> screens;  // all of them, in the menu's order
    std::vector<HWND> screenStatics;

    // The window of "Pobierz najnowsze wyniki" while it runs (app/download.cpp).
    HWND download = nullptr;

    // The control that last had the focus before a command ran or the window
    // was left for another; it gets it back when the window is active again
    // (after a dialog or a message box too).
    HWND focus = nullptr;

    // The button or box with this control id, or nullptr.
    HWND control(int id) const { return id ? GetDlgItem(main, id) : nullptr; }
    // The numbers, results, dates and count boxes.
    std::vector<HWND> workBoxes() const { return {numbersBox, resultsBox, datesBox, countBox}; }
    std::vector<std::string>& history(zestawy::Game game) {
        return histories[static_cast<int>(game)];
    }
};

// Nothing may leave a window procedure: runs f() and returns what it
// returns; an exception of it (memory ran out, or anything else) becomes one
// Polish message box over `owner`, and `failed` is returned.
template <class F>
LRESULT guarded(HWND owner, F&& f, LRESULT failed = 0) {
    try {
        return f();
    } catch (const std::bad_alloc&) {
        messageBox(owner, "Za mało pamięci na to polecenie.", "Błąd", MB_ICONERROR);
    } catch (const std::exception& e) {
        messageBox(owner, (std::string("Polecenie nie powiodło się: ") + e.what()).c_str(), "Błąd",
                   MB_ICONERROR);
    }
    return failed;
}

// The state of the main window.
WindowState& stateOf(HWND main);
