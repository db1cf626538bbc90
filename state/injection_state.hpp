#pragma once
// The injection state of a run: the nozzle data that are the same for every pair, and what the
// heat exchange of each pair keeps from step to step. The driver fills it before the time loop.
#include <array>

#include "state/machine_data.hpp"

namespace korvex::simulation {

// Injection data of a run, the same for every pair (prepare_injection fills it).
struct BeregCommon {
    // Liquid injection takes part in this run: mode ISO, both nozzle lines with a flow, and
    // no wire mesh (the wire mesh takes precedence over the nozzles).
    bool active = false;
    bool FDAMPF = false;        // vapour component: liquid specific heats from the steam table
    int IP2 = 3;                // steam-table rows per interpolation
    run::GasKind GAS = run::GasKind::AIR;
    double RS = 0.0;            // specific gas constant, Bar*cm3/(g*K)
    double VERLUST = 0.0;       // regenerator loss, %
    double BEVOL = 0.0;         // injection volume flow, litre/s (each side gets all of it)
    int NDUE = 0, NDUC = 0;     // nozzles of the hot and the cold cylinder
    double DDUE = 0.0, DDUC = 0.0;    // their diameters, cm
    double FQDUE = 0.0, FQDUC = 0.0;  // cross-section of all nozzles of a side, cm2
    double UDU0E = 0.0, UDU0C = 0.0;  // jet velocities, m/s
    double DGLE = 0.0, DGLC = 0.0;    // hydraulic diameters of the gas space between the jets, m
    double OFRE = 1.0, OFRC = 1.0;    // surface factors of the jets
    double LUST = 0.0;          // radiation loss of the hot cylinder, W
    double LUSTC = 0.0;         // loss term of the cold side, W (the deck gives none)
    double CPWE = 0.0, CPWC = 0.0;    // liquid specific heats, kJ/(kg*K), without vapour
    double PR = 0.0;            // Prandtl number of the gas
    double PRF = 0.0;           // its factor in the turbulent Nusselt number, PR**0.45
};

// What BEREG keeps for one pair from step to step.
struct BeregPairState {
    // Flow-reversal counters of the hot and the cold regenerator end: the first counts the
    // transition while gas leaves the space, the second while gas enters it.
    double C1E = 0.0, C2E = 0.0;
    double C1C = 0.0, C2C = 0.0;
    // A jet slower than the gas has been reported and not yet cleared (hot, cold side).
    bool SLOWE = false, SLOWC = false;
    // Regenerator end temperatures that the heat balance of the last step used, K.
    double TER = 0.0, TCR = 0.0;
};

// Values of one side that hold for the whole run: formed from the piston area A, the nozzle
// cross-section FQ and the nozzles' number and diameter when the heat balance first needs
// them, and formed anew should one of these differ bit for bit.
struct SideConstants {
    bool set = false;
    double A = 0.0, FQ = 0.0, DDU = 0.0;
    int NDU = 0;
    double FREE = 0.0;          // free cross-section beside the nozzles, A - FQ, cm2
    double RATIO = 0.0;         // A / (A - FQ)
    double JETS = 0.0;          // circumference of all jets, NDU * DDU * PI, m
};

struct Injection {
    BeregCommon C{};
    std::array<BeregPairState, 4> pair{};
    std::array<SideConstants, 2> side{};  // hot, cold
    // Crank state of the step; the driver sets it before it steps the pairs.
    double U1 = 0.0, U2 = 0.0;  // crank speeds, m/s
    double XTR = 0.0;           // steps per 10 degrees of crank angle
};

}  // namespace korvex::simulation
