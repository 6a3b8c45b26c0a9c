#include "app/controls.hpp"

#include "app/texts.hpp"

HWND hPrzycisk1, hPrzycisk2, hPrzycisk3, hPrzycisk4, hPrzycisk5, hPrzycisk6, hPrzycisk7, hPrzycisk8,
    hPrzycisk9, hPrzycisk10, hPrzycisk11, hPrzycisk12, hPrzycisk13, hPrzycisk14, hPrzycisk15,
    hPrzycisk16;
HWND hPrzycisk20, hPrzycisk21, hPrzycisk22, hPrzycisk23, hPrzycisk24, hPrzycisk25, hPrzycisk26,
    hPrzycisk27, hPrzycisk28;
HWND hPrzycisk30, hPrzycisk31, hPrzycisk32, hPrzycisk33, hPrzycisk34, hPrzycisk35, hPrzycisk36,
    hPrzycisk37, hPrzycisk38, hPrzycisk39;
HWND hPrzycisk41, hPrzycisk42, hPrzycisk43, hPrzycisk44, hPrzycisk45, hPrzycisk46, hPrzycisk47,
    hPrzycisk48;
HWND hPole1, hPole2, hPole3, hPole4, hPole5, hPole6;
HWND hEtykieta1, hEtykieta2, hEtykieta3, hEtykieta4;

namespace {

using K = ControlKind;
constexpr int C1 = 1030;  // first button column
constexpr int C2 = 1190;  // second button column (Multi Multi only)
constexpr int BW = 150, BH = 40;

}  // namespace

