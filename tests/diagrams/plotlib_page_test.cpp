#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "device/plot.hpp"
#include "diagrams/plotlib.hpp"
#include "platform/recording_surface.hpp"
#include "tests/device/device_rig.hpp"
#include "tests/e2e/e2e_support.hpp"

using namespace korvex;
using Kind = platform::RecordingSurface::Kind;

// A whole page through the device on the default 1008 x 700 surface (40 pixels per cm across,
// 58 down): a grid, an x axis of 18 cm and two ordinate axes of 7 cm from the origin moved to
// (3, 2.5) cm, i.e. pixel (120, 551), with two curves scaled to them. The axes stand where they
// are placed, each axis has its numbers and title on the side it was asked for, and the curves
// lie inside the axes.
TEST(PlotlibPage, AxesNumbersAndCurvesWhereTheyArePlaced) {
    test::DeviceRig<platform::RecordingSurface> rig(1008, 700);
    rig.NEWDIA = 1;
    device::Plotter& p = rig.p;
    device::PLOTS(p, 25.0f, 12.0f, 1.0f);
    device::PLOT(p, 3.0f, 2.5f, -3);
    const float XL = 18.0f, YL = 7.0f, HOE = 0.25f;
    diagrams::NETZ(p, 0.0f, 0.0f, XL, YL, 1.0f, 1.0f, 4.0f, 4.0f);

    constexpr int N = 361;
    std::array<float, 2003> ang{}, pres{}, vol{};
    for (int i = 0; i < N; ++i) {
        const float a = static_cast<float>(i);
        ang[static_cast<std::size_t>(i)] = a;
        pres[static_cast<std::size_t>(i)] = 60000.0f + 35000.0f * std::sin(a * 3.141592654f / 180.0f);
        vol[static_cast<std::size_t>(i)] = 0.02f + 0.012f * std::cos(a * 3.141592654f / 180.0f);
    }
    ang[N] = 0.0f;
    ang[N + 1] = 20.0f;  // 18 cm for 360 degrees
    diagrams::SKALIE(pres, YL, N, 1);
    diagrams::SKALIE(vol, YL, N, 1);

    // Each axis with the range of primitives it drew.
    struct Drawn {
        std::size_t from, to;
    };
    auto axis = [&](float x, const char* title, int nc, float len, float angle, float first, float delta) {
        const std::size_t from = rig.surf.ops().size();
        diagrams::ACHSE(p, x, 0.0f, title, nc, len, angle, first, delta, -1, HOE);
        return Drawn{from, rig.surf.ops().size()};
    };
    device::SETPEN(p, 1, 1, 7);
    const Drawn xa = axis(0.0f, "Kurbelwinkel Grad", -17, XL, 0.0f, ang[N], ang[N + 1]);
    const Drawn left = axis(0.0f, "Druck Pa", 8, YL, 90.0f, pres[N], pres[N + 1]);
    const Drawn right = axis(XL, "Volumen m**3", -12, YL, 90.0f, vol[N], vol[N + 1]);
    device::SETPEN(p, 1, 2, 2);
    diagrams::KURVE(p, ang, pres, N, 1, 45, 0);
    device::SETPEN(p, 2, 1, 9);
    diagrams::KURVE(p, ang, vol, N, 1, 60, 2);
    device::PLOT(p, 0.0f, 0.0f, -999);
    EXPECT_EQ(rig.NFAIL, 0);

    const auto& ops = rig.surf.ops();
    std::vector<std::pair<platform::Point, platform::Point>> axes;
    for (const auto& a : e2e::axis_lines(ops)) axes.emplace_back(a.start, a.end);
    using PP = std::pair<platform::Point, platform::Point>;
    EXPECT_EQ(axes, (std::vector<PP>{{{120, 551}, {840, 551}}, {{120, 551}, {120, 145}}, {{840, 551}, {840, 145}}}));

    // Numbers and titles: below the x axis, left of the left axis, right of the right one (a
    // tick mark of 0.7 HOE, 7 pixels, may stand on the other side).
    const int tick = 7;
    int below = 0;
    for (std::size_t i = xa.from; i < xa.to; ++i) {
        EXPECT_GE(ops[i].p.y, 551);
        below += ops[i].p.y > 551 + tick;
    }
    EXPECT_GT(below, 100);
    for (std::size_t i = left.from; i < left.to; ++i) EXPECT_LE(ops[i].p.x, 120 + tick);
    for (std::size_t i = right.from; i < right.to; ++i) EXPECT_GE(ops[i].p.x, 840 - tick);
    // Steps of 10000 Pa are shown as 100 with the exponent 2; the volume steps of some
    // thousandths get a negative exponent.
    EXPECT_EQ(diagrams::axis_exponent(pres[N + 1]), 2);
    EXPECT_LT(diagrams::axis_exponent(vol[N + 1]), 0);

    EXPECT_EQ(rig.surf.count(Kind::Polyline), 2);
    for (const auto& f : e2e::page_faults(ops, 1008, 700)) ADD_FAILURE() << f;
}
