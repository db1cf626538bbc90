#pragma once
// The machine derived from the deck values of a run: geometry, gas charge, effective
// temperatures and the fixed data of the machine options. Lengths in cm, volumes in cm**3,
// pressures in bar, temperatures in K, angles in degrees unless noted. Per-pair values that
// the listings number 1..4 (VE1, TOTVL1, V01, ...) are arrays indexed by pair - 1.
#include <array>

namespace korvex::run {

// The gas kind selected by the gas name; the simulation chooses its transport properties by it.
enum class GasKind { NONE = 0, AIR, HELIUM, ARGON, HYDROGEN };

struct MachineData {
    // Piston and rod cross-sections.
    double AKST = 0.0;    // rod cross-section, cm**2
    double VDKST = 0.0;   // rod volume over one stroke
    double FQE = 0.0;     // expansion piston
    double FQER = 0.0;    // expansion annulus (piston minus rod)
    double FQC = 0.0;     // compression piston
    double FQCR = 0.0;    // compression annulus

    // Swept volumes of the partial machines H1-K1 .. H4-K4.
    std::array<double, 4> VE{}, VC{};

    // Control volumes and their heights over the full piston areas.
    double RVEVOL = 0.0, RVCVOL = 0.0;
    double HRVE0 = 0.0, HRVC0 = 0.0;

    // Dead spaces: the common base (H00E0 ...) and each partial machine's own.
    double H00E0 = 0.0, H00C0 = 0.0, VH00E0 = 0.0, VH00C0 = 0.0;
    std::array<double, 4> H00E{}, H00C{}, VH00E{}, VH00C{};

    double VR = 0.0;      // regenerator volume per partial machine, cm**3
    double VR3 = 0.0;     // a third of it: one regenerator section
    std::array<double, 4> TOTVL{};  // dead volume incl. control volumes and regenerator

    double PHASE_RAD = 0.0;  // PHASE in radians

    // Volume scan of partial machine 1 over one revolution (angles in radians).
    double VMAX = 0.0, VMIN = 0.0;
    double PHI_VMAX = 0.0, PHI_VMIN = 0.0;
    double PHI_EQUAL = 0.0;  // NZYL = 2: where both partial machines hold the same volume

    // Reference volumes and gas amount.
    double PHI0 = 0.0;                 // start crank angle of the simulation, degrees
    std::array<double, 4> V0{};        // V01..V04
    std::array<double, 4> P0V0{};      // P0 * V0i / 10, N*m
    std::array<double, 4> M0{};        // mol
    std::array<double, 4> GM0{};       // g
    // Kept from the last run that gave P0 and T0, for runs with P0 = T0 = 0.
    double P0V01_SAVED = 0.0;
    double T0_SAVED = 0.0;

    // Effective temperatures of the operating mode.
    double THNEU = 0.0, TKNEU = 0.0;
    double TAA1 = 0.0, TZZ1 = 0.0;     // start temperatures of the E and C spaces
    double VERLUST = 0.0;              // regenerator loss, % (100 - SGRAD)
    double TER1 = 0.0, TCR1 = 0.0;     // regenerator end temperatures
    // Mode TEMPD: temperatures at 0, 10, ..., 360 degrees crank angle.
    std::array<double, 37> TTE{}, TTC{};
    double TEMAX = 0.0, TCMIN = 0.0;
    std::array<double, 37> WINKEL = [] {
        std::array<double, 37> w{};
        for (int i = 0; i < 37; ++i) w[i] = 10.0 * i;
        return w;
    }();

    // Gas properties. A gas name not in the table leaves those of the previous run.
    GasKind gas_kind = GasKind::NONE;
    double MG = 0.0;      // molar mass, g/mol
    double CP = 0.0;      // specific heat at constant pressure, W*s/(g*K)
    double RO = 0.0;      // density, g/litre
    double KAPPA = 0.0;   // isentropic exponent
    double CV = 0.0;      // CP / KAPPA
    double RS = 0.0;      // specific gas constant, bar*cm**3/(g*K)
    double CPGE = 0.0, CPGC = 0.0;  // gas heat capacities of the injection model, E and C side
    double CGAS1 = 0.0;   // heat capacity of the gas in H1-K1: CV * MG * M01

    // Flywheel: a solid disc of width DICKE with the inertia THETA.
    double flywheel_diameter = 0.0;  // cm
    double flywheel_energy = 0.0;    // at the start speed N0, N*m

    // Moving liquid (or piston) masses, hot and cold side, g.
    double MH = 0.0, MK = 0.0;

    // Injection nozzles.
    double FQDUE = 0.0, FQDUC = 0.0;  // all nozzles' cross-section, cm**2
    double UDU0E = 0.0, UDU0C = 0.0;  // jet velocity, m/s
    double DGLe = 0.0, DGLc = 0.0;    // hydraulic diameter around the jets, m

    // Wire mesh: heat taken up and given off per revolution, W*s.
    double QZU_NEW = 0.0, QAB_NEW = 0.0;
};

}  // namespace korvex::run
