// The plot library: everything here draws through PLOT, POLYLN and SETPEN of the plot device
// and keeps no state between calls.
#include "diagrams/plotlib.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <string>

#include "device/plot.hpp"
#include "diagrams/font.hpp"
#include "runtime/format.hpp"

namespace korvex::diagrams {

namespace {

constexpr float PI = 3.141592654f;
constexpr int MAXPTS = 2003;

float aint(float v) { return std::trunc(v); }

// Direction of an angle in degrees; the quarter turns are exact, so that lettering along a
// vertical axis lands on the same pixels as the axis itself.
struct Dir {
    float c, s;
};
Dir direction(float angle) {
    if (angle == 0.0f) return {1.0f, 0.0f};
    if (angle == 90.0f) return {0.0f, 1.0f};
    if (angle == 180.0f || angle == -180.0f) return {-1.0f, 0.0f};
    if (angle == 270.0f || angle == -90.0f) return {0.0f, -1.0f};
    const float a = angle * PI / 180.0f;
    return {std::cos(a), std::sin(a)};
}

// Draws a glyph whose lower left corner is at (x0, y0), with font units fx along and fy across
// the direction d.
void draw_glyph(device::Plotter& p, const Glyph& g, float x0, float y0, float fx, float fy, Dir d) {
    for (int j = 0; j < g.n; ++j) {
        const float gx = static_cast<float>(g.pt[j][0]) * fx;
        const float gy = static_cast<float>(g.pt[j][1]) * fy;
        device::PLOT(p, x0 + gx * d.c - gy * d.s, y0 + gx * d.s + gy * d.c, g.is_move(j) ? 3 : 2);
    }
}

// Advance and height of lettering of height H: a negative H letters narrowly.
void letter_size(float H, float& advance, float& height) {
    advance = H > 0.0f ? H : -6.0f * H / 7.0f;
    height = std::fabs(H);
}

// One line of the grid: across the frame at distance pos from its origin, in x (vertical line)
// or in y (horizontal line); every other line runs back, so the pen never travels empty.
void grid_line(device::Plotter& p, bool vertical, float X, float Y, float XSIZE, float YSIZE,
               float pos, bool back) {
    if (vertical) {
        const float x = X + pos;
        device::PLOT(p, x, back ? Y + YSIZE : Y, 3);
        device::PLOT(p, x, back ? Y : Y + YSIZE, 2);
    } else {
        const float y = Y + pos;
        device::PLOT(p, back ? X + XSIZE : X, y, 3);
        device::PLOT(p, back ? X : X + XSIZE, y, 2);
    }
}

// A grid with a step of 0.001 cm over a whole page would be a solid block; past this many lines
// in one direction the rest are left out rather than keeping the pen busy forever.
constexpr int MAXGRIDLINES = 2000;

constexpr std::array<float, 8> LOGSTEPS = {0.3010f, 0.4771f, 0.6021f, 0.6990f,
                                           0.7782f, 0.8451f, 0.9031f, 0.9542f};

// Major lines in one direction: every |m| cm, or logarithmic decades of |m| cm when m < 0.
// Lines on the frame itself are left to the frame.
void major_lines(device::Plotter& p, bool vertical, float X, float Y, float XSIZE, float YSIZE,
                 float m) {
    const float size = vertical ? XSIZE : YSIZE;
    const float step = std::fabs(m);
    if (!(step >= 0.001f)) return;
    const float edge = 0.001f;
    int drawn = 0;
    auto line = [&](float pos) {
        if (pos <= edge || pos >= size - edge) return;
        grid_line(p, vertical, X, Y, XSIZE, YSIZE, pos, (drawn % 2) != 0);
        ++drawn;
    };
    if (m > 0.0f) {
        for (int k = 1; drawn < MAXGRIDLINES && static_cast<float>(k) * step < size - edge; ++k)
            line(static_cast<float>(k) * step);
    } else {
        for (int dec = 0; drawn < MAXGRIDLINES && static_cast<float>(dec) * step < size; ++dec) {
            const float base = static_cast<float>(dec) * step;
            line(base);
            for (float f : LOGSTEPS) line(base + step * f);
        }
    }
}

// Minor lines in one direction at i*d, i = 1..AINT(size/d + 0.1); the last one goes when it
// would fall on the far edge.
void minor_lines(device::Plotter& p, bool vertical, float X, float Y, float XSIZE, float YSIZE,
                 float d) {
    if (!(d >= 0.001f)) return;
    const float size = vertical ? XSIZE : YSIZE;
    const float q = aint(size / d + 0.1f);
    const int n = q > static_cast<float>(MAXGRIDLINES) ? MAXGRIDLINES : static_cast<int>(q);
    for (int i = 1; i <= n; ++i) {
        const float pos = static_cast<float>(i) * d;
        if (i == n && pos > size - 0.1f * d) break;
        grid_line(p, vertical, X, Y, XSIZE, YSIZE, pos, (i % 2) == 0);
    }
}

}  // namespace

void SKALIE(std::span<float> A, float L, int N, int K) {
    if (N <= 0 || K == 0 || !(L > 0.0f) || !std::isfinite(L)) return;
    const long long k = std::llabs(static_cast<long long>(K));
    const long long cell_first = static_cast<long long>(N) * k;
    const long long cell_delta = cell_first + k;
    if (cell_delta >= static_cast<long long>(A.size())) return;

    // Smallest and largest value; values that are not numbers take no part.
    float Y0 = 0.0f, YN = 0.0f;
    bool any = false;
    for (long long i = 0; i < N; ++i) {
        const float v = A[static_cast<std::size_t>(i * k)];
        if (!std::isfinite(v)) continue;
        if (!any || v < Y0) Y0 = v;
        if (!any || v > YN) YN = v;
        any = true;
    }

    constexpr std::array<float, 7> NICE = {1.0f, 2.0f, 4.0f, 5.0f, 8.0f, 10.0f, 20.0f};
    float FAD = 0.01f;
    if (Y0 < 0.0f) FAD -= 1.0f;
    float D = (YN - Y0) / L;
    if (D <= 0.0f) D = std::fabs(2.0f * Y0 / L) + 1.0f;
    if (!std::isfinite(D)) return;
    const int e = static_cast<int>(std::log10(D) + 1000.0f) - 1000;
    const float P = std::pow(10.0f, static_cast<float>(e));
    const float Dn = D / P - 0.01f;
    int i = 0;
    while (i < 6 && NICE[static_cast<std::size_t>(i)] < Dn) ++i;

    float DELTA_V = 0.0f, FIRST_V = 0.0f;
    for (;;) {
        DELTA_V = NICE[static_cast<std::size_t>(i)] * P;
        FIRST_V = DELTA_V * aint(Y0 / DELTA_V + FAD);
        if (FIRST_V + (L + 0.01f) * DELTA_V >= YN) break;
        FIRST_V = P * aint(Y0 / P + FAD);
        if (FIRST_V + (L + 0.01f) * DELTA_V >= YN) break;
        // The table ends at 20: an axis too short for the data keeps the coarsest scale.
        if (i == 6) break;
        ++i;
    }
    // Centre the data on the axis.
    FIRST_V = FIRST_V - aint(((FIRST_V - YN) / DELTA_V + L) * 0.5f) * DELTA_V;
    if (Y0 * FIRST_V <= 0.0f) FIRST_V = 0.0f;
    if (K < 0) {
        FIRST_V = FIRST_V + aint(L + 0.5f) * DELTA_V;
        DELTA_V = -DELTA_V;
    }
    A[static_cast<std::size_t>(cell_first)] = FIRST_V;
    A[static_cast<std::size_t>(cell_delta)] = DELTA_V;
}

int axis_exponent(float DELTAV) {
    int E = 0;
    float a = std::fabs(DELTAV);
    if (a == 0.0f || !std::isfinite(a)) return 0;
    while (a >= 999.0f) {
        a /= 10.0f;
        ++E;
    }
    while (a < 0.01f) {
        a *= 10.0f;
        --E;
    }
    return E;
}

int axis_decimals(float DELTAV, int NDEC) {
    if (NDEC >= 0) return NDEC;
    // Two decimals for a step with a fraction worth showing. The test takes the size of the
    // step, so a descending axis is labelled like an ascending one: 2.5 and -2.5 both get
    // two decimals instead of the descending labels being rounded to whole numbers.
    const float a = std::fabs(DELTAV);
    int nd = 0;
    if (a > 1.0f && a - aint(a) > 0.1f) nd = 2;
    if (a < 1.0f) nd = 2;
    if (a < 0.01f) nd = 3;
    if (a < 0.001f) nd = 4;
    return nd;
}

std::string number_text(float VALUE, int NDEC) {
    NDEC = std::min(NDEC, 9);
    std::string text;
    if (NDEC >= 0) {
        text = runtime::F(VALUE, 30, NDEC);
    } else {
        // Beyond 10**-40 every float value rounds to 0 anyway.
        const int e = std::max(NDEC, -40) + 1;
        const float v = VALUE * std::pow(10.0f, static_cast<float>(e));
        text = runtime::F(v, 30, 0);
        text.pop_back();  // the decimal point
    }
    const std::size_t first = text.find_first_not_of(' ');
    text.erase(0, first == std::string::npos ? text.size() : first);
    return text;
}

void ACHSE(device::Plotter& p, float X, float Y, std::string_view TITLE, int NC, float L,
           float ANGLE, float FIRSTV, float DELTAV, int NDEC, float H) {
    const float s = NC >= 0 ? 1.0f : -1.0f;
    const int nc = NC >= 0 ? NC : (NC == INT32_MIN ? INT32_MAX : -NC);
    const int title_len = static_cast<int>(std::min<long long>(nc, static_cast<long long>(TITLE.size())));

    const int E = axis_exponent(DELTAV);
    // Labels show value * 10**-E; dividing by a whole power of ten keeps whole labels whole.
    const float ten_e = std::pow(10.0f, static_cast<float>(std::abs(E)));
    auto label = [&](float v) { return E >= 0 ? v / ten_e : v * ten_e; };
    const int nd = axis_decimals(DELTAV, NDEC);

    const Dir u = direction(ANGLE);
    const Dir n{-u.s, u.c};  // the counter-clockwise side
    auto at = [&](float along, float across, float& x, float& y) {
        x = X + along * u.c + across * n.c;
        y = Y + along * u.s + across * n.s;
    };

    // Ticks from the start, one per cm; a fractional or absurd length is cut to what fits.
    const float ltrunc = std::isfinite(L) ? std::clamp(aint(1.0f + L), 0.0f, 1000.0f) : 0.0f;
    p.dev.lettering_kind = device::Lettering::axis;
    const int NT = static_cast<int>(ltrunc);
    const float tick = 0.7f * H;
    float x, y;

    for (int t = 0; t < NT; ++t) {
        const float ft = static_cast<float>(t);
        if (nd >= 2) {  // a mark on the other side too, drawn with the number
            at(ft, 0.0f, x, y);
            device::PLOT(p, x, y, 3);
            at(ft, -s * tick, x, y);
            device::PLOT(p, x, y, 2);
        }
        at(ft - 1.4f * H, (s - 0.4f) * 1.4f * H, x, y);
        NUMBER(p, x, y, H, label(FIRSTV + ft * DELTAV), ANGLE, nd);
    }

    // Title centred on the axis; with an exponent "*10" and the exponent follow it. A title
    // longer than its axis is lettered smaller, so that it stays beside the axis (and on the page)
    // at the distance of a title of full height.
    const float places = static_cast<float>(title_len + (E != 0 ? 7 : 0));
    const float th0 = 1.4f * H;
    const float th = places * std::fabs(th0) > L && L > 0.0f ? std::copysign(L / places, th0) : th0;
    const float half = th == th0 ? 0.7f * H : 0.5f * th;  // half a title place
    const float title_start = 0.5f * L - half * places;
    const float title_off = th0 * (3.1f * s - 0.7f);
    at(title_start, title_off, x, y);
    SYMBOL(p, x, y, th, TITLE, ANGLE, title_len);
    if (E != 0) {
        const float star = title_start + static_cast<float>(title_len + 2) * th;
        at(star, title_off, x, y);
        SYMBOL(p, x, y, th, "*10", ANGLE, 3);
        at(star + 3.0f * th, title_off + 0.8f * th, x, y);
        NUMBER(p, x, y, half, static_cast<float>(E), ANGLE, -1);
    }

    p.dev.lettering_kind = device::Lettering::text;
    // The line, from the far end back to the start, with the tick marks on the way.
    at(L, 0.0f, x, y);
    device::PLOT(p, x, y, 3);
    for (int t = NT - 1; t >= 0; --t) {
        const float ft = static_cast<float>(t);
        at(ft, 0.0f, x, y);
        device::PLOT(p, x, y, 2);
        float mx, my;
        at(ft, s * tick, mx, my);
        device::PLOT(p, mx, my, 2);
        device::PLOT(p, x, y, 2);
    }
}

void NUMBER(device::Plotter& p, float X, float Y, float H, float VALUE, float ANGLE, int NDEC) {
    if (NDEC > 9) {
        p.units.u6.free("LAST ARG IN CALL NUMBER MUST BE <= 9; NDEC=", NDEC);
        NDEC = 9;
    }
    const std::string text = number_text(VALUE, NDEC);
    const int ni = static_cast<int>(text.size());
    if (ni < 0) {
        p.units.u6.free("### ERROR IN \"NUMBER\" NI=", ni);
        return;
    }
    SYMBOL(p, X, Y, H, text, ANGLE, ni);
}

void SYMBOL(device::Plotter& p, float X, float Y, float H, std::string_view TEXT, float ANGLE,
            int N) {
    if (N < 0) {
        ++p.NFAIL;
        if (p.NFAIL < 10) {
            p.units.u9.free(" =====>>> FEHLER IN SYMBOL: LETZTES ARGUMENT NB=", N, " DARF NICHT < 0 SEIN");
            p.units.u9.free(
                " =====>>> FEHLER IN SYMBOL: ZENTRIERTE SYMBOLE NUR MIT \"SYMBLI\" AUFRUFEN");
        }
        return;
    }
    if (N == 0 || H == 0.0f) return;
    if (X == CONTINUE || Y == CONTINUE) {
        float wx, wy, wf;
        device::WHERE(p.dev, wx, wy, wf);
        if (X == CONTINUE) X = wx;
        if (Y == CONTINUE) Y = wy;
    }
    float adv, height;
    letter_size(H, adv, height);
    const float fx = adv / 14.0f, fy = height / 14.0f;
    const Dir d = direction(ANGLE);
    // Characters beyond the text are blanks: they take their place and draw nothing.
    const int drawn = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(N), TEXT.size()));
    for (int i = 0; i < drawn; ++i) {
        const Glyph* g = char_glyph(static_cast<unsigned char>(TEXT[static_cast<std::size_t>(i)]));
        if (g == nullptr || g->n == 0) continue;
        const float along = static_cast<float>(i) * adv;
        draw_glyph(p, *g, X + along * d.c, Y + along * d.s, fx, fy, d);
    }
    const float end = static_cast<float>(N) * adv;
    device::PLOT(p, X + end * d.c, Y + end * d.s, 3);
    // The box the text takes: its N character places along d, its height across.
    const float xs[4] = {X, X + end * d.c, X - height * d.s, X + end * d.c - height * d.s};
    const float ys[4] = {Y, Y + end * d.s, Y + height * d.c, Y + end * d.s + height * d.c};
    device::note_lettering(p, *std::min_element(xs, xs + 4), *std::min_element(ys, ys + 4),
                           *std::max_element(xs, xs + 4), *std::max_element(ys, ys + 4), p.dev.lettering_kind);
}

