#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>

#include "device/plot.hpp"
#include "diagrams/catalogue.hpp"
#include "diagrams/dia.hpp"
#include "platform/recording_surface.hpp"
#include "tests/e2e/e2e_support.hpp"

using namespace korvex;
using namespace korvex::diagrams;
using Kind = platform::RecordingSurface::Kind;

namespace {

constexpr double PI = 3.141592654;

// A program on a 1000 x 600 surface with a 25 x 12 cm plot area (40 pixels per cm across,
// 50 down), diagrams of XL = 10, YL = 6 cm.
struct Job {
    std::unique_ptr<Program> prog = std::make_unique<Program>();
    Program& p = *prog;
    explicit Job(platform::Surface& s) {
        p.device.ISIZEX = s.width();
        p.device.ISIZEY = s.height();
        p.device.surface = &s;
        auto pl = p.plotter();
        device::PLOTS(pl, 25.0f, 12.0f, 1.0f);
        p.run.XL = 10.0f;
        p.run.YL = 6.0f;
        p.run.HOE = 0.2f;
        p.run.HSYM = 0.2f;
        p.run.NZYL = 2;
        p.run.NLAUF = 1;
    }
    void define(int ND, const char* x, std::initializer_list<const char*> ords, int GITTER = 0, int NBILD = 0) {
        DiagramDefinition& d = p.dia.def[static_cast<std::size_t>(ND - 1)];
        d.abscissa = x;
        d.abscissa.resize(6, ' ');
        int j = 0;
        for (const char* o : ords) {
            std::string s = o;
            s.resize(6, ' ');
            d.ordinate[static_cast<std::size_t>(j++)] = s;
        }
        d.NORD = j;
        d.GITTER = GITTER;
        d.NBILD = NBILD;
        d.FREI = 1;
        p.dia.IIFREI = std::max(p.dia.IIFREI, ND);
    }
    void resolve() { resolve_names(p.units, p.dia, p.run.NFAIL); }
    // Fills series `slot` (0 abscissa, 1..8 ordinates) of diagram ND with f(i), i = 0..N-1.
    template <class F>
    void fill(int ND, int slot, int N, F f) {
        DiagramSeries& s = p.dia.series[static_cast<std::size_t>(ND - 1)];
        Series& a = slot == 0 ? s.x : s.y[static_cast<std::size_t>(slot - 1)];
        for (int i = 0; i < N; ++i) a[static_cast<std::size_t>(i)] = static_cast<float>(f(i));
        p.dia.NPLOT = N;
    }
    const Series& series(int ND, int slot) const {
        const DiagramSeries& s = p.dia.series[static_cast<std::size_t>(ND - 1)];
        return slot == 0 ? s.x : s.y[static_cast<std::size_t>(slot - 1)];
    }
};

// The ideal-gas cycle of pair 1 for the page tests, one point per 5 degrees of crank: volume
// and temperature swing about their means (the temperature lagging by a phase), pressure and
// entropy follow from them.
struct GasCycle {
    std::function<double(int)> V, T, P, S;
};

// Machine of the page tests: 0.1 g of gas with CV = 3.1 and molar mass 4 between TH and
// TK = 300 K; pair 1 starts at the first point of the cycle.
GasCycle gas_cycle(Program& p, double TH, double Vmean, double Vamp, double Tmean, double Tamp,
                   double lag) {
    auto& r = p.run;
    r.TH = TH;
    r.TK = 300.0;
    r.M0[0] = 0.1;
    r.CV = 3.1;
    r.MG = 4.0;
    GasCycle c;
    auto th = [](int i) { return i * 5 * PI / 180; };
    c.V = [=](int i) { return Vmean + Vamp * std::cos(th(i)); };
    c.T = [=](int i) { return Tmean - Tamp * std::cos(th(i) - lag); };
    c.P = [V = c.V, T = c.T](int i) { return 0.1 * 0.08315 * T(i) / (V(i) / 1000.0); };
    const double Cv = 3.1 * 4.0 * 0.1, mR = 0.1 * 8.315;
    c.S = [V = c.V, T = c.T, Cv, mR](int i) {
        return Cv * std::log(T(i) / T(0)) + mR * std::log(V(i) / V(0));
    };
    auto& pair = p.sim.pair[0];
    pair[simulation::PairField::VG] = c.V(0);
    pair[simulation::PairField::T1] = c.T(0);
    pair[simulation::PairField::S1] = 0.0;
    return c;
}

platform::Color colour_of_polyline(const platform::RecordingSurface& s, int k) {
    platform::Color c{};
    int n = 0;
    for (const auto& op : s.ops()) {
        if (op.kind == Kind::Pen) c = op.pen.color;
        if (op.kind == Kind::Polyline && n++ == k) return c;
    }
    return {1, 1, 1};
}

bool line_ends_at(const platform::RecordingSurface& s, platform::Point q) {
    for (const auto& op : s.ops())
        if (op.kind == Kind::Line && op.p == q) return true;
    return false;
}

}  // namespace

