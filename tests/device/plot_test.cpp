#include <gtest/gtest.h>

#include <vector>

#include "device/plot.hpp"
#include "platform/recording_surface.hpp"
#include "tests/device/device_rig.hpp"

using namespace korvex;
using platform::Color;
using platform::Pen;
using platform::PenStyle;
using platform::Point;
using Kind = platform::RecordingSurface::Kind;

namespace {

struct Rig : test::DeviceRig<platform::RecordingSurface> {
    Rig() : DeviceRig(1008, 700) {
        dev.HWND = 1;
        dev.HDC = 7;
        dev.HPENOLD = Pen{PenStyle::Solid, 2, {0, 0, 0}};
        dev.HPENOLD_ID = 2;
        dev.HPEN_ID = 3;
    }
};

}  // namespace

TEST(DevicePlots, WholePixelsPerCentimetreAndOrigin) {
    Rig r;
    device::PLOTS(r.p, 25.0f, 12.0f, 0.0f);  // factor 0 means 1
    EXPECT_EQ(r.dev.FACT, 1.0f);
    EXPECT_EQ(r.dev.IPIXX, 40);  // 1008 / 25 = 40.32
    EXPECT_EQ(r.dev.IPIXY, 58);  // 700 / 12 = 58.33
    EXPECT_EQ(r.dev.YORIG, 12.0f);

    device::PLOTS(r.p, 25.0f, 12.0f, -3.0f);
    EXPECT_EQ(r.dev.FACT, 1.0f);
    device::PLOTS(r.p, 10.0f, 5.0f, 2.0f);  // 20 by 10 scaled cm
    EXPECT_EQ(r.dev.IPIXX, 50);
    EXPECT_EQ(r.dev.IPIXY, 70);
    EXPECT_EQ(r.dev.YORIG, 10.0f);

    r.dev.NPANEL = 2;  // two panels side by side: half the scale
    device::PLOTS(r.p, 25.0f, 12.0f, 1.0f);
    EXPECT_EQ(r.dev.IPIXX, 20);

    // An empty area has no scale instead of a division by zero.
    device::PLOTS(r.p, 0.0f, 0.0f, 1.0f);
    EXPECT_EQ(r.dev.IPIXX, 0);
    EXPECT_EQ(r.dev.IPIXY, 0);
    r.dev.NPANEL = 0;
    device::PLOTS(r.p, 25.0f, 12.0f, 1.0f);
    EXPECT_EQ(r.dev.IPIXX, 0);
}

TEST(DevicePlots, TracesAtLevelFourAndFive) {
    Rig r;
    r.units.IPRNT2 = 4;
    device::PLOTS(r.p, 25.0f, 12.0f, 1.0f);
    EXPECT_EQ(r.units.u6.text(), "  PLOTS: SIZE_X = 1008  SIZE_:Y = 700  PIXELS\n");
    const std::string& t9 = r.units.u9.text();
    EXPECT_NE(t9.find("  PLOTS: EINGEGEBENE ACHSENLAENGEN: XL= 25.0  YL= 12.0  CM\n"), std::string::npos);
    EXPECT_NE(t9.find("  WINDOW: SIZE_X = 1008  SIZE_:Y = 700  PIXELS\n"), std::string::npos);
    EXPECT_NE(t9.find("  WINDOW MASSTAB: IPIXX= 40  IPIXY= 58  PIXELS/CM; ZEICHNUNGSFAKTOR= 1.0\n"),
              std::string::npos);
    EXPECT_NE(t9.find(" DAMIT WIRD DER ZEICHENBEREICH HORIZONTAL:  25.0  UND VERTIKAL :  12.0  CM\n"),
              std::string::npos);  // 1008 div 40 = 25, 700 div 58 = 12

    r.units.u6.clear_text();
    r.units.IPRNT2 = 5;
    device::PLOTS(r.p, 25.0f, 12.0f, 1.0f);
    const std::string& t6 = r.units.u6.text();
    EXPECT_NE(t6.find(" EINGEGEBENE ACHSENLAENGEN: XL= 25.0"), std::string::npos);
    EXPECT_NE(t6.find(" WINDOW MASSTAB: IPIXX= 40"), std::string::npos);
    EXPECT_NE(t6.find(" DAMIT WIRD"), std::string::npos);

    Rig quiet;
    quiet.units.IPRNT2 = 3;
    device::PLOTS(quiet.p, 25.0f, 12.0f, 1.0f);
    EXPECT_TRUE(quiet.units.u6.text().empty());
    EXPECT_TRUE(quiet.units.u9.text().empty());
}

