// Every row of the steam table against an independent model of saturated water: the auxiliary
// equations of Wagner and Pruss (J. Phys. Chem. Ref. Data 22, 1993) for the saturation pressure,
// the densities and the enthalpies, and the identity r = T (s'' - s') between the heat of
// evaporation and the two entropies. A mistyped digit in a row shows as a jump against models
// that are smooth in T.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "properties/pdampf.hpp"

using namespace korvex;

namespace {

constexpr double TC = 647.096, PC = 220.64, RHOC = 322.0;   // K, bar, kg/m3

double pow_sum(double x, const std::array<double, 6>& c, const std::array<double, 6>& e) {
    double s = 0.0;
    for (std::size_t i = 0; i < 6; ++i) s += c[i] * std::pow(x, e[i]);
    return s;
}

double p_sat(double T) {   // bar
    const double t = 1.0 - T / TC;
    return PC * std::exp(TC / T * pow_sum(t, {-7.85951783, 1.84408259, -11.7866497, 22.6807411, -15.9618719, 1.80122502},
                                          {1.0, 1.5, 3.0, 3.5, 4.0, 7.5}));
}

double rho_vapour(double T) {   // kg/m3
    const double t = 1.0 - T / TC;
    return RHOC * std::exp(pow_sum(t, {-2.03150240, -2.68302940, -5.38626492, -17.2991605, -44.7586581, -63.9201063},
                                   {2.0 / 6, 4.0 / 6, 8.0 / 6, 18.0 / 6, 37.0 / 6, 71.0 / 6}));
}

double rho_liquid(double T) {   // kg/m3
    const double t = 1.0 - T / TC;
    return RHOC * (1.0 + pow_sum(t, {1.99274064, 1.09965342, -0.510839303, -1.75493479, -45.5170352, -6.74694450e5},
                                 {1.0 / 3, 2.0 / 3, 5.0 / 3, 16.0 / 3, 43.0 / 3, 110.0 / 3}));
}

// Enthalpy of the saturated phase of density rho, kJ/kg: alpha + T/rho dp/dT.
double h_sat(double T, double rho) {
    const double th = T / TC;
    const double alpha = -1135.905627715 + pow_sum(th, {-5.65134998e-8, 2690.66631, 127.287297, -135.003439, 0.981825814, 0.0},
                                                    {-19.0, 1.0, 4.5, 5.0, 54.5, 0.0});
    const double dpdT = (p_sat(T + 1e-3) - p_sat(T - 1e-3)) / 2e-3 * 1e5;   // Pa/K
    return alpha + T / rho * dpdT / 1000.0;
}

}  // namespace

TEST(SteamTable, EveryRowAgreesWithAnIndependentModelOfSaturatedWater) {
    // The rows stand at the triple point, then every 10 K from 283.15 K to 543.15 K. Against
    // the model the table's pressures and densities stand up to 1e-3 low and its enthalpies
    // within 0.6 kJ/kg; the identity holds to the rounding of r, s' and s''.
    const auto& table = properties::steam_table();
    std::array<double, properties::STEAM_ROWS> T{}, dp{}, drho{}, PS{}, RHO{};
    for (std::size_t i = 0; i < T.size(); ++i) {
        const auto& row = table[i];
        T[i] = double(float(i == 0 ? 273.16 : 273.15 + 10.0 * double(i)));
        SCOPED_TRACE(T[i]);
        ASSERT_EQ(row[properties::COL_T], T[i]);
        const double ps = PS[i] = row[properties::COL_PS];
        RHO[i] = row[properties::COL_RHO];
        const double HD = row[properties::COL_HD], R = row[properties::COL_R];
        const double SD = row[properties::COL_SD], SW = row[properties::COL_SW];
        const double rv = rho_vapour(T[i]);
        // Five decimals of a small value: up to 0.5e-5 of rounding besides the 1.5e-3.
        EXPECT_NEAR(ps, p_sat(T[i]), 1.5e-3 * p_sat(T[i]) + 1e-5) << "PS";
        EXPECT_NEAR(RHO[i], rv, 1.5e-3 * rv + 1e-5) << "RHO";
        EXPECT_NEAR(HD, h_sat(T[i], rv), 1.0) << "HD";
        EXPECT_NEAR(R, h_sat(T[i], rv) - h_sat(T[i], rho_liquid(T[i])), 0.6) << "R";
        EXPECT_NEAR(R, T[i] * (SD - SW), 0.012) << "R against SD and SW";
        dp[i] = ps / p_sat(T[i]) - 1.0;
        drho[i] = RHO[i] / rv - 1.0;
    }
    // The table's offset from the model changes smoothly from row to row: its second
    // differences stay below 6e-5, besides what the rounding of three neighbouring values
    // (0.5e-5 each, at most four times that in a second difference) allows.
    for (std::size_t i = 1; i + 1 < T.size(); ++i) {
        SCOPED_TRACE(T[i]);
        const double ps_min = std::min({PS[i - 1], PS[i], PS[i + 1]});
        const double rho_min = std::min({RHO[i - 1], RHO[i], RHO[i + 1]});
        EXPECT_LT(std::abs(dp[i - 1] - 2.0 * dp[i] + dp[i + 1]), 6e-5 + 2e-5 / ps_min) << "PS";
        EXPECT_LT(std::abs(drho[i - 1] - 2.0 * drho[i] + drho[i + 1]), 6e-5 + 2e-5 / rho_min) << "RHO";
    }
}
