#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <string>
#include <vector>

#include "device/plot.hpp"
#include "diagrams/plotlib.hpp"
#include "platform/recording_surface.hpp"
#include "tests/device/device_rig.hpp"

using namespace korvex;
using platform::Point;
using Kind = platform::RecordingSurface::Kind;

namespace {

// 800 by 800 pixels at 8 pixels per cm: user (x, y) cm is pixel (8x, 800 - 8y), and a font
// unit of lettering 1.75 cm high is exactly one pixel.
struct Rig : test::DeviceRig<platform::RecordingSurface> {
    Rig() : DeviceRig(800, 800) {
        device::PLOTS(p, 100.0f, 100.0f, 1.0f);
        surf.clear();
    }
    bool has_line_to(Point q) const {
        for (const auto& op : surf.of(Kind::Line))
            if (op.p == q) return true;
        return false;
    }
};

std::array<float, 2003> series(std::initializer_list<float> v) {
    std::array<float, 2003> a{};
    std::size_t i = 0;
    for (float x : v) a[i++] = x;
    return a;
}

}  // namespace

TEST(PlotlibSkalie, NiceScalesWorkedByHand) {
    auto scale = [](std::initializer_list<float> v, int K, float L = 10.0f) {
        auto a = series(v);
        const int N = static_cast<int>(v.size()) / std::abs(K);
        diagrams::SKALIE(a, L, N, K);
        const int k = std::abs(K);
        return std::pair<float, float>{a[static_cast<std::size_t>(N * k)],
                                       a[static_cast<std::size_t>(N * k + k)]};
    };
    // 0..7.3: D = 0.73, P = 0.1, D' = 7.29 -> 8; step 0.8 from 0.
    auto r = scale({0.0f, 2.0f, 7.3f}, 1);
    EXPECT_FLOAT_EQ(r.first, 0.0f);
    EXPECT_FLOAT_EQ(r.second, 0.8f);
    // Constant 5: D = |2*5/10| + 1 = 2; first 4, centred to -4, then 0 because the sign changed.
    r = scale({5.0f, 5.0f, 5.0f}, 1);
    EXPECT_FLOAT_EQ(r.first, 0.0f);
    EXPECT_FLOAT_EQ(r.second, 2.0f);
    // 300..900: D = 60, P = 10, D' = 5.99 -> 8; first 80*AINT(3.76) = 240.
    r = scale({300.0f, 900.0f}, 1);
    EXPECT_FLOAT_EQ(r.first, 240.0f);
    EXPECT_FLOAT_EQ(r.second, 80.0f);
    // -3..7: FAD = -0.99, step 1, first AINT(-3.99) = -3 keeps its sign.
    r = scale({-3.0f, 7.0f}, 1);
    EXPECT_FLOAT_EQ(r.first, -3.0f);
    EXPECT_FLOAT_EQ(r.second, 1.0f);
    // -7.3..0: step 0.8, first 0.8*AINT(-9.125 - 0.99) = -8.
    r = scale({-7.3f, 0.0f}, 1);
    EXPECT_FLOAT_EQ(r.first, -8.0f);
    EXPECT_FLOAT_EQ(r.second, 0.8f);
    // Descending: 0 + AINT(10.5)*0.8 = 8, step -0.8.
    r = scale({0.0f, 2.0f, 7.3f}, -1);
    EXPECT_FLOAT_EQ(r.first, 8.0f);
    EXPECT_FLOAT_EQ(r.second, -0.8f);
    // Stride 2: the cells between the points take no part; the scale goes to cells 7 and 9.
    r = scale({300.0f, 1.0e6f, 900.0f, -1.0e6f, 600.0f, 0.0f}, 2);
    EXPECT_FLOAT_EQ(r.first, 240.0f);
    EXPECT_FLOAT_EQ(r.second, 80.0f);
}