const ControlRow kControls[] = {
    // Multi Multi panel and its game button.
    {&hPrzycisk1, K::Button, "Wyszukaj 2", 1, C1, 120, BW, BH, -1},
    {&hPrzycisk2, K::Button, "Wyszukaj 2 z 3", 2, C1, 170, BW, BH, -1},
    {&hPrzycisk3, K::Button, "Wyszukaj 3", 3, C1, 220, BW, BH, -1},
    {&hPrzycisk4, K::Button, "Wyszukaj 3 z 4", 4, C1, 270, BW, BH, -1},
    {&hPrzycisk5, K::Button, "Wyszukaj 4", 5, C1, 320, BW, BH, -1},
    {&hPrzycisk6, K::Button, "Wyszukaj 3 z 5", 6, C1, 370, BW, BH, -1},
    {&hPrzycisk7, K::Button, "Wyszukaj 4 z 5", 7, C1, 420, BW, BH, -1},
    {&hPrzycisk16, K::Button, "Wyszukaj 5 z 5", 16, C1, 470, BW, BH, -1},
    {&hPrzycisk8, K::Button, "Wyszukaj 4 z 6", 8, C1, 520, BW, BH, -1},
    {&hPrzycisk9, K::Button, "Wyszukaj 5 z 6", 9, C2, 120, BW, BH, -1},
    {&hPrzycisk10, K::Button, "Wyszukaj 5 z 7", 10, C2, 170, BW, BH, -1},
    {&hPrzycisk11, K::Button, "Wyszukaj 5 z 8", 11, C2, 220, BW, BH, -1},
    {&hPrzycisk12, K::Button, "Wyczyść", 12, C1, 630, BW, BH, -1},
    {&hPrzycisk13, K::Button, "Wczytaj", 13, C1, 580, BW, BH, -1},
    {&hPrzycisk41, K::Button, "Wyszukaj 6 z 9", 41, C2, 270, BW, BH, -1},
    {&hPrzycisk42, K::Button, "Wyszukaj 7 z 10", 42, C2, 320, BW, BH, -1},
    {&hPrzycisk14, K::Button, "Multi Multi", 14, C1, 120, BW, BH, -1},
    {&hPrzycisk43, K::Button, "Zapisz znalezione", 43, C2, 370, BW, BH, -1},
    {&hPrzycisk44, K::Button, "Otwórz znalezione", 44, C2, 420, BW, BH, -1},
    {&hPrzycisk15, K::Button, "Inne gry", 15, C2, 470, BW, BH, -1},
    // Mini Lotto panel and its game button.
    {&hPrzycisk20, K::Button, "Wyszukaj 1", 20, C1, 120, BW, BH, -1},
    {&hPrzycisk21, K::Button, "Wyszukaj 2", 21, C1, 170, BW, BH, -1},
    {&hPrzycisk22, K::Button, "Wyszukaj 2 z 3", 22, C1, 220, BW, BH, -1},
    {&hPrzycisk23, K::Button, "Wyszukaj 3 z 4", 23, C1, 270, BW, BH, -1},
    {&hPrzycisk24, K::Button, "Wyszukaj 3 z 5", 24, C1, 320, BW, BH, -1},
    {&hPrzycisk25, K::Button, "Wczytaj", 25, C1, 370, BW, BH, -1},
    {&hPrzycisk26, K::Button, "Wyczyść", 26, C1, 420, BW, BH, -1},
    {&hPrzycisk27, K::Button, "Mini Lotto", 27, C1, 170, BW, BH, -1},
    {&hPrzycisk28, K::Button, "Inne gry", 28, C1, 570, BW, BH, -1},
    {&hPrzycisk47, K::Button, "Zapisz znalezione", 47, C1, 470, BW, BH, -1},
    {&hPrzycisk48, K::Button, "Otwórz znalezione", 48, C1, 520, BW, BH, -1},
    // Lotto panel and its game button.
    {&hPrzycisk30, K::Button, "Wyszukaj 1", 30, C1, 120, BW, BH, -1},
    {&hPrzycisk31, K::Button, "Wyszukaj 2", 31, C1, 170, BW, BH, -1},
    {&hPrzycisk32, K::Button, "Wyszukaj 2 z 3", 32, C1, 220, BW, BH, -1},
    {&hPrzycisk33, K::Button, "Wyszukaj 3", 33, C1, 270, BW, BH, -1},
    {&hPrzycisk34, K::Button, "Wyszukaj 3 z 4", 34, C1, 320, BW, BH, -1},
    {&hPrzycisk35, K::Button, "Wyszukaj 3 z 5", 35, C1, 370, BW, BH, -1},
    {&hPrzycisk36, K::Button, "Wczytaj", 36, C1, 420, BW, BH, -1},
    {&hPrzycisk37, K::Button, "Wyczyść", 37, C1, 470, BW, BH, -1},
    {&hPrzycisk38, K::Button, "Lotto", 38, C1, 220, BW, BH, -1},
    {&hPrzycisk39, K::Button, "Inne gry", 39, C1, 620, BW, BH, -1},
    {&hPrzycisk45, K::Button, "Zapisz znalezione", 45, C1, 520, BW, BH, -1},
    {&hPrzycisk46, K::Button, "Otwórz znalezione", 46, C1, 570, BW, BH, -1},
    // Work boxes, shared by the three games.
    {&hPole1, K::WorkBox, "", kIdNumbersBox, 260, 40, 500, 630, 1},
    {&hPole2, K::WorkBox, "", kIdResultsBox, 760, 40, 250, 630, 1},
    {&hPole3, K::WorkBox, "", kIdDatesBox, 40, 40, 220, 630, 1},
    {&hPole4, K::WorkBox, "", kIdCountBox, 1030, 60, 150, 40, 0},
    // Labels.
    {&hEtykieta1, K::Label, "Data losowania", 0, 40, 15, 100, 20, -1},
    {&hEtykieta2, K::Label, "Wylosowane liczby", 0, 260, 15, 200, 20, -1},
    {&hEtykieta3, K::Label, "Najdłużej oczekiwane zestawy", 0, 760, 15, 220, 20, -1},
    {&hEtykieta4, K::Label, "Wpisz ile losowań ma być przeszukanych", 0, 1030, 15, 150, 35, -1},
    // Help and about boxes, stretched over the client area once created.
    {&hPole5, K::HelpBox, nullptr, 0, 990, 60, 300, 150, 1},
    {&hPole6, K::AboutBox, nullptr, 0, 990, 60, 300, 150, 1},
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

// 30-pixel Arial of the help and about boxes; each box gets a font of its own.
HFONT createBoxFont() {
    return CreateFontA(30, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS | DEFAULT_PITCH, "Arial");
}

void coverClientArea(HWND main, HWND box) {
    RECT client;
    GetClientRect(main, &client);
    MoveWindow(box, client.left, client.top, client.right - client.left, client.bottom - client.top,
               TRUE);
}

}  // namespace

void createControls(HWND main, HINSTANCE instance) {
    for (const ControlRow& row : kControls) {
        const bool bigBox = row.kind == K::HelpBox || row.kind == K::AboutBox;
        const HFONT font = bigBox ? createBoxFont() : nullptr;
        const char* caption = row.kind == K::HelpBox    ? helpText()
                              : row.kind == K::AboutBox ? aboutText()
                                                        : row.caption;
        HWND hwnd = CreateWindowExA(controlExStyle(row.kind), controlClass(row.kind), caption,
                                    controlStyle(row.kind), row.x, row.y, row.w, row.h, main,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance,
                                    nullptr);
        *row.handle = hwnd;
        if (font) SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), 1);
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
        if (bigBox) coverClientArea(main, hwnd);
        if (row.kind == K::AboutBox) UpdateWindow(hwnd);
    }
    for (const ControlRow& row : kControls)
        if (row.readOnly >= 0) SendMessageA(*row.handle, EM_SETREADONLY, row.readOnly, 0);
}

HWND controlById(int id) {
    if (id == 0) return nullptr;
    for (const ControlRow& row : kControls)
        if (row.id == id) return *row.handle;
    return nullptr;
}
