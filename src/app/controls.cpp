#include "app/controls.hpp"

#include "app/texts.hpp"
#include "commands/search_command.hpp"

using namespace zestawy;

namespace {

using K = ControlKind;
constexpr int C1 = 1030;  // first button column
constexpr int C2 = 1190;  // second button column (Multi Multi only)
constexpr int BW = 150, BH = 40;

}  // namespace

// A search button's control id is its command's number (SearchId), so that a
// click finds its command by the id alone.
const ControlRow kControls[] = {
    // Multi Multi panel and its game button.
    {nullptr, K::Button, nullptr, kMulti2, C1, 120, BW, BH, -1},
    {nullptr, K::Button, nullptr, kMulti2z3, C1, 170, BW, BH, -1},
    {nullptr, K::Button, nullptr, kMulti3, C1, 220, BW, BH, -1},
    {nullptr, K::Button, nullptr, kMulti3z4, C1, 270, BW, BH, -1},
    {nullptr, K::Button, nullptr, kMulti4, C1, 320, BW, BH, -1},
    {nullptr, K::Button, nullptr, kMulti3z5, C1, 370, BW, BH, -1},
    {nullptr, K::Button, nullptr, kMulti4z5, C1, 420, BW, BH, -1},
    {nullptr, K::Button, nullptr, kMulti5z5, C1, 470, BW, BH, -1},
    {nullptr, K::Button, nullptr, kMulti4z6, C1, 520, BW, BH, -1},
    {nullptr, K::Button, nullptr, kMulti5z6, C2, 120, BW, BH, -1},
    {nullptr, K::Button, nullptr, kMulti5z7, C2, 170, BW, BH, -1},
    {nullptr, K::Button, nullptr, kMulti5z8, C2, 220, BW, BH, -1},
    {nullptr, K::Button, "Wyczyść", kMultiClear, C1, 630, BW, BH, -1},
    {nullptr, K::Button, "Wczytaj", kMultiLoad, C1, 580, BW, BH, -1},
    {nullptr, K::Button, nullptr, kMulti6z9, C2, 270, BW, BH, -1},
    {nullptr, K::Button, nullptr, kMulti7z10, C2, 320, BW, BH, -1},
    {nullptr, K::Button, "Multi Multi", kMultiGame, C1, 120, BW, BH, -1},
    {nullptr, K::Button, "Zapisz znalezione", kMultiSave, C2, 370, BW, BH, -1},
    {nullptr, K::Button, "Otwórz znalezione", kMultiOpen, C2, 420, BW, BH, -1},
    {nullptr, K::Button, "Inne gry", kMultiOtherGames, C2, 470, BW, BH, -1},
    // Mini Lotto panel and its game button.
    {nullptr, K::Button, nullptr, kMini1, C1, 120, BW, BH, -1},
    {nullptr, K::Button, nullptr, kMini2, C1, 170, BW, BH, -1},
    {nullptr, K::Button, nullptr, kMini2z3, C1, 220, BW, BH, -1},
    {nullptr, K::Button, nullptr, kMini3z4, C1, 270, BW, BH, -1},
    {nullptr, K::Button, nullptr, kMini3z5, C1, 320, BW, BH, -1},
    {nullptr, K::Button, "Wczytaj", kMiniLoad, C1, 370, BW, BH, -1},
    {nullptr, K::Button, "Wyczyść", kMiniClear, C1, 420, BW, BH, -1},
    {nullptr, K::Button, "Mini Lotto", kMiniGame, C1, 170, BW, BH, -1},
    {nullptr, K::Button, "Inne gry", kMiniOtherGames, C1, 570, BW, BH, -1},
    {nullptr, K::Button, "Zapisz znalezione", kMiniSave, C1, 470, BW, BH, -1},
    {nullptr, K::Button, "Otwórz znalezione", kMiniOpen, C1, 520, BW, BH, -1},
    // Lotto panel and its game button.
    {nullptr, K::Button, nullptr, kLotto1, C1, 120, BW, BH, -1},
    {nullptr, K::Button, nullptr, kLotto2, C1, 170, BW, BH, -1},
    {nullptr, K::Button, nullptr, kLotto2z3, C1, 220, BW, BH, -1},
    {nullptr, K::Button, nullptr, kLotto3, C1, 270, BW, BH, -1},
    {nullptr, K::Button, nullptr, kLotto3z4, C1, 320, BW, BH, -1},
    {nullptr, K::Button, nullptr, kLotto3z5, C1, 370, BW, BH, -1},
    {nullptr, K::Button, "Wczytaj", kLottoLoad, C1, 420, BW, BH, -1},
    {nullptr, K::Button, "Wyczyść", kLottoClear, C1, 470, BW, BH, -1},
    {nullptr, K::Button, "Lotto", kLottoGame, C1, 220, BW, BH, -1},
    {nullptr, K::Button, "Inne gry", kLottoOtherGames, C1, 620, BW, BH, -1},
    {nullptr, K::Button, "Zapisz znalezione", kLottoSave, C1, 520, BW, BH, -1},
    {nullptr, K::Button, "Otwórz znalezione", kLottoOpen, C1, 570, BW, BH, -1},
    // Work boxes, shared by the three games.
    {&WindowState::numbersBox, K::WorkBox, "", kIdNumbersBox, 260, 40, 500, 630, 1},
    {&WindowState::resultsBox, K::WorkBox, "", kIdResultsBox, 760, 40, 250, 630, 1},
    {&WindowState::datesBox, K::WorkBox, "", kIdDatesBox, 40, 40, 220, 630, 1},
    {&WindowState::countBox, K::WorkBox, "", kIdCountBox, 1030, 60, 150, 40, 0},
    // Labels.
    {&WindowState::dateLabel, K::Label, "Data losowania", 0, 40, 15, 100, 20, -1},
    {&WindowState::numbersLabel, K::Label, "Wylosowane liczby", 0, 260, 15, 200, 20, -1},
    {&WindowState::resultsLabel, K::Label, "Najdłużej oczekiwane zestawy", 0, 760, 15, 220, 20, -1},
    {&WindowState::countLabel, K::Label, "Wpisz ile losowań ma być przeszukanych", 0, 1030, 15, 150,
     35, -1},
    // Help and about boxes, stretched over the client area once created.
    {&WindowState::helpBox, K::HelpBox, nullptr, 0, 990, 60, 300, 150, 1},
    {&WindowState::aboutBox, K::AboutBox, nullptr, 0, 990, 60, 300, 150, 1},
};
const int kControlCount = sizeof kControls / sizeof kControls[0];

