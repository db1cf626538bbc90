#pragma once
// Gas and vapour state of one cylinder pair one time step before the time loop starts.
#include <array>

#include "properties/steam_state.hpp"
#include "runtime/units.hpp"

namespace korvex::properties {

// The argument list of VORCOM for pair n (the names are those of pair 1; for pair 2 the
// listings say VE2V and so on). Fields marked in/out are zeroed for a pair the machine does
// not have.
struct VorcomArgs {
    // Inputs.
    int n = 1;          // pair number 1..4
    int NZYL = 1;       // pairs of the machine: 1, 2 or 4
    double TE = 0.0, TC = 0.0, TR = 0.0;        // in/out: space and regenerator temperatures, K
    double DTE = 0.0, DTC = 0.0, DTR = 0.0;     // their time derivatives, K/s
    double ME = 0.0, MC = 0.0, MR = 0.0;        // masses, g
    double DME1 = 0.0, DMC1 = 0.0, DMR1 = 0.0;  // in/out: their derivatives, g/s
    double HE1V = 0.0, HC1V = 0.0;              // in/out: piston displacements, cm
    double FE = 0.0, FC = 0.0;                  // cylinder cross-sections, cm2
    double VR = 0.0, VR1003 = 0.0;              // regenerator volume and its third, cm3
    double VERLUST = 0.0;                       // regenerator loss, per cent
    int LOGREG = 0;                             // logarithmic regenerator profile when not 0
    double T0 = 0.0, P0 = 0.0, V01 = 0.0;       // reference temperature, pressure, reduced volume
    double DELT = 0.0;                          // time step, s
    int IP1 = 3;                                // rows per steam-table interpolation
    int FDAMPF = 0;                             // vapour component when not 0

    // Outputs: the gas state one step before the start.
    double VE1V = 0.0, VC1V = 0.0, VG1V = 0.0;  // volumes, cm3
    double V1V = 0.0;                           // reduced volume
    double P1V = 0.0;                           // gas pressure, bar
    double T11V = 0.0;                          // mean gas temperature, K
    double ME1V = 0.0, MC1V = 0.0, MR1V = 0.0;  // masses, g
    double TE1V = 0.0, TC1V = 0.0;              // space temperatures, K
    // Vapour.
    double PSTE1V = 0.0, PSTC1V = 0.0;  // saturation pressures of E and C, bar
    double PS1V = 0.0;                  // mean vapour pressure, bar
    double T31V = 0.0;                  // saturation temperature at PS1V, K
    double SDM1V = 0.0;                 // saturated vapour mass of the pair, g
    double PGES1V = 0.0;                // total pressure, bar (kept on a property error)
    double DQD1V = 0.0;                 // heat of evaporation of SDM1V, W*s
    double DSD1V = 0.0;                 // its entropy, W*s/K
    double VPTRG1 = 0.0;                // reduced vapour pressure-volume of the regenerator
    double SDME_A = 0.0, SDME_B = 0.0;  // the E-space vapour mass, twice, for the caller
    double QHE = 0.0, QHC = 0.0, QHR = 0.0;  // vapour enthalpy contents of E, C, R, W*s
    double QRE = 0.0, QRC = 0.0, QRR = 0.0;  // heats of evaporation of E, C, R, W*s
    // Further results of the pair that start at zero.
    std::array<double, 44> ZERO{};
};

// Evaluates the pair; with FDAMPF on, calls PDAMPF six times with IP1 rows. A property error
// (NFAIL above 880) ends the routine at once.
void VORCOM(SteamState& st, runtime::Units& u, int& NFAIL, VorcomArgs& a);

}  // namespace korvex::properties
