#pragma once
// Transport properties of the working gas for the heat exchange with the injected liquid:
// thermal conductivity and kinematic viscosity as straight lines in the Celsius temperature,
// one set per gas. The constants keep their single-precision values.
#include "state/machine_data.hpp"

namespace korvex::simulation {

struct GasTransport {
    double LAMBDA = 0.0;  // thermal conductivity, W/(m*K)
    double NU = 0.0;      // kinematic viscosity, m**2/s
};

// Properties of gas KIND at temperature T (K) and pressure P (Bar); RS is the specific gas
// constant (Bar*cm**3/(g*K)) that gives the density for the gases whose viscosity is stated
// as a dynamic one. A state without a positive density or pressure gives NU = 0, which the
// heat exchange takes as "no flow information" rather than dividing by it. A gas kind that
// is not set is taken as air, as the user gas is.
GasTransport gas_transport(run::GasKind KIND, double T, double P, double RS);

}  // namespace korvex::simulation