void SYMBLI(device::Plotter& p, float X, float Y, float H, int ISYM, float ANGLE, int N) {
    if (N != -1) {
        ++p.NFAIL;
        p.units.u9.free(" =====>>> FEHLER IN SYMBLI: LETZTES ARGUMENT NB=", N, " NB MUSS = -1 SEIN");
        return;
    }
    if (H == 0.0f) return;
    float adv, height;
    letter_size(H, adv, height);
    const Dir d = direction(ANGLE);
    const float bx = -0.5f * adv, by = -0.5f * height;
    draw_glyph(p, marker_glyph(ISYM), X + bx * d.c - by * d.s, Y + bx * d.s + by * d.c,
               adv / 14.0f, height / 14.0f, d);
    device::PLOT(p, X, Y, 3);
}

namespace {

// The points of a curve in axis centimetres, in drawing order: from the end nearer the pen, so
// that consecutive curves need no long pen move. False when the series have no scale.
struct CurvePoints {
    std::array<float, MAXPTS> x, y;
    int n = 0;
    bool reverse = false;
};

bool curve_points(const device::Device& dev, std::span<const float> X, std::span<const float> Y,
                  int N, int K, CurvePoints& c) {
    if (N <= 0 || K == 0) return false;
    const long long k = std::llabs(static_cast<long long>(K));
    const long long cf = static_cast<long long>(N) * k, cd = cf + k;
    if (cd >= static_cast<long long>(X.size()) || cd >= static_cast<long long>(Y.size())) return false;
    const float FX = X[static_cast<std::size_t>(cf)], DX = X[static_cast<std::size_t>(cd)];
    const float FY = Y[static_cast<std::size_t>(cf)], DY = Y[static_cast<std::size_t>(cd)];
    // A series without a scale has no place on the axes.
    if (DX == 0.0f || DY == 0.0f || !std::isfinite(DX) || !std::isfinite(DY)) return false;

    const int n = std::min(N, MAXPTS);
    auto px = [&](long long i) { return (X[static_cast<std::size_t>(i * k)] - FX) / DX; };
    auto py = [&](long long i) { return (Y[static_cast<std::size_t>(i * k)] - FY) / DY; };

    float wx, wy, wf;
    device::WHERE(dev, wx, wy, wf);
    const float d_first = std::max(std::fabs(wx - px(0)), std::fabs(wy - py(0)));
    const float d_last = std::max(std::fabs(wx - px(n - 1)), std::fabs(wy - py(n - 1)));
    c.reverse = d_last < d_first;
    for (int i = 0; i < n; ++i) {
        const long long src = c.reverse ? n - 1 - i : i;
        c.x[static_cast<std::size_t>(i)] = px(src);
        c.y[static_cast<std::size_t>(i)] = py(src);
    }
    c.n = n;
    return true;
}

// One stretch of a curve: a move to its first point and one polyline.
void draw_stretch(device::Plotter& p, const float* x, const float* y, int n) {
    device::PLOT(p, x[0], y[0], 3);
    device::POLYLN(p, x, y, n);
}

// The part of the segment a-b on the rectangle 0..XL by 0..YL (Liang-Barsky): false when none.
bool clip_segment(float& ax, float& ay, float& bx, float& by, float XL, float YL) {
    float t0 = 0.0f, t1 = 1.0f;
    const float dx = bx - ax, dy = by - ay;
    const float pq[4][2] = {{-dx, ax}, {dx, XL - ax}, {-dy, ay}, {dy, YL - ay}};
    for (const auto& e : pq) {
        const float pp = e[0], q = e[1];
        if (pp == 0.0f) {
            if (q < 0.0f) return false;
            continue;
        }
        const float t = q / pp;
        if (pp < 0.0f) {
            if (t > t1) return false;
            t0 = std::max(t0, t);
        } else {
            if (t < t0) return false;
            t1 = std::min(t1, t);
        }
    }
    const float x0 = ax + t0 * dx, y0 = ay + t0 * dy;
    bx = ax + t1 * dx;
    by = ay + t1 * dy;
    ax = x0;
    ay = y0;
    return true;
}

}  // namespace

