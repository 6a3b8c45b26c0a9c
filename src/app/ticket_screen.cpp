#include "app/ticket_screen.hpp"

#include <commctrl.h>

#include <memory>
#include <string>

#include "app/coupon.hpp"
#include "app/ranking_state.hpp"
#include "app/screen.hpp"
#include "commands/analysis_text.hpp"
#include "search/odds.hpp"

using namespace zestawy;

// What the screen shows: the last check, and the numbers marked on the coupon.
struct TicketScreen : AnalysisScreen, CouponSource {
    TicketScreen() : AnalysisScreen(kCmdTicket, kTicketNumbers, 0) {}
    WindowState* owner = nullptr;
    HWND coupon = nullptr, summary = nullptr;
    const GameRow* game = nullptr;  // of the check shown; nullptr: none
    TextTable shown;
    std::vector<std::size_t> waits;
    std::vector<int> marked;  // the numbers in the field, as far as they read

    CouponPicture picture() const override;
    void click(int number) override;
    bool command(WindowState& state, int id, int code) override;
    const TextTable* shownIn(int) const override { return &shown; }
};

namespace {

const char kCaption[] = "Sprawdź swoje liczby";
const char kHint[] =
    "Wpisz swoje liczby albo kliknij je na kuponie i kliknij „Sprawdź”: ile razy padło ile z nich, "
    "ile daje sam przypadek i kiedy ostatnio.";

const std::vector<ScreenRow> kTicketRows = rowsOf(
    {screenStart(kTicketGame, 160),
     editRows("Twoje liczby (np. 3, 17, 22)", 320, kTicketNumbers, 200, 32, 320, 0),
     editRows(kLastDrawsLabel, 200, kTicketLast, 540, 32, 150, ES_NUMBER),
     {
         {"BUTTON", "Sprawdź", kTicketCheck, 710, 30, 110, 32, WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
         {"STATIC", kHint, kTicketSummary, 20, 72, 1310, 52, 0, 0, 0, 1000},
         {WC_LISTVIEWA, "", kTicketTable, 20, 130, 720, 590,
          LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP, WS_EX_CLIENTEDGE,
          0, 500, 0, 1000},
         {kCouponClassName, "", kTicketCoupon, 760, 130, 570, 590, 0, 0, 500, 500, 0, 1000},
     }});

const std::vector<ListColumn> kColumns = {
    {"Trafień", 70, LVCFMT_RIGHT},   {"Losowań", 70, LVCFMT_RIGHT}, {"Przypadek", 90, LVCFMT_RIGHT},
    {"Zwykle od", 70, LVCFMT_RIGHT}, {"do", 50, LVCFMT_RIGHT},      {"Ostatnio", 150},
    {"Temu", 70, LVCFMT_RIGHT},
};

// The numbers of the text as far as they are a ticket of the game.
std::vector<int> readableNumbers(const std::string& text, const GameRow& game) {
    return parseTicket(text, game.rules).numbers;
}

void showCheck(TicketScreen& screen) {
    screen.showRows(*screen.owner, kTicketTable, &screen.shown);
    InvalidateRect(screen.coupon, nullptr, FALSE);
}

void clearCheck(TicketScreen& screen, const std::string& summary) {
    screen.game = nullptr;
    screen.shown.rows.clear();
    screen.waits.clear();
    setWindowText(screen.summary, summary.c_str());
    showCheck(screen);
}

// Checks the numbers in the field; a wrong field or history is said in a
// message box when `loud`, on the summary line otherwise.
void check(WindowState& state, bool loud) {
    TicketScreen& screen = *state.ticket;
    const GameRow* game = chosenGame(state.control(kTicketGame));
    if (!game) return;
    const TicketNumbers ticket =
        parseTicket(windowText(state.control(kTicketNumbers)), game->rules);
    const long long last = lastDrawsField(state.control(kTicketLast));
    const std::string wrong = !ticket.error.empty() ? ticket.error
                              : last < 0            ? kLastDrawsWrong
                                                    : "";
    RankingDraws taken;
    const std::string failed = wrong.empty() ? readDraws(*game, last, taken) : "";
    if (!wrong.empty() || !failed.empty()) {
        // The table of the earlier numbers goes before the message is read.
        clearCheck(screen, wrong + failed);
        if (loud) messageBox(state.main, wrong + failed, kCaption, MB_ICONEXCLAMATION);
        return;
    }
    const TicketCheck result = checkTicket(taken.draws, ticket.numbers, game->rules);
    screen.game = game;
    screen.marked = ticket.numbers;
    screen.shown = ticketTable(result, taken.labels, ',');
    screen.waits = result.numberWaits;
    std::string summary = wholeTicketLine(result, taken.labels);
    if (taken.skipped > 0)
        summary +=
            " Pominięto " + grouped(taken.skipped) + " " +
            nounForm(taken.skipped, "wiersz, który nie jest losowaniem",
                     "wiersze, które nie są losowaniami", "wierszy, które nie są losowaniami") +
            ".";
    summary +=
        "\n„Przypadek”: średnio tyle losowań z tyloma trafieniami; w 90% historii "
        "liczba mieści się w zakresie „zwykle od – do”, dla każdego wiersza osobno (wszystkie "
        "wiersze naraz mieszczą się w swoich zakresach rzadziej). „Temu”: ile losowań temu.";
    setWindowText(screen.summary, summary.c_str());
    showCheck(screen);
}

}  // namespace

CouponPicture TicketScreen::picture() const {
    CouponPicture picture;
    picture.game = chosenGame(GetDlgItem(owner->main, kTicketGame));
    if (!picture.game) return picture;
    const int n = picture.game->rules.maxNumber;
    picture.chosen.assign(static_cast<std::size_t>(n) + 1, false);
    for (int v : marked) picture.chosen[static_cast<std::size_t>(v)] = true;
    picture.waitOfChosen = true;
    if (game == picture.game) {
        picture.waits = waits;
        picture.gap = 1 / appearChance(picture.game->rules.numbersPerDraw, {1, 1, n});
        picture.heading = "Niebieskie: twoje liczby. Pod każdą: ile losowań czeka (średnio co " +
                          decimal(picture.gap) + ").";
    } else {
        picture.heading = "Kliknij liczbę, by ją dodać lub usunąć.";
    }
    return picture;
}

void TicketScreen::click(int number) {
    const GameRow* chosen = chosenGame(GetDlgItem(owner->main, kTicketGame));
    if (!chosen || number <= 0) return;
    const HWND field = GetDlgItem(owner->main, kTicketNumbers);
    const std::string text = toggledNumber(windowText(field), chosen->rules, 0, number);
    // One number too many is refused as a typed one is.
    const TicketNumbers numbers = parseTicket(text, chosen->rules);
    if (!text.empty() && !numbers.error.empty()) {
        messageBox(owner->main, numbers.error, kCaption, MB_ICONEXCLAMATION);
        return;
    }
    setWindowText(field, text.c_str());  // EN_CHANGE marks them on the coupon
    // A shown check follows the numbers at once.
    if (game && !text.empty()) check(*owner, false);
}

void createTicketScreen(WindowState& state, HINSTANCE instance) {
    state.ticket = std::make_shared<TicketScreen>();
    TicketScreen& screen = *state.ticket;
    screen.owner = &state;
    screen.make(state, instance, kTicketRows, {{kTicketTable, &kColumns}});
    screen.coupon = state.control(kTicketCoupon);
    screen.summary = state.control(kTicketSummary);
    fillGames(state.control(kTicketGame));
    setCouponSource(screen.coupon, &screen);
}

bool TicketScreen::command(WindowState& state, int id, int code) {
    TicketScreen& screen = *this;
    switch (id) {
        case kTicketGame:
            if (code == CBN_SELCHANGE) {
                screen.marked.clear();
                setWindowText(state.control(kTicketNumbers), "");
                clearCheck(screen, kHint);
            }
            return true;
        case kTicketNumbers:
            if (code == EN_CHANGE) {
                if (const GameRow* game = chosenGame(state.control(kTicketGame)))
                    screen.marked =
                        readableNumbers(windowText(state.control(kTicketNumbers)), *game);
                InvalidateRect(screen.coupon, nullptr, FALSE);
            }
            return true;
        case kTicketCheck:
            check(state, true);
            return true;
        default:
            return owns(id);  // its labels and fields
    }
}