TEST(PlotlibSkalie, LeavesTheSeriesAloneWhenThereIsNoScaleToCompute) {
    auto a = series({1.0f, 2.0f, 3.0f, 7.0f, 7.0f});
    diagrams::SKALIE(a, 0.0f, 3, 1);   // no axis
    diagrams::SKALIE(a, 10.0f, 0, 1);  // no points
    diagrams::SKALIE(a, 10.0f, 3, 0);  // no stride
    EXPECT_EQ(a[3], 7.0f);
    EXPECT_EQ(a[4], 7.0f);
    std::array<float, 4> small{1.0f, 2.0f, 3.0f, 4.0f};
    diagrams::SKALIE(small, 10.0f, 3, 1);  // the scale cells would lie beyond the buffer
    EXPECT_EQ(small[3], 4.0f);
}

TEST(PlotlibAchse, ExponentAndDecimals) {
    EXPECT_EQ(diagrams::axis_exponent(5000.0f), 1);   // labels 0, 500, 1000, ...
    EXPECT_EQ(diagrams::axis_exponent(-5000.0f), 1);
    EXPECT_EQ(diagrams::axis_exponent(0.005f), -1);   // labels 0, 0.05, 0.1, ...
    EXPECT_EQ(diagrams::axis_exponent(999.0f), 1);
    EXPECT_EQ(diagrams::axis_exponent(998.0f), 0);
    EXPECT_EQ(diagrams::axis_exponent(0.01f), 0);
    EXPECT_EQ(diagrams::axis_exponent(1.0e6f), 4);
    EXPECT_EQ(diagrams::axis_exponent(0.0f), 0);

    EXPECT_EQ(diagrams::axis_decimals(5000.0f, 1), 1);
    EXPECT_EQ(diagrams::axis_decimals(5000.0f, -1), 0);
    EXPECT_EQ(diagrams::axis_decimals(2.5f, -2), 2);
    EXPECT_EQ(diagrams::axis_decimals(2.05f, -2), 0);
    EXPECT_EQ(diagrams::axis_decimals(0.5f, -2), 2);
    EXPECT_EQ(diagrams::axis_decimals(0.005f, -2), 3);
    EXPECT_EQ(diagrams::axis_decimals(0.0005f, -2), 4);
    EXPECT_EQ(diagrams::axis_decimals(-0.8f, -2), 2);
    EXPECT_EQ(diagrams::axis_decimals(-2.5f, -2), 2);  // a descending step labels like its size
}

TEST(PlotlibAchse, AxisLineRunsBackFromTheFarEndWithTicks) {
    Rig r;
    // Axis of 3 cm at (1, 1), ticks 0.7 * 1.25 = 0.875 cm = 7 pixels.
    diagrams::ACHSE(r.p, 1.0f, 1.0f, "X", 1, 3.0f, 0.0f, 0.0f, 1.0f, 0, 1.25f);
    const auto& ops = r.surf.ops();
    ASSERT_GE(ops.size(), 14u);
    std::vector<Point> tail;
    for (std::size_t i = ops.size() - 13; i < ops.size(); ++i) tail.push_back(ops[i].p);
    EXPECT_EQ(ops[ops.size() - 13].kind, Kind::Move);
    EXPECT_EQ(tail, (std::vector<Point>{{32, 792},
                                        {32, 792}, {32, 785}, {32, 792},
                                        {24, 792}, {24, 785}, {24, 792},
                                        {16, 792}, {16, 785}, {16, 792},
                                        {8, 792}, {8, 785}, {8, 792}}));
    // Whole-number labels: no mark below the axis.
    EXPECT_FALSE(r.has_line_to({8, 799}));

    // Clockwise side with two decimals: ticks below, and a mark above with every number.
    Rig q;
    diagrams::ACHSE(q.p, 1.0f, 1.0f, "X", -1, 3.0f, 0.0f, 0.0f, 1.0f, 2, 1.25f);
    for (int x : {8, 16, 24, 32}) {
        EXPECT_TRUE(q.has_line_to({x, 799})) << x;
        EXPECT_TRUE(q.has_line_to({x, 785})) << x;
    }
}