// The first curves of a new diagram: colours 1, 2, 3, 4, symbols 0..3, marker positions
// 105/195/305, 130/220/330, 155/245/355 and 180/270/50. Added curves step by 15; diagrams
// without markers keep their positions at 0; colours run 1..14, symbols 0..12 then from 1.
TEST(DiaCounters, ColoursSymbolsAndMarkerPositions) {
    CurveCounters c;
    c.restart_colours();
    c.restart_positions(false, 0);
    const int col[4] = {1, 2, 3, 4}, sym[4] = {0, 1, 2, 3};
    const std::array<int, 3> pos[4] = {{105, 195, 305}, {130, 220, 330}, {155, 245, 355}, {180, 270, 50}};
    for (int k = 0; k < 4; ++k) {
        c.advance();
        EXPECT_EQ(c.colour, col[k]);
        EXPECT_EQ(c.symbol, sym[k]);
        EXPECT_EQ(c.pos, pos[k]);
    }
    c.restart_positions(true, 2);
    c.advance();
    EXPECT_EQ(c.pos, (std::array<int, 3>{95, 185, 295}));
    c.restart_positions(false, 5);
    c.advance();
    EXPECT_EQ(c.pos, (std::array<int, 3>{0, 0, 0}));

    c.restart_colours();
    for (int k = 0; k < 13; ++k) c.advance();
    EXPECT_EQ(c.symbol, 12);
    c.advance();
    EXPECT_EQ(c.colour, 14);
    EXPECT_EQ(c.symbol, 1);
    c.advance();
    EXPECT_EQ(c.colour, 1);
}

// Index = position N / 360 in whole numbers: a curve of 2 points has its first curve's markers
// at indices 0, 1, 1, so only point 1 carries them.
TEST(DiaCounters, MarkerIndices) {
    EXPECT_EQ(marker_index(105, 2), 0);
    EXPECT_EQ(marker_index(195, 2), 1);
    EXPECT_EQ(marker_index(305, 2), 1);
    EXPECT_EQ(marker_index(180, 361), 180);
    EXPECT_EQ(marker_index(0, 361), 0);
}

// The extremes of a series are taken at the first point that holds them; cells that hold no
// number are passed over, and only the first N cells count.
TEST(DiaSeries, ExtremesAtTheirFirstPoint) {
    const float nan = std::nanf(""), inf = INFINITY;
    struct Case {
        std::initializer_list<float> v;
        int N;
        float lo, hi;
        int ilo, ihi;
    };
    const Case cases[] = {
        {{2, 5, 1, 5, 1}, 5, 1, 5, 2, 1},         // ties: the first maximum, the first minimum
        {{3, 3, 3}, 3, 3, 3, 0, 0},               // a flat series: both at the first point
        {{nan, 4, inf, -2, -2}, 5, -2, 4, 3, 1},  // NaN and infinity are no values
        {{1, 9, -9}, 1, 1, 1, 0, 0},              // cells beyond N do not count
    };
    for (const Case& c : cases) {
        Series s{};
        std::copy(c.v.begin(), c.v.end(), s.begin());
        const SeriesRange r = series_range(s, c.N);
        EXPECT_EQ(r.lo, c.lo);
        EXPECT_EQ(r.hi, c.hi);
        EXPECT_EQ(r.ilo, c.ilo);
        EXPECT_EQ(r.ihi, c.ihi);
    }
    Series empty{};
    empty.fill(std::nanf(""));
    EXPECT_EQ(series_range(empty, 3).ihi, -1);
    EXPECT_EQ(series_range(empty, 0).ilo, -1);
}

