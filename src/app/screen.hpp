// What the screens of the "Analiza" menu share: their controls as tables in
// design units, created hidden and placed for the window's size by one loop;
// their list views' columns; their game and search lists; and the draws they
// read from a game's history.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/screen_worker.hpp"
#include "app/window_state.hpp"
#include "commands/analysis_text.hpp"
#include "commands/ranking_text.hpp"
#include "commands/search_command.hpp"

// One control of a screen, in the design units of the other controls.
struct ScreenRow {
    const char* cls;
    const char* caption;
    int id;
    int x, y, w, h;
    DWORD style, exStyle;
    // In a window larger than the design: the share, in thousandths, of the
    // extra width by which it moves right and grows, and of the extra height
    // by which it moves down and grows.
    int moveX = 0, growW = 0, moveY = 0, growH = 0;
};

// The rows the screens' tables are made of. The first of a screen's: the
// sheet under it, which covers the labels of the other screens and grows with
// the window, and its list of the games, `width` wide, with its label.
std::vector<ScreenRow> screenStart(int gameList, int width);
// A field of a screen's top lines and its label above it, labelWidth wide: a
// drop-down list `listHeight` high when open, or an edit of that style and
// first text.
std::vector<ScreenRow> listRows(const char* label, int labelWidth, int id, int x, int y, int w,
                                int listHeight);
std::vector<ScreenRow> editRows(const char* label, int labelWidth, int id, int x, int y, int w,
                                DWORD style, const char* text = "");
// The parts one after another.
std::vector<ScreenRow> rowsOf(std::initializer_list<std::vector<ScreenRow>> parts);

// Creates the rows' controls, hidden, as children of the main window, in the
// window's font (list views too: their own is smaller), placed for its size.
// Their STATIC controls are painted grey (state.screenStatics).
std::vector<HWND> createScreen(WindowState& state, HINSTANCE instance,
                               const std::vector<ScreenRow>& rows);
// Places the controls for the window's client size: at the design size as
// the rows say, growing into any room beyond it.
void layoutScreen(const WindowState& state, const std::vector<ScreenRow>& rows,
                  const std::vector<HWND>& controls);

// The screens' texts wrap inside their controls and are drawn by the window
// (WM_DRAWITEM): where a smoothed font draws a line a little wider than it
// measured, the line still stays inside. The area a text wraps in, of its
// control's client rectangle.
RECT textArea(RECT client);
void drawScreenText(const WindowState& state, const DRAWITEMSTRUCT& item);

// The pixels a table's header keeps beside a caption, both sides together.
constexpr int kCaptionMargin = 14;

// A list view's columns.
struct ListColumn {
    const char* title;
    int width;                 // design units
    int format = LVCFMT_LEFT;  // LVCFMT_RIGHT for numbers
};
void addColumns(const WindowState& state, HWND table, const std::vector<ListColumn>& columns);
// Sets the columns' widths for the table's size and rows: as the design says
// where the room allows, squeezed toward what their captions and cells need
// where it does not, and never narrower than that: a caption or a number is
// never cut, and the table scrolls sideways only where they cannot fit. Run
// when the table is filled or resized.
void fitColumns(const WindowState& state, HWND table, const std::vector<ListColumn>& columns);

// A screen's work starts (running) or ends: its run button goes grey and its
// stop button lights up, or back. The focus, where it was on the button that
// goes grey or nowhere in the active window, moves to the other one.
void switchRunStop(HWND run, HWND stop, bool running);

// A screen of the "Analiza" menu as the window reaches it. Each screen's
// state derives from it; the window keeps them in state.screens, in the
// menu's order, and walks them for commands, notes, its workers' messages,
// layout and stopping.
class AnalysisScreen {
  public:
    // `menu`: the command that shows it; `first`: the control that takes the
    // focus then; `message`: its worker's messages (0: none).
    AnalysisScreen(int menu, int first, UINT message)
        : menu(menu), first(first), message(message) {}
    virtual ~AnalysisScreen() = default;
    AnalysisScreen(const AnalysisScreen&) = delete;
    AnalysisScreen& operator=(const AnalysisScreen&) = delete;

    const int menu, first;
    const UINT message;
    std::vector<HWND> controls;

    // Creates the rows' controls hidden (createScreen), and the columns of
    // each table: a list view's id and its columns, which outlive the screen.
    void make(WindowState& state, HINSTANCE instance, const std::vector<ScreenRow>& rows,
              const std::vector<std::pair<int, const std::vector<ListColumn>*>>& tables);
    // Places the controls and fits each table's columns.
    void layout(const WindowState& state) const;
    // A table's rows are shown anew, `shown` or none, and its columns fitted.
    void showRows(const WindowState& state, int table, const zestawy::TextTable* shown) const;