float lettering_length(float H, std::size_t N) {
    float adv, height;
    letter_size(H, adv, height);
    return static_cast<float>(N) * adv;
}

bool on_axes(float X, float Y, float XL, float YL) {
    constexpr float tol = 1.0e-4f;
    return X >= -tol && X <= XL + tol && Y >= -tol && Y <= YL + tol;
}

void KURVE(device::Plotter& p, std::span<const float> X, std::span<const float> Y, int N, int K,
           int J, int L) {
    CurvePoints c;
    if (!curve_points(p.dev, X, Y, N, K, c)) return;
    const int n = c.n;

    if (J != 0) {
        // Markers on the points 1, 1+|J|, 1+2|J|, ... of the series, drawn with a solid pen.
        const long long every = std::llabs(static_cast<long long>(J));
        const int style = p.dev.style_in_force, width = p.dev.width_in_force;
        device::SETPEN(p, 1, 1, 0);
        for (long long src = 0; src < n; src += every) {
            const std::size_t i = static_cast<std::size_t>(c.reverse ? n - 1 - src : src);
            SYMBLI(p, c.x[i], c.y[i], KURVE_SYMBOL_HEIGHT, L, 0.0f, -1);
        }
        device::SETPEN(p, style, width, 0);
    }

    draw_stretch(p, c.x.data(), c.y.data(), n);
    device::SETPEN(p, 1, 1, 0);
}

