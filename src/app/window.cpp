#include "app/window.hpp"

#include <commctrl.h>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>

#include "app/backtest_screen.hpp"
#include "app/controls.hpp"
#include "app/coupon.hpp"
#include "app/download.hpp"
#include "app/found_sets.hpp"
#include "app/load.hpp"
#include "app/panels.hpp"
#include "app/ranking_screen.hpp"
#include "app/screen.hpp"
#include "app/search_buttons.hpp"
#include "app/texts.hpp"
#include "app/ticket_screen.hpp"
#include "app/update_history.hpp"
#include "app/wheel_screen.hpp"
#include "app/window_state.hpp"

using namespace zestawy;

namespace {

struct MenuItem {
    int menu;  // index into kMenus
    const char* caption;
    int id;
};
// With their access keys (Alt+P opens "Plik").
const char* const kMenus[] = {"&Plik", "&Analiza", "Pomo&c"};
const MenuItem kMenuItems[] = {
    {0, "&Przygotuj wyszukiwanie", kCmdPrepareSearch},
    {0, "&Uzupełnij wyniki losowań...", kCmdUpdateHistory},
    {0, "Po&bierz najnowsze wyniki", kCmdDownload},
    {1, "&Ranking oczekiwania...", kCmdRanking},
    {1, "&Sprawdź swoje liczby...", kCmdTicket},
    {1, "&Czy czekanie pomaga?", kCmdBacktest},
    {1, "S&ystem skrócony...", kCmdWheel},
    {2, "&Otwórz okno pomocy...", kCmdOpenHelp},
    {2, "&Zamknij okno pomocy...", kCmdCloseHelp},
};

HMENU buildMenuBar() {
    HMENU bar = CreateMenu();
    for (int m = 0; m < static_cast<int>(sizeof kMenus / sizeof kMenus[0]); ++m) {
        HMENU popup = CreatePopupMenu();
        for (const MenuItem& item : kMenuItems)
            if (item.menu == m) AppendMenuW(popup, MF_STRING, item.id, wide(item.caption).c_str());
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), wide(kMenus[m]).c_str());
    }
    return bar;
}

// Colours the given controls black on grey; any other control gets 0 and its
// device context is left alone.
LRESULT colourControls(const WindowState& state, WPARAM dc, LPARAM control,
                       std::initializer_list<HWND> grey) {
    const HWND hwnd = reinterpret_cast<HWND>(control);
    if (!hwnd || std::find(grey.begin(), grey.end(), hwnd) == grey.end()) return 0;
    SetTextColor(reinterpret_cast<HDC>(dc), kBlack);
    SetBkColor(reinterpret_cast<HDC>(dc), kGrey);
    return reinterpret_cast<LRESULT>(state.greyBrush);
}

// While a command runs the cursor is the hourglass, and input given meanwhile
// (a second click on the same button, keys) is dropped when it ends rather
// than run after it.
class BusyCommand {
  public:
    BusyCommand() : previous_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
    ~BusyCommand() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_INPUT)) {
        }
        SetCursor(previous_);
    }
    BusyCommand(const BusyCommand&) = delete;
    BusyCommand& operator=(const BusyCommand&) = delete;

  private:
    HCURSOR previous_;
};

void rememberFocus(WindowState& state) {
    const HWND focus = GetFocus();
    if (IsChild(state.main, focus)) state.focus = focus;
}

// The window takes its state on its first message and owns it to its last.
WindowState* adoptState(HWND hwnd, void* made) {
    WindowState* state = static_cast<std::unique_ptr<WindowState>*>(made)->release();
    state->main = hwnd;
    state->greyBrush = CreateSolidBrush(kGrey);
    return state;
}

// The screens of the "Analiza" menu, in its order.
void (*const kScreenMakers[])(WindowState&, HINSTANCE) = {createRankingScreen, createTicketScreen,
                                                          createBacktestScreen, createWheelScreen};