    // WM_COMMAND from its controls; false for any other id.
    virtual bool command(WindowState& state, int id, int code) = 0;
    // Whether the id is one of its controls'.
    bool owns(int id) const;
    // WM_NOTIFY from its tables: by default each shows shownIn(its id).
    virtual bool notify(WindowState& state, const NMHDR& header, LRESULT& result);
    virtual const zestawy::TextTable* shownIn(int /*table*/) const { return nullptr; }
    // Its worker's message.
    virtual void onMessage(WindowState& /*state*/, WPARAM /*what*/, LPARAM /*progress*/) {}
    // Stops its work and waits for it.
    virtual void stop(WindowState& /*state*/) {}

  private:
    const std::vector<ScreenRow>* rows_ = nullptr;
    std::vector<std::pair<int, const std::vector<ListColumn>*>> tables_;
};

// A screen whose work runs on a worker of its own (app/screen_worker.hpp),
// whose results are of type R: its worker posts the screen's message, and a
// stop waits for it and takes what it left.
template <class R>
class WorkingScreen : public AnalysisScreen {
  public:
    WorkingScreen(int menu, int first, UINT message)
        : AnalysisScreen(menu, first, message), worker(message) {}
    ScreenWorker<R> worker;

    void stop(WindowState& state) override {
        if (worker.halt()) onMessage(state, 1, 0);
    }
    // The message's progress (wParam 0) moves `bar` where it is of the run
    // going on now: true. Otherwise false, and nothing done.
    bool showProgress(WPARAM what, LPARAM progress, HWND bar) const {
        if (what != 0) return false;
        if (worker.current(progress))
            SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(progress & 0xFF), 0);
        return true;
    }
    // What the ended run left, its buttons switched back (switchRunStop) and
    // its bar emptied; nullptr when taken already.
    std::unique_ptr<R> takeFinished(HWND run, HWND stopButton, HWND bar) {
        std::unique_ptr<R> result = worker.take();
        if (!result) return result;
        switchRunStop(run, stopButton, false);
        SendMessageW(bar, PBM_SETPOS, 0, 0);
        return result;
    }
};

// The screen shown by that menu command, or nullptr; its controls (none
// where there is no such screen).
AnalysisScreen* screenOf(const WindowState& state, int menu);
std::vector<HWND> screenControls(const WindowState& state, int menu);
// Stops the work of every screen.
void stopScreens(WindowState& state);

// The games, the first chosen.
void fillGames(HWND games);
// The searches of the chosen game that a ranking can judge, in the order of
// its panel, each with its command's id; the first chosen.
void fillRankingSearches(HWND games, HWND searches);
// The game chosen in the list, or nullptr.
const zestawy::GameRow* chosenGame(HWND games);
// The search chosen in the list, or nullptr.
const zestawy::SearchCommand* chosenSearch(HWND searches);

// The field "Losowań (puste: wszystkie)": 0 when empty, -1 when it holds no
// positive count.
long long lastDrawsField(HWND field);
// The message for a wrong count in that field.
extern const char kLastDrawsWrong[];
// Its label.
extern const char kLastDrawsLabel[];

// The draws among the last `last` lines (0: all) of the game's history, read
// afresh; "" or why there are none, as the window says it.
std::string readDraws(const zestawy::GameRow& game, long long last, zestawy::RankingDraws& taken);

// Paints with `paint` into a bitmap of the window's client size, then copies
// it onto dc at once: no flicker.
void paintOffScreen(HWND window, HDC dc, const std::function<void(HDC, int, int)>& paint);
// The paint messages of a child painted so (WM_ERASEBKGND, WM_PAINT,
// WM_PRINTCLIENT): true, with the message's result, when it was one.
bool paintMessage(HWND window, UINT msg, WPARAM wParam,
                  const std::function<void(HDC, int, int)>& paint, LRESULT& result);

// LVN_GETDISPINFOW of a list view that shows a table's rows: the cell's text
// (nothing where the table is null or has no such cell).
void tableCellText(const zestawy::TextTable* table, const NMHDR& header);

// The keyboard on the main window, before the message is dispatched: Enter on
// a focused button presses it; on the shown screen Tab and Shift+Tab move
// through its fields and buttons in order, Enter in a field runs the screen's
// command ("Pokaż", "Sprawdź", "Policz"), Esc stops its work while it runs,
// wherever the focus is. True when it took the message.
bool screenKey(WindowState& state, const MSG& msg);