TEST(DiaLegend, PiecesByNbild) {
    EXPECT_EQ(legend_text("P1", false, 1, 0.0, 0, 0, 0), "    P1    ");
    EXPECT_EQ(legend_text("P1", true, 0, 5.0, 0, 0, 0), "    P1    ");
    EXPECT_EQ(legend_text("P1", true, 1, 123.456, 0, 0, 0), "    P1    Wk= 123.46 WATT * SEC");
    EXPECT_EQ(legend_text("P1", true, 1, 12345.6, 0, 0, 0), "    P1    Wk= 12346. WATT * SEC");
    EXPECT_EQ(legend_text("P1", true, 1, 5.25, 0, 0, 0), "    P1    Wk= 5.2500 WATT * SEC");
    EXPECT_EQ(legend_text("T11", true, 2, 0, 31.5, 0, 0), "    T11   ]h.u=  31.50 %");
    EXPECT_EQ(legend_text("T11", true, 3, 0, 0, 42.0, 0), "    T11   ]e.i=  42.00 %");
    EXPECT_EQ(legend_text("T11", true, 4, 0, 0, 0, 7.126), "    T11   ]e.r=   7.13 %");
    const std::string all = legend_text("T11", true, 5, 50.0, 1, 2, 3);
    EXPECT_EQ(all.size(), 76u);
    EXPECT_EQ(all, "    T11   Wk= 50.000 WATT * SEC]h.u=   1.00 % ]e.i=   2.00 % ]e.r=   3.00 % ");
}

// Columns of two: (0, 0), (0, YL + 18 HOE), (XL + 38 HOE, 0); a cancelled definition takes no
// place. A legend too long for the room of its diagram widens its column: 76 characters of
// 0.2 cm beside one axis (at XL + 2.5 HOE) end at 10.625 + 15.2 cm; with the 8 HOE left of the
// origin and half a character height to spare the column is 2 + 25.825 + 0.125 = 27.95 cm.
// DIA draws each diagram at its origin and returns the pen origin where it was.
TEST(DiaPlacement, ColumnsOfTwoWidenedForLongLegends) {
    platform::RecordingSurface surf(1000, 600);
    Job j(surf);
    j.define(1, "TIME", {"P1"});
    j.define(2, "TIME", {"P1"});
    j.define(3, "NOSUCH", {"P1"});
    j.define(4, "TIME", {"P1"});
    j.resolve();   // diagram 3 is cancelled
    Placement place = place_diagrams(j.p.dia, 10.0f, 6.0f, 0.25f, 0.2f);
    EXPECT_EQ(place.count, 3);
    const auto& d = j.p.dia.def;
    EXPECT_FLOAT_EQ(d[0].XX, 0.0f);
    EXPECT_FLOAT_EQ(d[0].YY, 0.0f);
    EXPECT_FLOAT_EQ(d[1].XX, 0.0f);
    EXPECT_FLOAT_EQ(d[1].YY, 6.0f + 18.0f * 0.25f);
    EXPECT_FLOAT_EQ(d[3].XX, 10.0f + 38.0f * 0.25f);
    EXPECT_FLOAT_EQ(d[3].YY, 0.0f);
    EXPECT_FLOAT_EQ(place.xmax, 19.5f);
    EXPECT_FLOAT_EQ(place.W, 19.5f);

    {
        platform::RecordingSurface s2(1000, 600);
        Job k(s2);
        k.define(1, "VG1", {"P1"}, 0, 5);   // p-V: work and efficiencies in the legend
        k.define(2, "TIME", {"P1"}, 0, 5);  // no area: the name alone
        k.define(3, "TIME", {"P1"});
        k.resolve();
        place = place_diagrams(k.p.dia, 10.0f, 6.0f, 0.25f, 0.2f);
        EXPECT_NEAR(k.p.dia.def[2].XX, 27.95f, 1e-4f);
        EXPECT_FLOAT_EQ(place.W, 19.5f);   // the last column keeps the plain room
        // A diagram drawn before keeps its place when a later run adds into it.
        k.p.dia.def[2].AX = 1;
        k.p.dia.def[0].NBILD = 0;
        place_diagrams(k.p.dia, 10.0f, 6.0f, 0.25f, 0.2f);
        EXPECT_NEAR(k.p.dia.def[2].XX, 27.95f, 1e-4f);
    }

    // Whole centimetres, so every origin falls on a pixel: (0,0), (0,5), (12,0).
    j.p.dia.def[1].YY = 5.0f;
    j.p.dia.def[3].XX = 12.0f;
    for (int nd : {1, 2, 4})
        for (int slot : {0, 1}) j.fill(nd, slot, 50, [](int i) { return i; });
    auto pl = j.p.plotter();
    device::PLOT(pl, 1.0f, 1.0f, -3);
    const float x0 = j.p.device.XORIG, y0 = j.p.device.YORIG;
    DIA(j.p);
    EXPECT_FLOAT_EQ(j.p.device.XORIG, x0);
    EXPECT_FLOAT_EQ(j.p.device.YORIG, y0);
    // Each abscissa is drawn back to its start: the diagram's origin.
    EXPECT_TRUE(line_ends_at(surf, {40, 550}));
    EXPECT_TRUE(line_ends_at(surf, {40, 300}));
    EXPECT_TRUE(line_ends_at(surf, {520, 550}));
    EXPECT_EQ(j.p.dia.def[2].AX, 0);
    for (int nd : {1, 2, 4}) EXPECT_EQ(j.p.dia.def[static_cast<std::size_t>(nd - 1)].AX, 1);
}

