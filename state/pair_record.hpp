#pragma once
// The cylinder-pair record. Its 139 plottable fields stand in the order of the per-pair block
// of the catalogue of plottable quantities, so catalogue position 139*(p-1)+k addresses field
// k-1 of pair p's record directly: rec[PairField::VE].
#include <array>
#include <cstddef>

namespace korvex::simulation {

struct PairField {
    enum : std::size_t {
        HE = 0, VE = 1, DVE = 2, ME = 3, DME = 4, HC = 5,
        VC = 6, DVC = 7, MC = 8, DMC = 9, MR = 10, DMR = 11,
        VG = 12, DVG = 13, P = 14, T1 = 15, DAE = 16, DAC = 17,
        DA = 18, DPS = 19, DUE = 20, DUC = 21, DURE = 22, DURC = 23,
        DUREC = 24, DUR = 25, DQZU = 26, DQAB = 27, DQGN = 28, DQNUZ = 29,
        DQNZD = 30, DQDAF = 31, VGDPS = 32, PS = 33, PGES = 34, DS1 = 35,
        DS3 = 36, DS2 = 37, DQD = 38, T3 = 39, T2 = 40, V = 41,
        QZU = 42, QAB = 43, A = 44, QGN = 45, QTS1 = 46, QTS3 = 47,
        QTS2 = 48, QURE = 49, QURC = 50, QUREC = 51, QUR = 52, QNUZD = 53,
        QDAMF = 54, WORK = 55, S1 = 56, S3 = 57, S2 = 58, SDM = 59,
        SDD = 60, BETA = 61, DSD = 62, QREZU = 63, DREZU = 64, QRCAB = 65,
        DRCAB = 66, QH2OE = 67, QH2OC = 68, DQH2O = 69, DT2 = 70, TE = 71,
        TC = 72, QUTR = 73, QUE = 74, QUC = 75, AE = 76, AC = 77,
        QUTE = 78, QUME = 79, QUTC = 80, QUMC = 81, QNUZG = 82, DTE = 83,
        DTC = 84, DTR = 85, QUMR = 86, DUMR = 87, DUTR = 88, DUME = 89,
        DUTE = 90, DUMC = 91, DUTC = 92, DREH = 93, TR = 94, DPGES = 95,
        GDE = 96, GDC = 97, GDR = 98, DP = 99, VGDP = 100, PFE = 101,
        PFK = 102, TEMTC = 103, DVLQH = 104, DVLQC = 105, DVLHM = 106, DVLCM = 107,
        DMY1 = 108, DMY2 = 109, DMY3 = 110, DMY4 = 111, TW2E = 112, TW2C = 113,
        QGASE = 114, QGASC = 115, QWE = 116, QWC = 117, QLUFE = 118, QLUFC = 119,
        DQGSE = 120, DQGSC = 121, DQWE = 122, DQWC = 123, ALPAE = 124, ALPAC = 125,
        DQLUE = 126, DQLUC = 127, XNUE = 128, XNUC = 129, RENOL = 130, RCNOL = 131,
        TREGE = 132, TREGC = 133, TGASE = 134, TGASC = 135, DMTE = 136, H2OME = 137,
        VDR = 138,
        COUNT = 139
    };
};

// The regenerator's logarithmic means, the whole regenerator's and its three sections' (hot
// end first), each with the end temperatures TER, TCR it was taken for. Where the ends stay
// from one step to the next (spaces that keep their temperatures, fixed ends) the step takes
// the kept means instead of taking the logarithms again.
struct RegeneratorMeans {
    struct Ends {
        bool set = false;
        double TER = 0.0, TCR = 0.0;
    };
    Ends whole_ends, section_ends;
    double whole = 0.0;
    double hot = 0.0, middle = 0.0, cold = 0.0;
    double reciprocals = 0.0;   // 1/hot + 1/middle + 1/cold
};

// The regenerator of a step (ends, mean temperature, reduced volume per T0) with the space
// temperatures it was formed from. Within a run it follows from those alone, the regenerator
// data of the run being fixed, unless the temperature mode gives the mean itself (`set` false
// then).
struct KeptRegenerator {
    bool set = false;
    double TE = 0.0, TC = 0.0;
    double TER = 0.0, TCR = 0.0, TR = 0.0, VRRED = 0.0;
};

struct PairRecord {
    std::array<double, PairField::COUNT> f{};
    double& operator[](std::size_t k) { return f[k]; }
    double operator[](std::size_t k) const { return f[k]; }

    // State of the pair that is not plottable. The regenerator end temperatures TER and TCR
    // live in the plottable fields TREGE and TREGC, the mean gas temperature TM in T1, the
    // reduced volume VRED in V and the densities RHOE, RHOC, RHOR in GDE, GDC, GDR.

    // Previous-step values, from which COMP forms its difference quotients. The
    // pre-calculation sets them before the first step (VV is the previous VRED).
    double VEV = 0.0, VCV = 0.0, VGV = 0.0, VV = 0.0;
    double PV = 0.0, PSV = 0.0, PGESV = 0.0;
    double MEV = 0.0, MCV = 0.0, MRV = 0.0;
    double TEV = 0.0, TCV = 0.0, TRV = 0.0;
    double TSV = 0.0;            // previous characteristic temperature T2

    // Regenerator of the step: reduced volume (cm3/K, without the factor T0), its rate, and
    // the mean temperatures of its three sections, hot end first.
    double VRRED = 0.0, DVRED = 0.0;
    double TRA = 0.0, TRB = 0.0, TRC = 0.0;
    RegeneratorMeans means{};
    // The last step's regenerator: while the spaces keep their temperatures bit for bit (mode
    // ISO without nozzles, fixed ends) the step takes it as it stands.
    KeptRegenerator regenerator{};

    // Vapour component. VAPV tells that the previous-step vapour mass, heat contents and
    // evaporation heats below are set, DQDV_SET and DSDV_SET the same of the heat content DQDV
    // and entropy DSDV of the deck's definitions; a value not set is taken from the first
    // vapour step itself, so that no rate jumps from a zero start.
    bool VAPV = false, DQDV_SET = false, DSDV_SET = false;
    double SDMV = 0.0, DQDV = 0.0, DSDV = 0.0;
    double H2DEV = 0.0, H2DCV = 0.0, H2DRV = 0.0;   // vapour heat contents of E, C, R
    double RDMEV = 0.0, RDMCV = 0.0, RDMRV = 0.0;   // evaporation heats of E, C, R
    // Saturation pressures of the spaces and sections, the reduced vapour volume of the
    // regenerator, the sum of the five space vapour masses and the vapour p dV rate.
    double PSTE = 0.0, PSTC = 0.0, PSR1 = 0.0, PSR2 = 0.0, PSR3 = 0.0;
    double VPTRG = 0.0, SDMSUM = 0.0, DPSVEC = 0.0;

    // Liquid volumes carried past the hot and cold side since the start of the run, litre.
    double VLQH = 0.0, VLQC = 0.0;

    // The step of the last step and its reciprocal (0 for no step), kept while the step stays:
    // all steps are the nominal one but those before a half or full revolution.
    double DT_KEPT = 0.0, RDT_KEPT = 0.0;
};

}  // namespace korvex::simulation