TEST(PlotlibNumber, TextsAndRounding) {
    EXPECT_EQ(diagrams::number_text(12.6f, -1), "13");
    EXPECT_EQ(diagrams::number_text(1234.0f, -2), "123");  // 1234 * 10**-1
    EXPECT_EQ(diagrams::number_text(500.0f, 0), "500.");
    EXPECT_EQ(diagrams::number_text(3.14159f, 2), "3.14");
    EXPECT_EQ(diagrams::number_text(2.675f, 2), "2.67");   // the float lies below 2.675
    EXPECT_EQ(diagrams::number_text(-7.36f, 1), "-7.4");
    EXPECT_EQ(diagrams::number_text(0.0f, 3), "0.000");
    EXPECT_EQ(diagrams::number_text(0.25f, 12), "0.250000000");
    EXPECT_EQ(diagrams::number_text(1.0e30f, 2), std::string(30, '*'));
    EXPECT_EQ(diagrams::number_text(5.0f, -100), "0");
}

TEST(PlotlibNumber, TooManyDecimalsAreReportedAndCut) {
    Rig r;
    diagrams::NUMBER(r.p, 1.0f, 1.0f, 1.75f, 1.0f, 0.0f, 12);
    EXPECT_EQ(r.units.u6.text(), " LAST ARG IN CALL NUMBER MUST BE <= 9; NDEC= 12\n");
    // "1.000000000": 11 characters, the pen left behind them at 1 + 11 * 1.75 cm.
    EXPECT_EQ(r.surf.of(Kind::Move).back().p, (Point{162, 792}));
}

TEST(PlotlibSymbol, GlyphsAdvanceAndContinuation) {
    Rig r;
    // "L" is (1,12) (1,0) (9,0) in font units, one pixel each here.
    diagrams::SYMBOL(r.p, 1.0f, 1.0f, 1.75f, "L", 0.0f, 1);
    EXPECT_EQ(r.ends(Kind::Move), (std::vector<Point>{{9, 780}, {22, 792}}));
    EXPECT_EQ(r.ends(Kind::Line), (std::vector<Point>{{9, 792}, {17, 792}}));

    // 999.0 continues where the last text left the pen; a character without a glyph keeps
    // its place.
    r.surf.clear();
    diagrams::SYMBOL(r.p, diagrams::CONTINUE, diagrams::CONTINUE, 1.75f, "\tL", 0.0f, 2);
    EXPECT_EQ(r.ends(Kind::Move), (std::vector<Point>{{37, 780}, {50, 792}}));

    // Narrow lettering advances 6/7 of the height: two characters end at 1 + 2 * 1.5 cm.
    r.surf.clear();
    diagrams::SYMBOL(r.p, 1.0f, 1.0f, -1.75f, "LL", 0.0f, 2);
    EXPECT_EQ(r.ends(Kind::Move).back(), (Point{32, 792}));

    // Up the page at 90 degrees: (x, y) of the glyph becomes (-y, x).
    r.surf.clear();
    diagrams::SYMBOL(r.p, 1.0f, 1.0f, 1.75f, "L", 90.0f, 1);
    EXPECT_EQ(r.ends(Kind::Move), (std::vector<Point>{{-4, 791}, {8, 778}}));
    EXPECT_EQ(r.ends(Kind::Line), (std::vector<Point>{{8, 791}, {8, 783}}));
}

