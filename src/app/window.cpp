#include "app/window.hpp"

#include <algorithm>

#include "app/controls.hpp"
#include "app/found_sets.hpp"
#include "app/load.hpp"
#include "app/panels.hpp"
#include "app/search_buttons.hpp"
#include "app/texts.hpp"

namespace {

const COLORREF kGrey = RGB(169, 169, 169);
const COLORREF kBlack = RGB(0, 0, 0);

struct MenuItem {
    int menu;  // index into kMenus
    const char* caption;
    int id;
};
const char* const kMenus[] = {"Plik", "Pomoc"};
const MenuItem kMenuItems[] = {
    {0, "Przygotuj wyszukiwanie", kCmdPrepareSearch},
    {1, "Otwórz okno pomocy...", kCmdOpenHelp},
    {1, "Zamknij okno pomocy...", kCmdCloseHelp},
};

HMENU buildMenuBar() {
    HMENU bar = CreateMenu();
    for (int m = 0; m < static_cast<int>(sizeof kMenus / sizeof kMenus[0]); ++m) {
        HMENU popup = CreatePopupMenu();
        for (const MenuItem& item : kMenuItems)
            if (item.menu == m) AppendMenuA(popup, MF_STRING, item.id, item.caption);
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), kMenus[m]);
    }
    return bar;
}

// Colours the given controls black on grey with a brush made on first use;
// any other control gets 0 and its device context is left alone.
LRESULT colourControls(HBRUSH& brush, WPARAM dc, LPARAM control, HWND a, HWND b, HWND c = nullptr,
                       HWND d = nullptr) {
    if (!brush) brush = CreateSolidBrush(kGrey);
    const HWND hwnd = reinterpret_cast<HWND>(control);
    if (!hwnd || (hwnd != a && hwnd != b && hwnd != c && hwnd != d)) return 0;
    SetTextColor(reinterpret_cast<HDC>(dc), kBlack);
    SetBkColor(reinterpret_cast<HDC>(dc), kGrey);
    return reinterpret_cast<LRESULT>(brush);
}

// While a command runs the cursor is the hourglass, and input given meanwhile
// (a second click on the same button, keys) is dropped when it ends rather
// than run after it.
class BusyCommand {
  public:
    BusyCommand() : previous_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
    ~BusyCommand() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_INPUT)) {
        }
        SetCursor(previous_);
    }
    BusyCommand(const BusyCommand&) = delete;
    BusyCommand& operator=(const BusyCommand&) = delete;

  private:
    HCURSOR previous_;
};

}  // namespace

void repaintWhileBusy() {
    MSG msg;
    for (int i = 0; i < 100 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT); ++i)
        DispatchMessageA(&msg);
}

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
    handleViewCommand(id) || handleClearCommand(id) || handleLoadCommand(main, id) ||
        handleSearchButton(main, id) || handleFoundSetsCommand(main, id);
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            return 0;
        case WM_COMMAND:
            onCommand(hwnd, LOWORD(wParam));
            return 0;
        case WM_CTLCOLORSTATIC: {
            static HBRUSH hBrushGray = nullptr;
            return colourControls(hBrushGray, wParam, lParam, hEtykieta1, hEtykieta2, hEtykieta3,
                                  hEtykieta4);
        }
        case WM_CTLCOLOREDIT: {
            static HBRUSH hBrushGray = nullptr;
            return colourControls(hBrushGray, wParam, lParam, hPole5, hPole6);
        }
        case WM_CLOSE:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

RECT placeMainWindow(SIZE screen, RECT workArea, SIZE window) {
    const LONG width = std::min(window.cx, workArea.right - workArea.left);
    const LONG height = std::min(window.cy, workArea.bottom - workArea.top);
    const LONG x = std::clamp((screen.cx - window.cx) / 2, workArea.left, workArea.right - width);
    const LONG y = std::clamp((screen.cy - window.cy) / 2, workArea.top, workArea.bottom - height);
    return {x, y, x + width, y + height};
}

HWND createMainWindow(HINSTANCE instance) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    wc.hIconSm = LoadIconA(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = CreateSolidBrush(kGrey);
    wc.lpszClassName = kWindowClassName;
    if (!RegisterClassExA(&wc)) {
        MessageBoxA(nullptr, "Window Registration Failed!", "Error!", MB_ICONEXCLAMATION);
        return nullptr;
    }

    // The outer size that gives a 1350 x 750 client area (before the menu bar
    // is attached).
    RECT rc = {0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&rc, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_CLIENTEDGE);
    RECT workArea;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0))
        workArea = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const RECT place =
        placeMainWindow({GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, workArea,
                        {rc.right - rc.left, rc.bottom - rc.top});

    HWND main = CreateWindowExA(WS_EX_CLIENTEDGE, kWindowClassName, kWindowTitle,
                                WS_OVERLAPPEDWINDOW | WS_VISIBLE, place.left, place.top,
                                place.right - place.left, place.bottom - place.top, nullptr,
                                nullptr, instance, nullptr);
    if (!main) {
        MessageBoxA(nullptr, "Window Creation Failed!", "Error!", MB_ICONEXCLAMATION);
        return nullptr;
    }
    createControls(main, instance);
    SetMenu(main, buildMenuBar());
    return main;
}

int runMessageLoop() {
    MSG msg = {};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
