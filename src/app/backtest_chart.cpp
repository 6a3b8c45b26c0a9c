#include "app/backtest_chart.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/backtest_screen.hpp"
#include "app/screen.hpp"
#include "history/polish.hpp"

using namespace zestawy;

const char kBacktestChartClass[] = "ZestawyWykres";

namespace {

const char* const kGroupNames[kWaitGroupCount] = {"poniżej 1×", "1–2×", "2–3×", "3–5×", "ponad 5×"};

// "6,02%": a rate in percent, with as many decimals as its size needs.
std::string percentOf(double rate) {
    char text[32];
    const double percent = rate * 100;
    if (percent <= 0) return "0%";
    std::snprintf(text, sizeof text,
                  percent >= 10  ? "%.1f%%"
                  : percent >= 1 ? "%.2f%%"
                                 : "%.3f%%",
                  percent);
    std::string s = text;
    std::replace(s.begin(), s.end(), '.', ',');
    return s;
}

HFONT fontOf(int height, int weight) {
    return CreateFontA(-height, 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, FF_SWISS | DEFAULT_PITCH, "Arial");
}

void text(HDC dc, const std::string& s, RECT box, UINT format) {
    DrawTextA(dc, s.c_str(), static_cast<int>(s.size()), &box, format | DT_NOPREFIX);
}

void line(HDC dc, int x1, int y1, int x2, int y2) {
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

void paintChart(const WindowState& state, HDC dc, int width, int height) {
    const RECT all = {0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    FrameRect(dc, &all, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    SetBkMode(dc, TRANSPARENT);
    const HFONT font = fontOf(state.scaled(15), FW_NORMAL);
    const HGDIOBJ oldFont = SelectObject(dc, font);
    const BacktestShown* shown = shownBacktest(state);
    const int pad = state.scaled(10);
    if (!shown || !shown->error.empty() || shown->result.stopped || shown->result.judged == 0) {
        text(dc, "Tu pojawi się wykres: jak często pojawiały się zestawy w każdej grupie.",
             {pad, pad, width - pad, height - pad}, DT_LEFT | DT_WORDBREAK);
        SelectObject(dc, oldFont);
        DeleteObject(font);
        return;
    }
    const Backtest& r = shown->result;
    text(dc, "Odsetek pojawień zestawów według czekania (razy średnia przerwa), z 95% przedziałem",
         {pad, pad / 2, width - pad, state.scaled(30)}, DT_LEFT | DT_SINGLELINE | DT_VCENTER);

    // The plot: rates from 0 at the bottom to a little above the highest.
    const int left = state.scaled(70), right = width - state.scaled(20);
    const int top = state.scaled(60), bottom = height - state.scaled(50);
    double most = r.perDraw;
    for (const GroupCount& g : r.groups) most = std::max(most, g.high);
    // Ticks at round steps (1, 2 or 5 times a power of ten), about five.
    const double power = std::pow(10.0, std::floor(std::log10(most * 1.1 / 5)));
    double step = power;
    for (const double times : {2.0, 5.0, 10.0})
        if (most * 1.1 / step > 6) step = power * times;
    const int ticks = static_cast<int>(std::ceil(most * 1.1 / step));
    most = step * ticks;
    auto yOf = [&](double rate) {
        return bottom - static_cast<int>(std::lround((bottom - top) * rate / most));
    };
    const HPEN grid = CreatePen(PS_SOLID, 1, RGB(225, 225, 225));
    const HPEN black = CreatePen(PS_SOLID, std::max(1, state.scaled(2)), RGB(0, 0, 0));
    const HPEN chance = CreatePen(PS_DASH, 1, RGB(200, 30, 30));
    const HGDIOBJ oldPen = SelectObject(dc, grid);
    for (int tick = 0; tick <= ticks; ++tick) {
        const double rate = step * tick;
        const int y = yOf(rate);
        line(dc, left, y, right, y);
        text(dc, percentOf(rate),
             {0, y - state.scaled(9), left - state.scaled(6), y + state.scaled(9)},
             DT_RIGHT | DT_SINGLELINE | DT_VCENTER);
    }
    const int slot = (right - left) / kWaitGroupCount;
    const HBRUSH bar = CreateSolidBrush(kBarColour);
    for (int g = 0; g < kWaitGroupCount; ++g) {
        const GroupCount& group = r.groups[g];
        const int x0 = left + g * slot, middle = x0 + slot / 2;
        text(dc, kGroupNames[g],
             {x0, bottom + state.scaled(4), x0 + slot, bottom + state.scaled(24)},
             DT_CENTER | DT_SINGLELINE);
        text(dc, grouped(group.chances) + " szans",
             {x0, bottom + state.scaled(24), x0 + slot, bottom + state.scaled(44)},
             DT_CENTER | DT_SINGLELINE);
        if (group.chances == 0) continue;
        const RECT column = {x0 + slot / 4, yOf(group.rate), x0 + slot * 3 / 4, bottom};
        FillRect(dc, &column, bar);
        // The interval: a vertical line with a cap at each end.
        SelectObject(dc, black);
        const int low = yOf(group.low), high = yOf(group.high), cap = slot / 10;
        line(dc, middle, low, middle, high);
        line(dc, middle - cap, low, middle + cap, low);
        line(dc, middle - cap, high, middle + cap, high);
        text(dc, percentOf(group.rate),
             {x0, high - state.scaled(22), x0 + slot, high - state.scaled(3)},
             DT_CENTER | DT_SINGLELINE | DT_BOTTOM);
    }
    // The line of chance across all the groups, named in a legend above the
    // plot, where no bar can cover it.
    SelectObject(dc, chance);
    const int y = yOf(r.perDraw);
    line(dc, left, y, right, y);
    const int legend = state.scaled(40), sample = state.scaled(30);
    const RECT name = {left + sample + state.scaled(6), legend - state.scaled(10), right,
                       legend + state.scaled(10)};
    line(dc, left, legend, left + sample, legend);
    SetTextColor(dc, RGB(200, 30, 30));
    text(dc, "sam przypadek: " + percentOf(r.perDraw), name, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    SetTextColor(dc, RGB(0, 0, 0));
    SelectObject(dc, black);
    line(dc, left, top, left, bottom);
    line(dc, left, bottom, right, bottom);
    SelectObject(dc, oldPen);
    for (HGDIOBJ object : {static_cast<HGDIOBJ>(grid), static_cast<HGDIOBJ>(black),
                           static_cast<HGDIOBJ>(chance), static_cast<HGDIOBJ>(bar)})
        DeleteObject(object);
    SelectObject(dc, oldFont);
    DeleteObject(font);
}

// Painted off screen and copied at once: no flicker.
void paintBuffered(HWND hwnd, HDC dc) {
    paintOffScreen(hwnd, dc, [&](HDC memory, int width, int height) {
        paintChart(stateOf(GetParent(hwnd)), memory, width, height);
    });
}

LRESULT CALLBACK chartProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return guarded(GetParent(hwnd), [&]() -> LRESULT {
        switch (msg) {
            case WM_ERASEBKGND:
                return 1;
            case WM_PAINT: {
                PAINTSTRUCT ps;
                const HDC dc = BeginPaint(hwnd, &ps);
                paintBuffered(hwnd, dc);
                EndPaint(hwnd, &ps);
                return 0;
            }
            case WM_PRINTCLIENT:
                paintBuffered(hwnd, reinterpret_cast<HDC>(wParam));
                return 0;
            default:
                return DefWindowProcA(hwnd, msg, wParam, lParam);
        }
    });
}

}  // namespace

void registerBacktestChartClass(HINSTANCE instance) {
    WNDCLASSEXA chart = {};
    chart.cbSize = sizeof chart;
    chart.lpfnWndProc = chartProc;
    chart.hInstance = instance;
    chart.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    chart.lpszClassName = kBacktestChartClass;
    RegisterClassExA(&chart);
}
