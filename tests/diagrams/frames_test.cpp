#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>

#include "device/plot.hpp"
#include "diagrams/frames.hpp"
#include "platform/recording_surface.hpp"
#include "tests/device/device_rig.hpp"
#include "tests/e2e/e2e_support.hpp"

using namespace korvex;
using namespace korvex::diagrams;
using Kind = platform::RecordingSurface::Kind;

namespace {

// A 1000 x 600 surface with a 25 x 12 cm plot area: 40 pixels per cm across, 50 down.
struct Bench : test::DeviceRig<platform::RecordingSurface> {
    properties::SteamState steam;
    Bench() : DeviceRig(1000, 600) {
        NEWDIA = 1;
        device::PLOTS(p, 25.0f, 12.0f, 1.0f);
    }
    static platform::Point px(float x, float y) {
        return {static_cast<int>(40.0f * x), static_cast<int>(50.0f * (12.0f - y))};
    }
};

// Gas frame between 300 and 600 K at the volume ratio 2, starting on corner I itself (300 K,
// entropy 4), on axes of 200 K + 50 K per cm and 3.5 + 0.1 per cm.
FrameInput gas_frame() {
    FrameInput in;
    in.VOLVX = 2.0;
    in.TCMIN = 300.0;
    in.TEMAX = 600.0;
    in.FT = 200.0f;
    in.DT = 50.0f;
    in.XCVMOL = 0.5;
    in.XM0 = 0.2;
    in.T1 = 300.0;
    in.S1 = 4.0;
    in.VXMAX = 400.0;
    in.VGTS = 200.0;
    in.FFS1 = 3.5f;
    in.DDS1 = 0.1f;
    return in;
}

template <std::size_t M>
void put(std::array<float, M>& a, std::initializer_list<float> v) {
    std::size_t i = 0;
    for (float x : v) a[i++] = x;
}

}  // namespace

// Rectangle 100..200 cm3 x 1..2 bar traversed clockwise: 20 W*s in, 10 out, 10 net, ratio 50 %;
// the same rectangle the other way round gives the negative net work. A T-S rectangle between
// 300 and 600 K over 2 W*s/K gives 1200 in, 600 out.
TEST(FramesQint, ClosedRectanglesInBothModes) {
    runtime::Units u;
    std::array<float, 8> V{}, P{};
    put(V, {100, 100, 200, 200});
    put(P, {1, 2, 2, 1});
    QintResult q = QINT(u, V, P, 4, "P", "1");
    EXPECT_NEAR(q.QNUTZ, 10.0, 1e-9);
    EXPECT_NEAR(q.QZU, 20.0, 1e-9);
    EXPECT_NEAR(q.QAB, -10.0, 1e-9);
    EXPECT_NEAR(q.RATIO, 50.0, 1e-9);

    put(V, {100, 200, 200, 100});
    put(P, {1, 1, 2, 2});
    EXPECT_NEAR(QINT(u, V, P, 4, "P", "1").QNUTZ, -10.0, 1e-9);

    std::array<float, 8> S{}, T{};
    put(S, {1, 1, 3, 3});
    put(T, {300, 600, 600, 300});
    q = QINT(u, S, T, 4, "T", "1");
    EXPECT_NEAR(q.QZU, 1200.0, 1e-9);
    EXPECT_NEAR(q.QAB, -600.0, 1e-9);
    EXPECT_NEAR(q.QNUTZ, 600.0, 1e-9);
    EXPECT_NEAR(q.RATIO, 50.0, 1e-9);

    // An open curve is closed by the segment from its last point back to the first: in the
    // pressure mode by the trapezoid, (100 - 200) (1 + 2) / 2 * 0.1 = -15, with the segment
    // (200 - 100) * 2 * 0.1 = 20: 5 W*s; in the entropy mode by the rectangle at the first
    // point, (100 - 200) * 1 + 100 * 2 = 100.
    std::array<float, 4> V2{100, 200}, P2{1, 2};
    q = QINT(u, V2, P2, 2, "P", "1");
    EXPECT_NEAR(q.QNUTZ, 5.0, 1e-9);
    EXPECT_NEAR(q.QAB, -15.0, 1e-9);
    EXPECT_NEAR(QINT(u, V2, P2, 2, "T", "1").QNUTZ, 100.0, 1e-9);

    // Too few points, or more than the buffers hold: nothing integrated, nothing read past them.
    EXPECT_EQ(QINT(u, S, T, 1, "T", "1").QNUTZ, 0.0);
    EXPECT_NEAR(QINT(u, S, T, 1000, "T", "1").QNUTZ, QINT(u, S, T, 8, "T", "1").QNUTZ, 1e-12);
}