TEST(PlotlibSymbol, EmptyAndWrongArguments) {
    Rig r;
    diagrams::SYMBOL(r.p, 1.0f, 1.0f, 1.75f, "ABC", 0.0f, 0);
    diagrams::SYMBOL(r.p, 1.0f, 1.0f, 0.0f, "ABC", 0.0f, 3);
    EXPECT_TRUE(r.surf.ops().empty());
    EXPECT_EQ(r.NFAIL, 0);

    diagrams::SYMBOL(r.p, 1.0f, 1.0f, 1.75f, "ABC", 0.0f, -2);
    EXPECT_TRUE(r.surf.ops().empty());
    EXPECT_EQ(r.NFAIL, 1);
    EXPECT_EQ(r.units.u9.text(),
              "  =====>>> FEHLER IN SYMBOL: LETZTES ARGUMENT NB= -2  DARF NICHT < 0 SEIN\n"
              "  =====>>> FEHLER IN SYMBOL: ZENTRIERTE SYMBOLE NUR MIT \"SYMBLI\" AUFRUFEN\n");
    // From error number 10 on the error is only counted.
    r.units.u9.clear_text();
    r.NFAIL = 9;
    diagrams::SYMBOL(r.p, 1.0f, 1.0f, 1.75f, "ABC", 0.0f, -1);
    EXPECT_EQ(r.NFAIL, 10);
    EXPECT_TRUE(r.units.u9.text().empty());

    // A length beyond the text: the missing characters are blanks.
    diagrams::SYMBOL(r.p, 1.0f, 1.0f, 1.75f, "L", 0.0f, 4);
    EXPECT_EQ(r.ends(Kind::Move).back(), (Point{64, 792}));  // 1 + 4 * 1.75 = 8 cm
}

TEST(PlotlibSymbli, CentredMarkersAndWrongCount) {
    Rig r;
    // Square marker (2,2)..(12,12) around (7,7): 5 pixels each way of the centre (40, 760).
    diagrams::SYMBLI(r.p, 5.0f, 5.0f, 1.75f, 0, 0.0f, -1);
    EXPECT_EQ(r.ends(Kind::Move), (std::vector<Point>{{35, 765}, {40, 760}}));
    EXPECT_EQ(r.ends(Kind::Line),
              (std::vector<Point>{{45, 765}, {45, 755}, {35, 755}, {35, 765}}));

    r.surf.clear();
    diagrams::SYMBLI(r.p, 5.0f, 5.0f, 1.75f, 0, 0.0f, 1);
    EXPECT_TRUE(r.surf.ops().empty());
    EXPECT_EQ(r.NFAIL, 1);
    EXPECT_EQ(r.units.u9.text(),
              "  =====>>> FEHLER IN SYMBLI: LETZTES ARGUMENT NB= 1  NB MUSS = -1 SEIN\n");
}

TEST(PlotlibKurve, OnePolylineFromTheNearerEnd) {
    // Points (i, i) cm for i = 0..4: X values i with scale 0 / 1, Y values 10 + 10i with 10 / 10.
    auto X = series({0.0f, 1.0f, 2.0f, 3.0f, 4.0f, 0.0f, 1.0f});
    auto Y = series({10.0f, 20.0f, 30.0f, 40.0f, 50.0f, 10.0f, 10.0f});
    const std::vector<Point> forward{{0, 800}, {8, 792}, {16, 784}, {24, 776}, {32, 768}};

    Rig r;  // pen at (0, 0): the first point is nearer
    diagrams::KURVE(r.p, X, Y, 5, 1, 0, 0);
    auto polys = r.surf.of(Kind::Polyline);
    ASSERT_EQ(polys.size(), 1u);
    EXPECT_EQ(polys[0].points, forward);
    EXPECT_EQ(r.surf.count(Kind::Line), 0);  // no markers
    EXPECT_EQ(r.ends(Kind::Move), (std::vector<Point>{{0, 800}}));

    Rig q;
    device::PLOT(q.p, 4.5f, 3.0f, 3);  // nearer the last point
    q.surf.clear();
    diagrams::KURVE(q.p, X, Y, 5, 1, 0, 0);
    polys = q.surf.of(Kind::Polyline);
    ASSERT_EQ(polys.size(), 1u);
    EXPECT_EQ(polys[0].points, std::vector<Point>(forward.rbegin(), forward.rend()));
    // The pen ends solid and one pixel wide.
    EXPECT_EQ(q.surf.pen().style, platform::PenStyle::Solid);
    EXPECT_EQ(q.surf.pen().width, 1);
}

