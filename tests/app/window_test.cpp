// The start-up state of the real main window under the real window system:
// every control's class, id, caption, place, visibility, enabled and read-only
// state, fonts, colours, menu, and a clean exit of the program itself.
#include "app/window.hpp"

#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "app/app_fixture.hpp"
#include "app/controls.hpp"
#include "app/texts.hpp"

namespace {

using namespace apptest;

// Every test of the window sees the one main window, created before the first.
class MainWindow : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_NE(mainWindow(), nullptr); }
};

RECT clientRectOf(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::vector<HWND> childrenInOrder(HWND parent) {
    std::vector<HWND> out;
    EnumChildWindows(
        parent,
        [](HWND h, LPARAM p) {
            reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&out));
    return out;
}

// What the screen must look like, written out independently of the program's
// own control table.
struct Expected {
    const char* cls;
    int id;
    const char* caption;  // nullptr: not compared (help and about text)
    int x, y, w, h;
    bool visible;
    int readOnly;  // -1 for buttons and labels
};

const Expected kScreen[] = {
    {"Button", 1, "Wyszukaj 2", 1030, 120, 150, 40, false, -1},
    {"Button", 2, "Wyszukaj 2 z 3", 1030, 170, 150, 40, false, -1},
    {"Button", 3, "Wyszukaj 3", 1030, 220, 150, 40, false, -1},
    {"Button", 4, "Wyszukaj 3 z 4", 1030, 270, 150, 40, false, -1},
    {"Button", 5, "Wyszukaj 4", 1030, 320, 150, 40, false, -1},
    {"Button", 6, "Wyszukaj 3 z 5", 1030, 370, 150, 40, false, -1},
    {"Button", 7, "Wyszukaj 4 z 5", 1030, 420, 150, 40, false, -1},
    {"Button", 16, "Wyszukaj 5 z 5", 1030, 470, 150, 40, false, -1},
    {"Button", 8, "Wyszukaj 4 z 6", 1030, 520, 150, 40, false, -1},
    {"Button", 9, "Wyszukaj 5 z 6", 1190, 120, 150, 40, false, -1},
    {"Button", 10, "Wyszukaj 5 z 7", 1190, 170, 150, 40, false, -1},
    {"Button", 11, "Wyszukaj 5 z 8", 1190, 220, 150, 40, false, -1},
    {"Button", 12, "Wyczyść", 1030, 630, 150, 40, false, -1},
    {"Button", 13, "Wczytaj", 1030, 580, 150, 40, false, -1},
    {"Button", 41, "Wyszukaj 6 z 9", 1190, 270, 150, 40, false, -1},
    {"Button", 42, "Wyszukaj 7 z 10", 1190, 320, 150, 40, false, -1},
    {"Button", 14, "Multi Multi", 1030, 120, 150, 40, false, -1},
    {"Button", 43, "Zapisz znalezione", 1190, 370, 150, 40, false, -1},
    {"Button", 44, "Otwórz znalezione", 1190, 420, 150, 40, false, -1},
    {"Button", 15, "Inne gry", 1190, 470, 150, 40, false, -1},
    {"Button", 20, "Wyszukaj 1", 1030, 120, 150, 40, false, -1},
    {"Button", 21, "Wyszukaj 2", 1030, 170, 150, 40, false, -1},
    {"Button", 22, "Wyszukaj 2 z 3", 1030, 220, 150, 40, false, -1},
    {"Button", 23, "Wyszukaj 3 z 4", 1030, 270, 150, 40, false, -1},
    {"Button", 24, "Wyszukaj 3 z 5", 1030, 320, 150, 40, false, -1},
    {"Button", 25, "Wczytaj", 1030, 370, 150, 40, false, -1},
    {"Button", 26, "Wyczyść", 1030, 420, 150, 40, false, -1},
    {"Button", 27, "Mini Lotto", 1030, 170, 150, 40, false, -1},
    {"Button", 28, "Inne gry", 1030, 570, 150, 40, false, -1},
    {"Button", 47, "Zapisz znalezione", 1030, 470, 150, 40, false, -1},
    {"Button", 48, "Otwórz znalezione", 1030, 520, 150, 40, false, -1},
    {"Button", 30, "Wyszukaj 1", 1030, 120, 150, 40, false, -1},
    {"Button", 31, "Wyszukaj 2", 1030, 170, 150, 40, false, -1},
    {"Button", 32, "Wyszukaj 2 z 3", 1030, 220, 150, 40, false, -1},
    {"Button", 33, "Wyszukaj 3", 1030, 270, 150, 40, false, -1},
    {"Button", 34, "Wyszukaj 3 z 4", 1030, 320, 150, 40, false, -1},
    {"Button", 35, "Wyszukaj 3 z 5", 1030, 370, 150, 40, false, -1},
    {"Button", 36, "Wczytaj", 1030, 420, 150, 40, false, -1},
    {"Button", 37, "Wyczyść", 1030, 470, 150, 40, false, -1},
    {"Button", 38, "Lotto", 1030, 220, 150, 40, false, -1},
    {"Button", 39, "Inne gry", 1030, 620, 150, 40, false, -1},
    {"Button", 45, "Zapisz znalezione", 1030, 520, 150, 40, false, -1},
    {"Button", 46, "Otwórz znalezione", 1030, 570, 150, 40, false, -1},
    {"Edit", 51, "", 260, 40, 500, 630, false, 1},
    {"Edit", 401, "", 760, 40, 250, 630, false, 1},
    {"Edit", 53, "", 40, 40, 220, 630, false, 1},
    {"Edit", 54, "", 1030, 60, 150, 40, false, 0},
    {"Static", 0, "Data losowania", 40, 15, 100, 20, true, -1},
    {"Static", 0, "Wylosowane liczby", 260, 15, 200, 20, true, -1},
    {"Static", 0, "Najdłużej oczekiwane zestawy", 760, 15, 220, 20, true, -1},
    {"Static", 0, "Wpisz ile losowań ma być przeszukanych", 1030, 15, 150, 35, true, -1},
    {"Edit", 0, nullptr, 0, 0, 1350, 750, false, 1},  // help box, over the client area
    {"Edit", 0, nullptr, 0, 0, 1350, 750, true, 1},   // about box, over the client area
};
constexpr int kScreenCount = sizeof kScreen / sizeof kScreen[0];

TEST_F(MainWindow, EveryControlStartsInItsPlaceAndState) {
    // After these, the ranking screen's controls, all hidden.
    const std::vector<HWND> children = childrenInOrder(mainWindow());
    ASSERT_GE(children.size(), kScreenCount + screenControls(state(), kCmdRanking).size());
    for (std::size_t i = kScreenCount; i < children.size(); ++i)
        EXPECT_FALSE(IsWindowVisible(children[i])) << i;
    for (int i = 0; i < kScreenCount; ++i) {
        const Expected& e = kScreen[i];
        const HWND c = children[i];
        SCOPED_TRACE("child " + std::to_string(i) + " id " + std::to_string(e.id));
        EXPECT_STRCASEEQ(classOf(c).c_str(), e.cls);
        EXPECT_EQ(GetDlgCtrlID(c), e.id);
        if (e.caption) {
            EXPECT_EQ(textOf(c), e.caption);
        }
        const RECT r = clientRectOf(c);
        EXPECT_EQ(r.left, e.x);
        EXPECT_EQ(r.top, e.y);
        EXPECT_EQ(r.right - r.left, e.w);
        EXPECT_EQ(r.bottom - r.top, e.h);
        EXPECT_EQ(IsWindowVisible(c) != 0, e.visible);
        EXPECT_TRUE(IsWindowEnabled(c));
        const LONG style = GetWindowLongA(c, GWL_STYLE);
        if (e.readOnly >= 0) {
            EXPECT_EQ((style & ES_READONLY) != 0, e.readOnly == 1);
        }
    }
    // The texts are Windows-1250 bytes.
    EXPECT_EQ(textOf(control(kMultiClear)), "Wyczy\x9c\xe6");
}

TEST_F(MainWindow, ControlStylesFollowTheirKind) {
    // WS_BORDER is not compared: the edit control takes it out of its style
    // and draws the border itself.
    const LONG box = WS_CHILD | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL;
    for (HWND work : {state().numbersBox, state().resultsBox, state().datesBox, state().countBox}) {
        EXPECT_EQ(GetWindowLongA(work, GWL_STYLE) & box, box);
        EXPECT_TRUE(GetWindowLongA(work, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
        EXPECT_FALSE(GetWindowLongA(work, GWL_STYLE) & ES_WANTRETURN);
    }
    EXPECT_EQ(GetWindowLongA(state().helpBox, GWL_STYLE) & (box | ES_WANTRETURN),
              box | ES_WANTRETURN);
    const LONG about = GetWindowLongA(state().aboutBox, GWL_STYLE);
    EXPECT_EQ(about & (box & ~WS_VSCROLL), box & ~WS_VSCROLL);
    EXPECT_FALSE(about & WS_VSCROLL);
    EXPECT_TRUE(about & ES_WANTRETURN);
    // Plain push buttons and left-aligned labels: no BS_ or SS_ flags.
    EXPECT_EQ(GetWindowLongA(control(kMultiSave), GWL_STYLE) & 0xFFFF, 0);
    EXPECT_EQ(GetWindowLongA(state().dateLabel, GWL_STYLE) & 0xFFFF, 0);
    EXPECT_EQ(GetDlgItem(mainWindow(), kIdResultsBox), state().resultsBox);
}

TEST_F(MainWindow, IsCentredWithItsClientAreaLessTheMenuBar) {
    const HWND main = mainWindow();
    RECT client;
    GetClientRect(main, &client);
    MENUBARINFO bar = {};
    bar.cbSize = sizeof bar;
    ASSERT_TRUE(GetMenuBarInfo(main, OBJID_MENU, 0, &bar));
    EXPECT_EQ(client.right, kClientWidth);
    EXPECT_EQ(client.bottom + (bar.rcBar.bottom - bar.rcBar.top), kClientHeight);

    RECT outer = {0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&outer, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_CLIENTEDGE);
    RECT w;
    GetWindowRect(main, &w);
    EXPECT_EQ(w.right - w.left, outer.right - outer.left);
    EXPECT_EQ(w.left, (GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2);
    EXPECT_EQ(w.top, (GetSystemMetrics(SM_CYSCREEN) - (outer.bottom - outer.top)) / 2);
    RECT workArea;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0));
    const RECT placed =
        placeMainWindow({GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, workArea,
                        {outer.right - outer.left, outer.bottom - outer.top});
    EXPECT_TRUE(EqualRect(&placed, &w));
    EXPECT_EQ(textOf(main), "Program wyszukujący liczb które najdłużej nie wypadły.");
    EXPECT_EQ(classOf(main), "WindowClass");
    EXPECT_TRUE(GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

// On a small screen the window used to open at negative coordinates, with its
// title bar and menu out of reach.
TEST(WindowPlace, KeepsTheTitleBarAndMenuInTheWorkArea) {
    struct Case {
        SIZE screen;
        RECT workArea;
        RECT expected;
    };
    const SIZE window = {1370, 810};
    const Case cases[] = {
        {{1920, 1080}, {0, 0, 1920, 1040}, {275, 135, 1645, 945}},  // centred, as ever
        {{1600, 1000}, {0, 0, 1600, 960}, {115, 95, 1485, 905}},
        {{1600, 900}, {0, 0, 1600, 840}, {115, 30, 1485, 840}},   // moved up over a taskbar
        {{1600, 900}, {0, 60, 1600, 900}, {115, 60, 1485, 870}},  // moved down under one
        {{1280, 720}, {0, 0, 1280, 680}, {0, 0, 1280, 680}},      // shrunk to the work area
        {{1366, 768}, {40, 0, 1366, 768}, {40, 0, 1366, 768}},
    };
    for (const Case& c : cases) {
        const RECT r = placeMainWindow(c.screen, c.workArea, window);
        EXPECT_TRUE(EqualRect(&r, &c.expected))
            << c.screen.cx << "x" << c.screen.cy << ": " << r.left << "," << r.top << " " << r.right
            << "," << r.bottom;
    }
}

TEST_F(MainWindow, OnlyHelpAndAboutBoxesHaveTheArialFont) {
    for (HWND box : {state().helpBox, state().aboutBox}) {
        const HFONT font = reinterpret_cast<HFONT>(SendMessageA(box, WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr);
        LOGFONTA lf = {};
        ASSERT_TRUE(GetObjectA(font, sizeof lf, &lf));
        EXPECT_EQ(lf.lfHeight, 30);
        EXPECT_EQ(lf.lfWeight, FW_NORMAL);
        EXPECT_EQ(lf.lfPitchAndFamily, FF_SWISS | DEFAULT_PITCH);
        EXPECT_STREQ(lf.lfFaceName, "Arial");
    }
    EXPECT_NE(SendMessageA(state().helpBox, WM_GETFONT, 0, 0),
              SendMessageA(state().aboutBox, WM_GETFONT, 0, 0));
    for (HWND other : {state().numbersBox, state().countBox, control(kMulti2), state().dateLabel})
        EXPECT_EQ(SendMessageA(other, WM_GETFONT, 0, 0), 0);
}

TEST_F(MainWindow, MenuBarHasPlikAnalizaAndPomocWithTheirCommands) {
    const HMENU bar = GetMenu(mainWindow());
    ASSERT_NE(bar, nullptr);
    struct Item {
        int menu, position, id;
        const char* caption;
    };
    // "&" marks the access key.
    const char* const menus[] = {"&Plik", "&Analiza", "Pomo&c"};
    const Item items[] = {
        {0, 0, 1001, "&Przygotuj wyszukiwanie"},   {0, 1, 1006, "&Uzupełnij wyniki losowań..."},
        {0, 2, 1007, "Po&bierz najnowsze wyniki"}, {1, 0, 1005, "&Ranking oczekiwania..."},
        {1, 1, 1008, "&Sprawdź swoje liczby..."},  {1, 2, 1009, "&Czy czekanie pomaga?"},
        {1, 3, 1010, "S&ystem skrócony..."},       {2, 0, 1003, "&Otwórz okno pomocy..."},
        {2, 1, 1004, "&Zamknij okno pomocy..."}};
    ASSERT_EQ(GetMenuItemCount(bar), 3);
    char text[64];
    for (int m = 0; m < 3; ++m) {
        GetMenuStringA(bar, static_cast<UINT>(m), text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(text, menus[m]);
        EXPECT_EQ(GetMenuItemCount(GetSubMenu(bar, m)),
                  std::count_if(std::begin(items), std::end(items),
                                [m](const Item& it) { return it.menu == m; }));
    }
    for (const Item& it : items) {
        const HMENU popup = GetSubMenu(bar, it.menu);
        EXPECT_EQ(static_cast<int>(GetMenuItemID(popup, it.position)), it.id);
        GetMenuStringA(popup, it.position, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(text, it.caption);
    }
}

TEST_F(MainWindow, AltPOpensPlik) {
    // The menu runs its own loop until it is closed: another thread sees
    // which menu opened and closes it.
    HMENU opened = nullptr;
    std::thread watcher([&] {
        for (DWORD start = GetTickCount(); !opened && GetTickCount() - start < kWaitMs; Sleep(20))
            if (const HWND popup = FindWindowA("#32768", nullptr))
                if (IsWindowVisible(popup))
                    opened = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
        PostMessageA(mainWindow(), WM_CANCELMODE, 0, 0);
        PostMessageA(mainWindow(), WM_KEYDOWN, VK_ESCAPE, 0);
    });
    SendMessageA(mainWindow(), WM_SYSCOMMAND, SC_KEYMENU, 'p');
    watcher.join();
    EXPECT_EQ(opened, GetSubMenu(GetMenu(mainWindow()), 0));
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

std::string trimmed(const std::string& s) {
    const auto b = s.find_first_not_of(' ');
    const auto e = s.find_last_not_of(' ');
    return b == std::string::npos ? "" : s.substr(b, e - b + 1);
}

TEST_F(MainWindow, HelpTextHasItsHeadingsListsAndOdds) {
    const std::string help = textOf(state().helpBox);
    ASSERT_GE(help.size(), 2u);
    EXPECT_EQ(help.substr(help.size() - 2), "\r\n");
    std::vector<std::string> lines = linesOf(help);
    lines.pop_back();  // after the last CR LF
    EXPECT_EQ(lines.front(), "");
    // The reduced systems' default prices, from the games' table.
    EXPECT_NE(help.find("domyślnie Lotto 3,00 zł, Mini Lotto 1,50 zł, Multi Multi 2,50 zł: "),
              std::string::npos);
    auto indexOf = [&](const std::string& wanted) {
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (trimmed(lines[i]) == wanted) return static_cast<int>(i);
        return -1;
    };
    const int h1 = indexOf(
        "Uzupełnianie wyników w plikach o nazwie Multi Multi wyniki losowań, Mini lotto "
        "wyniki losowań i");
    const int h2 = indexOf(
        "Wyszukiwanie najdłużej oczekiwanych zestawów liczb na przykładzie gry liczbowej "
        "Multi Multi");
    const int h3 = indexOf("Co nam daje wyszukiwanie zestawów liczb");
    const int h4 =
        indexOf("Poniżej prawdopodobienstwo wypadnięcia zestawów liczb które wyszukuje program.");
    ASSERT_TRUE(h1 > 0 && h1 < h2 && h2 < h3 && h3 < h4);
    EXPECT_EQ(trimmed(lines[h1 + 1]), "Lotto wyiki losowań");
    for (const char* game : {"Multi Multi", "Mini Lotto", "Lotto"})
        EXPECT_GT(indexOf(std::string("- dla gry liczbowej ") + game + " klikamy przycisk " + game),
                  h1);
    // Headings stand further in than the text around them.
    EXPECT_EQ(lines[h1].find_first_not_of(' '), 7u);
    EXPECT_EQ(lines[h2].find_first_not_of(' '), 4u);
    EXPECT_EQ(lines[h3].find_first_not_of(' '), 38u);
    EXPECT_EQ(lines[h4].find_first_not_of(' '), 10u);

    // Ten entries of two lines after the last heading, then the sections on
    // what came since: the ranking screen and the updates.
    ASSERT_GT(static_cast<int>(lines.size()), h4 + 1 + 20);
    EXPECT_EQ(trimmed(lines[h4 + 1]),
              "Trafienie 2 liczb z 2 skreślonych wypada średnio co 16 losowań, najlepiej "
              "wyszukiwać i puszczać");
    EXPECT_EQ(trimmed(lines[h4 + 2]), "zestawy które nie wypadły więcej jak 100 losowań.");
    EXPECT_EQ(trimmed(lines[h4 + 15]),
              "Trafienie 5 liczb z 6 skreślonych wypada średnio co 323 losowańa, najlepiej "
              "wyszukiwać i puszczać");
    EXPECT_EQ(trimmed(lines[h4 + 20]), "zestawy które nie wypadły więcej jak 700 losowań.");
    for (int i = h4 + 1; i <= h4 + 20; ++i) EXPECT_EQ(lines[i].size(), 100u);
    EXPECT_EQ(lines[h4 + 21], "");
    EXPECT_GT(indexOf("Ranking oczekiwania"), h4 + 21);
    EXPECT_GT(indexOf("Uzupełnianie wyników z pobranego pliku"), indexOf("Ranking oczekiwania"));
}

TEST_F(MainWindow, AboutTextGivesTheInstruction) {
    const std::vector<std::string> lines = linesOf(textOf(state().aboutBox));
    ASSERT_GE(lines.size(), 9u);
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(trimmed(lines[1]),
              "Program wyszukujący w grach liczbowych takich jak Multi Multi, Mini lotto i "
              "lotto zestawy liczb.");
    EXPECT_EQ(trimmed(lines[2]), "które nie wypadły przez najdłuższy okres losowań");
    EXPECT_EQ(lines[4], "");
    EXPECT_EQ(lines[5], "");
    EXPECT_EQ(lines[6],
              "   Aby uruchomić wyszukiwanie zestawów liczb w lewym górnym rogu ekrany "
              "klliknij pozycję Plik");
    EXPECT_EQ(lines[8],
              "   i przyciski z wyborem gier liczbowych w których chcemy wyszukiwać zestawy "
              "liczb.");
}

TEST_F(MainWindow, ColoursOnlyLabelsAndTheTwoBigBoxes) {
    const HWND main = mainWindow();
    const HDC dc = GetDC(main);
    const COLORREF grey = RGB(169, 169, 169);
    auto ask = [&](UINT msg, HWND control) {
        SetTextColor(dc, RGB(1, 2, 3));
        SetBkColor(dc, RGB(4, 5, 6));
        return SendMessageA(main, msg, reinterpret_cast<WPARAM>(dc),
                            reinterpret_cast<LPARAM>(control));
    };
    for (HWND label :
         {state().dateLabel, state().numbersLabel, state().resultsLabel, state().countLabel}) {
        const LRESULT brush = ask(WM_CTLCOLORSTATIC, label);
        ASSERT_NE(brush, 0);
        LOGBRUSH lb;
        GetObjectA(reinterpret_cast<HBRUSH>(brush), sizeof lb, &lb);
        EXPECT_EQ(lb.lbColor, grey);
        EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
        EXPECT_EQ(GetBkColor(dc), grey);
    }
    for (HWND box : {state().helpBox, state().aboutBox}) EXPECT_NE(ask(WM_CTLCOLOREDIT, box), 0);
    // Anything else: 0, and the device context is left alone.
    const std::pair<UINT, HWND> others[] = {{WM_CTLCOLORSTATIC, control(kMulti2)},
                                            {WM_CTLCOLORSTATIC, state().helpBox},
                                            {WM_CTLCOLOREDIT, state().numbersBox},
                                            {WM_CTLCOLOREDIT, state().dateLabel}};
    for (const auto& [msg, control] : others) {
        EXPECT_EQ(ask(msg, control), 0);
        EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
        EXPECT_EQ(GetBkColor(dc), RGB(4, 5, 6));
    }
    ReleaseDC(main, dc);
}

TEST_F(MainWindow, UnknownCommandIdsChangeNothing) {
    const HWND main = mainWindow();
    const std::vector<HWND> children = childrenInOrder(main);
    auto snapshot = [&] {
        std::string s;
        for (HWND c : children)
            s += std::to_string(IsWindowVisible(c)) + std::to_string(IsWindowEnabled(c)) +
                 textOf(c).substr(0, 40) + "|";
        return s;
    };
    const std::string before = snapshot();
    for (int id : {0, 17, 29, 40, 49, 51, 53, 54, 401, 1002, 1007, 65535})
        EXPECT_EQ(SendMessageA(main, WM_COMMAND, MAKEWPARAM(id, EN_CHANGE), 0), 0);
    EXPECT_EQ(snapshot(), before);
}

TEST(Program, RunsWithThePolishAnsiCodePage) {
    // Every text of the program is Windows-1250; any other code page garbles
    // the Polish letters and the history file names.
    EXPECT_EQ(GetACP(), 1250u);
}

// A program of the build folder, started with its output thrown away.
class ChildProcess {
  public:
    explicit ChildProcess(std::string commandLine, const char* folder = nullptr) {
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = si.hStdError = nul_ =
            CreateFileA("NUL", GENERIC_WRITE, 0, &inherit, OPEN_EXISTING, 0, nullptr);
        started_ = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                                  folder, &si, &pi_);
    }
    ~ChildProcess() {
        if (started_) {
            CloseHandle(pi_.hThread);
            CloseHandle(pi_.hProcess);
        }
        CloseHandle(nul_);
    }
    bool started() const { return started_; }
    DWORD id() const { return pi_.dwProcessId; }
    // The exit code, or 99 when it has not ended within 15 s.
    DWORD exitCode() {
        DWORD code = 99;
        if (WaitForSingleObject(pi_.hProcess, 15000) == WAIT_OBJECT_0)
            GetExitCodeProcess(pi_.hProcess, &code);
        return code;
    }

  private:
    PROCESS_INFORMATION pi_ = {};
    HANDLE nul_;
    bool started_;
};

TEST(Program, CommandLineToolRunsWithoutExtraLibraries) {
    // Linked statically like the program: a missing DLL would end it at once
    // with a loader error instead of its help.
    ChildProcess cli("zestawy-cli.exe --help");
    ASSERT_TRUE(cli.started());
    EXPECT_EQ(cli.exitCode(), 0u);
}

// The main window of a program just started, once it is shown; nullptr
// after 15 s.
HWND mainWindowOf(const ChildProcess& program) {
    struct Find {
        DWORD pid;
        HWND found;
    } find = {program.id(), nullptr};
    for (int tries = 0; tries < 300 && !find.found; ++tries) {
        Sleep(50);
        EnumWindows(
            [](HWND h, LPARAM p) {
                auto* f = reinterpret_cast<Find*>(p);
                DWORD pid = 0;
                GetWindowThreadProcessId(h, &pid);
                if (pid == f->pid && classOf(h) == "WindowClass" && IsWindowVisible(h))
                    f->found = h;
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&find));
    }
    return find.found;
}

TEST(Program, EndsWithExitCodeZeroOnClose) {
    ChildProcess program(ZESTAWY_EXE);
    ASSERT_TRUE(program.started());
    const HWND main = mainWindowOf(program);
    ASSERT_NE(main, nullptr);
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.exitCode(), 0u);
}

TEST(Program, StartedFromAnotherFolderLoadsTheHistoriesBesideIt) {
    const std::string own = ownTempFolder("program") + "\\";
    const std::string elsewhere = ownTempFolder("started");
    const std::string history = "Multi Multi wyniki losowań.txt";
    ASSERT_TRUE(CopyFileA(ZESTAWY_EXE, (own + ZESTAWY_EXE).c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((std::string(ZESTAWY_DATA_DIR) + "/" + history).c_str(),
                          (own + history).c_str(), FALSE));
    ChildProcess program("\"" + own + ZESTAWY_EXE + "\"", elsewhere.c_str());
    const HWND main = mainWindowOf(program);
    ASSERT_NE(main, nullptr);
    // A message box would hold the command: it gets 10 s.
    auto send = [&](UINT message, WPARAM w, const char* text) {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(message == WM_SETTEXT ? GetDlgItem(main, kIdCountBox) : main, message,
                            w, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, kWaitMs, &result);
    };
    send(WM_COMMAND, kCmdPrepareSearch, nullptr);
    send(WM_SETTEXT, 0, "2");
    send(WM_COMMAND, kMultiLoad, nullptr);
    char numbers[1000] = "";
    SendMessageA(GetDlgItem(main, kIdNumbersBox), WM_GETTEXT, sizeof numbers,
                 reinterpret_cast<LPARAM>(numbers));
    EXPECT_EQ(std::count(numbers, numbers + std::strlen(numbers), '\n'), 1) << numbers;
    EXPECT_EQ(std::count(numbers, numbers + std::strlen(numbers), ','), 38) << numbers;
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.exitCode(), 0u);
}

}  // namespace
