// The coupon picture: painted off screen, hit-tested by the same cells.
#include "app/coupon.hpp"

#include "app/screen.hpp"
#include "app/window_state.hpp"
#include "history/polish.hpp"

using namespace zestawy;

const char kCouponClassName[] = "ZestawyKupon";

namespace {

struct CouponShape {
    int rows, columns;
};

CouponShape shapeOf(const GameRow& game) {
    switch (game.game) {
        case Game::MultiMulti:
            return {8, 10};
        case Game::MiniLotto:
            return {6, 7};
        default:
            return {7, 7};
    }
}

struct Band {
    double below;  // wait / average gap
    COLORREF colour;
    const char* name;
};
const Band kBands[] = {
    {1, RGB(200, 230, 200), "krócej niż średnio"},
    {2, RGB(255, 240, 170), "1–2 razy średnio"},
    {3, RGB(255, 205, 150), "2–3 razy"},
    {1e300, RGB(240, 150, 140), "ponad 3 razy"},
};
const COLORREF kChosen = RGB(160, 190, 240);
constexpr int kTitle = 30, kLegend = 36;  // design units

// The cell of the number v in the picture of the given client size.
RECT cellOf(const CouponShape& shape, int v, int width, int height, int title, int legend) {
    const int column = (v - 1) % shape.columns, row = (v - 1) / shape.columns;
    const int w = width / shape.columns, h = (height - title - legend) / shape.rows;
    return {column * w, title + row * h, (column + 1) * w, title + (row + 1) * h};
}

HFONT fontOf(int height, int weight) {
    return arialFont(-height, weight, CLEARTYPE_QUALITY);
}

void drawText(HDC dc, const std::string& text, RECT box, UINT format, HFONT font) {
    const HGDIOBJ old = SelectObject(dc, font);
    ::drawText(dc, text, box, format);
    SelectObject(dc, old);
}

CouponSource* sourceOf(HWND coupon) {
    return reinterpret_cast<CouponSource*>(GetWindowLongPtrW(coupon, GWLP_USERDATA));
}

void paintCoupon(const WindowState& state, const CouponPicture& picture, HDC dc, int width,
                 int height) {
    const HBRUSH background = CreateSolidBrush(kGrey);
    const RECT all = {0, 0, width, height};
    FillRect(dc, &all, background);
    DeleteObject(background);
    SetBkMode(dc, TRANSPARENT);
    const int title = state.scaled(kTitle), legend = picture.legend ? state.scaled(kLegend) : 0;
    const HFONT small = fontOf(state.scaled(15), FW_NORMAL);
    if (!picture.game) {
        drawText(dc, picture.hint, {8, 8, width, title}, DT_LEFT | DT_SINGLELINE, small);
        DeleteObject(small);
        return;
    }
    const CouponShape shape = shapeOf(*picture.game);
    const int n = picture.game->rules.maxNumber;
    const std::vector<std::size_t>& waits = picture.waits;
    const double gap = picture.gap;
    drawText(dc, picture.heading, {8, 0, width, title}, DT_LEFT | DT_VCENTER | DT_SINGLELINE,
             small);

    const RECT first = cellOf(shape, 1, width, height, title, legend);
    const int cellHeight = first.bottom - first.top;
    const HFONT big = fontOf(cellHeight * 2 / 5, FW_BOLD), note = fontOf(cellHeight / 4, FW_NORMAL);
    const HPEN pen = CreatePen(PS_SOLID, 1, RGB(90, 90, 90));
    const HGDIOBJ oldPen = SelectObject(dc, pen);
    for (int v = 1; v <= n; ++v) {
        RECT cell = cellOf(shape, v, width, height, title, legend);
        // Without waits (nothing checked yet) the numbers are white.
        const bool known = waits.size() > static_cast<std::size_t>(v);
        const double ratio =
            known ? static_cast<double>(waits[static_cast<std::size_t>(v)]) / gap : 0;
        const bool chosen = picture.chosen.size() > static_cast<std::size_t>(v) &&
                            picture.chosen[static_cast<std::size_t>(v)];
        COLORREF colour = chosen ? kChosen : RGB(255, 255, 255);
        if (!chosen && known)
            for (const Band& band : kBands)
                if (ratio < band.below) {
                    colour = band.colour;
                    break;
                }
        const HBRUSH fill = CreateSolidBrush(colour);
        const HGDIOBJ oldBrush = SelectObject(dc, fill);
        Rectangle(dc, cell.left + 1, cell.top + 1, cell.right - 1, cell.bottom - 1);
        SelectObject(dc, oldBrush);
        DeleteObject(fill);
        RECT top = cell, bottom = cell;
        top.bottom = cell.top + cellHeight * 3 / 5;
        bottom.top = top.bottom;
        drawText(dc, std::to_string(v), top, DT_CENTER | DT_BOTTOM | DT_SINGLELINE, big);
        if (known && (!chosen || picture.waitOfChosen))
            drawText(dc, grouped(waits[static_cast<std::size_t>(v)]), bottom,
                     DT_CENTER | DT_TOP | DT_SINGLELINE, note);
    }
    SelectObject(dc, oldPen);
    DeleteObject(pen);

    // The legend: the bands of wait against the average gap.
    const int count = sizeof kBands / sizeof kBands[0];
    for (int i = 0; i < count && legend > 0; ++i) {
        const RECT swatch = {i * width / count + 8, height - legend + 8,
                             i * width / count + 8 + legend - 16, height - 8};
        const HBRUSH fill = CreateSolidBrush(kBands[i].colour);
        FillRect(dc, &swatch, fill);
        DeleteObject(fill);
        drawText(dc, kBands[i].name,
                 {swatch.right + 6, swatch.top, (i + 1) * width / count, swatch.bottom},
                 DT_LEFT | DT_VCENTER | DT_SINGLELINE, small);
    }
    DeleteObject(big);
    DeleteObject(note);
    DeleteObject(small);
}

LRESULT couponMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const WindowState* state = nullptr;
    if (const HWND main = GetParent(hwnd)) state = &stateOf(main);
    // Painted off screen and copied at once: no flicker.
    LRESULT result = 0;
    const auto paint = [&](HDC memory, int width, int height) {
        const CouponSource* source = sourceOf(hwnd);
        paintCoupon(*state, source ? source->picture() : CouponPicture{}, memory, width, height);
    };
    if (paintMessage(hwnd, msg, wParam, paint, result)) return result;
    switch (msg) {
        case WM_LBUTTONDOWN: {
            CouponSource* source = sourceOf(hwnd);
            const CouponPicture picture = source ? source->picture() : CouponPicture{};
            if (!picture.game) return 0;
            RECT client;
            GetClientRect(hwnd, &client);
            const POINT at = {static_cast<short>(LOWORD(lParam)),
                              static_cast<short>(HIWORD(lParam))};
            int hit = 0;
            for (int v = 1; v <= picture.game->rules.maxNumber; ++v) {
                const RECT cell =
                    cellOf(shapeOf(*picture.game), v, client.right, client.bottom,
                           state->scaled(kTitle), picture.legend ? state->scaled(kLegend) : 0);
                if (PtInRect(&cell, at)) hit = v;
            }
            source->click(hit);
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        }
        default:
            return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

LRESULT CALLBACK couponProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return guarded(GetParent(hwnd), [&] { return couponMessage(hwnd, msg, wParam, lParam); });
}

}  // namespace

void registerCouponClass(HINSTANCE instance) {
    registerClass(instance, {kCouponClassName, couponProc, IDC_HAND});
}

void setCouponSource(HWND coupon, CouponSource* source) {
    SetWindowLongPtrW(coupon, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(source));
    InvalidateRect(coupon, nullptr, FALSE);
}
