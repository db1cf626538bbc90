// The catalogue of plottable quantities and the diagram-name checks.
#include "diagrams/catalogue.hpp"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cstdint>
#include <limits>
#include <string>

#include "runtime/format.hpp"

namespace korvex::diagrams {

namespace {

using F = simulation::PairField;

struct ClassEntry {
    std::string_view unit;
    std::string_view first;
    std::string_view delta;
};

// Base names of the per-pair block, k = 1..139.
constexpr std::array<std::string_view, NPAIRQ> BASE_NAME{
    "HE", "VE", "DVE", "ME", "DME", "HC", "VC", "DVC",
    "MC", "DMC", "MR", "DMR", "VG", "DVG", "P", "T1",
    "DAE", "DAC", "DA", "DPS", "DUE", "DUC", "DURE", "DURC",
    "DUREC", "DUR", "DQZU", "DQAB", "DQGN", "DQNUZ", "DQNZD", "DQDAF",
    "VGDPS", "PS", "PGES", "DS1", "DS3", "DS2", "DQD", "T3",
    "T2", "V", "QZU", "QAB", "A", "QGN", "QTS1", "QTS3",
    "QTS2", "QURE", "QURC", "QUREC", "QUR", "QNUZD", "QDAMF", "WORK",
    "S1", "S3", "S2", "SDM", "SDD", "BETA", "DSD", "QREZU",
    "DREZU", "QRCAB", "DRCAB", "QH2OE", "QH2OC", "DQH2O", "DT2", "TE",
    "TC", "QUTR", "QUE", "QUC", "AE", "AC", "QUTE", "QUME",
    "QUTC", "QUMC", "QNUZG", "DTE", "DTC", "DTR", "QUMR", "DUMR",
    "DUTR", "DUME", "DUTE", "DUMC", "DUTC", "DREH", "TR", "DPGES",
    "GDE", "GDC", "GDR", "DP", "VGDP", "PFE", "PFK", "TEMTC",
    "DVLQH", "DVLQC", "DVLHM", "DVLCM", "DMY1", "DMY2", "DMY3", "DMY4",
    "TW2E", "TW2C", "QGASE", "QGASC", "QWE", "QWC", "QLUFE", "QLUFC",
    "DQGSE", "DQGSC", "DQWE", "DQWC", "ALPAE", "ALPAC", "DQLUE", "DQLUC",
    "XNUE", "XNUC", "RENOL", "RCNOL", "TREGE", "TREGC", "TGASE", "TGASC",
    "DMTE", "H2OME", "VDR",
};

// Dimension class of each per-pair quantity, k = 1..139.
constexpr std::array<std::int8_t, NPAIRQ> PAIR_CLASS{
    13, 6, 18, 9, 19, 13, 6, 18, 9, 19, 9, 19, 6, 18, 7, 1,
    10, 10, 10, 27, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10,
    10, 7, 7, 3, 3, 3, 11, 1, 1, 6, 11, 11, 11, 11, 11, 11,
    11, 11, 11, 11, 11, 11, 11, 11, 2, 2, 2, 9, 8, 25, 2, 11,
    10, 11, 10, 11, 11, 10, 26, 1, 1, 11, 11, 11, 11, 11, 11, 11,
    11, 11, 11, 26, 26, 26, 11, 10, 10, 10, 10, 10, 10, 4, 1, 27,
    8, 8, 8, 27, 10, 4, 4, 1, 28, 28, 28, 28, 29, 29, 30, 30,
    1, 1, 11, 11, 11, 11, 11, 11, 10, 10, 10, 10, 31, 31, 10, 10,
    32, 32, 33, 33, 1, 1, 1, 1, 9, 9, 28,
};

// Names of the global quantities, positions 557..705 (blank-padded to six).
constexpr std::array<std::string_view, NGLOBAL> GLOBAL_NAME{
    "DUMMY1", "DUMMY2", "DUMMY3", "DUMMY4", "DUMMY5", "DUMMY6", "PHI1  ", "PHI2  ",
    "KU1   ", "KU2   ", "CANGLE", "W     ", "DWDT  ", "RPM   ", "F1243 ", "F3412 ",
    "VE1243", "VE3412", "C2BI  ", "C2BII ", "POWER ", "ATHETA", "ARBEIT", "AKOL  ",
    "QNUTZ ", "QT1S1 ", "QT3S3 ", "QT2S2 ", "QGNUTZ", "QNUTZD", "QZU   ", "QAB   ",
    "QUREC ", "QREGR ", "A12   ", "QN12  ", "QTS112", "QTS312", "QTS212", "QGN12 ",
    "QNZD12", "QUEC12", "QUR12 ", "QZU12 ", "QAB12 ", "DQNZ12", "DQZU12", "DQAB12",
    "QH2OE ", "DA12  ", "DR12  ", "SCHUB1", "DAKLI ", "A34   ", "DA34  ", "DWEG1 ",
    "QN34  ", "QTS134", "QTS334", "QTS234", "QGN34 ", "QNZD34", "QUEC34", "QUR34 ",
    "QZU34 ", "QAB34 ", "DQNZ34", "DQZU34", "DQAB34", "QH2OC ", "DWEG2 ", "DR34  ",
    "SCHUB2", "DAKLII", "DWORKN", "DAKOLN", "ZHKUI ", "ZHKUII", "MHKW  ", "VALL  ",
    "DAKOL ", "DATETA", "DREHMO", "WEG1  ", "WEG2  ", "HRVE  ", "HRVC  ", "QUE   ",
    "QUC   ", "QUTR  ", "DRU1  ", "DRU2  ", "TIME  ", "UI    ", "UII   ", "BI    ",
    "BII   ", "QH2O  ", "POWERU", "VWORK ", "ARBETN", "DWORK ", "POWERN", "DR1234",
    "DRNTZ1", "DRNTZ2", "DRNUTZ", "VALLI ", "VALLII", "DWORK1", "DWORK2", "FRESI ",
    "FRESII", "VPRES1", "PRES1 ", "QZU1MX", "VIDEAL", "DIEXP ", "QIEXP ", "DICOMP",
    "QICOMP", "WORKNN", "AKOLN ", "AKOLU ", "AKOLUN", "VWORKU", "AFSEAL", "DAFSE1",
    "DAFSE2", "AC2B  ", "DAC2B1", "DAC2B2", "AZHKU ", "DAZHK1", "DAZHK2", "FI12  ",
    "FI43  ", "FII34 ", "FII12 ", "DRI12 ", "DRI43 ", "DRII34", "DRII12", "DRI   ",
    "DRII  ", "DRIII ", "DRU1M2", "PPUMPH", "PPUMPC",
};

// Dimension class of each global quantity, positions 557..705.
constexpr std::array<std::int8_t, NGLOBAL> GLOBAL_CLASS{
    5, 5, 5, 5, 5, 5, 14, 14, 15, 15, 15, 20, 21, 22, 12, 12,
    12, 12, 12, 12, 17, 11, 11, 11, 11, 11, 11, 11, 11, 11, 11, 11,
    11, 11, 11, 11, 11, 11, 11, 11, 11, 11, 11, 11, 11, 10, 10, 10,
    11, 10, 4, 12, 10, 11, 10, 23, 11, 11, 11, 11, 11, 11, 11, 11,
    11, 11, 10, 10, 10, 11, 23, 4, 12, 10, 10, 10, 12, 12, 19, 12,
    10, 10, 4, 13, 13, 13, 13, 11, 11, 11, 4, 4, 16, 23, 23, 24,
    24, 11, 17, 11, 11, 10, 17, 4, 4, 4, 4, 12, 12, 10, 10, 12,
    12, 7, 7, 11, 6, 10, 11, 10, 11, 11, 11, 11, 11, 11, 11, 10,
    10, 11, 10, 10, 11, 10, 10, 12, 12, 12, 12, 4, 4, 4, 4, 4,
    4, 4, 4, 17, 17,
};

// What each per-pair quantity is, k = 1..139 (quantity_description names the pair).
constexpr std::array<std::string_view, NPAIRQ> BASE_WHAT{
    "length of the expansion space: its dead height, control-volume height and piston travel",  // HE
    "gas volume of the expansion space (hot cylinder)",  // VE
    "rate of change of the expansion-space volume VE",  // DVE
    "gas mass in the expansion space",  // ME
    "gas mass flow into the expansion space (rate of ME)",  // DME
    "length of the compression space: its dead height, control-volume height and piston travel",  // HC
    "gas volume of the compression space (cold cylinder)",  // VC
    "rate of change of the compression-space volume VC",  // DVC
    "gas mass in the compression space",  // MC
    "gas mass flow into the compression space (rate of MC)",  // DMC
    "gas mass in the regenerator",  // MR
    "gas mass flow into the regenerator (rate of MR)",  // DMR
    "total gas volume: expansion space, compression space and regenerator",  // VG
    "rate of change of the total gas volume VG",  // DVG
    "gas pressure (without vapour)",  // P
    "mean gas temperature: T0 VG / reduced volume",  // T1
    "pressure-volume power of the expansion space: p dVE/dt",  // DAE
    "pressure-volume power of the compression space: p dVC/dt",  // DAC
    "pressure-volume power of the cylinder pair: p dVG/dt",  // DA
    "rate of change of the vapour partial pressure PS",  // DPS
    "internal-energy rate of the expansion space: DUTE + DUME",  // DUE
    "internal-energy rate of the compression space: DUTC + DUMC",  // DUC
    "heat rate of the gas crossing the hot regenerator end: (TER - TR) cv dME/dt",  // DURE
    "heat rate of the gas crossing the cold regenerator end: (TCR - TR) cv dMC/dt",  // DURC
    "heat rate at both regenerator ends: DURE + DURC",  // DUREC
    "internal-energy rate of the regenerator gas: DUMR + DUTR",  // DUR
    "heat flow into the expansion space (from the heater)",  // DQZU
    "heat flow into the compression space; negative while the cooler takes heat",  // DQAB
    "net heat flow of the pair from the energy balances of its three spaces",  // DQGN
    "net heat flow of the gas: DQZU + DQAB + DUTR + DUREC",  // DQNUZ
    "net heat flow of gas and vapour",  // DQNZD
    "heat rate of the vapour component (formula DQDAMPF)",  // DQDAF
    "technical power of the vapour: VG dPS/dt",  // VGDPS
    "vapour partial pressure (0 without the vapour option)",  // PS
    "total pressure of gas and vapour: P + PS",  // PGES
    "entropy rate of the gas",  // DS1
    "entropy rate of the vapour (formula DS3)",  // DS3
    "entropy rate of gas and vapour: DS1 + DS3",  // DS2
    "heat content of the vapour (formula DQD)",  // DQD
    "temperature of the vapour",  // T3
    "characteristic temperature of gas and vapour: net heat rate over entropy rate",  // T2
    "reduced volume: (VE/TE + regenerator volume/temperature + VC/TC) times T0",  // V
    "heat supplied to the expansion space since the start of the run",  // QZU
    "heat of the compression space since the start; negative: given to the cooler",  // QAB
    "pressure-volume work of the pair since the start (its expansion work)",  // A
    "net heat of the pair since the start (integral of DQGN)",  // QGN
    "heat of the gas as the integral of T1 dS1",  // QTS1
    "heat of the vapour as the integral of T3 dS3",  // QTS3
    "heat of gas and vapour: QTS1 + QTS3",  // QTS2
    "heat at the hot regenerator end since the start (integral of DURE)",  // QURE
    "heat at the cold regenerator end since the start (integral of DURC)",  // QURC
    "heat at both regenerator ends since the start: QURE + QURC",  // QUREC
    "internal-energy change of the regenerator gas since the start (integral of DUR)",  // QUR
    "useful heat of gas and vapour since the start; QNUZD / QZU is the pair's efficiency",  // QNUZD
    "heat of the vapour component since the start (integral of DQDAF)",  // QDAMF
    "work of the vapour since the start, counted negative",  // WORK
    "entropy of the gas, counted from the start of the run",  // S1
    "entropy of the vapour, counted from the start of the run",  // S3
    "entropy of gas and vapour: S1 + S3",  // S2
    "vapour mass of the pair",  // SDM
    "vapour density in the total gas volume",  // SDD
    "not computed in this program (always 0)",  // BETA
    "entropy of the vapour (formula DSD)",  // DSD
    "regenerator loss heat that the heater must add, since the start",  // QREZU
    "regenerator loss heat flow of the hot side (rate of QREZU)",  // DREZU
    "regenerator loss heat that the cooler must take, since the start",  // QRCAB
    "regenerator loss heat flow of the cold side (rate of QRCAB)",  // DRCAB
    "heat carried into the hot side by vapour forming between the liquid temperatures (injection), since the start",  // QH2OE
    "heat carried out of the cold side by vapour condensing between the liquid temperatures (injection), since the start",  // QH2OC
    "heat flow carried by the vapour between the two liquid temperatures (injection)",  // DQH2O
    "rate of change of T2",  // DT2
    "gas temperature of the expansion space",  // TE
    "gas temperature of the compression space",  // TC
    "heat for the temperature change of the regenerator gas since the start (integral of DUTR)",  // QUTR
    "internal-energy change of the expansion space since the start: QUTE + QUME",  // QUE
    "internal-energy change of the compression space since the start: QUTC + QUMC",  // QUC
    "pressure-volume work of the expansion space since the start",  // AE
    "pressure-volume work of the compression space since the start",  // AC
    "heat for the temperature change of the expansion-space gas since the start (integral of DUTE)",  // QUTE
    "heat carried by the gas entering and leaving the expansion space since the start (integral of DUME)",  // QUME
    "heat for the temperature change of the compression-space gas since the start (integral of DUTC)",  // QUTC
    "heat carried by the gas entering and leaving the compression space since the start (integral of DUMC)",  // QUMC
    "net heat of the gas since the start (integral of DQNUZ)",  // QNUZG
    "rate of change of the expansion-space temperature TE",  // DTE
    "rate of change of the compression-space temperature TC",  // DTC
    "rate of change of the regenerator temperature TR",  // DTR
    "heat carried by the gas entering and leaving the regenerator since the start (integral of DUMR)",  // QUMR
    "heat rate carried by the gas entering and leaving the regenerator: cv TR dMR/dt",  // DUMR
    "heat rate for the temperature change of the regenerator gas: cv MR dTR/dt",  // DUTR
    "heat rate carried by the gas entering and leaving the expansion space: TER cv dME/dt",  // DUME
    "heat rate for the temperature change of the expansion-space gas: cv ME dTE/dt",  // DUTE
    "heat rate carried by the gas entering and leaving the compression space: TCR cv dMC/dt",  // DUMC
    "heat rate for the temperature change of the compression-space gas: cv MC dTC/dt",  // DUTC
    "not computed in this program (always 0)",  // DREH
    "mean temperature of the regenerator gas",  // TR
    "rate of change of the total pressure PGES",  // DPGES
    "gas density in the expansion space",  // GDE
    "gas density in the compression space",  // GDC
    "gas density in the regenerator",  // GDR
    "rate of change of the gas pressure P",  // DP
    "technical power of the gas: VG dP/dt",  // VGDP
    "not computed in this program (always 0)",  // PFE
    "not computed in this program (always 0)",  // PFK
    "temperature difference of the spaces: TE - TC",  // TEMTC
    "liquid volume flow that carries the heat to the hot side (the injection flow with nozzles)",  // DVLQH
    "liquid volume flow that carries the heat from the cold side (the injection flow with nozzles)",  // DVLQC
    "mean liquid volume flow of the hot side over the last revolution",  // DVLHM
    "mean liquid volume flow of the cold side over the last revolution",  // DVLCM
    "placeholder, not computed (always 0)",  // DMY1
    "placeholder, not computed (always 0)",  // DMY2
    "placeholder, not computed (always 0)",  // DMY3
    "placeholder, not computed (always 0)",  // DMY4
    "temperature of the injected liquid leaving the expansion space",  // TW2E
    "temperature of the injected liquid leaving the compression space",  // TW2C
    "heat from the injected jets to the expansion-space gas since the start (jet-surface model)",  // QGASE
    "heat from the injected jets to the compression-space gas since the start (jet-surface model)",  // QGASC
    "heat given up by the injected liquid of the hot side since the start (inlet less outlet)",  // QWE
    "heat given up by the injected liquid of the cold side since the start (inlet less outlet)",  // QWC
    "heat taken up by the expansion-space gas with injection since the start (its energy balance)",  // QLUFE
    "heat taken up by the compression-space gas with injection since the start (its energy balance)",  // QLUFC
    "heat flow from the jets to the expansion-space gas (rate of QGASE)",  // DQGSE
    "heat flow from the jets to the compression-space gas (rate of QGASC)",  // DQGSC
    "heat flow given up by the liquid of the hot side (rate of QWE)",  // DQWE
    "heat flow given up by the liquid of the cold side (rate of QWC)",  // DQWC
    "heat-transfer coefficient between jets and gas, expansion space",  // ALPAE
    "heat-transfer coefficient between jets and gas, compression space",  // ALPAC
    "heat flow taken up by the expansion-space gas with injection (rate of QLUFE)",  // DQLUE
    "heat flow taken up by the compression-space gas with injection (rate of QLUFC)",  // DQLUC
    "Nusselt number of the jets, expansion space",  // XNUE
    "Nusselt number of the jets, compression space",  // XNUC
    "Reynolds number of the jets against the gas, expansion space",  // RENOL
    "Reynolds number of the jets against the gas, compression space",  // RCNOL
    "regenerator temperature at the hot end (TER)",  // TREGE
    "regenerator temperature at the cold end (TCR)",  // TREGC
    "expansion-space gas temperature from the injection heat balance",  // TGASE
    "compression-space gas temperature from the injection heat balance",  // TGASC
    "vapour mass mixed into the expansion-space gas (injection with the vapour option)",  // DMTE
    "liquid injected into the expansion space during the time step",  // H2OME
    "not computed in this program (always 0)",  // VDR
};

// What each global quantity is, positions 557..705.
constexpr std::array<std::string_view, NGLOBAL> GLOBAL_WHAT{
    "placeholder, not computed (always 0)",  // DUMMY1
    "placeholder, not computed (always 0)",  // DUMMY2
    "placeholder, not computed (always 0)",  // DUMMY3
    "placeholder, not computed (always 0)",  // DUMMY4
    "placeholder, not computed (always 0)",  // DUMMY5
    "placeholder, not computed (always 0)",  // DUMMY6
    "angle of crank 1 within the current revolution, in degrees",  // PHI1
    "angle of crank 2 within the current revolution (PHI1 + PHASE), in degrees",  // PHI2
    "angle of crank 1 counted on from the start, degrees",  // KU1
    "angle of crank 2 counted on from the start, degrees",  // KU2
    "crank angle within the current revolution (as PHI1)",  // CANGLE
    "angular speed of the crankshaft",  // W
    "angular acceleration of the crankshaft",  // DWDT
    "speed of the machine",  // RPM
    "gas-pressure force on piston rod I (pairs 1 and 2, with 4 and 3)",  // F1243
    "gas-pressure force on piston rod II (pairs 3 and 4, with 1 and 2)",  // F3412
    "hydrostatic force of the liquid columns on rod I",  // VE1243
    "hydrostatic force of the liquid columns on rod II",  // VE3412
    "inertia force of the liquid columns or pistons on rod I",  // C2BI
    "inertia force of the liquid columns or pistons on rod II",  // C2BII
    "pressure-volume power of pair 1 on both pistons from the crank motion",  // POWER
    "energy taken up by the flywheel since the start",  // ATHETA
    "pressure-volume work of all pairs since the start",  // ARBEIT
    "work of the piston-rod forces since the start",  // AKOL
    "net heat of the machine since the start: QN12 + QN34",  // QNUTZ
    "heat of the gas as the integral of T1 dS1, all pairs",  // QT1S1
    "heat of the vapour as the integral of T3 dS3, all pairs",  // QT3S3
    "heat of gas and vapour (QTS2), all pairs",  // QT2S2
    "net heat from the energy balances of all pairs (sum of QGN)",  // QGNUTZ
    "useful heat of gas and vapour, all pairs (with injection: their pressure-volume work)",  // QNUTZD
    "heat supplied to the expansion spaces, all pairs",  // QZU
    "heat of the compression spaces, all pairs; negative: given to the coolers",  // QAB
    "heat at the regenerator ends, all pairs",  // QUREC
    "internal-energy change of the regenerator gas, all pairs (sum of QUR)",  // QREGR
    "pressure-volume work of pairs 1 and 2",  // A12
    "net heat of pairs 1 and 2: QZU + QAB + QUREC + QUTR",  // QN12
    "heat of the gas as the integral of T1 dS1, pairs 1 and 2",  // QTS112
    "heat of the vapour as the integral of T3 dS3, pairs 1 and 2",  // QTS312
    "heat of gas and vapour (QTS2), pairs 1 and 2",  // QTS212
    "net heat from the energy balances of pairs 1 and 2",  // QGN12
    "useful heat of pairs 1 and 2 (with injection: their pressure-volume work)",  // QNZD12
    "heat at the regenerator ends, pairs 1 and 2",  // QUEC12
    "internal-energy change of the regenerator gas, pairs 1 and 2",  // QUR12
    "heat supplied to the expansion spaces, pairs 1 and 2",  // QZU12
    "heat of the compression spaces, pairs 1 and 2",  // QAB12
    "useful heat flow of pairs 1 and 2",  // DQNZ12
    "heat flow into the expansion spaces, pairs 1 and 2",  // DQZU12
    "heat flow into the compression spaces, pairs 1 and 2",  // DQAB12
    "vapour heat of the hot sides (QH2OE), all pairs",  // QH2OE
    "pressure-volume power of pairs 1 and 2",  // DA12
    "difference of the total pressures of pairs 1 and 2",  // DR12
    "net force on piston rod I: gas force less inertia, damping, liquid and friction forces",  // SCHUB1
    "power of the gas-pressure force on rod I",  // DAKLI
    "pressure-volume work of pairs 3 and 4",  // A34
    "pressure-volume power of pairs 3 and 4",  // DA34
    "piston speed of crank 1 from the travel over the time step",  // DWEG1
    "net heat of pairs 3 and 4: QZU + QAB + QUREC + QUTR",  // QN34
    "heat of the gas as the integral of T1 dS1, pairs 3 and 4",  // QTS134
    "heat of the vapour as the integral of T3 dS3, pairs 3 and 4",  // QTS334
    "heat of gas and vapour (QTS2), pairs 3 and 4",  // QTS234
    "net heat from the energy balances of pairs 3 and 4",  // QGN34
    "useful heat of pairs 3 and 4 (with injection: their pressure-volume work)",  // QNZD34
    "heat at the regenerator ends, pairs 3 and 4",  // QUEC34
    "internal-energy change of the regenerator gas, pairs 3 and 4",  // QUR34
    "heat supplied to the expansion spaces, pairs 3 and 4",  // QZU34
    "heat of the compression spaces, pairs 3 and 4",  // QAB34
    "useful heat flow of pairs 3 and 4",  // DQNZ34
    "heat flow into the expansion spaces, pairs 3 and 4",  // DQZU34
    "heat flow into the compression spaces, pairs 3 and 4",  // DQAB34
    "vapour heat of the cold sides (QH2OC), all pairs",  // QH2OC
    "piston speed of crank 2 from the travel over the time step",  // DWEG2
    "difference of the total pressures of pairs 4 and 3",  // DR34
    "net force on piston rod II: gas force less inertia, damping, liquid and friction forces",  // SCHUB2
    "power of the gas-pressure force on rod II",  // DAKLII
    "net power: pressure-volume power of all pairs less the loss power",  // DWORKN
    "net power of the piston rods: gas forces less all resistances",  // DAKOLN
    "damping force of the liquid oscillation on rod I",  // ZHKUI
    "damping force of the liquid oscillation on rod II",  // ZHKUII
    "damping coefficient of the liquid columns: moving mass, speed and damping factor",  // MHKW
    "hydrostatic forces of the liquid columns on both rods",  // VALL
    "power of the piston-rod forces",  // DAKOL
    "power taken up by the flywheel",  // DATETA
    "torque on the crankshaft",  // DREHMO
    "piston travel of crank 1",  // WEG1
    "piston travel of crank 2",  // WEG2
    "height of the control volume in the hot cylinder",  // HRVE
    "height of the control volume in the cold cylinder",  // HRVC
    "internal-energy change of the expansion spaces, all pairs",  // QUE
    "internal-energy change of the compression spaces, all pairs",  // QUC
    "heat for the temperature change of the regenerator gas, all pairs",  // QUTR
    "total pressure of pair 1",  // DRU1
    "total pressure of pair 2",  // DRU2
    "running time of the machine since the start of the computation",  // TIME
    "piston speed of crank 1",  // UI
    "piston speed of crank 2",  // UII
    "piston acceleration of crank 1",  // BI
    "piston acceleration of crank 2",  // BII
    "vapour heat of both sides, all pairs: QH2OE + QH2OC",  // QH2O
    "mean power of the piston rods over the last revolution",  // POWERU
    "lost work of the whole machine since the start: liquid, damping and friction",  // VWORK
    "pressure-volume work less the lost work: ARBEIT - VWORK",  // ARBETN
    "pressure-volume power of all pairs",  // DWORK
    "mean net power of the piston rods over the last revolution",  // POWERN
    "sum of the pressure differences of pairs 1 - 2 and 4 - 3",  // DR1234
    "net force on rod I as a pressure on the hot piston",  // DRNTZ1
    "net force on rod II as a pressure on the cold piston",  // DRNTZ2
    "DRNTZ1 + DRNTZ2",  // DRNUTZ
    "resistance on rod I besides the liquid's hydrostatic force: inertia, damping, friction",  // VALLI
    "resistance on rod II besides the liquid's hydrostatic force: inertia, damping, friction",  // VALLII
    "pressure-volume power of pairs 1 and 2",  // DWORK1
    "pressure-volume power of pairs 3 and 4",  // DWORK2
    "all resistance forces on rod I: liquid, inertia, damping, friction",  // FRESI
    "all resistance forces on rod II: liquid, inertia, damping, friction",  // FRESII
    "total pressure of pair 1 one time step before",  // VPRES1
    "total pressure of pair 1",  // PRES1
    "heat supplied to pair 1, counted while it flows in",  // QZU1MX
    "gas volume of the ideal isothermal comparison machine",  // VIDEAL
    "heat flow of the ideal machine's isothermal expansion",  // DIEXP
    "heat of the ideal machine's isothermal expansion",  // QIEXP
    "heat flow of the ideal machine's isothermal compression",  // DICOMP
    "heat of the ideal machine's isothermal compression",  // QICOMP
    "net work since the start: pressure-volume work less the lost work",  // WORKNN
    "net work of the piston rods since the start: gas forces less all resistances",  // AKOLN
    "work of the piston-rod forces in the last revolution",  // AKOLU
    "net work of the piston rods in the last revolution",  // AKOLUN
    "lost work in the last revolution",  // VWORKU
    "friction work of the seals since the start",  // AFSEAL
    "friction power of the seals of rod I",  // DAFSE1
    "friction power of the seals of rod II",  // DAFSE2
    "work of the inertia forces of the liquid columns or pistons since the start",  // AC2B
    "power of the inertia force on rod I",  // DAC2B1
    "power of the inertia force on rod II",  // DAC2B2
    "damping work of the liquid oscillation since the start",  // AZHKU
    "damping power on rod I",  // DAZHK1
    "damping power on rod II",  // DAZHK2
    "gas-pressure force of pairs 1 and 2 on rod I (hot pistons)",  // FI12
    "gas-pressure force of pairs 4 and 3 on rod I (cold pistons)",  // FI43
    "gas-pressure force of pairs 3 and 4 on rod II (hot pistons)",  // FII34
    "gas-pressure force of pairs 1 and 2 on rod II (cold pistons)",  // FII12
    "pressure difference pair 1 - pair 2 on rod I",  // DRI12
    "pressure difference pair 4 - pair 3 on rod I",  // DRI43
    "pressure difference pair 3 - pair 4 on rod II",  // DRII34
    "pressure difference pair 1 - pair 2 on rod II",  // DRII12
    "pressure differences on rod I: DRI12 + DRI43",  // DRI
    "pressure differences on rod II: DRII34 + DRII12",  // DRII
    "DRI - DRII",  // DRIII
    "pressure difference pair 1 - pair 2",  // DRU1M2
    "power of the hot-side injection pumps: mean liquid flow times DELTAP",  // PPUMPH
    "power of the cold-side injection pumps: mean liquid flow times DELTAP",  // PPUMPC
};

// The per-pair fields in block order; must equal 0, 1, 2, ... (checked below).
constexpr std::array<std::size_t, NPAIRQ> FIELD_OF_K{
    F::HE, F::VE, F::DVE, F::ME, F::DME, F::HC,
    F::VC, F::DVC, F::MC, F::DMC, F::MR, F::DMR,
    F::VG, F::DVG, F::P, F::T1, F::DAE, F::DAC,
    F::DA, F::DPS, F::DUE, F::DUC, F::DURE, F::DURC,
    F::DUREC, F::DUR, F::DQZU, F::DQAB, F::DQGN, F::DQNUZ,
    F::DQNZD, F::DQDAF, F::VGDPS, F::PS, F::PGES, F::DS1,
    F::DS3, F::DS2, F::DQD, F::T3, F::T2, F::V,
    F::QZU, F::QAB, F::A, F::QGN, F::QTS1, F::QTS3,
    F::QTS2, F::QURE, F::QURC, F::QUREC, F::QUR, F::QNUZD,
    F::QDAMF, F::WORK, F::S1, F::S3, F::S2, F::SDM,
    F::SDD, F::BETA, F::DSD, F::QREZU, F::DREZU, F::QRCAB,
    F::DRCAB, F::QH2OE, F::QH2OC, F::DQH2O, F::DT2, F::TE,
    F::TC, F::QUTR, F::QUE, F::QUC, F::AE, F::AC,
    F::QUTE, F::QUME, F::QUTC, F::QUMC, F::QNUZG, F::DTE,
    F::DTC, F::DTR, F::QUMR, F::DUMR, F::DUTR, F::DUME,
    F::DUTE, F::DUMC, F::DUTC, F::DREH, F::TR, F::DPGES,
    F::GDE, F::GDC, F::GDR, F::DP, F::VGDP, F::PFE,
    F::PFK, F::TEMTC, F::DVLQH, F::DVLQC, F::DVLHM, F::DVLCM,
    F::DMY1, F::DMY2, F::DMY3, F::DMY4, F::TW2E, F::TW2C,
    F::QGASE, F::QGASC, F::QWE, F::QWC, F::QLUFE, F::QLUFC,
    F::DQGSE, F::DQGSC, F::DQWE, F::DQWC, F::ALPAE, F::ALPAC,
    F::DQLUE, F::DQLUC, F::XNUE, F::XNUC, F::RENOL, F::RCNOL,
    F::TREGE, F::TREGC, F::TGASE, F::TGASC, F::DMTE, F::H2OME,
    F::VDR,
};

// Unit text (12 characters) and the two scale keywords of each class.
constexpr std::array<ClassEntry, NCLASS> CLASS_TABLE{{
    {"KELVIN      ", "T(F)=", "T(D)="},
    {"WATT * SEC/K", "S(F)=", "S(D)="},
    {"WATT * SEC/K", "DS(F)=", "DS(D)="},
    {"NEWTON*METER", "PFK(F)=", "PFK(D)="},
    {"DUMMY       ", "DMY(F)=", "DMY(D)="},
    {"CM**3       ", "VK(F)=", "VK(D)="},
    {"BAR         ", "P(F)=", "P(D)="},
    {"GRAMM/LITER ", "DI(F)=", "DI(D)="},
    {"GRAMM       ", "M(F)=", "M(D)="},
    {"WATT        ", "DQ(F)=", "DQ(D)="},
    {"WATT * SEC  ", "Q(F)=", "Q(D)="},
    {"NEWTON      ", "PU1(F)=", "PU1(D)="},
    {"CM          ", "H(F)=", "H(D)="},
    {"BOGENMASS   ", "ARC(F)=", "ARC(D)="},
    {"WINKELGRAD  ", "ANG(F)=", "ANG(D)="},
    {"SEC         ", "TME(F)=", "TME(D)="},
    {"WATT        ", "PW(F)=", "PW(D)="},
    {"CM**3 / SEC ", "DV(F)=", "DV(D)="},
    {"GRAMM / SEC ", "DM(F)=", "DM(D)="},
    {"1/SEC       ", "W(F)=", "W(D)="},
    {"1/SEC**2    ", "DW(F)=", "DW(D)="},
    {"U/MIN       ", "RPM(F)=", "RPM(D)="},
    {"CM/SEC      ", "U(F)=", "U(D)="},
    {"CM/SEC**2   ", "B(F)=", "B(D)="},
    {"-           ", "BTA(F)=", "BTA(D)="},
    {"KELVIN/SEC  ", "DT(F)=", "DT(D)="},
    {"BAR/SEC     ", "DP(F)=", "DP(D)="},
    {"LITER/SEC   ", "VLI(F)=", "VLI(D)="},
    {"Dummy12.n   ", "DMY12F=", "DMY12D="},
    {"Dummy34.n   ", "DMY34F=", "DMY34D="},
    {"W*S/(K*m**2)", "ALP(F)=", "ALP(D)="},
    {"--          ", "NUS(F)=", "NUS(D)="},
    {"---         ", "REY(F)=", "REY(D)="},
}};

// Names of part-engine 2 that a run with fewer part-engines still delivers.
constexpr std::array<std::string_view, 47> PART2_ALWAYS{
    "VC2   ", "VE2   ", "DVC2  ", "DVE2  ", "DVG2  ", "VG2   ", "TC2   ", "TE2   ",
    "DMR2  ", "DMC2  ", "DME2  ", "MR2   ", "MC2   ", "ME2   ", "QTS22 ", "QTS12 ",
    "QGN2  ", "QNUZG2", "QNUZD2", "QAB2  ", "QZU2  ", "V2    ", "T12   ", "S12   ",
    "DS12  ", "DQGN2 ", "DQNZD2", "DQNUZ2", "DQAB2 ", "DQZU2 ", "DUTC2 ", "DUTE2 ",
    "A2    ", "AC2   ", "AE2   ", "DA2   ", "DTC2  ", "DAC2  ", "DTE2  ", "DAE2  ",
    "DREH2 ", "PFK2  ", "PFE2  ", "DPGES2", "PGES2 ", "PS2   ", "P2    ",
};

// The catalogue position addresses the pair record directly: field k-1 is the k-th quantity.
constexpr bool fields_in_block_order() {
    for (std::size_t k = 0; k < FIELD_OF_K.size(); ++k)
        if (FIELD_OF_K[k] != k) return false;
    return F::COUNT == static_cast<std::size_t>(NPAIRQ);
}
static_assert(fields_in_block_order(), "PairField must follow the catalogue's per-pair block");

using Name6 = std::array<char, 6>;

// NAMEG, built once at compile time: base name and pair digit, then the global names.
constexpr std::array<Name6, NNAMEG> build_nameg() {
    std::array<Name6, NNAMEG> t{};
    for (auto& n : t) n.fill(' ');
    for (int p = 0; p < NPARTS; ++p) {
        for (int k = 0; k < NPAIRQ; ++k) {
            Name6& n = t[static_cast<std::size_t>(p * NPAIRQ + k)];
            const std::string_view b = BASE_NAME[static_cast<std::size_t>(k)];
            for (std::size_t c = 0; c < b.size(); ++c) n[c] = b[c];
            n[b.size()] = static_cast<char>('1' + p);
        }
    }
    for (int g = 0; g < NGLOBAL; ++g) {
        const std::string_view s = GLOBAL_NAME[static_cast<std::size_t>(g)];
        for (std::size_t c = 0; c < 6; ++c) t[static_cast<std::size_t>(NPAIRPOS + g)][c] = s[c];
    }
    return t;
}
constexpr std::array<Name6, NNAMEG> NAMES = build_nameg();

constexpr bool base_names_fit() {
    for (auto b : BASE_NAME)
        if (b.empty() || b.size() > 5) return false;
    for (auto g : GLOBAL_NAME)
        if (g.size() != 6) return false;
    return true;
}
static_assert(base_names_fit());

constexpr std::string_view BLANK6 = "      ";

// A name as the six-character field it is compared in: shorter names blank-padded. A name
// with anything but blanks beyond six characters matches no catalogue entry.
bool to_field6(std::string_view s, Name6& out) {
    out.fill(' ');
    for (std::size_t c = 0; c < s.size(); ++c) {
        if (c < 6) out[c] = s[c];
        else if (s[c] != ' ') return false;
    }
    return true;
}

// The name as written in the messages: its six-character field.
std::string field6(std::string_view s) {
    std::string r(s.substr(0, std::min<std::size_t>(s.size(), 6)));
    r.resize(6, ' ');
    return r;
}

bool is_blank(std::string_view s) {
    return s.find_first_not_of(' ') == std::string_view::npos;
}

bool valid_class(int k) { return k >= 1 && k <= NCLASS; }

// An integer field as narrow as the number allows, at least w wide (the messages give the
// diagram number one digit, which diagram 10 would overflow).
std::string I_atleast(long long v, int w) {
    const std::string plain = std::to_string(v);
    return runtime::I(v, std::max<int>(w, static_cast<int>(plain.size())));
}

// The start of the second line of the part-engine messages: fifteen blanks and a quote.
constexpr std::string_view INDENT_QUOTE = "               \"";
static_assert(INDENT_QUOTE.size() == 16);

}  // namespace

std::string_view NAMEG(int I) {
    if (I < 1 || I > NNAMEG) return BLANK6;
    const Name6& n = NAMES[static_cast<std::size_t>(I - 1)];
    return std::string_view(n.data(), n.size());
}

int catalogue_position(std::string_view name) {
    Name6 key;
    if (!to_field6(name, key) || is_blank(std::string_view(key.data(), 6))) return 0;
    for (int I = 0; I < NNAMEG; ++I)
        if (NAMES[static_cast<std::size_t>(I)] == key) return I + 1;
    return 0;
}

int catalogue_class(int I) {
    if (I < 1 || I > NNAMEG) return 0;
    if (I <= NPAIRPOS) return PAIR_CLASS[static_cast<std::size_t>((I - 1) % NPAIRQ)];
    return GLOBAL_CLASS[static_cast<std::size_t>(I - NPAIRPOS - 1)];
}

int part_engine(int I) {
    if (I < 1 || I > NPAIRPOS) return 0;
    return (I - 1) / NPAIRQ + 1;
}

std::string quantity_description(int I) {
    if (I < 1 || I > NNAMEG) return {};
    if (I > NPAIRPOS) return std::string(GLOBAL_WHAT[static_cast<std::size_t>(I - NPAIRPOS - 1)]);
    const char d = static_cast<char>('0' + part_engine(I));
    return std::string{'H', d, '-', 'K', d, ':', ' '} + std::string(BASE_WHAT[static_cast<std::size_t>((I - 1) % NPAIRQ)]);
}

std::string_view unit_text(int k) {
    return valid_class(k) ? CLASS_TABLE[static_cast<std::size_t>(k - 1)].unit : std::string_view{};
}
std::string_view first_keyword(int k) {
    return valid_class(k) ? CLASS_TABLE[static_cast<std::size_t>(k - 1)].first : std::string_view{};
}
std::string_view delta_keyword(int k) {
    return valid_class(k) ? CLASS_TABLE[static_cast<std::size_t>(k - 1)].delta : std::string_view{};
}

float first_value(const DiagramState& d, int k) {
    return valid_class(k) ? d.FIRST_V[static_cast<std::size_t>(k - 1)] : 0.0f;
}
float delta_value(const DiagramState& d, int k) {
    return valid_class(k) ? d.DELTA_V[static_cast<std::size_t>(k - 1)] : 0.0f;
}
void store_scale(DiagramState& d, int k, float first, float delta) {
    if (!valid_class(k)) return;
    d.FIRST_V[static_cast<std::size_t>(k - 1)] = first;
    d.DELTA_V[static_cast<std::size_t>(k - 1)] = delta;
}
void init_scale_table(DiagramState& d) {
    for (std::size_t k = 0; k < static_cast<std::size_t>(NCLASS); ++k) {
        d.FIRST_V[k] = d.scaling[2 * k];
        d.DELTA_V[k] = d.scaling[2 * k + 1];
    }
}

void set_series_scale(Series& s, int N, float first, float delta) {
    if (N < 0 || N > NPLOTMAX) return;
    s[static_cast<std::size_t>(N)] = first;
    s[static_cast<std::size_t>(N) + 1] = delta;
}

bool available(int I, int NZYL) {
    if (I < 1 || I > NNAMEG) return false;
    if (I > NPAIRPOS) return true;
    const int p = part_engine(I);
    if (p <= NZYL) return true;
    if (p != 2) return false;
    const std::string_view name = NAMEG(I);
    return std::find(PART2_ALWAYS.begin(), PART2_ALWAYS.end(), name) != PART2_ALWAYS.end();
}

void resolve_names(runtime::Units& u, DiagramState& d, int& NFAIL) {
    d.nsource = 0;
    d.NPLOT = 0;
    for (auto& def : d.def) {
        def.abscissa_pos = 0;
        def.abscissa_class = 0;
        def.IO.fill(0);
        def.ID.fill(0);
    }
    const int n = std::clamp(d.IIFREI, 0, MAXDIA);
    for (int ND = 1; ND <= n; ++ND) {
        DiagramDefinition& def = d.def[static_cast<std::size_t>(ND - 1)];
        if (def.FREI != 1) continue;
        def.abscissa_pos = catalogue_position(def.abscissa);
        def.abscissa_class = catalogue_class(def.abscissa_pos);
        for (std::size_t J = 0; J < static_cast<std::size_t>(MAXORD); ++J) {
            def.IO[J] = catalogue_position(def.ordinate[J]);
            def.ID[J] = catalogue_class(def.IO[J]);
        }
        const std::string xname = field6(def.abscissa);
        if (def.abscissa_pos == 0) {
            for (runtime::Unit* un : {&u.u6, &u.u9}) {
                un->line(" ======>> ERROR:");
                un->free("ABSZISSA NAME FOR THE ", ND, ". DIAGRAM NOT FOUND. NO PLOT FOR: ", "\"",
                         xname, "\"");
            }
            NFAIL = 770;
            def.FREI = 0;
        }
        if (u.level(4)) {
            std::array<std::string, MAXORD> o;
            for (std::size_t J = 0; J < o.size(); ++J) o[J] = field6(def.ordinate[J]);
            const auto& IO = def.IO;
            u.u9.free(" ABSZISSE      IM", ND, ". DIAGRAMM: ", xname);
            u.u9.free(" ABSZISSEN NR. IM", ND, ". DIAGRAMM: ", def.abscissa_pos);
            u.u9.free(" ORDINATEN     IM", ND, ". DIAGRAMM: ", o[0], " ", o[1], " ", o[2], " ", o[3],
                      " ", o[4], " ", o[5], " ", o[6], " ", o[7]);
            u.u9.free(" ORDINATEN NR. IM", ND, ". DIAGRAMM: ", IO[0], IO[1], IO[2], IO[3], IO[4],
                      IO[5], IO[6], IO[7]);
        }
        if (def.FREI != 1) continue;
        // Where each series of this diagram takes its value at a plot instant.
        auto add = [&](int slot, int I) {
            if (I < 1 || I > NNAMEG) return;
            SeriesSource& s = d.source[static_cast<std::size_t>(d.nsource++)];
            s.dia = ND - 1;
            s.slot = slot;
            if (I <= NPAIRPOS) {
                s.pair = (I - 1) / NPAIRQ;
                s.field = (I - 1) % NPAIRQ;
            } else {
                s.pair = -1;
                s.field = I - NPAIRPOS - 1;
            }
        };
        add(0, def.abscissa_pos);
        for (int J = 1; J <= MAXORD; ++J) add(J, def.IO[static_cast<std::size_t>(J - 1)]);
    }
}

bool check_abscissa(runtime::Units& u, DiagramState& d, int ND, int& NFAIL, int NZYL) {
    if (ND < 1 || ND > MAXDIA) return false;
    const DiagramDefinition& def = d.def[static_cast<std::size_t>(ND - 1)];
    const int I = def.abscissa_pos;
    if (I < 1 || I > NNAMEG) return false;
    if (available(I, NZYL)) return true;
    const std::string_view name = NAMEG(I);
    const int p = part_engine(I);
    for (runtime::Unit* un : {&u.u6, &u.u9}) {
        un->free("=====>> ERROR: THE ABSZISSA: ", "\"", name, "\"", " IN THE ", ND,
                 ". DIAGRAM IS NOT AVAILABLE.");
        un->free(INDENT_QUOTE, name, "\"", " BELONGS TO THE ", p,
                 ". PART-ENGINE. CALCULATION IN THIS RUN UP TO ", "\"NZYL\"", "=", NZYL,
                 " PART-ENGINE. THE ", ND, ". DIAGRAM IS CANCELED");
    }
    NFAIL = 777;
    return false;
}

int check_ordinates(runtime::Units& u, DiagramState& d, int ND, int& NFAIL, int NZYL) {
    if (ND < 1 || ND > MAXDIA) return 0;
    DiagramDefinition& def = d.def[static_cast<std::size_t>(ND - 1)];
    const int nord = std::clamp(def.NORD, 0, MAXORD);
    int usable = 0;
    for (int J = 1; J <= nord; ++J) {
        const std::size_t j = static_cast<std::size_t>(J - 1);
        const int I = def.IO[j];
        if (I == 0) {
            if (is_blank(def.ordinate[j])) continue;
            const std::string name = field6(def.ordinate[j]);
            const std::string quoted = "\"" + name + "\"";
            const std::string what = runtime::I(J, 2) + ". ORDINATE :" + quoted +
                                     " NOT AVAILABLE: NO PLOT FOR " + quoted + " IN THE " +
                                     I_atleast(ND, 2) + ". DIAGRAM";
            for (runtime::Unit* un : {&u.u6, &u.u9}) {
                un->line(" ========>> ERROR:");
                un->record(" INVALID NAME FOR ORDINATE: ", quoted, " IN THE ", I_atleast(ND, 1),
                           ". DIAGRAM");
            }
            u.u6.line(what);
            u.u9.record(what, ";  IO / ID(", runtime::I(J, 1), ",", I_atleast(ND, 2), ") =",
                        runtime::I(I, 4), " / ", runtime::I(def.ID[j], 3));
            NFAIL += 1;
            continue;
        }
        if (!available(I, NZYL)) {
            const std::string_view name = NAMEG(I);
            const int p = part_engine(I);
            for (runtime::Unit* un : {&u.u6, &u.u9}) {
                un->free("=====>> ERROR: THE ORDINATE: ", "\"", name, "\"", " IN THE ", ND,
                         ". DIAGRAM IS NOT AVAILABLE.");
                un->free(INDENT_QUOTE, name, "\"", " BELONGS TO THE ", p,
                         ". PART-ENGINE. CALCULATION IN THIS RUN UP TO ", "\"NZYL\"", "=", NZYL,
                         " PART-ENGINE. ", "\"", name, "\"", " IS NOT PLOTTED !");
            }
            def.IO[j] = 0;
            def.ID[j] = 0;
            NFAIL += 1;
            continue;
        }
        ++usable;
    }
    return usable;
}

bool store_plot_point(DiagramState& d, std::span<const simulation::PairRecord, NPARTS> pair, int NPLOT) {
    if (NPLOT < 1 || NPLOT > NPLOTMAX) return false;
    const std::size_t at = static_cast<std::size_t>(NPLOT - 1);
    const int n = std::clamp(d.nsource, 0, static_cast<int>(d.source.size()));
    for (int i = 0; i < n; ++i) {
        const SeriesSource& s = d.source[static_cast<std::size_t>(i)];
        const double v = s.pair >= 0 ? pair[static_cast<std::size_t>(s.pair)][static_cast<std::size_t>(s.field)]
                                     : d.G[static_cast<std::size_t>(s.field)];
        // Beyond the single-precision range a value becomes an infinity, as the hardware's
        // conversion would make it, without leaving it to undefined behaviour.
        float f;
        if (v > FLT_MAX) f = std::numeric_limits<float>::infinity();
        else if (v < -FLT_MAX) f = -std::numeric_limits<float>::infinity();
        else f = static_cast<float>(v);
        DiagramSeries& ds = d.series[static_cast<std::size_t>(s.dia)];
        Series& out = s.slot == 0 ? ds.x : ds.y[static_cast<std::size_t>(s.slot - 1)];
        out[at] = f;
    }
    d.NPLOT = NPLOT;
    return true;
}

}  // namespace korvex::diagrams
