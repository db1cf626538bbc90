#pragma once
// Every deck value of a run under its keyword name, as the deck reader leaves it after the
// lines of a run are read (defaults, checks and corrections applied). Per-pair values that the
// deck numbers VTE1..VTE4 are arrays indexed by pair - 1.
#include <array>
#include <string>

namespace korvex::run {

// Operating mode of a run (line 2).
enum class Mode { NONE = 0, ISO, TEMPD, POLY };

struct DeckValues {
    // Line 1: run header.
    double TIME = 0.0;         // simulated time up to which output is produced, s
    double SCHRITT = 0.0;      // integration step, s
    double SCHRITT_100 = 0.0;  // SCHRITT / 100, overshoot of the cut steps
    int NZYL = 0;              // cylinder pairs: 0 or 1 single-acting, 2 double, 4 twice double
    int IPRNT = 0;             // listing control: tens digit IPRNT1, units digit the detail level
    int IPRNT1 = 0;            // print interval in plot intervals; > 0 switches printing on
    std::string machine_label = "EINFACH";  // "EINFACH", "DOPPELT" or "4- FACH" (7 characters)

    // Line 2: operating mode.
    Mode mode = Mode::NONE;
    Mode mode_prev = Mode::NONE;  // mode of the previous run of the job (NONE in the first run)
    std::string ZEILE2 = std::string(80, ' ');   // raw mode line, for the run headings
    // TEMPD: the four table text lines, each followed by its values, as the results table shows
    // them under the mode line of the run heading.
    std::array<std::string, 8> TEMPD_ECHO{};
    // ISO: wire mesh, injection flow and losses (read in single precision).
    double MASSE = 0.0;        // wire-mesh mass, g
    double F = 0.0;            // wire-mesh heat-transfer factor
    double BEVOL = 0.0;        // injection volume flow ("STROM="), litre/s
    double DELTAT = 0.0;       // temperature loss of the gas, K
    double DELTA_P = 0.0;      // pressure loss for the injection pumps, bar
    // ISO with injection nozzles (the two "DUESE" lines).
    bool nozzles = false;      // both nozzle lines read and a flow given
    std::string ZEILE22 = std::string(80, ' ');  // raw nozzle line 1
    std::string ZEILE23 = std::string(80, ' ');  // raw nozzle line 2
    int NDUE = 0;              // nozzles of the expansion cylinder
    double DDUE = 0.0;         // their diameter, cm
    int NDUC = 0;              // nozzles of the compression cylinder
    double DDUC = 0.0;         // their diameter, cm
    double OFRE = 1.0;         // surface factor of the expansion-side jets
    double OFRC = 1.0;         // surface factor of the compression-side jets
    double LUST = 0.0;         // radiation loss of the hot cylinders, W
    // TEMPD: factors and temperature differences at 0, 10, ..., 350 degrees crank angle, K.
    double FTE = 0.0;
    double FTK = 0.0;
    std::array<double, 36> DTE{};
    std::array<double, 36> DTC{};
    // POLY.
    double VCRANC = 2750.0;    // crankcase volume, cm3
    double EPSILON_E = 1.0;    // polytropic exponent, expansion cylinder (CONSTE)
    double START_TE = 0.0;     // start temperature, expansion cylinder, K (TAA1)
    double EPSILON_C = 1.0;    // polytropic exponent, compression cylinder (CONSTC)
    double START_TC = 0.0;     // start temperature, compression cylinder, K (TZZ1)
    int MODELL = 0;            // model variant of the simulation

    // Line 3: revolutions, damping, friction, phase.
    int NACH = 0;              // revolutions to compute (magnitude of the deck value)
    bool plot_one_rev = false; // deck value was negative: plot revolution NACH only
    double DAEMPFUNG = 0.0;    // damping of the liquid oscillation, X1/X0
    double FSEAL = 0.0;        // friction force of each piston and rod seal, N
    double PHASE = 0.0;        // phase of the compression motion, degrees (<= 0)
    double PHASE_RUN1 = 0.0;   // PHASE of the first run of the job

    // Line 4: cylinders, pressure, temperatures.
    double DH = 0.0;           // bore of the expansion cylinder, cm
    double DK = 0.0;           // bore of the compression cylinder, cm
    double R = 0.0;            // crank radius, cm
    double DKST = 0.0;         // piston-rod diameter, cm
    double P0 = 0.0;           // filling pressure, bar
    double TH = 0.0;           // heater temperature, K
    double TK = 0.0;           // cooler temperature, K

    // Line 5: filling temperature, regenerator.
    double T0 = 0.0;           // filling temperature, K
    double VOLUMEN = 0.0;      // regenerator volume per partial machine, litre ("...OLUMEN=")
    double SGRAD = 0.0;        // regenerator efficiency, %

    // Line 6: liquid columns, dead spaces, start speed, flywheel.
    bool dead_space_percent = false;  // "%" on line 6: ZH0E, ZH0C, VTE, VTC in % of the stroke
    double ZW = 0.0;           // liquid (or piston) mass factor
    double ZH0E = 0.0;         // dead space of the expansion cylinder
    double ZH0C = 0.0;         // dead space of the compression cylinder
    double N0 = 0.0;           // start speed, rev/min
    double THETA = 0.0;        // flywheel moment of inertia, g cm2
    double DICKE = 0.0;        // flywheel width, cm

    // Line 7: crank drive, control, control volumes, gas.
    bool control_volume_percent = false;  // "%" on line 7: RVE, RVC in % of the swept volumes
    double LR = 0.0;           // connecting rod over crank radius ("L/R="); 0: sinusoidal drive
    double REGELN_AB = 0.0;    // time at which the control volumes start to change, s
    double IN = 0.0;           // duration of that change, s
    double RVE = 0.0;          // control volume, expansion cylinder (% or cm3)
    double RVC = 0.0;          // control volume, compression cylinder (% or cm3)
    std::string GAS = "HE";    // gas name: "HE", "H2", "LU", "AR", "XX" or anything else
    std::string DAM = std::string(5, ' ');  // gas option field ("DAMPF", "D 123", ...)
    bool FDAMPF = false;       // vapour component of the working liquid on
    int IPF1 = 2, IPF2 = 2;    // interpolation factors read from the option field
    int IP1 = 3, IP2 = 3;      // interpolation orders (VORCOM and TDIFDF; COMP)

    // Lines 8 and 9: properties of the user gas "XX".
    double RO_XX = 0.0;        // density ("RO="), g/litre
    double CP_XX = 0.0;        // specific heat capacity ("CP=")
    double MG_XX = 0.0;        // molar mass ("MG="), g/mol
    double X_XX = 0.0;         // isentropic exponent ("X=")

    // Optional lines: definitions of the vapour calculation ("DEF") and the deviations per pair.
    int DSD = 6, DS3 = 2, DQD = 6, DQDAMPF = 2;
    std::array<double, 4> VTE{}, VTC{};  // dead-space deviations, unit of ZH0E/ZH0C
    std::array<double, 4> ATE{}, ATC{};  // injection temperature deviations from TH/TK, K

    // Line 11: diagram line.
    float XL = 0.0f;           // abscissa length, cm
    float YL = 0.0f;           // ordinate length, cm
    float HOE = 0.0f;          // lettering height, cm
    float HSYM = 0.0f;         // symbol height, cm
    int IBACK = 0;             // where the curves of this run go
    int SCALE = 0;             // > 0: scaling lines follow; magnitude: decimals of axis numbers
};

}  // namespace korvex::run