TEST(PlotlibKurve, MarkersOnEveryJthPointAndStride) {
    // Stride 2: values in the even cells, the scales in cells 11 and 13 (indices 10 and 12).
    auto X = series({0, 99, 1, 99, 2, 99, 3, 99, 4, 99, 0, 99, 1});
    auto Y = series({0, 99, 1, 99, 2, 99, 3, 99, 4, 99, 0, 99, 1});
    Rig r;
    device::SETPEN(r.p, 2, 3, 4);  // the curve pen: dashed, 3 wide, green
    r.surf.clear();
    diagrams::KURVE(r.p, X, Y, 5, 2, 3, 1);
    // Markers on points 0 and 3 only: each is a move to its first stroke point and, at the
    // end, a move back to its centre; then the move to the curve's start.
    const auto moves = r.ends(Kind::Move);
    ASSERT_EQ(moves.size(), 5u);
    EXPECT_EQ(moves[1], (Point{0, 800}));
    EXPECT_EQ(moves[3], (Point{24, 776}));
    EXPECT_EQ(moves[4], (Point{0, 800}));
    EXPECT_GT(r.surf.count(Kind::Line), 0);
    // The markers are drawn solid, the curve with its own pen again.
    const auto polys = r.surf.of(Kind::Polyline);
    ASSERT_EQ(polys.size(), 1u);
    EXPECT_EQ(polys[0].points.size(), 5u);
    platform::Pen at_curve{};
    for (const auto& op : r.surf.ops()) {
        if (op.kind == Kind::Pen) at_curve = op.pen;
        if (op.kind == Kind::Polyline) break;
    }
    EXPECT_EQ(at_curve, (platform::Pen{platform::PenStyle::Dash, 3, {0, 255, 0}}));
}

TEST(PlotlibKurve, LongCurveIsOneCallAndBadScalesDrawNothing) {
    std::array<float, 2003> X{}, Y{};
    for (int i = 0; i < 2001; ++i) {
        X[static_cast<std::size_t>(i)] = static_cast<float>(i);
        Y[static_cast<std::size_t>(i)] = static_cast<float>(i % 7);
    }
    X[2001] = 0.0f;
    X[2002] = 100.0f;
    Y[2001] = 0.0f;
    Y[2002] = 1.0f;
    Rig r;
    diagrams::KURVE(r.p, X, Y, 2001, 1, 0, 0);
    const auto polys = r.surf.of(Kind::Polyline);
    ASSERT_EQ(polys.size(), 1u);
    EXPECT_EQ(polys[0].points.size(), 2001u);

    Rig q;
    Y[2002] = 0.0f;  // no scale
    diagrams::KURVE(q.p, X, Y, 2001, 1, 0, 0);
    diagrams::KURVE(q.p, X, Y, 2002, 1, 0, 0);  // scale cells beyond the buffer
    EXPECT_TRUE(q.surf.ops().empty());
}

TEST(PlotlibNetz, LinearGrid) {
    Rig r;
    diagrams::NETZ(r.p, 0.0f, 0.0f, 10.0f, 8.0f, 1.0f, 1.0f, 4.0f, 4.0f);
    // Frame 4; major x at 4 and 8 cm, major y at 4 cm (8 is the edge); minor x at 1..9,
    // minor y at 1..7.
    EXPECT_EQ(r.surf.count(Kind::Line), 4 + 3 + 9 + 7);
    EXPECT_TRUE(r.has_line_to({80, 800}));
    EXPECT_TRUE(r.has_line_to({0, 736}));
    std::vector<int> major_x;
    platform::Pen pen{};
    for (const auto& op : r.surf.ops()) {
        if (op.kind == Kind::Pen) pen = op.pen;
        if (op.kind == Kind::Move && pen.style == platform::PenStyle::Solid &&
            pen.color == platform::Color{200, 200, 200} && op.p.y != r.surf.ops()[0].p.y &&
            (op.p.y == 800 || op.p.y == 736))
            major_x.push_back(op.p.x);
    }
    EXPECT_EQ(major_x, (std::vector<int>{32, 64}));
    EXPECT_EQ(r.surf.pen().color, (platform::Color{0, 0, 0}));
}

