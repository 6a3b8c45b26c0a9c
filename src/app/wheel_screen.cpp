#include "app/wheel_screen.hpp"

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <string>

#include "app/coupon.hpp"
#include "app/files.hpp"
#include "app/screen.hpp"
#include "app/screen_worker.hpp"
#include "app/wheel_work.hpp"

using namespace zestawy;

struct WheelScreen : WorkingScreen<WheelResult>, CouponSource {
    WheelScreen() : WorkingScreen(kCmdWheel, kWheelNumbers, kWheelMessage) {}
    WindowState* owner = nullptr;
    HWND coupon = nullptr;
    std::unique_ptr<WheelResult> shown;  // the system shown; nullptr: none
    TextTable historyShown;
    std::vector<int> marked;  // the numbers in the field, as far as they read

    CouponPicture picture() const override;
    void click(int number) override;

    bool command(WindowState& state, int id, int code) override;
    const TextTable* shownIn(int table) const override {
        if (table == kWheelOnHistory) return &historyShown;
        if (!shown) return nullptr;
        return table == kWheelTickets ? &shown->tickets : &shown->sure;
    }
    void onMessage(WindowState& state, WPARAM what, LPARAM progress) override;
};

namespace {

const char kCaption[] = "System skrócony";
const char kHint[] =
    "Wpisz swoje liczby (albo kliknij je na kuponie, albo weź je z rankingu lub ze sprawdzania), "
    "wybierz gwarancję i kliknij „Ułóż”: program poda najmniej zakładów, jakie zna, które ją "
    "dają, sprawdzi je i powie, co gwarancja znaczy.";
const char kHistoryHint[] = "Na historii: ile trafień miał najlepszy zakład w każdym losowaniu";

// In the order of Tab: the top line, the second, then the results.
const std::vector<ScreenRow> kWheelRows = rowsOf({
    screenStart(kWheelGame, 150),
    editRows("Twoje liczby (np. 3, 17, 22)", 330, kWheelNumbers, 185, 32, 330, 0),
    {{"BUTTON", "Z rankingu", kWheelFromRanking, 525, 30, 115, 32, WS_TABSTOP, 0},
     {"BUTTON", "Ze sprawdzania", kWheelFromTicket, 650, 30, 135, 32, WS_TABSTOP, 0}},
    listRows("W zakładzie", 100, kWheelSize, 800, 32, 100, 300),
    listRows("Gwarancja", 110, kWheelGuarantee, 915, 32, 110, 400),
    {{"BUTTON", "Ułóż", kWheelMake, 1040, 30, 90, 32, WS_TABSTOP, 0},
     {"BUTTON", "Przerwij", kWheelStop, 1140, 30, 100, 32, WS_DISABLED | WS_TABSTOP, 0},
     {PROGRESS_CLASSA, "", kWheelProgress, 1250, 34, 80, 24, 0, 0}},
    editRows("Cena zakładu (zł)", 150, kWheelPrice, 20, 94, 150, 0),
    editRows(kLastDrawsLabel, 200, kWheelLast, 185, 94, 150, ES_NUMBER),
    {{"BUTTON", "Sprawdź na historii", kWheelHistory, 345, 92, 180, 32, WS_TABSTOP, 0},
     {"BUTTON", "Zapisz zakłady...", kWheelSave, 535, 92, 165, 32, WS_TABSTOP, 0},
     {"STATIC", kHint, kWheelSummary, 20, 134, 1310, 76, 0, 0, 0, 1000},
     {WC_LISTVIEWA, "", kWheelTickets, 20, 215, 380, 505,
      LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP, WS_EX_CLIENTEDGE, 0,
      300, 0, 1000},
     {kCouponClassName, "", kWheelCoupon, 410, 215, 425, 505, 0, 0, 300, 300, 0, 1000},
     {"STATIC", "Gwarancja przy każdej liczbie trafionych", 0, 850, 215, 480, 20, 0, 0, 600, 400},
     {WC_LISTVIEWA, "", kWheelSure, 850, 237, 480, 215,
      LVS_REPORT | LVS_OWNERDATA | LVS_NOSORTHEADER | WS_BORDER | WS_TABSTOP, WS_EX_CLIENTEDGE, 600,
      400, 0, 500},
     {"STATIC", kHistoryHint, kWheelHistoryLabel, 850, 462, 480, 40, 0, 0, 600, 400, 500},
     {WC_LISTVIEWA, "", kWheelOnHistory, 850, 504, 480, 216,
      LVS_REPORT | LVS_OWNERDATA | LVS_NOSORTHEADER | WS_BORDER | WS_TABSTOP, WS_EX_CLIENTEDGE, 600,
      400, 500, 500}},
});

const std::vector<ListColumn> kTicketColumns = {{"Nr", 50, LVCFMT_RIGHT}, {"Zakład", 300}};
const std::vector<ListColumn> kSureColumns = {
    {"Twoich wśród wylosowanych", 180, LVCFMT_RIGHT},
    {"Najlepszy zakład trafi co najmniej", 200, LVCFMT_RIGHT},
    {"Szansa %", 80, LVCFMT_RIGHT}};
const std::vector<ListColumn> kHistoryColumns = {
    {"Trafień", 70, LVCFMT_RIGHT},   {"Losowań", 80, LVCFMT_RIGHT}, {"Przypadek", 90, LVCFMT_RIGHT},
    {"Zwykle od", 80, LVCFMT_RIGHT}, {"do", 60, LVCFMT_RIGHT},
};

WheelScreen& screenOf(const WindowState& state) {
    return *state.wheel;
}

// The player's numbers as far as they read, or what is wrong with them.
TicketNumbers typedNumbers(const WindowState& state, const GameRow& game) {
    return parseTicket(windowText(state.control(kWheelNumbers)), game.rules,
                       mostWheelNumbers(game));
}

int ticketSize(const WindowState& state, const GameRow& game) {
    if (!ticketSizeChosen(game)) return game.rules.numbersPerDraw;
    return static_cast<int>(SendMessageW(state.control(kWheelSize), CB_GETCURSEL, 0, 0)) + 1;
}

void fillSizes(const WindowState& state, const GameRow& game) {
    const HWND sizes = state.control(kWheelSize);
    SendMessageW(sizes, CB_RESETCONTENT, 0, 0);
    const bool chosen = ticketSizeChosen(game);
    for (int k = chosen ? 1 : game.rules.numbersPerDraw;
         k <= (chosen ? mostTicketNumbers(game.rules) : game.rules.numbersPerDraw); ++k)
        SendMessageW(sizes, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(wide(std::to_string(k)).c_str()));
    SendMessageW(sizes, CB_SETCURSEL, chosen ? kDefaultChosenSize - 1 : 0, 0);
    EnableWindow(sizes, chosen);
}

// The guarantees for the numbers and size now chosen; the one chosen before
// stays chosen where it is still offered.
void fillGuarantees(const WindowState& state) {
    const HWND list = state.control(kWheelGuarantee);
    const std::string before = windowText(list);
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    const GameRow* game = chosenGame(state.control(kWheelGame));
    if (!game) return;
    const TicketNumbers numbers = typedNumbers(state, *game);
    if (!numbers.error.empty()) return;
    const int v = static_cast<int>(numbers.numbers.size());
    LRESULT chosen = -1, usual = -1;
    for (const WheelShape& shape : offeredGuarantees(*game, v, ticketSize(state, *game))) {
        const std::string name = guaranteeName(shape);
        const LRESULT at =
            SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(name).c_str()));
        SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(at), shape.m * 100 + shape.t);
        if (name == before) chosen = at;
        if (shape.m == shape.t && shape.t <= 3) usual = at;
    }
    SendMessageW(list, CB_SETCURSEL,
                 static_cast<WPARAM>(chosen >= 0 ? chosen : std::max<LRESULT>(usual, 0)), 0);
}