// P1 and PGES1 (both BAR) share the left axis, on one scale that holds both curves; VG1
// (CM**3) gets the right axis. The automatic scales are written back into the class table, so
// a second diagram over TIME uses the same time scale.
TEST(DiaAxes, SharedAxisRightAxisAndScalesWrittenBack) {
    platform::RecordingSurface surf(1000, 600);
    Job j(surf);
    j.define(1, "TIME", {"P1", "PGES1", "VG1"});
    j.define(2, "TIME", {"RPM"});
    j.resolve();
    const int N = 100;
    for (int nd : {1, 2}) j.fill(nd, 0, N, [](int i) { return 0.001 * i; });
    j.fill(1, 1, N, [](int i) { return 20.0 + 10.0 * std::sin(i * 0.1); });   // 10..30
    j.fill(1, 2, N, [](int i) { return 35.0 + 10.0 * std::sin(i * 0.1); });   // 25..45
    j.fill(1, 3, N, [](int i) { return 400.0 + 100.0 * std::cos(i * 0.1); });
    j.fill(2, 1, N, [](int i) { return 1000.0 + i; });

    std::array<std::string, MAXORD> t;
    ASSERT_EQ(ordinate_titles(j.p.dia.def[0], t), 2);
    EXPECT_EQ(t[0], "P1 PGES1 BAR");
    EXPECT_EQ(t[1], "VG1 CM**3");

    DIA(j.p);
    const Series &p1 = j.series(1, 1), &pg = j.series(1, 2), &vg = j.series(1, 3);
    EXPECT_EQ(p1[N], pg[N]);
    EXPECT_EQ(p1[N + 1], pg[N + 1]);
    ASSERT_GT(p1[N + 1], 0.0f);
    EXPECT_LE(p1[N], 10.0f);
    EXPECT_GE(p1[N] + 6.0f * p1[N + 1], 45.0f);
    EXPECT_NE(vg[N + 1], p1[N + 1]);
    EXPECT_EQ(j.p.dia.DELTA_V[6], p1[N + 1]);    // class 7 BAR
    EXPECT_EQ(j.p.dia.DELTA_V[5], vg[N + 1]);    // class 6 CM**3
    EXPECT_NE(j.p.dia.DELTA_V[15], 0.0f);        // class 16 SEC
    EXPECT_EQ(j.series(2, 0)[N], j.series(1, 0)[N]);
    EXPECT_EQ(j.series(2, 0)[N + 1], j.series(1, 0)[N + 1]);
    // One curve each, in blue, red and magenta (colours 1, 2, 3), then blue again for diagram 2.
    ASSERT_EQ(surf.count(Kind::Polyline), 4);
    EXPECT_EQ(colour_of_polyline(surf, 0), (platform::Color{0, 0, 255}));
    EXPECT_EQ(colour_of_polyline(surf, 1), (platform::Color{255, 0, 0}));
    EXPECT_EQ(colour_of_polyline(surf, 2), (platform::Color{255, 0, 255}));
    EXPECT_EQ(colour_of_polyline(surf, 3), (platform::Color{0, 0, 255}));
    EXPECT_NE(j.p.units.u9.text().find(". DIAGRAMMS: TIME MIT DEN ORDINATEN: P1    PGES1 VG1"),
              std::string::npos);
}

// Scale values given in the deck are used as they are.
TEST(DiaAxes, DeckScaleIsKept) {
    platform::RecordingSurface surf(1000, 600);
    Job j(surf);
    j.define(1, "TIME", {"P1"});
    j.resolve();
    j.p.dia.scaling[2 * 6] = 5.0f;      // P(F)=
    j.p.dia.scaling[2 * 6 + 1] = 2.5f;  // P(D)=
    j.fill(1, 0, 10, [](int i) { return i; });
    j.fill(1, 1, 10, [](int i) { return 10 + i; });
    DIA(j.p);
    EXPECT_EQ(j.series(1, 1)[10], 5.0f);
    EXPECT_EQ(j.series(1, 1)[11], 2.5f);
}