// Every screen placed for the client size and every control painted anew:
// a chart or a wrapped text drawn for the old size leaves no trace.
void layoutAll(const WindowState& state) {
    for (const AnalysisScreen* screen : state.screens) screen->layout(state);
    RedrawWindow(state.main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// The window is left (the focus remembered) or comes back (the focus
// returned where it was); false where the system's default is to follow.
bool activate(WindowState& state, bool active) {
    if (!active) {
        rememberFocus(state);
        return true;
    }
    if (!state.focus || !IsWindowVisible(state.focus) || !IsWindowEnabled(state.focus))
        return false;
    SetFocus(state.focus);
    return true;
}

// The screens' labels and the main labels, black on grey.
LRESULT colourStatic(const WindowState& state, WPARAM dc, LPARAM control) {
    const std::vector<HWND>& statics = state.screenStatics;
    if (std::find(statics.begin(), statics.end(), reinterpret_cast<HWND>(control)) != statics.end())
        return colourControls(state, dc, control, {reinterpret_cast<HWND>(control)});
    return colourControls(
        state, dc, control,
        {state.dateLabel, state.numbersLabel, state.resultsLabel, state.countLabel});
}

}  // namespace

// Every menu item and button runs a command. The boxes send WM_COMMAND too,
// with their own ids (focus gained or lost, text changed), and run none.
bool isCommand(int id) {
    for (const MenuItem& item : kMenuItems)
        if (item.id == id) return true;
    for (int i = 0; i < kControlCount; ++i)
        if (kControls[i].kind == ControlKind::Button && kControls[i].id == id) return true;
    return false;
}

void onCommand(HWND main, int id) {
    if (!isCommand(id)) return;
    const BusyCommand busy;
    WindowState& state = stateOf(main);
    handleViewCommand(state, id) || handleClearCommand(state, id) || handleLoadCommand(state, id) ||
        handleSearchButton(state, id) || handleFoundSetsCommand(main, id) ||
        handleUpdateCommand(state, id) || handleDownloadCommand(state, id);
}

WindowState::~WindowState() {
    for (HGDIOBJ object : {static_cast<HGDIOBJ>(helpFont), static_cast<HGDIOBJ>(aboutFont),
                           static_cast<HGDIOBJ>(controlFont), static_cast<HGDIOBJ>(greyBrush)})
        if (object) DeleteObject(object);
}

WindowState& stateOf(HWND main) {
    return *reinterpret_cast<WindowState*>(GetWindowLongPtrW(main, GWLP_USERDATA));
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT owned = 0;
    if (ownedObjectMessage<WindowState>(
            hwnd, msg, wParam, lParam, [hwnd](void* made) { return adoptState(hwnd, made); },
            owned))
        return owned;
    switch (msg) {
        case WM_CREATE:
            return 0;
        case WM_COMMAND:
            // A command that runs out of memory, or fails otherwise, says so
            // and leaves the window as it is.
            return guarded(hwnd, [&]() -> LRESULT {
                // The screens' controls tell what happened in the high word.
                WindowState& state = stateOf(hwnd);
                // A command may open a dialog, which takes the focus away.
                rememberFocus(state);
                const int id = LOWORD(wParam), code = HIWORD(wParam);
                for (AnalysisScreen* screen : state.screens)
                    if (screen->command(state, id, code)) return 0;
                onCommand(hwnd, id);
                return 0;
            });
        case WM_NOTIFY:
            return guarded(hwnd, [&] {
                LRESULT result = 0;
                WindowState& state = stateOf(hwnd);
                const NMHDR& header = *reinterpret_cast<NMHDR*>(lParam);
                for (AnalysisScreen* screen : state.screens)
                    if (screen->notify(state, header, result)) return result;
                return DefWindowProcW(hwnd, msg, wParam, lParam);
            });
        case WM_SIZE:
            if (GetWindowLongPtrW(hwnd, GWLP_USERDATA)) layoutAll(stateOf(hwnd));
            return 0;
        case WM_ACTIVATE:
            return activate(stateOf(hwnd), LOWORD(wParam) != WA_INACTIVE)
                       ? 0
                       : DefWindowProcW(hwnd, msg, wParam, lParam);
        case WM_CTLCOLORSTATIC:
            return colourStatic(stateOf(hwnd), wParam, lParam);
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item.CtlType != ODT_STATIC) return DefWindowProcW(hwnd, msg, wParam, lParam);
            drawScreenText(stateOf(hwnd), item);
            return TRUE;
        }
        case WM_CTLCOLOREDIT: {
            const WindowState& state = stateOf(hwnd);
            return colourControls(state, wParam, lParam, {state.helpBox, state.aboutBox});
        }
        case WM_CLOSE:
            stopScreens(stateOf(hwnd));
            stopDownload(stateOf(hwnd));
            PostQuitMessage(0);
            return 0;
        default:
            // The screens' workers report here.
            if (msg >= WM_APP && GetWindowLongPtrW(hwnd, GWLP_USERDATA))
                for (AnalysisScreen* screen : stateOf(hwnd).screens)
                    if (msg == screen->message)
                        return guarded(hwnd, [&]() -> LRESULT {
                            screen->onMessage(stateOf(hwnd), wParam, lParam);
                            return 0;
                        });
            return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

double layoutScale(int dpi, SIZE frame, RECT workArea) {
    const double widthRoom = workArea.right - workArea.left - frame.cx;
    const double heightRoom = workArea.bottom - workArea.top - frame.cy;
    const double fits = std::min(widthRoom / kClientWidth, heightRoom / kClientHeight);
    // Below half size the text is unreadable anyway; the window is then cut
    // to the work area by placeMainWindow.
    return std::max(0.5, std::min(dpi / 96.0, fits));
}

RECT placeMainWindow(SIZE screen, RECT workArea, SIZE window) {
    const LONG width = std::min(window.cx, workArea.right - workArea.left);
    const LONG height = std::min(window.cy, workArea.bottom - workArea.top);
    const LONG x = std::clamp((screen.cx - window.cx) / 2, workArea.left, workArea.right - width);
    const LONG y = std::clamp((screen.cy - window.cy) / 2, workArea.top, workArea.bottom - height);
    return {x, y, x + width, y + height};
}

HWND createMainWindow(HINSTANCE instance) {
    // The program's icon (1 in res/zestawy.rc) in the sizes Windows asks for;
    // Windows' own where the executable has none, as in the window tests.
    auto icon = [instance](int size) {
        HANDLE own = LoadImageA(instance, MAKEINTRESOURCEA(1), IMAGE_ICON, size, size, LR_SHARED);
        return own ? static_cast<HICON>(own) : LoadIconA(nullptr, IDI_APPLICATION);
    };
    if (!registerClass(instance,
                       {kWindowClassName, WndProc, IDC_ARROW, CreateSolidBrush(kGrey),
                        icon(GetSystemMetrics(SM_CXICON)), icon(GetSystemMetrics(SM_CXSMICON))})) {
        messageBox(nullptr, "Window Registration Failed!", "Error!", MB_ICONEXCLAMATION);
        return nullptr;
    }

    // The window takes the state as it is created; if it is not, the state goes here.
    auto state = std::make_unique<WindowState>();
    RECT workArea;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0))
        workArea = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    RECT frame = {0, 0, 0, 0};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_CLIENTEDGE);
    state->scale = layoutScale(dpi, {frame.right - frame.left, frame.bottom - frame.top}, workArea);

    // The outer size that gives the client area of the design, scaled (before
    // the menu bar is attached).
    RECT rc = {0, 0, state->scaled(kClientWidth), state->scaled(kClientHeight)};
    AdjustWindowRectEx(&rc, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_CLIENTEDGE);
    const RECT place =
        placeMainWindow({GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, workArea,
                        {rc.right - rc.left, rc.bottom - rc.top});

    HWND main = CreateWindowExW(WS_EX_CLIENTEDGE, wide(kWindowClassName).c_str(),
                                wide(kWindowTitle).c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                place.left, place.top, place.right - place.left,
                                place.bottom - place.top, nullptr, nullptr, instance, &state);
    if (!main) {
        messageBox(nullptr, "Window Creation Failed!", "Error!", MB_ICONEXCLAMATION);
        return nullptr;
    }
    createControls(stateOf(main), instance);
    INITCOMMONCONTROLSEX common = {sizeof common, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&common);
    registerCouponClass(instance);
    for (auto make : kScreenMakers) make(stateOf(main), instance);
    SetMenu(main, buildMenuBar());
    return main;
}

bool preTranslate(const MSG& msg) {
    if (downloadKey(msg)) return true;
    const HWND main = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (!isOfClass(main, kWindowClassName)) return false;
    return guarded(main, [&]() -> LRESULT { return screenKey(stateOf(main), msg); }) != 0;
}

int runMessageLoop() {
    MSG msg = {};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (preTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