// The summary of the system shown, with its cost at the price in the field.
void showSummary(const WindowState& state) {
    const WheelScreen& screen = screenOf(state);
    std::string text = kHint;
    if (screen.shown) {
        const long long price = priceInGrosze(windowText(state.control(kWheelPrice)));
        text = systemSummary(*screen.shown, price);
    }
    setWindowText(state.control(kWheelSummary), text.c_str());
}

void forgetSystem(WindowState& state) {
    WheelScreen& screen = screenOf(state);
    screen.shown.reset();
    screen.historyShown = {};
    for (int table : {kWheelTickets, kWheelSure, kWheelOnHistory})
        screen.showRows(state, table, nullptr);
    setWindowText(state.control(kWheelHistoryLabel), kHistoryHint);
    showSummary(state);
    InvalidateRect(screen.coupon, nullptr, FALSE);
}

void setRunning(const WindowState& state, bool running) {
    switchRunStop(state.control(kWheelMake), state.control(kWheelStop), running);
    EnableWindow(state.control(kWheelHistory), !running);
    EnableWindow(state.control(kWheelSave), !running);
    SendMessageW(state.control(kWheelProgress), PBM_SETPOS, 0, 0);
}

void refuse(const WindowState& state, const std::string& why) {
    messageBox(state.main, why, kCaption, MB_ICONEXCLAMATION);
}

