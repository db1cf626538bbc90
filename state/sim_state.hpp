#pragma once
// State of the cycle simulation of one run: the four cylinder-pair records and the inputs of
// their state equations, the driver's crank and time state, the run accumulators, the machine
// sums of every step and the per-revolution extremes. The pre-calculation keeps its results in
// `pre`, the revolution evaluation what it carries from one revolution to the next in `rev`.
// The 149 global plottable values are kept in diagrams::DiagramState::G (catalogue positions
// 557..705); the driver writes them there from the fields below at every plot instant.
#include <array>
#include <string>

#include "state/comp_inputs.hpp"
#include "state/injection_state.hpp"
#include "state/pair_record.hpp"
#include "state/precalc_state.hpp"
#include "state/revolution_state.hpp"

namespace korvex::simulation {

// What the time loop takes from the run data and the pre-calculation before its first step:
// the same for every step of the run.
struct LoopConstants {
    int NZYL = 0;
    int npairs = 1;                // pairs computed with COMP: 1, 2 or 4
    bool single = false;           // single-acting machine: pair 2 holds the crankcase
    double AH = 0.0, AK = 0.0, AHR = 0.0, AKR = 0.0;  // piston areas FQE, FQC, FQER, FQCR, cm2
    double R = 0.0, LR = 0.0;      // crank radius, cm, and its ratio to the rod length
    double phase = 0.0;            // PHASE, rad
    double THETA = 0.0;            // flywheel moment of inertia
    double rTHETA = 0.0;           // 100000 / THETA
    double FSEAL = 0.0;            // seal friction force
    double GAMMA = 0.0;            // hydrostatic force per volume of liquid
    double FKOL = 0.0;             // rod force of the crankcase pressure
    double GM02 = 0.0;             // gas mass of the crankcase, g
    double VCRTOT = 0.0;           // crankcase volume with pair 1 at rest, cm3
    double rdMH = 0.0;             // R ZW ROW: liquid column per area
    // The liquid columns before and after the control volumes close.
    double MK = 0.0, MH_BEFORE = 0.0, MH_AFTER = 0.0, MHK_BEFORE = 0.0, MHK_AFTER = 0.0;
    int NACH = 0;                  // revolution limit (0: the run ends at TIMEEND)
    bool one_rev = false;          // only revolution NACH is plotted
    bool injection = false;        // liquid injection takes part
    bool diagrams_defined = false;
    bool printing = false;         // printed lines on unit 9 (IPRNT1 > 0)
    // A diagram curve or a printed column takes one of the global values, which (and the
    // machine sums among them) are then written at the plot and print points.
    bool takes_globals = false;
};

struct SimState {
    // Pair i (1..4) is pair[i - 1]; for the single-acting machine pair[1] holds the crankcase.
    std::array<PairRecord, 4> pair{};
    // Inputs of COMP: the ones common to all pairs and each pair's own.
    CompCommon comp{};
    std::array<CompPair, 4> comp_pair{};
    // Heat exchange with the injected liquid (mode ISO with nozzles).
    Injection inj{};

    PrecalcState pre{};
    RevolutionState rev{};

    // ---- Crank and time ----------------------------------------------------------------
    double TIMEEND = 0.0;     // end time of the run (deck TIME), s
    double TIME = 0.0;        // running time, s
    double DELT_NEU = 0.0;    // step of the current step, s
    double ANGLE1 = 0.0;      // crank 1, rad, counted on from the start
    double ANGLE2 = 0.0;      // ANGLE1 + phase, rad
    double KU1 = 0.0;         // ANGLE1 in degrees (continuous)
    double KU2 = 0.0;         // ANGLE2 in degrees (continuous)
    double PHI1 = 0.0;        // KU1 - 360 NREV, angle within the revolution, degrees
    double PHI2 = 0.0;        // PHI1 + PHASE, degrees
    double OMEGA = 0.0;       // angular speed, rad/s
    double OMEGAV = 0.0;      // angular speed before the last flywheel update, rad/s
    double RPM = 0.0;         // OMEGA 30/pi, U/min
    double DWDT = 0.0;        // angular acceleration, 1/s2
    int NREV = 0;             // completed revolutions
    int NREVC = 1;            // revolution being computed
    double PHIREV = 0.0;      // angle at which revolution NREVC ends, rad
    double PHIHALF = 0.0;     // next half-revolution mark, rad
    double XTR = 0.0;         // steps per 10 degrees, set at each revolution end
    double TIME_REV = 0.0;    // time of the last revolution end (0 at the start)
    double PHI_0 = 0.0;       // start crank angle of the run (PHI0), degrees