TEST(DevicePlot, MapsByTruncationMovesAndDraws) {
    Rig r;
    device::PLOTS(r.p, 25.0f, 12.0f, 1.0f);
    device::PLOT(r.p, 1.0f, 1.0f, 3);    // (40, 11 cm down = 638)
    device::PLOT(r.p, 2.5f, 0.5f, 2);    // (100, 667)
    device::PLOT(r.p, 0.99f, 0.0f, 2);   // 39.6 -> 39, bottom 12 cm -> 696
    device::PLOT(r.p, -1.0f, 13.0f, 2);  // left of and above the surface: passed on unchanged
    device::PLOT(r.p, 3.0f, 3.0f, 1);    // other pen codes neither move nor draw
    device::PLOT(r.p, 3.0f, 3.0f, 7);
    EXPECT_EQ(r.ends(Kind::Move), (std::vector<Point>{{40, 638}}));
    EXPECT_EQ(r.ends(Kind::Line), (std::vector<Point>{{100, 667}, {39, 696}, {-40, -58}}));
    EXPECT_EQ(r.dev.NPLOT, 6);
    EXPECT_EQ(r.NFAIL, 0);
    float x, y, f;
    device::WHERE(r.dev, x, y, f);
    EXPECT_EQ(x, 3.0f);
    EXPECT_EQ(y, 3.0f);
    EXPECT_EQ(f, 1.0f);

    // Without PLOTS every point lands on pixel (0, 0).
    Rig fresh;
    device::PLOT(fresh.p, 5.0f, 5.0f, 2);
    EXPECT_EQ(fresh.ends(Kind::Line), (std::vector<Point>{{0, 0}}));
}

TEST(DevicePlot, UpperEdgesPullPointsInsideWithTrace) {
    Rig r;
    r.units.IPRNT2 = 3;
    device::PLOTS(r.p, 25.0f, 12.0f, 1.0f);
    device::PLOT(r.p, 30.0f, -1.0f, 2);  // 1200 > 1008, 13 cm down = 754 > 700
    EXPECT_EQ(r.ends(Kind::Line), (std::vector<Point>{{1003, 695}}));
    EXPECT_EQ(r.units.u9.text(),
              " DO NOT DRAW OUTSIDE THE WINDOW.X : IX = 1200  wird  zu: 1003\n"
              " DO NOT DRAW OUTSIDE THE WINDOW.Y : IY = 754  wird  zu: 695\n");
    r.units.u9.clear_text();
    r.units.IPRNT2 = 2;
    device::PLOT(r.p, 30.0f, 0.0f, 2);
    EXPECT_TRUE(r.units.u9.text().empty());
}

TEST(DevicePlot, NegativePenShiftsOriginAndWhereIsRelative) {
    Rig r;
    device::PLOTS(r.p, 25.0f, 12.0f, 1.0f);
    device::PLOT(r.p, 5.0f, 2.0f, -3);  // move to (200, 580), which becomes (0, 0)
    device::PLOT(r.p, 0.0f, 0.0f, 2);   // zero-length line at the new origin
    device::PLOT(r.p, 1.0f, 1.0f, -2);  // draw, then shift again
    device::PLOT(r.p, 0.5f, 0.0f, 2);
    EXPECT_EQ(r.ends(Kind::Move), (std::vector<Point>{{200, 580}}));
    EXPECT_EQ(r.ends(Kind::Line), (std::vector<Point>{{200, 580}, {240, 522}, {260, 522}}));
    EXPECT_EQ(r.dev.XORIG, 6.0f);
    EXPECT_EQ(r.dev.YORIG, 9.0f);
    float x, y, f;
    device::WHERE(r.dev, x, y, f);
    EXPECT_EQ(x, 0.5f);
    EXPECT_EQ(y, 0.0f);
}

TEST(DevicePlot, PenCodeZeroIsCountedAndReported) {
    Rig r;
    device::PLOTS(r.p, 25.0f, 12.0f, 1.0f);
    device::PLOT(r.p, 1.0f, 1.0f, 0);
    device::PLOT(r.p, 1.0f, 1.0f, 0);
    EXPECT_EQ(r.NFAIL, 2);
    EXPECT_EQ(r.surf.count(Kind::Line) + r.surf.count(Kind::Move), 0);
    const std::string msg = " 3. ARGUMENT IN CALL PLOT MUST NOT BE = 0\n";
    EXPECT_EQ(r.units.u6.text(), msg + msg);
    EXPECT_EQ(r.units.u9.text(), msg + msg);
}