void makeSystemOf(WindowState& state) {
    WheelScreen& screen = screenOf(state);
    const GameRow* game = chosenGame(state.control(kWheelGame));
    if (!game) return;
    const TicketNumbers numbers = typedNumbers(state, *game);
    if (!numbers.error.empty()) return refuse(state, numbers.error);
    const int v = static_cast<int>(numbers.numbers.size()), k = ticketSize(state, *game);
    const HWND list = state.control(kWheelGuarantee);
    const LRESULT at = SendMessageW(list, CB_GETCURSEL, 0, 0);
    if (at < 0)
        return refuse(state, v < k ? "Zakład ma " + std::to_string(k) +
                                         " liczb: podaj co najmniej tyle swoich liczb."
                                   : "Dla tylu liczb program nie ułoży systemu z gwarancją.");
    const LRESULT mt = SendMessageW(list, CB_GETITEMDATA, static_cast<WPARAM>(at), 0);
    const WheelShape shape{v, k, static_cast<int>(mt / 100), static_cast<int>(mt % 100)};
    forgetSystem(state);
    setWindowText(state.control(kWheelSummary), "Układam...");
    setRunning(state, true);
    screen.worker.start(state.main, [game, numbers = numbers.numbers, shape](ProgressPoster& post) {
        return makeInBackground(*game, numbers, shape, post);
    });
}

void checkOnHistory(WindowState& state) {
    WheelScreen& screen = screenOf(state);
    if (!screen.shown) return refuse(state, "Najpierw ułóż system („Ułóż”).");
    const long long last = lastDrawsField(state.control(kWheelLast));
    if (last < 0) return refuse(state, kLastDrawsWrong);
    screen.historyShown = {};
    screen.showRows(state, kWheelOnHistory, nullptr);
    setWindowText(state.control(kWheelHistoryLabel), "Liczę...");
    setRunning(state, true);
    const WheelResult system = *screen.shown;
    screen.worker.start(state.main, [system, last](ProgressPoster& post) {
        return historyInBackground(system, last, post);
    });
}

void save(const WindowState& state) {
    const WheelScreen& screen = screenOf(state);
    if (!screen.shown) return refuse(state, "Najpierw ułóż system („Ułóż”).");
    saveTextOrCsv(state.main, kCaption, [&](bool csv) {
        if (csv) return zestawy::csv(wheelTable(screen.shown->lines));
        std::string text;
        for (const std::string& line : screen.shown->lines) text += line + "\r\n";
        return text;
    });
}

// Puts the game and numbers taken from another screen into the fields.
void takeNumbers(WindowState& state, const TakenNumbers& taken) {
    if (!taken.error.empty()) return refuse(state, taken.error);
    const HWND games = state.control(kWheelGame);
    if (chosenGame(games) != taken.game) {
        SendMessageW(games, CB_SETCURSEL, static_cast<WPARAM>(taken.game - kGames), 0);
        screenOf(state).command(state, kWheelGame, CBN_SELCHANGE);
    }
    setWindowText(state.control(kWheelNumbers), taken.text.c_str());
}

}  // namespace