// Markers of the first curve at 105, 195, 305 degrees of 361 points: indices 105, 195, 305.
// Every symbol ends with the pen on its centre.
TEST(DiaCurves, MarkersAtTheirPositions) {
    platform::RecordingSurface surf(1000, 600);
    Job j(surf);
    j.define(1, "KU1", {"P1"});
    j.resolve();
    j.p.dia.scaling[2 * 14] = 0.0f;      // ANG: 0 at the origin, 40 degrees per cm
    j.p.dia.scaling[2 * 14 + 1] = 40.0f;
    j.p.dia.scaling[2 * 6] = 0.0f;       // BAR: 1 per cm
    j.p.dia.scaling[2 * 6 + 1] = 1.0f;
    const int N = 361;
    j.fill(1, 0, N, [](int i) { return i; });
    j.fill(1, 1, N, [](int i) { return i < 200 ? 2.0 : 4.0; });
    DIA(j.p);
    auto moved_to = [&](platform::Point q) {
        for (const auto& op : surf.ops())
            if (op.kind == Kind::Move && op.p == q) return true;
        return false;
    };
    // Point k (1-based) lies at x = (k - 1) / 40 cm, y = 2 or 4 cm.
    EXPECT_TRUE(moved_to({static_cast<int>(40.0f * (104.0f / 40.0f)), 50 * (12 - 2)}));
    EXPECT_TRUE(moved_to({static_cast<int>(40.0f * (194.0f / 40.0f)), 50 * (12 - 2)}));
    EXPECT_TRUE(moved_to({static_cast<int>(40.0f * (304.0f / 40.0f)), 50 * (12 - 4)}));
}

// GITTER 7: the T-S diagram shows the ideal frame but not the measured cycle; the p-V diagram
// its isotherms but not the measured cycle.
TEST(DiaExtras, Gitter7DrawsFrameAndIsothermsButNoCurves) {
    platform::RecordingSurface surf(1000, 600);
    Job j(surf);
    j.p.units.IPRNT2 = 3;
    j.define(1, "S11", {"T11"}, 7, 1);
    j.define(2, "VG1", {"P1"}, 7, 1);
    j.resolve();
    auto& r = j.p.run;
    r.TH = 600.0;
    r.TK = 300.0;
    r.M0[0] = 0.02;
    r.CV = 3.1;
    r.MG = 4.0;
    j.p.sim.VMAX_REV = 400.0;
    j.p.sim.VMIN_REV = 200.0;
    j.p.sim.pair[0][simulation::PairField::VG] = 300.0;
    j.p.sim.pair[0][simulation::PairField::T1] = 450.0;
    j.p.sim.pair[0][simulation::PairField::S1] = 1.0;
    const int N = 72;
    j.fill(1, 0, N, [](int i) { return 1.0 + 0.1 * std::cos(i * 5 * PI / 180); });
    j.fill(1, 1, N, [](int i) { return 450.0 + 100.0 * std::sin(i * 5 * PI / 180); });
    j.fill(2, 0, N, [](int i) { return 300.0 + 100.0 * std::cos(i * 5 * PI / 180); });
    j.fill(2, 1, N, [](int i) { return 5.0 + 2.0 * std::sin(i * 5 * PI / 180); });
    DIA(j.p);
    // The frame (cut to the axes where it reaches beyond them) in black, the isotherms in green
    // and red, no curve in the curve colour (blue).
    ASSERT_GE(surf.count(Kind::Polyline), 3);
    for (int k = 0; k < surf.count(Kind::Polyline); ++k) EXPECT_NE(colour_of_polyline(surf, k), (platform::Color{0, 0, 255}));
    EXPECT_NE(j.p.units.u6.text().find(" GAS-FRAME:"), std::string::npos);
    EXPECT_NE(j.p.units.u9.text().find(" AUSNUTZUNGSGRAD ZUM RAHMEN DES IDEALEN GAS PROZESSES:"), std::string::npos);
    EXPECT_NE(j.p.units.u9.text().find(" DIA--> QINT: INTEGRAL DES \"P1-VG1  \" DIAGRAMMS:"), std::string::npos);
}

