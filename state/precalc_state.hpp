#pragma once
// What the pre-calculation and the start values of a run leave for the time loop, the
// revolution evaluation and the diagrams. PRECALC fills it once per run; nothing writes it
// during the time loop. Angles in degrees unless noted, lengths cm, volumes cm**3, pressures
// Bar, temperatures K, masses g, forces N.
#include <array>

#include "state/pair_record.hpp"

namespace korvex::simulation {

// The state of machine H1-K1 recorded at one marker angle of the pre-calculation.
struct PrecalcMark {
    double TE = 0.0, TC = 0.0, TR = 0.0;
    double TEV = 0.0, TCV = 0.0;            // TE and TC again, as previous-step values
    double ME = 0.0, MC = 0.0, MR = 0.0;
    double P = 0.0, DP = 0.0;
    double DTE = 0.0, DTC = 0.0, DTR = 0.0;
    double DME = 0.0, DMC = 0.0, DMR = 0.0;
    double VG = 0.0, VE = 0.0, VC = 0.0;
    double PHI1Z = 0.0;                     // crank angle at which it was taken
};

struct PrecalcState {
    // Constants of the run, set before the pre-calculation.
    double RPMFAC = 0.0;        // 30/pi: rad/s to U/min
    double PHASE_R = 0.0;       // PHASE in radians
    double KAPPA1 = 0.0;        // KAPPA - 1, exponent of the crankcase gas
    double CQ = 0.0;            // heat one litre of liquid takes up when warmed by DELTAT, W*s
    double ETA_R = 0.0;         // 100 - VERLUST, %
    bool DREI = false;          // three-section regenerator with logarithmic means
    double FTHETA = 0.0;        // flywheel factor 100000 / THETA
    double GAMMA = 0.0;         // ROW * 9.81 / 1000, weight of the liquid, N/cm**3
    std::array<double, 4> ANGLEZ{};   // marker angles of the pre-calculation
    double OMEGA = 0.0;         // start angular speed N0 pi/30, rad/s
    double FACTAA = 0.0;        // marker tolerance of the last pre-calculation pass, degrees
    double FKOL = 0.0;          // ambient-pressure force on a piston rod, PU * AST * 10
    std::array<double, 4> TW1E{}, TW1C{};  // liquid inlet temperatures per pair, K
    double CONSTE1 = 0.0, CONSTC1 = 0.0;   // polytropic exponents minus one
    double FINEZ = 0.0;         // time of one revolution at N0, s
    double DELTZ = 0.0;         // pre-calculation step, s
    double DPHIZ = 0.0;         // pre-calculation step in crank angle, rad
    int NLAEUFE = 0;            // passes the pre-calculation needed (1..10)

    // Results of the pre-calculation of H1-K1 over one revolution.
    std::array<PrecalcMark, 4> mark{};     // recorded states at ANGLEZ(1..4)
    double TE_MAX = 0.0, TE_MIN = 0.0, TC_MAX = 0.0, TC_MIN = 0.0;
    double TERMAX = 0.0, TCRMAX = 0.0;     // regenerator ends without loss
    double TER_1234 = 0.0, TCR_1234 = 0.0; // regenerator ends of the polytropic mode
    double PGAS_MAX = 0.0, PGAS_MIN = 0.0, PHI_PGMAX = 0.0, PHI_PGMIN = 0.0;
    double VMAX = 0.0, VMIN = 0.0, PHI_VMAX = 0.0, PHI_VMIN = 0.0;

    // Marker angles of the T-S and p-V diagrams, ANGLE(1..7) as ANGLE[0..6]: the angles of
    // VMIN (2) and VMAX (5) of the pre-calculation, 90, 180, 270 (3, 4, 6) and 360 (7).
    std::array<double, 7> ANGLE{};

    // Crankcase of the single-acting machine (NZYL = 1).
    double TOTVOL = 0.0;        // dead, control and regenerator volume of H1-K1
    double VCRNKH = 0.0;        // crankcase and both swept volumes
    double VCRTOT = 0.0;        // VCRNKH + TOTVOL
    double GM02 = 0.0;          // crankcase gas charge, g
    double VG2ZA = 0.0, TE2ZA = 0.0, P2ZA = 0.0;   // at the start angle of the time loop
    double VG2V = 0.0, TE2V = 0.0, P2V = 0.0;      // one step before it

    // Start of the time loop: crank angle (rad) one step before 0, travels, speeds and
    // accelerations of both cranks there, speed.
    double ANGLE1 = 0.0;
    double WEG1_V = 0.0, WEG2_V = 0.0;
    double U1_V = 0.0, B1_V = 0.0, U2_V = 0.0, B2_V = 0.0;
    double RPM = 0.0;

    // Total pressures of the pairs one step before the start (PGES1V..PGES4V) and the start
    // forces on piston rods I and II.
    std::array<double, 4> PGESV{};
    double FI0 = 0.0, FII0 = 0.0;

    // Liquid columns: masses of the hot and cold side, natural angular frequency (1/s) and
    // the damping factor XD (0: no damping).
    double MH = 0.0, MK = 0.0;
    double OMEGA_0 = 0.0;
    double XD = 0.0;

    // Ideal comparison machine: swept volume of the hot cylinder and the dead volume that
    // gives it the volume ratio VMAX/VMIN of H1-K1.
    double VHUBH1 = 0.0;
    double VMIN_IDEAL = 0.0;
};

// Gas state of H1-K1 at one point of the pre-calculation.
struct PrecalcPoint {
    double VE = 0.0, VC = 0.0, VG = 0.0;
    double TE = 0.0, TC = 0.0, TR = 0.0, TER = 0.0, TCR = 0.0;
    double VRED = 0.0, P = 0.0, ME = 0.0, MC = 0.0, MR = 0.0;
    double DTE = 0.0, DTC = 0.0, DTR = 0.0, DME = 0.0, DMC = 0.0, DMR = 0.0, DP = 0.0;
};

// One pass of the pre-calculation over a revolution: which marker angles it searches and has
// found, and where its walk over the crank angle stands. Every pass starts it afresh.
struct PrecalcPass {
    std::array<bool, 4> searched{};
    std::array<bool, 4> found{};
    std::array<int, 3> order{};   // marker indices (1..4) in the order the crank reaches them
    int norder = 0;
    int next = 0;                 // position in `order` of the marker searched now
    PrecalcMark first{};          // the state of the first step (pair 1 of NZYL = 4)
    bool crankcase = false;       // crankcase state taken (NZYL = 1)

    double phi = 0.0;             // crank angle of the point, rad
    double PHI1Z = 0.0;           // the same in degrees
    double time = 0.0;            // time since the start of the pass, s
    PrecalcPoint prev, cur;       // the point before and this point
    RegeneratorMeans means;       // logarithmic means, kept from one point to the next
    double VG2 = 0.0, P2 = 0.0;   // crankcase volume and pressure at the point (NZYL = 1)
};

}  // namespace korvex::simulation