CouponPicture WheelScreen::picture() const {
    CouponPicture picture;
    picture.game = chosenGame(GetDlgItem(owner->main, kWheelGame));
    if (!picture.game) return picture;
    picture.chosen.assign(static_cast<std::size_t>(picture.game->rules.maxNumber) + 1, false);
    for (int v : marked) picture.chosen[static_cast<std::size_t>(v)] = true;
    picture.heading = "Niebieskie: twoje liczby. Kliknij liczbę, by ją dodać lub usunąć.";
    picture.legend = false;
    return picture;
}

void WheelScreen::click(int number) {
    const GameRow* game = chosenGame(GetDlgItem(owner->main, kWheelGame));
    if (!game || number <= 0) return;
    const HWND field = GetDlgItem(owner->main, kWheelNumbers);
    const int most = mostWheelNumbers(*game);
    const std::string text = toggledNumber(windowText(field), game->rules, most, number);
    const TicketNumbers numbers = parseTicket(text, game->rules, most);
    if (!text.empty() && !numbers.error.empty()) return refuse(*owner, numbers.error);
    setWindowText(field, text.c_str());  // EN_CHANGE marks it on the coupon
}

void createWheelScreen(WindowState& state, HINSTANCE instance) {
    state.wheel = std::make_shared<WheelScreen>();
    WheelScreen& screen = *state.wheel;
    screen.owner = &state;
    screen.make(state, instance, kWheelRows,
                {{kWheelTickets, &kTicketColumns},
                 {kWheelSure, &kSureColumns},
                 {kWheelOnHistory, &kHistoryColumns}});
    screen.coupon = state.control(kWheelCoupon);
    fillGames(state.control(kWheelGame));
    setCouponSource(screen.coupon, &screen);
    screen.command(state, kWheelGame, CBN_SELCHANGE);
}

bool WheelScreen::command(WindowState& state, int id, int code) {
    WheelScreen& screen = *this;
    const GameRow* game = chosenGame(state.control(kWheelGame));
    switch (id) {
        case kWheelGame:
            if (code != CBN_SELCHANGE || !game) return true;
            stop(state);
            fillSizes(state, *game);
            setWindowText(state.control(kWheelPrice), zloty(game->ticketPrice).c_str());
            setWindowText(state.control(kWheelNumbers), "");  // EN_CHANGE: the rest follows
            return true;
        case kWheelNumbers:
            if (code != EN_CHANGE) return true;
            screen.marked = game ? typedNumbers(state, *game).numbers : std::vector<int>{};
            InvalidateRect(screen.coupon, nullptr, FALSE);
            fillGuarantees(state);
            return true;
        case kWheelSize:
            if (code == CBN_SELCHANGE) fillGuarantees(state);
            return true;
        case kWheelPrice:
            if (code == EN_CHANGE) showSummary(state);
            return true;
        case kWheelFromRanking:
            takeNumbers(state, rankingNumbers(state));
            return true;
        case kWheelFromTicket:
            takeNumbers(state, ticketScreenNumbers(state));
            return true;
        case kWheelMake:
            makeSystemOf(state);
            return true;
        case kWheelStop:
            screen.worker.stop = true;
            return true;
        case kWheelHistory:
            checkOnHistory(state);
            return true;
        case kWheelSave:
            save(state);
            return true;
        default:
            return owns(id);  // its labels and fields
    }
}

void WheelScreen::onMessage(WindowState& state, WPARAM what, LPARAM progress) {
    WheelScreen& screen = *this;
    const HWND bar = state.control(kWheelProgress);
    if (showProgress(what, progress, bar)) return;
    std::unique_ptr<WheelResult> done =
        takeFinished(state.control(kWheelMake), state.control(kWheelStop), bar);
    if (!done) return;  // taken already
    setRunning(state, false);
    if (done->historyOnly) {
        setWindowText(state.control(kWheelHistoryLabel), done->historyLine.c_str());
        screen.historyShown = std::move(done->history);
        screen.showRows(state, kWheelOnHistory, &screen.historyShown);
        return;
    }
    if (!done->error.empty()) {
        setWindowText(state.control(kWheelSummary), done->error.c_str());
        return;
    }
    screen.shown = std::move(done);
    showSummary(state);
    screen.showRows(state, kWheelTickets, &screen.shown->tickets);
    screen.showRows(state, kWheelSure, &screen.shown->sure);
}
