// Conductivity and kinematic viscosity of air, hydrogen, helium and argon.
#include "simulation/gas_transport.hpp"

#include <cmath>

namespace korvex::simulation {

namespace {

// Constants of the property lines, held in single precision.
constexpr double f(float v) { return static_cast<double>(v); }
constexpr double T273 = f(273.15f);

}  // namespace

GasTransport gas_transport(run::GasKind KIND, double T, double P, double RS) {
    const double t = T - T273;  // degrees Celsius
    // Density in kg/m**3 (= g/litre): P in Bar, RS in Bar*cm**3/(g*K).
    const double den = RS * T;
    const double RHO = den != 0.0 ? 1000.0 * P / den : 0.0;
    auto kinematic = [RHO](double dynamic) {
        const double nu = RHO > 0.0 ? dynamic / RHO : 0.0;
        return std::isfinite(nu) ? nu : 0.0;
    };

    GasTransport g;
    switch (KIND) {
        case run::GasKind::HYDROGEN:
            g.LAMBDA = f(0.166f) + f(0.000445f) * t;
            g.NU = kinematic((f(0.841f) + f(0.0019f) * t) * f(1e-5f));
            break;
        case run::GasKind::HELIUM:
            g.LAMBDA = f(0.146f) + f(0.000305f) * t;
            g.NU = kinematic((f(1.89f) + f(0.0039f) * t) * f(1e-5f));
            break;
        case run::GasKind::ARGON:
            g.LAMBDA = f(0.01705f) + f(4.12e-5f) * t;
            g.NU = kinematic((f(2.129f) + f(0.00524f) * t) * f(1e-5f));
            break;
        case run::GasKind::AIR:
        case run::GasKind::NONE:
        default: {
            // Air's viscosity line is stated directly as kinematic viscosity at 1 Bar.
            g.LAMBDA = f(0.02626f) + f(6.9e-5f) * (t - 25.0);
            const double nu = P > 0.0 ? (f(158.2f) + f(1.06f) * (t - 25.0)) * f(1e-7f) / P : 0.0;
            g.NU = std::isfinite(nu) ? nu : 0.0;
            break;
        }
    }
    return g;
}

}  // namespace korvex::simulation