// S3 without a vapour computation: error 112 and no curve; S2 is drawn as the gas alone.
TEST(DiaExtras, VapourEntropyWithoutVapour) {
    platform::RecordingSurface surf(1000, 600);
    Job j(surf);
    j.define(1, "S31", {"T31"});
    j.define(2, "S21", {"T21"});
    j.resolve();
    for (int nd : {1, 2}) {
        j.fill(nd, 0, 20, [](int i) { return i; });
        j.fill(nd, 1, 20, [](int i) { return 300 + i; });
    }
    DIA(j.p);
    EXPECT_EQ(j.p.run.NFAIL, 112);
    EXPECT_EQ(surf.count(Kind::Polyline), 1);
    EXPECT_NE(j.p.units.u6.text().find("=====>> ERROR: PLOT \"S3\" ABER KEINE DAMPF BERECHNUNG SPEZIFIZIERT"),
              std::string::npos);
    EXPECT_NE(j.p.units.u9.text().find("; ES WIRD NUR DIE GAS-KOMPONENTE GEPLOTTET"), std::string::npos);
    // The records begin with their carriage control.
    for (const std::string* t : {&j.p.units.u6.text(), &j.p.units.u9.text()}) {
        int errors = 0;
        for (const auto& l : e2e::lines_of(*t)) {
            EXPECT_NE(l.rfind("=====>>", 0), 0u) << l;
            errors += l.rfind(" =====>> ERROR: PLOT \"S", 0) == 0;
        }
        EXPECT_EQ(errors, 2);
    }
}

// Series whose values are all negative keep their axis up to 0, as the maximum search starts
// just below it: QAB1 of -712 .. -290 alone on a 9 cm axis, by the scaling rule, has the step
// 712/9 = 79.1 -> 80 and starts at 80 * int(-712/80 - 0.99) = -720 (-720 + 9 * 80 = 0). With
// QZU1 of 50 .. 900 on the same axis the scale holds both. Each curve is drawn inside the axes
// and listed with its own extremes.
TEST(DiaAxes, AllNegativeSeriesKeepTheirCurveAndTheirAxis) {
    platform::RecordingSurface surf(1000, 600);
    Job j(surf);
    j.p.run.YL = 9.0f;
    j.p.run.XL = 10.0f;
    j.p.units.IPRNT2 = 2;
    j.define(1, "TIME", {"QAB1"});
    j.define(2, "TIME", {"QZU1", "QAB1"});
    j.resolve();
    const int N = 50;
    for (int nd : {1, 2}) j.fill(nd, 0, N, [](int i) { return 0.001 * i; });
    auto qab = [](int i) { return -712.0 + 422.0 * i / 49.0; };
    j.fill(1, 1, N, qab);
    j.fill(2, 1, N, [](int i) { return 50.0 + 850.0 * i / 49.0; });
    j.fill(2, 2, N, qab);
    auto pl = j.p.plotter();
    device::PLOT(pl, 8.0f * 0.2f, 14.0f * 0.2f - 1.0f, -3);   // room for numbers and titles
    // Diagram 1 alone first: class 11 is scaled from QAB1.
    j.p.dia.def[1].FREI = 0;
    DIA(j.p);
    EXPECT_FLOAT_EQ(j.series(1, 1)[N], -720.0f);
    EXPECT_FLOAT_EQ(j.series(1, 1)[N + 1], 80.0f);
    EXPECT_EQ(surf.count(Kind::Polyline), 1);
    EXPECT_NE(j.p.units.u6.text().find(" MAXIMUM VON \"QAB1\" = -290."), std::string::npos);
    EXPECT_NE(j.p.units.u6.text().find(" MINIMUM VON \"QAB1\" = -712."), std::string::npos);

    surf.clear();
    j.p.dia.def[0].FREI = 0;
    j.p.dia.def[1].FREI = 1;
    DIA(j.p);
    const float first = j.series(2, 1)[N], delta = j.series(2, 1)[N + 1];
    EXPECT_EQ(j.series(2, 2)[N], first);
    EXPECT_LE(first, -712.0f);
    EXPECT_GE(first + 9.0f * delta, 900.0f);
    EXPECT_EQ(surf.count(Kind::Polyline), 2);
    for (const auto& f : e2e::page_faults(surf.ops(), 1000, 600)) ADD_FAILURE() << f;
}

// Every option code above 8 draws what 8 draws: grid, frame, isotherms, crank-angle marks.
TEST(DiaExtras, OptionCodesAbove8DrawAs8) {
    auto page = [](int GITTER) {
        auto surf = std::make_unique<platform::RecordingSurface>(1000, 600);
        auto j = std::make_unique<Job>(*surf);
        j->p.units.IPRNT2 = 3;
        j->define(1, "S11", {"T11"}, GITTER, 1);
        j->define(2, "VG1", {"P1"}, GITTER, 1);
        j->resolve();
        const GasCycle c = gas_cycle(j->p, 600.0, 300.0, 100.0, 450.0, 120.0, 1.2);
        j->p.sim.VMAX_REV = 400.0;
        j->p.sim.VMIN_REV = 200.0;
        j->p.sim.MARK = {1, 16, 25, 37, 51, 61, 73};
        j->fill(1, 0, 73, c.S);
        j->fill(1, 1, 73, c.T);
        j->fill(2, 0, 73, c.V);
        j->fill(2, 1, 73, c.P);
        DIA(j->p);
        std::vector<int> drawn;   // every point drawn, in order
        for (const auto& op : surf->ops()) {
            drawn.insert(drawn.end(), {static_cast<int>(op.kind), op.p.x, op.p.y});
            for (const auto& q : op.points) drawn.insert(drawn.end(), {q.x, q.y});
        }
        return std::make_pair(drawn, j->p.units.u9.text());
    };
    const auto eight = page(8);
    EXPECT_NE(eight.second.find(" GAS-FRAME:"), std::string::npos);
    EXPECT_EQ(page(9), eight);
    EXPECT_EQ(page(40), eight);
}