// The direction changes are traced at level 5 only.
TEST(FramesQint, TracesDirectionChangesAtLevelFive) {
    runtime::Units u;
    std::array<float, 4> S{1, 1, 3, 3}, T{300, 600, 600, 300};
    QINT(u, S, T, 4, "T", "1");
    EXPECT_TRUE(u.u9.text().empty());
    u.IPRNT2 = 5;
    QINT(u, S, T, 4, "T", "1");
    EXPECT_NE(u.u9.text().find("DS POSITV  BIS I= "), std::string::npos);
    EXPECT_NE(u.u9.text().find("DS NEGATIV BIS I= "), std::string::npos);
}

// Gas frame between 300 and 600 K: 75 steps of 4 K, corners at TH and TK, the isotherms carry
// TH m R ln(VMAX/VMIN) in and TK m R ln(...) out, and with an ideal regenerator the efficiency
// is Carnot's, 100 (1 - TK/TH) = 50 %.
TEST(FramesFrame, GasFrameBetween300And600Kelvin) {
    Bench b;
    b.units.IPRNT2 = 3;
    const FrameInput in = gas_frame();
    FramePoints pts;
    FrameResult r;
    FRAME(b.p, b.steam, in, pts, r);
    ASSERT_TRUE(r.built);
    EXPECT_DOUBLE_EQ(r.DELTA_T, 4.0);
    EXPECT_FLOAT_EQ(pts.T[75], 600.0f);
    EXPECT_FLOAT_EQ(pts.T[151], 300.0f);
    EXPECT_FLOAT_EQ(pts.T[0], 300.0f);
    EXPECT_FLOAT_EQ(pts.S[0], 4.0f);
    EXPECT_FLOAT_EQ(pts.S[152], pts.S[0]);   // closed
    EXPECT_NEAR(pts.S[75] - pts.S[0], 0.5 * std::log(2.0), 1e-5);
    const double ln2 = std::log(2.0);
    EXPECT_NEAR(r.Q23, 600.0 * 0.2 * ln2, 1e-9);
    EXPECT_NEAR(r.Q41, -300.0 * 0.2 * ln2, 1e-9);
    EXPECT_NEAR(r.ETAC, 50.0, 1e-9);
    // The isochors carry about CV (TH - TK) each way; the step rule errs by well under 1 %.
    EXPECT_NEAR(r.Q12, 150.0, 1.0);
    EXPECT_NEAR(r.Q34, -150.0, 1.0);
    EXPECT_NEAR(r.integral, r.QNUTZ, 1e-3);
    // Scale cells behind the points, and the frame drawn as one polyline.
    EXPECT_FLOAT_EQ(pts.S[153], 3.5f);
    EXPECT_FLOAT_EQ(pts.S[154], 0.1f);
    EXPECT_FLOAT_EQ(pts.T[153], 200.0f);
    EXPECT_EQ(b.surf.count(Kind::Polyline), 1);
    EXPECT_NE(b.units.u6.text().find(" GAS-FRAME: Q_ISOCHOR(I --> II)  ="), std::string::npos);
    EXPECT_NE(b.units.u9.text().find("MIT IDEALEM REGENERATOR WAERMEAUSTAUSCH"), std::string::npos);
    EXPECT_NE(b.units.u9.text().find("\"QINT\":====> INTEGRAL DES \"T1 - S1\" RAHMENS: "), std::string::npos);
}

// Corner I is reached from a state elsewhere on the cycle isothermally to VMIN and
// isochorically to TK.
TEST(FramesFrame, CornerOneFromAnotherStateOfTheGas) {
    Bench b;
    FrameInput in;
    in.VOLVX = 4.0;
    in.TCMIN = 300.0;
    in.TEMAX = 900.0;
    in.XCVMOL = 1.5;
    in.XM0 = 0.6;
    in.T1 = 450.0;
    in.S1 = 2.0;
    in.VXMAX = 800.0;
    in.VGTS = 500.0;
    in.DT = 1.0f;
    in.DDS1 = 1.0f;
    FramePoints pts;
    FrameResult r;
    FRAME(b.p, b.steam, in, pts, r);
    ASSERT_TRUE(r.built);
    const double expect = 2.0 + 0.6 * std::log(200.0 / 500.0) + 1.5 * std::log(300.0 / 450.0);
    EXPECT_NEAR(pts.S[0], expect, 1e-5);
    EXPECT_NEAR(r.ETAC, 100.0 * (1.0 - 300.0 / 900.0), 1e-9);
}

