#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>

#include "device/plot.hpp"
#include "diagrams/plotlib.hpp"
#include "platform/svg_surface.hpp"
#include "tests/device/device_rig.hpp"

using namespace korvex;

// A whole test page through the device onto the default 1008 x 700 surface: grid, three axes
// (one with a positive and one with a negative exponent), two curves with markers, lettering
// and numbers. It is written into the build directory for a look.
TEST(PlotlibPage, RendersATestPage) {
    test::DeviceRig<platform::SvgSurface> rig(1008, 700);
    rig.NEWDIA = 1;
    device::Plotter& p = rig.p;

    device::PLOTS(p, 25.0f, 12.0f, 1.0f);
    device::SETPEN(p, 1, 1, 7);
    diagrams::SYMBOL(p, 0.5f, 11.3f, 0.35f, "KORVEX Testseite: Achsen, Kurven, Netz", 0.0f, 38);
    diagrams::SYMBOL(p, 0.5f, 10.7f, 0.25f, "Zahlen: ", 0.0f, 8);
    diagrams::NUMBER(p, diagrams::CONTINUE, 10.7f, 0.25f, 12.6f, 0.0f, -1);
    diagrams::SYMBOL(p, diagrams::CONTINUE, 10.7f, 0.25f, "  ", 0.0f, 2);
    diagrams::NUMBER(p, diagrams::CONTINUE, 10.7f, 0.25f, -3.14159f, 0.0f, 3);
    diagrams::SYMBOL(p, diagrams::CONTINUE, 10.7f, 0.25f, "  ", 0.0f, 2);
    diagrams::NUMBER(p, diagrams::CONTINUE, 10.7f, 0.25f, 1234.5f, 0.0f, -2);

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

    device::SETPEN(p, 1, 1, 7);
    diagrams::ACHSE(p, 0.0f, 0.0f, "Kurbelwinkel Grad", -17, XL, 0.0f, ang[N], ang[N + 1], -1, HOE);
    device::SETPEN(p, 1, 1, 2);
    diagrams::ACHSE(p, 0.0f, 0.0f, "Druck Pa", 8, YL, 90.0f, pres[N], pres[N + 1], -1, HOE);
    device::SETPEN(p, 1, 1, 9);
    diagrams::ACHSE(p, XL, 0.0f, "Volumen m**3", -12, YL, 90.0f, vol[N], vol[N + 1], -1, HOE);

    device::SETPEN(p, 1, 2, 2);
    diagrams::KURVE(p, ang, pres, N, 1, 45, 0);
    device::SETPEN(p, 2, 1, 9);
    diagrams::KURVE(p, ang, vol, N, 1, 60, 2);
    device::SETPEN(p, 1, 1, 7);
    diagrams::SYMBLI(p, 1.0f, YL - 0.5f, 0.25f, 0, 0.0f, -1);
    diagrams::SYMBOL(p, 1.5f, YL - 0.62f, HOE, "p(Kurbelwinkel)", 0.0f, 15);
    diagrams::SYMBLI(p, 1.0f, YL - 1.0f, 0.25f, 2, 0.0f, -1);
    diagrams::SYMBOL(p, 1.5f, YL - 1.12f, HOE, "V(Kurbelwinkel)", 0.0f, 15);

    device::PLOT(p, 0.0f, 0.0f, -999);

    EXPECT_EQ(rig.NFAIL, 0);
    // Steps of 10000 Pa are shown as 100 with the exponent 2; the volume steps of some
    // thousandths get a negative exponent.
    EXPECT_EQ(diagrams::axis_exponent(pres[N + 1]), 2);
    EXPECT_LT(diagrams::axis_exponent(vol[N + 1]), 0);
    const auto out = std::filesystem::path(KORVEX_BINARY).parent_path().parent_path() / "test-page.svg";
    EXPECT_TRUE(rig.surf.save(out));
}
