#include "app/backtest_chart.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <vector>

#include "app/backtest_screen.hpp"
#include "app/screen.hpp"
#include "history/polish.hpp"

using namespace zestawy;

const char kBacktestChartClass[] = "ZestawyWykres";

namespace {

const char* const kGroupNames[kWaitGroupCount] = {"poniżej 1×", "1–2×", "2–3×", "3–5×", "ponad 5×"};

// "0,5%", "6%": a tick of the scale, a round per cent with no trailing zeros.
std::string tickOf(double rate) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", rate * 100);
    std::string s = text;
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    std::replace(s.begin(), s.end(), '.', ',');
    return s + "%";
}

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
    return arialFont(-height, weight, CLEARTYPE_QUALITY);
}

// Where the chart is painted, and the texts painted so far where they are
// asked for.
struct Canvas {
    const WindowState& state;
    HDC dc;
    std::vector<ChartText>* texts;

    int scaled(int units) const { return state.scaled(units); }
    SIZE sizeOf(const std::string& s) const {
        const std::wstring w = wide(s);
        SIZE size = {0, 0};
        GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &size);
        return size;
    }
    void text(const std::string& s, RECT box, UINT format) const {
        drawText(dc, s, box, format);
        if (texts) texts->push_back({s, box, sizeOf(s)});
    }
    // The first of the texts that fits the box's width with a margin of a
    // text's height, or the last.
    void fitted(std::initializer_list<std::string> texts, RECT box, UINT format) const {
        for (const std::string& s : texts) {
            const SIZE size = sizeOf(s);
            if (size.cx + size.cy <= box.right - box.left || &s == texts.end() - 1)
                return text(s, box, format);
        }
    }
    void line(int x1, int y1, int x2, int y2) const {
        MoveToEx(dc, x1, y1, nullptr);
        LineTo(dc, x2, y2);
    }
};

// The plot's frame: its ticks at round steps (1, 2 or 5 times a power of
// ten), about five, from 0 to a little above `most`. The top of the scale.
double paintScale(const Canvas& c, RECT plot, double most) {
    const double power = std::pow(10.0, std::floor(std::log10(most * 1.1 / 5)));
    double step = power;
    for (const double times : {2.0, 5.0, 10.0})
        if (most * 1.1 / step > 6) step = power * times;
    const int ticks = static_cast<int>(std::ceil(most * 1.1 / step));
    const HPEN grid = CreatePen(PS_SOLID, 1, RGB(225, 225, 225));
    const HGDIOBJ oldPen = SelectObject(c.dc, grid);
    for (int tick = 0; tick <= ticks; ++tick) {
        const int y = plot.bottom - (plot.bottom - plot.top) * tick / ticks;
        c.line(plot.left, y, plot.right, y);
        c.text(tickOf(step * tick), {0, y - c.scaled(9), plot.left - c.scaled(6), y + c.scaled(9)},
               DT_RIGHT | DT_SINGLELINE | DT_VCENTER);
    }
    SelectObject(c.dc, oldPen);
    DeleteObject(grid);
    return step * ticks;
}

