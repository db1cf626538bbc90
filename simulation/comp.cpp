// COMP: state equations of one cylinder pair for one time step.
#include "simulation/comp.hpp"

#include <bit>
#include <cmath>
#include <cstdint>

#include "properties/pdampf.hpp"
#include "properties/steam_state.hpp"
#include "properties/tetctr.hpp"
#include "runtime/numeric.hpp"
#include "runtime/units.hpp"
#include "simulation/bereg.hpp"
#include "simulation/gas_transport.hpp"
#include "simulation/tdifdf.hpp"

namespace korvex::simulation {

using runtime::quot;

namespace {

using F = PairField;

// 273.15 K as the steam routines hold it (single precision).
constexpr double T273 = 273.1499938964844;

// A space temperature must stay positive: the reduced volume divides by it. A mode that
// yields no usable value leaves the space at its previous temperature.
double usable_temperature(double T, double fallback) {
    if (std::isfinite(T) && T > 0.0) return T;
    if (std::isfinite(fallback) && fallback > 0.0) return fallback;
    return 1.0;
}

// Saturated vapour state of one space, as the steam routine returns it.
struct Vapour {
    double PS = 0.0, MASSE = 0.0, T = 0.0, V = 0.0;
    double R = 0.0, CPD = 0.0, CPW = 0.0, SD = 0.0, SW = 0.0, HD = 0.0;
    // Heat content of the vapour above liquid at 0 degrees C, and its heat of evaporation.
    double h2d() const { return MASSE * (HD - CPW * (T - T273)); }
    double rdm() const { return MASSE * R; }
};

// Vapour at temperature T in volume V (temperature given).
Vapour vapour_at(double T, double V, int IP, runtime::Units& u, properties::SteamState& st,
                 int& NFAIL) {
    Vapour v;
    v.T = T;
    v.V = V;
    properties::PDAMPF(st, u, NFAIL, v.PS, v.MASSE, v.T, v.V, v.R, v.CPD, v.CPW, v.SD, v.SW, v.HD,
                       IP);
    return v;
}

// The rates that COMP computes. Those that a branch not taken would leave at the value of an
// earlier step are cleared at the start of every step: without the vapour component the seven
// that only some branches write (every step writes the others), with it all of them, since a
// property error may end the step before it has written them.
constexpr std::size_t RATE_FIELDS[] = {
    F::DAE,   F::DAC,   F::DA,    F::DPS,   F::DUE,   F::DUC,   F::DURE,  F::DURC,
    F::DUREC, F::DUR,   F::DQZU,  F::DQAB,  F::DQGN,  F::DQNUZ, F::DQNZD, F::DQDAF,
    F::VGDPS, F::DS1,   F::DS3,   F::DS2,   F::DREZU, F::DRCAB, F::DQH2O, F::DT2,
    F::DUMR,  F::DUTR,  F::DUME,  F::DUTE,  F::DUMC,  F::DUTC,  F::DPGES, F::DP,
    F::VGDP,  F::DVLQH, F::DVLQC,
};

// Where the steam routines of a step report: the listing units, the steam state and the job's
// error number.
struct Props {
    runtime::Units& u;
    properties::SteamState& st;
    int& NFAIL;
};

// The vapour of one step: the saturated vapour of the five spaces (E, C and the three
// regenerator sections) and of the whole gas, and what the deck's definitions are made of.
struct VapourTerms {
    double TVE = 0.0, TVC = 0.0;   // temperatures the cylinders' vapour is taken at
    Vapour e, c, r1, r2, r3;       // the spaces
    Vapour t;                      // the whole vapour at the partial pressure in VG
    // Per space: entropy, heat content and evaporation heat of its vapour, and their rates.
    double S2E = 0.0, S2C = 0.0, S2R = 0.0, S2RTR = 0.0;
    double H2DE = 0.0, H2DC = 0.0, H2DR = 0.0;
    double RDME = 0.0, RDMC = 0.0, RDMR = 0.0;
    double DH2DE = 0.0, DH2DC = 0.0, DH2DR = 0.0;
    double DRDME = 0.0, DRDMC = 0.0, DRDMR = 0.0;
    double DQD = 0.0, DSD = 0.0;   // heat content and entropy by the deck's definitions
};

// Saturated vapour in each space at its temperature: with nozzles the vapour of a cylinder is
// taken at the liquid's inlet temperature. False when a property routine raised NFAIL above
// 880.
static inline bool space_vapours(PairRecord& R, const CompCommon& C, const CompPair& PP,
                                 const CompStep& S, Props& pr, VapourTerms& w) {
    w.TVE = C.DUESEN ? PP.TW1E : S.TE;
    w.TVC = C.DUESEN ? PP.TW1C : S.TC;
    w.e = vapour_at(w.TVE, S.VE, C.IP2, pr.u, pr.st, pr.NFAIL);
    w.c = vapour_at(w.TVC, S.VC, C.IP2, pr.u, pr.st, pr.NFAIL);
    w.r1 = vapour_at(R.TRA, C.VR1003, C.IP2, pr.u, pr.st, pr.NFAIL);
    w.r2 = vapour_at(R.TRB, C.VR1003, C.IP2, pr.u, pr.st, pr.NFAIL);
    w.r3 = vapour_at(R.TRC, C.VR1003, C.IP2, pr.u, pr.st, pr.NFAIL);
    if (pr.NFAIL > 880) return false;

    R.PSTE = w.e.PS;
    R.PSTC = w.c.PS;
    R.PSR1 = w.r1.PS;
    R.PSR2 = w.r2.PS;
    R.PSR3 = w.r3.PS;
    R.SDMSUM = w.e.MASSE + w.c.MASSE + w.r1.MASSE + w.r2.MASSE + w.r3.MASSE;
    R.VPTRG = C.VR1003 * (quot(w.r1.PS, R.TRA) + quot(w.r2.PS, R.TRB) + quot(w.r3.PS, R.TRC)) *
              C.T0;
    return true;
}

// Partial pressure of the vapour: each space's vapour reduced to T0 like the gas; its rate
// and p dV terms.
static inline void vapour_pressure(PairRecord& R, const CompCommon& C, const VapourTerms& w,
                                   const CompStep& S) {
    const double PS = quot(quot(w.c.PS * S.VC * C.T0, w.TVC) + R.VPTRG +
                               quot(w.e.PS * S.VE * C.T0, w.TVE),
                           S.VRED);
    R[F::PS] = PS;
    R[F::DPS] = (PS - R.PSV) * S.rdt;
    R[F::VGDPS] = S.VGM * R[F::DPS] / 10.0;
    R.DPSVEC = (PS + R.PSV) * R[F::DVG] / 20.0;
}

// The whole vapour at the partial pressure in the total volume. False on a property error.
static inline bool whole_vapour(PairRecord& R, const CompCommon& C, const CompStep& S, Props& pr,
                                Vapour& t) {
    t.PS = R[F::PS];
    t.V = S.VG;
    properties::PDAMPF(pr.st, pr.u, pr.NFAIL, t.PS, t.MASSE, t.T, t.V, t.R, t.CPD, t.CPW, t.SD,
                       t.SW, t.HD, C.IP2);
    if (pr.NFAIL > 880) return false;
    R[F::SDM] = t.MASSE;
    R[F::T3] = t.T;
    R[F::SDD] = quot(1000.0 * t.MASSE, S.VG);
    return true;
}

// Per space: entropy, heat content and evaporation heat of its vapour, and the rates of the
// last two. The first vapour step of a run without previous values takes its own.
static inline void vapour_contents(PairRecord& R, const CompStep& S, VapourTerms& w) {
    const Vapour &e = w.e, &c = w.c, &r1 = w.r1, &r2 = w.r2, &r3 = w.r3;
    w.S2E = e.MASSE * e.SD;
    w.S2C = c.MASSE * c.SD;
    w.S2R = r1.MASSE * r1.SD + r2.MASSE * r2.SD + r3.MASSE * r3.SD;
    w.S2RTR = r1.MASSE * r1.SD * R.TRA + r2.MASSE * r2.SD * R.TRB + r3.MASSE * r3.SD * R.TRC;
    w.H2DE = e.h2d();
    w.H2DC = c.h2d();
    w.H2DR = r1.h2d() + r2.h2d() + r3.h2d();
    w.RDME = e.rdm();
    w.RDMC = c.rdm();
    w.RDMR = r1.rdm() + r2.rdm() + r3.rdm();

    if (!R.VAPV) {
        R.H2DEV = w.H2DE; R.H2DCV = w.H2DC; R.H2DRV = w.H2DR;
        R.RDMEV = w.RDME; R.RDMCV = w.RDMC; R.RDMRV = w.RDMR;
        R.SDMV = w.t.MASSE;
        R.VAPV = true;
    }
    const double rdt = S.rdt;
    w.DH2DE = (w.H2DE - R.H2DEV) * rdt;
    w.DH2DC = (w.H2DC - R.H2DCV) * rdt;
    w.DH2DR = (w.H2DR - R.H2DRV) * rdt;
    w.DRDME = (w.RDME - R.RDMEV) * rdt;
    w.DRDMC = (w.RDMC - R.RDMCV) * rdt;
    w.DRDMR = (w.RDMR - R.RDMRV) * rdt;
}

// The vapour heat content DQD and entropy DSD by the deck's definitions.
static inline void vapour_content_definitions(const CompCommon& C, const CompStep& S,
                                              VapourTerms& w) {
    const Vapour& t = w.t;
    const double SDM = t.MASSE, T3 = t.T, RDAM3 = t.R;
    const double CPW3 = t.CPW, SD3 = t.SD, SW3 = t.SW, H2D3 = t.HD;
    const double TE = S.TE, TC = S.TC, TR = S.TR;
    double DQD = 0.0;
    switch (C.DQD) {
        case 1: DQD = w.S2RTR + w.S2E * TE + w.S2C * TC; break;
        case 2: DQD = SDM * (SD3 - SW3) * T3; break;
        case 3: DQD = w.H2DE + w.H2DC + w.H2DR; break;
        case 4: DQD = SDM * (H2D3 - CPW3 * (T3 - T273)); break;
        case 5: DQD = w.RDME + w.RDMC + w.RDMR; break;
        default: DQD = SDM * RDAM3; break;
    }
    double DSD = 0.0;
    switch (C.DSD) {
        case 1: DSD = w.S2R + w.S2E + w.S2C; break;
        case 2: DSD = SDM * (SD3 - SW3); break;
        case 3: DSD = quot(w.H2DE, TE) + quot(w.H2DC, TC) + quot(w.H2DR, TR); break;
        case 4: DSD = quot(SDM * (H2D3 - CPW3 * (T3 - T273)), T3); break;
        case 5: DSD = quot(w.RDME + w.RDMC + w.RDMR, T3); break;
        case 7: DSD = quot(w.H2DE + w.H2DC + w.H2DR, T3); break;
        default: DSD = quot(DQD, T3); break;
    }
    w.DQD = DQD;
    w.DSD = DSD;
}

// The vapour entropy rate by the deck's definition at the space temperatures TE, TC, TR;
// DQDAMF is the heat rate, where the definition takes it. (Called twice, it takes the
// temperatures as values: the step's values stay out of its reach.)
static inline double vapour_entropy_rate(const PairRecord& R, const CompCommon& C,
                                         const VapourTerms& w, double TE, double TC, double TR,
                                         double DQDAMF) {
    const double T3 = w.t.T;
    switch (C.DS3) {
        case 1: return w.DSD - R.DSDV;
        case 3: return quot(w.DH2DE, TE) + quot(w.DH2DC, TC) + quot(w.DH2DR, TR);
        case 4: return quot(w.DH2DE + w.DH2DC + w.DH2DR - R[F::VGDPS], T3);
        case 5: return quot(w.DRDME, TE) + quot(w.DRDMC, TC) + quot(w.DRDMR, TR);
        case 6: return quot(w.DRDME + w.DRDMC + w.DRDMR + R.DPSVEC, T3);
        default: return quot(DQDAMF, T3);
    }
}

// The rate of the heat content DQDAMF and the entropy rate DS3, into S. The definition by the
// entropy rate (1) needs that rate first, and cannot be combined with the entropy rate
// defined by this heat rate: that pair is taken as the heat-content difference.
static inline void vapour_heat_rate(const PairRecord& R, const CompCommon& C, CompStep& S,
                                    const VapourTerms& w) {
    const double rdt = S.rdt, VGDPS = R[F::VGDPS], DPSVEC = R.DPSVEC;
    int dqdampf = (C.DQDAMPF >= 1 && C.DQDAMPF <= 6) ? C.DQDAMPF : 2;
    const bool ds3_by_rate = !(C.DS3 >= 1 && C.DS3 <= 6) || C.DS3 == 2;
    if (dqdampf == 1 && ds3_by_rate) dqdampf = 2;
    double DQDAMF = 0.0, DS3 = 0.0;
    if (dqdampf == 1) {
        DS3 = vapour_entropy_rate(R, C, w, S.TE, S.TC, S.TR, 0.0);
        DQDAMF = DS3 * w.t.T;
    } else {
        switch (dqdampf) {
            case 3: DQDAMF = (w.DQD - R.DQDV) * rdt + DPSVEC; break;
            case 4: DQDAMF = w.DH2DE + w.DH2DC + w.DH2DR - VGDPS; break;
            case 5: DQDAMF = w.DRDME + w.DRDMC + w.DRDMR + DPSVEC; break;
            case 6: DQDAMF = w.DRDME + w.DRDMC + w.DRDMR - VGDPS; break;
            default: DQDAMF = (w.DQD - R.DQDV) * rdt - VGDPS; break;
        }
        DS3 = vapour_entropy_rate(R, C, w, S.TE, S.TC, S.TR, DQDAMF);
    }
    S.DQDAMF = DQDAMF;
    S.DS3 = DS3;
}

// With nozzles the vapour that forms or condenses carries heat between the two liquid
// temperatures: into the hot side when positive, else out of the cold side.
static inline void nozzle_vapour_heat(PairRecord& R, const CompPair& PP, CompStep& S,
                                      const VapourTerms& w) {
    const double DQH2O =
        (PP.TW1E - PP.TW1C) * (w.t.MASSE - R.SDMV) * S.rdt * (w.e.CPW + w.c.CPW) / 2.0;
    R[F::DQH2O] = DQH2O;
    if (DQH2O > 0.0) S.DQH2OE = DQH2O;
    else S.DQH2OC = DQH2O;
}

// The vapour values of this step are the previous ones of the next.
static inline void keep_vapour(PairRecord& R, const VapourTerms& w) {
    R.H2DEV = w.H2DE; R.H2DCV = w.H2DC; R.H2DRV = w.H2DR;
    R.RDMEV = w.RDME; R.RDMCV = w.RDMC; R.RDMRV = w.RDMR;
    R.SDMV = w.t.MASSE;
    R.DQDV = w.DQD;
    R.DSDV = w.DSD;
}

// Saturated vapour in the three spaces of the pair, its partial pressure and the selected
// definitions of its heat content, entropy and their rates; the heat balance's terms go into
// S. Returns false when a property routine raised NFAIL above 880.
static inline bool vapour_terms(PairRecord& R, const CompCommon& C, const CompPair& PP,
                                CompStep& S, Props& pr) {
    VapourTerms w;
    if (!space_vapours(R, C, PP, S, pr, w)) return false;
    vapour_pressure(R, C, w, S);
    if (!whole_vapour(R, C, S, pr, w.t)) return false;
    vapour_contents(R, S, w);
    vapour_content_definitions(C, S, w);
    if (!R.DQDV_SET) {
        R.DQDV = w.DQD;
        R.DQDV_SET = true;
    }
    if (!R.DSDV_SET) {
        R.DSDV = w.DSD;
        R.DSDV_SET = true;
    }
    vapour_heat_rate(R, C, S, w);
    R[F::DQD] = w.DQD;
    R[F::DSD] = w.DSD;
    R[F::DQDAF] = S.DQDAMF;
    R[F::DS3] = S.DS3;
    if (C.DUESEN) nozzle_vapour_heat(R, PP, S, w);
    keep_vapour(R, w);
    S.VWORK = R.DPSVEC;
    return true;
}

}  // namespace

void take_vorcom(PairRecord& R, const properties::VorcomArgs& a, const CompCommon& C) {
    R.VEV = a.VE1V;
    R.VCV = a.VC1V;
    R.VGV = a.VG1V;
    R.VV = a.V1V;
    R.PV = a.P1V;
    R.PSV = a.PS1V;
    R.PGESV = a.PGES1V;
    R.MEV = a.ME1V;
    R.MCV = a.MC1V;
    R.MRV = a.MR1V;
    R.TEV = a.TE1V;
    R.TCV = a.TC1V;
    R.TRV = a.TR - a.DTR * a.DELT;
    R.TSV = a.T11V;
    // The vapour one step before the start, at the space temperatures. With nozzles the steps
    // take the cylinders' vapour at the liquid temperatures instead; there the start state
    // does not match, and the first step starts from its own values.
    R.VAPV = C.FDAMPF && a.FDAMPF != 0 && !C.DUESEN;
    R.DQDV_SET = R.DSDV_SET = false;
    if (!R.VAPV) return;
    R.SDMV = a.SDM1V;
    R.H2DEV = a.QHE;
    R.H2DCV = a.QHC;
    R.H2DRV = a.QHR;
    R.RDMEV = a.QRE;
    R.RDMCV = a.QRC;
    R.RDMRV = a.QRR;
    // Heat content and entropy by the deck's definitions, where the start state has what they
    // are made of: the sums of the spaces' heat contents or evaporation heats, and the whole
    // vapour's evaporation heat with its temperature.
    const double H2D = a.QHE + a.QHC + a.QHR, RDM = a.QRE + a.QRC + a.QRR;
    switch (C.DQD) {
        case 1: case 2: case 4: break;
        case 3: R.DQDV = H2D; R.DQDV_SET = true; break;
        case 5: R.DQDV = RDM; R.DQDV_SET = true; break;
        default: R.DQDV = a.DQD1V; R.DQDV_SET = true; break;
    }
    switch (C.DSD) {
        case 1: case 2: case 3: case 4: break;
        case 5: R.DSDV = quot(RDM, a.T31V); R.DSDV_SET = true; break;
        case 7: R.DSDV = quot(H2D, a.T31V); R.DSDV_SET = true; break;
        default:
            R.DSDV = quot(R.DQDV, a.T31V);
            R.DSDV_SET = R.DQDV_SET;
            break;
    }
}

double log_mean(double A, double B) {
    if (A > 0.0 && B > 0.0 && A != B) {
        const double m = (A - B) / std::log(A / B);
        if (std::isfinite(m) && m > 0.0) return m;
    }
    return (A + B) / 2.0;
}

namespace {

// Space temperatures from the heat exchange with the injected liquid: the gas transport
// properties of both spaces at the previous state, the liquid heat capacity flows, then BEREG.
// False when a steam-property error ended the step.
bool injection_temperatures(PairRecord& R, const CompCommon& C, const CompPair& PP,
                            Injection& INJ, double TIME, double DT, double rdt, double& TE,
                            double& TC, runtime::Units& units, properties::SteamState& steam,
                            int& NFAIL) {
    BeregArgs a;
    a.N = PP.N;
    a.DELT = DT;
    a.RDT = rdt;
    a.TIME = TIME;
    a.CANGLE = PP.CANGLE;
    a.HE = R[F::HE];
    a.HC = R[F::HC];
    a.VE = R[F::VE];
    a.VC = R[F::VC];
    a.AH = C.AH;
    a.AK = C.AK;
    a.PV = R.PV;
    a.TEV = R.TEV;
    a.TCV = R.TCV;
    a.MEV = R.MEV;
    a.MCV = R.MCV;
    // This step's mass rates follow from the temperatures being computed: the balance takes
    // those of the step before.
    a.DME = R[F::DME];
    a.DMC = R[F::DMC];
    a.DVE = R[F::DVE];
    a.DVC = R[F::DVC];
    a.CV = C.CV;
    a.TW1E = PP.TW1E;
    a.TW1C = PP.TW1C;
    const GasTransport ge = gas_transport(INJ.C.GAS, R.TEV, R.PV, INJ.C.RS);
    const GasTransport gc = gas_transport(INJ.C.GAS, R.TCV, R.PV, INJ.C.RS);
    a.LAMBDAE = ge.LAMBDA;
    a.NUE = ge.NU;
    a.LAMBDAC = gc.LAMBDA;
    a.NUC = gc.NU;
    if (!liquid_flows(INJ.C, PP.TW1E, PP.TW1C, a.VE, a.VC, units, steam, NFAIL, a.CLE, a.CLC))
        return false;
    return BEREG(R, INJ, a, TE, TC, units, steam, NFAIL);
}

// The step and its reciprocal, kept in the record while the step stays.
static inline void step_size(PairRecord& R, double TIME, double DELT_NEU, CompStep& S) {
    S.TIME = TIME;
    S.DT = DELT_NEU > 0.0 ? DELT_NEU : 0.0;
    if (S.DT != R.DT_KEPT) {
        R.DT_KEPT = S.DT;
        R.RDT_KEPT = S.DT > 0.0 ? 1.0 / S.DT : 0.0;
    }
    S.rdt = R.RDT_KEPT;
}

// 1. Geometry of the two spaces: lengths, volumes and their rates.
static inline void space_geometry(PairRecord& R, const CompCommon& C, const CompPair& PP,
                                  CompStep& S) {
    const double HE = PP.H00E + C.HRVE + PP.XE * PP.FE;
    const double HC = PP.H00C + C.HRVC + PP.XC * PP.FC;
    S.VE = C.AH * HE;
    S.VC = C.AK * HC;
    S.VG = S.VE + S.VC + C.VR;
    R[F::HE] = HE;
    R[F::HC] = HC;
    R[F::VE] = S.VE;
    R[F::VC] = S.VC;
    R[F::VG] = S.VG;
    R[F::DVE] = (S.VE - R.VEV) * S.rdt;
    R[F::DVC] = (S.VC - R.VCV) * S.rdt;
    R[F::DVG] = R[F::DVE] + R[F::DVC];
}

// Mode POLY: both spaces follow the ratio of the total gas volumes; with MODELL > 0 gas that
// enters a space mixes with the gas it finds there, which gives TR as well (tr_given).
static inline void polytropic_temperatures(PairRecord& R, const CompCommon& C, const CompStep& S,
                                           runtime::Units& units, double& TE, double& TC,
                                           double& TR, bool& tr_given) {
    const double r = quot(R.VGV, S.VG);
    if (r > 0.0) {
        const PolytropicFactors f = polytropic_factors(r, C.CONSTE1, C.CONSTC1);
        TE = R.TEV * f.E;
        TC = R.TCV * f.C;
    }
    if (C.MODELL > 0) {
        double TEE = TE, TCC = TC, TRR = TR, TRM = TR;
        properties::TETCTR(units, TE, TC, TRM, C.NTEMP, C.VERLUST, R.MEV, R.MCV, R.MRV, S.TIME,
                           S.DT, C.CV, R[F::DME], R[F::DMC], R[F::DMR], R.TEV, R.TCV, R.TRV, TEE,
                           TCC, TRR, C.DREI ? 1 : 0);
        TE = TEE;
        TC = TCC;
        TR = TRR;
        tr_given = true;
    }
}

// 2. Space temperatures by the temperature mode: polytropic, from the table, or from the heat
// exchange with the injected liquid; without (plain ISO, or the wire mesh's temperatures) the
// spaces keep their temperatures. False when a steam-property error ended the step. (The
// routines called take locals, so that the step's values stay out of their reach.)
static inline bool temperatures_by_mode(PairRecord& R, const CompCommon& C, const CompPair& PP,
                                        Injection* INJ, CompStep& S, Props& pr) {
    double TE = R[F::TE], TC = R[F::TC], TR = R[F::TR];
    bool tr_given = false;
    if (C.MODE_POLY) {
        polytropic_temperatures(R, C, S, pr.u, TE, TC, TR, tr_given);
    } else if (C.MODE_TEMPD) {
        TDIFDF(pr.u, TE, TC, C.TTE, C.TTC, C.TANGLE, PP.CANGLE, C.IP1, PP.N);
    } else if (C.MODE_ISO) {
        if (INJ != nullptr && INJ->C.active) {
            if (!injection_temperatures(R, C, PP, *INJ, S.TIME, S.DT, S.rdt, TE, TC, pr.u,
                                        pr.st, pr.NFAIL))
                return false;
        }
    }
    S.TE = usable_temperature(TE, R.TEV);
    S.TC = usable_temperature(TC, R.TCV);
    S.TR = TR;
    S.tr_given = tr_given;
    return true;
}

// 3. Regenerator ends and mean temperature, 4. reduced regenerator volume from its three
// sections of VR/3. Spaces that keep their temperatures keep the regenerator of the last step.
static inline void regenerator(PairRecord& R, const CompCommon& C, CompStep& S) {
    KeptRegenerator& K = R.regenerator;
    if (!S.tr_given && K.set && same_bits(K.TE, S.TE) && same_bits(K.TC, S.TC)) {
        S.TER = K.TER;
        S.TCR = K.TCR;
        S.TR = K.TR;
        S.VRRED = K.VRRED;
    } else {
        const double loss = C.VERLUST / 200.0 * (S.TE - S.TC);
        S.TER = S.TE - loss;
        S.TCR = S.TC + loss;
        if (C.MODELL >= 0) {
            if (!S.tr_given)
                S.TR = C.DREI ? regenerator_mean(R.means, S.TER, S.TCR) : (S.TER + S.TCR) / 2.0;
        } else {
            S.TER = C.TER_1234;
            S.TCR = C.TCR_1234;
            S.TR = regenerator_mean(R.means, S.TER, S.TCR);
        }
        S.TR = usable_temperature(S.TR, R.TRV);
        double Ta, Tb, Tc;
        const double reciprocals =
            regenerator_sections(C.DREI, S.TER, S.TCR, S.TR, R.means, Ta, Tb, Tc);
        R.TRA = Ta;
        R.TRB = Tb;
        R.TRC = Tc;
        S.VRRED = C.VR > 0.0 ? C.VR1003 * reciprocals : 0.0;
        K = {!S.tr_given, S.TE, S.TC, S.TER, S.TCR, S.TR, S.VRRED};
    }
    R.VRRED = S.VRRED;
    R[F::TE] = S.TE;
    R[F::TC] = S.TC;
    R[F::TR] = S.TR;
    R[F::TREGE] = S.TER;
    R[F::TREGC] = S.TCR;
    R[F::TEMTC] = S.TE - S.TC;
}

// 5. Pressure and masses from the gas charge: P VRED = P0 V0 holds the charge fixed.
static inline void pressure_and_masses(PairRecord& R, const CompCommon& C, const CompPair& PP,
                                       CompStep& S) {
    const double rdt = S.rdt;
    S.VRED = (S.VE / S.TE + S.VRRED + S.VC / S.TC) * C.T0;
    S.P = R.PV;
    S.TM = R[F::T1];
    if (std::isfinite(S.VRED) && S.VRED > 0.0) {
        S.P = C.P0 * PP.V0 / S.VRED;
        S.TM = C.T0 * S.VG / S.VRED;
    }
    R[F::V] = S.VRED;
    R[F::P] = S.P;
    R[F::T1] = S.TM;
    const double RHOE = quot(1000.0 * S.P, C.RS * S.TE);
    const double RHOC = quot(1000.0 * S.P, C.RS * S.TC);
    S.ME = RHOE * S.VE / 1000.0;
    S.MC = RHOC * S.VC / 1000.0;
    S.MR = quot(S.P * S.VRRED, C.RS);
    R[F::GDE] = RHOE;
    R[F::GDC] = RHOC;
    R[F::ME] = S.ME;
    R[F::MC] = S.MC;
    R[F::MR] = S.MR;
    R[F::DME] = (S.ME - R.MEV) * rdt;
    R[F::DMC] = (S.MC - R.MCV) * rdt;
    if (C.VR > 0.0) {
        R[F::GDR] = 1000.0 * S.MR / C.VR;
        R[F::DMR] = (S.MR - R.MRV) * rdt;
    } else {
        R[F::GDR] = 0.0;
        R[F::DMR] = 0.0;
    }
    R.DVRED = (S.VRED - R.VV) * rdt;
}

// 6. Step means and temperature rates; the rates a branch not taken would leave at an earlier
// step's value are cleared.
static inline void step_means_and_rates(PairRecord& R, const CompCommon& C, CompStep& S) {
    const double rdt = S.rdt;
    S.VGM = (S.VG + R.VGV) / 2.0;
    S.MEM = (S.ME + R.MEV) / 2.0;
    S.MCM = (S.MC + R.MCV) / 2.0;
    S.MRM = (S.MR + R.MRV) / 2.0;
    S.TRM = (S.TR + R.TRV) / 2.0;
    S.DTE = (S.TE - R.TEV) * rdt;
    S.DTC = (S.TC - R.TCV) * rdt;
    S.DTR = (S.TR - R.TRV) * rdt;
    R[F::DTE] = S.DTE;
    R[F::DTC] = S.DTC;
    R[F::DTR] = S.DTR;
    if (C.FDAMPF) {
        for (std::size_t k : RATE_FIELDS) R[k] = 0.0;
    } else {
        R[F::DPS] = R[F::VGDPS] = R[F::DQDAF] = R[F::DS3] = R[F::DQH2O] = 0.0;
        R[F::DVLQH] = R[F::DVLQC] = 0.0;
    }
}

// 7. Total pressure, its rates and the p dV rates (powers) of the spaces.
static inline void pressures_and_powers(PairRecord& R, CompStep& S) {
    const double rdt = S.rdt;
    S.PS = R[F::PS];
    S.PGES = S.P + S.PS;
    R[F::PGES] = S.PGES;
    const double PGM = (S.PGES + R.PGESV) / 2.0;
    R[F::DP] = (S.P - R.PV) * rdt;
    R[F::DPGES] = (S.PGES - R.PGESV) * rdt;
    R[F::DAE] = PGM * R[F::DVE] / 10.0;
    R[F::DAC] = PGM * R[F::DVC] / 10.0;
    R[F::DA] = PGM * R[F::DVG] / 10.0;
    R[F::VGDP] = S.VGM * R[F::DP] / 10.0;
}

// 8. Heat rates from the energy balances of the three spaces.
static inline void heat_rates(PairRecord& R, const CompCommon& C, CompStep& S) {
    const double PGM = (S.PGES + R.PGESV) / 2.0;
    const double PM = (S.P + R.PV) / 2.0;
    const double DME = R[F::DME], DMC = R[F::DMC], DMR = R[F::DMR];
    const double DVE = R[F::DVE], DVC = R[F::DVC], DVG = R[F::DVG];
    // The p dV rates at the mean gas pressure; without vapour the two mean pressures are one,
    // bit for bit, and so are the rates.
    const bool one_pressure = same_bits(PM, PGM);
    const double PDVE = one_pressure ? R[F::DAE] : DVE * PM / 10.0;
    const double PDVC = one_pressure ? R[F::DAC] : DVC * PM / 10.0;
    const double PDVG = one_pressure ? R[F::DA] : DVG * PM / 10.0;

    // Regenerator loss: gas that enters a space arrives at the regenerator end, not at the
    // space temperature; the difference is heat the heater must add or the cooler remove.
    S.DQREZU = 0.0;
    S.DQRCAB = 0.0;
    if (C.VERLUST != 0.0) {
        const double LE = C.CV * DME * (S.TE - S.TER);
        const double LC = C.CV * DMC * (S.TC - S.TCR);
        if (DME >= 0.0) S.DQREZU += LE; else S.DQRCAB += LE;
        if (DMC < 0.0) S.DQREZU += LC; else S.DQRCAB += LC;
    }
    const double CV = C.CV;
    S.DQURE = (S.TER - S.TRM) * CV * DME;
    S.DQURC = (S.TCR - S.TRM) * CV * DMC;
    S.DQUREC = S.DQURE + S.DQURC;
    S.DQUTE = CV * S.MEM * S.DTE;
    S.DQUME = S.TER * CV * DME;
    S.DQUE = S.DQUTE + S.DQUME;
    S.DQUTC = CV * S.MCM * S.DTC;
    S.DQUMC = S.TCR * CV * DMC;
    S.DQUC = S.DQUTC + S.DQUMC;
    S.DQUTR = CV * S.MRM * S.DTR;
    S.DQUMR = CV * DMR * S.TRM;
    S.DQUR = S.DQUMR + S.DQUTR;
    S.DQZU = S.DQREZU + PDVE + S.DQUTE;
    S.DQAB = PDVC + S.DQUTC + S.DQRCAB;
    S.DQGN = S.DQUE + PDVG + S.DQUC + S.DQUR + S.DQREZU + S.DQRCAB;
    S.DQNUZG = S.DQZU + S.DQAB + S.DQUTR + S.DQUREC;
    S.DS = quot(S.DQNUZG, S.TM);
    S.DQNUZD = S.DQNUZG;
    if (C.FDAMPF) {
        S.DQNUZD = S.DQNUZG + S.DQDAMF;
        S.DQZU += S.DQH2OE;
        S.DQAB += S.DQH2OC;
    }
    R[F::DREZU] = S.DQREZU;
    R[F::DRCAB] = S.DQRCAB;
    R[F::DURE] = S.DQURE;
    R[F::DURC] = S.DQURC;
    R[F::DUREC] = S.DQUREC;
    R[F::DUTE] = S.DQUTE;
    R[F::DUME] = S.DQUME;
    R[F::DUE] = S.DQUE;
    R[F::DUTC] = S.DQUTC;
    R[F::DUMC] = S.DQUMC;
    R[F::DUC] = S.DQUC;
    R[F::DUTR] = S.DQUTR;
    R[F::DUMR] = S.DQUMR;
    R[F::DUR] = S.DQUR;
    R[F::DQZU] = S.DQZU;
    R[F::DQAB] = S.DQAB;
    R[F::DQGN] = S.DQGN;
    R[F::DQNUZ] = S.DQNUZG;
    R[F::DQNZD] = S.DQNUZD;
    R[F::DS1] = S.DS;
    R[F::DS2] = S.DS + S.DS3;
}

// 9. Liquid that carries the heat to and from the pair, litre/s, and its volumes since the
// start of the run.
static inline void carried_liquid(PairRecord& R, const CompCommon& C, const CompStep& S) {
    if (C.DUESEN) {
        R[F::DVLQH] = C.BEVOL;
        R[F::DVLQC] = C.BEVOL;
    } else if (C.CQ > 0.0) {
        R[F::DVLQH] = std::fabs(S.DQZU) / C.CQ;
        R[F::DVLQC] = std::fabs(S.DQAB) / C.CQ;
    } else {
        R.VLQH = 0.0;
        R.VLQC = 0.0;
    }
    R.VLQH += R[F::DVLQH] * S.DT;
    R.VLQC += R[F::DVLQC] * S.DT;
    R[F::DVLHM] = R.VLQH;
    R[F::DVLCM] = R.VLQC;
}

// 10. Integrals of the run; the step that ends at TIME = 0 only sets the start state.
static inline void integrate_run(PairRecord& R, const CompCommon& C, const CompStep& S) {
    const double DT = S.DT;
    if (S.TIME > 0.0) {
        R[F::QGN] += S.DQGN * DT;
        R[F::QNUZD] += S.DQNUZD * DT;
        R[F::QNUZG] += S.DQNUZG * DT;
        R[F::QTS1] += S.TM * S.DS * DT;
        R[F::QZU] += S.DQZU * DT;
        R[F::QAB] += S.DQAB * DT;
        R[F::QUTE] += S.DQUTE * DT;
        R[F::QUME] += S.DQUME * DT;
        R[F::QUE] += S.DQUE * DT;
        R[F::QURE] += S.DQURE * DT;
        R[F::QUTC] += S.DQUTC * DT;
        R[F::QUMC] += S.DQUMC * DT;
        R[F::QUC] += S.DQUC * DT;
        R[F::QURC] += S.DQURC * DT;
        R[F::QUREC] += S.DQUREC * DT;
        R[F::QUTR] += S.DQUTR * DT;
        R[F::QUMR] += S.DQUMR * DT;
        R[F::QUR] += S.DQUR * DT;
        R[F::QREZU] += S.DQREZU * DT;
        R[F::QRCAB] += S.DQRCAB * DT;
        R[F::S1] += S.DS * DT;
        R[F::AE] += R[F::DAE] * DT;
        R[F::AC] += R[F::DAC] * DT;
        R[F::A] += R[F::DA] * DT;
        if (C.FDAMPF) {
            R[F::QTS3] += R[F::T3] * S.DS3 * DT;
            R[F::QDAMF] += S.DQDAMF * DT;
            R[F::QH2OE] += S.DQH2OE * DT;
            R[F::QH2OC] += S.DQH2OC * DT;
            R[F::WORK] -= S.VWORK * DT;
            R[F::S3] += S.DS3 * DT;
        }
    }
    R[F::QTS2] = R[F::QTS1] + R[F::QTS3];
    R[F::S2] = R[F::S1] + R[F::S3];
}

// 11. Characteristic temperature of the gas with its vapour, within the run's bounds.
static inline void characteristic_temperature(PairRecord& R, const CompCommon& C, CompStep& S) {
    double TS = S.TM;
    if (C.FDAMPF) {
        const double den = S.DS + S.DS3;
        if (den != 0.0) TS = quot(S.DQNUZD, den);
    }
    if (TS > C.TE_MAX) TS = C.TE_MAX;
    if (TS < C.TC_MIN) TS = C.TC_MIN;
    S.TS = TS;
    R[F::T2] = TS;
    R[F::DT2] = (TS - R.TSV) * S.rdt;
}

// 12. This step's state is the previous state of the next one.
static inline void keep_previous_state(PairRecord& R, const CompStep& S) {
    R.VEV = S.VE;
    R.VCV = S.VC;
    R.VV = S.VRED;
    R.VGV = S.VG;
    R.PV = S.P;
    R.PSV = S.PS;
    R.PGESV = S.PGES;
    R.MEV = S.ME;
    R.MCV = S.MC;
    R.MRV = S.MR;
    R.TEV = S.TE;
    R.TCV = S.TC;
    R.TRV = S.TR;
    R.TSV = S.TS;
}

// One step of the pair, its parts in their order. A property error ends it at once.
void comp_step(PairRecord& R, const CompCommon& C, const CompPair& PP, Injection* INJ,
               double TIME, double DELT_NEU, runtime::Units& units,
               properties::SteamState& steam, int& NFAIL) {
    Props pr{units, steam, NFAIL};
    CompStep S;
    step_size(R, TIME, DELT_NEU, S);
    space_geometry(R, C, PP, S);
    if (!temperatures_by_mode(R, C, PP, INJ, S, pr)) return;
    regenerator(R, C, S);
    pressure_and_masses(R, C, PP, S);
    step_means_and_rates(R, C, S);
    R[F::PS] = 0.0;
    if (C.FDAMPF && !vapour_terms(R, C, PP, S, pr)) return;
    pressures_and_powers(R, S);
    heat_rates(R, C, S);
    carried_liquid(R, C, S);
    integrate_run(R, C, S);
    characteristic_temperature(R, C, S);
    keep_previous_state(R, S);
}

}  // namespace

void COMP(PairRecord& R, const CompCommon& C, const CompPair& PP, double TIME, double DELT_NEU,
          runtime::Units& units, properties::SteamState& steam, int& NFAIL) {
    comp_step(R, C, PP, nullptr, TIME, DELT_NEU, units, steam, NFAIL);
}

void COMP(PairRecord& R, const CompCommon& C, const CompPair& PP, Injection& INJ, double TIME,
          double DELT_NEU, runtime::Units& units, properties::SteamState& steam, int& NFAIL) {
    comp_step(R, C, PP, &INJ, TIME, DELT_NEU, units, steam, NFAIL);
}

}  // namespace korvex::simulation