const char* controlClass(ControlKind kind) {
    switch (kind) {
        case K::Button:
            return "BUTTON";
        case K::Label:
            return "STATIC";
        default:
            return "EDIT";
    }
}

DWORD controlStyle(ControlKind kind) {
    const DWORD child = WS_CHILD | WS_VISIBLE;
    const DWORD textBox = child | WS_BORDER | ES_MULTILINE | ES_AUTOVSCROLL;
    switch (kind) {
        case K::Button:
            return child;
        case K::Label:
            return child;
        case K::WorkBox:
            return textBox | WS_VSCROLL;
        case K::HelpBox:
            return textBox | WS_VSCROLL | ES_WANTRETURN;
        case K::AboutBox:
            return textBox | ES_WANTRETURN;
    }
    return child;
}

DWORD controlExStyle(ControlKind kind) {
    return kind == K::WorkBox ? WS_EX_CLIENTEDGE : 0;
}

namespace {

// Arial of the given height in pixels: 30 design units for the help and about
// boxes, which get a font each; 16, the height of the system font that the
// other controls keep at full size, for them when the layout is scaled.
HFONT createArial(int height) {
    return arialFont(height);
}
constexpr int kBoxFontHeight = 30, kSystemFontHeight = 16;

void coverClientArea(HWND main, HWND box) {
    RECT client;
    GetClientRect(main, &client);
    MoveWindow(box, client.left, client.top, client.right - client.left, client.bottom - client.top,
               TRUE);
}

const char* captionOf(const ControlRow& row) {
    switch (row.kind) {
        case K::HelpBox:
            return helpText();
        case K::AboutBox:
            return aboutText();
        default:
            return row.caption ? row.caption : findSearchCommand(row.id)->caption;
    }
}

}  // namespace

void createControls(WindowState& state, HINSTANCE instance) {
    if (state.scale != 1.0) state.controlFont = createArial(state.scaled(kSystemFontHeight));
    for (const ControlRow& row : kControls) {
        // Scaled by their edges, so that the boxes stay side by side.
        const int x = state.scaled(row.x), y = state.scaled(row.y);
        HWND hwnd = CreateWindowExW(
            controlExStyle(row.kind), wide(controlClass(row.kind)).c_str(),
            wide(captionOf(row)).c_str(), controlStyle(row.kind), x, y,
            state.scaled(row.x + row.w) - x, state.scaled(row.y + row.h) - y, state.main,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance, nullptr);
        if (row.handle) state.*row.handle = hwnd;
        const bool stretched = row.kind == K::HelpBox || row.kind == K::AboutBox;
        HFONT font = state.controlFont;
        if (stretched) {
            font = createArial(state.scaled(kBoxFontHeight));
            (row.kind == K::HelpBox ? state.helpFont : state.aboutFont) = font;
        }
        if (font) SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), 1);
        switch (row.kind) {
            case K::Button:
            case K::WorkBox:
            case K::HelpBox:
                ShowWindow(hwnd, SW_HIDE);
                break;
            case K::Label:
            case K::AboutBox:
                break;
        }
        if (stretched) coverClientArea(state.main, hwnd);
        if (row.kind == K::AboutBox) UpdateWindow(hwnd);
    }
    for (const ControlRow& row : kControls)
        if (row.readOnly >= 0) SendMessageW(state.*row.handle, EM_SETREADONLY, row.readOnly, 0);
}