// A run too short for one revolution has no volume extremes, and a heater no hotter than the
// cooler makes no cycle: the message in place of the frame, nothing drawn, no number that is
// not one.
TEST(FramesFrame, NoFrameWithoutVolumeExtremesOrWithoutACycle) {
    Bench b;
    b.units.IPRNT2 = 3;
    FrameInput in = gas_frame();
    in.VOLVX = 0.0;
    in.VXMAX = 0.0;
    FramePoints pts;
    FrameResult r;
    FRAME(b.p, b.steam, in, pts, r);
    EXPECT_FALSE(r.built);
    for (const std::string* t : {&b.units.u6.text(), &b.units.u9.text()}) {
        EXPECT_NE(t->find(" ======>> ERROR IN FRAME, VMAX/VMIN NOCH NICHT BESTIMMT, WEIL TIME ZU GERING, "
                          "KONNTE 1 UMDREHUNG NICHT BERECHNET WERDEN"),
                  std::string::npos);
        EXPECT_NE(t->find(" ======>> ERROR IN FRAME, VMAX="), std::string::npos);
    }
    in = gas_frame();
    for (double TH : {2.0, 300.0}) {
        in.TEMAX = TH;
        FRAME(b.p, b.steam, in, pts, r);
        EXPECT_FALSE(r.built) << TH;
    }
    EXPECT_EQ(b.surf.count(Kind::Polyline), 0);
    EXPECT_NE(b.units.u6.text().find(" ======>> ERROR IN FRAME, TK= 300.0  TH= 2.0  KEIN RAHMEN"), std::string::npos);
    EXPECT_EQ(b.units.u6.text().find("NaN"), std::string::npos);
    EXPECT_EQ(b.units.u6.text().find("Q_ISOCHOR"), std::string::npos);
}

// A frame reaching beyond the axes (8 by 6 cm here) is drawn only where it lies on them.
TEST(FramesFrame, FrameIsCutToTheAxes) {
    Bench b;
    FrameInput in = gas_frame();   // T on 2 .. 8 cm, S from 5 cm on
    in.XL = 8.0f;
    in.YL = 6.0f;
    FramePoints pts;
    FrameResult r;
    FRAME(b.p, b.steam, in, pts, r);
    ASSERT_TRUE(r.built);
    ASSERT_GE(b.surf.count(Kind::Polyline), 1);
    for (const auto& op : b.surf.of(Kind::Polyline))
        for (const auto& q : op.points) {
            EXPECT_GE(q.x, 200);   // S = 4 at 5 cm
            EXPECT_LE(q.x, 320);
            EXPECT_GE(q.y, 300);
            EXPECT_LE(q.y, 500);   // T = 300 at 2 cm
        }
}

// Isotherms at 300 and 600 K of 0.02 mol between 100 and 400 cm3: the trapezoid sums agree with
// m R T ln(VMAX/VMIN); both are drawn, and the closed form is listed on unit 6.
TEST(FramesIsothe, WorkOfTheIdealIsotherms) {
    Bench b;
    b.units.IPRNT2 = 3;
    IsothermAxes ax{0.0f, 50.0f, 0.0f, 1.0f, 10.0f, 8.0f, 0.25f};
    IsothermResult r;
    ISOTHE(b.p, 0.02, 300.0, 300.0, 100.0, 400.0, ax, r);
    ASSERT_TRUE(r.built);
    const double RM = 0.08315f, ln4 = std::log(4.0);
    EXPECT_NEAR(r.ANUTZ_C, 0.02 * RM * 300.0 * ln4 * 100.0, 1e-9);
    EXPECT_NEAR(r.AEXP, 0.02 * RM * 600.0 * ln4 * 100.0, 1e-3);
    EXPECT_NEAR(r.ACOMP, 0.02 * RM * 300.0 * ln4 * 100.0, 1e-3);
    EXPECT_NEAR(r.ETA, 50.0, 1e-3);
    EXPECT_EQ(b.surf.count(Kind::Polyline), 2);
    // Isotherms, isochores and the labels stay on the axes, 10 by 8 cm: the upper isotherm
    // starts at 10 bar, above them, so its label is pulled down under the top.
    for (const auto& op : b.surf.ops()) {
        if (op.kind != Kind::Move && op.kind != Kind::Line) continue;
        EXPECT_GE(op.p.x, 0);
        EXPECT_LE(op.p.x, 400);
        EXPECT_GE(op.p.y, 200);
        EXPECT_LE(op.p.y, 600);
    }
    EXPECT_NE(b.units.u6.text().find(" IDEALE ISOTHERME NUTZARBEIT:"), std::string::npos);
    EXPECT_NE(b.units.u9.text().find("IDEALE EXPANSIONSARBEIT="), std::string::npos);
}