TEST(DevicePlot, EndOfJobPageMark) {
    Rig r;
    r.units.IPRNT2 = 3;
    r.NFAIL = 12;
    device::PLOTS(r.p, 25.0f, 12.0f, 1.0f);
    device::PLOT(r.p, 4.0f, 4.0f, -3);
    r.surf.clear();
    device::PLOT(r.p, 0.0f, 0.0f, 999);
    EXPECT_EQ(r.dev.XORIG, 0.0f);
    EXPECT_EQ(r.dev.YORIG, 0.0f);
    const auto& ops = r.surf.ops();
    ASSERT_EQ(ops.size(), 7u);
    EXPECT_EQ(ops[0].kind, Kind::Rectangle);  // 30 by 25 at the lower left corner
    EXPECT_EQ((std::vector<int>{ops[0].left, ops[0].top, ops[0].right, ops[0].bottom}),
              (std::vector<int>{0, 675, 30, 700}));
    EXPECT_EQ(ops[1].kind, Kind::Pen);
    EXPECT_EQ(ops[1].pen, r.dev.HPENOLD);
    EXPECT_EQ(ops[2].kind, Kind::TextColor);
    EXPECT_EQ(ops[2].color, (Color{255, 0, 0}));
    EXPECT_EQ(ops[3].kind, Kind::Text);
    EXPECT_EQ(ops[3].text, "999");
    EXPECT_EQ(ops[3].p, (Point{2, 678}));
    // SETPEN(1, 1, 7): old pen again, then a solid black one-pixel pen; then home.
    EXPECT_EQ(ops[4].pen, r.dev.HPENOLD);
    EXPECT_EQ(ops[5].pen, (Pen{PenStyle::Solid, 1, {0, 0, 0}}));
    EXPECT_EQ(ops[6].kind, Kind::Move);
    EXPECT_EQ(ops[6].p, (Point{0, 0}));
    EXPECT_EQ(r.units.u9.text(),
              "  PLOT: N=  999; hWnd=  1  hDC= 7\n"
              " =========>>          2 PLOT AUFRUFE <<=========      NFAIL =    12\n");
}

TEST(DevicePlot, EndOfPageMarkCarriesThePageCounter) {
    Rig r;
    r.units.IPRNT2 = 6;
    r.NEWDIA = 3;
    device::PLOTS(r.p, 25.0f, 12.0f, 1.0f);
    r.units.u9.clear_text();
    device::PLOT(r.p, 0.0f, 0.0f, -999);
    const auto rects = r.surf.of(Kind::Rectangle);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].right, 25);
    const auto texts = r.surf.of(Kind::Text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, " 3");
    EXPECT_EQ(r.units.u9.text(),
              " PLOT -999 hDC=    7 hPen=     3 hPenOld=     2 hWnd=     1\n");
    EXPECT_EQ(r.surf.pen(), (Pen{PenStyle::Solid, 1, {0, 0, 0}}));
}

TEST(DevicePlot, BookkeepingGoesOnWithoutASurface) {
    Rig r;
    r.dev.surface = nullptr;
    device::PLOTS(r.p, 25.0f, 12.0f, 1.0f);
    device::PLOT(r.p, 2.0f, 3.0f, 2);
    device::PLOT(r.p, 0.0f, 0.0f, 999);
    device::SETPEN(r.p, 2, 1, 4);
    const float xs[] = {1.0f, 2.0f}, ys[] = {4.0f, 5.0f};
    device::POLYLN(r.p, xs, ys, 2);
    EXPECT_EQ(r.dev.NPLOT, 2);
    EXPECT_EQ(r.dev.HPEN, (Pen{PenStyle::Dash, 1, {0, 255, 0}}));
    float x, y, f;
    device::WHERE(r.dev, x, y, f);
    EXPECT_EQ(x, 2.0f);
    EXPECT_EQ(y, 5.0f);
    EXPECT_TRUE(r.surf.ops().empty());
}

