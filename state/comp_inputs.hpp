#pragma once
// Inputs of COMP: those common to every pair of a run and each pair's own for one step. The
// driver fills them; COMP and BEREG read them.
#include <array>

namespace korvex::simulation {

inline constexpr int TABLE_ANGLES = 37;  // 0, 10, ..., 360 degrees
using AngleTable = std::array<double, TABLE_ANGLES>;

// The table angles 0, 10, ..., 360.
inline AngleTable table_angles() {
    AngleTable a{};
    for (int k = 0; k < TABLE_ANGLES; ++k) a[k] = 10.0 * k;
    return a;
}

// Inputs that are the same for every pair. The driver fills them once per run and refreshes
// the few that move during the run (HRVE, HRVC).
struct CompCommon {
    // Temperature mode: the first switch that is set wins, in this order. With none set, and
    // in mode ISO without nozzles, the space temperatures keep their values.
    bool MODE_POLY = false;
    bool MODE_TEMPD = false;
    bool MODE_ISO = false;
    bool FDAMPF = false;        // vapour component of the working liquid
    bool DUESEN = false;        // injection nozzles defined (mode ISO)

    double CONSTE1 = 0.0;       // CONSTE - 1, polytropic exponent of E minus one
    double CONSTC1 = 0.0;       // CONSTC - 1
    int MODELL = 0;             // > 0: space temperatures after mass exchange (TETCTR) in POLY;
                                // < 0: fixed regenerator ends TER_1234, TCR_1234
    int NTEMP = 2;              // enthalpy origin handed to TETCTR (2: 273.15 K)

    double VR = 0.0;            // regenerator volume, cm3
    double VR1003 = 0.0;        // VR / 3, volume of one regenerator section
    double VERLUST = 0.0;       // regenerator loss, % (100 - SGRAD)
    bool DREI = false;          // three-section regenerator with logarithmic means; else
                                // arithmetic means

    double CV = 0.0;            // specific heat at constant volume, W*s/(g*K)
    double RS = 0.0;            // specific gas constant, Bar*cm3/(g*K)
    double T0 = 0.0;            // filling temperature, K
    double P0 = 0.0;            // filling pressure, Bar
    double TE_MAX = 0.0;        // bounds of the characteristic temperature T2, K
    double TC_MIN = 0.0;
    double AH = 0.0;            // piston areas of the hot and cold cylinders, cm2
    double AK = 0.0;
    double HRVE = 0.0;          // heights of the control volumes, cm
    double HRVC = 0.0;
    double TER_1234 = 0.0;      // regenerator ends of the pre-calculation (MODELL < 0), K
    double TCR_1234 = 0.0;

    // Liquid heat transport: CQ = heat one litre takes up when warmed by DELTAT (W*s/litre),
    // BEVOL the injection volume flow, litre/s.
    double CQ = 0.0;
    double BEVOL = 0.0;

    // Temperature table of mode TEMPD: angles 0, 10, ..., 360 and the absolute temperatures
    // of E and C there; IP1 table points per interpolation.
    AngleTable TANGLE = table_angles();
    AngleTable TTE{};
    AngleTable TTC{};
    int IP1 = 3;

    // Vapour component: rows of the steam table per interpolation, and the selected
    // definitions of the vapour heat content, its rate, the vapour entropy and its rate.
    int IP2 = 3;
    int DQD = 6;
    int DQDAMPF = 2;
    int DSD = 6;
    int DS3 = 2;
};

// Inputs of one pair for one step.
struct CompPair {
    int N = 1;                  // pair number 1..4
    double H00E = 0.0;          // dead heights of E and C (clearance plus the pair's dead
    double H00C = 0.0;          // volume, as heights), cm
    double V0 = 0.0;            // start reduced volume V0i, cm3
    double GM0 = 0.0;           // gas charge GM0i, g
    double XE = 0.0;            // piston travel of the hot side, cm
    double FE = 1.0;            // area factor of the hot side
    double XC = 0.0;            // piston travel of the cold side, cm
    double FC = 1.0;            // area factor of the cold side
    double CANGLE = 0.0;        // crank angle of the pair for the temperature table, degrees
    double TW1E = 0.0;          // liquid inlet temperatures of the hot and cold side, K
    double TW1C = 0.0;
};

// What the steps of one COMP call hand each other: the step, the geometry, the temperatures,
// the regenerator, pressure and masses, the step means and the heat rates. It lives for one
// call; the record keeps what the next step needs.
struct CompStep {
    double TIME = 0.0;          // time at the end of the step, s
    double DT = 0.0, rdt = 0.0; // the step (0 for none) and its reciprocal

    double VE = 0.0, VC = 0.0, VG = 0.0;        // volumes, cm3
    double TE = 0.0, TC = 0.0, TR = 0.0;        // space and regenerator temperatures, K
    bool tr_given = false;                      // TR given by the mode (mass exchange)
    double TER = 0.0, TCR = 0.0, VRRED = 0.0;   // regenerator ends, reduced volume per T0

    double VRED = 0.0, P = 0.0, TM = 0.0;       // reduced volume, gas pressure, mean gas T
    double ME = 0.0, MC = 0.0, MR = 0.0;        // masses, g

    // Means over the step and temperature rates.
    double VGM = 0.0, MEM = 0.0, MCM = 0.0, MRM = 0.0, TRM = 0.0;
    double DTE = 0.0, DTC = 0.0, DTR = 0.0;

    double PS = 0.0, PGES = 0.0;                // vapour and total pressure, Bar

    // Heat rates, W: regenerator loss, regenerator ends, the spaces' temperature (T) and mass
    // (M) terms, the heat supplied and removed, the gas balance, useful heat and entropy rate.
    double DQREZU = 0.0, DQRCAB = 0.0;
    double DQURE = 0.0, DQURC = 0.0, DQUREC = 0.0;
    double DQUTE = 0.0, DQUME = 0.0, DQUE = 0.0;
    double DQUTC = 0.0, DQUMC = 0.0, DQUC = 0.0;
    double DQUTR = 0.0, DQUMR = 0.0, DQUR = 0.0;
    double DQZU = 0.0, DQAB = 0.0, DQGN = 0.0, DQNUZG = 0.0, DQNUZD = 0.0, DS = 0.0;

    // Terms of the vapour component that the heat balance needs.
    double DQDAMF = 0.0;        // vapour heat rate, W
    double DS3 = 0.0;           // vapour entropy rate
    double DQH2OE = 0.0;        // vapour heat of the hot side, W
    double DQH2OC = 0.0;        // vapour heat of the cold side, W
    double VWORK = 0.0;         // vapour p dV rate, W

    double TS = 0.0;            // characteristic temperature T2, K
};

}  // namespace korvex::simulation
