// The pen routines of the plot device. Centimetres are scaled by FACT, shifted by the origin and
// truncated to whole pixels; the device keeps all its bookkeeping (last point, pens, counters)
// even when no surface is attached, so traces and WHERE answer the same with or without one.
#include "device/plot.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "runtime/format.hpp"

namespace korvex::device {

namespace {

using platform::Color;
using platform::Pen;
using platform::PenStyle;
using platform::Point;

// Truncation toward zero of a pixel coordinate. A value that no int holds (a curve value gone to
// infinity, a scale of 0 cm) is held at a far-away pixel instead of overflowing; NaN goes to 0.
int to_pixel(float v) {
    if (std::isnan(v)) return 0;
    constexpr float LIMIT = 1.0e8f;
    v = std::clamp(v, -LIMIT, LIMIT);
    return static_cast<int>(v);
}

struct Mapped {
    float XA, YA;  // scaled centimetres from the top left corner
    int IX, IY;
};

Mapped map_point(Device& d, float X, float Y) {
    Mapped m;
    d.XLAST = d.FACT * X;
    d.YLAST = -d.FACT * Y;
    m.XA = d.XLAST + d.XORIG;
    m.YA = d.YLAST + d.YORIG;
    m.IX = to_pixel(static_cast<float>(d.IPIXX) * m.XA);
    m.IY = to_pixel(static_cast<float>(d.IPIXY) * m.YA);
    return m;
}

Color colour_of(int C) {
    switch (C) {
        case 2: return {255, 0, 0};
        case 3: return {255, 0, 255};
        case 4: return {0, 255, 0};
        case 5: return {0, 240, 240};
        case 6:
        case 14: return {20, 160, 20};
        case 7: return {0, 0, 0};
        case 8:
        case 11: return {191, 35, 191};
        case 9: return {40, 43, 80};
        case 10: return {154, 56, 10};
        case 12: return {35, 238, 12};
        case 13: return {0, 200, 200};
        case 15: return {255, 255, 0};
        case 18: return {200, 200, 200};
        default: return {0, 0, 255};  // below 0, 1, 16, 17, 19, 20 and above 20
    }
}

PenStyle style_of(int S) {
    switch (S) {
        case 2:
        case 7: return PenStyle::Dash;
        case 3:
        case 6: return PenStyle::Dot;
        case 4:
        case 8: return PenStyle::DashDot;
        case 5: return PenStyle::DashDotDot;
        default: return PenStyle::Solid;
    }
}

// The record that ends a page or the job at trace level 6.
void trace_page_end(Plotter& p, const char* head) {
    const Device& d = p.dev;
    p.units.u9.record(head, runtime::I(d.HDC, 5), " hPen=", runtime::I(d.HPEN_ID, 6),
                      " hPenOld=", runtime::I(d.HPENOLD_ID, 6), " hWnd=", runtime::I(d.HWND, 6));
}

// The mark in the lower left corner that closes a page: a box, the label in red, then a black
// one-pixel pen at pixel (0, 0).
void page_mark(Plotter& p, int box_width, std::string_view label) {
    Device& d = p.dev;
    if (d.surface) {
        d.surface->rectangle(0, d.ISIZEY - 25, box_width, d.ISIZEY);
        d.surface->select_pen(d.HPENOLD);
        d.surface->set_text_color({255, 0, 0});
        d.surface->text({2, d.ISIZEY - 22}, label);
    }
    SETPEN(p, 1, 1, 7);
    if (d.surface) d.surface->move_to({0, 0});
}

}  // namespace

void PLOTS(Plotter& p, float XL, float YL, float F) {
    Device& d = p.dev;
    d.FACT = F < 0.0001f ? 1.0f : F;
    if (std::isnan(F)) d.FACT = 1.0f;
    const float XLS = XL * d.FACT;
    const float YLS = YL * d.FACT;
    // Whole pixels per centimetre. An area of 0 cm (or NPANEL 0) has no scale: it maps every
    // point to pixel 0 as before the first PLOTS, instead of dividing by zero.
    const float qx = static_cast<float>(d.ISIZEX) / (static_cast<float>(d.NPANEL) * XLS);
    const float qy = static_cast<float>(d.ISIZEY) / YLS;
    d.IPIXX = std::isfinite(qx) ? to_pixel(qx) : 0;
    d.IPIXY = std::isfinite(qy) ? to_pixel(qy) : 0;
    const float XMAX = d.IPIXX != 0 ? static_cast<float>(d.ISIZEX / d.IPIXX) : 0.0f;
    const float YMAX = d.IPIXY != 0 ? static_cast<float>(d.ISIZEY / d.IPIXY) : 0.0f;
    d.YORIG = YLS;

    if (p.units.level(4)) {
        auto& u6 = p.units.u6;
        auto& u9 = p.units.u9;
        const bool l5 = p.units.level(5);
        u9.free(" PLOTS: EINGEGEBENE ACHSENLAENGEN: XL=", XLS, " YL=", YLS, " CM");
        if (l5) u6.free(" EINGEGEBENE ACHSENLAENGEN: XL=", XLS, " YL=", YLS, " CM");
        u6.free(" PLOTS: SIZE_X =", d.ISIZEX, " SIZE_:Y =", d.ISIZEY, " PIXELS");
        u9.free(" WINDOW: SIZE_X =", d.ISIZEX, " SIZE_:Y =", d.ISIZEY, " PIXELS");
        if (l5) u6.free(" WINDOW: SIZE_X =", d.ISIZEX, " SIZE_:Y =", d.ISIZEY, " PIXELS");
        u9.free(" WINDOW MASSTAB: IPIXX=", d.IPIXX, " IPIXY=", d.IPIXY,
                " PIXELS/CM; ZEICHNUNGSFAKTOR=", d.FACT);
        if (l5)
            u6.free(" WINDOW MASSTAB: IPIXX=", d.IPIXX, " IPIXY=", d.IPIXY,
                    " PIXELS/CM; ZEICHNUNGSFAKTOR=", d.FACT);
        u9.free("DAMIT WIRD DER ZEICHENBEREICH HORIZONTAL: ", XMAX, " UND VERTIKAL : ", YMAX, " CM");
        if (l5)
            u6.free("DAMIT WIRD DER ZEICHENBEREICH HORIZONTAL: ", XMAX, " UND VERTIKAL : ", YMAX,
                    " CM");
    }
}

void note_lettering(Plotter& p, float X0, float Y0, float X1, float Y1, Lettering kind) {
    Device& d = p.dev;
    if (d.lettering == nullptr) return;
    auto px = [&](float X) { return to_pixel(static_cast<float>(d.IPIXX) * (d.FACT * X + d.XORIG)); };
    auto py = [&](float Y) { return to_pixel(static_cast<float>(d.IPIXY) * (-d.FACT * Y + d.YORIG)); };
    LetteringBox b{kind, d.pages_ended + 1, px(0.0f), py(0.0f), px(X0), py(Y1), px(X1), py(Y0)};
    if (b.left > b.right) std::swap(b.left, b.right);
    if (b.top > b.bottom) std::swap(b.top, b.bottom);
    d.lettering->push_back(b);
}

void PLOT(Plotter& p, float X, float Y, int IPEN) {
    Device& d = p.dev;
    ++d.NPLOT;
    const Mapped m = map_point(d, X, Y);
    int IX = m.IX, IY = m.IY;

    // Only the right and lower edges are guarded; the surface clips what lies left or above.
    if (IX > d.ISIZEX) {
        if (p.units.level(3))
            p.units.u9.free("DO NOT DRAW OUTSIDE THE WINDOW.X : IX =", IX, " wird  zu:", d.ISIZEX - 5);
        IX = d.ISIZEX - 5;
    }
    if (IY > d.ISIZEY) {
        if (p.units.level(3))
            p.units.u9.free("DO NOT DRAW OUTSIDE THE WINDOW.Y : IY =", IY, " wird  zu:", d.ISIZEY - 5);
        IY = d.ISIZEY - 5;
    }

    const long long code = std::llabs(static_cast<long long>(IPEN));
    if (d.surface) {
        if (code == 2)
            d.surface->line_to({IX, IY});
        else if (code == 3)
            d.surface->move_to({IX, IY});
    }

    if (IPEN == -999 || IPEN == 999) ++d.pages_ended;
    if (IPEN == -999) {
        d.XORIG = d.YORIG = 0.0f;
        if (p.units.level(6)) trace_page_end(p, " PLOT -999 hDC=");
        page_mark(p, 25, runtime::I(p.NEWDIA, 2));
    } else if (IPEN == 999) {
        d.XORIG = d.YORIG = 0.0f;
        if (p.units.level(6)) trace_page_end(p, " PLOT  999 hDC=");
        page_mark(p, 30, "999");
        if (p.units.level(3)) {
            p.units.u9.free(" PLOT: N=  999; hWnd= ", d.HWND, " hDC=", d.HDC);
            p.units.u9.record(" =========>> ", runtime::I(d.NPLOT, 10),
                              " PLOT AUFRUFE <<=========      NFAIL =", runtime::I(p.NFAIL, 6));
        }
    } else if (IPEN < 0) {
        d.XORIG = m.XA;
        d.YORIG = m.YA;
    } else if (IPEN == 0) {
        ++p.NFAIL;
        p.units.u6.free("3. ARGUMENT IN CALL PLOT MUST NOT BE = 0");
        p.units.u9.free("3. ARGUMENT IN CALL PLOT MUST NOT BE = 0");
    }
}

void POLYLN(Plotter& p, const float* X, const float* Y, int N) {
    constexpr int MAXPTS = 2003;
    N = std::clamp(N, 0, MAXPTS);
    if (N == 0 || X == nullptr || Y == nullptr) return;
    Device& d = p.dev;
    std::array<Point, MAXPTS> pts;
    for (int i = 0; i < N; ++i) {
        const Mapped m = map_point(d, X[i], Y[i]);
        pts[i] = {m.IX, m.IY};
    }
    if (d.surface) d.surface->polyline(std::span<const Point>(pts.data(), static_cast<std::size_t>(N)));
}

void WHERE(const Device& d, float& X, float& Y, float& F) {
    F = d.FACT;
    if (d.FACT == 0.0f) {
        X = Y = 0.0f;
        return;
    }
    X = d.XLAST / d.FACT;
    Y = -d.YLAST / d.FACT;
}

void SETPEN(Plotter& p, int S, int W, int C) {
    Device& d = p.dev;

    int width = W;
    if (W > 100 || W < -100) {
        width = 2;
        if (W < -100) d.wide_after_negative = true;
    } else if (W == 0 && d.wide_after_negative) {
        width = 2;
    }

    if (C != 0) d.colour_in_force = C;
    // Before any colour was chosen, keeping the colour means black.
    Color colour = d.colour_in_force == 0 ? Color{0, 0, 0} : colour_of(d.colour_in_force);
    if (d.MONO) colour = {0, 0, 0};

    if (S != 0) {
        int s = S;
        if (s > 8) s = std::min(s - 8, 8);
        d.style_in_force = s;
    }

    if (d.surface) d.surface->select_pen(d.HPENOLD);
    // A style outside 1..8 creates no pen: drawing goes on with the old pen until the next change.
    if (d.style_in_force < 1 || d.style_in_force > 8) return;
    d.HPEN = Pen{style_of(d.style_in_force), width, colour};
    d.width_in_force = width;
    if (d.HPEN_ID == 0) d.HPEN_ID = d.HPENOLD_ID + 1;  // the new pen takes the freed handle
    if (d.surface) d.surface->select_pen(d.HPEN);
}

}  // namespace korvex::device