    // Crank travels (cm), speeds (cm/s), accelerations (cm/s2) of both cranks, and the
    // previous-step values; UD1, UD2 are the difference-quotient speeds of the step.
    double X1 = 0.0, U1 = 0.0, B1 = 0.0;
    double X2 = 0.0, U2 = 0.0, B2 = 0.0;
    double WEG1_V = 0.0, WEG2_V = 0.0;
    double U1V = 0.0, U2V = 0.0, B1V = 0.0, B2V = 0.0;
    double UD1 = 0.0, UD2 = 0.0;

    // Control volumes and liquid columns.
    double HRVE = 0.0, HRVC = 0.0;   // current control heights, cm
    double MH = 0.0, MK = 0.0;       // hot- and cold-side column masses, g
    double MHK = 0.0;                // (MH + MK) / 100000
    double MHKW = 0.0;               // damping coefficient MHK OMEGA XD

    // Volumes of the spaces at the previous step (means of the hydrostatic forces).
    std::array<double, 4> VE_V{}, VC_V{};

    // Crankcase of the single-acting machine (previous-step values).
    double VG2V = 0.0, TE2V = 0.0, P2V = 0.0;

    // ---- Rod forces and powers of the step ----------------------------------------------
    double FI = 0.0, FII = 0.0;          // gas forces on the rods, N
    double FHI = 0.0, FHII = 0.0;        // hydrostatic liquid forces
    double FBI = 0.0, FBII = 0.0;        // liquid inertia forces
    double FDI = 0.0, FDII = 0.0;        // liquid damping forces
    double SIGN1 = 1.0, SIGN2 = 1.0;     // direction of the seal friction
    double WI = 0.0, WII = 0.0;          // resistances
    double FNI = 0.0, FNII = 0.0;        // net forces
    double POWER = 0.0;                  // gas-pressure power of pair 1, W
    double DAKOL = 0.0;                  // rod power, W
    double DVWORK = 0.0;                 // loss power, W
    double DWORKN = 0.0;                 // net power (gas work rates - losses), W
    double DAKOLN = 0.0;                 // net rod power, W
    double DREHMO = 0.0;                 // torque, N*m
    double DATETA = 0.0;                 // flywheel power, W
    double DAFSE = 0.0;                  // seal friction power, W
    double DAC2B = 0.0;                  // liquid inertia power, W
    double DAZHK = 0.0;                  // liquid damping power, W
    double DWORK = 0.0;                  // sum of the pairs' gas work rates, W

    // ---- Run accumulators (reset at the start of the time loop) -------------------------
    double ARBEIT = 0.0;      // total gas work of all pairs, W*s
    double ARBETN = 0.0;      // ARBEIT - VWORK
    double AKOL = 0.0;        // rod work
    double AKOLN = 0.0;       // net rod work
    double VWORK = 0.0;       // loss work
    double WORKNN = 0.0;      // net work
    double ATHETA = 0.0;      // flywheel energy
    double AFSEAL = 0.0;      // seal friction work
    double AC2B = 0.0;        // liquid inertia work
    double AZHKU = 0.0;       // liquid damping work
    double APOWER = 0.0;      // integral of the gas-pressure power of pair 1
    double P1SUM = 0.0;       // integral of PGES of pair 1 since the last revolution end, Bar*s
    double PGES1V = 0.0;      // PGES of pair 1 at the previous step

    // Ideal isothermal comparison machine and the heat-input bookkeeping of pair 1.
    double VIDEAL = 0.0, VIDEALV = 0.0;  // volume now and at the previous step, cm3
    double QIEXP = 0.0, QICOMP = 0.0;    // ideal expansion and compression heat, W*s
    double VVEXP = 0.0, VVCOMP = 0.0;    // volume changes of expansion and compression
    double DIEXP = 0.0, DICOMP = 0.0;    // their powers of the step, W
    double DIEXP_MAX = 0.0;              // largest ideal expansion power
    double KU1_EXP = 0.0, KU1_COMP = 0.0;  // angles of the last expansion and compression power
    double TAE1MX = 0.0;                 // expansion time in the revolution, s
    double QZU1_MAX = 0.0;               // heat supplied to pair 1 while DQZU1 >= 0, W*s
    double TQZUMX = 0.0;                 // time of heat input with growing expansion volume, s
    double D_QZUMAX = 0.0;               // largest DQZU1, W
    double PHI_QZUMAX = 0.0;             // its angle, degrees
    double OMEGAM = 0.0;                 // rotation frequency at that maximum, Hz