// The legend of the line of chance, above the plot, in the pen selected.
void paintChanceLegend(const Canvas& c, RECT plot, double perDraw) {
    const int legend = c.scaled(40), sample = c.scaled(30);
    c.line(plot.left, legend, plot.left + sample, legend);
    SetTextColor(c.dc, kChanceColour);
    c.text("sam przypadek: " + percentOf(perDraw),
           {plot.left + sample + c.scaled(6), legend - c.scaled(10), plot.right,
            legend + c.scaled(10)},
           DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    SetTextColor(c.dc, kBlack);
}

void paintChart(const WindowState& state, HDC dc, int width, int height,
                std::vector<ChartText>* texts = nullptr) {
    const Canvas c{state, dc, texts};
    const RECT all = {0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    FrameRect(dc, &all, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    SetBkMode(dc, TRANSPARENT);
    const HFONT font = fontOf(state.scaled(15), FW_NORMAL);
    const HGDIOBJ oldFont = SelectObject(dc, font);
    const BacktestShown* shown = shownBacktest(state);
    const int pad = state.scaled(10);
    if (!shown || !shown->error.empty() || shown->result.stopped || shown->result.judged == 0) {
        c.text("Tu pojawi się wykres: jak często pojawiały się zestawy w każdej grupie.",
               {pad, pad, width - pad, height - pad}, DT_LEFT | DT_WORDBREAK);
        SelectObject(dc, oldFont);
        DeleteObject(font);
        return;
    }
    const Backtest& r = shown->result;
    c.fitted({"Odsetek pojawień zestawów według czekania (razy średnia przerwa), z 95% przedziałem",
              "Odsetek pojawień według czekania (razy średnia przerwa), 95% przedział",
              "Odsetek pojawień według czekania"},
             {pad, pad / 2, width - pad, state.scaled(30)}, DT_LEFT | DT_SINGLELINE | DT_VCENTER);

    // The plot: rates from 0 at the bottom to a little above the highest.
    const RECT plot = {state.scaled(70), state.scaled(60), width - state.scaled(20),
                       height - state.scaled(50)};
    double most = r.perDraw;
    for (const GroupCount& g : r.groups) most = std::max(most, g.high);
    most = paintScale(c, plot, most);
    auto yOf = [&](double rate) {
        return plot.bottom - static_cast<int>(std::lround((plot.bottom - plot.top) * rate / most));
    };
    const HPEN black = CreatePen(PS_SOLID, std::max(1, state.scaled(2)), kBlack);
    const HPEN chance = CreatePen(PS_DASH, 1, kChanceColour);
    const HGDIOBJ oldPen = SelectObject(dc, black);
    const int slot = (plot.right - plot.left) / kWaitGroupCount;
    const HBRUSH bar = CreateSolidBrush(kBarColour);
    for (int g = 0; g < kWaitGroupCount; ++g) {
        const GroupCount& group = r.groups[g];
        const int x0 = plot.left + g * slot, middle = x0 + slot / 2;
        c.text(kGroupNames[g], {x0, plot.bottom + pad / 2, x0 + slot, plot.bottom + c.scaled(24)},
               DT_CENTER | DT_SINGLELINE);
        c.fitted({grouped(group.chances) + " szans",
                  compactCount(static_cast<double>(group.chances)) + " szans",
                  compactCount(static_cast<double>(group.chances))},
                 {x0, plot.bottom + c.scaled(24), x0 + slot, plot.bottom + c.scaled(44)},
                 DT_CENTER | DT_SINGLELINE);
        if (group.chances == 0) continue;
        const RECT column = {x0 + slot / 4, yOf(group.rate), x0 + slot * 3 / 4, plot.bottom};
        FillRect(dc, &column, bar);
        // The interval: a vertical line with a cap at each end.
        const int low = yOf(group.low), high = yOf(group.high), cap = slot / 10;
        c.line(middle, low, middle, high);
        c.line(middle - cap, low, middle + cap, low);
        c.line(middle - cap, high, middle + cap, high);
        c.text(percentOf(group.rate), {x0, high - c.scaled(22), x0 + slot, high - c.scaled(3)},
               DT_CENTER | DT_SINGLELINE | DT_BOTTOM);
    }
    // The line of chance across all the groups, named in a legend above the
    // plot, where no bar can cover it.
    SelectObject(dc, chance);
    c.line(plot.left, yOf(r.perDraw), plot.right, yOf(r.perDraw));
    paintChanceLegend(c, plot, r.perDraw);
    SelectObject(dc, black);
    c.line(plot.left, plot.top, plot.left, plot.bottom);
    c.line(plot.left, plot.bottom, plot.right, plot.bottom);
    SelectObject(dc, oldPen);
    for (HGDIOBJ object :
         {static_cast<HGDIOBJ>(black), static_cast<HGDIOBJ>(chance), static_cast<HGDIOBJ>(bar)})
        DeleteObject(object);
    SelectObject(dc, oldFont);
    DeleteObject(font);
}

LRESULT CALLBACK chartProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return guarded(GetParent(hwnd), [&]() -> LRESULT {
        LRESULT result = 0;
        const auto paint = [&](HDC memory, int width, int height) {
            paintChart(stateOf(GetParent(hwnd)), memory, width, height);
        };
        if (paintMessage(hwnd, msg, wParam, paint, result)) return result;
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    });
}

}  // namespace

std::vector<ChartText> chartTexts(HWND chart) {
    std::vector<ChartText> texts;
    const HDC screen = GetDC(chart);
    paintOffScreen(chart, screen, [&](HDC memory, int width, int height) {
        paintChart(stateOf(GetParent(chart)), memory, width, height, &texts);
    });
    ReleaseDC(chart, screen);
    return texts;
}

void registerBacktestChartClass(HINSTANCE instance) {
    registerClass(instance, {kBacktestChartClass, chartProc});
}