// A later run with IBACK > 0 adds its curve into the diagram of the run before, on that run's
// scale and with the next colour, without drawing the axes again; what lies beyond that scale
// is cut off at the axes (6 cm up: pixel row 300).
TEST(DiaBack, LaterRunAddsIntoEarlierDiagram) {
    platform::RecordingSurface surf(1000, 600);
    Job j(surf);
    j.define(1, "TIME", {"P1"});
    j.resolve();
    j.fill(1, 0, 10, [](int i) { return i; });
    j.fill(1, 1, 10, [](int i) { return 10 + i; });
    DIA(j.p);
    const float first = j.series(1, 1)[10], delta = j.series(1, 1)[11];
    const int lines_first = surf.count(Kind::Line);

    surf.clear();
    j.p.run.IBACK = 5;
    j.p.run.NLAUF = 2;
    j.p.dia.scaling.fill(0.0f);
    j.resolve();
    j.fill(1, 0, 10, [](int i) { return i; });
    j.fill(1, 1, 10, [](int i) { return 12 + 3 * i; });   // beyond the earlier range
    DIA(j.p);
    EXPECT_EQ(j.series(1, 1)[10], first);
    EXPECT_EQ(j.series(1, 1)[11], delta);
    EXPECT_LT(surf.count(Kind::Line), lines_first);   // no axes this time
    ASSERT_EQ(surf.count(Kind::Polyline), 1);
    EXPECT_EQ(colour_of_polyline(surf, 0), (platform::Color{255, 0, 0}));
    const auto pts = surf.of(Kind::Polyline)[0].points;
    for (const auto& q : pts) EXPECT_GE(q.y, 300);
    EXPECT_TRUE(std::any_of(pts.begin(), pts.end(), [](const auto& q) { return q.y == 300; }));
    EXPECT_NE(j.p.units.u9.text().find("WIRD IN DAS SCHON BESTEHENDE DIAGRAMM AUS DEM VORHERIGEN LAUF GEZEICHNET"),
              std::string::npos);
}

// No points, or points that are not numbers: the diagrams end without a curve and without
// anything undefined in the listing.
TEST(DiaRobust, EmptyAndNonFiniteSeries) {
    platform::RecordingSurface surf(1000, 600);
    Job j(surf);
    j.p.units.IPRNT2 = 6;
    j.define(1, "TIME", {"DQZU1"});
    j.define(2, "VG1", {"P1"}, 8, 5);
    j.resolve();
    DIA(j.p);
    j.fill(1, 0, 5, [](int i) { return i; });
    j.fill(1, 1, 5, [](int) { return std::nan(""); });
    j.fill(2, 0, 5, [](int) { return 1.0 / 0.0; });
    j.fill(2, 1, 5, [](int i) { return i; });
    DIA(j.p);
    for (const std::string* t : {&j.p.units.u6.text(), &j.p.units.u9.text()}) {
        EXPECT_EQ(t->find("nan"), std::string::npos);
        EXPECT_EQ(t->find("inf"), std::string::npos);
    }
}