// A zero or inverted volume range, or temperatures that make no cycle (the upper isotherm not
// above the lower one), are reported; nothing is drawn and nothing divides by zero.
TEST(FramesIsothe, NothingToDrawIsReported) {
    Bench b;
    IsothermAxes ax{0.0f, 50.0f, 0.0f, 1.0f, 10.0f, 8.0f, 0.25f};
    IsothermResult r;
    ISOTHE(b.p, 0.02, 300.0, 300.0, 0.0, 400.0, ax, r);
    EXPECT_FALSE(r.built);
    ISOTHE(b.p, 0.02, 300.0, 300.0, 400.0, 100.0, ax, r);
    EXPECT_FALSE(r.built);
    ISOTHE(b.p, 0.02, 320.0, 2.0 - 320.0, 100.0, 400.0, ax, r);
    EXPECT_FALSE(r.built);
    ISOTHE(b.p, 0.02, 0.0, 300.0, 100.0, 400.0, ax, r);
    EXPECT_FALSE(r.built);
    EXPECT_EQ(b.surf.count(Kind::Polyline), 0);
    EXPECT_EQ(e2e::count(b.units.u6.text(), "\n ### FEHLER BEI DER BERECHNUNG DER ISOTHERMEN \n"), 3u);
    EXPECT_EQ(b.units.u6.text().rfind(" ### FEHLER BEI DER BERECHNUNG DER ISOTHERMEN \n", 0), 0u);
    EXPECT_NE(b.units.u9.text().find(" ### ISOTHE: T= 320.0  DELTA_T= -318.0"), std::string::npos);
}

TEST(FramesIsothe, LabelSearchInsideTheDiagram) {
    runtime::Units u;
    std::array<float, 4> x{1.0f, 2.0f, 12.0f, 3.0f}, y{5.0f, 7.0f, 9.0f, 2.0f};
    EXPECT_EQ(DIAMAX(u, x, y, 4, 10.0f, 8.0f), 1);  // point 2 lies outside
    EXPECT_EQ(DIAMIN(u, x, y, 4, 10.0f, 8.0f), 0);
    std::array<float, 2> ox{-1.0f, 11.0f}, oy{1.0f, 1.0f};
    EXPECT_EQ(DIAMAX(u, ox, oy, 2, 10.0f, 8.0f), -1);
    EXPECT_EQ(DIAMIN(u, ox, oy, 2, 10.0f, 8.0f), -1);
    EXPECT_NE(u.u6.text().find("\"DIAMAX\": FEHLER BEI PI("), std::string::npos);
    EXPECT_NE(u.u9.text().find("\"DIAMIN\": FEHLER BEI V("), std::string::npos);
}

// The marks sit on the plot points the simulation named; an index outside the curve, or a
// point off the axes, is left out. Every symbol leaves the pen on its centre.
TEST(FramesMarken, MarksOnTheNamedPlotPoints) {
    Bench b;
    std::array<float, 12> X{}, Y{};
    for (int i = 0; i < 10; ++i) {
        X[static_cast<std::size_t>(i)] = 10.0f * i;   // 10 per cm: x = i cm
        Y[static_cast<std::size_t>(i)] = 100.0f + 50.0f * (i % 3);  // 50 per cm from 100
    }
    X[10] = 0.0f, X[11] = 10.0f, Y[10] = 100.0f, Y[11] = 50.0f;
    const std::array<int, 7> IANGLE{1, 3, 5, 7, 9, 10, 11};
    const std::array<double, 7> ANGLE{0, 90, 180, 270, 300, 330, 360};
    MARKEN(b.p, X, Y, 10, IANGLE, ANGLE, 0.2f, 8.5f, 8.0f, 8.0f, true);
    const auto moves = b.surf.of(Kind::Move);
    auto moved_to = [&](platform::Point q) {
        for (const auto& m : moves)
            if (m.p == q) return true;
        return false;
    };
    for (int idx : {1, 3, 5, 7, 9}) {
        const int i = idx - 1;
        EXPECT_TRUE(moved_to(Bench::px(static_cast<float>(i), static_cast<float>(i % 3)))) << idx;
    }
    EXPECT_FALSE(moved_to(Bench::px(9.0f, 0.0f)));   // point 10 lies right of the 8.5 cm axis
    EXPECT_NE(b.units.u9.text().find(" MARKIERUNG AN DEN PLOT-ARRAY PUNKTEN \"IANGLE\"="), std::string::npos);
    EXPECT_NE(b.units.u9.text().find(" MIT DEN WINKELSTELLUNGEN FUER KURBELTRIEB 1  :   "), std::string::npos);
}