    // ---- Machine sums of every step (pairs present) ------------------------------------
    double QZU = 0.0, QAB = 0.0, QGNUTZ = 0.0, QNUTZG = 0.0, QUREC = 0.0, QREGR = 0.0;
    double QH2O = 0.0, QH2OE = 0.0, QH2OC = 0.0;
    double QT1S1 = 0.0, QT2S2 = 0.0, QT3S3 = 0.0;
    double QUE = 0.0, QUC = 0.0, QUTR = 0.0;
    double QZU12 = 0.0, QAB12 = 0.0, QGN12 = 0.0, QTS112 = 0.0, QTS212 = 0.0, QTS312 = 0.0;
    double QUEC12 = 0.0, QUR12 = 0.0, QUTR12 = 0.0;
    double QZU34 = 0.0, QAB34 = 0.0, QGN34 = 0.0, QTS134 = 0.0, QTS234 = 0.0, QTS334 = 0.0;
    double QUEC34 = 0.0, QUR34 = 0.0, QUTR34 = 0.0;
    double A12 = 0.0, A34 = 0.0;
    double QNZD12 = 0.0, QNZD34 = 0.0, QNUTZD = 0.0;
    double QN12 = 0.0, QN34 = 0.0, QNUTZ = 0.0;
    double DA12 = 0.0, DA34 = 0.0;                 // work rates of pairs 1+2 and 3+4, W
    double DQZU12 = 0.0, DQAB12 = 0.0, DQNZ12 = 0.0;
    double DQZU34 = 0.0, DQAB34 = 0.0, DQNZ34 = 0.0;

    // ---- Per-revolution extremes (angles PHI1 in degrees) -------------------------------
    double GEMAX = 0.0, GEMIN = 10000.0, PHI_GEMAX = 0.0, PHI_GEMIN = 0.0;
    double GCMAX = 0.0, GCMIN = 10000.0, PHI_GCMAX = 0.0, PHI_GCMIN = 0.0;
    double GRMAX = 0.0, GRMIN = 10000.0, PHI_GRMAX = 0.0, PHI_GRMIN = 0.0;
    double T1_MAX = 0.0, T1_MIN = 1000.0, PHI_T1MAX = 0.0, PHI_T1MIN = 0.0;
    double VMAX = 0.0, VMIN = 1000000.0, PHI_VMAX = 0.0, PHI_VMIN = 0.0;
    double V2MAX = 0.0, V2MIN = 1000000.0;
    double V3MAX = 0.0, V3MIN = 1000000.0;
    double V4MAX = 0.0, V4MIN = 1000000.0;
    // Gas-volume extremes of crank drives 1 and 2 over the last completed revolution: the ideal
    // frames and isotherms need a whole revolution, not the part of one a run ends in. 0 until
    // the first revolution is complete.
    double VMAX_REV = 0.0, VMIN_REV = 0.0, V2MAX_REV = 0.0, V2MIN_REV = 0.0;
    double PMAX = 0.0, PMIN = 1000.0, PHI_PMAX = 0.0, PHI_PMIN = 0.0;
    double PGMIN = 1000.0;                          // lowest pressure of pair 1 (vapour limit)
    std::array<double, 4> TE_MAX_I{};               // TE1_MAX .. TE4_MAX (whole run)
    std::array<double, 4> TC_MIN_I{};               // TC1_MIN .. TC4_MIN (whole run)
    double UUMAX = 0.0, PHI_UUMAX = 0.0;            // largest crank-1 speed by magnitude
    double BBMAX = 0.0, PHI_BBMAX = 0.0;            // largest crank-1 acceleration by magnitude
    double SDMMAX = 0.0;                            // largest vapour mass of a pair, g

    // ---- Plot and print bookkeeping -----------------------------------------------------
    int NSTEP = 0;            // steps up to TIMEEND at the nominal step
    int NTOUTP = 1;           // plot interval in steps
    double TOUTP = 0.0;       // plot interval, s
    double TOUTD = 0.0;       // print interval, s
    double TPLOT = 0.0;       // next plot time
    double TPRINT = 0.0;      // next print time
    bool plot_forced = false; // a plot point is due in this step (revolution end, marker)
    bool plotting = true;     // false once the run's only diagram is cancelled
    bool plot_full = false;   // the plot arrays are full: the run goes on, storing no points
    bool abscissa_checked = false;  // at the first plot point
    // Marker angles ANGLE(1..7) as ANGLE[0..6], degrees: taken from the pre-calculation at the
    // start; the revolution evaluation sets ANGLE(2) and ANGLE(5) to the angles of the
    // smallest and largest volume of each revolution.
    std::array<double, 7> ANGLE{};
    std::array<int, 7> MARK{1, 1, 1, 1, 1, 1, 1};  // marker k+1: 1 = not yet reached,
                                                   // else its plot-point index
    std::array<bool, 7> found{};  // marker k+1 reached in the searched revolution
    int next_marker = 1;      // index (0-based) of the marker searched next; 7 = closed
    bool marker_search = true;
    int NPLOT = 0;            // plot points stored
    bool one_rev_started = false;  // the plotted revolution NACH has begun
    bool sums_due = false;    // the machine sums of the step are not formed yet
    LoopConstants constants{};
    std::string line_buffer;  // printed lines of the time loop, reserved once per run
};

}  // namespace korvex::simulation