// A page of four diagrams (time curves on two axes, a p-V diagram with isotherms, a T-S diagram
// with its frame and crank-angle marks, a grid): everything on the page, every curve, frame
// and isotherm inside its diagram's axes.
TEST(DiaPage, FourDiagramsStayOnThePageAndInsideTheirAxes) {
    platform::RecordingSurface surf(1008, 700);
    Job j(surf);
    auto pl = j.p.plotter();

    j.p.run.HOE = 0.25f;
    j.p.run.HSYM = 0.2f;
    j.p.units.IPRNT2 = 4;
    j.define(1, "TIME", {"P1", "PGES1", "VG1"}, 4, 0);
    j.define(2, "VG1", {"P1"}, 8, 1);
    j.define(3, "S11", {"T11"}, 8, 5);
    j.define(4, "KU1", {"DQZU1", "DQAB1", "TE1", "TC1"}, 0, 0);
    j.resolve();
    j.p.dia.def[0].caption[0] = "Druck und Volumen der Teilmaschine H1-K1";
    j.p.dia.def[0].ncaption = 1;
    // The page as the run control sets it up: the diagrams' columns (the long legend of the
    // T-S diagram widens the second), two rows.
    const Placement place = place_diagrams(j.p.dia, 10.0f, 6.0f, 0.25f, 0.2f);
    device::PLOTS(pl, place.xmax + 6.0f * 0.25f + place.W, 2.0f * place.H, 1.0f);
    const GasCycle c = gas_cycle(j.p, 600.0, 300.0, 100.0, 450.0, 120.0, 1.2);
    auto& s = j.p.sim;
    s.VMAX_REV = 400.0;
    s.VMIN_REV = 200.0;
    s.MARK = {1, 16, 25, 37, 51, 61, 73};
    s.ANGLE = {0, 60, 90, 135, 190, 230, 360};
    const int N = 73;
    auto th = [](int i) { return i * 5 * PI / 180; };
    j.fill(1, 0, N, [](int i) { return 0.0005 * i; });
    j.fill(1, 1, N, c.P);
    j.fill(1, 2, N, [&](int i) { return c.P(i) + 3.0; });
    j.fill(1, 3, N, c.V);
    j.fill(2, 0, N, c.V);
    j.fill(2, 1, N, c.P);
    j.fill(3, 0, N, c.S);
    j.fill(3, 1, N, c.T);
    j.fill(4, 0, N, [](int i) { return 5.0 * i; });
    j.fill(4, 1, N, [&](int i) { return 2000.0 * std::sin(th(i)); });
    j.fill(4, 2, N, [&](int i) { return -1500.0 * std::cos(th(i)); });
    j.fill(4, 3, N, [&](int i) { return 600.0 + 40.0 * std::sin(th(i)); });
    j.fill(4, 4, N, [&](int i) { return 300.0 + 30.0 * std::sin(th(i) + 1.0); });
    device::PLOT(pl, 8.0f * 0.25f, 14.0f * 0.25f, -3);
    DIA(j.p);
    EXPECT_EQ(j.p.run.NFAIL, 0);
    EXPECT_GE(surf.count(Kind::Polyline), 12);   // 9 curves, a frame, 2 isotherms
    for (const auto& f : e2e::page_faults(surf.ops(), 1008, 700)) ADD_FAILURE() << f;
}

// The two cycle diagrams of one part-engine with their ideal frame and isotherms between the
// extreme cylinder temperatures: a frame wider than the measured cycle is cut to the axes.
TEST(DiaPage, FramesAndIsothermsAreCutToTheAxes) {
    platform::RecordingSurface surf(1008, 700);
    Job j(surf);
    const float XL = 16.0f, YL = 8.0f, HOE = 0.3f;
    auto pl = j.p.plotter();
    device::PLOTS(pl, XL + 38.0f * HOE, 2.0f * (YL + 18.0f * HOE), 1.0f);
    j.p.run.XL = XL;
    j.p.run.YL = YL;
    j.p.run.HOE = HOE;
    j.p.run.HSYM = 0.25f;
    j.p.run.SCALE = 1;
    j.p.units.IPRNT2 = 4;
    j.define(1, "S11", {"T11"}, 8, 1);
    j.define(2, "VG1", {"P1"}, 8, 1);
    j.resolve();
    place_diagrams(j.p.dia, XL, YL, HOE, 0.25f);
    const GasCycle c = gas_cycle(j.p, 650.0, 300.0, 115.0, 455.0, 130.0, 1.3);
    auto& s = j.p.sim;
    s.pre.TE_MAX = 600.0;
    s.pre.TC_MIN = 310.0;
    s.VMAX_REV = 420.0;
    s.VMIN_REV = 180.0;
    s.MARK = {1, 19, 31, 37, 55, 61, 73};
    s.ANGLE = {0, 90, 150, 180, 270, 300, 360};
    const int N = 73;
    j.fill(1, 0, N, c.S);
    j.fill(1, 1, N, c.T);
    j.fill(2, 0, N, c.V);
    j.fill(2, 1, N, c.P);
    device::PLOT(pl, 8.0f * HOE, 14.0f * HOE, -3);
    DIA(j.p);
    EXPECT_EQ(j.p.run.NFAIL, 0);
    EXPECT_GE(surf.count(Kind::Polyline), 5);   // two curves, the frame, two isotherms
    for (const auto& f : e2e::page_faults(surf.ops(), 1008, 700)) ADD_FAILURE() << f;
}