TEST(DeviceSetpen, StylesWidthsAndColours) {
    Rig r;
    auto pen = [&](int s, int w, int c) {
        device::SETPEN(r.p, s, w, c);
        return r.surf.pen();
    };
    // The first pen that keeps its colour is black.
    EXPECT_EQ(pen(1, 1, 0), (Pen{PenStyle::Solid, 1, {0, 0, 0}}));
    EXPECT_EQ(pen(2, 1, 4), (Pen{PenStyle::Dash, 1, {0, 255, 0}}));
    EXPECT_EQ(pen(0, 0, 0), (Pen{PenStyle::Dash, 0, {0, 255, 0}}));  // style and colour kept
    EXPECT_EQ(pen(3, 1, 18).color, (Color{200, 200, 200}));
    EXPECT_EQ(pen(3, 1, 18).style, PenStyle::Dot);
    EXPECT_EQ(pen(4, 1, -5).color, (Color{0, 0, 255}));
    EXPECT_EQ(pen(5, 1, 21).color, (Color{0, 0, 255}));
    EXPECT_EQ(pen(5, 1, 14).color, (Color{20, 160, 20}));
    EXPECT_EQ(pen(5, 1, 11).color, (Color{191, 35, 191}));
    EXPECT_EQ(pen(1, 1, 15).color, (Color{255, 255, 0}));
    EXPECT_EQ(pen(5, 1, 0).style, PenStyle::DashDotDot);
    EXPECT_EQ(pen(6, 1, 0).style, PenStyle::Dot);
    EXPECT_EQ(pen(7, 1, 0).style, PenStyle::Dash);
    EXPECT_EQ(pen(8, 1, 0).style, PenStyle::DashDot);
    EXPECT_EQ(pen(10, 1, 0).style, PenStyle::Dash);     // 10 - 8 = 2
    EXPECT_EQ(pen(20, 1, 0).style, PenStyle::DashDot);  // 12 limited to 8
    EXPECT_EQ(r.dev.style_in_force, 8);

    // Widths: beyond +-100 gives 2; after a width below -100 a width of 0 also gives 2.
    EXPECT_EQ(pen(1, 3, 7).width, 3);
    EXPECT_EQ(pen(1, 0, 7).width, 0);
    EXPECT_EQ(pen(1, 150, 7).width, 2);
    EXPECT_EQ(pen(1, 0, 7).width, 0);
    EXPECT_EQ(pen(1, -150, 7).width, 2);
    EXPECT_EQ(pen(1, 0, 7).width, 2);

    r.dev.MONO = true;
    EXPECT_EQ(pen(1, 1, 2).color, (Color{0, 0, 0}));
}

TEST(DeviceSetpen, NegativeStyleCreatesNoPen) {
    Rig r;
    device::SETPEN(r.p, 2, 1, 2);
    r.surf.clear();
    device::SETPEN(r.p, -1, 1, 4);
    device::SETPEN(r.p, 0, 1, 4);  // the negative style stays in force
    ASSERT_EQ(r.surf.count(Kind::Pen), 2);
    EXPECT_EQ(r.surf.pen(), r.dev.HPENOLD);
    device::SETPEN(r.p, 1, 1, 0);
    EXPECT_EQ(r.surf.pen(), (Pen{PenStyle::Solid, 1, {0, 255, 0}}));
}

TEST(DevicePolyln, OnePolylineWithoutClippingOrCounting) {
    Rig r;
    device::PLOTS(r.p, 25.0f, 12.0f, 1.0f);
    const float xs[] = {0.0f, 1.0f, 30.0f};
    const float ys[] = {0.0f, 1.0f, -2.0f};
    device::POLYLN(r.p, xs, ys, 3);
    const auto polys = r.surf.of(Kind::Polyline);
    ASSERT_EQ(polys.size(), 1u);
    EXPECT_EQ(polys[0].points, (std::vector<Point>{{0, 696}, {40, 638}, {1200, 812}}));
    EXPECT_EQ(r.dev.NPLOT, 0);
    float x, y, f;
    device::WHERE(r.dev, x, y, f);
    EXPECT_EQ(x, 30.0f);
    EXPECT_EQ(y, -2.0f);

    // Counts outside 0..2003 are held to it.
    std::vector<float> big(5000, 1.0f);
    device::POLYLN(r.p, big.data(), big.data(), 5000);
    device::POLYLN(r.p, big.data(), big.data(), -4);
    ASSERT_EQ(r.surf.count(Kind::Polyline), 2);
    EXPECT_EQ(r.surf.of(Kind::Polyline)[1].points.size(), 2003u);
}