void clipped_curve(device::Plotter& p, std::span<const float> X, std::span<const float> Y, int N,
                   int K, float XL, float YL) {
    CurvePoints c;
    if (!curve_points(p.dev, X, Y, N, K, c)) return;
    const int n = c.n;
    bool inside = true;
    for (int i = 0; i < n && inside; ++i)
        inside = on_axes(c.x[static_cast<std::size_t>(i)], c.y[static_cast<std::size_t>(i)], XL, YL);
    if (inside) {
        draw_stretch(p, c.x.data(), c.y.data(), n);
        device::SETPEN(p, 1, 1, 0);
        return;
    }

    // Stretch by stretch: every segment cut to the rectangle; a stretch ends where the curve
    // leaves it (or where a point is not a number).
    std::array<float, MAXPTS> sx, sy;
    int m = 0;
    auto flush = [&] {
        if (m >= 2) draw_stretch(p, sx.data(), sy.data(), m);
        m = 0;
    };
    for (int i = 1; i < n; ++i) {
        float ax = c.x[static_cast<std::size_t>(i - 1)], ay = c.y[static_cast<std::size_t>(i - 1)];
        float bx = c.x[static_cast<std::size_t>(i)], by = c.y[static_cast<std::size_t>(i)];
        if (!std::isfinite(ax) || !std::isfinite(ay) || !std::isfinite(bx) || !std::isfinite(by) ||
            !clip_segment(ax, ay, bx, by, XL, YL)) {
            flush();
            continue;
        }
        const bool joined = m > 0 && sx[static_cast<std::size_t>(m - 1)] == ax && sy[static_cast<std::size_t>(m - 1)] == ay;
        if (!joined) {
            flush();
            sx[0] = ax;
            sy[0] = ay;
            m = 1;
        }
        sx[static_cast<std::size_t>(m)] = bx;
        sy[static_cast<std::size_t>(m)] = by;
        ++m;
        // The segment was cut short: the curve leaves the rectangle here.
        if (bx != c.x[static_cast<std::size_t>(i)] || by != c.y[static_cast<std::size_t>(i)]) flush();
    }
    flush();
    device::SETPEN(p, 1, 1, 0);
}

