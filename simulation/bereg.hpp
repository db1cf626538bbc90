#pragma once
// BEREG: heat exchange between the working gas and the liquid that nozzles spray into the hot
// and the cold cylinder of a pair. Per pair and step it gives the new gas temperatures of the
// expansion and compression spaces, the liquid outlet temperatures and the exchanged heats,
// and shapes the regenerator end temperatures around each flow reversal.
#include <array>

#include "simulation/comp.hpp"
#include "state/injection_state.hpp"
#include "state/machine_data.hpp"
#include "state/pair_record.hpp"

namespace korvex {
struct Program;
}
namespace korvex::run {
struct RunState;
}
namespace korvex::runtime {
struct Units;
}
namespace korvex::properties {
struct SteamState;
}

namespace korvex::simulation {

// What COMP hands to BEREG for one pair and one step. Previous-step values are those of the
// step before; the mass rates are the last ones known (those of the step before), the volume
// rates those of this step.
struct BeregArgs {
    int N = 1;                  // pair number 1..4
    double DELT = 0.0;          // step, s
    double RDT = 0.0;           // 1/DELT where the caller has it; at 0 BEREG forms it
    double TIME = 0.0;          // time at the end of the step; heats are integrated while > 0
    double CANGLE = 0.0;        // crank angle of the pair, degrees (for the messages)
    double HE = 0.0, HC = 0.0;  // lengths of the two spaces, cm
    double VE = 0.0, VC = 0.0;  // their volumes, cm3 (vapour of the liquid)
    double AH = 0.0, AK = 0.0;  // piston areas, cm2
    double PV = 0.0;            // gas pressure of the previous step, Bar
    double TEV = 0.0, TCV = 0.0;  // space temperatures of the previous step, K
    double MEV = 0.0, MCV = 0.0;  // space gas masses of the previous step, g
    double DME = 0.0, DMC = 0.0;  // mass rates, g/s
    double DVE = 0.0, DVC = 0.0;  // volume rates, cm3/s
    double CV = 0.0;            // specific heat of the gas at constant volume, W*s/(g*K)
    double TW1E = 0.0, TW1C = 0.0;  // liquid inlet temperatures, K
    double LAMBDAE = 0.0, LAMBDAC = 0.0;  // gas conductivities of the two spaces, W/(m*K)
    double NUE = 0.0, NUC = 0.0;          // gas kinematic viscosities, m**2/s
    double CLE = 0.0, CLC = 0.0;          // heat capacity flows of the liquid, W/K
};

// Nusselt number of the gas flowing along the jets: turbulent above Re = 2300, else the
// laminar entry-length correlation in the Graetz number GZ. DGL/HL is the ratio of the
// hydraulic diameter to the length of the space; PRF the Prandtl factor of the turbulent
// correlation, prandtl_factor(PR), the same for the whole run.
double nusselt(double RE, double PRF, double GZ, double DGL_HL);
double prandtl_factor(double PR);

// Regenerator end temperature of one side around flow reversals. TV is the previous
// temperature of the space, L the full loss step between the end and the space (the end
// stands at TV while gas leaves the space and at TV - L while gas enters it); the change
// between the two follows a half cosine over 4 XTR steps (leaving) or 5 XTR steps (entering).
// C1 and C2 are the side's counters.
double regenerator_end(bool leaving, double TV, double L, double XTR, double& C1, double& C2);

// Heat capacity flows of the hot and the cold liquid, W/K. With the vapour component the
// liquid specific heats come from the steam table at the inlet temperatures (the volumes only
// complete the state); a property error leaves NFAIL above 880 and the result false.
bool liquid_flows(const BeregCommon& C, double TW1E, double TW1C, double VE, double VC,
                  runtime::Units& u, properties::SteamState& st, int& NFAIL, double& CLE,
                  double& CLC);

// One step of the heat exchange of pair a.N. Returns the new space temperatures in TE and TC,
// writes the liquid outlet temperatures, coefficients, dimensionless numbers and heat rates
// into the record and adds the heats to its integrals. False when a steam-property error
// raised NFAIL above 880 (TE and TC are then left as they were).
bool BEREG(PairRecord& R, Injection& INJ, const BeregArgs& a, double& TE, double& TC,
           runtime::Units& u, properties::SteamState& st, int& NFAIL);

// Whether liquid injection takes part in the run: mode ISO, both nozzle lines with a flow, and
// no wire mesh (the wire mesh takes precedence over the nozzles).
bool injection_active(const run::RunState& r);

// Fills the run data of the injection from the run state and starts every pair's counters
// and message flags afresh. Call once per run, before the time loop.
void prepare_injection(Injection& INJ, const run::RunState& r);

// Guard of the simulation against injection data it cannot compute with: a positive flow
// through a side without nozzle cross-section (no nozzles, or zero diameter), or nozzles
// that fill the whole cylinder, would make the jet velocity or the hydraulic diameter
// infinite. The run control stops such a deck at the nozzle line with its own message (error
// 503); this check only keeps a run that got past it from starting the time loop: NFAIL = 503
// and false. True when injection is off or its data are usable.
bool check_injection_input(Program& p);

// COMP with the heat exchange of the injected liquid: in mode ISO with active injection the
// space temperatures come from BEREG; otherwise the same as COMP without INJ.
void COMP(PairRecord& REC, const CompCommon& C, const CompPair& PP, Injection& INJ, double TIME,
          double DELT_NEU, runtime::Units& units, properties::SteamState& steam, int& NFAIL);

}  // namespace korvex::simulation