TEST(PlotlibNetz, LogarithmicDecadesAndErrors) {
    Rig r;
    // x: decades of 5 cm over 10 cm: 8 lines in the first, its start and 8 in the second;
    // no minor x lines. y: major at 4, minor at 1..7.
    diagrams::NETZ(r.p, 0.0f, 0.0f, 10.0f, 8.0f, 1.0f, 1.0f, -5.0f, 4.0f);
    EXPECT_EQ(r.surf.count(Kind::Line), 4 + 17 + 1 + 7);
    EXPECT_TRUE(r.has_line_to({12, 736}) || r.has_line_to({12, 800}));  // 5 log10 2 = 1.505
    EXPECT_TRUE(r.has_line_to({40, 736}) || r.has_line_to({40, 800}));  // second decade
    EXPECT_TRUE(r.has_line_to({78, 736}) || r.has_line_to({78, 800}));  // 5 + 5 log10 9 = 9.771

    Rig e;
    diagrams::NETZ(e.p, 0.0f, 0.0f, 0.0f, 5.0f, 1.0f, 1.0f, 4.0f, 4.0f);
    diagrams::NETZ(e.p, 0.0f, 0.0f, 10.0f, 5.0f, -1.0f, 1.0f, 4.0f, 4.0f);
    EXPECT_TRUE(e.surf.ops().empty());
    EXPECT_EQ(e.units.u6.text(),
              "0******* XSIZE= 0.0000000E+00 YSIZE= 0.5000000E+01 VALUES MUST BE   POSITIVE\n"
              "0******* XSTEP=-0.1000000E+01 YSTEP= 0.1000000E+01 VALUES MUST NOT  BE NEGATIV\n");
}

TEST(PlotlibRobustness, AbsurdArgumentsStayBounded) {
    Rig r;
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    device::PLOT(r.p, nan, inf, 2);
    device::PLOT(r.p, -inf, 1.0e30f, 2);
    for (const auto& op : r.surf.of(Kind::Line)) {
        EXPECT_LE(op.p.x, 800);
        EXPECT_LE(op.p.y, 800);
    }
    diagrams::SYMBOL(r.p, 1.0f, 1.0f, 0.3f, "AB", nan, 2000000000);
    diagrams::ACHSE(r.p, 0.0f, 0.0f, "T", 1, inf, 0.0f, 0.0f, nan, -1, 0.3f);
    diagrams::ACHSE(r.p, 0.0f, 0.0f, "T", -2147483647 - 1, 1.0e9f, 45.0f, 0.0f, inf, 20, 0.3f);
    diagrams::NETZ(r.p, 0.0f, 0.0f, inf, 1.0e30f, 0.001f, 0.001f, 0.001f, -0.001f);
    auto a = series({inf, -inf, nan, 1.0e38f, -1.0e38f});
    diagrams::SKALIE(a, 10.0f, 5, 1);
    auto b = series({1.0f, nan, 3.0f, 0.0f, 1.0f});
    diagrams::KURVE(r.p, b, b, 3, 1, -2147483647 - 1, 99);
    diagrams::NUMBER(r.p, 1.0f, 1.0f, 0.3f, nan, 0.0f, -2147483647 - 1);
    // Everything above ends; the grids are held to a bounded number of lines.
    EXPECT_LT(r.surf.ops().size(), 100000u);
}