void NETZ(device::Plotter& p, float X, float Y, float XSIZE, float YSIZE, float XSTEP,
          float YSTEP, float XMAJ, float YMAJ) {
    if (!(XSIZE > 0.0f) || !(YSIZE > 0.0f)) {
        p.units.u6.record("0******* XSIZE=", runtime::E(XSIZE, 14, 7), " YSIZE=",
                          runtime::E(YSIZE, 14, 7), " VALUES MUST BE   POSITIVE");
        return;
    }
    if (XSTEP < 0.0f || YSTEP < 0.0f) {
        p.units.u6.record("0******* XSTEP=", runtime::E(XSTEP, 14, 7), " YSTEP=",
                          runtime::E(YSTEP, 14, 7), " VALUES MUST NOT  BE NEGATIV");
        return;
    }
    device::SETPEN(p, 1, 1, 7);
    device::PLOT(p, X, Y, 3);
    device::PLOT(p, X + XSIZE, Y, 2);
    device::PLOT(p, X + XSIZE, Y + YSIZE, 2);
    device::PLOT(p, X, Y + YSIZE, 2);
    device::PLOT(p, X, Y, 2);

    device::SETPEN(p, 1, 1, 18);
    major_lines(p, true, X, Y, XSIZE, YSIZE, XMAJ);
    major_lines(p, false, X, Y, XSIZE, YSIZE, YMAJ);

    device::SETPEN(p, 3, 1, 18);
    if (XMAJ >= 0.0f) minor_lines(p, true, X, Y, XSIZE, YSIZE, XSTEP);
    if (YMAJ >= 0.0f) minor_lines(p, false, X, Y, XSIZE, YSIZE, YSTEP);

    device::SETPEN(p, 1, 1, 7);
}

}  // namespace korvex::diagrams
